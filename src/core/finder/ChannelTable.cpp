#include "core/finder/ChannelTable.h"

#include "core/finder/CbRaster.h"

namespace finder {
namespace {
QString mhz(int khz, QChar separator)
{
    return QString::number(khz / 1000) + separator + QStringLiteral("%1").arg(khz % 1000, 3, 10, QChar(u'0'));
}

int channelOn(int khz) // channel number of the standard band on this frequency, 0 if none
{
    for (size_t i = 0; i < kCbChannelKHz.size(); ++i)
        if (kCbChannelKHz[i] == khz)
            return int(i) + 1;
    return 0;
}
} // namespace

ChannelTable makeChannelTable(QChar upper, QChar lower, GapStyle gaps)
{
    ChannelTable table;
    for (int n = 1; n <= 40; ++n)
        table[size_t(n - 1)] = {QStringLiteral("%1 %2").arg(n).arg(upper), mhz(kCbChannelKHz[size_t(n - 1)], u'.')};
    for (int i = 0; i < 40; ++i) {
        const int khz = 26565 + 10 * i;
        const int channel = channelOn(khz + kBandStepKHz);
        QString designation;
        if (channel)
            designation = QStringLiteral("%1 %2").arg(channel).arg(lower);
        else if (gaps == GapStyle::Dashes)
            designation = QStringLiteral("--");
        else
            designation = QStringLiteral("%1 %2 (a)").arg(channelOn(khz - 10 + kBandStepKHz)).arg(lower);
        table[size_t(40 + i)] = {designation, mhz(khz, u',')};
    }
    return table;
}

} // namespace finder
