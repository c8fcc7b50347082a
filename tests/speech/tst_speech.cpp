#include "support/WindowDriver.h"

#include "core/speech/Voice.h"
#include "shell/MainWindow.h"
#include "shell/WindowRegistry.h"
#include "speech/SpeechWindow.h"
#include "ui/SystemVoice.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using speech::SpeakResult;
using testsupport::Fixture;
using testsupport::Window;

Q_DECLARE_METATYPE(SpeakResult::Status)

namespace {
const QString kBlankLines = QStringLiteral("i cannot read. blank lines !");
const QString kNoVoice = QStringLiteral(
    "Keine Sprachausgabe verfügbar: Es ist keine Stimme installiert, oder der Sprachdienst antwortet nicht. "
    "Der Text kann nicht gesprochen werden.\n"
    "Abhilfe: die Pakete „speech-dispatcher“ und „speech-dispatcher-espeak-ng“ installieren "
    "oder den Sprachdienst „speech-dispatcher“ neu starten.");
const QStringList kThreeVoices{"Anna (Deutsch, Deutschland, weiblich)", "Bert (British English, United Kingdom)",
                               "Carla (American English, United States, weiblich)"};

// What the board did with its voice; shared by the test and the fake the window creates.
struct Stage {
    QStringList voices = kThreeVoices;
    SpeakResult result;                  // what every text comes back with
    std::function<void()> whileSpeaking; // runs once, inside the first text
    int selected = -1;
    QList<int> selections;
    QStringList spoken;
    QList<int> spokenBy; // the voice position each text was spoken with
    int depth = 0, maxDepth = 0, stops = 0;
};
Stage *g_stage = nullptr;

// Speaks like the system's voice: inside a nested event loop, so that whatever the user does
// meanwhile (clicks, closing) reaches the window while the handler is still on the stack.
class FakeVoice : public speech::Voice {
public:
    QStringList voices() override { return g_stage->voices; }
    bool select(int position) override
    {
        g_stage->selections << position;
        if (position < 0 || position >= g_stage->voices.size())
            return false;
        g_stage->selected = position;
        emit voiceChanged(g_stage->voices.at(position));
        return true;
    }
    SpeakResult speak(const QString &text) override
    {
        Stage &s = *g_stage;
        s.maxDepth = std::max(s.maxDepth, ++s.depth);
        s.spoken << text;
        s.spokenBy << s.selected;
        m_stopped = false;
        if (auto hook = std::exchange(s.whileSpeaking, {}))
            hook();
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
        --s.depth;
        return m_stopped ? SpeakResult{SpeakResult::Status::Stopped, {}} : s.result;
    }
    void stop() override
    {
        ++g_stage->stops;
        m_stopped = true;
    }
    void announce(const QString &description) { emit voiceChanged(description); }

private:
    bool m_stopped = false;
};

QListWidget *voicesOf(const testsupport::Window &w) { return w.get<QListWidget>(QStringLiteral("Voicecb")); }
FakeVoice *fakeOf(const testsupport::Window &w) { return w.w->findChild<FakeVoice *>(); }
} // namespace

class TestSpeech : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void buttons_data();
    void buttons();
    void textBoxes_data();
    void textBoxes();
    void voiceList_data();
    void voiceList();
    void noVoiceInstalled();
    void outcomes_data();
    void outcomes();
    void closeWhileSpeaking_data();
    void closeWhileSpeaking();
    void systemVoice();

private:
    std::unique_ptr<Fixture> m_fx;
    Stage m_stage;
};

void TestSpeech::init()
{
    m_stage = Stage{};
    g_stage = &m_stage;
    m_fx = std::make_unique<Fixture>();
    m_fx->replace(seams::voice, []() -> speech::Voice * { return new FakeVoice; });
}

void TestSpeech::cleanup()
{
    m_fx.reset();
    g_stage = nullptr;
}

