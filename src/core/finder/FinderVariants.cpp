#include "core/finder/FinderVariant.h"

namespace finder {
namespace {
const QString kRange25615to30105 = QStringLiteral("Bitte Frequenz zwischen 25.615MHz & 30.105MHz eingeben");
const QString kUmbauBands = QStringLiteral("ABCDEFGHIL");
const QString kAlbrechtBands = QStringLiteral("ABCDEFGHIJ");
} // namespace

const FinderVariant &sucheVariant()
{
    static const FinderVariant v{
        .name = "frm_suche",
        .caption = QStringLiteral("-*Frequenz & Kanalsuche MIDLAND ALAN  CB Version*- FM/AM"),
        .frame2Caption = QStringLiteral("Kanal 1 - 80 suhen"),
        .label8Caption = QStringLiteral("Band (a - i)"),
        .designSource = data::Query(QStringLiteral("umbau"), data::Query::From::Bare),
        .searchTable = QStringLiteral("Umbau"),
        .lookupTable = QStringLiteral("Umbau"),
        .bands = kUmbauBands,
        .minKHz = 25615,
        .maxKHz = 30105,
        .rangeMessage = kRange25615to30105,
        .maxChannel = 40,
        .shiftKHz = 0,
        .channels = makeChannelTable(u'd', u'c', GapStyle::Dashes),
        .channelPanelOnTop = false,
        .wideOutputs = false,
    };
    return v;
}

const FinderVariant &frequenzsucheVariant()
{
    static const FinderVariant v{
        .name = "frm_frequenzsuche",
        .caption = QStringLiteral("-*Frequenzsuche CB KANAL 1 - 80 DEU*-"),
        .frame2Caption = QStringLiteral("Kanal 1 - 80"),
        .label8Caption = QStringLiteral("Band"),
        .designSource = data::Query(QStringLiteral("umbau"), data::Query::From::Bare),
        .searchTable = QStringLiteral("Umbau"),
        .lookupTable = QStringLiteral("Umbau"),
        .bands = kUmbauBands,
        .minKHz = 25615,
        .maxKHz = 30105,
        .rangeMessage = kRange25615to30105,
        .maxChannel = 40,
        .shiftKHz = 0,
        .channels = makeChannelTable(u'D', u'C', GapStyle::Dashes),
        .channelPanelOnTop = true,
        .wideOutputs = false,
    };
    return v;
}

const FinderVariant &sucheHamVariant()
{
    static const FinderVariant v{
        .name = "frm_sucheHAM",
        .caption = QStringLiteral("-*Frequenz & Kanalsuche MIDLAND ALAN HAM Version*- FM/AM"),
        .frame2Caption = QStringLiteral("Kanal 1 - 80 suhen"),
        .label8Caption = QStringLiteral("Band"),
        .designSource = data::Query(QStringLiteral("umbau"), data::Query::From::Bare),
        .searchTable = QStringLiteral("Umbau"),
        .lookupTable = QStringLiteral("Umbau"),
        .bands = kUmbauBands,
        .minKHz = 25610,
        .maxKHz = 30100,
        .rangeMessage = QStringLiteral("Bitte Frequenz zwischen 25.610MHz & 30.100MHz eingeben"),
        .maxChannel = 40,
        .shiftKHz = 5,
        .channels = makeChannelTable(u'd', u'c', GapStyle::Dashes),
        .channelPanelOnTop = false,
        .wideOutputs = false,
    };
    return v;
}

const FinderVariant &sucheAlbrschtVariant()
{
    static const FinderVariant v{
        .name = "frm_suche_albrscht",
        .caption = QStringLiteral("Frequenzsuche Albrecht AE5800 454CH AM/FM/SSB"),
        .frame2Caption = QStringLiteral("Kanal 1 - 80 suhen"),
        .label8Caption = QStringLiteral("Band"),
        .designSource = data::Query(QStringLiteral("albrecht"), data::Query::From::Bare),
        .searchTable = QStringLiteral("albrecht2"),
        .lookupTable = QStringLiteral("albrecht"),
        .bands = kAlbrechtBands,
        .minKHz = 25160,
        .maxKHz = 30100,
        .rangeMessage = QStringLiteral("Bitte Frequenz zwischen 25.160MHz & 30.100MHz eingeben"),
        .maxChannel = 44,
        .shiftKHz = 0,
        .channels = makeChannelTable(u'e', u'd', GapStyle::InBetweenOf),
        .channelPanelOnTop = false,
        .wideOutputs = true,
    };
    return v;
}

const FinderVariant &sucheAlbrechtVariant()
{
    static const FinderVariant v{
        .name = "frm_suchealbrecht",
        .caption = QStringLiteral("Frequenzsuche Albrecht allgemein"),
        .frame2Caption = QStringLiteral("Kanal 1 - 80 suhen"),
        .label8Caption = QStringLiteral("Band"),
        .designSource = data::Query(QStringLiteral("albrechtallg"), data::Query::From::Bare),
        .searchTable = QStringLiteral("albrechtallg"),
        .lookupTable = QStringLiteral("albrechtallg"),
        .bands = kAlbrechtBands,
        .minKHz = 25615,
        .maxKHz = 30105,
        .rangeMessage = kRange25615to30105,
        .maxChannel = 40,
        .shiftKHz = 0,
        .channels = makeChannelTable(u'e', u'd', GapStyle::Dashes),
        .channelPanelOnTop = false,
        .wideOutputs = false,
    };
    return v;
}

const FinderVariant &suchePresidentVariant()
{
    static const FinderVariant v{
        .name = "frm_suche_president",
        .caption = QStringLiteral("Frequenzsuche President Jackson"),
        .frame2Caption = QStringLiteral("Kanal 1 - 80 suhen"),
        .label8Caption = QStringLiteral("Band (a - i)"),
        .designSource = data::Query(QStringLiteral("president"), data::Query::From::Bare),
        .searchTable = QStringLiteral("president"),
        .lookupTable = QStringLiteral("president"),
        .bands = QStringLiteral("ABCDEF"),
        .minKHz = 25615,
        .maxKHz = 28305,
        .rangeMessage = QStringLiteral("Bitte Frequenz zwischen 25.615MHz & 28.305MHz eingeben"),
        .maxChannel = 40,
        .shiftKHz = 0,
        .channels = makeChannelTable(u'd', u'c', GapStyle::Dashes),
        .channelPanelOnTop = false,
        .wideOutputs = false,
    };
    return v;
}

const std::vector<const FinderVariant *> &allVariants()
{
    static const std::vector<const FinderVariant *> all = {&sucheVariant(),         &frequenzsucheVariant(),
                                                           &sucheHamVariant(),      &sucheAlbrschtVariant(),
                                                           &sucheAlbrechtVariant(), &suchePresidentVariant()};
    return all;
}

} // namespace finder
