#pragma once

#include <string>
#include <utility>

namespace tarvellite {

/// The kinds of field the engine types into.
enum class TargetKind : int { TargetEdit = 1, TargetCombo = 4, TargetDocument = 7 };

/// A text field as the engine sees it: a run of UTF-16 units with a selection.
///
/// Positions are UTF-16 offsets from the start of the text. Implementations clamp positions
/// to the text and keep the typing format across their operations.
class TextTarget {
  public:
    virtual ~TextTarget() = default;

    /// The selection as (start, end), start ≤ end; an empty selection is the caret.
    virtual std::pair<int, int> GetSelection() = 0;
    /// The units from `from` up to, not including, `to`.
    virtual std::u16string ReadRange(int from, int to) = 0;
    /// Removes the units from `from` to `to`; the caret ends at `from`.
    virtual void DeleteRange(int from, int to) = 0;
    /// Collapses the selection at `position`.
    virtual void SetCaret(int position) = 0;
    /// Inserts one unit as a typed character would be, replacing the selection.
    virtual void Deliver(char16_t unit) = 0;

    /// Brackets the edits of one keystroke, so that they undo as one step.
    virtual void beginKeystroke() {}
    virtual void endKeystroke() {}
};

/// An in-memory target for tests and tools: a string with a selection, which performs the keys
/// that a text field performs itself (Backspace, Tab, Enter, space) when asked to.
class MemoryTarget final : public TextTarget {
  public:
    MemoryTarget() = default;
    explicit MemoryTarget(std::u16string text) : text_(std::move(text)), anchor_(0) {
        caret_ = anchor_ = static_cast<int>(text_.size());
    }

    std::pair<int, int> GetSelection() override;
    std::u16string ReadRange(int from, int to) override;
    void DeleteRange(int from, int to) override;
    void SetCaret(int position) override;
    void Deliver(char16_t unit) override;

    /// The field's own handling of a character the engine passed on: Backspace deletes the
    /// selection or the unit before the caret; Tab, Enter, space and printable units are
    /// inserted; other control characters are ignored.
    void performCharacter(char16_t ch);

    /// Selects from `anchor` to `caret`.
    void setSelection(int anchor, int caret);
    const std::u16string &text() const { return text_; }

  private:
    int clamp(int position) const;
    void replaceSelection(std::u16string_view units);

    std::u16string text_;
    int anchor_ = 0;
    int caret_ = 0;
};

} // namespace tarvellite