// clang-format off
void TestSpeech::buttons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("frame");  // the frame holding the button, empty for none
    QTest::addColumn<QString>("spoken"); // null: speaks nothing
    QTest::addColumn<QString>("label");  // the label beside a letter: "LabelN=word"

    const QStringList spoken = QStringLiteral("ALPHA BRAVO CHARLIE DELTA ECHO FOXdROd GOLF hotel INDIA JULIET KILO "
                                              "LIMA MIKE NOVEMBER OSCAR PAPA QUEBEC ROMEO SIERRA TANGO UNIFORM "
                                              "VICTOR WHISKEY X-RAY YANKEE ZULU").split(u' ');
    const QStringList labels = QStringLiteral("Alpha Foxtrott Kilo Papa Uniform Zulu Bravo Golf Lima Quebec Victor "
                                              "Yankee Charlie Hotel Mike Romeo Whisky Tango Delta India November "
                                              "Sierra X-Ray Oscar Echo Juliet").split(u' '); // Label1 to Label26
    for (int i = 0; i < 26; ++i) {
        const QChar letter(u'A' + i);
        const auto at = std::find_if(labels.begin(), labels.end(), [&](const QString &w) { return w[0] == letter; });
        QTest::newRow(qPrintable(QString(letter))) << QStringLiteral("cmd_") + letter.toLower() << QString(letter) << ""
                                                   << spoken[i]
                                                   << QStringLiteral("Label%1=").arg(at - labels.begin() + 1) + *at;
    }
    const char *const digits[] = {"null", "eins", "zwei", "drei", "vier", "funf", "sechs", "sieben", "acht", "neun"};
    for (int d = 0; d < 10; ++d)
        QTest::newRow(digits[d]) << QStringLiteral("cmd_") + digits[d] << QString::number(d) << ""
                                 << QString::number(d) << "";
    const char *const phrases[][4] = {
        {"cmd_dot", ".", "", "DOT"},
        {"cmd_cq", "CQ", "Frame2", "c q. c q. d x! this is german station!"},
        {"cmd_dx", "DX", "Frame2", "calling for d x! and standing by!"},
        {"cmd_this", "THIS IS", "Frame3", "This is."},
        {"cmd_station", "Station", "Frame3", "Station!"},
        {"cmd_germany", "German", "Frame3", "German!"},
        {"cmd_germanb", "Germany", "Frame3", "Germany!"},
        {"cmd_callsign", "CallSign", "Frame2", "My Callsign. is"},
        {"cmd_name", "Name", "Frame2", "My Name is"},
        {"cmd_street", "Straße", "Frame2", "My Streetname is!"},
        {"cmd_cp", "PLZ", "Frame2", "My Charlie Papa is!"},
        {"cmd_ort", "ORT", "Frame2", "My Cityname is!"},
        {"cmd_khz", "Change Frequenzy", "Frame2", "Could we change the Frequenzy to!"},
        {"cmd_copy", "Copy?", "Frame2", "Do You Copy my Friend?"},
        {"cmd_repeat", "Repeat", "Frame2", "Please Repeat!"},
        {"Command1", "Operator Name", "Frame3", "My Operator name is Klaus"}, // the sample name
        {"Command2", "OK! Here comes my adress", "Frame3", "OK! Here comes my adress"},
        {"Command3", "Thank your for this nice QSO", "Frame3",
         "Thank you for this nice Q S O? Best wishes to you and your family! Bye bye"},
        {"cmd_talk", "SAY IT", "", "DELTA LIMA ONE ALPHA BRAVO CHARLIE"}, // the sample text
    };
    for (const auto &p : phrases)
        QTest::newRow(p[0]) << p[0] << QString::fromUtf8(p[1]) << p[2] << QString::fromUtf8(p[3]) << "";
    QTest::newRow("cmd_neu") << "cmd_neu" << "X" << "" << QString() << "";
}
// clang-format on

