// The program's own open and save path on a large document, without its windows: the file
// read into an editing view (the whole text laid out into the view's document) and the view's
// text saved as .tvl and .rtf through a temporary file and a rename, each best of three; then
// keystrokes typed into the view in the middle of a long paragraph and at the end, each timed
// from the key event to the repainted view (median and 99th percentile).
// Run with QT_QPA_PLATFORM=offscreen.
//
//   view_save_speed IN FOLDER

#include "ui/document/document_io.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"
#include "ui/document/view_host.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTextBlock>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace tarvellite;
using namespace tarvellite::ui;

namespace {

template <typename F> double bestOfThree(F &&f) {
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        const auto start = std::chrono::steady_clock::now();
        if (!f())
            return -1;
        best = std::min(best, std::chrono::duration<double, std::milli>(
                                  std::chrono::steady_clock::now() - start)
                                  .count());
    }
    return best;
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: view_save_speed IN FOLDER\n", stderr);
        return 2;
    }
    const QString in = QString::fromLocal8Bit(argv[1]);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    BasicViewHost host;
    CTarvelLiteDoc doc;
    CTarvelLiteView view(&doc, &host);
    view.resize(900, 700);
    view.initialUpdate();
    const double openMs = bestOfThree([&] {
        const Status s = LoadDocumentBody(view, in);
        if (!s)
            std::fprintf(stderr, "view_save_speed: %s\n", s.error().describe().c_str());
        return bool(s);
    });
    std::printf("view open %.1f ms\n", openMs);
    for (const char *name : {"view.tvl", "view.rtf"}) {
        const QString path = folder + QLatin1Char('/') + QLatin1String(name);
        const double ms = bestOfThree([&] {
            const Status s = StoreDocumentBody(view, path);
            if (!s)
                std::fprintf(stderr, "view_save_speed: %s\n", s.error().describe().c_str());
            return bool(s);
        });
        std::printf("view save %s %.1f ms\n", name + 5, ms);
    }
    // Typing: a Tamil letter a key, as the engine delivers it, in the middle of the longest
    // paragraph near the middle of the document, then at the end.
    const auto typeAt = [&](const char *where, int position) {
        QTextCursor cursor = view.textCursor();
        cursor.setPosition(position);
        view.setTextCursor(cursor);
        view.ensureCursorVisible();
        view.viewport()->repaint();
        std::vector<double> times;
        for (int i = 0; i < 200; ++i) {
            const QString text = i % 5 == 4 ? QStringLiteral(" ") : QStringLiteral("\u0B95");
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
            const auto start = std::chrono::steady_clock::now();
            QApplication::sendEvent(&view, &press);
            view.viewport()->repaint();
            times.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count());
        }
        std::sort(times.begin(), times.end());
        std::printf("view typing %s: median %.2f ms, p99 %.2f ms\n", where, times[times.size() / 2],
                    times[times.size() * 99 / 100]);
    };
    QTextDocument *text = view.document();
    QTextBlock middle = text->findBlock(text->characterCount() / 2);
    typeAt("mid-paragraph", middle.position() + middle.length() / 2);
    typeAt("at the end", text->characterCount() - 1);
    return 0;
}
