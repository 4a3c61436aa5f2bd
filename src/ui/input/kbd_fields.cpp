#include "ui/input/kbd_fields.h"

#include <QEvent>

namespace tarvellite {

CKbdEdit::CKbdEdit(QWidget *parent) : QLineEdit(parent), target_(this) {
    // The engine translates the keys itself; an input method would hand over committed text.
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

CKbdCombo::CKbdCombo(QWidget *parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, false);
    lineEdit()->installEventFilter(this);
    target_.setEdit(lineEdit());
}

void CKbdCombo::saveEditSelection() {
    savedEditSelection_ = target_.GetSelection();
}

void CKbdCombo::restoreEditSelection() {
    QLineEdit *edit = lineEdit();
    const int size = static_cast<int>(edit->text().size());
    const int start = std::clamp(savedEditSelection_.first, 0, size);
    const int end = std::clamp(savedEditSelection_.second, start, size);
    if (end > start)
        edit->setSelection(start, end - start);
    else
        edit->setCursorPosition(start);
}

void CKbdCombo::focusInEvent(QFocusEvent *event) {
    const auto saved = savedEditSelection_;
    QComboBox::focusInEvent(event);
    // Taking the focus must not select the whole text.
    savedEditSelection_ = saved;
    restoreEditSelection();
}

bool CKbdCombo::eventFilter(QObject *watched, QEvent *event) {
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonRelease)
        saveEditSelection();
    return QComboBox::eventFilter(watched, event);
}

} // namespace tarvellite
