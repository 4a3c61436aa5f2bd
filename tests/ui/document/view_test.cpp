// The editing view: size box, format toggles, indents, lists, zoom, status texts, undo limit,
// cluster formats and the mapping onto the rich-text model.

#include "core/app/messages.h"
#include "core/input/keyboard_data.h"
#include "core/input/translation_engine.h"
#include "message_log.h"
#include "ui/document/command_ids.h"
#include "ui/document/document_io.h"
#include "ui/document/document_settings.h"
#include "ui/document/document_units.h"
#include "ui/document/file_hold.h"
#include "ui/document/model_mapping.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"
#include "ui/document/text_format.h"
#include "ui/document/text_helpers.h"
#include "ui/document/view_host.h"
#include "ui/input/input_router.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextList>
#include <memory>

using namespace tarvellite;
using namespace tarvellite::ui;

namespace {

struct Fixture {
    Fixture() : view(&doc, &host) {
        host.faces = {QStringLiteral("Noto Sans"), QStringLiteral("Noto Sans Tamil"),
                      QStringLiteral("Arial")};
        view.initialUpdate();
    }
    void setText(const QString &text) {
        view.setPlainText(text);
        view.resetUndoHistory();
    }
    void select(int from, int to) {
        QTextCursor c = view.textCursor();
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        view.setTextCursor(c);
    }
    QTextCharFormat formatAt(int position) {
        QTextCursor c(view.document());
        c.setPosition(position + 1);
        return c.charFormat();
    }
    BasicViewHost host;
    CTarvelLiteDoc doc;
    CTarvelLiteView view;
};

// A view whose keys go through the keyboard routing with the shipped keyboards, shown and
// focused, as in the program.
struct TypingFixture {
    explicit TypingFixture(int language) {
        LoadKeyboardData(TARVELLITE_PROGRAM_DIR, tables);
        context = std::make_unique<InputContext>(tables);
        context->SelectLanguage(language);
        engine = std::make_unique<TranslationEngine>(*context);
        router = std::make_unique<InputRouter>(*context, *engine);
        qApp->installEventFilter(router.get());
        host.router = router.get();
        view = std::make_unique<CTarvelLiteView>(&doc, &host);
        view->resize(600, 400);
        view->initialUpdate();
        view->show();
        view->activateWindow();
        view->setFocus();
    }
    ~TypingFixture() {
        view.reset();
        qApp->removeEventFilter(router.get());
    }
    // Latin keys as typed on the keyboard.
    void type(const QString &keys) {
        for (QChar ch : keys) {
            const char c = char(ch.unicode());
            const bool upper = c >= 'A' && c <= 'Z';
            const int key = c == ' '               ? int(Qt::Key_Space)
                            : c >= 'a' && c <= 'z' ? int(c - 'a' + 'A')
                                                   : int(c);
            QTest::sendKeyEvent(QTest::Click, view.get(), Qt::Key(key), QString(ch),
                                upper ? Qt::ShiftModifier : Qt::NoModifier);
        }
    }
    // A Ctrl+letter as the window system sends it: with its control character as text.
    void key(int key, Qt::KeyboardModifiers mods) {
        QTest::sendKeyEvent(QTest::Click, view.get(), Qt::Key(key),
                            QString(QChar(char16_t(key - Qt::Key_A + 1))), mods);
    }
    QString text() const { return view->toPlainText(); }
    int caret() const { return view->textCursor().position(); }

    KeyboardTables tables;
    std::unique_ptr<InputContext> context;
    std::unique_ptr<TranslationEngine> engine;
    std::unique_ptr<InputRouter> router;
    BasicViewHost host;
    CTarvelLiteDoc doc;
    std::unique_ptr<CTarvelLiteView> view;
};

} // namespace

class ViewTest : public QObject {
    Q_OBJECT
  private slots:
    void sizeText_data();
    void sizeText();
    void sizeBox_data();
    void sizeBox();
    void sizeBoxShowsSelection();
    void fontBoxRefusesUnknownFace();
    void boldOnHalfBoldSelection();
    void formatsNeverSplitAcluster();
    void indentStopsUpToTheLimitAndBack();
    void bulletsOnAndOff();
    void numberingItems_data();
    void numberingItems();
    void zoomTable();
    void zoomScalesSizedText();
    void lineAndColumn();
    void lineCountsWrappedLinesOfEarlierParagraphs();
    void undoAndRedoPutTheCaretAtTheEdit_data();
    void undoAndRedoPutTheCaretAtTheEdit();
    void oneUndoStepPerKeystroke();
    void modifiedMarker();
    void emptyDocumentTypesInRibbonColour();
    void undoLimit();
    void undoLimitZero();
    void modelRoundTrip();
    void saveAndReopen_data();
    void saveAndReopen();
    void failedLoadKeepsTheView();
    void fileHoldRefusesOtherWriters();
    void replaceKeepsFormat();
    void quickPrintWithoutPrinterOffersPdf();
    void formatHelperWithoutAView();
    void pageLayoutWrapsToPaper();
};

