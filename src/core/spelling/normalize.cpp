#include "core/spelling/normalize.h"

#include "core/spelling/ascii_case.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/uniset.h>
#include <unicode/unistr.h>
#include <unicode/unorm2.h>

namespace tarvellite {

namespace {

constexpr char16_t virama = 0x0D4D;
constexpr char16_t zwj = 0x200D;
constexpr char16_t zwnj = 0x200C;

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

const icu::Normalizer2 *nfc() {
    static const icu::Normalizer2 *n = [] {
        UErrorCode status = U_ZERO_ERROR;
        const icu::Normalizer2 *p = icu::Normalizer2::getNFCInstance(status);
        return U_SUCCESS(status) ? p : nullptr;
    }();
    return n;
}

// Per BMP unit: its canonical combining class, or `otherUnit` when the NFC quick check
// answers No (or the unit is a surrogate); and flags: `maybeFlag` when the quick check answers
// Maybe (the character may join the starter before it), `firstFlag` when the unit comes
// first in the two-character canonical decomposition of some character NFC composes, whose
// second one is a Maybe character (only such a starter can be joined). A word whose units all
// answer Yes or Maybe, whose marks are in canonical order and whose Maybe characters follow no
// starter they could join is in NFC already.
constexpr std::uint8_t otherUnit = 255;
constexpr std::uint8_t maybeFlag = 1;
constexpr std::uint8_t firstFlag = 2;

// Bits of the per-unit summary a quick glance at a word reads: a unit NFC may change, a
// non-starter, a Maybe character, and a unit a lookup changes (a capital A to Z, a joiner).
// The byte above says which of these may not come next: after a non-starter another one or
// a Maybe character (either may need reordering or joining), after a starter a following
// Maybe character may join, that Maybe character.
constexpr std::uint16_t plainChanged = 1;
constexpr std::uint16_t plainMark = 2;
constexpr std::uint16_t plainMaybe = 4;
constexpr std::uint16_t plainLookup = 16;
constexpr unsigned plainNextShift = 8;

struct UnitTable {
    std::array<std::uint8_t, 0x10000> cls{};
    std::array<std::uint8_t, 0x10000> flags{};
    std::array<std::uint16_t, 0x10000> plain{};
    UnitTable() {
        fill();
        for (std::size_t u = 0; u < 0x10000; ++u) {
            std::uint16_t p = 0;
            std::uint16_t next = 0;
            if (cls[u] == otherUnit)
                p |= plainChanged;
            if ((u >= u'A' && u <= u'Z') || isJoiner(char16_t(u)))
                p |= plainLookup;
            if (cls[u] != 0) {
                p |= plainMark;
                next |= plainMark | plainMaybe;
            }
            if (flags[u] & maybeFlag)
                p |= plainMaybe;
            if (flags[u] & firstFlag)
                next |= plainMaybe;
            plain[u] = static_cast<std::uint16_t>(p | (next << plainNextShift));
        }
    }

    void fill() {
        for (UChar32 c = 0; c < 0x10000; ++c) {
            std::uint8_t v = u_getCombiningClass(c);
            const auto check = u_getIntPropertyValue(c, UCHAR_NFC_QUICK_CHECK);
            if ((c >= 0xD800 && c <= 0xDFFF) || check == UNORM_NO || v == otherUnit)
                v = otherUnit;
            else if (check == UNORM_MAYBE)
                flags[static_cast<std::size_t>(c)] |= maybeFlag;
            cls[static_cast<std::size_t>(c)] = v;
        }
        const icu::Normalizer2 *n = nfc();
        UErrorCode status = U_ZERO_ERROR;
        const icu::UnicodeSet canonical(icu::UnicodeString(u"[:dt=can:]"), status);
        if (!n || U_FAILURE(status)) {
            for (std::uint8_t &f : flags)
                f |= firstFlag;
            return;
        }
        icu::UnicodeString d;
        for (int32_t r = 0; r < canonical.getRangeCount(); ++r)
            for (UChar32 c = canonical.getRangeStart(r); c <= canonical.getRangeEnd(r); ++c)
                markFirst(*n, c, d);
    }

