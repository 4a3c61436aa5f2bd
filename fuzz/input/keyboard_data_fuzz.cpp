// Fuzz target for the keyboard data reader: any bytes must be refused cleanly or give tables
// that write back to the same bytes and that the engine can type with.

#include "core/input/key_script.h"
#include "core/input/keyboard_data.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace tarvellite;
    Result<KeyboardTables> tables = parseKeyboardData(std::span<const std::uint8_t>(data, size));
    if (!tables)
        return 0;
    Result<KeyboardTables> again = parseKeyboardData(serializeKeyboardData(*tables));
    if (!again)
        std::abort();
    static const std::vector<KeyStroke> strokes = *parseKeyScript("kaihMRuAeE  q1!^f^1\\b\\n");
    InputContext context(*tables);
    for (std::size_t i = 0; i < tables->languageTable.size() && i < 16; ++i) {
        context.SelectLanguage(static_cast<int>(i));
        for (int j = 0; j < tables->languageTable[i].keyboardsInLanguage && j < 8; ++j) {
            context.SelectKeyboard(j);
            TranslationEngine engine(context);
            MemoryTarget target;
            typeKeyStrokes(engine, target, TargetKind::TargetDocument, strokes);
            for (char16_t u : target.text())
                if (u == 0xFFFF)
                    std::abort();
        }
    }
    return 0;
}
