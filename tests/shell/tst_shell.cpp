#include "shell/AboutWindow.h"
#include "shell/MainWindow.h"
#include "shell/StartWindow.h"
#include "shell/WindowRegistry.h"
#include "support/TestSupport.h"
#include "ui/Seams.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

using testsupport::Fixture;

namespace {
// Timer1 of the splash runs out.
void tick(QWidget *splash)
{
    QMetaObject::invokeMethod(splash->findChild<QTimer *>(QStringLiteral("Timer1")), "timeout");
}

// The text a menu draws for a caption: "&&" is one ampersand, a single "&" only marks the key.
QString shownText(const QString &caption)
{
    QString out;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        out += caption[i];
    }
    return out;
}

// Puts stand-in windows under some names for one test and restores the real ones after it.
class StandIns {
public:
    explicit StandIns(const QStringList &names, QStringList *destroyedOrder)
    {
        auto &registry = shell::WindowRegistry::instance();
        for (const QString &name : names) {
            m_saved.insert(name, registry.entry(name));
            registry.add(name, [name, destroyedOrder] {
                auto *w = new QWidget;
                w->setWindowTitle(name);
                QObject::connect(w, &QObject::destroyed, [name, destroyedOrder] { *destroyedOrder << name; });
                return w;
            });
        }
    }
    ~StandIns()
    {
        auto &registry = shell::WindowRegistry::instance();
        for (auto it = m_saved.cbegin(); it != m_saved.cend(); ++it) {
            if (it.value().factory)
                registry.add(it.key(), it.value());
            else
                registry.remove(it.key());
        }
    }

private:
    QHash<QString, shell::WindowRegistry::Entry> m_saved;
};
} // namespace

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void splashLooksRight();
    void splashToMain_data();
    void splashToMain();
    void timerOpensMainOnceEvenDuringWarning();
    void timerTickOpensMain();
    void fillsScreenWithoutWindowManager();
    void captionKeepsStartDate();
    void menuTree();
    void commandsOpenTheirWindows_data();
    void commandsOpenTheirWindows();
    void scannerMenuCannotRun();
    void shortcutsReachMenuFromTextBox_data();
    void shortcutsReachMenuFromTextBox();
    void singleInstanceAndFreshReload();
    void backupClosesListedWindowsInOrder_data();
    void backupClosesListedWindowsInOrder();
    void windowListShowsOpenWindows();
    void endClosesEverything();
    void aboutWindow();
};

void TestShell::splashLooksRight()
{
    Fixture fx;
    shell::StartWindow splash;
    QCOMPARE(splash.objectName(), QStringLiteral("frm_start"));
    QCOMPARE(splash.size(), QSize(332, 152));
    QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(splash.windowFlags() & Qt::SplashScreen); // not in the task bar
    QCOMPARE(splash.palette().color(QPalette::Window), QColor(0, 0, 255));
    auto *title = testsupport::child<QLabel>(&splash, "Label1");
    QVERIFY(title);
    QCOMPARE(title->text(), QStringLiteral("WELLENKLADDE 2007"));
    QCOMPARE(title->font().pointSize(), 12);
    QVERIFY(testsupport::child<QLabel>(&splash, "Label2"));
    QVERIFY(testsupport::child<QLabel>(&splash, "Image1"));
    for (int i = 1; i <= 6; ++i)
        QVERIFY(splash.findChild<QWidget *>(QStringLiteral("Shape%1").arg(i)));
    auto *timer = splash.findChild<QTimer *>(QStringLiteral("Timer1"));
    QVERIFY(timer && timer->isActive());
    QCOMPARE(timer->interval(), 2000);
}

// clang-format off
void TestShell::splashToMain_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<int>("warnings");
    QTest::newRow("800x600 warns") << QSize(800, 600) << 1;
    QTest::newRow("1023x767 warns") << QSize(1023, 767) << 1;
    QTest::newRow("1280x720 height only") << QSize(1280, 720) << 0;
    QTest::newRow("1024x600 width not below") << QSize(1024, 600) << 0;
    QTest::newRow("800x900 height not below") << QSize(800, 900) << 0;
    QTest::newRow("1024x768") << QSize(1024, 768) << 0;
}
// clang-format on