    void markFirst(const icu::Normalizer2 &n, UChar32 c, icu::UnicodeString &d) {
        if (!n.getRawDecomposition(c, d))
            return;
        const UChar32 first = d.char32At(0);
        const int32_t next = d.moveIndex32(0, 1);
        if (next >= d.length() || d.moveIndex32(next, 1) != d.length())
            return; // not two characters
        const UChar32 second = d.char32At(next);
        // A pair NFC never composes (the character is excluded from composition, as the
        // Devanagari letters with nukta are) joins nothing. Supplementary characters appear
        // as surrogates, which send a word to the full check.
        if (n.composePair(first, second) != c)
            return;
        if (second < 0x10000 && first < 0x10000 &&
            (flags[static_cast<std::size_t>(second)] & maybeFlag))
            flags[static_cast<std::size_t>(first)] |= firstFlag;
    }
};

const UnitTable &unitTable() {
    static const UnitTable table;
    return table;
}

// The full check, for words the quick scan could not clear.
bool slowCheck(std::u16string_view w) {
    for (const char16_t u : w)
        if (u == zwj || u == zwnj)
            return true;
    const icu::Normalizer2 *n = nfc();
    if (!n)
        return false;
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString s(false, w.data(), static_cast<int32_t>(w.size()));
    const bool normal = n->isNormalized(s, status);
    return U_SUCCESS(status) && !normal;
}

enum class Work { None, Joiners, Full };

// What `normalizeWord` has to do to `w`: nothing, only drop its joiners (forming the chillus),
// or the full NFC first.
Work workFor(std::u16string_view w) {
    // Judged without branching on each unit (letters and marks alternate unpredictably); a
    // word found suspicious goes to the full check, which looks at it whole.
    const UnitTable &table = unitTable();
    unsigned previous = 0;
    unsigned starterFlags = 0; // the flags of the last starter (none yet: 0)
    unsigned starterJustBefore = 0;
    unsigned suspicious = 0;
    unsigned joiners = 0;
    for (const char16_t u : w) {
        const unsigned c = table.cls[u];
        const unsigned f = table.flags[u];
        const unsigned starter = c == 0;
        suspicious |= (c == otherUnit) | ((!starter) & (previous > c));
        // A Maybe character changes only by joining the last starter before it; a Maybe
        // starter only the unit just before it (anything between blocks it).
        suspicious |=
            (f & maybeFlag) & ((!starter) | starterJustBefore) & ((starterFlags & firstFlag) != 0);
        // Joiners only choose a rendering: they are dropped (after forming the chillus). They
        // are starters, so NFC leaves the text around them as it is.
        joiners |= static_cast<unsigned>(isJoiner(u));
        starterFlags = starter ? f : starterFlags;
        starterJustBefore = starter;
        previous = c;
    }
    if (suspicious)
        return slowCheck(w) ? Work::Full : Work::None;
    return joiners ? Work::Joiners : Work::None;
}

bool needsWork(std::u16string_view w) {
    return workFor(w) != Work::None;
}

// Copies units to an output, dropping joiners and joining old chillus (consonant, virama, ZWJ,
// as typed side by side) into the atomic letters. The two units before are kept aside, as a
// copy in place may overwrite them.
struct JoinerDropper {
    std::size_t to = 0; // units written
    char16_t before = 0, last = 0;

    void put(char16_t *out, char16_t c) {
        out[to] = c;
        if (isJoiner(c)) [[unlikely]] {
            // The consonant and the virama are in place just before.
            if (const char16_t chillu = c == zwj && last == virama ? chilluFor(before) : 0) {
                out[to - 2] = chillu;
                --to;
            }
        } else {
            ++to;
        }
        before = last;
        last = c;
    }
};

// Old chillus become atomic letters, other joiners go; `w` is in NFC. Returns the new length.
std::size_t dropJoiners(char16_t *w, std::size_t n) {
    // Up to the first joiner nothing moves.
    std::size_t i = 0;
    while (i < n && !isJoiner(w[i]))
        ++i;
    JoinerDropper dropper{i, i >= 2 ? w[i - 2] : char16_t(0), i >= 1 ? w[i - 1] : char16_t(0)};
    for (; i < n; ++i)
        dropper.put(w, w[i]);
    return dropper.to;
}

// The summary bits in `reported` of the units of `w`, and whether NFC may change `w`: stricter
// than workFor, and cheaper, as any two marks in a row, or a Maybe character after a mark or
// after a starter it might join, count as a change.
template <unsigned reported> unsigned glance(const char16_t *w, std::size_t n) {
    const UnitTable &table = unitTable();
    unsigned forbidden = 0; // what may not follow the unit before
    unsigned bad = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned f = table.plain[w[i]];
        bad |= f & (plainChanged | reported | forbidden);
        forbidden = f >> plainNextShift;
    }
    return bad;
}
} // namespace

bool isPlainWord(std::u16string_view w) {
    return glance<plainLookup>(w.data(), w.size()) == 0;
}

