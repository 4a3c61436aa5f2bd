#pragma once

// Paragraph indents at the scale a document is laid out.
//
// The text layout scales fonts, tab stops and pictures to its paint device (the view's zoom,
// a printer's resolution) but takes paragraph margins and the first-line indent as they
// stand. A document therefore holds its indents multiplied by its indent scale: every
// reader and writer of indents converts through these functions, and a new scale rewrites
// the indents of the document's paragraph formats in place. The undo history refers to those
// same formats, so it stays true at the new scale and no undo step is added.

class QTextDocument;

namespace tarvellite::ui {

/// The factor the document's indents are held at (1 when never set).
double indentScale(const QTextDocument *document);
/// Rewrites every paragraph format's start, right and first-line indents from the current
/// scale to `scale` (> 0), and lays the text out again.
void setIndentScale(QTextDocument *document, double scale);

/// A copy of `original` made with clone() holds its indents: it takes its scale.
void adoptIndentScale(QTextDocument *copy, const QTextDocument *original);

/// Twips to the value a paragraph format of `document` holds, and back (rounded).
double indentTwipsToUnits(const QTextDocument *document, int twips);
int indentUnitsToTwips(const QTextDocument *document, double units);

} // namespace tarvellite::ui
