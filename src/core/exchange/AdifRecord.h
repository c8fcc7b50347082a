#pragma once
#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class QIODevice;

// ADIF records as the readers hand them out and the writers take them, whatever the syntax.
namespace exchange {

enum class Format {
    Adi, // tagged text, <CALL:6>DL1ABC ... <EOR>
    Adx, // XML
};

// The format a file's extension names: .adi and .adif ADI, .adx ADX (any letter case).
std::optional<Format> formatOfFileName(const QString &path);

struct AdifField {
    QByteArray name; // upper case: CALL, APP_KANALWERK_SKIP
    QString value;
};

struct AdifRecord {
    qint64 line = 0; // of the record's first field in the file
    std::vector<AdifField> fields;
    QString error; // why the record cannot be taken (a broken field), German; empty when it can

    const QString *value(const char *name) const; // nullptr when the record has no such field
    void add(QByteArray name, QString value);     // a field named twice with another value is an error
    void fail(const QString &reason);             // keeps the first reason
    void clear();
    bool isEmpty() const { return fields.empty() && error.isEmpty(); }
};

// Reads a file one record at a time, holding no more of it than a few of its fields.
class RecordReader {
public:
    virtual ~RecordReader() = default;
    // The next record; false at the end of the file or when it cannot be read on (failure()).
    virtual bool next(AdifRecord *record) = 0;
    // Why the file could not be read on, in German; empty after a clean end.
    virtual QString failure() const = 0;
    virtual qint64 bytesRead() const = 0;
    // The failure was text that is no UTF-8 in an ADX file: read it again as Windows-1252.
    virtual bool failedOnEncoding() const { return false; }
};

std::unique_ptr<RecordReader> makeReader(Format format, QIODevice *device);
// ADX whose bytes are Windows-1252 (Latin-1) text although the file does not say so.
std::unique_ptr<RecordReader> makeAdxReader(QIODevice *device, bool windows1252);

// The longest field a reader takes, in bytes; longer ones make their record rejected.
constexpr qint64 kMaxFieldBytes = 1 << 20;

} // namespace exchange
