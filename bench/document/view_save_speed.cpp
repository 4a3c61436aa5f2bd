// The program's own open and save path on a large document, without its windows: the file
// read into an editing view (the whole text laid out into the view's document) and the view's
// text saved as .tvl and .rtf through a temporary file and a rename, each best of three.
// Run with QT_QPA_PLATFORM=offscreen.
//
//   view_save_speed IN FOLDER

#include "ui/document/document_io.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"
#include "ui/document/view_host.h"

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>

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
    return 0;
}
