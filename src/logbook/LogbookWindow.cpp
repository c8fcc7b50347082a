#include "logbook/LogbookWindow.h"

#include "core/logbook/ListOrder.h"
#include "core/text/GermanText.h"
#include "logbook/PrintListing.h"
#include "ui/DataControl.h"
#include "ui/DataGrid.h"
#include "ui/FieldBinding.h"
#include "ui/MessageBox.h"
#include "ui/Seams.h"
#include "ui/WindowHelpers.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

namespace logbook {
namespace {

// A field of the record tab: control, label caption, bound column, design-time sample text.
struct Field {
    const char *name;
    QString label;
    QString column;
    QString sample;
};

// The contact itself, in the order of the record tab.
const Field kContactFields[] = {
    {"txt_skip", QStringLiteral("Skip"), QStringLiteral("skip"), QStringLiteral("Funkfreund")},
    {"txt_callsign", QStringLiteral("CallSign"), QStringLiteral("callsign"), QStringLiteral("DL1ABC")},
    {"txt_vorname", QStringLiteral("Vorname"), QStringLiteral("vorname"), QStringLiteral("Hans")},
    {"txt_ort", QStringLiteral("QTH"), QStringLiteral("ort"), QStringLiteral("München")},
    {"txt_land", QStringLiteral("Land"), QStringLiteral("land"), QStringLiteral("Deutschland")},
    {"txt_datum", QStringLiteral("Datum"), QStringLiteral("datum"), QStringLiteral("30.06.2006")},
    {"txt_uhrzeit", QStringLiteral("Uhrzeit"), QStringLiteral("uhrzeit"), QStringLiteral("21:45")},
    {"txt_kanal", QStringLiteral("Kanal"), QStringLiteral("lanal"), QStringLiteral("12")},
    {"txt_frequenz", QStringLiteral("Frequenz"), QStringLiteral("frequenz"), QStringLiteral("27,005")},
    {"txt_band", QStringLiteral("Modulation"), QStringLiteral("band"), QStringLiteral("FM")},
    {"txt_swert", QStringLiteral("S-Wert"), QStringLiteral("swert"), QStringLiteral("9+30")},
    {"txt_rwert", QStringLiteral("R-Wert"), QStringLiteral("rwert"), QStringLiteral("5")},
};

// The station's personal data, in the frame "Persönliche Daten".
const Field kPersonalFields[] = {
    {"txt_name", QStringLiteral("Nachname"), QStringLiteral("name"), QStringLiteral("Mustermann")},
    {"txt_strasse", QStringLiteral("Straße"), QStringLiteral("strasse"), QStringLiteral("Hauptstraße 1")},
    {"txt_plz", QStringLiteral("PLZ"), QStringLiteral("plz"), QStringLiteral("80331")},
    {"txt_tel", QStringLiteral("Tel."), QStringLiteral("tel"), QStringLiteral("089 1234567")},
    {"txt_email", QStringLiteral("email"), QStringLiteral("email"), QStringLiteral("hans@example.org")},
    {"txt_web", QStringLiteral("web"), QStringLiteral("web"), QStringLiteral("www.example.org")},
};

// The order in which felder_sperren and felder_freigeben name the 18 fields.
const char *const kLockOrder[] = {"txt_callsign", "txt_skip",  "txt_swert",    "txt_rwert", "txt_datum",
                                  "txt_uhrzeit",  "txt_kanal", "txt_frequenz", "txt_band",  "txt_ort",
                                  "txt_vorname",  "txt_name",  "txt_strasse",  "txt_plz",   "txt_land",
                                  "txt_tel",      "txt_email", "txt_web"};

const QString kRemarksSample = QStringLiteral("Bemerkungen zur Verbindung");
} // namespace

LogbookWindow::LogbookWindow(const LogbookVariant &variant, QWidget *parent) : QWidget(parent), m_variant(variant)
{
    setObjectName(QString::fromLatin1(variant.name));
    setWindowTitle(variant.caption);

    // The data control: the logbook file, read and written; the table it writes is this
    // window's. Opening never creates a file; a missing one is told by name.
    Adodc1 = ui::createDataControl(this, data::kLogbookFile, data::RecordSource::Mode::ReadWrite);
    Adodc1->setEditTable(variant.table);
    Adodc1->upgrade(logbook::indexSql(variant.book));
    m_binding = new ui::FieldBinding(Adodc1, this);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(buildRecordTab(), QStringLiteral("LOG"));
    SSTab1->addTab(buildOverviewTab(), QStringLiteral("Übersicht"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);

    Form_Load();
    connect(SSTab1, &QTabWidget::currentChanged, this, &LogbookWindow::SSTab1_clicked);
}

QWidget *LogbookWindow::buildRecordTab()
{
    auto *page = new QWidget;
    auto *fields = new QGridLayout;
    int labelNumber = 1;
    auto addField = [&](QWidget *parent, QGridLayout *grid, const Field &f, int row, int column) {
        auto *label = ui::label(parent, qPrintable(QStringLiteral("Label%1").arg(labelNumber++)), f.label);
        QLineEdit *edit = ui::lineEdit(parent, f.name);
        edit->setText(f.sample);
        edit->setProperty("sample", f.sample); // shown greyed in an empty field while typing
        label->setBuddy(edit);
        grid->addWidget(label, row, column);
        grid->addWidget(edit, row, column + 1);
        m_binding->bind(edit, f.column);
        if (f.column == QLatin1String("datum")) {
            txt_datum = edit;
            edit->installEventFilter(this);
        }
        return edit;
    };
    // Two columns of contact fields.
    const int half = int(std::size(kContactFields) + 1) / 2;
    for (int i = 0; i < int(std::size(kContactFields)); ++i)
        addField(page, fields, kContactFields[i], i % half, i / half * 2);

    auto *personal = new QGroupBox(QStringLiteral("Persönliche Daten"), page);
    personal->setObjectName(QStringLiteral("Frame1"));
    auto *personalGrid = new QGridLayout(personal);
    for (int i = 0; i < int(std::size(kPersonalFields)); ++i)
        addField(personal, personalGrid, kPersonalFields[i], i, 0);
    RichTextBox1 = new QTextEdit(personal);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    RichTextBox1->setAcceptRichText(false);
    RichTextBox1->setProperty("sample", kRemarksSample);
    RichTextBox1->setPlainText(kRemarksSample);
    // The fields stay together at the top; the remarks box takes the height beside them.
    const int rows = int(std::size(kPersonalFields));
    personalGrid->setRowStretch(rows, 1);
    personalGrid->addWidget(RichTextBox1, 0, 2, rows + 1, 1);
    personalGrid->setColumnStretch(1, 1);
    personalGrid->setColumnStretch(2, 2);
    m_binding->bind(RichTextBox1, QStringLiteral("bemerkung"));

    for (const char *name : kLockOrder)
        m_lockOrder.push_back(page->findChild<QLineEdit *>(QString::fromLatin1(name)));

    cmd_neu = ui::button(page, "cmd_neu", QStringLiteral("NEU"));
    cmd_bearbeiten = ui::button(page, "cmd_bearbeiten", QStringLiteral("BEARBEITEN"));
    cmd_speichern = ui::button(page, "cmd_speichern", QStringLiteral("SPEICHERN"));
    cmd_loeschen = ui::button(page, "cmd_löschen", QStringLiteral("LÖSCHEN"));
    cmd_abbrechen = ui::button(page, "cmd_abbrechen", QStringLiteral("ABBRECHEN"));
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {cmd_neu, cmd_bearbeiten, cmd_speichern, cmd_loeschen, cmd_abbrechen})
        buttons->addWidget(b);
    buttons->addStretch(1);
    if (m_variant.qslBoxes) {
        chk_qslverschickt = new QCheckBox(QStringLiteral("QSL verschickt"), page);
        chk_qslverschickt->setObjectName(QStringLiteral("chk_qslverschickt"));
        chk_qslbekommen = new QCheckBox(QStringLiteral("QSL bekommen"), page);
        chk_qslbekommen->setObjectName(QStringLiteral("chk_qslbekommen"));
        m_binding->bind(chk_qslverschickt, QStringLiteral("qslverschickt"));
        m_binding->bind(chk_qslbekommen, QStringLiteral("qslbekommen"));
        buttons->addWidget(chk_qslverschickt);
        buttons->addWidget(chk_qslbekommen);
    }
    connect(cmd_neu, &QPushButton::clicked, this, &LogbookWindow::cmd_neu_clicked);
    connect(cmd_bearbeiten, &QPushButton::clicked, this, &LogbookWindow::cmd_bearbeiten_clicked);
    connect(cmd_speichern, &QPushButton::clicked, this, &LogbookWindow::cmd_speichern_clicked);
    connect(cmd_loeschen, &QPushButton::clicked, this, &LogbookWindow::cmd_loeschen_clicked);
    connect(cmd_abbrechen, &QPushButton::clicked, this, &LogbookWindow::cmd_abbrechen_clicked);

    auto *column = new QVBoxLayout(page);
    column->addLayout(fields);
    column->addWidget(personal, 1);
    column->addLayout(buttons);
    return page;
}

QWidget *LogbookWindow::buildOverviewTab()
{
    auto *page = new QWidget;
    DataGrid1 = new ui::DataGrid(Adodc1, m_variant.gridColumns, page);
    connect(DataGrid1, &QAbstractItemView::clicked, this, &LogbookWindow::DataGrid1_clicked);

    auto *frame = new QGroupBox(page);
    frame->setObjectName(QStringLiteral("Frame2"));
    txt_suchbegriff = ui::lineEdit(frame, "txt_suchbegriff");
    txt_suchbegriff->setText(QStringLiteral("...Suchbegriff"));
    txt_suchbegriff->installEventFilter(this);
    auto *search = new QVBoxLayout(frame);
    search->addWidget(txt_suchbegriff);
    for (const SearchOption &option : m_variant.searchOptions) {
        auto *button = new QRadioButton(option.caption, frame);
        button->setObjectName(QString::fromLatin1(option.name));
        m_options.push_back(button);
        search->addWidget(button);
    }
    m_options.front()->setChecked(true);
    auto *suchen = ui::button(frame, "cmd_suchen", QStringLiteral("SUCHEN"));
    auto *alle = ui::button(frame, "cmd_alle", QStringLiteral("RESET"));
    auto *drucken = ui::button(frame, "cmd_drucken", QStringLiteral("DRUCKEN"));
    lbl_treffer = ui::label(frame, "lbl_treffer", QString());
    lbl_treffer->setAlignment(Qt::AlignCenter);
    search->addWidget(suchen);
    search->addWidget(alle);
    search->addSpacing(12);
    search->addWidget(drucken);
    search->addStretch(1);
    search->addWidget(lbl_treffer);
    connect(suchen, &QPushButton::clicked, this, &LogbookWindow::cmd_suchen_clicked);
    connect(alle, &QPushButton::clicked, this, &LogbookWindow::cmd_alle_clicked);
    connect(drucken, &QPushButton::clicked, this, &LogbookWindow::cmd_drucken_clicked);

    auto *row = new QHBoxLayout(page);
    row->addWidget(DataGrid1, 1);
    row->addWidget(frame);
    return page;
}

data::Query LogbookWindow::fullList() const { return data::Query(m_variant.table).orderBy(listOrder(m_variant.book)); }

data::Query LogbookWindow::searchQuery(const QString &column, const QString &text) const
{
    return data::Query(m_variant.table).whereContains(column, text).orderBy(listOrder(m_variant.book));
}

void LogbookWindow::Form_Load()
{
    SSTab1->setCurrentIndex(1);
    felder_sperren();
    cmd_abbrechen->setEnabled(false);
    cmd_loeschen->setEnabled(false);
    cmd_speichern->setEnabled(false);
    if (Adodc1->isOpen())
        refresh(fullList());
    anzahl_anzeigen();
}

bool LogbookWindow::refresh(const data::Query &query)
{
    Adodc1->setQuery(query);
    return ui::refreshOrTell(this, Adodc1);
}

void LogbookWindow::showSamples(bool show)
{
    // While a contact is typed, an empty field shows the expected form of its value greyed.
    for (QLineEdit *edit : m_lockOrder)
        edit->setPlaceholderText(show ? edit->property("sample").toString() : QString());
    RichTextBox1->setPlaceholderText(show ? RichTextBox1->property("sample").toString() : QString());
}

void LogbookWindow::felder_sperren()
{
    showSamples(false);
    for (QLineEdit *edit : m_lockOrder)
        edit->setReadOnly(true);
    RichTextBox1->setReadOnly(true);
    if (m_variant.remarksEnabledWithFields)
        RichTextBox1->setEnabled(false);
    if (m_variant.qslBoxes) {
        chk_qslbekommen->setEnabled(false);
        chk_qslverschickt->setEnabled(false);
    }
}

void LogbookWindow::felder_freigeben()
{
    if (!m_variant.remarksEnabledWithFields)
        RichTextBox1->setReadOnly(false);
    for (QLineEdit *edit : m_lockOrder)
        edit->setReadOnly(false);
    if (m_variant.remarksEnabledWithFields) {
        RichTextBox1->setReadOnly(false);
        RichTextBox1->setEnabled(true);
    }
    if (m_variant.qslBoxes) {
        chk_qslbekommen->setEnabled(true);
        chk_qslverschickt->setEnabled(true);
    }
    showSamples(true);
}

void LogbookWindow::tasten_eingabe()
{
    cmd_neu->setEnabled(false);
    cmd_bearbeiten->setEnabled(false);
    cmd_speichern->setEnabled(true);
    cmd_loeschen->setEnabled(false);
    cmd_abbrechen->setEnabled(true);
    RichTextBox1->setEnabled(true);
}

void LogbookWindow::tasten_ansicht()
{
    if (m_variant.remarksEnabledWithFields)
        RichTextBox1->setEnabled(false);
    cmd_neu->setEnabled(true);
    cmd_bearbeiten->setEnabled(true);
    cmd_speichern->setEnabled(false);
    cmd_loeschen->setEnabled(false);
    cmd_abbrechen->setEnabled(false);
    if (!m_variant.remarksEnabledWithFields)
        RichTextBox1->setEnabled(false);
}

void LogbookWindow::anzahl_anzeigen()
{
    lbl_treffer->setText(QString::number(Adodc1->recordCount()) + QStringLiteral(" Einträge"));
}

void LogbookWindow::tellNotSaved()
{
    ui::critical(this, Adodc1->lastError()
                           + QStringLiteral("\n\nDie eingegebenen Werte bleiben in den Feldern stehen. Bitte die "
                                            "Ursache beheben und dann SPEICHERN erneut drücken – oder ABBRECHEN, "
                                            "um sie zu verwerfen."));
}

void LogbookWindow::cmd_neu_clicked()
{
    // Without an open logbook a new contact could never be stored: say so now, before the
    // user types it, and stay where we are.
    if (!Adodc1->addNew()) {
        ui::critical(this, QStringLiteral("Ein neuer Kontakt kann nicht angelegt werden. ") + Adodc1->lastError());
        return;
    }
    tasten_eingabe();
    felder_freigeben();
}

void LogbookWindow::cmd_bearbeiten_clicked()
{
    felder_freigeben();
    cmd_neu->setEnabled(false);
    cmd_speichern->setEnabled(true);
    cmd_loeschen->setEnabled(true);
    cmd_abbrechen->setEnabled(true);
    RichTextBox1->setEnabled(true);
    if (!Adodc1->update()) // what was typed so far; the window stays in editing
        tellNotSaved();
}

void LogbookWindow::cmd_speichern_clicked()
{
    // A save that failed is never shown as saved: the values stay and so does the state.
    if (!Adodc1->update()) {
        tellNotSaved();
        return;
    }
    tasten_ansicht();
    felder_sperren();
}

void LogbookWindow::cmd_abbrechen_clicked()
{
    Adodc1->cancel();
    if (Adodc1->isOpen())
        ui::refreshOrTell(this, Adodc1);
    felder_sperren();
    tasten_ansicht();
}

void LogbookWindow::cmd_loeschen_clicked()
{
    felder_sperren();
    if (!Adodc1->deleteCurrent()) {
        ui::critical(this, Adodc1->lastError());
        felder_freigeben(); // still editing the record that was not deleted
        return;
    }
    tasten_ansicht();
}

void LogbookWindow::cmd_suchen_clicked()
{
    for (size_t i = 0; i < m_options.size(); ++i) {
        if (m_options[i]->isChecked()
            && !refresh(searchQuery(m_variant.searchOptions[i].column, txt_suchbegriff->text())))
            return;
    }
    if (Adodc1->recordCount() == 0) {
        ui::critical(this, QStringLiteral("Der Suchbegriff ") + txt_suchbegriff->text()
                               + QStringLiteral(" konnte nicht gefunden werden! Bitte überprüfen Sie die Eingabe!"));
        refresh(fullList());
        anzahl_anzeigen();
    }
    if (Adodc1->recordCount() > 0)
        anzahl_anzeigen();
}

void LogbookWindow::cmd_alle_clicked()
{
    refresh(fullList());
    anzahl_anzeigen();
}

void LogbookWindow::cmd_drucken_clicked()
{
    // Every record of the table, whatever search is shown; the grid shows the full list after.
    // The count label stays as it was.
    if (!refresh(m_variant.printQuery))
        return;
    printListing(this, *m_variant.printLayout, [this](const RecordVisitor &visit) {
        return Adodc1->forEachRow([&visit](const data::RecordSource::RowReader &field) {
            visit([&field](const QString &column) { return field(column).toString(); });
            return true;
        });
    });
}

void LogbookWindow::SSTab1_clicked() { anzahl_anzeigen(); }

void LogbookWindow::DataGrid1_clicked() { SSTab1->setCurrentIndex(0); }

void LogbookWindow::txt_datum_gotFocus()
{
    if (!txt_datum->isReadOnly())
        txt_datum->setText(german::dateText(seams::today()));
}

void LogbookWindow::txt_suchbegriff_clicked() { txt_suchbegriff->clear(); }

bool LogbookWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txt_datum && event->type() == QEvent::FocusIn)
        txt_datum_gotFocus();
    if (watched == txt_suchbegriff && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        txt_suchbegriff_clicked();
    return QWidget::eventFilter(watched, event);
}

void LogbookWindow::closeEvent(QCloseEvent *event)
{
    // A pending contact is written when the window closes, as when the record is left; when
    // that fails the window stays open with the typed values.
    if (!Adodc1->savePending()) {
        tellNotSaved();
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace logbook
