#pragma once
#include "core/exchange/AdifRecord.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringEncoder>
#include <string>
#include <string_view>
#include <vector>

class QIODevice;

namespace exchange {

struct HeaderInfo {
    QString comment; // the header's free text (ADI)
    QString programVersion;
    QDateTime created; // UTC
};

inline constexpr char kProgramId[] = "KANALWERK";
inline constexpr char kAdifVersion[] = "3.1.4";

// Writes ADI or ADX into a device, buffered; or, without a device, gathers the records for take().
//
// ADI is written in UTF-8 and every length counts bytes: it says where the value ends in the
// file, whatever the reader knows of the encoding. After a value with letters beyond ASCII as
// many blanks follow as it has more bytes than characters, so that a reader that counts
// characters instead reads the value and some blanks, and never into the next tag.
class AdifWriter {
public:
    AdifWriter(QIODevice *device, Format format);
    bool header(const HeaderInfo &info);
    bool record(const std::vector<AdifField> &fields);
    bool finish(); // closes the document and writes what is buffered
    Format format() const { return m_format; }

    // Without a device: swaps the records gathered since the last take() with records, which
    // is emptied first (its memory is used for the next records).
    void take(std::string *records);
    // Writes records another writer of the same format gathered, after those of this one.
    bool pass(std::string_view records);
    // Why writing failed (German); empty while it goes well.
    QString error() const { return m_error; }

private:
    void adiField(const QByteArray &name, const QString &value);
    void adxField(const QByteArray &name, const QString &value);
    bool flushIfFull();
    bool flush();
    bool fail();
    // The text in UTF-8 (valid until the next call) and how many characters it has.
    struct Utf8 {
        std::string_view bytes;
        qsizetype characters;
    };
    Utf8 utf8Of(QStringView text);
    void appendXmlText(QStringView text);

    QIODevice *m_device;
    Format m_format;
    QStringEncoder m_encoder;
    std::string m_buffer, m_utf8;
    QString m_error;
};

} // namespace exchange