void ViewTest::sizeText_data() {
    QTest::addColumn<int>("twips");
    QTest::addColumn<QString>("text");
    QTest::newRow("11 pt") << 220 << "11";
    QTest::newRow("10.5 pt") << 210 << "10.5";
    QTest::newRow("12 pt") << 240 << "12";
    QTest::newRow("1638 pt") << 32760 << "1638";
    QTest::newRow("negative") << -1 << "";
}

void ViewTest::sizeText() {
    QFETCH(int, twips);
    QFETCH(QString, text);
    QCOMPARE(CTarvelLiteView::sizeText(twips), text);
}

void ViewTest::sizeBox_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("twips"); // 0: nothing happens, -1: refused with the message
    QTest::newRow("12") << "12" << 240;
    QTest::newRow("blanks around 10.5") << " \t10.5 " << 210;
    QTest::newRow("0.9 is 18 twips") << "0.9" << -1;
    QTest::newRow("1638") << "1638" << 32760;
    QTest::newRow("1638.5") << "1638.5" << -1;
    QTest::newRow("12pt") << "12pt" << -1;
    QTest::newRow("negative") << "-4" << -1;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("blanks only") << "  " << 0;
    QTest::newRow("inf") << "inf" << -1;
}

void ViewTest::sizeBox() {
    QFETCH(QString, text);
    QFETCH(int, twips);
    QCOMPARE(CTarvelLiteView::parseSizeText(text), twips);

    Fixture f;
    MessageLog log;
    f.setText(QStringLiteral("hello"));
    f.select(0, 5);
    f.host.sizeBox = text;
    f.view.sizeBoxCommand();
    if (twips > 0) {
        QCOMPARE(f.view.selectionTwips(), twips);
        QVERIFY(log.texts.isEmpty());
    } else if (twips < 0) {
        QCOMPARE(log.texts, QStringList{"Fontsize must be 1 to 1638 only"});
        QCOMPARE(f.host.sizeBox, QStringLiteral("12")); // the selection's size put back
        QCOMPARE(f.view.selectionTwips(), 240);
    } else {
        QVERIFY(log.texts.isEmpty());
        QCOMPARE(f.view.selectionTwips(), 240);
    }
}

void ViewTest::sizeBoxShowsSelection() {
    Fixture f;
    f.setText(QStringLiteral("abcdef"));
    f.select(0, 3);
    f.host.sizeBox = QStringLiteral("11");
    f.view.sizeBoxCommand();
    f.select(3, 6);
    f.host.sizeBox = QStringLiteral("10.5");
    f.view.sizeBoxCommand();

    f.select(0, 3);
    f.view.SyncFormatBoxes();
    QCOMPARE(f.host.sizeBox, QStringLiteral("11"));
    f.select(3, 6);
    f.view.SyncFormatBoxes();
    QCOMPARE(f.host.sizeBox, QStringLiteral("10.5"));
    f.select(0, 6);
    f.view.SyncFormatBoxes();
    QCOMPARE(f.host.sizeBox, QString()); // mixed sizes
}

void ViewTest::fontBoxRefusesUnknownFace() {
    Fixture f;
    MessageLog log;
    f.setText(QStringLiteral("abc"));
    f.select(0, 3);
    f.host.fontBox = QStringLiteral("No Such Face");
    f.view.fontBoxCommand();
    QCOMPARE(log.texts, QStringList{"Selected Font not found in the system"});
    QCOMPARE(f.host.fontBox, QStringLiteral("Arial"));

    f.host.fontBox = QStringLiteral("Noto Sans Tamil");
    f.view.fontBoxCommand();
    QCOMPARE(f.view.selectionFace(), QStringLiteral("Noto Sans Tamil"));
    QCOMPARE(log.texts.size(), 1);
}

void ViewTest::boldOnHalfBoldSelection() {
    Fixture f;
    f.setText(QStringLiteral("abcdef"));
    f.select(0, 3);
    f.view.toggleBold();
    f.select(0, 6);
    QCOMPARE(f.view.formatState().bold, Qt::PartiallyChecked);
    f.view.toggleBold();
    QCOMPARE(f.view.formatState().bold, Qt::Checked);
    for (int i = 0; i < 6; ++i)
        QVERIFY2(f.formatAt(i).fontWeight() == QFont::Bold, qPrintable(QString::number(i)));
    f.view.toggleBold();
    QCOMPARE(f.view.formatState().bold, Qt::Unchecked);
    for (int i = 0; i < 6; ++i)
        QVERIFY(f.formatAt(i).fontWeight() < QFont::DemiBold);

    // The other effects follow the same rule.
    f.select(0, 2);
    f.view.toggleItalic();
    f.view.toggleUnderline();
    f.view.toggleStrikeOut();
    f.select(0, 6);
    const FormatState mixed = f.view.formatState();
    QCOMPARE(mixed.italic, Qt::PartiallyChecked);
    QCOMPARE(mixed.underline, Qt::PartiallyChecked);
    QCOMPARE(mixed.strikeOut, Qt::PartiallyChecked);
}

