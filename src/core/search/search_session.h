#pragma once

#include "core/search/text_search.h"

#include <functional>
#include <string>
#include <utility>

namespace tarvellite::search {

/// The text a search walks through, line by line, with its selection. Positions are UTF-16
/// code units; a line's text excludes its break.
class SearchText {
  public:
    virtual ~SearchText() = default;
    virtual int length() const = 0;
    virtual int lineCount() const = 0;
    virtual int lineStart(int line) const = 0;
    virtual int lineOf(int position) const = 0;
    virtual std::u16string lineText(int line) const = 0;
    virtual std::pair<int, int> selection() const = 0;
    virtual void select(int start, int end) = 0;
    /// Whether the occurrence at [start, start + length) has the search font.
    virtual bool formatMatches(int /*start*/, int /*length*/) const { return true; }
};

enum class Direction { Forward, Backward };

/// The search of one text, forwards or backwards, from the selection to the end and, when the
/// user agrees, on from the other end up to where it began.
class SearchSession {
  public:
    enum class Result { Found, EndReached, CannotSearch };
    enum class Outcome { Found, Finished, Stopped, CannotSearch };

    std::u16string searchText;
    bool wholeWord = false;
    bool matchFont = false;

    /// Forgets the session: the next search starts a new one, and the selection the session
    /// began with is put back.
    void reset();
    /// The next search starts a new session.
    void startOver() { newSession_ = true; }

    /// One search step. `text` null: there is no document.
    Result findNext(SearchText *text, Direction d);

    /// The Forward and Backward commands: a search step and, at the end of the first pass,
    /// `continueFromOtherEnd()` decides whether the rest of the text is searched. Finished
    /// and Stopped leave the session reset (the summary gives `foundCount()`).
    Outcome find(SearchText *text, Direction d, const std::function<bool()> &continueFromOtherEnd);

    int foundCount() const { return foundCount_; }
    void clearFoundCount() { foundCount_ = 0; }
    bool firstPass() const { return firstPass_; }
    std::pair<int, int> savedSelection() const { return savedSelection_; }
    SearchText *searchView() const { return view_; }

  private:
    void start(SearchText *text, Direction d);
    bool position(SearchText *text, Direction d);
    /// The match rule for the line starting at `first`.
    MatchRule lineRule(SearchText &text, int first) const;
    bool searchLineForward(SearchText &text);
    bool searchLineBackward(SearchText &text);

    SearchText *view_ = nullptr;
    std::pair<int, int> savedSelection_{0, 0};
    int searchLine_ = 0;
    int searchColumn_ = 0;
    int endLine_ = 0;
    bool newSession_ = true;
    bool firstPass_ = true;
    int foundCount_ = 0;
    Direction lastDirection_ = Direction::Forward;
    bool hasDirection_ = false;
};

} // namespace tarvellite::search