void TestSpeech::buttons()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, frame);
    QFETCH(QString, spoken);
    QFETCH(QString, label);

    m_fx->mainWindow()->show(); // laid out, for the labels' places
    const Window board = m_fx->open(QStringLiteral("frm_speech"));
    QWidget *w = board.w;
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Funker Alphabet"));
    QCOMPARE(w->findChildren<QPushButton *>().size(), 56);
    QCOMPARE(board.get<QGroupBox>(QStringLiteral("Frame1"))->title(), QStringLiteral("SpeechEngine Wählen"));
    QPushButton *b = board.get<QPushButton>(name);
    QVERIFY(b);
    QCOMPARE(b->text(), caption);
    QWidget *holder = b->parentWidget();
    while (holder != w && !qobject_cast<QGroupBox *>(holder))
        holder = holder->parentWidget();
    QCOMPARE(holder == w ? QString() : holder->objectName(), frame);
    if (!label.isEmpty()) {
        // Beside its own letter: on the same line, just to the right of it.
        auto *l = board.get<QLabel>(label.section(u'=', 0, 0));
        QVERIFY(l);
        QCOMPARE(l->text(), label.section(u'=', 1));
        const QRect br(b->mapTo(w, QPoint()), b->size()), lr(l->mapTo(w, QPoint()), l->size());
        QCOMPARE(lr.center().y(), br.center().y());
        QVERIFY(lr.left() > br.right() && lr.left() - br.right() < 15);
    }

    board.click(name);
    QCOMPARE(m_stage.spoken, spoken.isNull() ? QStringList() : QStringList{spoken});
    QVERIFY(m_fx->messages.isEmpty());
    if (spoken.isNull())
        QCOMPARE(board.text(QStringLiteral("txt_inhalt")), QString());
}

// clang-format off
void TestSpeech::textBoxes_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed"); // typed into the emptied box
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QStringList>("spoken");

    QTest::newRow("operator name empty") << "txt_opname" << "" << QStringList{"Command1"}
                                         << QStringList{"My Operator name is "};
    QTest::newRow("operator name with blanks") << "txt_opname" << "  Heinz " << QStringList{"Command1"}
                                               << QStringList{"My Operator name is   Heinz "};
    QTest::newRow("free text empty") << "txt_inhalt" << "" << QStringList{"cmd_talk"} << QStringList{kBlankLines};
    QTest::newRow("free text blanks only") << "txt_inhalt" << "   " << QStringList{"cmd_talk"}
                                           << QStringList{"   "};
    QTest::newRow("free text typed") << "txt_inhalt" << "DL1ABC Über" << QStringList{"cmd_talk"}
                                     << QStringList{"DL1ABC Über"};
    QTest::newRow("X then SAY IT") << "txt_inhalt" << "QRZ?" << QStringList{"cmd_neu", "cmd_talk"}
                                   << QStringList{kBlankLines};
}
// clang-format on

void TestSpeech::textBoxes()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QStringList, clicks);
    QFETCH(QStringList, spoken);

    const Window w = m_fx->open(QStringLiteral("frm_speech"));
    w.type(box, typed);
    for (const QString &name : clicks)
        w.click(name);
    QCOMPARE(m_stage.spoken, spoken);
}

// clang-format off
void TestSpeech::voiceList_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("row");            // selected entry afterwards
    QTest::addColumn<QList<int>>("selections"); // positions the voice was set to, in order
    QTest::addColumn<int>("speaker");        // the voice that speaks the next button

    QTest::newRow("after load") << "" << 0 << QList<int>{0} << 0;
    QTest::newRow("click on entry 2") << "click 2" << 2 << QList<int>{0, 2} << 2;
    QTest::newRow("key down") << "down" << 1 << QList<int>{0, 1} << 1;
    QTest::newRow("notification of a listed voice") << "notify " + kThreeVoices[1] << 1 << QList<int>{0, 1} << 1;
    QTest::newRow("notification of an unknown voice") << "notify Dora (Deutsch, Österreich)" << 0 << QList<int>{0} << 0;
    QTest::newRow("notification differing in case") << "notify " + kThreeVoices[2].toUpper() << 0 << QList<int>{0} << 0;
}
// clang-format on

