#include "core/exchange/AdifWriter.h"

#include "core/exchange/AdifText.h"
#include "core/exchange/ByteText.h"
#include "core/exchange/ContactMapping.h"

#include <QIODevice>

namespace exchange {
namespace {

constexpr qsizetype kFlushAt = 1 << 20;
const QByteArray kAppPrefixBytes = kAppPrefix;

void appendEscaped(QByteArray *out, const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    qsizetype from = 0;
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const char *entity = nullptr;
        switch (utf8[i]) {
        case '&':
            entity = "&amp;";
            break;
        case '<':
            entity = "&lt;";
            break;
        case '>':
            entity = "&gt;";
            break;
        case '\r': // XML readers turn a raw CR into LF
            entity = "&#13;";
            break;
        default:
            continue;
        }
        out->append(utf8.constData() + from, i - from).append(entity);
        from = i + 1;
    }
    out->append(utf8.constData() + from, utf8.size() - from);
}

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

AdifWriter::AdifWriter(QIODevice *device, Format format) : m_device(device), m_format(format)
{
    m_buffer.reserve(kFlushAt + (64 << 10));
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
        m_buffer.append(QString(info.comment).remove(u'<').toUtf8()).append("\n");
        for (const AdifField &f : fields) {
            adiField(f.name, f.value);
            m_buffer.append('\n');
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
    const QByteArray utf8 = value.toUtf8();
    m_buffer.append('<').append(name).append(':').append(QByteArray::number(utf8.size())).append('>').append(utf8);
    for (qsizetype blanks = utf8.size() - codePoints(value) + 1; blanks > 0; --blanks)
        m_buffer.append(' ');
}

void AdifWriter::adxField(const QByteArray &name, const QString &value)
{
    if (name.startsWith(kAppPrefixBytes)) {
        m_buffer.append("<APP PROGRAMID=\"").append(kProgramId).append("\" FIELDNAME=\"");
        m_buffer.append(name.mid(kAppPrefixBytes.size())).append("\" TYPE=\"").append(adxType(value)).append("\">");
        appendEscaped(&m_buffer, value);
        m_buffer.append("</APP>\n");
        return;
    }
    m_buffer.append('<').append(name).append('>');
    appendEscaped(&m_buffer, value);
    m_buffer.append("</").append(name).append(">\n");
}

bool AdifWriter::flushIfFull() { return m_buffer.size() < kFlushAt || flush(); }

bool AdifWriter::flush()
{
    if (!m_error.isEmpty())
        return false;
    if (m_device->write(m_buffer) != m_buffer.size()) {
        m_error = QStringLiteral("Die Datei konnte nicht vollständig geschrieben werden (ist der Datenträger voll "
                                 "oder nicht mehr da?).");
        return false;
    }
    m_buffer.resize(0);
    return true;
}

} // namespace exchange
