#include "data/DataControl.h"

#include "ui/MessageBox.h"

#include <QPointer>
#include <QWidget>
#include <functional>

namespace data {

RecordSource *createDataControl(QWidget *window, const QString &fileName, RecordSource::Mode mode)
{
    auto *source = new RecordSource(window);
    source->setObjectName(QStringLiteral("Adodc1"));
    // Rows are read while the grid paints; the message waits until the painting is done.
    QObject::connect(
        source, &RecordSource::readFailed, window, [window](const QString &message) { ui::critical(window, message); },
        Qt::QueuedConnection);
    if (!source->open(fileName, mode)) {
        ui::critical(window, source->lastError()
                                 + QStringLiteral("\nDas Fenster bleibt leer. Bitte die Datei in den "
                                                  "Programmordner legen und das Fenster neu öffnen."));
    }
    return source;
}

namespace {
RecordSource *openWith(QWidget *window, const QString &fileName, RecordSource::Mode mode,
                       const std::function<void(RecordSource *)> &setQuery)
{
    RecordSource *source = createDataControl(window, fileName, mode);
    setQuery(source);
    if (source->isOpen())
        refreshOrTell(window, source);
    return source;
}
} // namespace

RecordSource *openDataControl(QWidget *window, const QString &fileName, const Query &query, RecordSource::Mode mode)
{
    return openWith(window, fileName, mode, [&query](RecordSource *s) { s->setQuery(query); });
}

RecordSource *openDataControl(QWidget *window, const QString &fileName, const QString &queryText)
{
    return openWith(window, fileName, RecordSource::Mode::ReadOnly,
                    [&queryText](RecordSource *s) { s->setRecordSource(queryText); });
}

bool refreshOrTell(QWidget *window, RecordSource *source)
{
    if (source->refresh())
        return true;
    ui::critical(window, QStringLiteral("Die Daten aus %1 konnten nicht gelesen werden:\n%2")
                             .arg(source->fileName(), source->lastError()));
    return false;
}

} // namespace data
