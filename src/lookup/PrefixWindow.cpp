#include "lookup/PrefixWindow.h"

#include "core/data/RecordSource.h"
#include "ui/MessageBox.h"
#include "ui/WindowHelpers.h"

#include <QFocusEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace lookup {
namespace {
const data::Query kWholeTable{QStringLiteral("prefix")};
const QString kNotFound = QStringLiteral("Kein Datensatz gefunden");
} // namespace

PrefixWindow::PrefixWindow(QWidget *parent)
    : LookupWindow("frm_prefix", QStringLiteral("PREFIX LISTE"),
                   data::Query(QStringLiteral("prefix"), data::Query::From::Bare),
                   {{QStringLiteral("PREFIX"), QStringLiteral("PREFIX")},
                    {QStringLiteral("LAND"), QStringLiteral("LAND")},
                    {QString(), QStringLiteral("L")}},
                   QSize(470, 560), parent)
{
    auto *frame = new QGroupBox(QStringLiteral("Bitte Prefix eingeben (1 - 343)"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    txt_suche = ui::lineEdit(frame, "txt_suche", 3);
    txt_suche->setFixedWidth(60);
    txt_suche->installEventFilter(this);
    auto *suche = ui::button(frame, "cmd_suche", QStringLiteral("SUCHEN"));
    auto *reset = ui::button(frame, "cmd_reset", QStringLiteral("RESET"));
    auto *row = new QHBoxLayout(frame);
    row->addWidget(txt_suche);
    row->addWidget(suche);
    row->addStretch(1);
    row->addWidget(reset);
    controls()->addWidget(frame);
    ui::returnClicks(txt_suche, suche);
    addGrid();

    connect(suche, &QPushButton::clicked, this, &PrefixWindow::cmd_suche_clicked);
    connect(reset, &QPushButton::clicked, this, &PrefixWindow::cmd_reset_clicked);
}

data::Query PrefixWindow::searchQuery(const QString &text)
{
    // No percent signs: the text has to match the whole prefix.
    return data::Query(QStringLiteral("prefix"))
        .where(QStringLiteral("prefix"), text)
        .orderBy(QStringLiteral("prefix"));
}

bool PrefixWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Focus coming back when the application, a popup or the menu bar is left is not the user
    // entering the box.
    if (watched == txt_suche && event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason)
            txt_suche_gotFocus();
    }
    return LookupWindow::eventFilter(watched, event);
}

void PrefixWindow::txt_suche_gotFocus() { txt_suche->clear(); }

void PrefixWindow::cmd_suche_clicked()
{
    if (!runQuery(searchQuery(txt_suche->text())))
        return;
    if (dataControl()->recordCount() == 0) {
        ui::critical(this, kNotFound);
        runQuery(kWholeTable); // the search box keeps its text
    }
}

void PrefixWindow::cmd_reset_clicked()
{
    runQuery(kWholeTable);
    txt_suche->clear();
}

} // namespace lookup