bool isPlainWord(std::u16string_view w, char16_t &floor, char16_t &ceiling) {
    const UnitTable &table = unitTable();
    const char16_t *units = w.data();
    const std::size_t n = w.size();
    // Two units a turn: what the first forbids is at hand for the second.
    constexpr unsigned alone = plainChanged | plainLookup;
    unsigned forbidden = 0;
    unsigned bad = 0;
    std::size_t i = 0;
    for (; i + 2 <= n; i += 2) {
        const unsigned first = table.plain[units[i]];
        const unsigned second = table.plain[units[i + 1]];
        bad |= (first & (alone | forbidden)) | (second & (alone | (first >> plainNextShift)));
        forbidden = second >> plainNextShift;
    }
    if (i < n)
        bad |= table.plain[units[i]] & (alone | forbidden);
    unitBounds(w, floor, ceiling);
    return bad == 0;
}

void unitBounds(std::u16string_view w, char16_t &floor, char16_t &ceiling) {
    // Four units a turn, the last four read whole (a unit read twice changes neither bound).
    const char16_t *units = w.data();
    const std::size_t n = w.size();
    std::uint64_t all = ~0ull, any = 0;
    if (n >= 4) {
        for (std::size_t j = 0; j + 4 <= n; j += 4) {
            std::uint64_t v;
            std::memcpy(&v, units + j, sizeof v);
            all &= v;
            any |= v;
        }
        std::uint64_t v;
        std::memcpy(&v, units + n - 4, sizeof v);
        all &= v;
        any |= v;
        all &= all >> 32;
        any |= any >> 32;
        all &= all >> 16;
        any |= any >> 16;
    } else {
        for (std::size_t j = 0; j < n; ++j) {
            all &= units[j];
            any |= units[j];
        }
    }
    floor = static_cast<char16_t>(all);
    ceiling = static_cast<char16_t>(any);
}

bool isNormalizedWord(std::u16string_view word) {
    return !needsWork(word);
}

void normalizeWord(std::u16string &word) {
    const Work work = workFor(word);
    if (work == Work::None)
        return;
    if (work == Work::Full) {
        if (const icu::Normalizer2 *n = nfc()) {
            UErrorCode status = U_ZERO_ERROR;
            const icu::UnicodeString s(false, word.data(), static_cast<int32_t>(word.size()));
            const icu::UnicodeString out = n->normalize(s, status);
            if (U_SUCCESS(status))
                word.assign(out.getBuffer(), static_cast<std::size_t>(out.length()));
        }
    }
    word.resize(dropJoiners(word.data(), word.size()));
}

std::size_t lookupFormQuickly(std::u16string_view word, char16_t *out, bool &changed) {
    // Lowered, glanced at and stripped of its joiners in one pass. Most words pass the glance;
    // joiners are starters to NFC, so only they may need work then.
    const UnitTable &table = unitTable();
    const std::size_t n = word.size();
    unsigned forbidden = 0;
    unsigned seen = 0;
    bool lowered = false;
    JoinerDropper dropper;
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t c = lowerAscii(word[i]);
        lowered |= c != word[i];
        const unsigned f = table.plain[c];
        seen |= f & (plainChanged | plainLookup | forbidden);
        forbidden = f >> plainNextShift;
        dropper.put(out, c);
    }
    if ((seen & ~unsigned(plainLookup)) == 0) {
        changed = lowered || dropper.to != n;
        return dropper.to;
    }
    // NFC may change the word: it is looked at again, lowered and whole.
    for (std::size_t i = 0; i < n; ++i)
        out[i] = lowerAscii(word[i]);
    switch (workFor(std::u16string_view(out, n))) {
    case Work::None: changed = lowered; return n;
    case Work::Joiners: break;
    case Work::Full: return std::u16string_view::npos;
    }
    const std::size_t length = dropJoiners(out, n);
    changed = lowered || length != n;
    return length;
}

bool usesOldChillus(std::u16string_view word) {
    for (std::size_t i = 2; i < word.size(); ++i)
        if (word[i] == zwj && word[i - 1] == virama && chilluFor(word[i - 2]))
            return true;
    return false;
}

void toOldChillus(std::u16string &word) {
    static constexpr char16_t consonants[] = {0x0D23, 0x0D28, 0x0D30, 0x0D32, 0x0D33, 0x0D15};
    if (std::none_of(word.begin(), word.end(),
                     [](char16_t c) { return c >= 0x0D7A && c <= 0x0D7F; }))
        return;
    std::u16string result;
    result.reserve(word.size() + 4);
    for (const char16_t c : word) {
        if (c >= 0x0D7A && c <= 0x0D7F) {
            result.push_back(consonants[c - 0x0D7A]);
            result.push_back(virama);
            result.push_back(zwj);
        } else {
            result.push_back(c);
        }
    }
    word = std::move(result);
}

std::u16string normalizedWord(std::u16string_view word) {
    std::u16string w(word);
    normalizeWord(w);
    return w;
}

} // namespace tarvellite