void ViewTest::formatsNeverSplitAcluster() {
    Fixture f;
    // "கொ" + "ண்" : consonant, vowel sign; consonant, virama.
    const QString tamil = QString::fromUtf16(u"\u0B95\u0BCA\u0BA3\u0BCD");
    f.setText(tamil);
    // A selection that ends between a consonant and its vowel sign covers the whole cluster.
    f.select(0, 1);
    f.view.toggleBold();
    QCOMPARE(f.formatAt(0).fontWeight(), int(QFont::Bold));
    QCOMPARE(f.formatAt(1).fontWeight(), int(QFont::Bold));
    QVERIFY(f.formatAt(2).fontWeight() < QFont::DemiBold);

    // A mark given another format directly is put back in line by the helper.
    QTextCursor c(f.view.document());
    c.setPosition(3);
    c.setPosition(4, QTextCursor::KeepAnchor);
    QTextCharFormat red;
    red.setForeground(Qt::red);
    c.mergeCharFormat(red);
    QVERIFY(joinClusterFormats(f.view.document(), 0, 4));
    QCOMPARE(f.formatAt(3), f.formatAt(2));
    QVERIFY(!joinClusterFormats(f.view.document(), 0, 4));
}

void ViewTest::indentStopsUpToTheLimitAndBack() {
    Fixture f;
    f.setText(QStringLiteral("paragraph"));
    // A4 with 1440 margins: (11906 - 500 - 1440 - 1440) / 32 = 266.
    QCOMPARE(f.view.indentStops()[0], 266);
    QCOMPARE(f.view.indentLimit(), 32 * 266 - 500);

    QCOMPARE(f.view.startIndentTwips(), 0);
    f.view.increaseIndent();
    QCOMPARE(f.view.startIndentTwips(), 266);
    for (int i = 0; i < 40; ++i)
        f.view.increaseIndent();
    // The last stop not past the limit: 30 × 266 = 7980 ≤ 8012 < 31 × 266.
    QCOMPARE(f.view.startIndentTwips(), 30 * 266);

    f.view.decreaseIndent();
    QCOMPARE(f.view.startIndentTwips(), 29 * 266);
    for (int i = 0; i < 40; ++i)
        f.view.decreaseIndent();
    QCOMPARE(f.view.startIndentTwips(), 0);
    f.view.decreaseIndent();
    QCOMPARE(f.view.startIndentTwips(), 0);

    // A right indent lets the indent go further.
    QTextBlockFormat right;
    right.setRightMargin(twipsToUnits(600));
    f.view.textCursor().mergeBlockFormat(right);
    for (int i = 0; i < 40; ++i)
        f.view.increaseIndent();
    QCOMPARE(f.view.startIndentTwips(), 32 * 266);
}

void ViewTest::bulletsOnAndOff() {
    Fixture f;
    f.setText(QStringLiteral("one\ntwo\nthree"));
    f.select(0, 7);
    f.view.toggleBullets();
    QVERIFY(f.view.formatState().bullets);
    const QTextBlock first = f.view.document()->begin();
    QVERIFY(first.textList());
    QCOMPARE(first.textList(), first.next().textList());
    QVERIFY(!first.next().next().textList());
    QCOMPARE(f.view.offsetTwips(), 720);
    QCOMPARE(f.view.startIndentTwips(), 0);

    f.view.toggleBullets();
    QVERIFY(!f.view.formatState().bullets);
    QVERIFY(!f.view.document()->begin().textList());
    QCOMPARE(f.view.offsetTwips(), 0);
    QCOMPARE(f.view.startIndentTwips(), 0);

    // A selection only partly bulleted gets bullets everywhere.
    f.select(0, 0);
    f.view.toggleBullets();
    f.select(0, 7);
    f.view.toggleBullets();
    QVERIFY(f.view.document()->begin().next().textList());
}

void ViewTest::numberingItems_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("1.") << 1 << int(QTextListFormat::ListDecimal) << ".";
    QTest::newRow("1)") << 2 << int(QTextListFormat::ListDecimal) << ")";
    QTest::newRow("I.") << 3 << int(QTextListFormat::ListUpperRoman) << ".";
    QTest::newRow("A.") << 4 << int(QTextListFormat::ListUpperAlpha) << ".";
    QTest::newRow("a)") << 5 << int(QTextListFormat::ListLowerAlpha) << ")";
    QTest::newRow("a.") << 6 << int(QTextListFormat::ListLowerAlpha) << ".";
    QTest::newRow("i.") << 7 << int(QTextListFormat::ListLowerRoman) << ".";
}

