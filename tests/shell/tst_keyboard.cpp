#include "shell/MainWindow.h"
#include "shell/MenuTable.h"
#include "shell/WindowRegistry.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

using testsupport::child;
using testsupport::Fixture;

namespace {
// The main window shown and active, so that keys go where a user's keys go.
shell::MainWindow *shownMain(Fixture &fx)
{
    shell::MainWindow *main = fx.mainWindow();
    main->show();
    return QTest::qWaitForWindowActive(main) ? main : nullptr;
}

// A key as the user presses it: into the open menu, else to the widget with the focus.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget *target = QApplication::activePopupWidget();
    QTest::keyClick(target ? target : QApplication::focusWidget(), key, modifiers);
}

// Presses an arrow key until `reached` holds; false when it never does.
template <typename Reached> bool arrowUntil(Qt::Key key, Reached reached)
{
    for (int i = 0; i < 20 && !reached(); ++i)
        press(key);
    return reached();
}

QString focusName()
{
    QWidget *w = QApplication::focusWidget();
    return w ? w->objectName() : QString();
}
} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT
private slots:
    void menuByArrowKeys_data();
    void menuByArrowKeys();
    void focusAndTabOrder_data();
    void focusAndTabOrder();
    void returnRunsItsSearch_data();
    void returnRunsItsSearch();
    void leavingTheMenuKeepsTheText();
    void ctrlF4ClosesTheActiveWindow_data();
    void ctrlF4ClosesTheActiveWindow();
};

// clang-format off
void TestKeyboard::menuByArrowKeys_data()
{
    QTest::addColumn<int>("startKey");
    QTest::addColumn<QStringList>("path"); // menu item names from the bar down to the command
    const auto &table = shell::menuTable();
    QStringList parents;
    for (size_t i = 0; i < table.size(); ++i) {
        const shell::MenuItem &item = table[i];
        parents = parents.mid(0, item.level - 1);
        parents << QString::fromLatin1(item.name);
        const bool leaf = i + 1 == table.size() || table[i + 1].level <= item.level;
        // The window list is a menu of its own; the scanner menu cannot be opened at all.
        if (!leaf || parents.first() == "scan" || parents.first() == "wind")
            continue;
        QTest::addRow("F10 %s", item.name) << int(Qt::Key_F10) << parents;
        if (parents.size() == 1 || item.level == 4)
            QTest::addRow("Alt %s", item.name) << int(Qt::Key_Alt) << parents;
    }
}
// clang-format on

// From a text box, Alt or F10 and then only arrow keys and Return reach every command; the
// switched-off scanner menu is passed over.
void TestKeyboard::menuByArrowKeys()
{
    QFETCH(int, startKey);
    QFETCH(QStringList, path);
    Fixture fx;
    shell::MainWindow *main = shownMain(fx);
    QVERIFY(main);
    QPointer<QLineEdit> edit = child<QLineEdit>(fx.open("frm_suche"), "txt_frequenz");
    QCOMPARE(QApplication::focusWidget(), edit);
    QAction *command = main->action(path.last());
    QSignalSpy triggered(command, &QAction::triggered);

    press(Qt::Key(startKey));
    QMenuBar *bar = main->menuBar();
    QCOMPARE(bar->activeAction(), main->action("prog"));
    QAction *top = main->action(path.first());
    bool scannerMarked = false;
    QVERIFY(arrowUntil(Qt::Key_Right, [&] {
        scannerMarked = scannerMarked || bar->activeAction() == main->action("scan");
        return bar->activeAction() == top;
    }));
    QVERIFY(!scannerMarked);
    if (path.size() > 1) {
        QVERIFY(arrowUntil(Qt::Key_Down, [&] { return QApplication::activePopupWidget() == top->menu(); }));
        for (qsizetype level = 1; level < path.size(); ++level) {
            QAction *item = main->action(path[level]);
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(menu);
            QVERIFY2(arrowUntil(Qt::Key_Down, [&] { return menu->activeAction() == item; }), qPrintable(path[level]));
            if (item->menu() && level + 1 < path.size())
                QVERIFY(arrowUntil(Qt::Key_Right, [&] { return QApplication::activePopupWidget() == item->menu(); }));
        }
    }
    QVERIFY(triggered.isEmpty());
    press(Qt::Key_Return);
    QCOMPARE(triggered.size(), 1);
    if (edit)                              // backup closes the finder, Ende everything
        QCOMPARE(edit->text(), QString()); // no key went into the text box
}

