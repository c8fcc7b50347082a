#include "core/exchange/AdifRecord.h"

#include <QFileInfo>

namespace exchange {

// The two readers (AdiReader.cpp, AdxReader.cpp).
std::unique_ptr<RecordReader> makeAdiReader(QIODevice *device);

std::optional<Format> formatOfFileName(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("adi") || suffix == QLatin1String("adif"))
        return Format::Adi;
    if (suffix == QLatin1String("adx"))
        return Format::Adx;
    return std::nullopt;
}

const QString *AdifRecord::value(const char *name) const
{
    for (const AdifField &f : fields)
        if (f.name == name)
            return &f.value;
    return nullptr;
}

void AdifRecord::add(QByteArray name, QString value)
{
    for (const AdifField &f : fields) {
        if (f.name == name) {
            if (f.value != value)
                fail(QStringLiteral("Feld %1 steht zweimal im Satz, mit verschiedenen Werten")
                         .arg(QString::fromLatin1(name)));
            return;
        }
    }
    fields.push_back({std::move(name), std::move(value)});
}

void AdifRecord::fail(const QString &reason)
{
    if (error.isEmpty())
        error = reason;
}

void AdifRecord::clear()
{
    line = 0;
    fields.clear();
    error.clear();
}

std::unique_ptr<RecordReader> makeReader(Format format, QIODevice *device)
{
    return format == Format::Adi ? makeAdiReader(device) : makeAdxReader(device, false);
}

} // namespace exchange
