#include "core/spelling/normalize.h"

#include <array>
#include <cstdint>
#include <memory>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/unorm2.h>

namespace tarvellite {

namespace {

constexpr char16_t virama = 0x0D4D;
constexpr char16_t zwj = 0x200D;

// The atomic chillu for a Malayalam consonant, or 0.
char16_t chilluFor(char16_t consonant) {
    switch (consonant) {
    case 0x0D23: return 0x0D7A; // NNA
    case 0x0D28: return 0x0D7B; // NA
    case 0x0D30: return 0x0D7C; // RA
    case 0x0D32: return 0x0D7D; // LA
    case 0x0D33: return 0x0D7E; // LLA
    case 0x0D15: return 0x0D7F; // KA
    default: return 0;
    }
}

// Per BMP unit: its canonical combining class, or `maybeUnit` when the NFC quick check does
// not answer Yes (or the unit is a surrogate). A word whose units all answer Yes and whose
// marks are in canonical order is in NFC already.
constexpr std::uint8_t maybeUnit = 255;

struct UnitTable {
    std::array<std::uint8_t, 0x10000> cls{};
    UnitTable() {
        for (UChar32 c = 0; c < 0x10000; ++c) {
            std::uint8_t v = u_getCombiningClass(c);
            if ((c >= 0xD800 && c <= 0xDFFF) ||
                u_getIntPropertyValue(c, UCHAR_NFC_QUICK_CHECK) != UNORM_YES || v == maybeUnit)
                v = maybeUnit;
            cls[static_cast<std::size_t>(c)] = v;
        }
    }
};

const UnitTable &unitTable() {
    static const UnitTable table;
    return table;
}

const icu::Normalizer2 *nfc() {
    static const icu::Normalizer2 *n = [] {
        UErrorCode status = U_ZERO_ERROR;
        const icu::Normalizer2 *p = icu::Normalizer2::getNFCInstance(status);
        return U_SUCCESS(status) ? p : nullptr;
    }();
    return n;
}

// The full check, for words the quick scan could not clear.
bool slowCheck(std::u16string_view w) {
    for (std::size_t i = 2; i < w.size(); ++i)
        if (w[i] == zwj && w[i - 1] == virama && chilluFor(w[i - 2]))
            return true;
    const icu::Normalizer2 *n = nfc();
    if (!n)
        return false;
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString s(false, w.data(), static_cast<int32_t>(w.size()));
    const bool normal = n->isNormalized(s, status);
    return U_SUCCESS(status) && !normal;
}

bool needsWork(std::u16string_view w) {
    const auto &cls = unitTable().cls;
    std::uint8_t previous = 0;
    for (std::size_t i = 0; i < w.size(); ++i) {
        const char16_t u = w[i];
        const std::uint8_t c = cls[u];
        if (c == maybeUnit || (c != 0 && previous > c))
            return slowCheck(w);
        if (u == zwj && i >= 2 && w[i - 1] == virama && chilluFor(w[i - 2]))
            return true;
        previous = c;
    }
    return false;
}

} // namespace

bool isNormalizedWord(std::u16string_view word) {
    return !needsWork(word);
}

void normalizeWord(std::u16string &word) {
    if (!needsWork(word))
        return;
    if (const icu::Normalizer2 *n = nfc()) {
        UErrorCode status = U_ZERO_ERROR;
        const icu::UnicodeString s(false, word.data(), static_cast<int32_t>(word.size()));
        const icu::UnicodeString out = n->normalize(s, status);
        if (U_SUCCESS(status))
            word.assign(out.getBuffer(), static_cast<std::size_t>(out.length()));
    }
    // Old chillus: consonant + virama + ZWJ becomes the atomic letter.
    std::u16string result;
    result.reserve(word.size());
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (i + 2 < word.size() && word[i + 1] == virama && word[i + 2] == zwj) {
            if (const char16_t chillu = chilluFor(word[i])) {
                result.push_back(chillu);
                i += 2;
                continue;
            }
        }
        result.push_back(word[i]);
    }
    word = std::move(result);
}

std::u16string normalizedWord(std::u16string_view word) {
    std::u16string w(word);
    normalizeWord(w);
    return w;
}

} // namespace tarvellite
