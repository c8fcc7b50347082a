#include "core/exchange/AdifRecord.h"
#include "core/exchange/ByteText.h"

#include <QIODevice>
#include <QXmlStreamReader>
#include <algorithm>

// ADX, the XML form of ADIF, read in blocks: the XML reader gets the file piece by piece, and a
// single text that grows past any field's size ends the reading instead of filling the memory.
namespace exchange {
namespace {

constexpr qint64 kBlock = 256 * 1024;
constexpr qint64 kMaxTokenBytes = 4 * kMaxFieldBytes;

class AdxReader : public RecordReader {
public:
    AdxReader(QIODevice *device, bool windows1252) : m_device(device), m_windows1252(windows1252) {}

    bool next(AdifRecord *record) override;
    QString failure() const override { return m_failure; }
    qint64 bytesRead() const override { return m_read; }
    bool failedOnEncoding() const override { return m_encoding; }

private:
    bool token();
    bool readRecord(AdifRecord *record);
    bool readField(AdifRecord *record);
    bool fail(const QString &text);

    QIODevice *m_device;
    bool m_windows1252;
    QXmlStreamReader m_xml;
    qint64 m_read = 0;        // bytes of the file given to the XML reader
    qint64 m_readAtToken = 0; // ... when it last handed out a token
    bool m_rootSeen = false;
    bool m_encoding = false;
    bool m_invalidUtf8 = false;
    QByteArray m_pending; // the start of a UTF-8 sequence the next block completes
    QString m_failure;
};

bool AdxReader::fail(const QString &text)
{
    if (m_failure.isEmpty())
        m_failure = text;
    return false;
}

// The next token, feeding the XML reader more of the file as it asks for it.
bool AdxReader::token()
{
    for (;;) {
        m_xml.readNext();
        if (!m_xml.hasError()) {
            m_readAtToken = m_read;
            return true;
        }
        if (m_xml.error() != QXmlStreamReader::PrematureEndOfDocumentError) {
            // Bytes that are no UTF-8 make the XML reader fail; then the file is in another encoding.
            m_encoding = m_invalidUtf8;
            if (m_encoding)
                return fail(
                    QStringLiteral("Die ADX-Datei ist nicht in UTF-8 geschrieben (Zeile %1).").arg(m_xml.lineNumber()));
            if (!m_rootSeen)
                return fail(QStringLiteral("Die Datei ist keine ADX-Datei."));
            return fail(QStringLiteral("Die ADX-Datei ist ab Zeile %1 kein gültiges XML und kann nicht gelesen werden.")
                            .arg(m_xml.lineNumber()));
        }
        if (m_read - m_readAtToken > kMaxTokenBytes)
            return fail(QStringLiteral("Die ADX-Datei enthält in Zeile %1 einen Text von mehr als 4 MB; sie wird "
                                       "nicht gelesen.")
                            .arg(m_xml.lineNumber()));
        const QByteArray block = m_device->read(kBlock);
        if (block.isEmpty()) {
            if (m_read == 0)
                return fail(QStringLiteral("Die Datei ist leer."));
            if (!m_rootSeen)
                return fail(QStringLiteral("Die Datei ist keine ADX-Datei."));
            return fail(QStringLiteral("Die ADX-Datei endet mitten im Text (Zeile %1): sie ist unvollständig.")
                            .arg(m_xml.lineNumber()));
        }
        m_read += block.size();
        if (!m_windows1252 && !m_invalidUtf8) {
            m_pending += block;
            const qsizetype tail = utf8IncompleteTail(m_pending.constData(), m_pending.size());
            m_invalidUtf8 = tail < 0;
            m_pending = m_pending.right(std::max<qsizetype>(tail, 0));
        }
        m_xml.addData(m_windows1252 ? fromWindows1252(block.constData(), block.size()).toUtf8() : block);
    }
}

bool AdxReader::next(AdifRecord *record)
{
    record->clear();
    while (m_failure.isEmpty() && token()) {
        if (m_xml.isEndDocument())
            return false;
        if (!m_xml.isStartElement())
            continue;
        const QString name = m_xml.name().toString().toUpper();
        if (!m_rootSeen) {
            if (name != QLatin1String("ADX"))
                return fail(QStringLiteral("Die Datei ist keine ADX-Datei: sie beginnt nicht mit <ADX>."));
            m_rootSeen = true;
        } else if (name == QLatin1String("RECORD")) {
            record->line = m_xml.lineNumber();
            if (!readRecord(record))
                return false;
            if (!record->isEmpty())
                return true;
        }
    }
    return false;
}

bool AdxReader::readRecord(AdifRecord *record)
{
    while (token()) {
        if (m_xml.isEndElement())
            return true;
        if (m_xml.isStartElement() && !readField(record))
            return false;
    }
    return false;
}

// One field: its element's text. APP and USERDEF fields are named as in ADI.
bool AdxReader::readField(AdifRecord *record)
{
    const QXmlStreamAttributes attributes = m_xml.attributes();
    auto attribute = [&](const char *name) {
        for (const QXmlStreamAttribute &a : attributes)
            if (a.name().compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                return a.value().toString().toUpper();
        return QString();
    };
    QString name = m_xml.name().toString().toUpper();
    if (name == QLatin1String("APP"))
        name = QStringLiteral("APP_%1_%2").arg(attribute("PROGRAMID"), attribute("FIELDNAME"));
    else if (name == QLatin1String("USERDEF") && !attribute("FIELDNAME").isEmpty())
        name = attribute("FIELDNAME");
    QString text;
    int depth = 1;
    while (depth > 0 && token()) {
        if (m_xml.isStartElement()) {
            ++depth;
            record->fail(QStringLiteral("Feld %1 enthält weitere XML-Elemente").arg(name));
        } else if (m_xml.isEndElement()) {
            --depth;
        } else if (m_xml.isCharacters() && depth == 1) {
            text += m_xml.text();
        }
    }
    if (depth > 0)
        return false;
    if (text.size() > kMaxFieldBytes)
        record->fail(QStringLiteral("Feld %1 ist länger als 1 MB").arg(name));
    else
        record->add(name.toLatin1(), text);
    return true;
}

} // namespace

std::unique_ptr<RecordReader> makeAdxReader(QIODevice *device, bool windows1252)
{
    return std::make_unique<AdxReader>(device, windows1252);
}

} // namespace exchange
