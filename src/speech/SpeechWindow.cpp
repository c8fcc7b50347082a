#include "speech/SpeechWindow.h"

#include "speech/SpeechTexts.h"

#include "core/speech/Voice.h"
#include "ui/MessageBox.h"
#include "ui/Seams.h"
#include "ui/WindowHelpers.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace speech {
namespace {

const QString kOperatorName = QStringLiteral("My Operator name is ");
const QString kBlankLines = QStringLiteral("i cannot read. blank lines !");
const QString kNoVoiceEntry = QStringLiteral("(keine Stimme verfügbar)");
const QString kNoVoice = QStringLiteral(
    "Keine Sprachausgabe verfügbar: Es ist keine Stimme installiert, oder der Sprachdienst antwortet nicht. "
    "Der Text kann nicht gesprochen werden.\n"
    "Abhilfe: die Pakete „speech-dispatcher“ und „speech-dispatcher-espeak-ng“ installieren "
    "oder den Sprachdienst „speech-dispatcher“ neu starten.");
const QString kFailed = QStringLiteral("Der Text konnte nicht gesprochen werden.");
const QString kFailedDetail = QStringLiteral("\nMeldung der Sprachausgabe: %1");
const QString kTimedOut =
    QStringLiteral("Die Stimme ist nicht rechtzeitig fertig geworden. Die Ausgabe wurde abgebrochen.");
const QString kVoiceGone = QStringLiteral("Die gewählte Stimme ist nicht mehr vorhanden.");

constexpr int kLettersPerColumn = 7;
constexpr int kRowHeight = 26;

QFrame *line(QWidget *parent, const char *name, QFrame::Shape shape)
{
    auto *l = new QFrame(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFrameShape(shape);
    l->setFrameShadow(QFrame::Sunken);
    return l;
}

// A frame without caption whose rows line up with those of its neighbour.
QGroupBox *phraseFrame(QWidget *parent, const char *name, QGridLayout **grid)
{
    auto *frame = new QGroupBox(parent);
    frame->setObjectName(QString::fromLatin1(name));
    *grid = new QGridLayout(frame);
    for (int row = 0; row < 4; ++row)
        (*grid)->setRowMinimumHeight(row, kRowHeight);
    return frame;
}

} // namespace

SpeechWindow::SpeechWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frm_speech"));
    setWindowTitle(QStringLiteral("Funker Alphabet"));

    auto *board = new QHBoxLayout;
    board->addWidget(buildLetters());
    board->addWidget(line(this, "Line2", QFrame::VLine));
    board->addWidget(buildDigits(), 0, Qt::AlignTop);
    board->addStretch(1);

    auto *phrases = new QHBoxLayout;
    phrases->addWidget(buildCallFrame());
    phrases->addWidget(buildStationFrame(), 1);

    auto *left = new QVBoxLayout;
    left->addLayout(board);
    left->addWidget(line(this, "Line1", QFrame::HLine));
    left->addLayout(phrases);
    left->addWidget(buildTextLine());

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(buildVoiceFrame());
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    Form_load();
}

void SpeechWindow::addSpeaking(QGridLayout *grid, QWidget *parent, const char *name, int row, int column,
                               int columnSpan)
{
    const Spoken *s = spoken(name);
    auto *b = ui::button(parent, name, QString::fromUtf8(s->caption));
    b->setMinimumHeight(kRowHeight);
    grid->addWidget(b, row, column, 1, columnSpan);
    const QString text = QString::fromUtf8(s->text);
    connect(b, &QPushButton::clicked, this, [this, text] { say(text); });
}

QWidget *SpeechWindow::buildLetters()
{
    // Read down the columns: A to G, H to N, O to U, V to Z, each letter with its spelling word.
    auto *letters = new QWidget(this);
    auto *grid = new QGridLayout(letters);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    for (int i = 0; i < 26; ++i) {
        const int row = i % kLettersPerColumn, column = 2 * (i / kLettersPerColumn);
        const Spelling &spelling = spellingWords()[size_t(i)];
        addSpeaking(grid, letters, spokenButtons()[size_t(i)].name, row, column);
        auto *b = qobject_cast<QPushButton *>(grid->itemAtPosition(row, column)->widget());
        b->setFixedSize(30, kRowHeight);
        grid->addWidget(ui::label(letters, spelling.label, QString::fromLatin1(spelling.word)), row, column + 1);
        grid->setColumnMinimumWidth(column + 1, 72);
    }
    return letters;
}