void TestShell::splashToMain()
{
    QFETCH(QSize, screen);
    QFETCH(int, warnings);
    Fixture fx(screen);
    QPointer<shell::StartWindow> splash = new shell::StartWindow;
    splash->show();
    tick(splash);
    QPointer<shell::MainWindow> main = splash->mainWindow();
    QVERIFY(main);
    QCOMPARE(fx.messages.size(), warnings);
    if (warnings) {
        QCOMPARE(fx.messages[0].text,
                 QStringLiteral("Die Bildschirmauflösung sollte mindestens 1024 X 768 Pixel betragen"));
        QCOMPARE(fx.messages[0].title, QStringLiteral("WELLENKLADDE 2006"));
        QCOMPARE(fx.messages[0].icon, QMessageBox::NoIcon);
    }
    QCOMPARE(main->windowTitle(), QStringLiteral("Herzlich Willkommen im Wellenkladde Heute: 07.12.2026"));
    QVERIFY(main->isVisible());
    QVERIFY(main->windowState() & Qt::WindowMaximized);
    QVERIFY(!main->windowIcon().isNull());
    QTRY_VERIFY(!splash);
    delete main;
}

void TestShell::timerOpensMainOnceEvenDuringWarning()
{
    Fixture fx(QSize(800, 600));
    QPointer<shell::StartWindow> splash = new shell::StartWindow;
    splash->show();
    // A second tick while the warning box is up must neither open nor close anything.
    int ticksDuringWarning = 0;
    fx.replace(seams::messageBox, [&](QWidget *, const seams::MessageRecord &r) {
        fx.messages << r;
        ++ticksDuringWarning;
        tick(splash);
    });
    tick(splash);
    QCOMPARE(ticksDuringWarning, 1);
    QPointer<shell::MainWindow> main = splash ? splash->mainWindow() : nullptr;
    QVERIFY(main);
    QCOMPARE(fx.messages.size(), 1);
    const auto tops = qApp->topLevelWidgets();
    QCOMPARE(std::count_if(tops.begin(), tops.end(), [](QWidget *w) { return w->objectName() == "frm_main"; }), 1);
    QTRY_VERIFY(!splash);
    delete main;
}

// The timer's own signal runs the tick (no waiting on the clock: the interval is checked above).
void TestShell::timerTickOpensMain()
{
    Fixture fx;
    QPointer<shell::StartWindow> splash = new shell::StartWindow;
    splash->show();
    QVERIFY(!splash->mainWindow());
    QVERIFY(QMetaObject::invokeMethod(splash->findChild<QTimer *>(QStringLiteral("Timer1")), "timeout"));
    QPointer<shell::MainWindow> main = splash->mainWindow();
    QVERIFY(main && main->isVisible());
    QTRY_VERIFY(!splash);
    delete main;
}

void TestShell::fillsScreenWithoutWindowManager()
{
    Fixture fx;
    fx.replace(seams::windowManager, [] { return false; });
    QPointer<shell::StartWindow> splash = new shell::StartWindow;
    tick(splash);
    QPointer<shell::MainWindow> main = splash->mainWindow();
    QVERIFY(main && main->isVisible());
    // The headless platform draws a pretend frame around a maximized window; the size tells.
    QCOMPARE(main->size(), QGuiApplication::primaryScreen()->availableGeometry().size());
    QVERIFY(main->windowState() & Qt::WindowMaximized);
    delete main;
}

void TestShell::captionKeepsStartDate()
{
    Fixture fx;
    std::unique_ptr<shell::MainWindow> main;
    {
        const auto lastDay = seams::today.replace([] { return QDate(2026, 12, 31); });
        main = std::make_unique<shell::MainWindow>();
    }
    fx.replace(seams::today, [] { return QDate(2027, 1, 1); });
    QTest::qWait(10);
    QCOMPARE(main->windowTitle(), QStringLiteral("Herzlich Willkommen im Wellenkladde Heute: 31.12.2026"));
}

