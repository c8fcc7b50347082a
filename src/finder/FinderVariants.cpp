#include "finder/FinderVariant.h"

namespace finder {
namespace {
const QString kRange25615to30105 = QStringLiteral("Bitte Frequenz zwischen 25.615MHz & 30.105MHz eingeben");
const QString kUmbauBands = QStringLiteral("ABCDEFGHIL");
const QString kAlbrechtBands = QStringLiteral("ABCDEFGHIJ");
} // namespace

const FinderVariant &sucheVariant()
{
    static const FinderVariant v{
        "frm_suche",
        QStringLiteral("-*Frequenz & Kanalsuche MIDLAND ALAN  CB Version*- FM/AM"),
        QStringLiteral("Kanal 1 - 80 suhen"),
        QStringLiteral("Band (a - i)"),
        QStringLiteral("select * from umbau"),
        QStringLiteral("Umbau"),
        QStringLiteral("Umbau"),
        kUmbauBands,
        25615, 30105, kRange25615to30105,
        40, 0,
        makeChannelTable(u'd', u'c', GapStyle::Dashes),
        false, false};
    return v;
}

const FinderVariant &frequenzsucheVariant()
{
    static const FinderVariant v{
        "frm_frequenzsuche",
        QStringLiteral("-*Frequenzsuche CB KANAL 1 - 80 DEU*-"),
        QStringLiteral("Kanal 1 - 80"),
        QStringLiteral("Band"),
        QStringLiteral("select * from umbau"),
        QStringLiteral("Umbau"),
        QStringLiteral("Umbau"),
        kUmbauBands,
        25615, 30105, kRange25615to30105,
        40, 0,
        makeChannelTable(u'D', u'C', GapStyle::Dashes),
        true, false};
    return v;
}

const FinderVariant &sucheHamVariant()
{
    static const FinderVariant v{
        "frm_sucheHAM",
        QStringLiteral("-*Frequenz & Kanalsuche MIDLAND ALAN HAM Version*- FM/AM"),
        QStringLiteral("Kanal 1 - 80 suhen"),
        QStringLiteral("Band"),
        QStringLiteral("select * from umbau"),
        QStringLiteral("Umbau"),
        QStringLiteral("Umbau"),
        kUmbauBands,
        25610, 30100, QStringLiteral("Bitte Frequenz zwischen 25.610MHz & 30.100MHz eingeben"),
        40, 5,
        makeChannelTable(u'd', u'c', GapStyle::Dashes),
        false, false};
    return v;
}

const FinderVariant &sucheAlbrschtVariant()
{
    static const FinderVariant v{
        "frm_suche_albrscht",
        QStringLiteral("Frequenzsuche Albrecht AE5800 454CH AM/FM/SSB"),
        QStringLiteral("Kanal 1 - 80 suhen"),
        QStringLiteral("Band"),
        QStringLiteral("select * from albrecht"),
        QStringLiteral("albrecht2"),
        QStringLiteral("albrecht"),
        kAlbrechtBands,
        25160, 30100, QStringLiteral("Bitte Frequenz zwischen 25.160MHz & 30.100MHz eingeben"),
        44, 0,
        makeChannelTable(u'e', u'd', GapStyle::InBetweenOf),
        false, true};
    return v;
}

const FinderVariant &sucheAlbrechtVariant()
{
    static const FinderVariant v{
        "frm_suchealbrecht",
        QStringLiteral("Frequenzsuche Albrecht allgemein"),
        QStringLiteral("Kanal 1 - 80 suhen"),
        QStringLiteral("Band"),
        QStringLiteral("select * from albrechtallg"),
        QStringLiteral("albrechtallg"),
        QStringLiteral("albrechtallg"),
        kAlbrechtBands,
        25615, 30105, kRange25615to30105,
        40, 0,
        makeChannelTable(u'e', u'd', GapStyle::Dashes),
        false, false};
    return v;
}

const FinderVariant &suchePresidentVariant()
{
    static const FinderVariant v{
        "frm_suche_president",
        QStringLiteral("Frequenzsuche President Jackson"),
        QStringLiteral("Kanal 1 - 80 suhen"),
        QStringLiteral("Band (a - i)"),
        QStringLiteral("select * from president"),
        QStringLiteral("president"),
        QStringLiteral("president"),
        QStringLiteral("ABCDEF"),
        25615, 28305, QStringLiteral("Bitte Frequenz zwischen 25.615MHz & 28.305MHz eingeben"),
        40, 0,
        makeChannelTable(u'd', u'c', GapStyle::Dashes),
        false, false};
    return v;
}

const std::vector<const FinderVariant *> &allVariants()
{
    static const std::vector<const FinderVariant *> all = {
        &sucheVariant(),         &frequenzsucheVariant(), &sucheHamVariant(),
        &sucheAlbrschtVariant(), &sucheAlbrechtVariant(), &suchePresidentVariant()};
    return all;
}

} // namespace finder