// clang-format off
void TestKeyboard::focusAndTabOrder_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("order"); // focus when the window opens, then each Tab
    const QStringList search{"txt_frequenz", "txt_frequenz1", "cmd_suchen", "txt_result"};
    const QStringList lookup{"txt_ch", "txt_band", "cmd_search", "txt_res"};
    const QStringList table{"txt_kanal", "txt_kanalsuche", "kanal", "freq"};
    for (const char *w :
         {"frm_suche", "frm_sucheHAM", "frm_suche_albrscht", "frm_suchealbrecht", "frm_suche_president"})
        QTest::newRow(w) << w << search + lookup + table + QStringList{"cmd_ende"};
    QTest::newRow("frm_frequenzsuche") << "frm_frequenzsuche" << table + search + lookup + QStringList{"cmd_ende"};
    QTest::newRow("frm_bos") << "frm_bos"
                             << QStringList{"txt_freq",    "cmd_suchefreq", "txt_rufname", "cmd_sucherufname",
                                            "txt_ort",     "cmd_sucheort",  "cmd_reset",   "DataGrid1"};
    QTest::newRow("frm_flug") << "frm_flug"
                              << QStringList{"txt_ort", "cmd_sucheort", "txt_freq", "cmd_suchefreq", "cmd_reset",
                                             "DataGrid1"};
    QTest::newRow("frm_locator") << "frm_locator"
                                 << QStringList{"txt_locator", "cmd_locator", "txt_stadt", "cmd_Stadt", "cmd_reset",
                                                "DataGrid1"};
    QTest::newRow("frm_prefix") << "frm_prefix" << QStringList{"txt_suche", "cmd_suche", "cmd_reset", "DataGrid1"};
    for (const char *w : {"frm_liste", "frm_listeham", "frm_albrecht", "frm_listealbrechtallg", "frm_listepresident",
                          "frm_dx"})
        QTest::newRow(w) << w << QStringList{"DataGrid1"};
    QTest::newRow("frm_welle") << "frm_welle" << QStringList{"txt_frequenz2"};
    QTest::newRow("frm_kabel") << "frm_kabel" << QStringList{"txt_frequenz"};
}
// clang-format on

// A window opens with the focus in its first input; Tab goes through it as it stands, top to
// bottom, ENDE last.
void TestKeyboard::focusAndTabOrder()
{
    QFETCH(QString, window);
    QFETCH(QStringList, order);
    Fixture fx;
    QVERIFY(shownMain(fx));
    QWidget *w = fx.open(window);
    QVERIFY(w);
    if (auto *edit = qobject_cast<QLineEdit *>(QApplication::focusWidget()); edit && !edit->text().isEmpty())
        QCOMPARE(edit->selectedText(), edit->text()); // a sample text is ready to be typed over
    QStringList visited{focusName()};
    while (visited.size() < order.size()) {
        press(Qt::Key_Tab);
        visited << focusName();
    }
    QCOMPARE(visited, order);
}

