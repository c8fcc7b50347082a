#include "exchange/ExchangeWindows.h"

#include "core/data/Files.h"
#include "core/exchange/LogbookExchange.h"
#include "core/text/GermanText.h"
#include "ui/MessageBox.h"
#include "ui/Seams.h"
#include "ui/WindowHelpers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>

namespace exchange {
namespace {

const QString kAdifFilter = QStringLiteral("ADIF-Dateien (*.adi *.adx *.adif);;ADI (*.adi);;ADX (*.adx)");

QString bookName(logbook::Book book)
{
    return book == logbook::Book::Local ? QStringLiteral("LOCAL") : QStringLiteral("DX");
}

} // namespace

ExchangeWindow::ExchangeWindow(const char *name, const QString &caption, ui::FileRequest::Kind kind, QWidget *parent)
    : QWidget(parent), m_layout(new QVBoxLayout(this)), m_kind(kind)
{
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(caption);
    auto *books = new QGroupBox(QStringLiteral("Logbuch"), this);
    books->setObjectName(QStringLiteral("Frame1"));
    auto *bookRow = new QHBoxLayout(books);
    opt_local = new QRadioButton(QStringLiteral("LOCAL"), books);
    opt_local->setObjectName(QStringLiteral("opt_local"));
    opt_local->setChecked(true);
    opt_dx = new QRadioButton(QStringLiteral("DX"), books);
    opt_dx->setObjectName(QStringLiteral("opt_dx"));
    bookRow->addWidget(opt_local);
    bookRow->addWidget(opt_dx);
    bookRow->addStretch();
    m_layout->addWidget(books);

    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(ui::label(this, "Label1", QStringLiteral("Datei (.adi oder .adx)")));
    txt_datei = ui::lineEdit(this, "txt_datei");
    txt_datei->setMinimumWidth(ui::twips(5000));
    fileRow->addWidget(txt_datei, 1);
    QPushButton *cmd_datei = ui::button(this, "cmd_datei", QStringLiteral("..."));
    cmd_datei->setFixedWidth(ui::twips(450));
    fileRow->addWidget(cmd_datei);
    m_layout->addLayout(fileRow);

    cmd_start = ui::button(this, "cmd_start",
                           kind == ui::FileRequest::Kind::Save ? QStringLiteral("Export starten")
                                                               : QStringLiteral("Import starten"));
    m_layout->addWidget(cmd_start, 0, Qt::AlignLeft);
    lbl_ergebnis = ui::label(this, "lbl_ergebnis", QString());
    lbl_ergebnis->setWordWrap(true);
    lbl_ergebnis->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_layout->addWidget(lbl_ergebnis);

    connect(cmd_datei, &QPushButton::clicked, this, &ExchangeWindow::cmd_datei_clicked);
    connect(cmd_start, &QPushButton::clicked, this, [this] { cmd_start_clicked(); });
    ui::returnClicks(txt_datei, cmd_start);
}

logbook::Book ExchangeWindow::book() const { return opt_dx->isChecked() ? logbook::Book::Dx : logbook::Book::Local; }

QString ExchangeWindow::path() const { return txt_datei->text().trimmed(); }

bool ExchangeWindow::confirmedByDialog() const { return !m_confirmed.isEmpty() && path() == m_confirmed; }

void ExchangeWindow::cmd_datei_clicked()
{
    ui::FileRequest request;
    request.kind = m_kind;
    request.caption = m_kind == ui::FileRequest::Kind::Save ? QStringLiteral("ADIF-Datei speichern unter")
                                                            : QStringLiteral("ADIF-Datei öffnen");
    request.directory = path().isEmpty() ? QDir::homePath() : path();
    request.filter = kAdifFilter;
    const QString chosen = seams::fileDialog(this, request);
    if (chosen.isEmpty())
        return;
    txt_datei->setText(QDir::toNativeSeparators(chosen));
    m_confirmed = path();
}

ExportWindow::ExportWindow(QWidget *parent)
    : ExchangeWindow("frm_adifexport", QStringLiteral("-*ADIF-Export*- Logbuch in eine Datei schreiben"),
                     ui::FileRequest::Kind::Save, parent)
{
    m_layout->addStretch();
}

void ExportWindow::cmd_start_clicked()
{
    if (path().isEmpty())
        return ui::critical(this, QStringLiteral("Bitte zuerst die Datei angeben, in die exportiert wird."));
    ExportRequest request;
    request.logbookFile = data::kLogbookFile;
    request.book = book();
    request.target = QDir::fromNativeSeparators(path());
    request.overwrite = confirmedByDialog();
    request.header.programVersion = QStringLiteral(KW_VERSION);
    request.header.created = QDateTime::currentDateTimeUtc();
    lbl_ergebnis->clear();
    ExportResult result;
    {
        const auto progress = seams::progress(this, QStringLiteral("ADIF-Export läuft ..."));
        result = exportLogbook(request, [&](qint64 done, qint64 total) { return progress->step(done, total); });
    }
    if (!result.ok()) {
        lbl_ergebnis->setText(QStringLiteral("Nicht exportiert."));
        return result.cancelled ? ui::plain(this, result.error) : ui::critical(this, result.error);
    }
    const QString text = QStringLiteral("%1 Kontakte des Logbuchs %2 nach „%3“ exportiert.")
                             .arg(german::integerText(result.written), bookName(request.book), path());
    lbl_ergebnis->setText(text);
    ui::plain(this, text);
}

ImportWindow::ImportWindow(QWidget *parent)
    : ExchangeWindow("frm_adifimport", QStringLiteral("-*ADIF-Import*- Kontakte aus einer Datei übernehmen"),
                     ui::FileRequest::Kind::Open, parent)
{
    m_layout->addWidget(ui::label(this, "Label2", QStringLiteral("Abgelehnte Sätze")));
    lst_abgelehnt = new QListWidget(this);
    lst_abgelehnt->setObjectName(QStringLiteral("lst_abgelehnt"));
    m_layout->addWidget(lst_abgelehnt, 1);
    cmd_liste = ui::button(this, "cmd_liste", QStringLiteral("Liste speichern ..."));
    cmd_liste->setEnabled(false);
    m_layout->addWidget(cmd_liste, 0, Qt::AlignLeft);
    connect(cmd_liste, &QPushButton::clicked, this, &ImportWindow::cmd_liste_clicked);
}

void ImportWindow::cmd_start_clicked()
{
    if (path().isEmpty())
        return ui::critical(this, QStringLiteral("Bitte zuerst die Datei angeben, die importiert wird."));
    lbl_ergebnis->clear();
    lst_abgelehnt->clear();
    cmd_liste->setEnabled(false);
    ImportResult result;
    {
        const auto progress = seams::progress(this, QStringLiteral("ADIF-Import läuft ..."));
        result = importIntoLogbook({data::kLogbookFile, book(), QDir::fromNativeSeparators(path())},
                                   [&](qint64 done, qint64 total) { return progress->step(done, total); });
    }
    showResult(result);
}

void ImportWindow::showResult(const ImportResult &result)
{
    if (!result.ok()) {
        lbl_ergebnis->setText(result.error);
        return result.cancelled ? ui::plain(this, result.error) : ui::critical(this, result.error);
    }
    const QString summary = summaryOf(result);
    lbl_ergebnis->setText(summary);
    lst_abgelehnt->addItems(result.rejectedLines);
    if (result.rejected > result.rejectedLines.size())
        lst_abgelehnt->addItem(QStringLiteral("... und %1 weitere abgelehnte Sätze")
                                   .arg(german::integerText(result.rejected - result.rejectedLines.size())));
    cmd_liste->setEnabled(lst_abgelehnt->count() > 0);
    ui::plain(this,
              QStringLiteral("Der Import in das Logbuch %1 ist abgeschlossen.\n\n%2").arg(bookName(book()), summary));
}

void ImportWindow::cmd_liste_clicked()
{
    ui::FileRequest request{
        ui::FileRequest::Kind::Save, QStringLiteral("Liste der abgelehnten Sätze speichern"),
        QFileInfo(QDir::fromNativeSeparators(path())).dir().filePath(QStringLiteral("abgelehnt.txt")),
        QStringLiteral("Textdateien (*.txt)")};
    const QString file = seams::fileDialog(this, request);
    if (file.isEmpty())
        return;
    QSaveFile out(file);
    QByteArray text = (QStringLiteral("Abgelehnte Sätze aus „%1“\n").arg(path())).toUtf8();
    for (int i = 0; i < lst_abgelehnt->count(); ++i)
        text += lst_abgelehnt->item(i)->text().toUtf8() + '\n';
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size() || !out.commit())
        return ui::critical(
            this,
            QStringLiteral("Die Liste konnte nicht in „%1“ gespeichert werden.").arg(QDir::toNativeSeparators(file)));
    ui::plain(this, QStringLiteral("Die Liste ist in „%1“ gespeichert.").arg(QDir::toNativeSeparators(file)));
}

} // namespace exchange
