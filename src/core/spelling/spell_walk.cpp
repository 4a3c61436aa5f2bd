#include "core/spelling/spell_walk.h"

#include "core/input/word_boundary.h"
#include "core/spelling/ascii_case.h"

#include <algorithm>
#include <climits>

namespace tarvellite {

std::u16string_view spellDirectionText(SpellDirection direction) {
    switch (direction) {
    case SpellDirection::BeginToEnd: return u"Begin to End";
    case SpellDirection::BeginToCursor: return u"Begin to Cursor";
    case SpellDirection::CursorToEnd: return u"Cursor to End";
    case SpellDirection::SelectedOnly: return u"Selected Only";
    case SpellDirection::EndToBegin: return u"End to Begin";
    case SpellDirection::EndToCursor: return u"End to Cursor";
    case SpellDirection::CursorToBegin: return u"Cursor to Begin";
    }
    return u"";
}

SpellWalk::SpellWalk(SpellText &text, Checker checker)
    : text_(text), checker_(std::move(checker)) {}

void SpellWalk::start(SpellDirection direction, int selectionStart, int selectionEnd) {
    const int length = text_.length();
    const int s = std::clamp(std::min(selectionStart, selectionEnd), 0, length);
    const int e = std::clamp(std::max(selectionStart, selectionEnd), 0, length);
    switch (direction) {
    case SpellDirection::BeginToEnd: low_ = 0, high_ = length; break;
    case SpellDirection::BeginToCursor: low_ = 0, high_ = e; break;
    case SpellDirection::CursorToEnd: low_ = s, high_ = length; break;
    case SpellDirection::SelectedOnly: low_ = s, high_ = e; break;
    case SpellDirection::EndToBegin: low_ = 0, high_ = length; break;
    case SpellDirection::EndToCursor: low_ = s, high_ = length; break;
    case SpellDirection::CursorToBegin: low_ = 0, high_ = s; break;
    }
    forward_ = direction < SpellDirection::EndToBegin;
    position_ = forward_ ? low_ : high_;
    running_ = true;
    waiting_ = false;
    wordsChecked_ = 0;
    wordStart_ = wordEnd_ = position_;
    currentWord_.clear();
    // A walk that begins inside a word checks that whole word.
    if (low_ < high_) {
        const std::u16string all = text_.read(0, length);
        const std::u16string_view view(all);
        const auto word = [&](int i) { return isWordUnitAt(view, static_cast<std::size_t>(i)); };
        const bool inside =
            position_ > 0 && position_ < length && word(position_ - 1) && word(position_);
        if (inside && forward_)
            while (position_ > 0 && word(position_ - 1))
                --position_;
        else if (inside)
            while (position_ < length && word(position_))
                ++position_;
    }
}

void SpellWalk::stop() {
    running_ = false;
    waiting_ = false;
    currentWord_.clear();
}

int SpellWalk::progress() const {
    const int done = forward_ ? position_ - low_ : high_ - position_;
    return std::clamp(done, 0, progressMaximum());
}

SpellWalk::Step SpellWalk::next(int budget) {
    if (!running_)
        return Step::Done;
    waiting_ = false;
    currentWord_.clear();
    const std::u16string all = text_.read(0, text_.length());
    const std::u16string_view view(all);
    const int length = static_cast<int>(all.size());
    // The text may have changed since the last step: keep every position inside it.
    high_ = std::min(high_, length);
    low_ = std::min(low_, high_);
    position_ = std::clamp(position_, 0, length);
    const auto word = [&](int i) { return isWordUnitAt(view, static_cast<std::size_t>(i)); };
    int checked = 0;
    while (budget < 0 || checked < budget) {
        int start = 0, end = 0;
        if (forward_) {
            int i = position_;
            while (i < length && !word(i))
                ++i;
            start = i;
            while (i < length && word(i))
                ++i;
            end = i;
            if (start >= high_ || start == end) {
                position_ = std::max(position_, high_);
                stop();
                return Step::Done;
            }
            position_ = end;
        } else {
            int i = position_;
            while (i > 0 && !word(i - 1))
                --i;
            end = i;
            while (i > 0 && word(i - 1))
                --i;
            start = i;
            if (end <= low_ || start == end) {
                position_ = std::min(position_, low_);
                stop();
                return Step::Done;
            }
            position_ = start;
        }
        ++checked;
        ++wordsChecked_;
        const std::u16string_view candidate =
            view.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
        if (!checker_(candidate)) {
            wordStart_ = start;
            wordEnd_ = end;
            currentWord_.assign(candidate);
            waiting_ = true;
            return Step::Found;
        }
    }
    return Step::Paused;
}

// Moves the positions of the walk over a replacement of [from, to) by `newLength` units.
void SpellWalk::shift(int from, int to, int newLength) {
    const int delta = newLength - (to - from);
    const auto moved = [&](int p) {
        if (p >= to)
            return p + delta;
        if (p > from)
            return std::min(p, from + newLength);
        return p;
    };
    low_ = moved(low_);
    high_ = moved(high_);
    position_ = moved(position_);
}

void SpellWalk::replaceAt(int from, int to, std::u16string_view replacement) {
    text_.replace(from, to, replacement);
    shift(from, to, static_cast<int>(replacement.size()));
}

void SpellWalk::change(std::u16string_view replacement) {
    if (!waiting_)
        return;
    const int length = text_.length();
    if (wordEnd_ > length || text_.read(wordStart_, wordEnd_) != currentWord_)
        return; // the word was edited meanwhile: leave it
    replaceAt(wordStart_, wordEnd_, replacement);
    position_ = forward_ ? wordStart_ + static_cast<int>(replacement.size()) : wordStart_;
    waiting_ = false;
}

int SpellWalk::changeAll(std::u16string_view replacement) {
    if (!waiting_ || currentWord_.empty())
        return 0;
    const std::u16string all = text_.read(0, text_.length());
    const std::u16string_view view(all);
    const std::size_t n = currentWord_.size();
    const std::size_t high =
        static_cast<std::size_t>(std::min<int>(high_, static_cast<int>(all.size())));
    // The occurrences in the range, left to right, found on the text as it is now; the
    // replacements go in from the last, so no inserted text is searched again.
    std::vector<std::size_t> found;
    std::size_t i = static_cast<std::size_t>(std::max(0, low_));
    // An occurrence that overlaps the start of the range still counts, as a word there does.
    while (i > 0 && isWordUnitAt(view, i - 1))
        --i;
    for (; i + n <= all.size() && i < high;) {
        if (equalIgnoringCase(view.substr(i, n), currentWord_) &&
            (i == 0 || !isWordUnitAt(view, i - 1)) &&
            (i + n == all.size() || !isWordUnitAt(view, i + n))) {
            found.push_back(i);
            i += n;
        } else {
            ++i;
        }
    }
    const bool currentFound =
        std::find(found.begin(), found.end(), static_cast<std::size_t>(wordStart_)) != found.end();
    for (auto it = found.rbegin(); it != found.rend(); ++it) {
        const int from = static_cast<int>(*it);
        replaceAt(from, from + static_cast<int>(n), replacement);
        if (from < wordStart_)
            wordStart_ += static_cast<int>(replacement.size()) - static_cast<int>(n);
    }
    if (currentFound)
        position_ = forward_ ? wordStart_ + static_cast<int>(replacement.size()) : wordStart_;
    waiting_ = false;
    return static_cast<int>(found.size());
}

} // namespace tarvellite
