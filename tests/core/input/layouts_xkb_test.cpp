// The standard typewriter tables against the system's own keyboard descriptions (xkb-data),
// where they are installed: every Indic character xkb puts on a key's first two levels must be
// what our layout types there, except where we differ on purpose.

#include "core/app/file_io.h"
#include "core/app/unicode.h"
#include "typing_fixture.h"

#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <string>

namespace tarvellite::testing {
namespace {

// The xkb key names of the main block, in our key order.
const char *const xkbKeyNames[47] = {
    "TLDE", "AE01", "AE02", "AE03", "AE04", "AE05", "AE06", "AE07", "AE08", "AE09", "AE10", "AE11",
    "AE12", "AD01", "AD02", "AD03", "AD04", "AD05", "AD06", "AD07", "AD08", "AD09", "AD10", "AD11",
    "AD12", "BKSL", "AC01", "AC02", "AC03", "AC04", "AC05", "AC06", "AC07", "AC08", "AC09", "AC10",
    "AC11", "AB01", "AB02", "AB03", "AB04", "AB05", "AB06", "AB07", "AB08", "AB09", "AB10"};

// Devanagari's precomposed nukta letters, which we type as consonant and nukta.
std::u16string decomposed(char16_t c) {
    static const std::u16string bases = u"\u0915\u0916\u0917\u091C\u0921\u0922\u092B\u092F";
    if (c >= 0x0958 && c <= 0x095F)
        return {bases[c - 0x0958], u'\u093C'};
    return {c};
}

TEST(TypewriterLayouts, AgreeWithXkbData) {
    Result<Bytes> file = readWholeFile("/usr/share/X11/xkb/symbols/in", 1 << 22);
    if (!file)
        GTEST_SKIP() << "xkb-data is not installed";
    const std::string text(file->begin(), file->end());
    // Where we follow the standard rather than xkb: minus keeps "-" (Kannada, Telugu, with the
    // visarga on Shift) and Tamil InScript keeps "-" and "=" (xkb: ௱ ௲) and types the Tamil zero
    // on 0 (xkb: the sign for ten); Telugu has ఞ on Shift+] as the enhanced InScript; xkb's
    // Shift+B in Kannada is an unassigned code point.
    const std::set<std::string> exceptions = {"KN kan AE11 0", "TE tel AE11 0", "TE tel AD12 0",
                                              "KN kan AB05 1", "TA tam AE10 0", "TA tam AE11 0",
                                              "TA tam AE12 0"};
    const struct {
        const char *code, *section, *keyboard;
        int minimum;
    } sections[] = {{"HI", "deva", "InScript", 70},
                    {"KN", "kan", "InScript", 70},
                    {"TE", "tel", "InScript", 70},
                    {"TA", "tam", "InScript", 55},
                    {"TA", "tam_tamilnet", "Typewriter", 45},
                    {"ML", "mal", "InScript", 60}};
    const KeyboardTables &tables = shippedTables();
    for (const auto &s : sections) {
        const std::size_t begin = text.find("xkb_symbols \"" + std::string(s.section) + "\"");
        ASSERT_NE(begin, std::string::npos) << s.section;
        const std::string body = text.substr(begin, text.find("\n};", begin) - begin);
        const KBDDATA &keys = keyboardData(tables, s.code, s.keyboard);
        int compared = 0;
        for (int k = 0; k < 47; ++k) {
            const std::regex line("key <" + std::string(xkbKeyNames[k]) +
                                  R"(>\s*\{\s*\[([^\]]*)\])");
            std::smatch m;
            if (!std::regex_search(body, m, line))
                continue;
            const std::string levels = m[1];
            const std::regex symbol(R"([^,\s]+)");
            std::sregex_iterator it(levels.begin(), levels.end(), symbol);
            for (int layer = 0; layer < 2 && it != std::sregex_iterator(); ++layer, ++it) {
                const std::string sym = it->str();
                if (sym.size() != 5 || sym[0] != 'U')
                    continue;
                const auto unit = static_cast<char16_t>(std::stoul(sym.substr(1), nullptr, 16));
                if (unit < 0x0900 || unit > 0x0DFF)
                    continue;
                const std::string where = std::string(s.code) + " " + s.section + " " +
                                          xkbKeyNames[k] + " " + std::to_string(layer);
                if (exceptions.count(where))
                    continue;
                EXPECT_EQ(utf16ToUtf8(unitsOf(keys, layer, k)), utf16ToUtf8(decomposed(unit)))
                    << where;
                ++compared;
            }
        }
        EXPECT_GE(compared, s.minimum) << s.section;
    }
}

} // namespace
} // namespace tarvellite::testing