// clang-format off
void TestKeyboard::returnRunsItsSearch_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("button");
    const QList<QStringList> rows = {
        {"frm_suche", "txt_frequenz", "cmd_suchen"},       {"frm_suche", "txt_frequenz1", "cmd_suchen"},
        {"frm_suche", "txt_ch", "cmd_search"},             {"frm_suche", "txt_band", "cmd_search"},
        {"frm_suche", "txt_kanal", "txt_kanalsuche"},      {"frm_frequenzsuche", "txt_kanal", "txt_kanalsuche"},
        {"frm_bos", "txt_freq", "cmd_suchefreq"},          {"frm_bos", "txt_rufname", "cmd_sucherufname"},
        {"frm_bos", "txt_ort", "cmd_sucheort"},            {"frm_flug", "txt_ort", "cmd_sucheort"},
        {"frm_flug", "txt_freq", "cmd_suchefreq"},         {"frm_locator", "txt_locator", "cmd_locator"},
        {"frm_locator", "txt_stadt", "cmd_Stadt"},         {"frm_prefix", "txt_suche", "cmd_suche"},
        {"frm_welle", "txt_frequenz2", "cmd_los"},         {"frm_welle", "txt_welle2", "cmd_losumkehr"},
        {"frm_kabel", "txt_frequenz", "cmd_längerechnen"}, {"frm_kabel", "txt_länge", "cmd_längerechnen"},
    };
    for (const QStringList &r : rows)
        QTest::addRow("%s %s", qPrintable(r[0]), qPrintable(r[1])) << r[0] << r[1] << r[2];
}
// clang-format on

// Return in a text box clicks the button of its own panel, and no other.
void TestKeyboard::returnRunsItsSearch()
{
    QFETCH(QString, window);
    QFETCH(QString, edit);
    QFETCH(QString, button);
    Fixture fx;
    QWidget *w = fx.open(window);
    QVERIFY(w);
    QList<QAbstractButton *> clicked;
    for (QAbstractButton *b : w->findChildren<QAbstractButton *>())
        connect(b, &QAbstractButton::clicked, this, [b, &clicked] { clicked << b; });
    auto *box = child<QLineEdit>(w, edit);
    box->setText(QStringLiteral("1"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(clicked[0]->objectName(), button);
}

// Into the menu and back out is not the user entering the box anew: the prefix box, which empties
// itself when entered, keeps what was typed.
void TestKeyboard::leavingTheMenuKeepsTheText()
{
    Fixture fx;
    QVERIFY(shownMain(fx));
    auto *box = child<QLineEdit>(fx.open("frm_prefix"), "txt_suche");
    QCOMPARE(QApplication::focusWidget(), box);
    QTest::keyClicks(box, "DL");
    for (const Qt::Key key : {Qt::Key_F10, Qt::Key_Alt}) {
        press(key);
        QVERIFY(QApplication::focusWidget() != box);
        press(Qt::Key_Escape);
        QCOMPARE(QApplication::focusWidget(), box);
        QCOMPARE(box->text(), QStringLiteral("DL"));
    }
}

// clang-format off
void TestKeyboard::ctrlF4ClosesTheActiveWindow_data()
{
    QTest::addColumn<QString>("window");
    for (const char *w : {"frm_suche", "frm_liste", "frm_dx", "frm_kontaktverwaltung", "frm_kontaktverwaltungdx",
                          "frm_prefix", "frm_locator", "frm_welle", "frm_kabel", "frm_speech", "frm_about",
                          "frm_datensicherung", "frm_wiederherstellen"})
        QTest::newRow(w) << w;
}
// clang-format on

// Ctrl+F4 closes the active child window, whatever has the focus in it, and no other window.
void TestKeyboard::ctrlF4ClosesTheActiveWindow()
{
    QFETCH(QString, window);
    Fixture fx;
    QVERIFY(shownMain(fx));
    QVERIFY(fx.open("frm_kabel" == window ? "frm_welle" : "frm_kabel"));
    QVERIFY(fx.open(window));
    QVERIFY(fx.isOpen(window));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4, Qt::ControlModifier);
    QVERIFY(!fx.isOpen(window));
    QVERIFY(fx.isOpen("frm_kabel" == window ? "frm_welle" : "frm_kabel"));
    QVERIFY(fx.messages.isEmpty());
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
