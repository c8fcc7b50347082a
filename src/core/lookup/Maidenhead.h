#pragma once
#include <cmath>
#include <string>

// Maidenhead locator of a point (WGS84 degrees), six characters: field (A-R), square (0-9),
// subsquare (A-X), e.g. Berlin 52.52 N 13.405 E -> JO62QM.
inline std::string maidenheadLocator(double lat, double lon)
{
    const double x = lon + 180.0, y = lat + 90.0;
    std::string loc(6, ' ');
    loc[0] = char('A' + int(x / 20));
    loc[1] = char('A' + int(y / 10));
    loc[2] = char('0' + int(std::fmod(x, 20) / 2));
    loc[3] = char('0' + int(std::fmod(y, 10)));
    loc[4] = char('A' + int(std::fmod(x, 2) * 12));
    loc[5] = char('A' + int(std::fmod(y, 1) * 24));
    return loc;
}
