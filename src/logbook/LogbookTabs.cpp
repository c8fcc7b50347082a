// The two tabs of the logbook window: the record tab made from the contact table, the overview
// with the grid and the search.
#include "logbook/LogbookWindow.h"

#include "ui/DataGrid.h"
#include "ui/FieldBinding.h"
#include "ui/WindowHelpers.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace logbook {
namespace {

QString text(const char *utf8) { return QString::fromUtf8(utf8); }

std::vector<const ContactField *> placedIn(const std::vector<const ContactField *> &fields, Place place)
{
    std::vector<const ContactField *> placed;
    for (const ContactField *f : fields)
        if (f->place == place)
            placed.push_back(f);
    return placed;
}

} // namespace

QWidget *LogbookWindow::buildRecordTab()
{
    auto *page = new QWidget;
    const std::vector<const ContactField *> fields = fieldsInTabOrder(m_variant.book);
    int labelNumber = 0;

    // Two columns of contact fields.
    auto *contact = new QGridLayout;
    const std::vector<const ContactField *> contactFields = placedIn(fields, Place::Contact);
    const int half = int(contactFields.size() + 1) / 2;
    for (int i = 0; i < int(contactFields.size()); ++i)
        addField(page, contact, *contactFields[size_t(i)], ++labelNumber, i % half, i / half * 2);

    auto *personal = new QGroupBox(QStringLiteral("Persönliche Daten"), page);
    personal->setObjectName(QStringLiteral("Frame1"));
    auto *personalGrid = new QGridLayout(personal);
    const std::vector<const ContactField *> personalFields = placedIn(fields, Place::Personal);
    const int rows = int(personalFields.size());
    for (int i = 0; i < rows; ++i)
        addField(personal, personalGrid, *personalFields[size_t(i)], ++labelNumber, i, 0);
    for (const ContactField *f : placedIn(fields, Place::Remarks)) {
        RichTextBox1 = new QTextEdit(personal);
        RichTextBox1->setObjectName(text(f->control));
        RichTextBox1->setAcceptRichText(false);
        RichTextBox1->setProperty("sample", text(f->sample));
        RichTextBox1->setPlainText(text(f->sample));
        m_binding->bind(RichTextBox1, text(f->column));
    }
    // The fields stay together at the top; the remarks box takes the height beside them.
    personalGrid->setRowStretch(rows, 1);
    personalGrid->addWidget(RichTextBox1, 0, 2, rows + 1, 1);
    personalGrid->setColumnStretch(1, 1);
    personalGrid->setColumnStretch(2, 2);

    for (const ContactField *f : fieldsInLockOrder())
        m_lockOrder.push_back(page->findChild<QLineEdit *>(text(f->control)));

    auto *column = new QVBoxLayout(page);
    column->addLayout(contact);
    column->addWidget(personal, 1);
    column->addLayout(buildButtonRow(page, placedIn(fields, Place::Qsl)));
    return page;
}

void LogbookWindow::addField(QWidget *parent, QGridLayout *grid, const ContactField &f, int labelNumber, int row,
                             int column)
{
    auto *label = ui::label(parent, qPrintable(QStringLiteral("Label%1").arg(labelNumber)), text(f.label));
    QLineEdit *edit = ui::lineEdit(parent, f.control);
    edit->setText(text(f.sample));
    edit->setProperty("sample", text(f.sample)); // shown greyed in an empty field while typing
    label->setBuddy(edit);
    grid->addWidget(label, row, column);
    grid->addWidget(edit, row, column + 1);
    m_binding->bind(edit, text(f.column));
    if (qstrcmp(f.column, "datum") == 0) {
        txt_datum = edit;
        edit->installEventFilter(this);
    }
}

// The five buttons, then the QSL boxes of the DX logbook.
QHBoxLayout *LogbookWindow::buildButtonRow(QWidget *page, const std::vector<const ContactField *> &qsl)
{
    cmd_neu = ui::button(page, "cmd_neu", QStringLiteral("NEU"));
    cmd_bearbeiten = ui::button(page, "cmd_bearbeiten", QStringLiteral("BEARBEITEN"));
    cmd_speichern = ui::button(page, "cmd_speichern", QStringLiteral("SPEICHERN"));
    cmd_loeschen = ui::button(page, "cmd_löschen", QStringLiteral("LÖSCHEN"));
    cmd_abbrechen = ui::button(page, "cmd_abbrechen", QStringLiteral("ABBRECHEN"));
    auto *row = new QHBoxLayout;
    for (QPushButton *b : {cmd_neu, cmd_bearbeiten, cmd_speichern, cmd_loeschen, cmd_abbrechen})
        row->addWidget(b);
    row->addStretch(1);
    for (const ContactField *f : qsl) {
        auto *box = new QCheckBox(text(f->label), page);
        box->setObjectName(text(f->control));
        m_binding->bind(box, text(f->column));
        row->addWidget(box);
        m_qslBoxes.push_back(box);
    }
    connect(cmd_neu, &QPushButton::clicked, this, &LogbookWindow::cmd_neu_clicked);
    connect(cmd_bearbeiten, &QPushButton::clicked, this, &LogbookWindow::cmd_bearbeiten_clicked);
    connect(cmd_speichern, &QPushButton::clicked, this, &LogbookWindow::cmd_speichern_clicked);
    connect(cmd_loeschen, &QPushButton::clicked, this, &LogbookWindow::cmd_loeschen_clicked);
    connect(cmd_abbrechen, &QPushButton::clicked, this, &LogbookWindow::cmd_abbrechen_clicked);
    return row;
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

} // namespace logbook