void TestShell::menuTree()
{
    Fixture fx;
    shell::MainWindow *main = fx.mainWindow();
    // parent, name, caption, shortcut; in menu order.
    struct Item {
        const char *parent, *name, *caption, *keys;
    };
    const Item expected[] = {
        {"", "prog", "Programm", ""},
        {"prog", "end", "Ende", ""},
        {"", "wind", "Fenster", ""},
        {"", "tool", "Tools", ""},
        {"tool", "kabelrechnen", "Kabellänge berechnen", ""},
        {"tool", "welle", "Wellenlänge & Frequenz", ""},
        {"tool", "loc", "Locator-Datenbank", ""},
        {"", "kontak", "Logbuch", ""},
        {"kontak", "norm", "LOCAL", "Ctrl+L"},
        {"kontak", "dd", "DX", "Ctrl+D"},
        {"", "gfd", "DX", ""},
        {"gfd", "gfhfgh", "DX Prefixliste", ""},
        {"gfd", "gfsgdfgssd", "DX Frequenzen", ""},
        {"", "freq", "Frequenzsuche", ""},
        {"freq", "allg", "Allgemein", ""},
        {"allg", "allgemein", "CB Kanal 1 - 80", "Ctrl+A"},
        {"freq", "mdal", "Midland ALAN", ""},
        {"mdal", "midland", "Midland Alan 18/28/42/48/77/78/95 CB", ""},
        {"midland", "frerqlist", "Frequenzliste", "Ctrl+F"},
        {"midland", "freqw", "Frequenzsuche", "Ctrl+S"},
        {"mdal", "HAMVERSION", "Midland Alan 18/28/42/48/77/78/95 HAM", ""},
        {"HAMVERSION", "hamliste", "Frequenzliste", "Ctrl+X"},
        {"HAMVERSION", "ham", "Frequenzsuche", "Ctrl+H"},
        {"freq", "alb", "Albrecht", ""},
        {"alb", "adsdsd", "Allgemein", ""},
        {"adsdsd", "bvcbfdgdf", "Frequenzliste Albrecht allgmein", "F7"},
        {"adsdsd", "gghgfhgfnfghgfh", "Frequenzsuche Albrecht allgemein", ""},
        {"alb", "albr", "Albrecht AE5800", ""},
        {"albr", "freqalbr", "Frequenzliste", "Ctrl+T"},
        {"albr", "fsalbr", "Frequenzsuche", "Ctrl+U"},
        {"freq", "pres", "President", ""},
        {"pres", "hngfh", "Jackson", ""},
        {"hngfh", "freqjack", "Frequenzliste", ""},
        {"hngfh", "xfgsdfgsgsdfg", "Frequenzsuche", ""},
        {"", "scan", "SCANNER", ""},
        {"scan", "bos", "BOS-FUNK", ""},
        {"scan", "flug", "Flugfunk", ""},
        {"", "sicherung", "Datenverwaltung", ""},
        {"sicherung", "sichern", "Backup", "Ctrl+B"},
        {"sicherung", "rescue", "Wiederherstellung", "Ctrl+W"},
        {"sicherung", "adifexport", "ADIF-Export ...", ""},
        {"sicherung", "adifimport", "ADIF-Import ...", ""},
        {"", "alph", "Alphabet", ""},
        {"", "about", "?", ""},
    };
    QHash<QString, QStringList> children;
    for (const Item &item : expected) {
        const QString name = QString::fromUtf8(item.name);
        QAction *a = main->action(name);
        QVERIFY2(a, item.name);
        QCOMPARE(a->objectName(), name);
        QCOMPARE(a->text(), QString::fromUtf8(item.caption));
        QCOMPARE(a->shortcut(), QKeySequence(QString::fromLatin1(item.keys)));
        children[QString::fromUtf8(item.parent)] << name;
    }
    QStringList bar;
    for (QAction *a : main->menuBar()->actions())
        bar << a->objectName();
    QCOMPARE(bar, children.value(QString()));
    for (auto it = children.cbegin(); it != children.cend(); ++it) {
        if (it.key().isEmpty())
            continue;
        QMenu *menu = main->menu(it.key());
        QVERIFY2(menu, qPrintable(it.key()));
        QStringList names;
        for (QAction *a : menu->actions())
            names << a->objectName();
        QCOMPARE(names, it.value());
    }
    // Alphabet and ? are commands of the bar itself, not menus.
    QVERIFY(!main->action("alph")->menu());
    QVERIFY(!main->action("about")->menu());
}

// clang-format off
void TestShell::commandsOpenTheirWindows_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("window");
    const char *const pairs[][2] = {
        {"kabelrechnen", "frm_kabel"},       {"welle", "frm_welle"},
        {"loc", "frm_locator"},              {"gfhfgh", "frm_prefix"},
        {"gfsgdfgssd", "frm_dx"},            {"allgemein", "frm_frequenzsuche"},
        {"frerqlist", "frm_liste"},          {"freqw", "frm_suche"},
        {"hamliste", "frm_listeham"},        {"ham", "frm_sucheHAM"},
        {"bvcbfdgdf", "frm_listealbrechtallg"}, {"gghgfhgfnfghgfh", "frm_suchealbrecht"},
        {"freqalbr", "frm_albrecht"},        {"fsalbr", "frm_suche_albrscht"},
        {"freqjack", "frm_listepresident"},  {"xfgsdfgsgsdfg", "frm_suche_president"},
        {"about", "frm_about"},              {"alph", "frm_speech"},
    };
    for (const auto &p : pairs)
        QTest::newRow(p[0]) << QString::fromLatin1(p[0]) << QString::fromLatin1(p[1]);
}
// clang-format on

