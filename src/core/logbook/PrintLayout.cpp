#include "core/logbook/PrintLayout.h"

namespace logbook {
namespace {

// What the contact table does not say about a listing.
struct Style {
    Book book;
    const char *documentName;
    const char *fontName;
    float fontSize;
    bool fontBeforeEveryBlock;
    int leadingEmptyLines;
    const char *afterWord;     // between the printed word and the value
    bool blankAroundSeparator; // an empty line before and after the line of asterisks
};

constexpr Style kLocalStyle{Book::Local, "Logbuch LOCAL", "Arial", 12.0f, false, 4, "\t: ", true};
constexpr Style kDxStyle{Book::Dx, "Logbuch DX", "Tahoma", 12.0f, true, 0, ": ", false};

int lineOf(const ContactField &f, Book book) { return book == Book::Local ? f.localLine : f.dxLine; }

PrintLayout build(const Style &style)
{
    const QString indent(7, QLatin1Char(' '));
    std::vector<const ContactField *> lines; // by line of the block; nullptr: an empty line
    for (const ContactField *f : fieldsOf(style.book)) {
        const int line = lineOf(*f, style.book);
        if (line > int(lines.size()))
            lines.resize(size_t(line), nullptr);
        if (line > 0)
            lines[size_t(line - 1)] = f;
    }
    PrintLayout layout{style.documentName,         style.fontName,          style.fontSize,
                       style.fontBeforeEveryBlock, style.leadingEmptyLines, {}};
    for (const ContactField *f : lines) {
        if (f)
            layout.block.push_back(
                {indent + QString::fromUtf8(f->printWord) + QString::fromUtf8(style.afterWord), f->column});
        else
            layout.block.push_back({});
    }
    if (style.blankAroundSeparator)
        layout.block.push_back({});
    layout.block.push_back({indent + QString(58, QLatin1Char('*'))});
    if (style.blankAroundSeparator)
        layout.block.push_back({});
    return layout;
}

} // namespace

// Built from constant tables alone, before main() runs.
const PrintLayout kLocalLayout = build(kLocalStyle);
const PrintLayout kDxLayout = build(kDxStyle);

const PrintLayout &printLayout(Book book) { return book == Book::Local ? kLocalLayout : kDxLayout; }

} // namespace logbook
