#pragma once
#include "core/data/Files.h"
#include "core/data/RecordSource.h"

class QWidget;

namespace ui {

// Creates the window's data control Adodc1, opens the file and runs the query.
// A missing or unreadable file is told to the user by name; the control is returned anyway
// (closed, empty) so that the window opens and closes normally. Rows that later cannot be
// read are told to the user too, once per result.
data::RecordSource *openDataControl(QWidget *window, const QString &fileName, const data::Query &query,
                                    data::RecordSource::Mode mode = data::RecordSource::Mode::ReadOnly);
// Only creates and opens it (telling the user when that fails); the window runs its query.
data::RecordSource *createDataControl(QWidget *window, const QString &fileName, data::RecordSource::Mode mode);
// Runs the record source; when the engine refuses, tells the user in German and returns false.
// The result shown before stays as it was.
bool refreshOrTell(QWidget *window, data::RecordSource *source);

} // namespace ui
