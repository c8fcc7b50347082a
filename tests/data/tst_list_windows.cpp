#include "data/ListWindow.h"
#include "shell/MainWindow.h"
#include "shell/WindowRegistry.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QTableView>
#include <QTest>

using testsupport::Fixture;

class TestListWindows : public QObject {
    Q_OBJECT
private slots:
    void listWindows_data();
    void listWindows();
    void dxPlacesItselfOnEachLoad();
    void sameRowsAsOpenFinder();
    void missingReferenceFile();
};

void TestListWindows::listWindows_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QString>("firstCell");
    const QStringList umbau = {"Kanal", "A", "B", "C", "D", "E", "F", "G", "H", "I", "L"};
    const QStringList albrecht = {"Kanal", "A", "B", "C", "D", "E", "F", "G", "H", "I", "J"};
    QTest::newRow("frm_liste") << "frerqlist" << "frm_liste" << "-*MIDLAND ALAN Frequenzliste CB*- FM/AM" << umbau
                               << QSize(693, 420) << "25615";
    QTest::newRow("frm_listeham") << "hamliste" << "frm_listeham" << "-*MIDLAND ALAN Frequenzliste HAM*- FM/AM"
                                  << umbau << QSize(693, 420) << "25610";
    QTest::newRow("frm_albrecht") << "freqalbr" << "frm_albrecht"
                                  << "Frequenzliste ALBRECHT AE 5800 / AE485                 454CH AM/FM/SSB" << albrecht
                                  << QSize(684, 422) << "25165";
    QTest::newRow("frm_listealbrechtallg") << "bvcbfdgdf" << "frm_listealbrechtallg"
                                           << "Frequenzliste ALBRECHT allgemein" << albrecht << QSize(682, 417) << "25165";
    QTest::newRow("frm_listepresident") << "freqjack" << "frm_listepresident"
                                        << "Frequenzliste President Jackson 240CH AM/SSB/FM"
                                        << QStringList{"KANAL", "A", "B", "C", "D", "E", "F"} << QSize(525, 421) << "25615";
    QTest::newRow("frm_dx") << "gfsgdfgssd" << "frm_dx" << "DX - Frequenzen"
                            << QStringList{"QRG", "Mod", "Land - Organisation"} << QSize(869, 556) << "";
}

void TestListWindows::listWindows()
{
    QFETCH(QString, command);
    QFETCH(QString, window);
    QFETCH(QString, caption);
    QFETCH(QStringList, headers);
    QFETCH(QSize, client);
    QFETCH(QString, firstCell);
    Fixture fx;
    fx.mainWindow()->trigger(command);
    QWidget *w = shell::WindowRegistry::instance().window(window);
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), caption);
    QCOMPARE(w->size(), client);
    QMdiSubWindow *frame = shell::WindowRegistry::instance().frame(window);
    QVERIFY(!(frame->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    auto *grid = testsupport::child<QTableView>(w, "DataGrid1");
    QVERIFY(grid);
    QStringList shown;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        shown << grid->model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(shown, headers);
    if (!firstCell.isEmpty()) {
        QCOMPARE(grid->model()->rowCount(), 40);
        QCOMPARE(grid->model()->index(0, 1).data().toString(), firstCell);
        for (int r = 0; r < 40; ++r)
            QCOMPARE(grid->model()->index(r, 0).data().toString(), QString::number(r + 1));
    } else {
        QVERIFY(grid->model()->rowCount() > 0);
        QVERIFY(!grid->model()->index(0, 0).data().toString().isEmpty());
        QVERIFY(!grid->model()->index(0, 2).data().toString().isEmpty());
    }
    QVERIFY(fx.messages.isEmpty());
}

void TestListWindows::dxPlacesItselfOnEachLoad()
{
    Fixture fx;
    shell::MainWindow *main = fx.mainWindow();
    main->trigger("gfsgdfgssd");
    QMdiSubWindow *frame = shell::WindowRegistry::instance().frame("frm_dx");
    QCOMPARE(frame->pos(), QPoint(70, 51));
    frame->move(200, 150);
    main->trigger("gfsgdfgssd"); // already open: to the front, not moved
    QCOMPARE(frame->pos(), QPoint(200, 150));
    fx.close("frm_dx");
    main->trigger("gfsgdfgssd");
    QCOMPARE(shell::WindowRegistry::instance().frame("frm_dx")->pos(), QPoint(70, 51));
}

void TestListWindows::sameRowsAsOpenFinder()
{
    Fixture fx;
    fx.open("frm_suche");
    QWidget *list = fx.open("frm_liste");
    auto *grid = testsupport::child<QTableView>(list, "DataGrid1");
    QCOMPARE(grid->model()->rowCount(), 40);
    QCOMPARE(grid->model()->index(22, 4).data().toString(), QStringLiteral("27255"));
}

void TestListWindows::missingReferenceFile()
{
    Fixture fx;
    QVERIFY(QFile::remove(fx.path("Frequenzen.quorvel")));
    QWidget *list = fx.open("frm_liste");
    QVERIFY(list);
    QCOMPARE(fx.messages.size(), 1);
    QVERIFY(fx.messages[0].text.contains("Frequenzen.quorvel"));
    auto *grid = testsupport::child<QTableView>(list, "DataGrid1");
    QCOMPARE(grid->model()->rowCount(), 0);
    QCOMPARE(grid->model()->columnCount(), 11);
    fx.close("frm_liste");
    QVERIFY(!fx.isOpen("frm_liste"));
    QVERIFY(!QFile::exists(fx.path("Frequenzen.quorvel")));
}

QTEST_MAIN(TestListWindows)
#include "tst_list_windows.moc"
