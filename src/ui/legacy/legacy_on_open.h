#pragma once

// The conversion of legacy Tamil text (runs set in TAM or TAB fonts) right after a document
// was opened.

namespace tarvellite::ui {

class CTarvelLiteView;

/// Converts every run of `view` whose face is a TAM or TAB font to Unicode Tamil, as the
/// `tamTabConversion` preference says: 0 asks first ("TAM / TAB fonts found in the text. Do you
/// want to convert this to Unicode", Yes/No), 1 converts, 2 leaves the text as loaded. Called
/// after a load whose font table named legacy fonts; nothing is asked when no text is set in
/// them.
///
/// The document is walked once: its text goes to the rich-text model, the core converts every
/// legacy run there word by word, and the result replaces the view's text, with the wait box
/// showing progress. Converted runs take the Unicode face of `legacyTargetFont` (the legacy face
/// without its first three letters when such a font is installed, else the default Unicode
/// font); every other run keeps its own font. The conversion is part of the load (no undo
/// step); the caret keeps its place and the document's `convertedOnLoad` is set, so that the
/// document shows as modified. Returns the number of words converted.
int ConvertLegacyRuns(CTarvelLiteView &view);

/// Makes every later document load run `ConvertLegacyRuns` when it finds legacy fonts.
void installLegacyConversionOnOpen();

} // namespace tarvellite::ui
