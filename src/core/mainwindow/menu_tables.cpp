#include "core/mainwindow/menu_tables.h"

#include <algorithm>
#include <array>

namespace tarvellite {

namespace {

std::vector<NamedColour> makeShades() {
    constexpr Rgb rows[themeShadeRows][10] = {
        {{242, 242, 242},
         {127, 127, 127},
         {214, 212, 202},
         {210, 218, 229},
         {217, 228, 240},
         {244, 219, 218},
         {234, 241, 221},
         {229, 223, 235},
         {216, 237, 242},
         {255, 234, 218}},
        {{215, 215, 215},
         {89, 89, 89},
         {177, 176, 167},
         {161, 180, 201},
         {179, 202, 226},
         {233, 184, 182},
         {213, 226, 188},
         {203, 191, 215},
         {176, 220, 231},
         {255, 212, 181}},
        {{190, 190, 190},
         {65, 65, 65},
         {118, 117, 112},
         {115, 143, 175},
         {143, 177, 213},
         {222, 149, 147},
         {192, 213, 155},
         {177, 160, 197},
         {137, 203, 218},
         {255, 191, 145}},
        {{163, 163, 163},
         {42, 42, 42},
         {61, 61, 59},
         {20, 57, 92},
         {54, 96, 139},
         {149, 63, 60},
         {114, 139, 71},
         {97, 76, 119},
         {41, 128, 146},
         {190, 112, 59}},
        {{126, 126, 126},
         {20, 20, 20},
         {29, 29, 28},
         {17, 40, 64},
         {38, 66, 94},
         {100, 44, 43},
         {77, 93, 49},
         {67, 53, 81},
         {31, 86, 99},
         {126, 77, 42}},
    };
    // Column 1 (white) darkens, column 2 (black) lightens, column 3 (tan) darkens further; the
    // seven colour columns run from light to dark.
    constexpr const char *suffixes[4][themeShadeRows] = {
        {"Darker 5%", "Darker 15%", "Darker 25%", "Darker 35%", "Darker 50%"},
        {"Lighter 50%", "Lighter 35%", "Lighter 25%", "Lighter 15%", "Lighter 5%"},
        {"Darker 10%", "Darker 25%", "Darker 35%", "Darker 50%", "Darker 90%"},
        {"Lighter 80%", "Lighter 60%", "Lighter 40%", "Darker 25%", "Darker 50%"},
    };
    const std::vector<NamedColour> &theme = themeColourTable();
    std::vector<NamedColour> shades;
    for (int row = 0; row < themeShadeRows; ++row)
        for (int column = 0; column < 10; ++column)
            shades.push_back({rows[row][column], theme[std::size_t(column)].name + ", " +
                                                     suffixes[std::min(column, 3)][row]});
    return shades;
}

constexpr std::array<LocaleName, 21> locales = {{
    {"en-AU", "English (Australia)"},     {"en-CA", "English (Canada)"},
    {"en-IN", "English (India)"},         {"en-SG", "English (Singapore)"},
    {"en-MY", "English (Malaysia)"},      {"en-NZ", "English (New Zealand)"},
    {"en-ZA", "English (South Africa)"},  {"en-GB", "English (United Kingdom)"},
    {"en-US", "English (United States)"}, {"gu-IN", "Gujarati (India)"},
    {"hi-IN", "Hindi (India)"},           {"kn-IN", "Kannada (India)"},
    {"ml-IN", "Malayalam (India)"},       {"mr-IN", "Marathi (India)"},
    {"or-IN", "Oriya (India)"},           {"pa-IN", "Punjabi (India)"},
    {"sa-IN", "Sanskrit (India)"},        {"si-LK", "Sinhala (Sri Lanka)"},
    {"ta-IN", "Tamil (India)"},           {"ta-LK", "Tamil (Sri Lanka)"},
    {"te-IN", "Telugu (India)"},
}};

} // namespace

const std::vector<NamedColour> &themeColourTable() {
    static const std::vector<NamedColour> table = {
        {{255, 255, 255}, "White, Background 1"},  {{0, 0, 0}, "Black, Text 1"},
        {{238, 236, 225}, "Tan, Background 2"},    {{31, 73, 125}, "Dark Blue, Text 2"},
        {{79, 129, 189}, "Blue, Accent 1"},        {{192, 80, 77}, "Red, Accent 2"},
        {{155, 187, 89}, "Olive Green, Accent 3"}, {{128, 100, 162}, "Purple, Accent 4"},
        {{75, 172, 198}, "Aqua, Accent 5"},        {{245, 150, 70}, "Orange, Accent 6"},
    };
    return table;
}

const std::vector<NamedColour> &themeShadeTable() {
    static const std::vector<NamedColour> table = makeShades();
    return table;
}

const std::vector<NamedColour> &standardColourTable() {
    static const std::vector<NamedColour> table = {
        {{200, 15, 18}, "Dark Red"},   {{255, 20, 24}, "Red"},          {{255, 191, 40}, "Orange"},
        {{255, 255, 49}, "Yellow"},    {{138, 207, 87}, "Light Green"}, {{0, 175, 84}, "Green"},
        {{0, 174, 238}, "Light Blue"}, {{0, 111, 189}, "Blue"},         {{0, 36, 95}, "Black"},
        {{114, 50, 157}, "Purple"},
    };
    return table;
}

std::vector<NamedColour> initialRecentColours() {
    return {themeColourTable()[0], themeColourTable()[1]};
}

std::string paletteColourName(Rgb rgb) {
    for (const std::vector<NamedColour> *table :
         {&themeColourTable(), &themeShadeTable(), &standardColourTable()})
        for (const NamedColour &entry : *table)
            if (entry.rgb == rgb)
                return entry.name;
    return {};
}

std::span<const LocaleName> localeTable() {
    return locales;
}

std::string_view localeDisplayName(std::string_view code) {
    for (const LocaleName &locale : locales)
        if (locale.code == code)
            return locale.displayName;
    return {};
}

int dictionaryMenuId(int index) {
    const int id = firstDictionaryMenuId + index;
    return index >= 0 && id <= lastDictionaryMenuId ? id : 0;
}

int languageMenuId(int language) {
    return language >= 0 && language < firstKeyboardMenuId - firstLanguageMenuId
               ? firstLanguageMenuId + language
               : 0;
}

int keyboardMenuId(int language, int keyboard) {
    if (language < 0 || keyboard < 0 || keyboard >= 10)
        return 0;
    const int id = firstKeyboardMenuId + 10 * language + keyboard;
    return id <= lastKeyboardMenuId ? id : 0;
}

std::optional<KeyboardMenuEntry> decodeKeyboardMenuId(int id) {
    if (id < firstLanguageMenuId || id > lastKeyboardMenuId)
        return std::nullopt;
    if (id < firstKeyboardMenuId)
        return KeyboardMenuEntry{id - firstLanguageMenuId, -1};
    const int n = id - firstKeyboardMenuId;
    return KeyboardMenuEntry{n / 10, n % 10};
}

} // namespace tarvellite