void ViewTest::numberingItems() {
    QFETCH(int, item);
    QFETCH(int, style);
    QFETCH(QString, suffix);
    Fixture f;
    f.setText(QStringLiteral("one\ntwo"));
    f.select(0, 5);
    f.host.numbering = item;
    f.view.numberingCommand();
    const QTextList *list = f.view.document()->begin().textList();
    QVERIFY(list);
    QCOMPARE(int(list->format().style()), style);
    QCOMPARE(list->format().numberSuffix(), suffix);
    QCOMPARE(list->count(), 2);
    QCOMPARE(f.view.formatState().numberingItem, item);
    QVERIFY(!f.view.formatState().bullets);

    f.view.applyNumbering(0);
    QVERIFY(!f.view.document()->begin().textList());
    QCOMPARE(f.view.formatState().numberingItem, 0);
    QCOMPARE(f.view.startIndentTwips(), 0);
    QCOMPARE(f.view.offsetTwips(), 0);
}

void ViewTest::zoomTable() {
    Fixture f;
    QCOMPARE(f.view.zoomFromSlider(60), 60);
    QCOMPARE(f.host.statusText(ID_ZOOM_PANE), QStringLiteral("60%"));
    QCOMPARE(f.host.pageStep, 10);
    QCOMPARE(f.view.zoomFromSlider(100), 100);

    // From 100%, the first step past 100 gives 110% and moves the slider to 102.
    f.host.slider = 101;
    QCOMPARE(f.view.zoomFromSlider(101), 110);
    QCOMPARE(f.host.slider, 102);
    QCOMPARE(f.host.pageStep, 2);
    QCOMPARE(f.view.zoomFromSlider(102), 110);
    QCOMPARE(f.view.zoomFromSlider(101), 105);
    QCOMPARE(f.view.zoomFromSlider(200), 600);
    QCOMPARE(f.host.statusText(ID_ZOOM_PANE), QStringLiteral("600%"));

    f.view.resetZoom();
    QCOMPARE(f.view.zoomPercent(), 100);
    QCOMPARE(f.host.slider, 100);
}

void ViewTest::zoomScalesSizedText() {
    // Text with an explicit point size grows with the zoom, like the page.
    Fixture f;
    f.view.resize(600, 400);
    f.setText(QStringLiteral("Zoom me"));
    f.select(0, 7);
    f.host.sizeBox = QStringLiteral("20");
    f.view.sizeBoxCommand();
    auto lineHeight = [&] {
        QTextBlock b = f.view.document()->begin();
        f.view.document()->documentLayout()->blockBoundingRect(b); // lays the block out
        return b.layout()->lineAt(0).height();
    };
    const qreal base = lineHeight();
    f.view.zoomFromSlider(50);
    QVERIFY2(qAbs(lineHeight() - base / 2) < base * 0.1,
             qPrintable(QStringLiteral("%1 vs %2").arg(lineHeight()).arg(base)));
    f.view.zoomFromSlider(100);
    f.host.slider = 150;
    f.view.zoomFromSlider(101);
    f.view.zoomFromSlider(120); // 200%
    QCOMPARE(f.view.zoomPercent(), 200);
    // Within a tenth of the doubled height: line metrics round differently in each face.
    QVERIFY2(qAbs(lineHeight() - base * 2) < base * 2 * 0.1,
             qPrintable(QStringLiteral("%1 vs %2").arg(lineHeight()).arg(base)));
}

void ViewTest::lineAndColumn() {
    Fixture f;
    f.view.resize(600, 400);
    f.view.UpdateStatusAndTitle();
    QCOMPARE(f.host.statusText(PANE_LINE_COL), QStringLiteral("Line: 1  Col: 1"));
    QCOMPARE(f.host.statusText(PANE_PAGE), QString());
    f.host.language = QStringLiteral("Tamil");
    f.host.keyboard = QStringLiteral("Phonetic");
    f.setText(QStringLiteral("first\nsecond"));
    f.select(9, 9);
    f.view.UpdateStatusAndTitle();
    QCOMPARE(f.host.statusText(PANE_LINE_COL), QStringLiteral("Line: 2  Col: 4"));
    QCOMPARE(f.host.statusText(PANE_LANGUAGE), QStringLiteral("Lang: Tamil,  Kbd: Phonetic"));

    f.doc.setViewBusy(true);
    f.select(0, 0);
    f.view.UpdateStatusAndTitle();
    QCOMPARE(f.host.statusText(PANE_LINE_COL), QStringLiteral("Line: 2  Col: 4"));
}

