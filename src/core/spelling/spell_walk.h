#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvellite {

/// The text a spell walk reads and corrects: a run of UTF-16 units.
class SpellText {
  public:
    virtual ~SpellText() = default;
    virtual int length() = 0;
    /// The units from `from` up to, not including, `to`.
    virtual std::u16string read(int from, int to) = 0;
    /// Replaces the units from `from` to `to` by `text`.
    virtual void replace(int from, int to, std::u16string_view text) = 0;
};

/// The directions a walk can take, in the order the pane lists them.
enum class SpellDirection {
    BeginToEnd,
    BeginToCursor,
    CursorToEnd,
    SelectedOnly,
    EndToBegin,
    EndToCursor,
    CursorToBegin,
};

/// The caption of a direction ("Begin to End", ...).
std::u16string_view spellDirectionText(SpellDirection direction);

/// Steps through the words of a range of a text, one rejected word at a time.
///
/// A word is a run of word units (see `isWordUnitAt`); every word that overlaps the range is
/// checked once, forward or backward. The range follows the text: a replacement made through
/// the walk shifts the positions after it, and the end is clamped to the text's length on every
/// step, so the walk ends however much the text shrinks or grows.
class SpellWalk {
  public:
    /// Whether a word is acceptable.
    using Checker = std::function<bool(std::u16string_view)>;

    enum class Step {
        Found,  ///< stopped at a rejected word: see `currentWord()`
        Done,   ///< the range is exhausted (or no walk runs)
        Paused, ///< the word budget of this step ran out; call `next` again
    };

    SpellWalk(SpellText &text, Checker checker);

    /// Starts a walk in `direction`; `selectionStart` and `selectionEnd` are the selection (the
    /// caret when equal).
    void start(SpellDirection direction, int selectionStart, int selectionEnd);
    /// Ends the walk; `running()` is false afterwards.
    void stop();

    /// Checks words until one is rejected, the range ends, or `budget` words were checked.
    Step next(int budget = -1);

    /// Replaces the current word by `replacement`; the walk goes on after it.
    void change(std::u16string_view replacement);
    /// Replaces every whole-word occurrence of the current word (letters A to Z matched without
    /// case) inside the range by `replacement`; returns the count. The walk goes on after the
    /// current word; inserted text is never searched again.
    int changeAll(std::u16string_view replacement);

    bool running() const { return running_; }
    bool forward() const { return forward_; }
    bool waiting() const { return waiting_; }
    const std::u16string &currentWord() const { return currentWord_; }
    int wordStart() const { return wordStart_; }
    int wordEnd() const { return wordEnd_; }
    int wordsChecked() const { return wordsChecked_; }
    int rangeStart() const { return low_; }
    int rangeEnd() const { return high_; }

    /// How far the walk has come, from 0 to `progressMaximum()`, for either direction.
    int progress() const;
    int progressMaximum() const { return high_ > low_ ? high_ - low_ : 0; }

  private:
    void shift(int from, int to, int newLength);
    void replaceAt(int from, int to, std::u16string_view replacement);

    SpellText &text_;
    Checker checker_;
    bool running_ = false;
    bool forward_ = true;
    bool waiting_ = false;
    int low_ = 0;
    int high_ = 0;
    int position_ = 0;
    int wordStart_ = 0;
    int wordEnd_ = 0;
    int wordsChecked_ = 0;
    std::u16string currentWord_;
};

} // namespace tarvellite
