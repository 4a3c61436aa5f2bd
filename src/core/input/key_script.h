#pragma once

#include "core/app/result.h"
#include "core/input/text_target.h"
#include "core/input/translation_engine.h"

#include <string>
#include <string_view>
#include <vector>

namespace tarvellite {

/// One physical key press of a typing script.
struct KeyStroke {
    enum class Kind { Character, Backspace, Tab, Enter, Ctrl };
    Kind kind = Kind::Character;
    /// The character typed (Character, Ctrl).
    char ch = 0;
};

/// Parses a typing script: a printable ASCII character is the press of its key, a space the
/// space bar; `\b` Backspace, `\t` Tab, `\n` Enter, `^x` Ctrl+x, `\\` a backslash, `\^` a caret.
Result<std::vector<KeyStroke>> parseKeyScript(std::string_view script);

/// What the typing did besides changing the text.
struct TypingReport {
    /// Ctrl combinations the engine passed on to the program (their characters).
    std::string passedShortcuts;
};

/// Types `strokes` into `target` through `engine`, as the system sends them: Shift down and up
/// around a character that needs it (with Caps Lock on, letters come as upper case without
/// Shift), key down, the character, key up. Characters the engine does not consume are then
/// performed by the field.
TypingReport typeKeyStrokes(TranslationEngine &engine, MemoryTarget &target, TargetKind kind,
                            const std::vector<KeyStroke> &strokes);

} // namespace tarvellite
