#include "ui/DataControl.h"

#include "ui/MessageBox.h"

#include <QPointer>
#include <QWidget>

namespace ui {

data::RecordSource *createDataControl(QWidget *window, const QString &fileName, data::RecordSource::Mode mode)
{
    auto *source = new data::RecordSource(window);
    source->setObjectName(QStringLiteral("Adodc1"));
    // Rows are read while the grid paints; the message waits until the painting is done.
    QObject::connect(
        source, &data::RecordSource::readFailed, window,
        [window](const QString &message) { ui::critical(window, message); }, Qt::QueuedConnection);
    if (!source->open(fileName, mode)) {
        ui::critical(window, source->lastError() + QStringLiteral("\nDas Fenster bleibt leer."));
    }
    return source;
}

data::RecordSource *openDataControl(QWidget *window, const QString &fileName, const data::Query &query,
                                    data::RecordSource::Mode mode)
{
    data::RecordSource *source = createDataControl(window, fileName, mode);
    source->setQuery(query);
    if (source->isOpen())
        refreshOrTell(window, source);
    return source;
}

bool refreshOrTell(QWidget *window, data::RecordSource *source)
{
    if (source->refresh())
        return true;
    ui::critical(window, QStringLiteral("Die Daten aus %1 konnten nicht gelesen werden:\n%2")
                             .arg(source->fileName(), source->lastError()));
    return false;
}

} // namespace ui
