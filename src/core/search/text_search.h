#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarvellite::search {

/// Whether an occurrence at [start, start + length) also has the wanted format.
using AcceptOccurrence = std::function<bool(std::size_t start, std::size_t length)>;

/// How occurrences are matched. Matching is exact: code unit for code unit, case-sensitive,
/// with no normalisation.
struct MatchRule {
    /// Only occurrences with white space (or the line's end) on both sides. Punctuation
    /// belongs to the word: "ab" is not a whole word in "ab,".
    bool wholeWord = false;
    /// Forward: occurrences starting at or after this do not count (the second pass stops at
    /// where the search began). Backward: occurrences starting at or before it do not count.
    std::optional<std::size_t> passLimit;
    /// Null: every occurrence counts.
    AcceptOccurrence accept;
};

/// Whether `text[start, start + length)` has white space or nothing on both sides.
bool isWholeWord(std::u16string_view text, std::size_t start, std::size_t length);

/// The first occurrence of `needle` in `line` at or after `from` that the rule accepts.
std::optional<std::size_t> findForward(std::u16string_view line, std::u16string_view needle,
                                       std::size_t from, const MatchRule &rule);

/// The last occurrence of `needle` in `line` that ends at or before `limit` (a limit beyond
/// the line searches all of it) and that the rule accepts.
std::optional<std::size_t> findBackward(std::u16string_view line, std::u16string_view needle,
                                        std::size_t limit, const MatchRule &rule);

/// Every occurrence from the start of `text`, each search going on after the previous
/// occurrence, as a change of all occurrences does (a replacement is never searched again).
std::vector<std::size_t> findAll(std::u16string_view text, std::u16string_view needle,
                                 bool wholeWord, const AcceptOccurrence &accept = {});

/// `text` with the occurrences at `positions` (ascending, of `length` units) replaced.
std::u16string replaceAt(std::u16string_view text, const std::vector<std::size_t> &positions,
                         std::size_t length, std::u16string_view replacement);

} // namespace tarvellite::search