void ViewTest::lineCountsWrappedLinesOfEarlierParagraphs() {
    Fixture f;
    f.view.resize(600, 400);
    f.view.show();
    QString words;
    for (int i = 0; i < 200; ++i)
        words += QStringLiteral("word ");
    f.setText(words + QStringLiteral("\nsecond\nthird"));
    QTextBlock first = f.view.document()->begin();
    f.view.document()->documentLayout()->blockBoundingRect(f.view.document()->lastBlock());
    const int wrapped = first.layout()->lineCount();
    QVERIFY(wrapped > 3);

    struct Case {
        int position;
        int line;
        int column;
    };
    const int second = first.next().position();
    const QTextLine last = first.layout()->lineAt(wrapped - 1);
    for (const Case &c : {Case{0, 1, 1}, Case{int(last.textStart()) + 2, wrapped, 3},
                          Case{second, wrapped + 1, 1}, Case{second + 3, wrapped + 1, 4},
                          Case{second + 7, wrapped + 2, 1}, Case{second + 9, wrapped + 2, 3}}) {
        f.select(c.position, c.position);
        f.view.UpdateStatusAndTitle();
        QCOMPARE(f.host.statusText(PANE_LINE_COL),
                 QStringLiteral("Line: %1  Col: %2").arg(c.line).arg(c.column));
    }

    // Lines of earlier paragraphs follow edits and a new wrapping width.
    f.select(0, 0);
    f.view.textCursor().insertText(QStringLiteral("new\n"));
    f.select(second + 4, second + 4);
    f.view.UpdateStatusAndTitle();
    QCOMPARE(f.host.statusText(PANE_LINE_COL), QStringLiteral("Line: %1  Col: 1").arg(wrapped + 2));
    PageLayout narrow;
    narrow.paperWidth = 6000;
    narrow.paperHeight = 16838;
    narrow.marginLeft = narrow.marginRight = 720;
    f.view.ApplyPageLayout(&narrow, false);
    f.view.document()->documentLayout()->blockBoundingRect(f.view.document()->lastBlock());
    const int narrowLines = f.view.document()->begin().next().layout()->lineCount();
    QVERIFY(narrowLines > wrapped);
    f.view.UpdateStatusAndTitle();
    QCOMPARE(f.host.statusText(PANE_LINE_COL),
             QStringLiteral("Line: %1  Col: 1").arg(narrowLines + 2));
}

void ViewTest::undoAndRedoPutTheCaretAtTheEdit_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("before"); // text before the caret
    QTest::addColumn<QString>("after");  // text after the caret
    QTest::newRow("English at the end") << 0 << "one two "
                                        << ""
                                        << "";
    QTest::newRow("English in the middle") << 0 << "big "
                                           << "a "
                                           << "tree";
    QTest::newRow("Tamil phonetic") << 3 << "vaNakkam tamizh"
                                    << "x "
                                    << " y";
    QTest::newRow("Hindi phonetic") << 1 << "namaste bhaarat"
                                    << ""
                                    << " z";
}

void ViewTest::undoAndRedoPutTheCaretAtTheEdit() {
    QFETCH(int, language);
    QFETCH(QString, keys);
    QFETCH(QString, before);
    QFETCH(QString, after);
    TypingFixture t(language);
    t.view->setPlainText(before + after);
    t.view->resetUndoHistory();
    QTextCursor c = t.view->textCursor();
    c.setPosition(int(before.size()));
    t.view->setTextCursor(c);
    t.type(keys);
    const QString typed =
        t.text().mid(before.size(), t.text().size() - before.size() - after.size());
    QVERIFY(!typed.isEmpty());
    // The caret follows each undo and redo to the end of what is left of the typed text.
    auto typedEnd = [&] { return int(t.text().size() - after.size()); };
    int steps = 0;
    while (t.view->canUndo() && steps < 100) {
        t.key(Qt::Key_Z, Qt::ControlModifier);
        ++steps;
        QCOMPARE(t.caret(), typedEnd());
    }
    QCOMPARE(t.text(), before + after);
    for (int i = 0; t.view->canRedo() && i < 100; ++i) {
        t.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(t.caret(), typedEnd());
    }
    QCOMPARE(t.text(), before + typed + after);

    // Typing after an undo continues where the edit was.
    t.key(Qt::Key_Z, Qt::ControlModifier);
    const QString left = t.text();
    const int at = typedEnd();
    t.type(QStringLiteral("X"));
    QVERIFY(t.text().size() > left.size());
    QVERIFY(t.text().startsWith(left.left(at)));
    QVERIFY(t.text().endsWith(left.mid(at)));
    QVERIFY(steps > 1);
}

void ViewTest::oneUndoStepPerKeystroke() {
    TypingFixture t(0);
    t.type(QStringLiteral("ab cd  e"));
    QCOMPARE(t.text(), QStringLiteral("ab cd  e"));
    QStringList seen;
    for (int i = 0; t.view->canUndo() && i < 100; ++i) {
        t.key(Qt::Key_Z, Qt::ControlModifier);
        seen << t.text();
    }
    QCOMPARE(seen, (QStringList{"ab cd  ", "ab cd ", "ab cd", "ab c", "ab ", "ab", "a", ""}));
    // Ctrl+Y redoes like Ctrl+Shift+Z.
    t.key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(t.text(), QStringLiteral("a"));
    t.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(t.text(), QStringLiteral("ab"));
    t.key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(t.text(), QStringLiteral("ab "));
}

