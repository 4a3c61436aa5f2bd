// Cost of typing through the keyboard routing in a document of about 1 MB of Tamil text, at
// its end and in its middle, against a plain QTextEdit receiving the same Tamil units as key
// events without translation. Reports the time per key and the 99th percentile of single
// keystrokes. Run with QT_QPA_PLATFORM=offscreen.

#include "core/input/keyboard_data.h"
#include "core/input/translation_engine.h"
#include "tamil_text.h"
#include "ui/input/input_router.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTextEdit>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>
#include <vector>

using namespace tarvellite;

namespace {

struct Typing {
    KeyboardTables tables;
    std::unique_ptr<InputContext> context;
    std::unique_ptr<TranslationEngine> engine;
    std::unique_ptr<InputRouter> router;
    QTextEdit translated;
    QTextEdit plain;

    Typing() {
        LoadKeyboardData(TARVELLITE_PROGRAM_DIR, tables);
        context = std::make_unique<InputContext>(tables);
        context->SelectLanguage(3); // Tamil, its phonetic keyboard
        engine = std::make_unique<TranslationEngine>(*context);
        router = std::make_unique<InputRouter>(*context, *engine);
        router->attachDocument(&translated, nullptr);
        const QString text = longTamilText();
        translated.setPlainText(text);
        plain.setPlainText(text);
        translated.resize(800, 600);
        plain.resize(800, 600);
        translated.show();
        plain.show();
    }
};

Typing &typing() {
    static Typing t;
    return t;
}

void sendKey(QWidget *w, int key, const QString &text, Qt::KeyboardModifiers mods) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(w, &release);
}

// Types `count` keys, timing every keystroke.
template <class TypeOne> void typeWord(std::vector<double> &times, int count, TypeOne typeOne) {
    for (int i = 0; i < count; ++i) {
        const auto start = std::chrono::steady_clock::now();
        typeOne(i);
        times.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    }
}

void report(benchmark::State &state, std::vector<double> &times) {
    if (times.empty())
        return;
    double total = 0;
    for (double t : times)
        total += t;
    std::sort(times.begin(), times.end());
    state.counters["us_per_key"] = total / static_cast<double>(times.size());
    state.counters["p99_us"] = times[times.size() * 99 / 100];
}

void placeCaret(QTextEdit &edit, bool middle) {
    QTextCursor c = edit.textCursor();
    if (middle)
        c.setPosition(edit.document()->characterCount() / 2);
    else
        c.movePosition(QTextCursor::End);
    edit.setTextCursor(c);
}

// Phonetic keys of "vaNakkam " and the Tamil units a plain editor receives for them.
const char phonetic[] = "vaNakkam ";
const QString units = QStringLiteral("வணக்கம் ");

void BM_TypeTranslated(benchmark::State &state) {
    Typing &t = typing();
    placeCaret(t.translated, state.range(0) != 0);
    std::vector<double> times;
    for (auto _ : state) {
        typeWord(times, static_cast<int>(sizeof phonetic - 1), [&](int i) {
            const char ch = phonetic[i];
            const bool upper = ch >= 'A' && ch <= 'Z';
            const int key = ch == ' ' ? Qt::Key_Space : (upper ? ch : ch - 'a' + 'A');
            sendKey(&t.translated, key, QString(QLatin1Char(ch)),
                    upper ? Qt::ShiftModifier : Qt::NoModifier);
        });
    }
    report(state, times);
}

void BM_TypePlain(benchmark::State &state) {
    Typing &t = typing();
    placeCaret(t.plain, state.range(0) != 0);
    std::vector<double> times;
    for (auto _ : state) {
        typeWord(times, static_cast<int>(units.size()),
                 [&](int i) { sendKey(&t.plain, 0, units.mid(i, 1), Qt::NoModifier); });
    }
    report(state, times);
}

BENCHMARK(BM_TypeTranslated)->Arg(0)->Arg(1)->ArgName("middle");
BENCHMARK(BM_TypePlain)->Arg(0)->Arg(1)->ArgName("middle");

} // namespace