void TestShell::commandsOpenTheirWindows()
{
    QFETCH(QString, command);
    QFETCH(QString, window);
    Fixture fx;
    shell::MainWindow *main = fx.mainWindow();
    main->trigger(command);
    QCOMPARE(main->area()->subWindowList().size(), 1);
    QVERIFY(fx.isOpen(window));
    QCOMPARE(shell::WindowRegistry::instance().window(window)->objectName(), window);
    QVERIFY(fx.messages.isEmpty());
}

void TestShell::scannerMenuCannotRun()
{
    Fixture fx;
    shell::MainWindow *main = fx.mainWindow();
    QVERIFY(!main->action("scan")->isEnabled());
    main->trigger("bos");
    main->trigger("flug");
    QVERIFY(main->area()->subWindowList().isEmpty());
}

// clang-format off
void TestShell::shortcutsReachMenuFromTextBox_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("window");
    QTest::newRow("Ctrl+A (select all in a text box)") << int(Qt::Key_A) << int(Qt::ControlModifier) << "frm_frequenzsuche";
    QTest::newRow("Ctrl+H") << int(Qt::Key_H) << int(Qt::ControlModifier) << "frm_sucheHAM";
    QTest::newRow("Ctrl+U") << int(Qt::Key_U) << int(Qt::ControlModifier) << "frm_suche_albrscht";
    QTest::newRow("Ctrl+X (cut in a text box)") << int(Qt::Key_X) << int(Qt::ControlModifier) << "frm_listeham";
    QTest::newRow("Ctrl+F") << int(Qt::Key_F) << int(Qt::ControlModifier) << "frm_liste";
    QTest::newRow("Ctrl+T") << int(Qt::Key_T) << int(Qt::ControlModifier) << "frm_albrecht";
    QTest::newRow("F7") << int(Qt::Key_F7) << int(Qt::NoModifier) << "frm_listealbrechtallg";
}
// clang-format on

void TestShell::shortcutsReachMenuFromTextBox()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, window);
    Fixture fx;
    shell::MainWindow *main = fx.mainWindow();
    main->show();
    QVERIFY(QTest::qWaitForWindowActive(main));
    QTest::keyClick(main, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(fx.isOpen("frm_suche"));
    auto *edit = testsupport::child<QLineEdit>(shell::WindowRegistry::instance().window("frm_suche"), "txt_kanal");
    QVERIFY(edit);
    edit->setFocus();
    QTest::keyClicks(edit, "12");
    QTest::keyClick(edit, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QVERIFY(fx.isOpen(window));
    QCOMPARE(edit->text(), QStringLiteral("12"));
}

void TestShell::singleInstanceAndFreshReload()
{
    Fixture fx;
    shell::MainWindow *main = fx.mainWindow();
    main->trigger("freqw");
    QWidget *first = shell::WindowRegistry::instance().window("frm_suche");
    QVERIFY(first);
    testsupport::child<QLineEdit>(first, "txt_kanal")->setText("17");
    main->trigger("about");
    main->trigger("freqw");
    QCOMPARE(shell::WindowRegistry::instance().window("frm_suche"), first);
    QCOMPARE(main->area()->activeSubWindow()->widget(), first);
    QCOMPARE(testsupport::child<QLineEdit>(first, "txt_kanal")->text(), QStringLiteral("17"));
    QCOMPARE(main->area()->subWindowList().size(), 2);

    QPointer<QWidget> gone = first;
    QTest::mouseClick(testsupport::child<QPushButton>(first, "cmd_ende"), Qt::LeftButton);
    QVERIFY(!fx.isOpen("frm_suche"));
    QTRY_VERIFY(!gone);
    main->trigger("freqw");
    QWidget *fresh = shell::WindowRegistry::instance().window("frm_suche");
    QVERIFY(fresh);
    QCOMPARE(testsupport::child<QLineEdit>(fresh, "txt_kanal")->text(), QString());
}

// clang-format off
void TestShell::backupClosesListedWindowsInOrder_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("window");
    QTest::newRow("backup") << "sichern" << "frm_datensicherung";
    QTest::newRow("restore") << "rescue" << "frm_wiederherstellen";
}
// clang-format on

