#pragma once
#include <QString>
#include <QStringView>
#include <optional>

// Frequencies between the logbook's texts and ADIF, in whole hertz so that no digit is lost
// to floating point.
namespace exchange {

// A frequency as users type it into the logbook: "27,005", "27.005", "27005", "27,005 MHz",
// "14200 kHz". A bare number without a unit is taken in the unit (MHz, kHz or Hz) that puts it
// on a band (an amateur band, or the 11 m range of the CB radios); nullopt when none does.
std::optional<qint64> frequencyHz(QStringView text);

// ADIF's FREQ: megahertz with a decimal point ("27.005"); a decimal comma is tolerated.
std::optional<qint64> adifFrequencyHz(QStringView text);

// Megahertz with at least three decimals and no more than needed: "27.005", "7.0745".
QString mhzText(qint64 hz, QChar decimalSeparator);

// The ADIF band of a frequency ("20m", "70cm"); empty where there is none, as on 11 m CB.
QString adifBand(qint64 hz);

// A channel of the German 80-channel plan ("1" to "80") and its frequency.
std::optional<qint64> channelHz(QStringView channel);

} // namespace exchange
