// Typing in a document of about 1 MB of Tamil text with the marks under misspelled words on and
// off, through the program's own editing view in its main window (the marks run there a moment
// after each change, over the paragraphs on screen). The caret stands in the middle of the
// text, where a few words of every screenful are misspelled.
//
// Each keystroke is followed by a pause longer than the marks' delay, as between the keys of a
// person typing, so that the marks are made after every key. Figures per key:
//  - latency: wall time from the key event to the view having handled and painted it, and the
//    CPU time of the interface thread for the same (which a busy machine does not inflate);
//  - cost: CPU time of the interface thread from the key to the next key, which includes the
//    marking that the key set off (a key typed while marks are made waits for them).
// Words alternate between marking on and off; the medians and 95th percentiles are printed
// with the ratio of on to off.
//
//   ui_typing_marks_bench [WORDS]      (default 24, half of them each way)
//
// Without QT_QPA_PLATFORM the offscreen platform is used.

#include "core/app/messages.h"
#include "tamil_text.h"
#include "ui/app/app_context.h"
#include "ui/document/tarvellite_view.h"
#include "ui/mainwindow/main_frame.h"
#include "ui/spelling/spell_marker.h"
#include "ui/spelling/user_words.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

using namespace tarvellite;
using namespace tarvellite::ui;

namespace {

double threadCpuMicros() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e6 + static_cast<double>(ts.tv_nsec) / 1e3;
}

// About 1 MB of Tamil text: the benchmarks' long text with one misspelled word in every
// sentence, so that every screenful has marks to make.
QString textWithMisspellings() {
    QString text = longTamilText();
    const QString word = QStringLiteral("தமிழ் ");
    const QString misspelt = QStringLiteral("தமிழ ");
    for (qsizetype at = text.indexOf(word); at >= 0; at = text.indexOf(word, at + 200))
        text.replace(at, word.size(), misspelt);
    return text;
}

// Runs the event loop for `ms` milliseconds, sleeping while nothing happens.
void idle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Figures {
    std::vector<double> latency, latencyCpu, cost;
};

double percentile(std::vector<double> v, int p) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, v.size() * static_cast<std::size_t>(p) / 100)];
}

void typeWords(CTarvelLiteView *view, int words, Figures &figures) {
    const QString units = QStringLiteral("வணக்கம் ");
    for (int w = 0; w < words; ++w)
        for (QChar unit : units) {
            const double cpu0 = threadCpuMicros();
            QElapsedTimer wall;
            wall.start();
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(unit));
            QApplication::sendEvent(view, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(unit));
            QApplication::sendEvent(view, &release);
            QApplication::processEvents(); // layout and the paint it asks for
            figures.latency.push_back(static_cast<double>(wall.nsecsElapsed()) / 1e3);
            figures.latencyCpu.push_back(threadCpuMicros() - cpu0);
            idle(SpellMarker::delay + 30);
            figures.cost.push_back(threadCpuMicros() - cpu0);
        }
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setMessageEcho(false);
    const int words = argc > 1 ? std::max(2, std::atoi(argv[1])) : 24;

    AppContext context;
    if (context.dictionaries().ScanDictionaries(TARVELLITE_PROGRAM_DIR "/DictionaryFiles/") < 1) {
        std::fprintf(stderr, "no dictionaries in %s/DictionaryFiles\n", TARVELLITE_PROGRAM_DIR);
        return 1;
    }
    CMainFrame frame(context);
    frame.resize(1100, 760);
    frame.show();
    CTarvelLiteView *view = frame.newDocument();
    view->setPlainText(textWithMisspellings());
    const qsizetype before = view->document()->characterCount();
    QTextCursor cursor = view->textCursor();
    cursor.setPosition(view->document()->characterCount() / 2);
    cursor.movePosition(QTextCursor::StartOfBlock);
    view->setTextCursor(cursor);
    view->ensureCursorVisible();
    MarkDictionaries &marks = MarkDictionaries::of(context);
    // Lay the whole text out now, not in the idle moments of the measured keys.
    view->document()->documentLayout()->blockBoundingRect(view->document()->lastBlock());
    idle(500);
    int marked = 0;
    for (QTextBlock b = view->document()->begin(); b.isValid(); b = b.next())
        marked += SpellMarker::marksOf(b).size();

    Figures on, off;
    typeWords(view, 1, on); // warm-up
    on = {};
    for (int word = 0; word < words; ++word) {
        const bool marking = word % 2 == 0;
        marks.setEnabled(marking);
        idle(200);
        typeWords(view, 1, marking ? on : off);
    }
    const qsizetype typed = view->document()->characterCount() - before;

    std::printf("typing in %lld units of Tamil text (%d marks on screen at the start), %zu keys "
                "each way, %lld units typed\n",
                static_cast<long long>(before), marked, on.latency.size(),
                static_cast<long long>(typed));
    const auto line = [](const char *what, const std::vector<double> &a,
                         const std::vector<double> &b) {
        std::printf("  %-8s median %8.1f us (on) %8.1f us (off) ratio %.3f   p95 %8.1f us (on) "
                    "%8.1f us (off) ratio %.3f\n",
                    what, percentile(a, 50), percentile(b, 50),
                    percentile(a, 50) / std::max(percentile(b, 50), 1e-9), percentile(a, 95),
                    percentile(b, 95), percentile(a, 95) / std::max(percentile(b, 95), 1e-9));
    };
    line("latency", on.latency, off.latency);
    line("key CPU", on.latencyCpu, off.latencyCpu);
    line("cost", on.cost, off.cost);
    view->document()->setModified(false);
    frame.close();
    return 0;
}
