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
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

namespace logbook {

LogbookWindow::LogbookWindow(const LogbookVariant &variant, QWidget *parent) : QWidget(parent), m_variant(variant)
{
    setObjectName(QString::fromLatin1(variant.name));
    setWindowTitle(variant.caption);

    // The data control: the logbook file, read and written; the table it writes is this
    // window's. Opening never creates a file; a missing one is told by name.
    Adodc1 = ui::createDataControl(this, data::kLogbookFile, data::RecordSource::Mode::ReadWrite);
    Adodc1->setEditTable(variant.table());
    Adodc1->upgrade(indexSql(variant.book));
    m_binding = new ui::FieldBinding(Adodc1, this);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(buildRecordTab(), QStringLiteral("LOG"));
    SSTab1->addTab(buildOverviewTab(), QStringLiteral("Übersicht"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);

    Form_load();
    connect(SSTab1, &QTabWidget::currentChanged, this, &LogbookWindow::SSTab1_changed);
}

data::Query LogbookWindow::fullList() const
{
    return data::Query(m_variant.table()).orderBy(listOrder(m_variant.book));
}

data::Query LogbookWindow::searchQuery(const QString &column, const QString &text) const
{
    return data::Query(m_variant.table()).whereContains(column, text).orderBy(listOrder(m_variant.book));
}

void LogbookWindow::Form_load()
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
    // A contact being typed is saved first, as on every move; when that fails, nothing else happens.
    const bool pending = Adodc1->editState() != data::RecordSource::EditState::Browsing;
    if (pending && !Adodc1->savePending()) {
        tellNotSaved();
        return false;
    }
    Adodc1->setQuery(query);
    const bool refreshed = ui::refreshOrTell(this, Adodc1);
    // The contact typed is gone into the file: whatever is typed next must not change the contact
    // the new list shows first.
    if (pending && typing())
        showViewing();
    return refreshed;
}

bool LogbookWindow::typing() const { return cmd_speichern->isEnabled(); }

void LogbookWindow::showViewing()
{
    tasten_ansicht();
    felder_sperren();
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
    for (QCheckBox *box : m_qslBoxes)
        box->setEnabled(false);
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
    for (QCheckBox *box : m_qslBoxes)
        box->setEnabled(true);
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
    m_firstField->setFocus(Qt::OtherFocusReason); // typing goes into the new contact
}

void LogbookWindow::cmd_bearbeiten_clicked()
{
    // Without a contact shown there is nothing to edit.
    if (Adodc1->editState() != data::RecordSource::EditState::Adding && Adodc1->eof())
        return;
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
    printListing(this, printLayout(m_variant.book), rowsOf(*Adodc1), Adodc1->recordCount());
}

void LogbookWindow::SSTab1_changed() { anzahl_anzeigen(); }

void LogbookWindow::DataGrid1_clicked() { SSTab1->setCurrentIndex(0); }

void LogbookWindow::DataGrid1_changed()
{
    // Another contact was chosen while one was typed or edited: the one typed is saved, and the
    // chosen one is shown as after SPEICHERN, so that nothing typed next changes it unasked.
    if (typing())
        showViewing();
}

void LogbookWindow::txt_datum_gotFocus()
{
    // Today's date goes only into an empty field: the focus also passes through it on a tab switch
    // or a grid click, and a date that is there, typed or stored, stays.
    if (!txt_datum->isReadOnly() && txt_datum->text().isEmpty())
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
