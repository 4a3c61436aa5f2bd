#pragma once

// The rich-text model of the readers and writers, mapped onto a QTextDocument and back.
//
// Everything the model holds survives model -> QTextDocument -> model: faces (an empty face
// stays empty), character sets, sizes, effects, colours (automatic stays automatic), paragraph
// alignment, indents, tab stops, bullets and numbering with suffix, start, level and tab, and
// pictures with their stored bytes. The one change: a combining mark whose format differs from
// the character it joins takes that character's format, so that no cluster is split.

#include "core/document/rich_text.h"

class QTextDocument;

namespace tarvellite::ui {

/// Replaces the content of `document` with `model`. The caller owns undo: this is an edit.
void fillTextDocument(QTextDocument *document, const RichDocument &model);

/// The content of `document` as a model.
RichDocument richDocumentFrom(const QTextDocument *document);

} // namespace tarvellite::ui
