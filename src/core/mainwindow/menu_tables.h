#pragma once

// The fixed tables behind the main window's drop-down menus: the colour palettes of the text
// and background colour buttons, the display names of dictionary locales, and the command ids
// of the Dictionary and Keyboard drop-downs' entries.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvellite {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb &, const Rgb &) = default;
};

/// A palette entry: its colour and the name shown as its tooltip.
struct NamedColour {
    Rgb rgb;
    std::string name;
};

/// "Theme Colors": ten colours, one per column of the palette.
const std::vector<NamedColour> &themeColourTable();
/// The shades of the theme colours: 5 rows of 10, row by row; column c holds shades of theme
/// colour c, named after it ("Dark Blue, Text 2, Lighter 80%").
const std::vector<NamedColour> &themeShadeTable();
inline constexpr int themeShadeRows = 5;
/// "Standard Colors".
const std::vector<NamedColour> &standardColourTable();
/// What "Recent Colors" holds before any colour was applied: white and black.
std::vector<NamedColour> initialRecentColours();
/// The most colours "Recent Colors" keeps; the oldest go first.
inline constexpr std::size_t recentColourLimit = 10;

/// The name of `rgb` in the theme, shade or standard table (the first found), else empty.
std::string paletteColourName(Rgb rgb);

/// A dictionary locale: its code ("ta-IN") and English display name ("Tamil (India)").
struct LocaleName {
    std::string_view code;
    std::string_view displayName;
};
/// The locales whose dictionaries are listed under a display name, 21 entries.
std::span<const LocaleName> localeTable();
/// The display name of `code` (compared exactly), or empty when it is not in the table.
std::string_view localeDisplayName(std::string_view code);

// The Dictionary drop-down's entries are commands 299 … 314, one per installed dictionary in
// the registry's order. The Keyboard drop-down's languages are 32901 … 32910 and the keyboard
// j of language i is 32911 + 10·i + j (up to 33000). Entries beyond these ranges have no
// command id; the menus carry every entry's index with the entry itself, so any number works.
inline constexpr int firstDictionaryMenuId = 299;
inline constexpr int lastDictionaryMenuId = 314;
inline constexpr int firstLanguageMenuId = 32901;
inline constexpr int firstKeyboardMenuId = 32911;
inline constexpr int lastKeyboardMenuId = 33000;

/// The command id of dictionary entry `index`, or 0 when it has none.
int dictionaryMenuId(int index);
/// The command id of language entry `language`, or 0.
int languageMenuId(int language);
/// The command id of keyboard `keyboard` (relative to its language) of `language`, or 0.
int keyboardMenuId(int language, int keyboard);

struct KeyboardMenuEntry {
    int language = -1;
    /// -1 for a language entry.
    int keyboard = -1;
    friend bool operator==(const KeyboardMenuEntry &, const KeyboardMenuEntry &) = default;
};
/// What a Keyboard drop-down command id names, or nothing outside 32901 … 33000.
std::optional<KeyboardMenuEntry> decodeKeyboardMenuId(int id);

} // namespace tarvellite
