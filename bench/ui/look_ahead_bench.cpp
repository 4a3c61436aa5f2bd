// Cost of the look-ahead on the typing path: the prefix lookup in the shipped dictionaries,
// filling and placing the popup, the whole update, and keystrokes typed through the routing
// into a Tamil document while the popup shows (against the same keystrokes without a
// dictionary). Keystroke benchmarks report the mean and the 99th percentile per key.
// Runs offscreen unless QT_QPA_PLATFORM says otherwise.

#include "core/input/keyboard_data.h"
#include "core/input/translation_engine.h"
#include "core/spelling/dictionary.h"
#include "tamil_text.h"
#include "ui/input/input_router.h"
#include "ui/input/look_ahead.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTextEdit>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace tarvellite;

namespace {

constexpr int tamil = 3;

const CDictionary *shipped(const std::string &name) {
    static std::map<std::string, std::unique_ptr<CDictionary>> loaded;
    auto &d = loaded[name];
    if (!d) {
        d = std::make_unique<CDictionary>();
        if (!d->Load(std::string(TARVELLITE_PROGRAM_DIR) + "/DictionaryFiles/" + name + ".dic",
                     "/nonexistent/", false))
            return nullptr;
    }
    return d.get();
}

// The look-ahead's settings with a fixed dictionary.
class FixedSource : public LookAheadSource {
  public:
    const CDictionary *dictionary = nullptr;
    int language = tamil;
    const CDictionary *lookupDictionary() const override { return dictionary; }
    int lookAheadMinLetters() const override { return 3; }
    int currentLanguageIndex() const override { return language; }
};

struct Prefix {
    const char *dictionary;
    std::u16string prefix;
};

// Short prefixes match many words (the walk stops at the limit); longer ones few.
const Prefix prefixes[] = {
    {"ta-IN", u"\u0ba4\u0bae"},                   // 2 units
    {"ta-IN", u"\u0ba4\u0bae\u0bbf"},             // 3 units
    {"ta-IN", u"\u0ba4\u0bae\u0bbf\u0bb4\u0bcd"}, // a whole word
    {"ta-IN", u"\u0b95\u0bb1\u0bcd\u0b95"},       // 4 units
    {"hi-IN", u"\u0915\u0930"},                   // 2 units
    {"en-US", u"tam"},
    {"en-US", u"qz"}, // no word
};

void BM_LookupPrefix(benchmark::State &state) {
    const Prefix &p = prefixes[state.range(0)];
    const CDictionary *d = shipped(p.dictionary);
    if (!d) {
        state.SkipWithError("dictionary not built");
        return;
    }
    std::vector<std::u16string> out;
    int found = 0;
    for (auto _ : state) {
        found = d->LookupPrefix(p.prefix, lookAheadLimit, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["words"] = found;
    state.SetLabel(std::string(p.dictionary) + " " + std::to_string(p.prefix.size()) + " units");
}
BENCHMARK(BM_LookupPrefix)->DenseRange(0, std::size(prefixes) - 1);

struct Editor {
    FixedSource source;
    QTextEdit edit;
    LookAhead lookAhead{&edit, &source};
    Editor() {
        source.dictionary = shipped("ta-IN");
        edit.resize(800, 600);
        edit.show();
    }
};

Editor &editor() {
    static Editor e;
    return e;
}

// Filling, sizing and placing the popup with 28 Tamil words while it is up.
void BM_ShowPopup(benchmark::State &state) {
    Editor &e = editor();
    if (!e.source.dictionary) {
        state.SkipWithError("dictionary not built");
        return;
    }
    std::vector<std::u16string> words;
    e.source.dictionary->LookupPrefix(u"\u0ba4\u0bae", lookAheadLimit, words);
    e.edit.setPlainText(QString::fromUtf16(u"\u0ba4\u0bae"));
    e.edit.moveCursor(QTextCursor::End);
    for (auto _ : state)
        e.lookAhead.ShowLookAheadPopup(words);
    e.lookAhead.HideLookAheadPopup();
    state.counters["words"] = static_cast<double>(words.size());
}
BENCHMARK(BM_ShowPopup)->Unit(benchmark::kMicrosecond);

// The whole update after one typed unit: the word before the caret, the lookup, the popup.
void BM_LookAheadUpdate(benchmark::State &state) {
    Editor &e = editor();
    if (!e.source.dictionary) {
        state.SkipWithError("dictionary not built");
        return;
    }
    // A long paragraph before the word: the search looks only a little way back.
    QString text;
    while (text.size() < 50000)
        text += QStringLiteral("வணக்கம் தமிழ் மொழி கற்க ");
    text += QString::fromUtf16(u"\u0ba4\u0bae\u0bbf");
    e.edit.setPlainText(text);
    e.edit.moveCursor(QTextCursor::End);
    bool shown = false;
    for (auto _ : state)
        shown = e.lookAhead.LookAheadUpdate();
    e.lookAhead.HideLookAheadPopup();
    if (!shown)
        state.SkipWithError("no popup");
}
BENCHMARK(BM_LookAheadUpdate)->Unit(benchmark::kMicrosecond);

// Keystrokes through the routing into a Tamil document of 400 paragraphs.
struct Typing {
    KeyboardTables tables;
    std::unique_ptr<InputContext> context;
    std::unique_ptr<TranslationEngine> engine;
    std::unique_ptr<InputRouter> router;
    FixedSource source;
    QTextEdit edit;
    std::unique_ptr<LookAhead> lookAhead;

    class Hooks : public DocumentKeyHooks {
      public:
        LookAhead *lookAhead = nullptr;
        bool handlePopupKey(QKeyEvent &event) override { return lookAhead->HandlePopupKey(event); }
        void lookAheadUpdate() override { lookAhead->LookAheadUpdate(); }
        void hideLookAhead() override { lookAhead->HideLookAheadPopup(); }
    } hooks;

    Typing() {
        LoadKeyboardData(TARVELLITE_PROGRAM_DIR, tables);
        context = std::make_unique<InputContext>(tables);
        context->SelectLanguage(tamil); // its phonetic keyboard
        engine = std::make_unique<TranslationEngine>(*context);
        router = std::make_unique<InputRouter>(*context, *engine);
        source.dictionary = shipped("ta-IN");
        lookAhead = std::make_unique<LookAhead>(&edit, &source);
        hooks.lookAhead = lookAhead.get();
        router->attachDocument(&edit, &hooks);
        edit.setPlainText(longTamilText());
        edit.resize(800, 600);
        edit.show();
        edit.setFocus();
    }
};

Typing &typing() {
    static Typing t;
    return t;
}

void sendKey(QWidget *w, int key, const QString &text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

// "thami" then five Backspaces at the end of the document: after the third key the popup
// shows and stays up (letters update it); with no dictionary the same keys show nothing.
void BM_KeystrokeWithPopup(benchmark::State &state) {
    Typing &t = typing();
    if (!t.source.dictionary) {
        state.SkipWithError("dictionary not built");
        return;
    }
    const bool withDictionary = state.range(0) != 0;
    t.source.dictionary = withDictionary ? shipped("ta-IN") : nullptr;
    t.edit.moveCursor(QTextCursor::End);
    std::vector<double> times;
    int shown = 0;
    const char keys[] = "thami";
    for (auto _ : state) {
        for (const char *k = keys; *k; ++k) {
            const auto start = std::chrono::steady_clock::now();
            sendKey(&t.edit, *k - 'a' + 'A', QString(QLatin1Char(*k)));
            times.push_back(
                std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                    .count());
            shown += t.lookAhead->popupVisible() ? 1 : 0;
        }
        state.PauseTiming();
        // Back to where it began (Backspace hides the popup when released).
        for (int i = 0; i < 3; ++i)
            sendKey(&t.edit, Qt::Key_Backspace, QStringLiteral("\b"));
        state.ResumeTiming();
    }
    t.source.dictionary = shipped("ta-IN");
    std::sort(times.begin(), times.end());
    double total = 0;
    for (double x : times)
        total += x;
    state.counters["us_per_key"] = total / static_cast<double>(times.size());
    state.counters["p99_us"] = times[times.size() * 99 / 100];
    state.counters["max_us"] = times.back();
    state.counters["keys_with_popup"] =
        static_cast<double>(shown) / static_cast<double>(times.size());
}
BENCHMARK(BM_KeystrokeWithPopup)->Arg(1)->Arg(0)->ArgName("dictionary");

} // namespace
