#pragma once
#include <array>

// The 40 channels of the German/European CB allocation (26.965 to 27.405 MHz) in kHz, in
// channel order. Gaps after channels 3, 7, 11, 15 and 19; channels 23, 24, 25 out of order.
// Every other band of a radio is this raster moved by whole 450 kHz steps.
namespace finder {

constexpr std::array<int, 40> kCbChannelKHz = {
    26965, 26975, 26985, 27005, 27015, 27025, 27035, 27055, 27065, 27075, //  1-10
    27085, 27105, 27115, 27125, 27135, 27155, 27165, 27175, 27185, 27205, // 11-20
    27215, 27225, 27255, 27235, 27245, 27265, 27275, 27285, 27295, 27305, // 21-30
    27315, 27325, 27335, 27345, 27355, 27365, 27375, 27385, 27395, 27405, // 31-40
};

constexpr int kBandStepKHz = 450;

} // namespace finder
