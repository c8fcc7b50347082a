#pragma once
#include "core/logbook/Contact.h"
#include "ui/Progress.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace exchange {

struct ImportResult;

// What frm_adifexport and frm_adifimport share: the choice of logbook (opt_local, opt_dx), the
// file (txt_datei, typed or chosen with cmd_datei), cmd_start and the result in lbl_ergebnis.
class ExchangeWindow : public QWidget {
    Q_OBJECT
protected:
    ExchangeWindow(const char *name, const QString &caption, ui::FileRequest::Kind kind, QWidget *parent);

    logbook::Book book() const;
    QString path() const;
    // Whether txt_datei names the file whose replacing the user agreed to in the save dialog.
    bool confirmedByDialog() const;
    virtual void cmd_start_clicked() = 0;

    QVBoxLayout *m_layout;
    QRadioButton *opt_local, *opt_dx;
    QLineEdit *txt_datei;
    QPushButton *cmd_start;
    QLabel *lbl_ergebnis;

private:
    void cmd_datei_clicked();

    ui::FileRequest::Kind m_kind;
    QString m_confirmed;
};

// frm_adifexport: every contact of the chosen logbook into an ADI or ADX file.
class ExportWindow : public ExchangeWindow {
    Q_OBJECT
public:
    explicit ExportWindow(QWidget *parent = nullptr);

private:
    void cmd_start_clicked() override;
};

// frm_adifimport: an ADI or ADX file into the chosen logbook, with the rejected records listed in
// lst_abgelehnt, which cmd_liste saves as a text file.
class ImportWindow : public ExchangeWindow {
    Q_OBJECT
public:
    explicit ImportWindow(QWidget *parent = nullptr);

private:
    void cmd_start_clicked() override;
    void cmd_liste_clicked();
    void showResult(const ImportResult &result);

    QListWidget *lst_abgelehnt;
    QPushButton *cmd_liste;
};

} // namespace exchange