void TestSpeech::voiceList()
{
    QFETCH(QString, action);
    QFETCH(int, row);
    QFETCH(QList<int>, selections);
    QFETCH(int, speaker);

    const Window w = m_fx->open(QStringLiteral("frm_speech"));
    QListWidget *list = voicesOf(w);
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->item(i)->text();
    QCOMPARE(entries, kThreeVoices);

    if (action.startsWith(QLatin1String("click "))) {
        const QRect r = list->visualItemRect(list->item(action.mid(6).toInt()));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    } else if (action == QLatin1String("down")) {
        QTest::keyClick(list, Qt::Key_Down);
    } else if (action.startsWith(QLatin1String("notify "))) {
        fakeOf(w)->announce(action.mid(7));
    }
    QCOMPARE(list->currentRow(), row);
    QCOMPARE(m_stage.selections, selections);
    w.click(QStringLiteral("cmd_k"));
    QCOMPARE(m_stage.spokenBy, QList<int>{speaker});
    QVERIFY(m_fx->messages.isEmpty());
}

void TestSpeech::noVoiceInstalled()
{
    m_stage.voices.clear();
    const Window w = m_fx->open(QStringLiteral("frm_speech"));
    QVERIFY(w.w);
    QListWidget *list = voicesOf(w);
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->item(0)->text(), QStringLiteral("(keine Stimme verfügbar)"));
    QCOMPARE(list->item(0)->flags(), Qt::NoItemFlags); // cannot be chosen as a voice
    QCOMPARE(list->currentRow(), -1);
    fakeOf(w)->announce(QStringLiteral("(keine Stimme verfügbar)"));
    QCOMPARE(list->currentRow(), -1);

    // Each speaking button says so, once per click; clearing the text line still works.
    for (const char *name : {"cmd_a", "cmd_null", "Command1", "cmd_talk"})
        w.click(QString::fromLatin1(name));
    QCOMPARE(m_fx->messageTexts(), QStringList(4, kNoVoice));
    QCOMPARE(m_fx->messages[0].icon, QMessageBox::Critical);
    w.click(QStringLiteral("cmd_neu"));
    QCOMPARE(w.text(QStringLiteral("txt_inhalt")), QString());
    QCOMPARE(m_fx->messages.size(), 4);
    QVERIFY(m_stage.spoken.isEmpty());
    QVERIFY(m_stage.selections.isEmpty());
}

// clang-format off
void TestSpeech::outcomes_data()
{
    QTest::addColumn<SpeakResult::Status>("status");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QStringList>("spoken"); // A clicked, then B and C while A is spoken
    QTest::addColumn<QString>("message");    // empty: none

    using S = SpeakResult::Status;
    const QStringList all{"ALPHA", "BRAVO", "CHARLIE"}, first{"ALPHA"};
    QTest::newRow("spoken: the waiting texts follow in click order") << S::Spoken << "" << all << "";
    QTest::newRow("failed with the engine's words")
        << S::Failed << "Audio streaming error." << first
        << "Der Text konnte nicht gesprochen werden.\nMeldung der Sprachausgabe: Audio streaming error.";
    QTest::newRow("failed without words") << S::Failed << "" << first << "Der Text konnte nicht gesprochen werden.";
    QTest::newRow("took too long") << S::TimedOut << "" << first
                                   << "Die Stimme ist nicht rechtzeitig fertig geworden. Die Ausgabe wurde abgebrochen.";
    QTest::newRow("voice gone") << S::NoVoice << "" << first << kNoVoice;
    QTest::newRow("stopped") << S::Stopped << "" << first << "";
}
// clang-format on

void TestSpeech::outcomes()
{
    QFETCH(SpeakResult::Status, status);
    QFETCH(QString, detail);
    QFETCH(QStringList, spoken);
    QFETCH(QString, message);

    const Window w = m_fx->open(QStringLiteral("frm_speech"));
    m_stage.result = {status, detail};
    m_stage.whileSpeaking = [w] {
        w.click(QStringLiteral("cmd_b"));
        w.click(QStringLiteral("cmd_c"));
    };
    w.click(QStringLiteral("cmd_a"));
    QCOMPARE(m_stage.spoken, spoken);
    QCOMPARE(m_stage.maxDepth, 1); // never one text over another
    QCOMPARE(m_fx->messageTexts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty())
        QCOMPARE(m_fx->messages[0].icon, QMessageBox::Critical);
    // The board is usable again afterwards.
    m_stage.result = {};
    m_fx->clearMessages();
    w.click(QStringLiteral("cmd_z"));
    QCOMPARE(m_stage.spoken.last(), QStringLiteral("ZULU"));
    QVERIFY(m_fx->messages.isEmpty());
}

