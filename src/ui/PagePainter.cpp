#include "ui/PagePainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <optional>

namespace ui {
namespace {

// Control characters other than tab and line break would print as boxes.
QString cleaned(const QString &text)
{
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    for (QChar &c : out) {
        if (c == u'\r')
            c = u'\n';
        else if (c.unicode() < 0x20 && c != u'\t' && c != u'\n')
            c = u' ';
    }
    return out;
}

int leadingBlanks(const QString &text)
{
    int n = 0;
    while (n < text.size() && text.at(n) == u' ')
        ++n;
    return n;
}

class Painter {
public:
    Painter(QPrinter &printer, QPainter &painter)
        : m_printer(printer), m_painter(painter), m_width(printer.pageRect(QPrinter::DevicePixel).width()),
          m_height(printer.pageRect(QPrinter::DevicePixel).height())
    {
    }

    bool ok() const { return m_ok; }
    int pages() const { return m_pages; }

    void useFont(const QString &name, float size)
    {
        if (m_fm && name == m_fontName && size == m_fontSize)
            return;
        m_fontName = name;
        m_fontSize = size;
        QFont font(name); // an uninstalled family resolves to the nearest installed one
        font.setPointSizeF(size > 0 ? size : 12.0);
        m_painter.setFont(font);
        m_fm.emplace(font, &m_printer);
        m_lineHeight = m_fm->lineSpacing();
        m_tab = kTabStopEms * font.pointSizeF() * m_printer.resolution() / 72.0;
    }

    void paintLine(const QString &line)
    {
        const QString text = cleaned(line);
        makeRoom();
        qreal indent = capped(m_fm->horizontalAdvance(text.left(leadingBlanks(text))));
        qreal x = 0;
        bool valueStart = false;
        const QStringList parts = text.split(u'\n');
        for (qsizetype p = 0; p < parts.size() && m_ok; ++p) {
            if (p > 0) {
                breakLine();
                x = indent;
            }
            const QStringList segments = parts.at(p).split(u'\t');
            for (qsizetype s = 0; s < segments.size() && m_ok; ++s) {
                if (s > 0) {
                    const qreal stop = (std::floor(x / m_tab) + 1) * m_tab;
                    if (stop >= m_width) {
                        breakLine();
                        x = indent;
                    } else {
                        x = stop;
                        if (!valueStart)
                            indent = capped(x);
                    }
                }
                const QString &segment = segments.at(s);
                const qsizetype colon = valueStart ? -1 : segment.indexOf(QLatin1String(": "));
                if (colon >= 0) { // continuation lines start under the value, after the label's ": "
                    valueStart = true;
                    indent = capped(x + m_fm->horizontalAdvance(segment, int(colon + 2)));
                }
                x = paintSegment(segment, x, indent);
            }
        }
        m_y += m_lineHeight;
    }

private:
    // A continuation indent never leaves less than half the line.
    qreal capped(qreal indent) const { return indent < m_width / 2 ? indent : 0; }

    void makeRoom()
    {
        if (m_y > 0 && m_y + m_lineHeight > m_height) {
            if (!m_printer.newPage()) {
                m_ok = false;
                return;
            }
            ++m_pages;
            m_y = 0;
        }
    }

    void breakLine()
    {
        m_y += m_lineHeight;
        makeRoom();
    }

    void draw(const QString &text, qreal x)
    {
        if (m_ok && !text.isEmpty())
            m_painter.drawText(QPointF(x, m_y + m_fm->ascent()), text);
    }

    // The longest prefix that fits into the width, never splitting a surrogate pair.
    qsizetype fitting(const QString &text, qreal width) const
    {
        qsizetype lo = 0, hi = text.size();
        while (lo < hi) {
            const qsizetype mid = (lo + hi + 1) / 2;
            if (m_fm->horizontalAdvance(text, int(mid)) <= width)
                lo = mid;
            else
                hi = mid - 1;
        }
        if (lo > 0 && lo < text.size() && text.at(lo - 1).isHighSurrogate())
            --lo;
        return lo;
    }

    // Whether the first word of text fits a continuation line; a longer one is split where the
    // line ends instead of being moved on whole.
    bool fitsFreshLine(const QString &text, qreal indent) const
    {
        const qsizetype end = text.indexOf(u' ');
        return indent + m_fm->horizontalAdvance(end < 0 ? text : text.left(end)) <= m_width;
    }

    qreal paintSegment(QString rest, qreal x, qreal indent)
    {
        while (!rest.isEmpty() && m_ok) {
            const qreal advance = m_fm->horizontalAdvance(rest);
            if (x + advance <= m_width) {
                draw(rest, x);
                return x + advance;
            }
            const qsizetype fits = fitting(rest, m_width - x);
            const qsizetype blank = fits < rest.size() && rest.at(fits) == u' '
                                        ? fits
                                        : rest.lastIndexOf(u' ', std::max<qsizetype>(fits - 1, 0));
            qsizetype cut = fits;
            if (blank > 0 && blank <= fits && fitsFreshLine(rest.mid(blank + 1), indent)) {
                cut = blank;
            } else {
                // No blank to break at: move a word that fits a fresh line there whole, else split it.
                if (x > indent && (fits == 0 || fitsFreshLine(rest, indent))) {
                    breakLine();
                    x = indent;
                    continue;
                }
                if (cut == 0)
                    cut = rest.at(0).isHighSurrogate() && rest.size() > 1 ? 2 : 1;
            }
            QString piece = rest.left(cut);
            while (piece.endsWith(u' '))
                piece.chop(1);
            draw(piece, x);
            rest = rest.mid(cut);
            rest.remove(0, leadingBlanks(rest));
            breakLine();
            x = indent;
        }
        return x;
    }

    QPrinter &m_printer;
    QPainter &m_painter;
    const qreal m_width;
    const qreal m_height;
    QString m_fontName;
    float m_fontSize = 0;
    std::optional<QFontMetricsF> m_fm;
    qreal m_lineHeight = 0;
    qreal m_tab = 1;
    qreal m_y = 0;
    int m_pages = 1;
    bool m_ok = true;
};

} // namespace

PaintResult paintDocument(QPrinter &printer, LineSource &lines, const PaintProgress &progress)
{
    PaintResult result;
    QPainter painter;
    if (!painter.begin(&printer))
        return result;
    result.started = true;
    Painter page(printer, painter);
    DocumentLine line;
    qint64 done = 0;
    const qint64 total = lines.size();
    while (page.ok() && done < total && lines.next(&line)) {
        page.useFont(line.fontName, line.fontSize);
        page.paintLine(line.text);
        if (++done % 500 == 0 && progress && !progress(done, total)) {
            result.cancelled = true;
            break;
        }
    }
    result.pages = page.pages();
    if (!page.ok() || result.cancelled || done < total) {
        printer.abort();
        return result;
    }
    result.finished = painter.end() && printer.printerState() != QPrinter::Error;
    return result;
}

} // namespace ui
