#pragma once

#include "ui/input/text_targets.h"

#include <QComboBox>
#include <QLineEdit>
#include <utility>

namespace tarvellite {

/// A single-line field with Indic input: the keyboard routing translates what is typed into
/// it with the current language and keyboard.
class CKbdEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit CKbdEdit(QWidget *parent = nullptr);
    LineEditTarget &target() { return target_; }

  private:
    LineEditTarget target_;
};

/// An editable combo box with Indic input. It remembers its edit selection, which a combo box
/// forgets when it loses the focus, so that typing (and the on-screen keyboard) continue where
/// the caret was.
class CKbdCombo : public QComboBox {
    Q_OBJECT
  public:
    explicit CKbdCombo(QWidget *parent = nullptr);
    LineEditTarget &target() { return target_; }

    /// The last edit selection as (start, end).
    std::pair<int, int> savedEditSelection() const { return savedEditSelection_; }
    /// Stores the edit part's current selection.
    void saveEditSelection();
    /// Puts the stored selection back into the edit part.
    void restoreEditSelection();

  protected:
    void focusInEvent(QFocusEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    LineEditTarget target_;
    std::pair<int, int> savedEditSelection_{0, 0};
};

} // namespace tarvellite