void ViewTest::modifiedMarker() {
    QTemporaryDir dir;
    Fixture f;
    f.doc.setTitle(QStringLiteral("letter.tvl"));
    f.view.UpdateStatusAndTitle();
    QCOMPARE(f.view.windowTitle(), QStringLiteral("letter.tvl"));
    f.view.insertPlainText(QStringLiteral("x"));
    f.view.UpdateStatusAndTitle();
    QCOMPARE(f.view.windowTitle(), QStringLiteral("letter.tvl*"));
    QVERIFY(StoreDocumentBody(f.view, dir.filePath(QStringLiteral("letter.tvl"))).ok());
    f.view.UpdateStatusAndTitle();
    QCOMPARE(f.view.windowTitle(), QStringLiteral("letter.tvl"));

    // A "*" that belongs to the name stays.
    f.doc.setTitle(QStringLiteral("a*b.tvl"));
    f.view.UpdateStatusAndTitle();
    QCOMPARE(f.view.windowTitle(), QStringLiteral("a*b.tvl"));
}

void ViewTest::emptyDocumentTypesInRibbonColour() {
    Fixture f;
    f.host.text = Qt::red;
    f.host.back = Qt::yellow;
    f.view.onActivated();
    f.view.setFocus();
    QTest::keyClicks(&f.view, QStringLiteral("red"));
    QCOMPARE(f.view.toPlainText(), QStringLiteral("red"));
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(f.formatAt(i).foreground().color(), QColor(Qt::red));
        QCOMPARE(f.formatAt(i).background().color(), QColor(Qt::yellow));
    }
    QCOMPARE(f.host.recent.first(), QColor(Qt::red));
    QVERIFY(f.host.recent.contains(QColor(Qt::yellow)));
}

void ViewTest::undoLimit() {
    Fixture f;
    f.view.setUndoLimit(3);
    for (int i = 0; i < 6; ++i) {
        QTextCursor c = f.view.textCursor();
        c.movePosition(QTextCursor::End);
        c.beginEditBlock();
        c.insertText(QString::number(i));
        c.endEditBlock();
    }
    QCOMPARE(f.view.toPlainText(), QStringLiteral("012345"));
    int undone = 0;
    while (f.view.canUndo()) {
        f.view.undo();
        ++undone;
    }
    QCOMPARE(undone, 3);
    QCOMPARE(f.view.toPlainText(), QStringLiteral("012"));
    f.view.redo();
    QCOMPARE(f.view.toPlainText(), QStringLiteral("0123"));
    QVERIFY(f.view.canUndo());

    // Ctrl+Z goes through the same limited history.
    f.view.setFocus();
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(&f.view, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.view.toPlainText(), QStringLiteral("012"));
}

void ViewTest::undoLimitZero() {
    Fixture f;
    f.view.setUndoLimit(0);
    f.view.insertPlainText(QStringLiteral("abc"));
    QVERIFY(!f.view.canUndo());
    f.view.undo();
    QCOMPARE(f.view.toPlainText(), QStringLiteral("abc"));
    f.view.setUndoLimit(80);
    f.view.insertPlainText(QStringLiteral("d"));
    QVERIFY(f.view.canUndo());
    f.view.setUndoLimit(500);
    QCOMPARE(f.view.undoLimit(), 80);
}