QWidget *SpeechWindow::buildDigits()
{
    // A key pad: 7 8 9 on top, 0 and the dot at the bottom.
    auto *digits = new QWidget(this);
    auto *grid = new QGridLayout(digits);
    grid->setContentsMargins(0, 0, 0, 0);
    const char *const keys[] = {"cmd_null", "cmd_eins",  "cmd_zwei",   "cmd_drei", "cmd_vier",
                                "cmd_funf", "cmd_sechs", "cmd_sieben", "cmd_acht", "cmd_neun"};
    for (int d = 1; d <= 9; ++d)
        addSpeaking(grid, digits, keys[d], 2 - (d - 1) / 3, (d - 1) % 3);
    addSpeaking(grid, digits, keys[0], 3, 0, 2);
    addSpeaking(grid, digits, "cmd_dot", 3, 2);
    for (QPushButton *b : digits->findChildren<QPushButton *>()) {
        b->setMinimumSize(40, 34);
        b->setMaximumHeight(34);
    }
    return digits;
}

QGroupBox *SpeechWindow::buildCallFrame()
{
    // Calling, giving call sign, name and address, asking back: row by row as a contact runs.
    QGridLayout *grid = nullptr;
    QGroupBox *frame = phraseFrame(this, "Frame2", &grid);
    addSpeaking(grid, frame, "cmd_cq", 0, 0);
    addSpeaking(grid, frame, "cmd_dx", 0, 1);
    addSpeaking(grid, frame, "cmd_callsign", 1, 0);
    addSpeaking(grid, frame, "cmd_name", 1, 1);
    addSpeaking(grid, frame, "cmd_street", 2, 0);
    addSpeaking(grid, frame, "cmd_cp", 2, 1);
    addSpeaking(grid, frame, "cmd_ort", 2, 2);
    addSpeaking(grid, frame, "cmd_copy", 3, 0);
    addSpeaking(grid, frame, "cmd_repeat", 3, 1);
    addSpeaking(grid, frame, "cmd_khz", 3, 2);
    return frame;
}

QGroupBox *SpeechWindow::buildStationFrame()
{
    // Beside each row of the call frame: the station, the operator, the address, the farewell.
    QGridLayout *grid = nullptr;
    QGroupBox *frame = phraseFrame(this, "Frame3", &grid);
    addSpeaking(grid, frame, "cmd_this", 0, 0);
    addSpeaking(grid, frame, "cmd_germany", 0, 1);
    addSpeaking(grid, frame, "cmd_station", 0, 2);
    addSpeaking(grid, frame, "cmd_germanb", 0, 3);
    txt_opname = ui::lineEdit(frame, "txt_opname");
    txt_opname->setText(QStringLiteral("Klaus"));
    txt_opname->setMinimumHeight(kRowHeight);
    grid->addWidget(txt_opname, 1, 0, 1, 2);
    auto *command1 = ui::button(frame, "Command1", QStringLiteral("Operator Name"));
    command1->setMinimumHeight(kRowHeight);
    grid->addWidget(command1, 1, 2, 1, 2);
    connect(command1, &QPushButton::clicked, this, &SpeechWindow::Command1_clicked);
    addSpeaking(grid, frame, "Command2", 2, 0, 4);
    addSpeaking(grid, frame, "Command3", 3, 0, 4);
    return frame;
}

