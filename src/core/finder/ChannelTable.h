#pragma once
#include <QString>
#include <array>

namespace finder {

// One entry of a radio's built-in 80-channel table: key "1" to "80".
struct ChannelEntry {
    QString designation; // "1 d", "5 c", "--", "7 d (a)"
    QString frequency;   // "26.965" (entries 1-40), "26,565" (entries 41-80)
};

using ChannelTable = std::array<ChannelEntry, 80>;

// How an entry between two channels of the lower band is written.
enum class GapStyle {
    Dashes,      // "--"
    InBetweenOf, // "<channel below> <letter> (a)", the AE5800's in-between channels
};

// Entries 1-40: channel n of the standard band with letter `upper`; entries 41-80: the 10 kHz
// steps from 26.565 to 26.955 MHz, named by the channel of the band 450 kHz below (`lower`).
ChannelTable makeChannelTable(QChar upper, QChar lower, GapStyle gaps);

} // namespace finder
