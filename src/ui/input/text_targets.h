#pragma once

#include "core/input/text_target.h"

#include <QLineEdit>
#include <QPointer>
#include <QTextCursor>
#include <QTextEdit>
#include <functional>

namespace tarvellite {

/// The engine's target over a document's QTextEdit.
///
/// Keeps the typing format across the engine's cursor moves, gives a dependent sign, virama or
/// joiner the format of the character it joins (a cluster split across formats renders with a
/// dotted circle), and makes all edits of one keystroke one undo step.
class DocumentTarget final : public TextTarget {
  public:
    explicit DocumentTarget(QTextEdit *edit);

    std::pair<int, int> GetSelection() override;
    std::u16string ReadRange(int from, int to) override;
    void DeleteRange(int from, int to) override;
    void SetCaret(int position) override;
    void Deliver(char16_t unit) override;
    void beginKeystroke() override;
    void endKeystroke() override;

    /// Called after every delivered unit (the look-ahead popup updates from here).
    void setDeliveredHook(std::function<void()> hook) { delivered_ = std::move(hook); }

    QTextEdit *edit() const { return edit_; }

  private:
    void placeCursor(QTextCursor cursor);

    QPointer<QTextEdit> edit_;
    QTextCursor block_;
    int depth_ = 0;
    std::function<void()> delivered_;
};

/// The engine's target over a single-line field (a `CKbdEdit`, or the edit part of a
/// `CKbdCombo`).
class LineEditTarget final : public TextTarget {
  public:
    explicit LineEditTarget(QLineEdit *edit = nullptr) : edit_(edit) {}
    void setEdit(QLineEdit *edit) { edit_ = edit; }
    QLineEdit *edit() const { return edit_; }

    std::pair<int, int> GetSelection() override;
    std::u16string ReadRange(int from, int to) override;
    void DeleteRange(int from, int to) override;
    void SetCaret(int position) override;
    void Deliver(char16_t unit) override;

  private:
    QPointer<QLineEdit> edit_;
};

/// Whether `unit` joins the character before it into one cluster (a combining mark or a
/// joiner), and so must share its format.
bool joinsPreviousCharacter(char16_t unit);

} // namespace tarvellite
