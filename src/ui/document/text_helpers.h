#pragma once

// Small text operations the view, the find pane, the spell checker and the look-ahead popup
// share.

#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>
#include <functional>

class QTextDocument;

namespace tarvellite::ui {

/// Widens the selection of `cursor` so that neither end falls inside a grapheme cluster. A
/// cursor without a selection is left alone.
void expandToClusters(QTextCursor &cursor);

/// Gives every combining mark (a dependent vowel sign, a virama, ...) in [from, to) whose
/// format differs from the character it joins the format of that character. A cluster split
/// across formats is drawn with a dotted circle. Returns whether anything changed. The change
/// joins the caller's edit block, if any.
bool joinClusterFormats(QTextDocument *document, int from, int to);

/// Replaces the selection of `cursor` with `text` in the format of the first replaced
/// character. (A plain insert would take the format of the character before the selection.)
/// With no selection it inserts in the cursor's format. The cursor ends after the new text.
void replaceKeepingFormat(QTextCursor &cursor, const QString &text);

/// Calls `visit` with each character format over [from, to), fragment by fragment. An empty
/// range visits nothing.
void forEachFormat(const QTextDocument *document, int from, int to,
                   const std::function<void(const QTextCharFormat &)> &visit);

/// Whether the character is a combining mark: it joins the character before it.
inline bool isJoiningMark(QChar c) {
    return c.isMark() || c.unicode() == 0x200C || c.unicode() == 0x200D;
}

} // namespace tarvellite::ui
