#include "ui/document/text_helpers.h"

#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextDocument>

namespace tarvellite::ui {

namespace {

// The grapheme boundary at or before (`forward` false) or at or after (`forward` true)
// `position`.
int clusterBoundary(const QTextDocument *document, int position, bool forward) {
    const QTextBlock block = document->findBlock(position);
    if (!block.isValid())
        return position;
    const QString text = block.text();
    const int relative = position - block.position();
    if (relative <= 0 || relative >= text.size())
        return position;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    finder.setPosition(relative);
    if (finder.isAtBoundary())
        return position;
    const qsizetype moved = forward ? finder.toNextBoundary() : finder.toPreviousBoundary();
    return moved < 0 ? position : block.position() + int(moved);
}

} // namespace

void expandToClusters(QTextCursor &cursor) {
    if (!cursor.hasSelection())
        return;
    const QTextDocument *document = cursor.document();
    const int start = clusterBoundary(document, cursor.selectionStart(), false);
    const int end = clusterBoundary(document, cursor.selectionEnd(), true);
    const bool anchorFirst = cursor.anchor() <= cursor.position();
    cursor.setPosition(anchorFirst ? start : end);
    cursor.setPosition(anchorFirst ? end : start, QTextCursor::KeepAnchor);
}

void forEachFormat(const QTextDocument *document, int from, int to,
                   const std::function<void(const QTextCharFormat &)> &visit) {
    if (from >= to)
        return;
    for (QTextBlock block = document->findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int fragStart = fragment.position();
            const int fragEnd = fragStart + fragment.length();
            if (fragEnd <= from || fragStart >= to)
                continue;
            visit(fragment.charFormat());
        }
    }
}

bool joinClusterFormats(QTextDocument *document, int from, int to) {
    bool changed = false;
    from = qMax(0, from);
    for (QTextBlock block = document->findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        QTextCharFormat previous;
        int previousEnd = -1;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = fragment.position();
            const QString text = fragment.text();
            if (previousEnd == start && start >= from && start < to && !text.isEmpty() &&
                isJoiningMark(text.at(0)) && fragment.charFormat() != previous) {
                int marks = 1;
                while (marks < text.size() && isJoiningMark(text.at(marks)))
                    ++marks;
                QTextCursor cursor(document);
                cursor.setPosition(start);
                cursor.setPosition(start + marks, QTextCursor::KeepAnchor);
                cursor.setCharFormat(previous);
                changed = true;
                // The fragments changed under the iterator: start this block again.
                return joinClusterFormats(document, start + marks, to) || changed;
            }
            previous = fragment.charFormat();
            previousEnd = start + fragment.length();
        }
    }
    return changed;
}

void replaceKeepingFormat(QTextCursor &cursor, const QString &text) {
    QTextCharFormat format = cursor.charFormat();
    if (cursor.hasSelection()) {
        QTextCursor first(cursor.document());
        first.setPosition(cursor.selectionStart() + 1);
        format = first.charFormat(); // the format of the character before position + 1
    }
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    cursor.insertText(text, format);
    cursor.endEditBlock();
}

} // namespace tarvellite::ui
