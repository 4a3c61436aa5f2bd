// The ruler over a view: handles follow the selected paragraph, drags at any zoom change the
// indents by the distance dragged, as one undo step, and tab stops are added, removed and kept.

#include "core/document/rich_text.h"
#include "ui/document/document_units.h"
#include "ui/document/model_mapping.h"
#include "ui/document/ruler_bar.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"
#include "ui/document/text_format.h"
#include "ui/document/view_host.h"

#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QVBoxLayout>

using namespace tarvellite;
using namespace tarvellite::ui;

namespace {

struct Window {
    Window() : view(&doc, &host), ruler([] { return 2; }) { // inches
        auto *column = new QVBoxLayout(&top);
        column->addWidget(&ruler);
        column->addWidget(&view);
        top.resize(900, 600);
        view.initialUpdate();
        view.setPlainText(QString::fromUtf8("தமிழ் ஒன்று\nதமிழ் இரண்டு"));
        view.resetUndoHistory();
        top.show();
        ruler.setView(&view);
    }
    // Drags from `from` to `to` twips at the ruler's height `y`.
    void drag(int from, int to, int y, int toY = -1) {
        QTest::mousePress(&ruler, Qt::LeftButton, {}, QPoint(ruler.xOfTwips(from), y));
        QTest::mouseMove(&ruler, QPoint(ruler.xOfTwips(to), toY < 0 ? y : toY));
        QTest::mouseRelease(&ruler, Qt::LeftButton, {},
                            QPoint(ruler.xOfTwips(to), toY < 0 ? y : toY));
    }
    QList<int> tabsOfFirstBlock() {
        QList<int> out;
        for (const QTextOption::Tab &t : view.document()->begin().blockFormat().tabPositions())
            out << unitsToTwips(t.position);
        return out;
    }
    QWidget top;
    BasicViewHost host;
    CTarvelLiteDoc doc;
    CTarvelLiteView view;
    CRulerBar ruler;
};

constexpr int belowFace = 23; // the box under the hanging-indent handle
constexpr int faceMiddle = 12;

} // namespace

class RulerTest : public QObject {
    Q_OBJECT
  private slots:
    void indentDragMovesByTheDistanceAtEveryZoom_data();
    void indentDragMovesByTheDistanceAtEveryZoom();
    void tabStopsAreAddedRemovedAndKept();
    void indentsHoldThroughZoomUndoAndSaving();
};

void RulerTest::indentDragMovesByTheDistanceAtEveryZoom_data() {
    QTest::addColumn<int>("slider");
    QTest::newRow("100%") << 100;
    QTest::newRow("150%") << 110;
}

void RulerTest::indentDragMovesByTheDistanceAtEveryZoom() {
    QFETCH(int, slider);
    Window w;
    if (slider > 100)
        w.view.zoomFromSlider(102); // the slider's first step above 100 % is 110 %
    w.view.zoomFromSlider(slider);
    QCOMPARE(w.view.zoomPercent(), slider > 100 ? 150 : 100);
    w.ruler.setView(&w.view);
    QTextCursor all(w.view.document());
    all.select(QTextCursor::Document);
    w.view.setTextCursor(all);
    QCOMPARE(w.ruler.startTwips(), 0);
    QCOMPARE(w.ruler.xOfTwips(1440) - w.ruler.xOfTwips(0),
             qRound(w.view.logicalDpiX() * w.view.zoomFactor()));

    // The box under the hanging handle moves both indents by one inch.
    w.drag(0, 1440, belowFace);
    for (QTextBlock b = w.view.document()->begin(); b.isValid(); b = b.next()) {
        QTextCursor c(b);
        QCOMPARE(text_format::startIndent(c), 1440);
        QCOMPARE(text_format::offset(c), 0);
    }
    QCOMPARE(w.ruler.startTwips(), 1440);
    // The handle stands over the text's new start, at this zoom.
    QTextCursor first(w.view.document());
    const int textX = w.view.viewport()->mapTo(&w.top, w.view.cursorRect(first).topLeft()).x() -
                      w.ruler.mapTo(&w.top, QPoint(0, 0)).x();
    QVERIFY2(std::abs(textX - w.ruler.xOfTwips(1440)) <= 2,
             qPrintable(QStringLiteral("%1 %2").arg(textX).arg(w.ruler.xOfTwips(1440))));
    // The first-line handle alone: a first-line indent half an inch further.
    w.drag(1440, 2160, faceMiddle - 6);
    QCOMPARE(text_format::startIndent(w.view.textCursor()), 2160);
    QCOMPARE(text_format::offset(w.view.textCursor()), -720);
    // Each drag is one undo step.
    w.view.undo();
    QCOMPARE(text_format::startIndent(w.view.textCursor()), 1440);
    QCOMPARE(text_format::offset(w.view.textCursor()), 0);
    // The right-indent handle stops at the indents.
    const int printable = w.ruler.rightHandleTwips();
    w.drag(printable, 0, belowFace - 4);
    QCOMPARE(w.ruler.rightHandleTwips(), 1440);
}

void RulerTest::tabStopsAreAddedRemovedAndKept() {
    Window w;
    // A click on the face adds a stop at the snapped position (90 twips in inches).
    w.drag(1000, 1000, faceMiddle);
    QCOMPARE(w.tabsOfFirstBlock(), QList<int>{990});
    w.drag(2880, 2880, faceMiddle);
    QCOMPARE(w.tabsOfFirstBlock(), (QList<int>{990, 2880}));
    // Dragged onto another, two stops become one; dragged off the ruler, a stop goes.
    w.drag(990, 2880, faceMiddle);
    QCOMPARE(w.tabsOfFirstBlock(), QList<int>{2880});
    w.drag(2880, 2880, faceMiddle, 80);
    QVERIFY(w.tabsOfFirstBlock().isEmpty());

    // A paragraph with more stops than the ruler has handles keeps them all.
    QTextBlockFormat f = w.view.document()->begin().blockFormat();
    QList<QTextOption::Tab> many;
    for (int i = 1; i <= 40; ++i)
        many << QTextOption::Tab(twipsToUnits(i * 180), QTextOption::LeftTab);
    f.setTabPositions(many);
    QTextCursor(w.view.document()->begin()).setBlockFormat(f);
    QTextCursor start(w.view.document());
    w.view.setTextCursor(start);
    QCOMPARE(int(w.ruler.tabHandles().size()), 32);
    w.drag(0, 720, belowFace);
    QCOMPARE(w.tabsOfFirstBlock().size(), 40);
    QCOMPARE(text_format::startIndent(w.view.textCursor()), 720);
}

// The x of the text at `position`, in the ruler's coordinates.
static int textX(Window &w, int position) {
    QTextCursor c(w.view.document());
    c.setPosition(position);
    return w.view.viewport()->mapTo(&w.top, w.view.cursorRect(c).topLeft()).x() -
           w.ruler.mapTo(&w.top, QPoint(0, 0)).x();
}

void RulerTest::indentsHoldThroughZoomUndoAndSaving() {
    Window w;
    // A long first paragraph: a first line at one inch, the wrapped lines at two.
    QTextCursor c(w.view.document());
    c.insertText(QStringLiteral("word ").repeated(60));
    w.view.setTextCursor(c);
    text_format::setStartIndent(c, 1440);
    w.drag(1440, 2880, belowFace - 4); // the hanging handle alone
    QCOMPARE(text_format::offset(w.view.textCursor()), 1440);
    const QTextLayout *layout = w.view.document()->begin().layout();
    QVERIFY(layout->lineCount() > 1);
    for (int zoom : {150, 100, 250}) {
        if (zoom > 100 && w.view.zoomPercent() == 100)
            w.view.zoomFromSlider(102); // the slider's first step above 100 % is 110 %
        w.view.zoomFromSlider(zoom <= 100 ? zoom : zoom / 5 + 80);
        QCOMPARE(w.view.zoomPercent(), zoom);
        QCOMPARE(text_format::startIndent(w.view.textCursor()), 1440);
        QCOMPARE(text_format::offset(w.view.textCursor()), 1440);
        // The text stands under its handles at this zoom.
        QVERIFY(std::abs(textX(w, 0) - w.ruler.xOfTwips(1440)) <= 2);
        QVERIFY(std::abs(textX(w, w.view.document()->begin().layout()->lineAt(1).textStart()) -
                         w.ruler.xOfTwips(2880)) <= 2);
        // Saved at any zoom, the paragraph keeps its twips.
        const RichDocument model = richDocumentFrom(w.view.document());
        QCOMPARE(model.paragraphs.front().format.startIndentTwips, 2880);
        QCOMPARE(model.paragraphs.front().format.firstLineIndentTwips, -1440);
    }
    // Undone at another zoom than it was made, a step gives back the indents it changed.
    const QTextCursor first(w.view.document()->begin());
    w.view.undo();
    QCOMPARE(text_format::offset(first), 0);
    QCOMPARE(text_format::startIndent(first), 1440);
    QVERIFY(std::abs(textX(w, 0) - w.ruler.xOfTwips(1440)) <= 2);
    w.view.redo();
    QCOMPARE(text_format::offset(first), 1440);
}

QTEST_MAIN(RulerTest)
#include "ruler_test.moc"
