// Change All in the find pane over a 10 MB document (5 million UTF-16 units of Tamil and
// Latin words in paragraphs): finding every whole-word occurrence of a common word and
// replacing them in the editor as one undo step. Run with QT_QPA_PLATFORM=offscreen.

#include "core/app/messages.h"
#include "ui/app/app_context.h"
#include "ui/app/frame_services.h"
#include "ui/input/kbd_fields.h"
#include "ui/search/search_page.h"

#include <QTextEdit>
#include <benchmark/benchmark.h>

using namespace tarvellite;
using namespace tarvellite::ui;

namespace {

class BenchFrame : public FrameServices {
  public:
    bool SetDictionaryStatus(const QString &) override { return true; }
    void BuildKeyboardMenu() override {}
    int MarkLoadedDictionary(int index) override { return index; }
    QWidget *GetFloatingKeyboardFrame() const override { return nullptr; }
    QTextEdit *activeDocumentEdit() const override { return view; }
    void OpenOrInsertFile(const QString &) override {}
    QFont statusFont() const override { return {}; }
    QTextEdit *view = nullptr;
};

QString tenMegabytes() {
    const QString words[] = {QStringLiteral("தமிழ்"),  QStringLiteral("மொழி"),
                             QStringLiteral("tamil"), QStringLiteral("கல்வி"),
                             QStringLiteral("நாடு"),  QStringLiteral("text")};
    QString text;
    text.reserve(5 << 20);
    for (int n = 0; text.size() < (5 << 20); ++n) {
        text += words[(n * 7 + n / 5) % 6];
        text += n % 80 == 79 ? QLatin1Char('\n') : QLatin1Char(' ');
    }
    return text;
}

void changeAll(benchmark::State &state, const QString &word, const QString &replacement) {
    ScopedMessagePresenter yes([](const Message &m) {
        return m.buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    });
    setMessageEcho(false);
    AppContext context;
    BenchFrame frame;
    QTextEdit edit;
    frame.view = &edit;
    edit.setPlainText(tenMegabytes());
    CSearchPage page(context, frame);
    page.searchField()->setEditText(word);
    page.changeField()->setEditText(replacement);
    for (auto _ : state) {
        page.ChangeAll();
        state.PauseTiming();
        edit.undo();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * (10 << 20));
}

void ChangeAllTamilWord10MB(benchmark::State &state) {
    changeAll(state, QStringLiteral("தமிழ்"), QStringLiteral("தமிழ"));
}
void ChangeAllLatinWord10MB(benchmark::State &state) {
    changeAll(state, QStringLiteral("tamil"), QStringLiteral("Tamil"));
}

BENCHMARK(ChangeAllTamilWord10MB)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ChangeAllLatinWord10MB)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