void ViewTest::modelRoundTrip() {
    RichDocument model;
    model.paragraphs.clear();
    Paragraph p1;
    p1.format.alignment = Alignment::Center;
    p1.format.startIndentTwips = 720;
    p1.format.rightIndentTwips = 360;
    p1.format.firstLineIndentTwips = -360;
    p1.format.tabStops = {{1440, TabAlignment::Left}, {2880, TabAlignment::Right}};
    Run plain;
    plain.text = u"Tamil ";
    Run tamil;
    tamil.text = u"\u0BA4\u0BAE\u0BBF\u0BB4\u0BCD";
    tamil.format.faceName = u"Noto Sans Tamil";
    tamil.format.charset = 1;
    tamil.format.sizeTwips = 210;
    tamil.format.bold = true;
    tamil.format.italic = true;
    tamil.format.underline = true;
    tamil.format.strikeOut = true;
    tamil.format.textColor = Rgb{200, 0, 0};
    tamil.format.backColor = Rgb{255, 255, 0};
    p1.runs = {plain, tamil};
    Paragraph p2;
    p2.format.listStyle = ListStyle::UpperRoman;
    p2.format.numberSuffix = NumberSuffix::Parenthesis;
    p2.format.numberingStart = 3;
    p2.format.numberingTabTwips = 532;
    p2.format.startIndentTwips = 720;
    p2.format.firstLineIndentTwips = -360;
    Run item;
    item.text = u"item\u2028second line\tafter tab";
    p2.runs = {item};
    Paragraph p3 = p2;
    p3.runs[0].text = u"next item";
    Paragraph p4;
    p4.format.listStyle = ListStyle::Bullet;
    Run bullet;
    bullet.text = u"bullet";
    p4.runs = {bullet};
    Paragraph p5; // empty paragraph
    model.paragraphs = {p1, p2, p3, p4, p5};
    model.normalize();

    QTextDocument text;
    fillTextDocument(&text, model);
    QCOMPARE(text.blockCount(), 5);
    QCOMPARE(text.begin().next().textList(), text.begin().next().next().textList());
    const RichDocument back = richDocumentFrom(&text);
    QCOMPARE(back.paragraphs.size(), model.paragraphs.size());
    for (std::size_t i = 0; i < model.paragraphs.size(); ++i) {
        QVERIFY2(back.paragraphs[i].format == model.paragraphs[i].format,
                 qPrintable(QStringLiteral("paragraph format %1").arg(i)));
        QVERIFY2(back.paragraphs[i].runs == model.paragraphs[i].runs,
                 qPrintable(QStringLiteral("runs %1").arg(i)));
    }
    QVERIFY(back == model);
}

void ViewTest::saveAndReopen_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("keepsFormat");
    QTest::newRow("tvl") << "doc.tvl" << true;
    QTest::newRow("rtf") << "doc.rtf" << true;
    QTest::newRow("txt") << "doc.txt" << false;
}

void ViewTest::saveAndReopen() {
    QFETCH(QString, name);
    QFETCH(bool, keepsFormat);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    const QString tamil = QString::fromUtf16(u"\u0BB5\u0BA3\u0B95\u0BCD\u0B95\u0BAE\u0BCD");
    Fixture a;
    a.setText(tamil + QStringLiteral(" world"));
    a.select(0, tamil.size());
    a.view.toggleBold();
    a.view.alignCentre();
    PageLayout layout = a.doc.pageLayout();
    layout.marginLeft = 2000;
    layout.paperWidth = 12240;
    a.doc.setPageLayout(layout);
    QVERIFY(a.doc.isModified());
    QVERIFY(StoreDocumentBody(a.view, path).ok());
    QVERIFY(!a.doc.isModified());
    QCOMPARE(a.view.toPlainText(), tamil + QStringLiteral(" world"));

    Fixture b;
    QVERIFY(LoadDocumentBody(b.view, path).ok());
    QCOMPARE(b.view.toPlainText(), tamil + QStringLiteral(" world"));
    QCOMPARE(b.formatAt(0).fontWeight() == QFont::Bold, keepsFormat);
    QCOMPARE(b.view.document()->begin().blockFormat().alignment() == Qt::AlignHCenter, keepsFormat);
    if (name.endsWith(QLatin1String(".tvl"))) {
        QCOMPARE(b.doc.pageLayout().marginLeft, 2000);
        QCOMPARE(b.doc.pageLayout().paperWidth, 12240);
    }
    QVERIFY(!b.view.canUndo());
}

void ViewTest::failedLoadKeepsTheView() {
    QTemporaryDir dir;
    Fixture f;
    f.setText(QStringLiteral("keep me"));
    const Status missing = LoadDocumentBody(f.view, dir.filePath(QStringLiteral("none.tvl")));
    QVERIFY(!missing.ok());
    QVERIFY(QString::fromStdString(missing.error().message).startsWith("Could not open"));
    // A ZIP archive named .docx is no RTF.
    const QString docx = dir.filePath(QStringLiteral("a.docx"));
    QFile file(docx);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("PK\x03\x04", 4) + QByteArray(200, '\0'));
    file.close();
    QVERIFY(!LoadDocumentBody(f.view, docx).ok());
    QCOMPARE(f.view.toPlainText(), QStringLiteral("keep me"));
}

void ViewTest::fileHoldRefusesOtherWriters() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("held.tvl"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
    file.close();
    QVERIFY(!FileHold::heldElsewhere(path));
    {
        FileHold hold;
        QVERIFY(hold.take(path));
        QVERIFY(FileHold::heldElsewhere(path));
        // Another descriptor of the same file closing does not drop the hold.
        QFile reader(path);
        QVERIFY(reader.open(QIODevice::ReadOnly));
        reader.readAll();
        reader.close();
        QVERIFY(FileHold::heldElsewhere(path));
        QVERIFY(!hold.take(QString()));
        QVERIFY(!hold.held());
        QVERIFY(!FileHold::heldElsewhere(path));
        QVERIFY(hold.take(path));
    }
    QVERIFY(!FileHold::heldElsewhere(path));
    FileHold missing;
    QVERIFY(!missing.take(dir.filePath(QStringLiteral("missing.tvl"))));
}

