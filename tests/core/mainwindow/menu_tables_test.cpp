#include "core/mainwindow/menu_tables.h"

#include <gtest/gtest.h>
#include <set>

using namespace tarvellite;

TEST(MenuTables, PaletteSizesAndNames) {
    ASSERT_EQ(themeColourTable().size(), 10u);
    ASSERT_EQ(themeShadeTable().size(), 50u);
    ASSERT_EQ(standardColourTable().size(), 10u);
    // Row by row: a shade's name is its column's theme colour with the column's suffix.
    const struct {
        int row, column;
        Rgb rgb;
        const char *name;
    } cases[] = {
        {0, 3, {210, 218, 229}, "Dark Blue, Text 2, Lighter 80%"},
        {4, 0, {126, 126, 126}, "White, Background 1, Darker 50%"},
        {0, 1, {127, 127, 127}, "Black, Text 1, Lighter 50%"},
        {4, 1, {20, 20, 20}, "Black, Text 1, Lighter 5%"},
        {4, 2, {29, 29, 28}, "Tan, Background 2, Darker 90%"},
        {3, 5, {149, 63, 60}, "Red, Accent 2, Darker 25%"},
        {2, 6, {192, 213, 155}, "Olive Green, Accent 3, Lighter 40%"},
        {4, 9, {126, 77, 42}, "Orange, Accent 6, Darker 50%"},
    };
    for (const auto &c : cases) {
        const NamedColour &shade = themeShadeTable()[std::size_t(c.row * 10 + c.column)];
        EXPECT_EQ(shade.rgb, c.rgb) << c.name;
        EXPECT_EQ(shade.name, c.name);
    }
    EXPECT_EQ(standardColourTable()[8].name, "Black");
    EXPECT_EQ(standardColourTable()[8].rgb, (Rgb{0, 36, 95}));
    const std::vector<NamedColour> recent = initialRecentColours();
    ASSERT_EQ(recent.size(), 2u);
    EXPECT_EQ(recent[0].name, "White, Background 1");
    EXPECT_EQ(recent[1].rgb, (Rgb{0, 0, 0}));
    EXPECT_EQ(paletteColourName({31, 73, 125}), "Dark Blue, Text 2");
    EXPECT_EQ(paletteColourName({1, 2, 3}), "");
}

TEST(MenuTables, LocaleNames) {
    std::set<std::string_view> codes;
    for (const LocaleName &locale : localeTable())
        codes.insert(locale.code);
    EXPECT_EQ(codes.size(), 21u);
    const std::pair<const char *, const char *> cases[] = {
        {"ta-IN", "Tamil (India)"},
        {"ta-LK", "Tamil (Sri Lanka)"},
        {"si-LK", "Sinhala (Sri Lanka)"},
        {"or-IN", "Oriya (India)"},
        {"en-GB", "English (United Kingdom)"},
        {"en-IN", "English (India)"},
        {"ta", ""},
        {"TA-IN", ""},
        {"ta-IN-x", ""},
        {"", ""},
    };
    for (const auto &[code, name] : cases)
        EXPECT_EQ(localeDisplayName(code), name) << code;
}

TEST(MenuTables, DropDownIds) {
    // Three languages of two keyboards each: 32901 … 32903 and 32911, 32912, 32921, …, 32932.
    const struct {
        int id;
        int language, keyboard;
    } entries[] = {
        {32901, 0, -1}, {32903, 2, -1}, {32910, 9, -1}, {32911, 0, 0},
        {32912, 0, 1},  {32922, 1, 1},  {32932, 2, 1},  {33000, 8, 9},
    };
    for (const auto &e : entries) {
        EXPECT_EQ(decodeKeyboardMenuId(e.id), (KeyboardMenuEntry{e.language, e.keyboard})) << e.id;
        EXPECT_EQ(e.keyboard < 0 ? languageMenuId(e.language)
                                 : keyboardMenuId(e.language, e.keyboard),
                  e.id);
    }
    for (int outside : {32900, 33001, 0})
        EXPECT_FALSE(decodeKeyboardMenuId(outside)) << outside;
    // Beyond the scheme an entry has no id (its menu still carries its index).
    EXPECT_EQ(languageMenuId(10), 0);
    EXPECT_EQ(keyboardMenuId(0, 10), 0);
    EXPECT_EQ(keyboardMenuId(9, 0), 0);
    EXPECT_EQ(dictionaryMenuId(0), 299);
    EXPECT_EQ(dictionaryMenuId(15), 314);
    EXPECT_EQ(dictionaryMenuId(16), 0);
    EXPECT_EQ(dictionaryMenuId(-1), 0);
}
