#pragma once

// The conversion of a loaded document's legacy Tamil text (runs set in TAM or TAB fonts) to
// Unicode Tamil, as done after an RTF, Word or web file is opened.

#include "core/document/rich_text.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace tarvellite {

/// What to do after loading a document with legacy fonts, from the `tamTabConversion`
/// preference: 0 ask the user (also for values out of range), 1 convert, 2 leave the text as
/// loaded.
enum class LegacyOnOpen { Ask, Convert, Leave };
LegacyOnOpen legacyOnOpenAction(int tamTabConversion);

/// The question asked for `LegacyOnOpen::Ask`, with Yes and No buttons.
inline constexpr const char *legacyQuestionText =
    "TAM / TAB fonts found in the text. Do you want to convert this to Unicode";
inline constexpr const char *legacyQuestionCaption =
    "Always Ask Option selected in Preference for TAM / TAB Conversion";
/// The text of the wait box shown while a document is converted.
inline constexpr const char *legacyWaitText =
    "Converting TAM/TAB Fonts to Unicode Font. Please Wait...";

/// Whether a font of exactly this face name is installed.
using FontInstalledFn = std::function<bool(std::u16string_view faceName)>;

/// The longest face name, in characters, given to converted text.
inline constexpr std::size_t legacyTargetFaceLimit = 16;

/// The Unicode font for text converted from the legacy font `legacyFace`: the face without its
/// first three letters ("TAMLatha" -> "Latha"), cut to 16 characters, when a font of exactly
/// that name is installed; otherwise the first 16 characters of `defaultUnicodeFont`. Never
/// empty: with an empty default it is the cut face without its first three letters even though
/// it is not installed (the editor falls back to a font that has the characters), and for a
/// face of only three letters `legacyFace` itself.
std::u16string legacyTargetFont(std::u16string_view legacyFace,
                                std::u16string_view defaultUnicodeFont,
                                const FontInstalledFn &isFontInstalled);

/// What `ConvertLegacyRuns` needs to know of the system and the settings.
struct LegacyConversionOptions {
    /// `defaultUnicodeFont` of the editing options.
    std::u16string defaultUnicodeFont;
    /// Whether a face is installed; when empty, none is.
    FontInstalledFn isFontInstalled;
    /// Called after each converted run with the characters of legacy text done so far and in
    /// all (for the wait box's progress); may be empty.
    std::function<void(std::size_t done, std::size_t total)> progress;
};

/// Converts, in one walk over `document`, the text of every run whose face is a TAM or TAB
/// font (see `legacyKindOfFace`), word by word as `appendLegacyWords` does. A word is a maximal
/// run of characters above U+0020 within a paragraph; a word that goes on across consecutive
/// legacy runs of one encoding (a change of size or colour inside a word) is converted as one
/// and placed in the run where it starts. Converted runs take the face of `legacyTargetFont`
/// (only the face and its character set change); all other runs, and the characters of legacy
/// runs that are not legacy text, stay as they are. Returns the number of words converted.
int ConvertLegacyRuns(RichDocument &document, const LegacyConversionOptions &options);

} // namespace tarvellite
