#pragma once

// Helpers for typing tests: load the shipped keyboard data and type key scripts through the
// engine into an in-memory field.

#include "core/app/unicode.h"
#include "core/input/key_script.h"
#include "core/input/keyboard_data.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace tarvellite::testing {

/// The keyboard data compiled into the program folder by the build.
inline const KeyboardTables &shippedTables() {
    static const KeyboardTables tables = [] {
        KeyboardTables t;
        if (!LoadKeyboardData(TARVELLITE_PROGRAM_DIR, t))
            ADD_FAILURE() << "cannot load the shipped Kbdentry.dat from " TARVELLITE_PROGRAM_DIR;
        return t;
    }();
    return tables;
}

/// Index of the language with `code`, or -1.
inline int languageIndexOf(const KeyboardTables &tables, std::string_view code) {
    for (std::size_t i = 0; i < tables.languageCodes.size() && i < tables.languageTable.size(); ++i)
        if (tables.languageCodes[i] == code)
            return static_cast<int>(i);
    return -1;
}

/// Relative index of the keyboard named `name` (UTF-8) in `language`, or -1.
inline int keyboardIndexOf(const KeyboardTables &tables, int language, std::string_view name) {
    if (language < 0)
        return -1;
    const LANGDETAILS &l = tables.languageTable[language];
    for (int j = 0; j < l.keyboardsInLanguage; ++j)
        if (tables.keyboardTypeTable[l.firstKeyboard + j].name == utf8ToUtf16(name))
            return j;
    return -1;
}

/// The key table of keyboard `name` of language `code`.
inline const KBDDATA &keyboardData(const KeyboardTables &tables, std::string_view code,
                                   std::string_view name) {
    const int language = languageIndexOf(tables, code);
    const int keyboard = keyboardIndexOf(tables, language, name);
    EXPECT_GE(keyboard, 0) << code << " " << name;
    return tables.keyboardDataTable.at(
        tables.languageTable.at(std::max(language, 0)).firstKeyboard + std::max(keyboard, 0));
}

/// The units key `k` types in `layer`.
inline std::u16string unitsOf(const KBDDATA &keys, int layer, int k) {
    std::u16string units;
    for (int p = 1; p <= keys.unitCount(layer, k); ++p)
        units.push_back(keys.slot(layer, p, k));
    return units;
}

struct TypingOptions {
    EngineOptions engine;
    bool capsLock = false;
    TargetKind kind = TargetKind::TargetDocument;
    std::u16string initialText;

    static TypingOptions withEngine(bool enhancedEditing, bool autoPulli) {
        TypingOptions o;
        o.engine.enhancedEditing = enhancedEditing;
        o.engine.autoPulli = autoPulli;
        return o;
    }
    static TypingOptions withCapsLock() {
        TypingOptions o;
        o.capsLock = true;
        return o;
    }
    static TypingOptions into(TargetKind kind) {
        TypingOptions o;
        o.kind = kind;
        return o;
    }
};

/// Types `keys` (a key script, as for `tarvellite-cli type`) with keyboard `keyboard` of
/// `language` and returns the text as UTF-8.
inline std::string typeKeys(const KeyboardTables &source, int language, int keyboard,
                            std::string_view keys, const TypingOptions &options = {}) {
    KeyboardTables tables = source;
    InputContext context(tables);
    context.SelectLanguage(language);
    context.SelectKeyboard(keyboard);
    TranslationEngine engine(context);
    engine.options() = options.engine;
    engine.setCapsLock(options.capsLock);
    MemoryTarget target(options.initialText);
    Result<std::vector<KeyStroke>> strokes = parseKeyScript(keys);
    if (!strokes) {
        ADD_FAILURE() << "bad key script \"" << keys << "\": " << strokes.error().message;
        return {};
    }
    typeKeyStrokes(engine, target, options.kind, *strokes);
    return utf16ToUtf8(target.text());
}

/// One row of a typing table: what is typed and the text it must give.
struct TypingCase {
    const char *keys;
    const char *expected;
    const char *note = "";
};

/// Checks every row of `cases` on one keyboard, naming the failing rows.
inline void expectTyping(const KeyboardTables &tables, std::string_view code,
                         std::string_view keyboardName, std::initializer_list<TypingCase> cases,
                         const TypingOptions &options = {}) {
    const int language = languageIndexOf(tables, code);
    ASSERT_GE(language, 0) << "no language " << code;
    const int keyboard = keyboardIndexOf(tables, language, keyboardName);
    ASSERT_GE(keyboard, 0) << "no keyboard \"" << keyboardName << "\" in " << code;
    for (const TypingCase &c : cases) {
        EXPECT_EQ(typeKeys(tables, language, keyboard, c.keys, options), c.expected)
            << code << " / " << keyboardName << " | keys \"" << c.keys << "\" " << c.note;
    }
}

} // namespace tarvellite::testing
