#pragma once
#include "core/data/Query.h"
#include "core/logbook/Contact.h"
#include "ui/GridModel.h"

#include <QString>
#include <vector>

namespace logbook {

// One option button of the search and the column it searches.
struct SearchOption {
    const char *name; // objectName
    QString caption;
    QString column;
};

// What makes the local and the DX logbook window differ.
struct LogbookVariant {
    const char *name; // window objectName
    QString caption;
    Book book; // the table the window lists and writes, the fields of its record tab, the order of its list
    std::vector<ui::GridColumn> gridColumns;
    std::vector<SearchOption> searchOptions; // in the order SUCHEN tests them
    // felder_sperren and felder_freigeben disable and enable the remarks box with the fields
    // (the local window), or only make it read-only and editable (the DX window).
    bool remarksEnabledWithFields;
    data::Query printQuery; // DRUCKEN lists every record of the table in this query's order

    QString table() const { return tableOf(book); }
};

extern const LogbookVariant kLocalLogbook;
extern const LogbookVariant kDxLogbook;

} // namespace logbook
