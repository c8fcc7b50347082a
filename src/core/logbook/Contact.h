#pragma once
#include <QString>
#include <QStringList>
#include <span>
#include <vector>

// A contact, defined once: every column of the logbook tables with everything that hangs on it.
// The schema check of restore, the bound fields of the logbook windows and the printed listings
// are all made from this one table.
namespace logbook {

enum class Book { Local, Dx }; // Kontakt, Kontakt_dx

// Where a column's control sits on the record tab.
enum class Place {
    Contact,  // the two columns of fields at the top
    Personal, // the frame "Persönliche Daten"
    Remarks,  // the remarks box RichTextBox1
    Qsl,      // the QSL check boxes beside the buttons (DX only)
};

struct ContactField {
    const char *column;  // in Kontakt and Kontakt_dx
    const char *sqlType; // as the logbook file declares it
    bool dxOnly;
    const char *control; // objectName of the bound control
    const char *label;   // caption of its label (of a check box: the box's own caption)
    const char *sample;  // design-time sample text: the form of the value
    Place place;
    int tabOrder;          // position on the record tab, from 1
    int lockOrder;         // position in the order felder_sperren locks the text fields, 0: not a text field
    const char *printWord; // the label word on paper (nullptr: not printed)
    int localLine;         // line of the local listing's block, from 1 (0: not printed)
    int dxLine;            // line of the DX listing's block
    // Exchange with other logbook programs (ADIF): the standard field that carries the column
    // ("" none), and the name of the program's own field APP_KANALWERK_<adifApp>, which carries
    // the exact text where no standard field does. adifAlways: that field is written for every
    // value (texts no standard field holds on their own, or that depend on the time zone).
    const char *adif;
    const char *adifApp;
    bool adifAlways;
};

// In the order of the columns in the file.
std::span<const ContactField> contactFields();

// The fields of one logbook, in file order.
std::vector<const ContactField *> fieldsOf(Book book);
// The same ordered by tabOrder or by lockOrder (text fields only).
std::vector<const ContactField *> fieldsInTabOrder(Book book);
std::vector<const ContactField *> fieldsInLockOrder();

// The field of a column (any letter case), nullptr when the contact has no such column.
const ContactField *fieldOf(const QString &column);

QString tableOf(Book book);       // "Kontakt", "Kontakt_dx"
QStringList columnsOf(Book book); // file order, without the id

// The CREATE TABLE statement of a logbook table: id INTEGER PRIMARY KEY, then every column.
QString createTableSql(Book book);

} // namespace logbook
