#include "core/exchange/AdifWriter.h"

#include "core/exchange/AdifText.h"
#include "core/exchange/ByteText.h"
#include "core/exchange/ContactMapping.h"

#include <QIODevice>
#include <array>
#include <charconv>
#include <cstring>

namespace exchange {
namespace {

constexpr size_t kFlushAt = 1 << 20;
const QByteArray kAppPrefixBytes = kAppPrefix;

// The characters XML text holds as entities: the markup, and CR as a reference (XML readers turn
// a raw CR into LF).
constexpr auto kMarkup = [] {
    std::array<bool, 128> m{};
    for (const char c : {'&', '<', '>', '\r'})
        m[size_t(c)] = true;
    return m;
}();

// The entity of a character of kMarkup.
std::string_view entityOf(char c)
{
    switch (c) {
    case '&':
        return "&amp;";
    case '<':
        return "&lt;";
    case '>':
        return "&gt;";
    case '\r':
        return "&#13;";
    default:
        return {};
    }
}

// UTF-8 as XML text.
void appendEscaped(std::string *out, std::string_view utf8)
{
    size_t from = 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c >= kMarkup.size() || !kMarkup[c])
            continue;
        const std::string_view entity = entityOf(char(c));
        out->append(utf8.substr(from, i - from)).append(entity);
        from = i + 1;
    }
    out->append(utf8.substr(from));
}

std::string_view view(const QByteArray &bytes) { return {bytes.constData(), size_t(bytes.size())}; }

// Pieces of a known total size added to the end of a text, its room made once.
class Pieces {
public:
    Pieces(std::string *text, size_t size)
    {
        const size_t at = text->size();
        text->resize(at + size);
        m_next = text->data() + at;
    }
    Pieces &operator<<(std::string_view piece)
    {
        std::memcpy(m_next, piece.data(), piece.size());
        m_next += piece.size();
        return *this;
    }
    Pieces &operator<<(char c)
    {
        *m_next++ = c;
        return *this;
    }

private:
    char *m_next;
};

// The type indicator of an application field in ADX: String, MultilineString, IntlString or
// IntlMultilineString.
const char *adxType(const QString &value)
{
    const bool multiline = value.contains(u'\n') || value.contains(u'\r');
    if (isAscii(value))
        return multiline ? "M" : "S";
    return multiline ? "G" : "I";
}

} // namespace

AdifWriter::AdifWriter(QIODevice *device, Format format)
    : m_device(device), m_format(format), m_encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless)
{
    m_buffer.reserve(kFlushAt + (64 << 10));
}

AdifWriter::Utf8 AdifWriter::utf8Of(QStringView text)
{
    const auto most = size_t(m_encoder.requiredSpace(text.size()));
    if (m_utf8.size() < most)
        m_utf8.resize(most);
    const char *end = m_encoder.appendToBuffer(m_utf8.data(), text);
    return {{m_utf8.data(), size_t(end - m_utf8.data())}, codePoints(text)};
}

void AdifWriter::appendXmlText(QStringView text)
{
    // In one pass: UTF-8 with the markup as entities, at most five bytes for a UTF-16 unit.
    const size_t at = m_buffer.size();
    m_buffer.resize(at + 5 * size_t(text.size()));
    char *out = m_buffer.data() + at;
    for (const char16_t *c = text.utf16(), *stop = c + text.size(); c != stop; ++c) {
        if (*c < 0x80 && !kMarkup[*c]) {
            *out++ = char(*c);
        } else if (*c < 0x80) {
            const std::string_view entity = entityOf(char(*c));
            std::memcpy(out, entity.data(), entity.size());
            out += entity.size();
        } else if (*c < 0x800) {
            *out++ = char(0xC0 | (*c >> 6));
            *out++ = char(0x80 | (*c & 0x3F));
        } else if (QChar::isSurrogate(*c)) { // pairs, and the engine's way with lone ones
            m_buffer.resize(at);
            appendEscaped(&m_buffer, utf8Of(text).bytes);
            return;
        } else {
            *out++ = char(0xE0 | (*c >> 12));
            *out++ = char(0x80 | ((*c >> 6) & 0x3F));
            *out++ = char(0x80 | (*c & 0x3F));
        }
    }
    m_buffer.resize(size_t(out - m_buffer.data()));
}

