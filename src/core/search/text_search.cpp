#include "core/search/text_search.h"

#include "core/input/word_boundary.h"

namespace tarvellite::search {

namespace {

bool isBoundary(char16_t unit) {
    return unit <= 0x20 || wordClassOf(unit) == WordClass::Space;
}

bool accepted(std::u16string_view line, std::size_t p, std::size_t n, const MatchRule &rule) {
    if (rule.wholeWord && !isWholeWord(line, p, n))
        return false;
    return !rule.accept || rule.accept(p, n);
}

} // namespace

bool isWholeWord(std::u16string_view text, std::size_t start, std::size_t length) {
    if (start + length > text.size())
        return false;
    const bool before = start == 0 || isBoundary(text[start - 1]);
    const bool after = start + length == text.size() || isBoundary(text[start + length]);
    return before && after;
}

std::optional<std::size_t> findForward(std::u16string_view line, std::u16string_view needle,
                                       std::size_t from, const MatchRule &rule) {
    if (needle.empty())
        return std::nullopt;
    for (std::size_t p = line.find(needle, from); p != std::u16string_view::npos;
         p = line.find(needle, p + 1)) {
        if (rule.passLimit && p >= *rule.passLimit)
            return std::nullopt;
        if (accepted(line, p, needle.size(), rule))
            return p;
    }
    return std::nullopt;
}

std::optional<std::size_t> findBackward(std::u16string_view line, std::u16string_view needle,
                                        std::size_t limit, const MatchRule &rule) {
    if (needle.empty() || limit == 0 || needle.size() > line.size())
        return std::nullopt;
    limit = std::min(limit, line.size());
    if (limit < needle.size())
        return std::nullopt;
    for (std::size_t p = line.rfind(needle, limit - needle.size());
         p != std::u16string_view::npos;) {
        if (rule.passLimit && p <= *rule.passLimit)
            return std::nullopt;
        if (accepted(line, p, needle.size(), rule))
            return p;
        if (p == 0)
            break;
        p = line.rfind(needle, p - 1);
    }
    return std::nullopt;
}

std::vector<std::size_t> findAll(std::u16string_view text, std::u16string_view needle,
                                 bool wholeWord, const AcceptOccurrence &accept) {
    std::vector<std::size_t> found;
    if (needle.empty())
        return found;
    const MatchRule rule{.wholeWord = wholeWord, .passLimit = std::nullopt, .accept = accept};
    std::size_t from = 0;
    while (auto p = findForward(text, needle, from, rule)) {
        found.push_back(*p);
        from = *p + needle.size();
    }
    return found;
}

std::u16string replaceAt(std::u16string_view text, const std::vector<std::size_t> &positions,
                         std::size_t length, std::u16string_view replacement) {
    std::u16string out;
    out.reserve(text.size() + positions.size() * replacement.size());
    std::size_t at = 0;
    for (std::size_t p : positions) {
        out.append(text.substr(at, p - at));
        out.append(replacement);
        at = p + length;
    }
    out.append(text.substr(std::min(at, text.size())));
    return out;
}

} // namespace tarvellite::search
