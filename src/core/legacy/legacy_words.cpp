#include "core/legacy/legacy_words.h"

#include "core/legacy/legacy_converter.h"
#include "core/legacy/legacy_glyphs.h"

#include <cstring>

namespace tarvellite {

namespace {

using legacy_glyphs::byteOf;

inline bool breaksWord(char c) {
    return isLegacyWordBreak(static_cast<unsigned char>(c));
}
inline bool breaksWord(char16_t u) {
    return u <= 0xFF ? isLegacyWordBreak(u) : isLegacyTextBreak(u);
}

// What a word break passes through as.
inline char16_t passThrough(char c) {
    return static_cast<unsigned char>(c);
}
inline char16_t passThrough(char16_t u) {
    unsigned char byte;
    return u <= 0xFF || !legacyByteOfUnit(u, byte) ? u : byte;
}

// The prefix vowel signs ெ ே ை. The converter moves each one after the letter that follows it
// and may join it with up to two more characters, so a cut must not fall within three
// characters after one.
constexpr bool isPrefixSignByte(unsigned char b) {
    return b >= 0xAA && b <= 0xAC;
}
constexpr std::size_t prefixSignReach = 3;

template <class Char> std::size_t pieceLength(std::basic_string_view<Char> word) {
    if (word.size() <= legacyWordLimit)
        return word.size();
    std::size_t cut = legacyWordLimit;
    for (;;) {
        std::size_t earliestSign = cut;
        const std::size_t from = cut > prefixSignReach ? cut - prefixSignReach : 0;
        for (std::size_t k = from; k < cut; ++k) {
            if (isPrefixSignByte(byteOf(word[k]))) {
                earliestSign = k;
                break;
            }
        }
        if (earliestSign == cut)
            return cut;
        if (earliestSign == 0)
            return legacyWordLimit;
        cut = earliestSign;
    }
}

// Converts into one buffer reserved at the end of `output` (four units per character at most)
// and trims it once at the end. Stage 1 runs over the text as it is walked; a word's stage 2
// runs when its end is reached, and only when the word holds a prefix sign. A word that turns
// out longer than the limit is redone from its start, piece by piece.
template <class Char>
std::size_t appendWords(std::basic_string_view<Char> text, bool isTab, std::u16string &output) {
    using namespace legacy_glyphs;
    const GlyphTable &table = isTab ? tabGlyphs : tamGlyphs;
    const std::size_t base = output.size();
    output.resize(base + maxUnitsPerByte * text.size());
    char16_t *const dst = output.data() + base;
    std::size_t o = 0; // units written
    std::size_t words = 0;
    std::size_t wordStart = 0; // the current word's first character, and its first unit
    std::size_t wordOut = 0;
    bool prefixSigns = false;
    const auto endWord = [&](std::size_t i) {
        if (i > wordStart) {
            ++words;
            if (prefixSigns)
                o = wordOut + placeVowelSigns(dst + wordOut, o - wordOut);
        }
        prefixSigns = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (breaksWord(text[i])) {
            endWord(i);
            dst[o++] = passThrough(text[i]);
            wordStart = i + 1;
            wordOut = o;
            continue;
        }
        if (i - wordStart == legacyWordLimit) {
            std::size_t end = i + 1;
            while (end < text.size() && !breaksWord(text[end]))
                ++end;
            std::basic_string_view<Char> word = text.substr(wordStart, end - wordStart);
            o = wordOut;
            while (!word.empty()) {
                const std::size_t piece = pieceLength(word);
                o += convertLegacyInto(word.substr(0, piece), isTab, dst + o);
                word.remove_prefix(piece);
            }
            ++words;
            prefixSigns = false;
            wordStart = end;
            wordOut = o;
            i = end - 1;
            continue;
        }
        const Glyph &g = table[byteOf(text[i])];
        std::memcpy(dst + o, g.units.data(), sizeof g.units);
        o += g.length;
        prefixSigns |= g.prefixSign;
    }
    endWord(text.size());
    output.resize(base + o);
    return words;
}

} // namespace

bool isLegacyTextBreak(char16_t unit) {
    unsigned char byte;
    return !legacyByteOfUnit(unit, byte) || isLegacyWordBreak(byte);
}

std::size_t legacyPieceLength(std::string_view word) {
    return pieceLength(word);
}
std::size_t legacyPieceLength(std::u16string_view word) {
    return pieceLength(word);
}

std::size_t appendLegacyWords(std::string_view bytes, bool isTab, std::u16string &output) {
    return appendWords(bytes, isTab, output);
}

std::size_t appendLegacyWords(std::u16string_view text, bool isTab, std::u16string &output) {
    return appendWords(text, isTab, output);
}

std::u16string convertLegacyWords(std::string_view bytes, bool isTab) {
    std::u16string out;
    appendLegacyWords(bytes, isTab, out);
    return out;
}

std::u16string convertLegacyWords(std::u16string_view text, bool isTab) {
    std::u16string out;
    appendLegacyWords(text, isTab, out);
    return out;
}

void LegacyWordStream::feed(std::string_view bytes, std::u16string &output) {
    pending_.append(bytes);
    const std::string_view text(pending_);
    // The last word may go on in the next chunk; everything before it is complete.
    std::size_t tail = text.size();
    while (tail > 0 && !isLegacyWordBreak(static_cast<unsigned char>(text[tail - 1])))
        --tail;
    appendWords(text.substr(0, tail), isTab_, output);
    // A word already longer than the limit is cut where its first bytes say, whatever follows.
    std::string_view word = text.substr(tail);
    while (word.size() > legacyWordLimit) {
        const std::size_t piece = pieceLength(word);
        appendLegacyBytes(word.substr(0, piece), isTab_, output);
        word.remove_prefix(piece);
    }
    pending_.erase(0, pending_.size() - word.size());
}

void LegacyWordStream::finish(std::u16string &output) {
    appendWords(std::string_view(pending_), isTab_, output);
    pending_.clear();
}

} // namespace tarvellite
