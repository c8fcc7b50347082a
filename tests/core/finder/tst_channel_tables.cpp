#include "core/finder/FinderVariant.h"

#include <QTest>

namespace {
// The 80-channel table of the Midland Alan CB window, entry by entry as the radio's chart has it.
const char *const kSucheTable[80][2] = {
    {"1 d", "26.965"},  {"2 d", "26.975"},  {"3 d", "26.985"},  {"4 d", "27.005"},  {"5 d", "27.015"},
    {"6 d", "27.025"},  {"7 d", "27.035"},  {"8 d", "27.055"},  {"9 d", "27.065"},  {"10 d", "27.075"},
    {"11 d", "27.085"}, {"12 d", "27.105"}, {"13 d", "27.115"}, {"14 d", "27.125"}, {"15 d", "27.135"},
    {"16 d", "27.155"}, {"17 d", "27.165"}, {"18 d", "27.175"}, {"19 d", "27.185"}, {"20 d", "27.205"},
    {"21 d", "27.215"}, {"22 d", "27.225"}, {"23 d", "27.255"}, {"24 d", "27.235"}, {"25 d", "27.245"},
    {"26 d", "27.265"}, {"27 d", "27.275"}, {"28 d", "27.285"}, {"29 d", "27.295"}, {"30 d", "27.305"},
    {"31 d", "27.315"}, {"32 d", "27.325"}, {"33 d", "27.335"}, {"34 d", "27.345"}, {"35 d", "27.355"},
    {"36 d", "27.365"}, {"37 d", "27.375"}, {"38 d", "27.385"}, {"39 d", "27.395"}, {"40 d", "27.405"},
    {"5 c", "26,565"},  {"6 c", "26,575"},  {"7 c", "26,585"},  {"--", "26,595"},   {"8 c", "26,605"},
    {"9 c", "26,615"},  {"10 c", "26,625"}, {"11 c", "26,635"}, {"--", "26,645"},   {"12 c", "26,655"},
    {"13 c", "26,665"}, {"14 c", "26,675"}, {"15 c", "26,685"}, {"--", "26,695"},   {"16 c", "26,705"},
    {"17 c", "26,715"}, {"18 c", "26,725"}, {"19 c", "26,735"}, {"--", "26,745"},   {"20 c", "26,755"},
    {"21 c", "26,765"}, {"22 c", "26,775"}, {"24 c", "26,785"}, {"25 c", "26,795"}, {"23 c", "26,805"},
    {"26 c", "26,815"}, {"27 c", "26,825"}, {"28 c", "26,835"}, {"29 c", "26,845"}, {"30 c", "26,855"},
    {"31 c", "26,865"}, {"32 c", "26,875"}, {"33 c", "26,885"}, {"34 c", "26,895"}, {"35 c", "26,905"},
    {"36 c", "26,915"}, {"37 c", "26,925"}, {"38 c", "26,935"}, {"39 c", "26,945"}, {"40 c", "26,955"},
};

} // namespace

class TestChannelTables : public QObject {
    Q_OBJECT
private slots:
    void entries_data();
    void entries();
};

// clang-format off
void TestChannelTables::entries_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("designation");
    QTest::addColumn<QString>("frequency");
    for (int i = 0; i < 80; ++i)
        QTest::addRow("frm_suche %d", i + 1) << "frm_suche" << i + 1 << QString::fromLatin1(kSucheTable[i][0])
                                             << QString::fromLatin1(kSucheTable[i][1]);
    QTest::newRow("DEU 41") << "frm_frequenzsuche" << 41 << "5 C" << "26,565";
    QTest::newRow("DEU 44") << "frm_frequenzsuche" << 44 << "--" << "26,595";
    QTest::newRow("DEU 63") << "frm_frequenzsuche" << 63 << "24 C" << "26,785";
    QTest::newRow("AE5800 1") << "frm_suche_albrscht" << 1 << "1 e" << "26.965";
    QTest::newRow("AE5800 32") << "frm_suche_albrscht" << 32 << "32 e" << "27.325";
    QTest::newRow("AE5800 49") << "frm_suche_albrscht" << 49 << "11 d (a)" << "26,645";
    QTest::newRow("AE5800 54") << "frm_suche_albrscht" << 54 << "15 d (a)" << "26,695";
    QTest::newRow("AE5800 59") << "frm_suche_albrscht" << 59 << "19 d (a)" << "26,745";
    QTest::newRow("AE5800 65") << "frm_suche_albrscht" << 65 << "23 d" << "26,805";
    QTest::newRow("Albrecht 1") << "frm_suchealbrecht" << 1 << "1 e" << "26.965";
    QTest::newRow("Albrecht 44") << "frm_suchealbrecht" << 44 << "--" << "26,595";
    QTest::newRow("President 59") << "frm_suche_president" << 59 << "--" << "26,745";
}
// clang-format on

// The built-in table of each radio: the whole chart of the Midland Alan CB, the others where they
// differ from it (more entries as the finder windows show them: tst_finder).
void TestChannelTables::entries()
{
    QFETCH(QString, window);
    QFETCH(int, entry);
    QFETCH(QString, designation);
    QFETCH(QString, frequency);
    const auto &all = finder::allVariants();
    const auto v = std::find_if(all.begin(), all.end(), [&](const auto *v) { return window == v->name; });
    QVERIFY(v != all.end());
    QCOMPARE((*v)->channels[size_t(entry - 1)].designation, designation);
    QCOMPARE((*v)->channels[size_t(entry - 1)].frequency, frequency);
}

QTEST_GUILESS_MAIN(TestChannelTables)
#include "tst_channel_tables.moc"
