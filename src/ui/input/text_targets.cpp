#include "ui/input/text_targets.h"

#include <QLineEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>

namespace tarvellite {

bool joinsPreviousCharacter(char16_t unit) {
    return QChar(unit).isMark() || unit == 0x200C || unit == 0x200D;
}

DocumentTarget::DocumentTarget(QTextEdit *edit) : edit_(edit) {}

std::pair<int, int> DocumentTarget::GetSelection() {
    if (!edit_)
        return {0, 0};
    const QTextCursor c = edit_->textCursor();
    return {c.selectionStart(), c.selectionEnd()};
}

std::u16string DocumentTarget::ReadRange(int from, int to) {
    std::u16string units;
    if (!edit_)
        return units;
    const QTextDocument *doc = edit_->document();
    // The last position is the document's closing paragraph separator, which holds no text.
    const int last = doc->characterCount() - 1;
    from = std::clamp(from, 0, last);
    to = std::clamp(to, from, last);
    units.reserve(static_cast<std::size_t>(to - from));
    for (int i = from; i < to; ++i) {
        const QChar ch = doc->characterAt(i);
        // Paragraph and line breaks read as the line feed a text field holds.
        const char16_t u = ch.unicode();
        units.push_back(u == QChar::ParagraphSeparator || u == QChar::LineSeparator ? u'\n' : u);
    }
    return units;
}

void DocumentTarget::placeCursor(QTextCursor cursor) {
    const QTextCharFormat typing = edit_->currentCharFormat();
    edit_->setTextCursor(cursor);
    edit_->setCurrentCharFormat(typing);
}

void DocumentTarget::DeleteRange(int from, int to) {
    if (!edit_)
        return;
    const int last = edit_->document()->characterCount() - 1;
    from = std::clamp(from, 0, last);
    to = std::clamp(to, 0, last);
    if (to < from)
        std::swap(from, to);
    QTextCursor c(edit_->document());
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    const QTextCharFormat typing = edit_->currentCharFormat();
    c.removeSelectedText();
    edit_->setTextCursor(c);
    edit_->setCurrentCharFormat(typing);
}

void DocumentTarget::SetCaret(int position) {
    if (!edit_)
        return;
    QTextCursor c(edit_->document());
    c.setPosition(std::clamp(position, 0, edit_->document()->characterCount() - 1));
    placeCursor(c);
}

void DocumentTarget::Deliver(char16_t unit) {
    if (!edit_)
        return;
    QTextCursor c = edit_->textCursor();
    const QTextCharFormat typing = edit_->currentCharFormat();
    if (edit_->overwriteMode() && !c.hasSelection() && !c.atBlockEnd())
        c.setPosition(c.position() + 1, QTextCursor::KeepAnchor);
    QTextCharFormat format = typing;
    if (joinsPreviousCharacter(unit) && !c.hasSelection() && !c.atBlockStart()) {
        // A fresh cursor reports the format of the character before it, not a typing format.
        QTextCursor before(edit_->document());
        before.setPosition(c.position());
        format = before.charFormat();
    }
    c.insertText(QString(QChar(unit)), format);
    edit_->setTextCursor(c);
    edit_->setCurrentCharFormat(typing);
    if (delivered_)
        delivered_();
}

void DocumentTarget::beginKeystroke() {
    if (!edit_)
        return;
    if (depth_++ == 0) {
        block_ = QTextCursor(edit_->document());
        block_.beginEditBlock();
    }
}

void DocumentTarget::endKeystroke() {
    if (!edit_ || depth_ == 0)
        return;
    if (--depth_ == 0) {
        block_.endEditBlock();
        block_ = QTextCursor();
        edit_->ensureCursorVisible();
    }
}

std::pair<int, int> LineEditTarget::GetSelection() {
    if (!edit_)
        return {0, 0};
    if (edit_->hasSelectedText()) {
        const int start = edit_->selectionStart();
        return {start, start + static_cast<int>(edit_->selectedText().size())};
    }
    const int caret = edit_->cursorPosition();
    return {caret, caret};
}

std::u16string LineEditTarget::ReadRange(int from, int to) {
    if (!edit_)
        return {};
    const QString text = edit_->text();
    from = std::clamp(from, 0, static_cast<int>(text.size()));
    to = std::clamp(to, from, static_cast<int>(text.size()));
    const QStringView part = QStringView(text).mid(from, to - from);
    return std::u16string(reinterpret_cast<const char16_t *>(part.utf16()),
                          static_cast<std::size_t>(part.size()));
}

void LineEditTarget::DeleteRange(int from, int to) {
    if (!edit_)
        return;
    const int size = static_cast<int>(edit_->text().size());
    from = std::clamp(from, 0, size);
    to = std::clamp(to, 0, size);
    if (to < from)
        std::swap(from, to);
    if (to > from) {
        edit_->setSelection(from, to - from);
        edit_->del();
    }
    edit_->setCursorPosition(from);
}

void LineEditTarget::SetCaret(int position) {
    if (edit_)
        edit_->setCursorPosition(position);
}

void LineEditTarget::Deliver(char16_t unit) {
    if (edit_)
        edit_->insert(QString(QChar(unit)));
}

} // namespace tarvellite