QGroupBox *SpeechWindow::buildVoiceFrame()
{
    auto *frame = new QGroupBox(QStringLiteral("SpeechEngine Wählen"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    Voicecb = new QListWidget(frame);
    Voicecb->setObjectName(QStringLiteral("Voicecb"));
    Voicecb->setUniformItemSizes(true); // the speech service may offer thousands of voices
    Voicecb->setSelectionMode(QAbstractItemView::SingleSelection);
    Voicecb->setFixedWidth(300);
    auto *column = new QVBoxLayout(frame);
    column->addWidget(Voicecb);
    return frame;
}

QWidget *SpeechWindow::buildTextLine()
{
    auto *textLine = new QWidget(this);
    txt_inhalt = ui::lineEdit(textLine, "txt_inhalt");
    txt_inhalt->setText(QStringLiteral("DELTA LIMA ONE ALPHA BRAVO CHARLIE"));
    txt_inhalt->setMinimumHeight(kRowHeight);
    auto *talk = ui::button(textLine, "cmd_talk", QStringLiteral("SAY IT"));
    auto *neu = ui::button(textLine, "cmd_neu", QStringLiteral("X"));
    neu->setFixedWidth(34);
    connect(talk, &QPushButton::clicked, this, &SpeechWindow::cmd_talk_clicked);
    connect(neu, &QPushButton::clicked, this, &SpeechWindow::cmd_neu_clicked);
    auto *row = new QHBoxLayout(textLine);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(txt_inhalt, 1);
    row->addWidget(talk);
    row->addWidget(neu);
    return textLine;
}

void SpeechWindow::Form_load()
{
    // Starting the speech service can take a moment.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_voice = seams::voice();
    m_voice->setParent(this);
    const QStringList voices = m_voice->voices();
    QGuiApplication::restoreOverrideCursor();
    connect(m_voice, &Voice::voiceChanged, this, &SpeechWindow::Voice_changed);
    connect(Voicecb, &QListWidget::currentRowChanged, this, &SpeechWindow::Voicecb_changed);

    m_hasVoices = !voices.isEmpty();
    if (!m_hasVoices) {
        // Says so in the list itself, in an entry that cannot be chosen.
        auto *none = new QListWidgetItem(kNoVoiceEntry, Voicecb);
        none->setFlags(Qt::NoItemFlags);
        return;
    }
    Voicecb->addItems(voices);
    for (int i = 0; i < Voicecb->count(); ++i) // descriptions may be wider than the list
        Voicecb->item(i)->setToolTip(voices.at(i));
    Voicecb->setCurrentRow(0); // chooses the first voice through the selection handler
}

void SpeechWindow::Voicecb_changed()
{
    const int row = Voicecb->currentRow();
    if (!m_hasVoices || row < 0)
        return;
    if (!m_voice->select(row))
        ui::critical(this, kVoiceGone);
}

void SpeechWindow::Voice_changed(const QString &description)
{
    if (!m_hasVoices)
        return;
    for (int i = 0; i < Voicecb->count(); ++i) {
        if (Voicecb->item(i)->text() == description) {
            Voicecb->setCurrentRow(i);
            return;
        }
    }
}

void SpeechWindow::Command1_clicked() { say(kOperatorName + txt_opname->text()); }

void SpeechWindow::cmd_talk_clicked()
{
    const QString text = txt_inhalt->text();
    say(text.isEmpty() ? kBlankLines : text);
}

void SpeechWindow::cmd_neu_clicked() { txt_inhalt->clear(); }

void SpeechWindow::say(const QString &text)
{
    if (!m_hasVoices) {
        ui::critical(this, kNoVoice);
        return;
    }
    m_waiting.enqueue(text);
    if (m_speaking)
        return; // clicked while another text is spoken: the loop below speaks it next

    // Speaking processes events, so that the window repaints and takes further clicks; those
    // only queue their texts. A close meanwhile stops the voice and is carried out once this
    // handler is done with the window.
    m_speaking = true;
    QPointer<QWidget> top = window();
    if (top != this)
        top->installEventFilter(this);
    SpeakResult result;
    while (result.ok() && !m_waiting.isEmpty())
        result = m_voice->speak(m_waiting.dequeue());
    m_waiting.clear(); // after a failure the rest is not spoken either
    if (top && top != this)
        top->removeEventFilter(this);
    m_speaking = false;

    if (m_closeRequested || m_programCloseRequested) {
        if (m_programCloseRequested && top && top != this)
            QMetaObject::invokeMethod(
                top, [top] { top->close(); }, Qt::QueuedConnection);
        else
            QMetaObject::invokeMethod(
                this, [this] { ui::closeOwnWindow(this); }, Qt::QueuedConnection);
        m_closeRequested = m_programCloseRequested = false;
        return;
    }
    switch (result.status) {
    case SpeakResult::Status::Spoken:
    case SpeakResult::Status::Stopped:
        break;
    case SpeakResult::Status::NoVoice:
        ui::critical(this, kNoVoice);
        break;
    case SpeakResult::Status::Failed:
        ui::critical(this, result.detail.isEmpty() ? kFailed : kFailed + kFailedDetail.arg(result.detail));
        break;
    case SpeakResult::Status::TimedOut:
        ui::critical(this, kTimedOut);
        break;
    }
}

void SpeechWindow::closeEvent(QCloseEvent *event)
{
    // The speaking handler is still running on this window: closing now would delete the window
    // under it. Stop the voice; the handler closes the window when it returns.
    if (m_speaking) {
        m_closeRequested = true;
        m_waiting.clear();
        m_voice->stop();
        event->ignore();
        return;
    }
    event->accept();
}

bool SpeechWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The program is being ended while a text is spoken: end it once the handler is done.
    if (event->type() == QEvent::Close && watched == window() && m_speaking)
        m_programCloseRequested = true;
    return QWidget::eventFilter(watched, event);
}

} // namespace speech
