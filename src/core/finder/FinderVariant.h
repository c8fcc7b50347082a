#pragma once
#include "core/data/Query.h"
#include "core/finder/ChannelTable.h"

#include <QString>
#include <vector>

namespace finder {

// Everything in which the six finder windows differ. One const instance per radio model.
struct FinderVariant {
    const char *name; // window name
    QString caption;
    QString frame2Caption;    // the 80-channel panel
    QString label8Caption;    // caption above the band letter
    data::Query designSource; // record source when the window loads
    QString searchTable;      // table of the frequency search, as written in its queries
    QString lookupTable;      // table of the channel-and-band lookup
    QString bands;            // band letters in search order
    int minKHz;               // accepted range of the frequency search
    int maxKHz;
    QString rangeMessage;
    int maxChannel;        // accepted channels of the channel-and-band lookup
    int shiftKHz;          // radio frequency = table frequency - shift
    ChannelTable channels; // the built-in 80-channel table
    bool channelPanelOnTop;
    bool wideOutputs; // room for designations like "19 d (a)"
};

const FinderVariant &sucheVariant();          // frm_suche, Midland Alan CB
const FinderVariant &frequenzsucheVariant();  // frm_frequenzsuche, CB 1-80 DEU
const FinderVariant &sucheHamVariant();       // frm_sucheHAM, Midland Alan HAM
const FinderVariant &sucheAlbrschtVariant();  // frm_suche_albrscht, Albrecht AE5800
const FinderVariant &sucheAlbrechtVariant();  // frm_suchealbrecht, Albrecht general
const FinderVariant &suchePresidentVariant(); // frm_suche_president, President Jackson

const std::vector<const FinderVariant *> &allVariants();

} // namespace finder
