#include "speech/SpeechTexts.h"

#include <cstring>

namespace speech {
namespace {

// clang-format off
constexpr Spoken kSpoken[] = {
    {"cmd_a", "A", "ALPHA"},      {"cmd_b", "B", "BRAVO"},   {"cmd_c", "C", "CHARLIE"},  {"cmd_d", "D", "DELTA"},
    {"cmd_e", "E", "ECHO"},       {"cmd_f", "F", "FOXdROd"}, {"cmd_g", "G", "GOLF"},     {"cmd_h", "H", "hotel"},
    {"cmd_i", "I", "INDIA"},      {"cmd_j", "J", "JULIET"},  {"cmd_k", "K", "KILO"},     {"cmd_l", "L", "LIMA"},
    {"cmd_m", "M", "MIKE"},       {"cmd_n", "N", "NOVEMBER"}, {"cmd_o", "O", "OSCAR"},   {"cmd_p", "P", "PAPA"},
    {"cmd_q", "Q", "QUEBEC"},     {"cmd_r", "R", "ROMEO"},   {"cmd_s", "S", "SIERRA"},   {"cmd_t", "T", "TANGO"},
    {"cmd_u", "U", "UNIFORM"},    {"cmd_v", "V", "VICTOR"},  {"cmd_w", "W", "WHISKEY"},  {"cmd_x", "X", "X-RAY"},
    {"cmd_y", "Y", "YANKEE"},     {"cmd_z", "Z", "ZULU"},
    {"cmd_null", "0", "0"},       {"cmd_eins", "1", "1"},    {"cmd_zwei", "2", "2"},     {"cmd_drei", "3", "3"},
    {"cmd_vier", "4", "4"},       {"cmd_funf", "5", "5"},    {"cmd_sechs", "6", "6"},    {"cmd_sieben", "7", "7"},
    {"cmd_acht", "8", "8"},       {"cmd_neun", "9", "9"},    {"cmd_dot", ".", "DOT"},
    {"cmd_cq", "CQ", "c q. c q. d x! this is german station!"},
    {"cmd_dx", "DX", "calling for d x! and standing by!"},
    {"cmd_this", "THIS IS", "This is."},
    {"cmd_station", "Station", "Station!"},
    {"cmd_germany", "German", "German!"},
    {"cmd_germanb", "Germany", "Germany!"},
    {"cmd_callsign", "CallSign", "My Callsign. is"},
    {"cmd_name", "Name", "My Name is"},
    {"cmd_street", "Straße", "My Streetname is!"},
    {"cmd_cp", "PLZ", "My Charlie Papa is!"},
    {"cmd_ort", "ORT", "My Cityname is!"},
    {"cmd_khz", "Change Frequenzy", "Could we change the Frequenzy to!"},
    {"cmd_copy", "Copy?", "Do You Copy my Friend?"},
    {"cmd_repeat", "Repeat", "Please Repeat!"},
    {"Command2", "OK! Here comes my adress", "OK! Here comes my adress"},
    {"Command3", "Thank your for this nice QSO",
     "Thank you for this nice Q S O? Best wishes to you and your family! Bye bye"},
};
// clang-format on

// clang-format off
constexpr Spelling kSpelling[26] = {
    {"Label1", "Alpha"},   {"Label7", "Bravo"},   {"Label13", "Charlie"}, {"Label19", "Delta"},
    {"Label25", "Echo"},   {"Label2", "Foxtrott"}, {"Label8", "Golf"},    {"Label14", "Hotel"},
    {"Label20", "India"},  {"Label26", "Juliet"}, {"Label3", "Kilo"},     {"Label9", "Lima"},
    {"Label15", "Mike"},   {"Label21", "November"}, {"Label24", "Oscar"}, {"Label4", "Papa"},
    {"Label10", "Quebec"}, {"Label16", "Romeo"},  {"Label22", "Sierra"},  {"Label18", "Tango"},
    {"Label5", "Uniform"}, {"Label11", "Victor"}, {"Label17", "Whisky"},  {"Label23", "X-Ray"},
    {"Label12", "Yankee"}, {"Label6", "Zulu"},
};
// clang-format on

} // namespace

std::span<const Spoken> spokenButtons() { return kSpoken; }

const Spoken *spoken(const char *name)
{
    for (const Spoken &s : kSpoken)
        if (std::strcmp(s.name, name) == 0)
            return &s;
    return nullptr;
}

std::span<const Spelling, 26> spellingWords() { return kSpelling; }

} // namespace speech
