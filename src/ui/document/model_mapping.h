#pragma once

// The rich-text model of the readers and writers, mapped onto a QTextDocument and back.
//
// Everything the model holds survives model -> QTextDocument -> model: faces (an empty face
// stays empty), character sets, sizes, effects, colours (automatic stays automatic), paragraph
// alignment, indents, tab stops, bullets and numbering with suffix, start, level and tab, and
// pictures with their stored bytes. The one change: a combining mark whose format differs from
// the character it joins takes that character's format, so that no cluster is split.

#include "core/document/rich_text.h"

class QTextCursor;
class QTextDocument;

namespace tarvellite::ui {

/// Replaces the content of `document` with `model`. The caller owns undo: this is an edit.
void fillTextDocument(QTextDocument *document, const RichDocument &model);

/// Inserts `picture` at `cursor` in the character format `format`, drawn at its displayed size
/// (its natural size when unset) and kept with its bytes, so that `richDocumentFrom` gives it
/// back unchanged. Metafiles and pictures that cannot be decoded show as a framed box.
void insertPicture(QTextCursor &cursor, const Picture &picture, const CharFormat &format);

/// Gives the picture `cursor` selects (one character) the displayed size `widthTwips` ×
/// `heightTwips`, as one edit. False when the selection is not one picture.
bool setPictureSize(QTextCursor &cursor, int widthTwips, int heightTwips);

/// The content of `document` as a model.
RichDocument richDocumentFrom(const QTextDocument *document);

} // namespace tarvellite::ui
