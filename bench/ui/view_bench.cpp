// The editing view on a long document: filling it from the model and back, the status update
// at the end of the text, the format state of a whole selection, a zoom step.
// Run with QT_QPA_PLATFORM=offscreen.

#include "ui/document/model_mapping.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"
#include "ui/document/view_host.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <benchmark/benchmark.h>

using namespace tarvellite;
using namespace tarvellite::ui;

namespace {

// `paragraphs` paragraphs of about 60 Tamil words, every third word bold.
RichDocument tamilDocument(int paragraphs) {
    RichDocument doc;
    doc.paragraphs.clear();
    const std::u16string words[] = {u"\u0BA4\u0BAE\u0BBF\u0BB4\u0BCD ",
                                    u"\u0BAE\u0BCA\u0BB4\u0BBF ", u"\u0B95\u0BB1\u0BCD\u0B95 "};
    for (int p = 0; p < paragraphs; ++p) {
        Paragraph paragraph;
        for (int w = 0; w < 60; ++w) {
            Run run;
            run.text = words[w % 3];
            run.format.faceName = u"Noto Sans Tamil";
            run.format.bold = w % 3 == 0;
            paragraph.runs.push_back(run);
        }
        doc.paragraphs.push_back(paragraph);
    }
    doc.normalize();
    return doc;
}

struct ViewSetup {
    explicit ViewSetup(int paragraphs) : view(&doc, &host) {
        view.resize(900, 700);
        view.initialUpdate();
        fillTextDocument(view.document(), tamilDocument(paragraphs));
        view.resetUndoHistory();
    }
    BasicViewHost host;
    CTarvelLiteDoc doc;
    CTarvelLiteView view;
};

void BM_FillFromModel(benchmark::State &state) {
    const RichDocument model = tamilDocument(int(state.range(0)));
    QTextDocument text;
    for (auto _ : state)
        fillTextDocument(&text, model);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FillFromModel)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_ModelFromText(benchmark::State &state) {
    QTextDocument text;
    fillTextDocument(&text, tamilDocument(int(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(richDocumentFrom(&text));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ModelFromText)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_StatusAtEnd(benchmark::State &state) {
    ViewSetup setup(int(state.range(0)));
    setup.view.moveCursor(QTextCursor::End);
    for (auto _ : state)
        setup.view.UpdateStatusAndTitle();
}
BENCHMARK(BM_StatusAtEnd)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_FormatStateSelectAll(benchmark::State &state) {
    ViewSetup setup(int(state.range(0)));
    setup.view.selectAll();
    for (auto _ : state)
        benchmark::DoNotOptimize(setup.view.formatState());
}
BENCHMARK(BM_FormatStateSelectAll)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_ZoomStep(benchmark::State &state) {
    ViewSetup setup(int(state.range(0)));
    int position = 60;
    for (auto _ : state) {
        setup.view.zoomFromSlider(position);
        setup.view.document()->documentLayout()->documentSize(); // forces the layout
        position = position == 60 ? 90 : 60;
    }
}
BENCHMARK(BM_ZoomStep)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace
