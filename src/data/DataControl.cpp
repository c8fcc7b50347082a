#include "data/DataControl.h"

#include "ui/MessageBox.h"

#include <QWidget>

namespace data {

RecordSource *openDataControl(QWidget *window, const QString &fileName, const QString &recordSource,
                              RecordSource::Mode mode)
{
    auto *source = new RecordSource(window);
    source->setObjectName(QStringLiteral("Adodc1"));
    source->setRecordSource(recordSource);
    if (!source->open(fileName, mode)) {
        ui::critical(window, source->lastError()
                                 + QStringLiteral("\nDas Fenster bleibt leer. Bitte die Datei in den "
                                                  "Programmordner legen und das Fenster neu öffnen."));
        return source;
    }
    refreshOrTell(window, source);
    return source;
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