bool AdifWriter::header(const HeaderInfo &info)
{
    const std::vector<AdifField> fields{
        {"ADIF_VER", QString::fromLatin1(kAdifVersion)},
        {"PROGRAMID", QString::fromLatin1(kProgramId)},
        {"PROGRAMVERSION", info.programVersion},
        {"CREATED_TIMESTAMP", info.created.toUTC().toString(QStringLiteral("yyyyMMdd HHmmss"))},
    };
    if (m_format == Format::Adi) {
        // The header's text must not begin with '<'.
        m_buffer.append(utf8Of(QString(info.comment).remove(u'<')).bytes).append("\n");
        for (const AdifField &f : fields) {
            adiField(f.name, f.value);
            m_buffer.push_back('\n');
        }
        m_buffer.append("<EOH>\n");
    } else {
        m_buffer.append("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ADX>\n<HEADER>\n");
        for (const AdifField &f : fields)
            adxField(f.name, f.value);
        m_buffer.append("</HEADER>\n<RECORDS>\n");
    }
    return flushIfFull();
}

bool AdifWriter::record(const std::vector<AdifField> &fields)
{
    if (m_format == Format::Adi) {
        for (const AdifField &f : fields)
            adiField(f.name, f.value);
        m_buffer.append("<EOR>\n");
    } else {
        m_buffer.append("<RECORD>\n");
        for (const AdifField &f : fields)
            adxField(f.name, f.value);
        m_buffer.append("</RECORD>\n");
    }
    return flushIfFull();
}

bool AdifWriter::finish()
{
    if (m_format == Format::Adx)
        m_buffer.append("</RECORDS>\n</ADX>\n");
    return flush();
}

void AdifWriter::adiField(const QByteArray &name, const QString &value)
{
    const Utf8 utf8 = utf8Of(value);
    char digits[24];
    const std::string_view length(digits,
                                  size_t(std::to_chars(digits, std::end(digits), utf8.bytes.size()).ptr - digits));
    static constexpr std::string_view kBlanks = "                                                                ";
    size_t blanks = utf8.bytes.size() - size_t(utf8.characters) + 1;
    Pieces(&m_buffer, 3 + size_t(name.size()) + length.size() + utf8.bytes.size())
        << '<' << view(name) << ':' << length << '>' << utf8.bytes;
    for (; blanks > kBlanks.size(); blanks -= kBlanks.size())
        m_buffer.append(kBlanks);
    m_buffer.append(kBlanks.substr(0, blanks));
}

void AdifWriter::adxField(const QByteArray &name, const QString &value)
{
    if (name.startsWith(kAppPrefixBytes)) {
        m_buffer.append("<APP PROGRAMID=\"").append(kProgramId).append("\" FIELDNAME=\"");
        m_buffer.append(view(name).substr(size_t(kAppPrefixBytes.size()))).append("\" TYPE=\"");
        m_buffer.append(adxType(value)).append("\">");
        appendXmlText(value);
        m_buffer.append("</APP>\n");
        return;
    }
    Pieces(&m_buffer, 2 + size_t(name.size())) << '<' << view(name) << '>';
    appendXmlText(value);
    m_buffer.append("</").append(view(name)).append(">\n");
}

bool AdifWriter::flushIfFull() { return !m_device || m_buffer.size() < kFlushAt || flush(); }

void AdifWriter::take(std::string *records)
{
    records->clear();
    std::swap(*records, m_buffer);
}

bool AdifWriter::pass(std::string_view records)
{
    if (!flush())
        return false;
    if (m_device->write(records.data(), qint64(records.size())) != qint64(records.size()))
        return fail();
    return true;
}

bool AdifWriter::flush()
{
    if (!m_error.isEmpty())
        return false;
    if (m_device->write(m_buffer.data(), qint64(m_buffer.size())) != qint64(m_buffer.size()))
        return fail();
    m_buffer.clear();
    return true;
}

bool AdifWriter::fail()
{
    m_error = QStringLiteral("Die Datei konnte nicht vollständig geschrieben werden (ist der Datenträger voll oder "
                             "nicht mehr da?).");
    return false;
}

} // namespace exchange