void TestShell::backupClosesListedWindowsInOrder()
{
    QFETCH(QString, command);
    QFETCH(QString, window);
    QStringList destroyed; // outlives the windows that report into it
    Fixture fx;
    StandIns standIns({"frm_kontaktverwaltung", "frm_kontaktverwaltungdx", "frm_prefix", "frm_dx", "frm_kabel",
                       "frm_locator", "frm_datensicherung", "frm_wiederherstellen"},
                      &destroyed);
    shell::MainWindow *main = fx.mainWindow();
    // Opened in an order unlike the closing order.
    for (const char *name : {"frm_prefix", "frm_kabel", "frm_suche_president", "frm_kontaktverwaltung", "frm_locator",
                             "frm_suche", "frm_about", "frm_kontaktverwaltungdx"})
        QVERIFY2(fx.open(name), name);
    for (const char *name : {"frm_suche_president", "frm_suche"})
        connect(shell::WindowRegistry::instance().window(name), &QObject::destroyed,
                [&destroyed, name] { destroyed << name; });

    main->trigger(command);
    QCOMPARE(destroyed, QStringList({"frm_kontaktverwaltung", "frm_kontaktverwaltungdx", "frm_suche",
                                     "frm_suche_president", "frm_prefix"}));
    for (const char *name : {"frm_kabel", "frm_locator", "frm_about"})
        QVERIFY2(fx.isOpen(name), name);
    QVERIFY(fx.isOpen(window));
}

void TestShell::windowListShowsOpenWindows()
{
    Fixture fx;
    shell::MainWindow *main = fx.mainWindow();
    main->trigger("freqw");
    main->trigger("about");
    main->trigger("ham");
    fx.close("frm_about");
    QMenu *list = main->menu("wind");
    const auto entries = [list] {
        QMetaObject::invokeMethod(list, "aboutToShow");
        QStringList shown; // as the menu draws them, a mark in front of the checked one
        for (QAction *a : list->actions())
            shown << (a->isChecked() ? "* " : a->isCheckable() ? "[] " : "") + shownText(a->text());
        return shown;
    };
    const QString cb = "-*Frequenz & Kanalsuche MIDLAND ALAN  CB Version*- FM/AM";
    const QString ham = "-*Frequenz & Kanalsuche MIDLAND ALAN HAM Version*- FM/AM";
    QCOMPARE(entries(), QStringList({"1 " + cb, "* 2 " + ham}));
    list->actions().at(0)->trigger();
    QCOMPARE(main->area()->activeSubWindow()->widget()->objectName(), QStringLiteral("frm_suche"));
    QCOMPARE(entries(), QStringList({"* 1 " + cb, "2 " + ham}));
}

void TestShell::endClosesEverything()
{
    Fixture fx;
    shell::MainWindow *main = fx.mainWindow();
    main->show();
    for (const char *name : {"frm_suche", "frm_about", "frm_suche_president"})
        fx.open(name);
    main->trigger("end");
    QVERIFY(!main->isVisible());
    for (const char *name : {"frm_suche", "frm_about", "frm_suche_president"})
        QVERIFY(!fx.isOpen(name));
}

void TestShell::aboutWindow()
{
    Fixture fx;
    QWidget *about = fx.open("frm_about");
    QVERIFY(about);
    QVERIFY(about->windowTitle().startsWith(QStringLiteral("About V.06.04.2007")));
    QCOMPARE(about->size(), QSize(420, 152));
    QMdiSubWindow *frame = shell::WindowRegistry::instance().frame("frm_about");
    QVERIFY(!(frame->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(frame->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(about->findChild<QWidget *>("Shape1"));
    const QList<QLabel *> lines = about->findChildren<QLabel *>("Label1");
    QCOMPARE(lines.size(), 4);
    QCOMPARE(about->findChildren<QLabel *>("Label2").size(), 1);
    // Honest lines: the version the build carries, and documentation that lies where it says.
    QStringList texts;
    for (const QLabel *l : about->findChildren<QLabel *>())
        texts << l->text();
    QVERIFY(texts.contains(QStringLiteral("Version " KW_VERSION)));
    const QString docs = testsupport::child<QLabel>(about, "Label2")->text();
    QVERIFY2(docs.contains("README.md") && QFile::exists(Fixture::builtFile("README.md")), qPrintable(docs));
    for (const QString &t : texts)
        QVERIFY2(!t.contains(".example") && !t.contains("Funkturm") && !t.contains("12345"), qPrintable(t));
    for (const QLabel *l : about->findChildren<QLabel *>())
        QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <= l->width(), qPrintable(l->text()));
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
