#pragma once

// Character and paragraph formatting of a selection, over a QTextCursor: what the formatting
// commands read and change. Needs no view: the view, the ribbon and tests call it on any
// cursor of a document.
//
// Reading: an effect is checked when the whole selection has it and partly checked when the
// selection is mixed; a face or size that differs over the selection reads as mixed. Without
// a selection the cursor's typing format counts.
// Changing: a selection is first widened to whole grapheme clusters, so that no cluster is
// split across formats; without a selection the change goes to the cursor's typing format
// (give the cursor back to the editor with setTextCursor).

#include <QColor>
#include <QString>
#include <QTextCursor>

namespace tarvellite::ui::text_format {

enum class Effect { Bold, Italic, Underline, StrikeOut };

/// The offset a paragraph gets with bullets when it has none.
inline constexpr int bulletOffsetTwips = 720;

/// Face of `format`: its first family, else the document's default face.
QString face(const QTextCharFormat &format, const QTextDocument *document);
/// Size of `format` in twips: its point size, else the document's default; -1 when neither.
int twips(const QTextCharFormat &format, const QTextDocument *document);

/// Face of the selection; empty when the face or character set is mixed.
QString selectionFace(const QTextCursor &cursor);
/// Size of the selection in twips; -1 when mixed.
int selectionTwips(const QTextCursor &cursor);
Qt::CheckState effectState(const QTextCursor &cursor, Effect effect);

/// Merges `format` into the selection (or the typing format).
void merge(QTextCursor &cursor, const QTextCharFormat &format);
/// Inverts `effect` when the whole selection has the same state, else switches it on.
void toggleEffect(QTextCursor &cursor, Effect effect);
/// Face (cut to the longest face name a file keeps) with the Unicode character set.
void setFace(QTextCursor &cursor, const QString &face);
void setTwips(QTextCursor &cursor, int twips);
void setTextColour(QTextCursor &cursor, const QColor &colour);
void setBackColour(QTextCursor &cursor, const QColor &colour);

/// Horizontal alignment of the paragraph at the selection start: Qt::AlignLeft,
/// Qt::AlignHCenter, Qt::AlignRight or Qt::AlignJustify.
Qt::Alignment alignment(const QTextCursor &cursor);
void setAlignment(QTextCursor &cursor, Qt::Alignment alignment);

/// Start indent, right indent and offset of the paragraph at the selection start, twips.
int startIndent(const QTextCursor &cursor);
int rightIndent(const QTextCursor &cursor);
int offset(const QTextCursor &cursor);
/// Sets the start indent of every selected paragraph, keeping its offset.
void setStartIndent(QTextCursor &cursor, int twips);

/// Whether the paragraph at the selection start has bullets.
bool hasBullets(const QTextCursor &cursor);
/// Numbering item (1 … 7) of the paragraph at the selection start; 0 for none or bullets.
int numberingItem(const QTextCursor &cursor);
/// Removes bullets (indent and offset 0) when every selected paragraph has them; otherwise
/// bullets everywhere, with `bulletOffsetTwips` where the offset was 0.
void toggleBullets(QTextCursor &cursor);
/// Numbering item 1 … 7 with `tabTwips` as its numbering tab (and as the offset where the
/// offset was 0); any other item removes lists and sets indent and offset to 0.
void setNumbering(QTextCursor &cursor, int item, int tabTwips);

} // namespace tarvellite::ui::text_format
