#include "lists/ListWindow.h"
#include "shell/MainWindow.h"
#include "shell/WindowRegistry.h"
#include "support/WindowDriver.h"
#include "ui/DataGrid.h"

#include <QFile>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QToolTip>

using testsupport::Fixture;

class TestListWindows : public QObject {
    Q_OBJECT
private slots:
    void listWindows_data();
    void listWindows();
    void dxPlacesItselfOnEachLoad();
    void sameRowsAsOpenFinder();
    void missingReferenceFile();
    void gridsFitTheirContent_data();
    void gridsFitTheirContent();
    void cutCellsShowTheirText();
    void widthIsShared_data();
    void widthIsShared();
};

namespace {
// Opens a window inside a shown main window, so that its grid is laid out as the user sees it.
ui::DataGrid *shownGrid(Fixture &fx, const QString &window)
{
    shell::MainWindow *main = fx.mainWindow();
    main->resize(1280, 1000);
    main->show();
    if (!QTest::qWaitForWindowExposed(main))
        return nullptr;
    QWidget *w = fx.open(window);
    if (!w)
        return nullptr;
    shell::WindowRegistry::instance().frame(window)->move(0, 0);
    auto *grid = w->findChild<ui::DataGrid *>("DataGrid1");
    QCoreApplication::processEvents();
    return grid;
}
} // namespace

// clang-format off
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
// clang-format on

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
    const testsupport::Window list = w;
    QCOMPARE(list.headers(), headers);
    QTableView *grid = list.grid();
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

// clang-format off
void TestListWindows::gridsFitTheirContent_data()
{
    QTest::addColumn<QString>("window");
    for (const char *w : {"frm_liste", "frm_listeham", "frm_albrecht", "frm_listealbrechtallg", "frm_listepresident",
                          "frm_dx", "frm_prefix", "frm_locator", "frm_bos", "frm_flug"})
        QTest::newRow(w) << QString::fromLatin1(w);
}
// clang-format on

// Every header and every cell in view is shown whole, and the last column reaches the right edge.
void TestListWindows::gridsFitTheirContent()
{
    QFETCH(QString, window);
    Fixture fx;
    ui::DataGrid *grid = shownGrid(fx, window);
    QVERIFY(grid);
    QAbstractItemModel *model = grid->model();
    const int last = model->columnCount() - 1;
    for (int c = 0; c <= last; ++c) {
        QVERIFY2(grid->columnWidth(c) >= grid->horizontalHeader()->sectionSizeHint(c),
                 qPrintable(model->headerData(c, Qt::Horizontal).toString()));
        for (int r = std::max(0, grid->rowAt(0)); r <= grid->rowAt(grid->viewport()->height() - 1); ++r)
            QVERIFY2(!grid->isCut(model->index(r, c)), qPrintable(model->index(r, c).data().toString()));
    }
    QCOMPARE(grid->columnViewportPosition(last) + grid->columnWidth(last), grid->viewport()->width());
    QVERIFY(fx.messages.isEmpty());
}

// A column grows to the rows scrolled into view (and keeps that width when they scroll out again),
// but one very long value never pushes another column out of view: it is cut, and its full text
// is its tool tip. A cell shown whole has no tool tip.
void TestListWindows::cutCellsShowTheirText()
{
    Fixture fx;
    const QString endless = QString("Weltweit-").repeated(40);
    QVERIFY(testsupport::execSql(fx.path("Frequenzen.quorvel"),
                                 "insert into dxfreq select * from dxfreq; insert into dxfreq select * from dxfreq;"
                                 "insert into dxfreq values ('1,000 MHz', 'AMFMSSBCWRTTYPSKFT8', 'X');"
                                 "insert into dxfreq values ('2,000 MHz', '"
                                     + endless + "', 'Y');"));
    ui::DataGrid *grid = shownGrid(fx, "frm_dx");
    QVERIFY(grid);
    const auto toolTip = [grid](const QModelIndex &index) {
        const QPoint at = grid->visualRect(index).center();
        QHelpEvent help(QEvent::ToolTip, at, grid->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(grid->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    const int rows = grid->model()->rowCount();
    const QModelIndex longer = grid->model()->index(rows - 2, 1), longest = grid->model()->index(rows - 1, 1);
    QCOMPARE(toolTip(grid->model()->index(0, 1)), QString()); // the model offers one for every cell
    QVERIFY(grid->rowAt(grid->viewport()->height() - 1) < longer.row());
    QVERIFY(grid->isCut(longer));
    const int before = grid->columnWidth(1);
    grid->scrollToBottom();
    QVERIFY(!grid->isCut(longer));
    QCOMPARE(toolTip(longer), QString());
    QVERIFY(grid->isCut(longest));
    QCOMPARE(toolTip(longest), endless);
    const int last = grid->model()->columnCount() - 1;
    QVERIFY(grid->columnViewportPosition(last) + grid->horizontalHeader()->sectionSizeHint(last)
            <= grid->viewport()->width());
    QVERIFY(grid->horizontalScrollBar()->maximum() == 0);
    const int grown = grid->columnWidth(1);
    QVERIFY(grown > before);
    grid->scrollToTop();
    QCOMPARE(grid->columnWidth(1), grown);
}

// clang-format off
void TestListWindows::widthIsShared_data()
{
    QTest::addColumn<QList<int>>("wanted");
    QTest::addColumn<QList<int>>("least"); // the headers
    QTest::addColumn<int>("width");
    QTest::addColumn<QList<int>>("widths");
    QTest::newRow("all fit") << QList<int>{50, 80, 60} << QList<int>{30, 30, 30} << 400 << QList<int>{50, 80, 60};
    QTest::newRow("one far too wide") << QList<int>{50, 900, 60} << QList<int>{30, 30, 30} << 400
                                      << QList<int>{50, 290, 60};
    QTest::newRow("two too wide share the cap") << QList<int>{50, 900, 700, 40} << QList<int>{30, 30, 30, 40} << 500
                                                << QList<int>{50, 205, 205, 40};
    QTest::newRow("never below the header") << QList<int>{50, 900, 60} << QList<int>{30, 120, 200} << 300
                                            << QList<int>{50, 200, 200};
}
// clang-format on

void TestListWindows::widthIsShared()
{
    QFETCH(QList<int>, wanted);
    QFETCH(QList<int>, least);
    QFETCH(int, width);
    QFETCH(QList<int>, widths);
    const std::vector<int> shared =
        ui::DataGrid::shareWidth({wanted.begin(), wanted.end()}, {least.begin(), least.end()}, width);
    QCOMPARE(QList<int>(shared.begin(), shared.end()), widths);
}

QTEST_MAIN(TestListWindows)
#include "tst_list_windows.moc"