void ViewTest::replaceKeepsFormat() {
    Fixture f;
    f.setText(QStringLiteral("plain BOLD"));
    f.select(6, 10);
    f.view.toggleBold();
    QTextCursor c(f.view.document());
    c.setPosition(6);
    c.setPosition(10, QTextCursor::KeepAnchor);
    replaceKeepingFormat(c, QStringLiteral("WORD"));
    QCOMPARE(f.view.toPlainText(), QStringLiteral("plain WORD"));
    QCOMPARE(f.formatAt(6).fontWeight(), int(QFont::Bold));
    QCOMPARE(f.formatAt(9).fontWeight(), int(QFont::Bold));
}

void ViewTest::pageLayoutWrapsToPaper() {
    Fixture f;
    QCOMPARE(f.view.lineWrapMode(), QTextEdit::FixedPixelWidth);
    const int a4 = f.view.lineWrapColumnOrWidth();
    PageLayout wide;
    wide.paperWidth = 16838;
    wide.paperHeight = 11906;
    wide.marginLeft = wide.marginRight = 720;
    f.view.ApplyPageLayout(&wide, true);
    QVERIFY(f.doc.isModified());
    QCOMPARE(f.doc.pageLayout(), wide);
    QVERIFY(f.view.lineWrapColumnOrWidth() > a4);
    // An unset layout takes the paper from the settings.
    PageLayout unset;
    f.view.ApplyPageLayout(&unset, false);
    QCOMPARE(f.view.lineWrapColumnOrWidth(), a4);
    QCOMPARE(f.view.deviceLayout().paperWidth, f.view.documentSettings().paperWidth);
}

void ViewTest::quickPrintWithoutPrinterOffersPdf() {
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("a printer is installed here");
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    const FileNamePrompter previous =
        setFileNamePrompter([&](QWidget *, QString &name, const QString &, bool forOpen) {
            if (forOpen)
                return false;
            name = pdf;
            return true;
        });
    Fixture f;
    f.doc.setTitle(QStringLiteral("letter.tvl"));
    f.setText(QStringLiteral("to be printed"));
    for (const MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
        QStringList asked;
        ScopedMessagePresenter scope([&](const Message &m) {
            asked << QString::fromStdString(m.text);
            return m.buttons == MessageButtons::YesNo ? answer : m.defaultAnswer;
        });
        f.view.printDirect();
        QCOMPARE(asked, QStringList{"No printer is available. Print to a PDF file instead?"});
        QCOMPARE(QFile::exists(pdf), answer == MessageAnswer::Yes);
    }
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(5) == "%PDF-");
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.pdf"});
    setFileNamePrompter(previous);
}

void ViewTest::formatHelperWithoutAView() {
    using namespace text_format;
    QTextDocument document;
    document.setPlainText(QString::fromUtf16(u"ab \u0B95\u0BCA\nsecond"));
    QTextCursor c(&document);
    c.setPosition(0);
    c.setPosition(1, QTextCursor::KeepAnchor);
    setTwips(c, 300);
    toggleEffect(c, Effect::Italic);
    // A selection ending inside a cluster takes the whole cluster.
    c.setPosition(3);
    c.setPosition(4, QTextCursor::KeepAnchor);
    setFace(c, QStringLiteral("Noto Sans Tamil"));
    QCOMPARE(c.selectionEnd(), 5);

    c.setPosition(0);
    c.setPosition(5, QTextCursor::KeepAnchor);
    QCOMPARE(selectionTwips(c), -1);
    QCOMPARE(selectionFace(c), QString());
    QCOMPARE(effectState(c, Effect::Italic), Qt::PartiallyChecked);
    toggleEffect(c, Effect::Italic);
    QCOMPARE(effectState(c, Effect::Italic), Qt::Checked);
    toggleEffect(c, Effect::Italic);
    QCOMPARE(effectState(c, Effect::Italic), Qt::Unchecked);

    // Lists over both paragraphs, and off again.
    c.setPosition(0);
    c.setPosition(8, QTextCursor::KeepAnchor);
    setNumbering(c, 6, 532);
    QCOMPARE(numberingItem(c), 6);
    QCOMPARE(offset(c), 532);
    toggleBullets(c);
    QVERIFY(hasBullets(c));
    QCOMPARE(offset(c), 532); // an offset already there stays
    toggleBullets(c);
    QVERIFY(!hasBullets(c));
    QCOMPARE(startIndent(c), 0);
    QCOMPARE(offset(c), 0);
    setAlignment(c, Qt::AlignRight);
    QCOMPARE(alignment(c), Qt::AlignRight);
}

QTEST_MAIN(ViewTest)
#include "view_test.moc"
