#include "core/search/search_session.h"

namespace tarvellite::search {

void SearchSession::reset() {
    if (view_)
        view_->select(savedSelection_.first, savedSelection_.second);
    searchColumn_ = searchLine_ = endLine_ = 0;
    hasDirection_ = false;
    newSession_ = true;
    firstPass_ = true;
    savedSelection_ = {0, 0};
    foundCount_ = 0;
    view_ = nullptr;
}

void SearchSession::start(SearchText *text, Direction d) {
    view_ = text;
    savedSelection_ = text->selection();
    newSession_ = false;
    firstPass_ = true;
    searchLine_ = text->lineOf(savedSelection_.first);
    searchColumn_ = savedSelection_.first - text->lineStart(searchLine_);
    endLine_ = d == Direction::Forward ? text->lineCount() - 1 : 0;
    foundCount_ = 0;
}

bool SearchSession::position(SearchText *text, Direction d) {
    const auto [s, e] = text->selection();
    searchLine_ = text->lineOf(s);
    int p = s;
    if (s != e) {
        const int line = text->lineOf(s);
        const std::u16string lineText = text->lineText(line);
        const int at = s - text->lineStart(line);
        const bool selectedIsMatch =
            text->lineOf(e) == line &&
            std::u16string_view(lineText).substr(std::size_t(at), std::size_t(e - s)) == searchText;
        // Past the current match, else from the selection's near end.
        if (selectedIsMatch)
            p = d == Direction::Backward ? s : e;
        else
            p = d == Direction::Backward ? e : s;
    }
    searchColumn_ = p - text->lineStart(searchLine_);
    return true;
}

MatchRule SearchSession::lineRule(SearchText &text, int first) const {
    MatchRule rule{.wholeWord = wholeWord, .passLimit = std::nullopt, .accept = nullptr};
    // The second pass ends where the first one began.
    if (!firstPass_ && savedSelection_.first - first >= 0)
        rule.passLimit = std::size_t(savedSelection_.first - first);
    if (matchFont)
        rule.accept = [&text, first](std::size_t p, std::size_t n) {
            return text.formatMatches(first + int(p), int(n));
        };
    return rule;
}

bool SearchSession::searchLineForward(SearchText &text) {
    const std::u16string line = text.lineText(searchLine_);
    if (searchColumn_ < 0 || std::size_t(searchColumn_) > line.size())
        return false;
    const int first = text.lineStart(searchLine_);
    const MatchRule rule = lineRule(text, first);
    const auto p = findForward(line, searchText, std::size_t(searchColumn_), rule);
    if (!p)
        return false;
    text.select(first + int(*p), first + int(*p + searchText.size()));
    searchColumn_ = int(*p) + 1;
    return true;
}

bool SearchSession::searchLineBackward(SearchText &text) {
    const std::u16string line = text.lineText(searchLine_);
    const int first = text.lineStart(searchLine_);
    const int limit = text.selection().first - first;
    if (limit <= 0)
        return false;
    const MatchRule rule = lineRule(text, first);
    const auto p = findBackward(line, searchText, std::size_t(limit), rule);
    if (!p)
        return false;
    text.select(first + int(*p), first + int(*p + searchText.size()));
    return true;
}

SearchSession::Result SearchSession::findNext(SearchText *text, Direction d) {
    if (searchText.empty())
        return Result::CannotSearch;
    if (newSession_ || text != view_) {
        if (!text) {
            reset();
            return Result::CannotSearch;
        }
        start(text, d);
    }
    if (!text) {
        searchLine_ = -1;
        return Result::CannotSearch;
    }
    position(text, d);
    if (d == Direction::Forward) {
        if (endLine_ < searchLine_)
            return Result::EndReached;
        for (;;) {
            if (searchLineForward(*text)) {
                ++foundCount_;
                return Result::Found;
            }
            ++searchLine_;
            searchColumn_ = 0;
            if (searchLine_ > endLine_)
                return Result::EndReached;
        }
    }
    if (searchLine_ < endLine_)
        return Result::EndReached;
    for (;;) {
        if (searchLineBackward(*text)) {
            ++foundCount_;
            return Result::Found;
        }
        --searchLine_;
        // The selection stays: its start lies beyond every earlier line, which is therefore
        // searched whole.
        if (searchLine_ < endLine_ || searchLine_ < 0)
            return Result::EndReached;
    }
}

SearchSession::Outcome SearchSession::find(SearchText *text, Direction d,
                                           const std::function<bool()> &continueFromOtherEnd) {
    if (hasDirection_ && lastDirection_ != d)
        newSession_ = true;
    hasDirection_ = true;
    lastDirection_ = d;
    Result r = findNext(text, d);
    while (r == Result::EndReached) {
        if (!firstPass_) {
            const int found = foundCount_;
            reset();
            foundCount_ = found;
            return Outcome::Finished;
        }
        view_->select(savedSelection_.first, savedSelection_.second);
        if (!continueFromOtherEnd || !continueFromOtherEnd()) {
            const int found = foundCount_;
            reset();
            foundCount_ = found;
            return Outcome::Stopped;
        }
        firstPass_ = false;
        endLine_ = view_->lineOf(savedSelection_.first);
        searchLine_ = d == Direction::Forward ? 0 : view_->lineCount() - 1;
        // Going backwards the search restarts after the very last unit, so that a match that
        // ends at the end of the text is found too.
        const int restart = d == Direction::Forward ? 0 : view_->length();
        view_->select(restart, restart);
        r = findNext(view_, d);
    }
    return r == Result::Found ? Outcome::Found : Outcome::CannotSearch;
}

} // namespace tarvellite::search
