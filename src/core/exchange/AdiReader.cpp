#include "core/exchange/AdifRecord.h"
#include "core/exchange/ByteText.h"

#include <QIODevice>
#include <algorithm>
#include <cstring>

// ADI as other programs write it: tags in any letter case, a header or none, comments before
// <EOH>, type indicators, CR LF, and field lengths counted in bytes or in characters of UTF-8 or
// Latin-1 text. The file is read in blocks; no more than one field is held at a time.
namespace exchange {
namespace {

constexpr qsizetype kBlock = 256 * 1024;
constexpr qsizetype kMaxTag = 100;     // '<' to '>' of the longest tag taken as one
constexpr qsizetype kLookahead = 4096; // how far past a value the reader looks for the next tag

const QString kNotAdif = QStringLiteral("Die Datei ist keine ADIF-Datei: sie enthält keinen einzigen ADIF-Eintrag.");

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool nameCharacter(char c) { return c > ' ' && c < 127 && !std::strchr(":<>,{}", c); }

struct Tag {
    enum Kind { None, Field, Eor, Eoh, Broken } kind = None;
    qsizetype size = 0; // '<' to '>' inclusive
    QByteArray name;
    qint64 length = 0;
};

// The tag at the start of text (which begins with '<'), if it is one.
Tag parseTag(const char *text, qsizetype available)
{
    Tag tag;
    const char *end = static_cast<const char *>(std::memchr(text, '>', size_t(std::min(available, kMaxTag))));
    if (!end)
        return tag;
    const QByteArray inner(text + 1, end - text - 1);
    const QList<QByteArray> parts = inner.split(':');
    const QByteArray name = parts[0].toUpper();
    if (name.isEmpty() || name.size() > 64 || !std::all_of(name.begin(), name.end(), nameCharacter))
        return tag;
    tag.size = end - text + 1;
    tag.name = name;
    if (parts.size() == 1) {
        tag.kind = name == "EOR" ? Tag::Eor : name == "EOH" ? Tag::Eoh : Tag::None;
        return tag;
    }
    const QByteArray &length = parts[1];
    const bool digits = !length.isEmpty() && length.size() <= 10
                        && std::all_of(length.begin(), length.end(), [](char c) { return c >= '0' && c <= '9'; });
    const bool typeOk = parts.size() == 2 || (parts.size() == 3 && parts[2].size() <= 2);
    tag.kind = digits && typeOk ? Tag::Field : Tag::Broken;
    tag.length = digits ? length.toLongLong() : 0;
    return tag;
}

class AdiReader : public RecordReader {
public:
    explicit AdiReader(QIODevice *device) : m_device(device) {}

    bool next(AdifRecord *record) override;
    QString failure() const override { return m_failure; }
    qint64 bytesRead() const override { return m_offset + m_pos; }

private:
    qsizetype available() const { return m_buf.size() - m_pos; }
    const char *at(qsizetype offset = 0) const { return m_buf.constData() + m_pos + offset; }
    bool fill(qsizetype need);
    void advance(qsizetype n);
    bool start();
    void readValue(const QByteArray &name, qint64 length, AdifRecord *record);
    void skipLong(const QByteArray &name, qint64 length, AdifRecord *record);
    bool clean(qsizetype offset) const;
    qsizetype findEor(qsizetype from, qsizetype to) const;
    void resync(const QByteArray &name, qint64 length, qsizetype within, AdifRecord *record);

