#pragma once
#include "data/RecordSource.h"

class QWidget;

namespace data {

inline const QString kReferenceFile = QStringLiteral("Frequenzen.quorvel");
inline const QString kLogbookFile = QStringLiteral("Frequenzen1.quorvel");

// Creates the window's data control Adodc1, opens the file and runs the record source.
// A missing or unreadable file is told to the user by name; the control is returned anyway
// (closed, empty) so that the window opens and closes normally.
RecordSource *openDataControl(QWidget *window, const QString &fileName, const QString &recordSource,
                              RecordSource::Mode mode = RecordSource::Mode::ReadOnly);

// Runs the record source; when the engine refuses, tells the user in German and returns false.
// The result shown before stays as it was.
bool refreshOrTell(QWidget *window, RecordSource *source);

} // namespace data
