// One auto-save pass of a main window holding ten modified documents: the time until every
// recovery copy is on disk, and the longest time the event loop could not answer while the pass
// ran (a keystroke typed then waits that long at most). A timer asks the loop every millisecond
// during the pass and records the longest gap between its answers; the same is measured for as
// long again without a pass (idle_gap_ms_max), which is what a busy machine costs by itself.
//
// Arguments: UTF-16 units of Tamil text per document, and units per paragraph (1,250, or 60 for
// a document of short lines, whose snapshot takes longest). 165,000 units make a recovery copy of
// about 1 MB; 500,000 units are 1 MB of text as the editor holds it (a copy of about 3 MB).
// Run with QT_QPA_PLATFORM=offscreen.

#include "core/app/busy_flag.h"
#include "ui/app/app_context.h"
#include "ui/document/model_mapping.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"
#include "ui/document/view_host.h"
#include "ui/mainwindow/child_frame.h"
#include "ui/mainwindow/main_frame.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <memory>

using namespace tarvellite;
using namespace tarvellite::ui;

namespace {

// Paragraphs of `paragraphUnits` units, every third one bold, `units` in all.
QString tamilParagraph(qsizetype length) {
    QString paragraph;
    while (paragraph.size() < length)
        paragraph += QStringLiteral("வணக்கம் தமிழ் மொழி கற்க ");
    return paragraph.left(length);
}

void fill(CTarvelLiteView &view, qsizetype units, qsizetype paragraphUnits) {
    const QString paragraph = tamilParagraph(paragraphUnits);
    QTextCursor cursor(view.document());
    cursor.beginEditBlock();
    QTextCharFormat plain;
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    for (qsizetype done = 0, i = 0; done < units; done += paragraph.size() + 1, ++i) {
        if (i > 0)
            cursor.insertBlock();
        cursor.insertText(paragraph, i % 3 == 0 ? bold : plain);
    }
    cursor.endEditBlock();
}

/// Lets the windows finish what an edit sets off (layout, status panes), so that only the pass
/// is measured.
void settle() {
    QEventLoop loop;
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Setting {
    QTemporaryDir home;
    std::unique_ptr<AppContext> context;
    std::unique_ptr<CMainFrame> frame;

    Setting(qsizetype units, qsizetype paragraphUnits) {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
        context = std::make_unique<AppContext>();
        Settings &s = context->mutableSettings();
        s.backupPath = home.filePath(QStringLiteral("backup/")).toStdString();
        s.defaultUserPath = home.filePath(QStringLiteral("docs/")).toStdString();
        s.backupOption.autoSave = 1;
        s.backupOption.autoSaveMinutes = 1;
        frame = std::make_unique<CMainFrame>(*context);
        frame->show();
        for (int i = 0; i < 10; ++i) {
            CTarvelLiteView *view = frame->newDocument();
            fill(*view, units, paragraphUnits);
        }
        QApplication::processEvents();
    }

    qint64 recoveryBytes() const {
        qint64 bytes = 0;
        const QDir dir(home.filePath(QStringLiteral("backup/Temp")));
        for (const QFileInfo &f : dir.entryInfoList({QStringLiteral("~tv*.tmp")}, QDir::Files))
            bytes += f.size();
        return bytes;
    }
};

/// The longest time the event loop leaves a timer that asks every millisecond unanswered, from
/// `start()` to `longest()`.
class GapMeter {
  public:
    GapMeter() {
        ask_.setInterval(1);
        QObject::connect(&ask_, &QTimer::timeout, [this] { note(); });
    }
    void start() {
        last_ = 0;
        gap_ = 0;
        clock_.start();
        ask_.start();
    }
    void note() {
        const qint64 now = clock_.nsecsElapsed();
        gap_ = std::max(gap_, now - last_);
        last_ = now;
    }
    double elapsedMs() const { return clock_.nsecsElapsed() / 1e6; }
    double longestMs() {
        note();
        ask_.stop();
        return gap_ / 1e6;
    }

  private:
    QElapsedTimer clock_;
    QTimer ask_;
    qint64 last_ = 0;
    qint64 gap_ = 0;
};

void BM_AutoSavePassOfTenDocuments(benchmark::State &state) {
    Setting setting(state.range(0), state.range(1));
    CMainFrame &frame = *setting.frame;
    double longestStall = 0;
    double stallSum = 0;
    double longestIdleGap = 0;
    int passes = 0;
    double tickSum = 0;
    GapMeter meter;
    for (auto _ : state) {
        // Every pass writes every copy: each document changes a little before it.
        state.PauseTiming();
        for (QMdiSubWindow *w : frame.documentArea()->subWindowList())
            if (auto *child = qobject_cast<CChildFrame *>(w))
                child->view()->textCursor().insertText(QStringLiteral("அ"));
        settle();
        state.ResumeTiming();

        meter.start();
        frame.onAutoSaveTick();
        tickSum += meter.elapsedMs();
        meter.note();
        // The pass may go on in the event loop and on another thread: wait until it is done.
        while (frame.autoSaveRunning())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        const double passMs = meter.elapsedMs();
        const double stall = meter.longestMs();
        longestStall = std::max(longestStall, stall);
        stallSum += stall;
        ++passes;

        // The same time without a pass: what the machine itself (other processes) costs.
        state.PauseTiming();
        meter.start();
        while (meter.elapsedMs() < passMs)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        longestIdleGap = std::max(longestIdleGap, meter.longestMs());
        state.ResumeTiming();
    }
    state.counters["stall_ms_max"] = longestStall;
    state.counters["stall_ms_mean"] = passes ? stallSum / passes : 0;
    state.counters["idle_gap_ms_max"] = longestIdleGap;
    state.counters["tick_ms_mean"] = passes ? tickSum / passes : 0;
    state.counters["copies_MB"] = double(setting.recoveryBytes()) / 1e6;
}
BENCHMARK(BM_AutoSavePassOfTenDocuments)
    ->Args({165'000, 1250})
    ->Args({165'000, 60})
    ->Args({500'000, 1250})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

// The part of a pass that runs on the event loop for one document: taking its snapshot.
void BM_SnapshotOfOneDocument(benchmark::State &state) {
    BasicViewHost host;
    CTarvelLiteDoc doc;
    CTarvelLiteView view(&doc, &host);
    fill(view, state.range(0), state.range(1));
    for (auto _ : state)
        benchmark::DoNotOptimize(richDocumentFrom(view.document()));
}
BENCHMARK(BM_SnapshotOfOneDocument)
    ->Args({165'000, 1250})
    ->Args({165'000, 60})
    ->Args({500'000, 1250})
    ->Unit(benchmark::kMillisecond);
} // namespace