    QIODevice *m_device;
    QByteArray m_buf;
    qsizetype m_pos = 0;
    qint64 m_offset = 0; // of m_buf's first byte in the file
    qint64 m_line = 1;
    bool m_end = false;
    bool m_started = false;
    bool m_headerPossible = true; // no record handed out yet: an <EOH> ends the header
    bool m_anyTag = false;
    QString m_failure;
};

bool AdiReader::fill(qsizetype need)
{
    if (available() >= need)
        return true;
    if (m_end)
        return false;
    m_buf.remove(0, m_pos);
    m_offset += m_pos;
    m_pos = 0;
    while (available() < need && !m_end) {
        const qsizetype old = m_buf.size();
        const qsizetype want = std::max(need - old, kBlock);
        m_buf.resize(old + want);
        const qint64 got = m_device->read(m_buf.data() + old, want);
        m_buf.resize(old + std::max<qint64>(got, 0));
        if (got <= 0)
            m_end = true;
    }
    return available() >= need;
}

void AdiReader::advance(qsizetype n)
{
    m_line += std::count(at(), at(n), '\n');
    m_pos += n;
}

bool AdiReader::start()
{
    m_started = true;
    fill(4);
    if (available() == 0) {
        m_failure = QStringLiteral("Die Datei ist leer.");
        return false;
    }
    if (available() >= 2
        && ((uchar(*at()) == 0xFF && uchar(*at(1)) == 0xFE) || (uchar(*at()) == 0xFE && uchar(*at(1)) == 0xFF))) {
        m_failure = QStringLiteral("Die Datei ist in UTF-16 gespeichert. Bitte sie im Programm, das sie geschrieben "
                                   "hat, als UTF-8 oder ANSI speichern.");
        return false;
    }
    if (available() >= 3 && std::memcmp(at(), "\xEF\xBB\xBF", 3) == 0)
        m_pos += 3;
    return true;
}

bool AdiReader::next(AdifRecord *record)
{
    record->clear();
    if (!m_started && !start())
        return false;
    if (!m_failure.isEmpty())
        return false;
    for (;;) {
        const char *lt =
            available() > 0 ? static_cast<const char *>(std::memchr(at(), '<', size_t(available()))) : nullptr;
        if (!lt) {
            advance(available());
            if (fill(1))
                continue;
            if (!record->isEmpty()) {
                record->fail(QStringLiteral("Der letzte Satz endet ohne <EOR>: die Datei ist unvollständig"));
                return true;
            }
            if (!m_anyTag)
                m_failure = kNotAdif;
            return false;
        }
        advance(lt - at());
        fill(kMaxTag);
        const Tag tag = parseTag(at(), available());
        if (tag.kind == Tag::None) {
            advance(1);
            continue;
        }
        m_anyTag = true;
        const qint64 line = m_line;
        advance(tag.size);
        if (tag.kind == Tag::Eoh) {
            if (m_headerPossible)
                record->clear(); // what came before was the header
            m_headerPossible = false;
            continue;
        }
        if (tag.kind == Tag::Eor) {
            if (record->isEmpty())
                continue;
            m_headerPossible = false;
            return true;
        }
        if (record->line == 0)
            record->line = line;
        if (tag.kind == Tag::Broken)
            record->fail(QStringLiteral("Feld %1: ungültige Längenangabe").arg(QString::fromLatin1(tag.name)));
        else
            readValue(tag.name, tag.length, record);
    }
}

// Whether the value before offset (from m_pos) ends where a tag or the file begins, with at
// most blanks between.
bool AdiReader::clean(qsizetype offset) const
{
    for (qsizetype i = offset; i < available() && i < offset + kLookahead; ++i) {
        if (*at(i) == '<')
            return true;
        if (!isBlank(*at(i)))
            return false;
    }
    return true;
}

qsizetype AdiReader::findEor(qsizetype from, qsizetype to) const
{
    for (qsizetype i = from; i + 5 <= available() && i < to; ++i)
        if (*at(i) == '<' && qstrnicmp(at(i), "<eor>", 5) == 0)
            return i;
    return -1;
}

// A length that reaches over an <EOR> is wrong: the record ends there, rejected, and the next
// one is read as if the length had been right.
void AdiReader::resync(const QByteArray &name, qint64 length, qsizetype within, AdifRecord *record)
{
    const qsizetype eor = findEor(0, within);
    const bool pastEnd = m_end && length > available();
    if (eor >= 0) {
        record->fail(QStringLiteral("Feld %1: die Längenangabe %2 reicht über das Satzende hinaus")
                         .arg(QString::fromLatin1(name))
                         .arg(length));
        advance(eor);
    } else if (pastEnd) {
        record->fail(QStringLiteral("Feld %1: die Längenangabe %2 reicht über das Dateiende hinaus")
                         .arg(QString::fromLatin1(name))
                         .arg(length));
        advance(available());
    } else {
        record->fail(QStringLiteral("Feld %1: die Längenangabe %2 passt nicht zum Inhalt")
                         .arg(QString::fromLatin1(name))
                         .arg(length));
        advance(std::min<qsizetype>(length, available()));
    }
}

void AdiReader::readValue(const QByteArray &name, qint64 length, AdifRecord *record)
{
    if (length > kMaxFieldBytes)
        return skipLong(name, length, record);
    const qsizetype n = qsizetype(length);
    fill(4 * n + kLookahead);
    if (available() < n)
        return resync(name, length, available(), record);
    const char *p = at();
    if (std::all_of(p, p + n, [](char c) { return uchar(c) < 0x80; })) {
        if (!clean(n))
            return resync(name, length, n, record);
        record->add(name, QString::fromLatin1(p, n));
        return advance(n);
    }
    // Beyond ASCII the length may count bytes or characters, of UTF-8 or Latin-1: the reading
    // after which the next tag follows is the one the writer meant.
    const bool bytesClean = clean(n);
    if (bytesClean && isUtf8(p, n)) {
        record->add(name, QString::fromUtf8(p, n));
        return advance(n);
    }
    const qsizetype charsEnd = utf8CharactersEnd(p, available(), n);
    if (charsEnd >= 0 && clean(charsEnd)) {
        record->add(name, QString::fromUtf8(p, charsEnd));
        return advance(charsEnd);
    }
    if (bytesClean) {
        record->add(name, fromWindows1252(p, n));
        return advance(n);
    }
    resync(name, length, n, record);
}

// A field longer than any the reader takes is skipped block by block, unless an <EOR> inside it
// shows that its length is wrong.
void AdiReader::skipLong(const QByteArray &name, qint64 length, AdifRecord *record)
{
    qint64 left = length;
    while (left > 0) {
        fill(std::min<qint64>(left, kBlock) + 5);
        if (available() == 0)
            break;
        const qsizetype span = qsizetype(std::min<qint64>(left, available()));
        const qsizetype eor = findEor(0, span);
        if (eor >= 0) {
            record->fail(QStringLiteral("Feld %1: die Längenangabe %2 reicht über das Satzende hinaus")
                             .arg(QString::fromLatin1(name))
                             .arg(length));
            return advance(eor);
        }
        advance(span);
        left -= span;
    }
    if (left > 0)
        record->fail(QStringLiteral("Feld %1: die Längenangabe %2 reicht über das Dateiende hinaus")
                         .arg(QString::fromLatin1(name))
                         .arg(length));
    else
        record->fail(QStringLiteral("Feld %1 ist länger als 1 MB").arg(QString::fromLatin1(name)));
}

} // namespace

std::unique_ptr<RecordReader> makeAdiReader(QIODevice *device) { return std::make_unique<AdiReader>(device); }

} // namespace exchange
