// A 10 MB document in the editing view: opening it (a Tamil RTF and a UTF-8 text file) up to
// the first painted page, and typing in it at the end and in the middle of a long paragraph
// (each keystroke with the status update that follows it). Reports milliseconds per open and
// the mean and 99th percentile of single keystrokes. Run with QT_QPA_PLATFORM=offscreen.

#include "core/app/file_io.h"
#include "core/document/document_io.h"
#include "ui/document/document_io.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"
#include "ui/document/view_host.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextBlock>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>
#include <vector>

using namespace tarvellite;
using namespace tarvellite::ui;

namespace {

// Tamil paragraphs of about 6,000 units, every third word bold, `units` UTF-16 units in all.
RichDocument tamilDocument(std::size_t units) {
    RichDocument doc;
    doc.paragraphs.clear();
    const std::u16string words[] = {u"\u0BB5\u0BA3\u0B95\u0BCD\u0B95\u0BAE\u0BCD ",
                                    u"\u0BA4\u0BAE\u0BBF\u0BB4\u0BCD ",
                                    u"\u0BAE\u0BCA\u0BB4\u0BBF ", u"\u0B95\u0BB1\u0BCD\u0B95 "};
    std::size_t total = 0;
    while (total < units) {
        Paragraph paragraph;
        for (int w = 0; w < 1000; ++w) {
            Run run;
            run.text = words[w % 4];
            run.format.faceName = u"Noto Sans Tamil";
            run.format.bold = w % 3 == 0;
            total += run.text.size();
            paragraph.runs.push_back(run);
        }
        doc.paragraphs.push_back(paragraph);
    }
    doc.normalize();
    return doc;
}

struct Files {
    QTemporaryDir dir;
    QString rtf = dir.filePath(QStringLiteral("large.rtf"));
    QString txt = dir.filePath(QStringLiteral("large.txt"));
    Files() {
        // About 10 MB each: RTF spends about 8 bytes on a Tamil unit, UTF-8 text 3.
        const RichDocument rtfModel = tamilDocument(1'250'000);
        Bytes out;
        BytesSink sink(out);
        (void)tarvellite::StoreDocumentBody("large.rtf", rtfModel, PageLayout{}, sink);
        (void)writeFileAtomically(QFile::encodeName(rtf).toStdString(), out);
        const RichDocument textModel = tamilDocument(3'300'000);
        const std::u16string plain = textModel.plainText(u"\n", u"\n", true);
        const QByteArray utf8 = QString::fromStdU16String(plain).toUtf8();
        QFile file(txt);
        if (file.open(QIODevice::WriteOnly))
            file.write(utf8);
    }
};

Files &files() {
    static Files f;
    return f;
}

struct Window {
    BasicViewHost host;
    CTarvelLiteDoc doc;
    CTarvelLiteView view{&doc, &host};
    Window() { view.resize(900, 700); }
};

void openAndPaint(benchmark::State &state, const QString &path) {
    const double bytes = double(QFile(path).size());
    for (auto _ : state) {
        state.PauseTiming();
        auto w = std::make_unique<Window>();
        state.ResumeTiming();
        if (!LoadDocumentBody(w->view, path).ok()) {
            state.SkipWithError("could not open");
            return;
        }
        w->view.initialUpdate();
        w->view.show();
        w->view.viewport()->repaint();
        // Closing the window is not part of opening.
        state.PauseTiming();
        w.reset();
        state.ResumeTiming();
    }
    state.counters["MB"] = bytes / 1e6;
}

void BM_OpenRtfToFirstPaint(benchmark::State &state) {
    openAndPaint(state, files().rtf);
}
BENCHMARK(BM_OpenRtfToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OpenTextToFirstPaint(benchmark::State &state) {
    openAndPaint(state, files().txt);
}
BENCHMARK(BM_OpenTextToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_TypeInLargeDocument(benchmark::State &state) {
    Window w;
    if (!LoadDocumentBody(w.view, files().rtf).ok()) {
        state.SkipWithError("could not open");
        return;
    }
    w.view.initialUpdate();
    w.view.show();
    w.view.setFocus();
    QTextCursor c = w.view.textCursor();
    if (state.range(0) != 0) {
        // The middle of the middle paragraph.
        const QTextBlock block =
            w.view.document()->findBlock(w.view.document()->characterCount() / 2);
        c.setPosition(block.position() + block.length() / 2);
    } else {
        c.movePosition(QTextCursor::End);
    }
    w.view.setTextCursor(c);
    QApplication::processEvents();
    const QString units = QStringLiteral("வணக்கம் ");
    std::vector<double> times;
    int i = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, units.mid(i % units.size(), 1));
        QApplication::sendEvent(&w.view, &press);
        w.view.UpdateStatusAndTitle();
        w.view.viewport()->repaint();
        times.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
        ++i;
    }
    double total = 0;
    for (double t : times)
        total += t;
    std::sort(times.begin(), times.end());
    state.counters["us_per_key"] = total / double(times.size());
    state.counters["p99_us"] = times[times.size() * 99 / 100];
}
BENCHMARK(BM_TypeInLargeDocument)->Arg(0)->Arg(1)->ArgName("middle")->Iterations(400);

} // namespace
