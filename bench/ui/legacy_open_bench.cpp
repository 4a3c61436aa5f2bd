// Opening a legacy Tamil RTF of 100,000 words: read, convert every TAM/TAB word and show the
// result (the view's first paint), against the same open that leaves the text as it is; and
// the conversion of the loaded view alone. Run with QT_QPA_PLATFORM=offscreen.

#include "core/app/file_io.h"
#include "ui/document/document_io.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"
#include "ui/document/view_host.h"
#include "ui/legacy/legacy_on_open.h"
#include "ui/legacy/legacy_options.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>

using namespace tarvellite;
using namespace tarvellite::ui;

namespace {

// TAM words (with prefix signs, two-part vowels and conjuncts), TAB words and English.
const char *const tamWords[] = {
    "\\'aa\\'e8\\'a3\\'87\\'ec\\'a3\\'86\\'ec\\'8b", // கொண்டாட்டம்
    "\\'aa\\'e8\\'f7\\'f3\\'f5\\'8b",                // கௌரவம்
    "\\'ee\\'f1\\'a4\\'f6\\'a2",                     // தமிழ்
    "\\'ac\\'f4",                                    // லை
    "\\'ef\\'a3\\'b4",                               // நாடு
    "\\'ab\\'f0\\'a3\\'e8",                          // போக
};

// An RTF of `words` words in paragraphs of 50: most in a TAM font, every fifth paragraph in a
// TAB font, some English in Arial, a bold word now and then.
std::string legacyRtf(int words) {
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 "
                      "TAMNoto Sans Tamil;}{\\f1\\fnil\\fcharset0 TABXYZ;}{\\f2\\fswiss "
                      "Arial;}}\r\n";
    int paragraph = 0;
    for (int w = 0; w < words; ++w) {
        if (w % 50 == 0) {
            if (w > 0)
                rtf += "\\par\r\n";
            rtf += paragraph++ % 5 == 4 ? "\\pard\\f1\\fs24 Tamil " : "\\pard\\f0\\fs24 ";
        }
        if (w % 17 == 16)
            rtf += "\\f2 English\\f0  ";
        else if (w % 13 == 12)
            rtf += std::string("\\b ") + tamWords[w % 6] + "\\b0  ";
        else
            rtf += std::string(tamWords[w % 6]) + " ";
    }
    rtf += "\\par\r\n}\r\n";
    return rtf;
}

struct LegacyFile {
    explicit LegacyFile(int words) {
        path = dir.filePath(QStringLiteral("legacy.rtf"));
        const std::string rtf = legacyRtf(words);
        ok = bool(writeFileAtomically(QFile::encodeName(path).toStdString(),
                                      Bytes(rtf.begin(), rtf.end())));
    }
    QTemporaryDir dir;
    QString path;
    bool ok = false;
};

struct OpenView {
    OpenView() : view(&doc, &host) { view.resize(900, 700); }
    BasicViewHost host;
    CTarvelLiteDoc doc;
    CTarvelLiteView view;
};

void openAndShow(benchmark::State &state, int preference) {
    LegacyFile file(int(state.range(0)));
    if (!file.ok) {
        state.SkipWithError("could not write the document");
        return;
    }
    setLegacyOptionsOverride(LegacyOptions{preference, QStringLiteral("Noto Serif Tamil")});
    installLegacyConversionOnOpen();
    for (auto _ : state) {
        OpenView open;
        if (!LoadDocumentBody(open.view, file.path)) {
            state.SkipWithError("could not open the document");
            break;
        }
        open.view.initialUpdate();
        open.view.show();
        open.view.viewport()->repaint();
        state.PauseTiming();
        open.view.hide();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    setLegacyConversionHook({});
}

// Open, convert every legacy word and paint the view.
void BM_OpenLegacyRtfConverting(benchmark::State &state) {
    openAndShow(state, 1);
}
BENCHMARK(BM_OpenLegacyRtfConverting)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The same open without the conversion ("Do not convert").
void BM_OpenLegacyRtfLeaving(benchmark::State &state) {
    openAndShow(state, 2);
}
BENCHMARK(BM_OpenLegacyRtfLeaving)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The conversion of a loaded view alone (wait box, walk, replacing the view's text).
void BM_ConvertLoadedView(benchmark::State &state) {
    LegacyFile file(int(state.range(0)));
    setLegacyOptionsOverride(LegacyOptions{1, QStringLiteral("Noto Serif Tamil")});
    setLegacyConversionHook({});
    for (auto _ : state) {
        state.PauseTiming();
        auto open = std::make_unique<OpenView>();
        if (!file.ok || !LoadDocumentBody(open->view, file.path)) {
            state.SkipWithError("could not open the document");
            break;
        }
        state.ResumeTiming();
        benchmark::DoNotOptimize(ConvertLegacyRuns(open->view));
        state.PauseTiming();
        open.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ConvertLoadedView)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
