#pragma once

// Word samples shared by the dictionary benchmark and the quality tool.

#include "core/spelling/dictionary.h"

#include <random>
#include <string>
#include <vector>

namespace tarvellite::bench {

inline std::string dictionaryPath(const std::string &locale) {
    return std::string(TARVELLITE_PROGRAM_DIR) + "/DictionaryFiles/" + locale + ".dic";
}

/// Every `step`-th word of the dictionary of at least `minUnits` units, up to `count`.
inline std::vector<std::u16string> sampleWords(const CDictionary &d, std::size_t count,
                                               std::size_t minUnits, std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<std::u16string> out;
    if (d.wordCount() == 0)
        return out;
    std::uniform_int_distribution<std::size_t> pick(0, d.wordCount() - 1);
    for (std::size_t tries = 0; out.size() < count && tries < count * 20; ++tries) {
        const auto w = d.word(pick(rng));
        if (w.size() >= minUnits)
            out.emplace_back(w);
    }
    return out;
}

enum class Corruption { Delete, Transpose, Substitute };

/// One unit deleted, two neighbours swapped or one unit replaced by another unit of the
/// dictionary's alphabet; never the first unit, and never a result that is itself a word.
inline bool corrupt(const CDictionary &d, const std::u16string &alphabet, std::u16string &w,
                    Corruption kind, std::mt19937 &rng) {
    if (w.size() < 3)
        return false;
    std::uniform_int_distribution<std::size_t> at(1, w.size() - 1);
    const std::size_t i = at(rng);
    switch (kind) {
    case Corruption::Delete: w.erase(i, 1); break;
    case Corruption::Transpose:
        if (i + 1 >= w.size() || w[i] == w[i + 1])
            return false;
        std::swap(w[i], w[i + 1]);
        break;
    case Corruption::Substitute: {
        std::uniform_int_distribution<std::size_t> letter(0, alphabet.size() - 1);
        const char16_t c = alphabet[letter(rng)];
        if (c == w[i])
            return false;
        w[i] = c;
        break;
    }
    }
    return !d.CheckWord(w);
}

/// The units the dictionary's words use.
inline std::u16string alphabetOf(const CDictionary &d) {
    std::vector<bool> seen(0x10000);
    for (std::size_t i = 0; i < d.wordCount(); ++i)
        for (char16_t c : d.word(i))
            seen[c] = true;
    std::u16string out;
    for (std::size_t c = 0; c < seen.size(); ++c)
        if (seen[c])
            out.push_back(static_cast<char16_t>(c));
    return out;
}

} // namespace tarvellite::bench
