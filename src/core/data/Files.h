#pragma once
#include <QString>

namespace data {

// The two database files, found by bare name in the working directory (backup and restore look
// for the logbook in the program's own folder).
inline const QString kReferenceFile = QStringLiteral("Frequenzen.quorvel");
inline const QString kLogbookFile = QStringLiteral("Frequenzen1.quorvel");

} // namespace data