// clang-format off
void TestSpeech::closeWhileSpeaking_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("close box of the window") << "frame";
    QTest::newRow("closed by name, as the backup command does") << "registry";
    QTest::newRow("program ended from the menu") << "end";
}
// clang-format on

void TestSpeech::closeWhileSpeaking()
{
    QFETCH(QString, how);

    shell::MainWindow *main = m_fx->mainWindow();
    main->show();
    QPointer<QWidget> w = m_fx->open(QStringLiteral("frm_speech"));
    QPointer<QMdiSubWindow> frame = shell::WindowRegistry::instance().frame(QStringLiteral("frm_speech"));
    QVERIFY(w && frame);
    m_stage.whileSpeaking = [&] {
        if (how == QLatin1String("frame"))
            frame->close();
        else if (how == QLatin1String("registry"))
            shell::WindowRegistry::instance().close(QStringLiteral("frm_speech"));
        else
            main->trigger(QStringLiteral("end"));
        Window(w).click(QStringLiteral("cmd_b")); // a click that was still on its way
    };
    Window(w).click(QStringLiteral("Command3"));
    QVERIFY(w); // still there when its handler returns
    QCOMPARE(m_stage.stops, 1);
    QCOMPARE(m_stage.spoken.size(), 1); // neither the waiting text nor anything after the stop
    QTRY_VERIFY(!m_fx->isOpen(QStringLiteral("frm_speech")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!w && !frame);
    QCOMPARE(main->isVisible(), how != QLatin1String("end"));
    QVERIFY(m_fx->messages.isEmpty());
}

void TestSpeech::systemVoice()
{
    QTest::ignoreMessage(QtCriticalMsg, "Text-to-speech plug-in \"no-such-engine\" is not supported.");
    ui::SystemVoice none(QStringList{QStringLiteral("no-such-engine")});
    QVERIFY(none.engine().isEmpty());
    QVERIFY(none.voices().isEmpty());
    QVERIFY(!none.select(0));
    QCOMPARE(none.speak(QStringLiteral("ALPHA")).status, SpeakResult::Status::NoVoice);

    QVERIFY(!ui::SystemVoice::engineOrder().contains(QStringLiteral("flite"))); // crashes, see engineOrder()
    // Without a sound server the speech service would start, fail its output and hang on.
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER")
        && !QFileInfo::exists(qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/pulse/native")))
        QSKIP("No sound server on this machine: the system's voice is not tried");
    ui::SystemVoice voice;
    if (voice.engine().isEmpty())
        QSKIP("No speech engine with a voice installed, or the speech service does not answer");
    const QStringList voices = voice.voices();
    QVERIFY(!voices.isEmpty());
    QCOMPARE(voice.voices(), voices);                                            // the same order every time
    QCOMPARE(QSet<QString>(voices.begin(), voices.end()).size(), voices.size()); // one entry, one voice
    QSignalSpy changed(&voice, &speech::Voice::voiceChanged);
    QVERIFY(voice.select(int(voices.size()) - 1));
    if (!changed.isEmpty())
        QCOMPARE(changed.last().at(0).toString(), voices.last());
    QVERIFY(!voice.select(int(voices.size())));
    QVERIFY(voice.select(0));

    QElapsedTimer clock;
    clock.start();
    const SpeakResult result = voice.speak(QStringLiteral("ALPHA"));
    QVERIFY(clock.elapsed() < ui::SystemVoice::timeAllowed(QStringLiteral("ALPHA")).count() + 2000);
    if (!result.ok())
        QSKIP(qPrintable(
            QStringLiteral("Engine %1 has voices but no audio output here: %2")
                .arg(voice.engine(), result.detail.isEmpty() ? QStringLiteral("timed out") : result.detail)));
}

QTEST_MAIN(TestSpeech)
#include "tst_speech.moc"
