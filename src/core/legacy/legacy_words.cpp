#include "core/legacy/legacy_words.h"

#include "core/legacy/legacy_converter.h"

#include <type_traits>

namespace tarvellite {

namespace {

inline unsigned char byteOf(char c) {
    return static_cast<unsigned char>(c);
}
inline unsigned char byteOf(char16_t u) {
    return legacyByteOf(u);
}
inline char16_t unitOf(char c) {
    return static_cast<unsigned char>(c);
}
inline char16_t unitOf(char16_t u) {
    return u;
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

template <class Char>
std::size_t appendWords(std::basic_string_view<Char> text, bool isTab, std::u16string &output) {
    output.reserve(output.size() + text.size() * 2);
    std::size_t words = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char16_t unit = unitOf(text[i]);
        if (isLegacyWordBreak(unit)) {
            output.push_back(unit);
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        while (end < text.size() && !isLegacyWordBreak(unitOf(text[end])))
            ++end;
        std::basic_string_view<Char> word = text.substr(i, end - i);
        while (!word.empty()) {
            const std::size_t piece = pieceLength(word);
            if constexpr (std::is_same_v<Char, char>)
                appendLegacyBytes(word.substr(0, piece), isTab, output);
            else
                appendLegacyText(word.substr(0, piece), isTab, output);
            word.remove_prefix(piece);
        }
        ++words;
        i = end;
    }
    return words;
}

} // namespace

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

} // namespace tarvellite
