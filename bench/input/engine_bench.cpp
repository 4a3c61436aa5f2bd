// Cost of the translation engine per keystroke, and of loading the keyboard data.
//
// Each keystroke is what the system sends: key down, character, key up (and Shift around
// shifted characters), typed into an in-memory field.

#include "core/input/key_script.h"
#include "core/input/keyboard_data.h"

#include <benchmark/benchmark.h>

namespace tarvellite {
namespace {

const KeyboardTables &shipped() {
    static const KeyboardTables t = [] {
        KeyboardTables tables;
        LoadKeyboardData(TARVELLITE_PROGRAM_DIR, tables);
        return tables;
    }();
    return t;
}

// Finds keyboard `kind` (phonetic or not) of language `code`.
bool select(InputContext &context, const char *code, bool phonetic) {
    const KeyboardTables &t = context.tables();
    for (std::size_t i = 0; i < t.languageCodes.size() && i < t.languageTable.size(); ++i) {
        if (t.languageCodes[i] != code)
            continue;
        context.SelectLanguage(static_cast<int>(i));
        const LANGDETAILS &l = t.languageTable[i];
        for (int j = 0; j < l.keyboardsInLanguage; ++j) {
            if (t.keyboardTypeTable[l.firstKeyboard + j].isPhonetic() == phonetic) {
                context.SelectKeyboard(j);
                return true;
            }
        }
    }
    return false;
}

void typeText(benchmark::State &state, const char *code, bool phonetic, const char *text) {
    KeyboardTables tables = shipped();
    InputContext context(tables);
    if (!select(context, code, phonetic)) {
        state.SkipWithError("layout not in the shipped keyboard data");
        return;
    }
    TranslationEngine engine(context);
    const std::vector<KeyStroke> strokes = *parseKeyScript(text);
    std::int64_t keys = 0;
    for (auto _ : state) {
        MemoryTarget target;
        typeKeyStrokes(engine, target, TargetKind::TargetDocument, strokes);
        benchmark::DoNotOptimize(target.text().data());
        keys += static_cast<std::int64_t>(strokes.size());
    }
    state.SetItemsProcessed(keys);
    state.counters["ns_per_key"] = benchmark::Counter(
        static_cast<double>(keys), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// About 1,000 keys of running text each: words, spaces, a few corrections.
std::string repeat(const char *phrase, int times) {
    std::string s;
    for (int i = 0; i < times; ++i)
        s += phrase;
    return s;
}

const std::string tamilPhonetic =
    repeat("vaNakkam naNpargaLe, thamizh mozhi inimaiyaanathu. kaalai vaNakkam\\b\\bm. ", 14);
const std::string tamilTypewriter = repeat("hjkl;' kkll jjhh ;lkj hgfdsa qwerty \\b ", 25);
const std::string hindiPhonetic =
    repeat("namaste, aap kaise hain? bhaarat ek mahaan desh hai. kRShNa ", 17);

void BM_TamilPhonetic(benchmark::State &s) {
    typeText(s, "TA", true, tamilPhonetic.c_str());
}
void BM_TamilTypewriter(benchmark::State &s) {
    typeText(s, "TA", false, tamilTypewriter.c_str());
}
void BM_HindiPhonetic(benchmark::State &s) {
    typeText(s, "HI", true, hindiPhonetic.c_str());
}
BENCHMARK(BM_TamilPhonetic);
BENCHMARK(BM_TamilTypewriter);
BENCHMARK(BM_HindiPhonetic);

void BM_LoadKeyboardData(benchmark::State &state) {
    for (auto _ : state) {
        KeyboardTables t;
        benchmark::DoNotOptimize(LoadKeyboardData(TARVELLITE_PROGRAM_DIR, t));
    }
}
BENCHMARK(BM_LoadKeyboardData)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace tarvellite

BENCHMARK_MAIN();
