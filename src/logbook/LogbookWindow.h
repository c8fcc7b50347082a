#pragma once
#include "logbook/LogbookVariant.h"

#include <QWidget>
#include <vector>

class QCheckBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTextEdit;

namespace data {
class RecordSource;
class Query;
} // namespace data
namespace ui {
class DataGrid;
class FieldBinding;
} // namespace ui

namespace logbook {

// The logbook window (local or DX): a record tab with the bound fields and the five buttons,
// an overview tab with the grid, the search and printing. Everything works on the data
// control Adodc1 and its current record.
class LogbookWindow : public QWidget {
    Q_OBJECT
public:
    explicit LogbookWindow(const LogbookVariant &variant, QWidget *parent = nullptr);

    const LogbookVariant &variant() const { return m_variant; }
    data::RecordSource *dataControl() const { return Adodc1; }
    QSize sizeHint() const override { return {880, 540}; }

    // The full list and the search queries of this window.
    data::Query fullList() const;
    data::Query searchQuery(const QString &column, const QString &text) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Handlers, named control_event; run only by their controls.
    void Form_load();
    void cmd_neu_clicked();
    void cmd_bearbeiten_clicked();
    void cmd_speichern_clicked();
    void cmd_abbrechen_clicked();
    void cmd_loeschen_clicked();
    void cmd_suchen_clicked();
    void cmd_alle_clicked();
    void cmd_drucken_clicked();
    void SSTab1_changed();
    void DataGrid1_clicked();
    void txt_datum_gotFocus();
    void txt_suchbegriff_clicked();

    QWidget *buildRecordTab();
    void addField(QWidget *parent, QGridLayout *grid, const ContactField &f, int labelNumber, int row, int column);
    QHBoxLayout *buildButtonRow(QWidget *page, const std::vector<const ContactField *> &qsl);
    QWidget *buildOverviewTab();

    // The window's own procedures.
    void felder_sperren();
    void felder_freigeben();
    void tasten_eingabe();
    void tasten_ansicht();
    void anzahl_anzeigen();
    void showSamples(bool show);

    bool refresh(const data::Query &query); // tells the user when it fails
    void tellNotSaved();

    const LogbookVariant &m_variant;
    data::RecordSource *Adodc1;
    ui::FieldBinding *m_binding;
    QTabWidget *SSTab1;
    ui::DataGrid *DataGrid1 = nullptr;
    std::vector<QLineEdit *> m_lockOrder; // the 18 fields in the order felder_sperren names them
    QLineEdit *txt_datum = nullptr;
    QTextEdit *RichTextBox1 = nullptr;
    std::vector<QCheckBox *> m_qslBoxes; // chk_qslverschickt and chk_qslbekommen of the DX logbook
    QPushButton *cmd_neu, *cmd_bearbeiten, *cmd_speichern, *cmd_loeschen, *cmd_abbrechen;
    QLineEdit *txt_suchbegriff = nullptr;
    std::vector<QRadioButton *> m_options; // in the order of the variant's search options
    QLabel *lbl_treffer = nullptr;
};

} // namespace logbook
