// The look-ahead popup in a document typed through the keyboard routing: when it shows, how
// its keys and a click choose a word, what hides it, and the lookup dictionary per language.

#include "core/app/file_io.h"
#include "core/input/keyboard_data.h"
#include "core/spelling/dictionary_file.h"
#include "ui/input/input_router.h"
#include "ui/input/look_ahead.h"
#include "ui/input/lookup_window.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QVBoxLayout>

using namespace tarvellite;

namespace {

constexpr int english = 0;
constexpr int tamil = 3;

// What the editing view does with the routing's hooks.
class ViewHooks : public DocumentKeyHooks {
  public:
    LookAhead *lookAhead = nullptr;
    bool handlePopupKey(QKeyEvent &event) override { return lookAhead->HandlePopupKey(event); }
    void lookAheadUpdate() override { lookAhead->LookAheadUpdate(); }
    void hideLookAhead() override { lookAhead->HideLookAheadPopup(); }
};

QString qs(std::u16string_view s) {
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

class LookAheadTest : public QObject {
    Q_OBJECT

  private:
    KeyboardTables tables_;
    std::unique_ptr<InputContext> context_;
    std::unique_ptr<TranslationEngine> engine_;
    std::unique_ptr<InputRouter> router_;
    std::unique_ptr<LookupDictionary> lookup_;
    DictionaryRegistry registry_;
    std::vector<std::u16string> choices_;
    QTemporaryDir folder_;
    int minLetters_ = 3;
    std::unique_ptr<QMainWindow> window_;
    QTextEdit *doc_ = nullptr;
    QLineEdit *other_ = nullptr;
    LookAhead *lookAhead_ = nullptr;
    ViewHooks hooks_;

    CLookupWindow *popup() const { return lookAhead_->window(); }
    QListWidget *list() const { return popup()->list(); }
    QStringList shownWords() const {
        QStringList words;
        for (int i = 0; i < list()->count(); ++i)
            words << list()->item(i)->text();
        return words;
    }

    // Types ASCII keys as a person does, Shift held for capitals.
    void type(const char *keys) {
        for (const char *p = keys; *p; ++p) {
            const bool upper = *p >= 'A' && *p <= 'Z';
            QTest::keyClick(doc_, *p, upper ? Qt::ShiftModifier : Qt::NoModifier);
        }
    }
    void useLanguage(int language) {
        context_->SelectLanguage(language);
        lookup_->reloadIfLanguageChanged(registry_, choices_, folder_.path().toStdString());
    }
    // Selects `word` in the popup with Down.
    bool selectWithDown(const QString &word) {
        for (int i = 0; i <= list()->count(); ++i) {
            if (popup()->selectedWord() == word)
                return true;
            QTest::keyClick(doc_, Qt::Key_Down);
        }
        return false;
    }

  private slots:
    void initTestCase() {
        QVERIFY(folder_.isValid());
        QVERIFY(LoadKeyboardData(TARVELLITE_PROGRAM_DIR, tables_));
        QVERIFY(tables_.languageCodes.size() > tamil);
        QCOMPARE(QString::fromStdString(std::string(tables_.languageCodes[tamil])), "TA");

        // A small English dictionary, found before the shipped en-US; the shipped ta-IN.
        DictionaryFileData data;
        data.minChar = '\'';
        data.maxChar = 'z';
        data.words = {u"table", u"tamarind", u"tame", u"tamil", u"tamils", u"tan"};
        buildDictionaryIndexes(data);
        const std::string dic = folder_.filePath("en-Test.dic").toStdString();
        QVERIFY(writeFileAtomically(dic, writeDictionaryFile(data)).ok());
        QCOMPARE(registry_.ScanDictionaries(folder_.path().toStdString() + "/"), 1);
        QVERIFY(registry_.ScanDictionaries(TARVELLITE_PROGRAM_DIR "/DictionaryFiles/") > 1);

        context_ = std::make_unique<InputContext>(tables_);
        engine_ = std::make_unique<TranslationEngine>(*context_);
        router_ = std::make_unique<InputRouter>(*context_, *engine_);
        lookup_ = std::make_unique<LookupDictionary>(*context_, [this] { return minLetters_; });

        window_ = std::make_unique<QMainWindow>();
        auto *central = new QWidget;
        auto *layout = new QVBoxLayout(central);
        doc_ = new QTextEdit;
        other_ = new QLineEdit;
        layout->addWidget(doc_);
        layout->addWidget(other_);
        window_->setCentralWidget(central);
        window_->resize(600, 400);
        lookAhead_ = new LookAhead(doc_, lookup_.get());
        hooks_.lookAhead = lookAhead_;
        router_->setMainWindow(window_.get());
        router_->attachDocument(doc_, &hooks_);
        window_->show();
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }

    void init() {
        minLetters_ = 3;
        useLanguage(english);
        lookAhead_->HideLookAheadPopup();
        doc_->clear();
        doc_->setFocus();
    }

    void dictionaryFollowsTheLanguage() {
        QCOMPARE(lookup_->statusText(), QString("en-Test Dictionary loaded"));
        QVERIFY(choices_ == std::vector<std::u16string>{u"en-Test"});
        useLanguage(tamil);
        QCOMPARE(lookup_->statusText(), QString("ta-IN Dictionary loaded"));
        QCOMPARE(qs(registry_.names()[lookup_->chosenIndex()]), QString("ta-IN"));
        // Changing only the keyboard leaves the dictionary alone.
        QVERIFY(!lookup_->reloadIfLanguageChanged(registry_, choices_, {}));

        // A language without a dictionary: nothing is offered (no words of the last one).
        DictionaryRegistry onlyEnglish;
        onlyEnglish.ScanDictionaries(folder_.path().toStdString() + "/");
        std::vector<std::u16string> none;
        QCOMPARE(lookup_->reload(onlyEnglish, none, {}), QString("No Dictionary available..."));
        QVERIFY(lookup_->lookupDictionary() == nullptr);
        QCOMPARE(lookup_->chosenIndex(), -1);
        type("thami");
        QVERIFY(!lookAhead_->popupVisible());
        lookup_->reload(registry_, choices_, folder_.path().toStdString());
    }

    void minimumLettersBeforeThePopup() {
        type("ta");
        QVERIFY(!lookAhead_->popupVisible());
        type("m");
        QVERIFY(lookAhead_->popupVisible());
        QCOMPARE(shownWords(), QStringList({"tamarind", "tame", "tamil", "tamils"}));
        QVERIFY(!popup()->hasSelection());

        // Two letters are enough with 2; below 2 the look-ahead is off.
        doc_->clear();
        lookAhead_->HideLookAheadPopup();
        minLetters_ = 2;
        type("ta");
        QVERIFY(lookAhead_->popupVisible());
        QCOMPARE(shownWords().size(), 6);
        lookAhead_->HideLookAheadPopup();
        minLetters_ = 1;
        type("m");
        QVERIFY(!lookAhead_->popupVisible());
    }

    void popupNeverTakesTheFocus() {
        type("tam");
        QVERIFY(lookAhead_->popupVisible());
        QCOMPARE(QApplication::focusWidget(), doc_);
        QVERIFY(window_->isActiveWindow());
        QVERIFY(popup()->isWindow());
        QVERIFY(popup()->testAttribute(Qt::WA_ShowWithoutActivating));
        QVERIFY(popup()->windowFlags() & Qt::WindowDoesNotAcceptFocus);

        // Under the caret, sized for its words: one row more than the words, at most ten.
        const QRect caret = doc_->cursorRect();
        const QPoint below = doc_->viewport()->mapToGlobal(caret.bottomLeft());
        QVERIFY2(popup()->geometry().top() > below.y() - 1,
                 qPrintable(QString("popup at %1, caret bottom %2")
                                .arg(popup()->geometry().top())
                                .arg(below.y())));
        QCOMPARE(popup()->geometry().left(), below.x());
        const QFontMetrics metrics(list()->font());
        QVERIFY(popup()->width() > metrics.horizontalAdvance("tamarind"));
        QVERIFY(popup()->height() >= 4 * list()->sizeHintForRow(0));
        QVERIFY(popup()->height() <= 5 * list()->sizeHintForRow(0) + 2 * list()->frameWidth());

        // Typing on keeps it up to date.
        type("i");
        QCOMPARE(shownWords(), QStringList({"tamil", "tamils"}));
        QCOMPARE(QApplication::focusWidget(), doc_);
    }

    void spaceInsertsTheChosenWord_data() {
        QTest::addColumn<QByteArray>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QString>("expected");
        QTest::newRow("space") << QByteArray("tam") << int(Qt::Key_Space) << "tame"
                               << "tame ";
        QTest::newRow("tab") << QByteArray("tam") << int(Qt::Key_Tab) << "tamarind"
                             << "tamarind ";
        QTest::newRow("enter") << QByteArray("tam") << int(Qt::Key_Return) << "tamils"
                               << "tamils ";
        QTest::newRow("capital kept") << QByteArray("Tam") << int(Qt::Key_Space) << "tamil"
                                      << "Tamil ";
        QTest::newRow("only the first letter") << QByteArray("TAM") << int(Qt::Key_Space) << "tamil"
                                               << "Tamil ";
        QTest::newRow("after other words") << QByteArray("a Tam") << int(Qt::Key_Space) << "tamil"
                                           << "a Tamil ";
    }
    void spaceInsertsTheChosenWord() {
        QFETCH(QByteArray, typed);
        QFETCH(int, key);
        QFETCH(QString, choice);
        QFETCH(QString, expected);
        type(typed.constData());
        QVERIFY(lookAhead_->popupVisible());
        QVERIFY(selectWithDown(choice));
        const QString before = doc_->toPlainText();
        QTest::keyClick(doc_, Qt::Key(key));
        QCOMPARE(doc_->toPlainText(), expected);
        QVERIFY(!lookAhead_->popupVisible());
        QCOMPARE(doc_->textCursor().position(), int(expected.size()));
        QCOMPARE(QApplication::focusWidget(), doc_);
        // One undo step gives the typed letters back.
        doc_->document()->undo();
        QCOMPARE(doc_->toPlainText(), before);
    }

    void arrowsMoveTheSelection() {
        type("tam");
        // The first Down (or Right) selects the first word; then each Down or Up moves one.
        QTest::keyClick(doc_, Qt::Key_Down);
        QCOMPARE(popup()->selectedWord(), QString("tamarind"));
        QTest::keyClick(doc_, Qt::Key_Down);
        QTest::keyClick(doc_, Qt::Key_Down);
        QCOMPARE(popup()->selectedWord(), QString("tamil"));
        QTest::keyClick(doc_, Qt::Key_Up);
        QCOMPARE(popup()->selectedWord(), QString("tame"));
        for (int i = 0; i < 6; ++i)
            QTest::keyClick(doc_, Qt::Key_Down);
        QCOMPARE(popup()->selectedWord(), QString("tamils"));
        QCOMPARE(doc_->toPlainText(), QString("tam"));
        QCOMPARE(doc_->textCursor().position(), 3);

        lookAhead_->HideLookAheadPopup();
        doc_->clear();
        type("tam");
        QTest::keyClick(doc_, Qt::Key_Right);
        QCOMPARE(popup()->selectedWord(), QString("tamarind"));
        QTest::keyClick(doc_, Qt::Key_Space);
        QCOMPARE(doc_->toPlainText(), QString("tamarind "));
    }

    void keysWithoutAChoice_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("caret");
        QTest::addColumn<bool>("visible");
        // Enter without a selected word is a line break; space is typed.
        QTest::newRow("enter") << int(Qt::Key_Return) << "tam\n" << 4 << false;
        QTest::newRow("space") << int(Qt::Key_Space) << "tam " << 4 << false;
        QTest::newRow("tab") << int(Qt::Key_Tab) << "tam\t" << 4 << false;
        // Left and Escape only hide: the caret stays.
        QTest::newRow("left") << int(Qt::Key_Left) << "tam" << 3 << false;
        QTest::newRow("escape") << int(Qt::Key_Escape) << "tam" << 3 << false;
        // A letter that no word continues hides it and is typed.
        QTest::newRow("no more words") << int(Qt::Key_Q) << "tamq" << 4 << false;
        // Keys that type nothing leave it up.
        QTest::newRow("shift") << int(Qt::Key_Shift) << "tam" << 3 << true;
    }
    void keysWithoutAChoice() {
        QFETCH(int, key);
        QFETCH(QString, expected);
        QFETCH(int, caret);
        QFETCH(bool, visible);
        type("tam");
        QVERIFY(lookAhead_->popupVisible());
        QTest::keyClick(doc_, Qt::Key(key));
        QCOMPARE(doc_->toPlainText(), expected);
        QCOMPARE(doc_->textCursor().position(), caret);
        QCOMPARE(lookAhead_->popupVisible(), visible);
    }

    void backspaceUpdatesUntilReleased() {
        type("tamiq");
        QVERIFY(!lookAhead_->popupVisible());
        QTest::keyPress(doc_, Qt::Key_Backspace);
        QCOMPARE(doc_->toPlainText(), QString("tami"));
        QVERIFY(lookAhead_->popupVisible());
        QCOMPARE(shownWords(), QStringList({"tamil", "tamils"}));
        QTest::keyRelease(doc_, Qt::Key_Backspace);
        QVERIFY(!lookAhead_->popupVisible());
        QCOMPARE(doc_->toPlainText(), QString("tami"));
    }

    void clickChoosesAWord() {
        type("Tam");
        QVERIFY(lookAhead_->popupVisible());
        QListWidgetItem *item = list()->findItems("tamil", Qt::MatchExactly).value(0);
        QVERIFY(item);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualItemRect(item).center());
        QCOMPARE(doc_->toPlainText(), QString("Tamil "));
        QVERIFY(!lookAhead_->popupVisible());
        QCOMPARE(QApplication::focusWidget(), doc_);
    }

    void clickOrFocusElsewhereHides() {
        type("tam");
        QVERIFY(lookAhead_->popupVisible());
        QTest::mouseClick(doc_->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!lookAhead_->popupVisible());

        doc_->moveCursor(QTextCursor::End);
        type("i");
        QVERIFY(lookAhead_->popupVisible());
        other_->setFocus();
        QVERIFY(!lookAhead_->popupVisible());
        QCOMPARE(doc_->toPlainText(), QString("tami"));
    }

    void wordBeforeCaretStaysInItsParagraph() {
        doc_->setPlainText(QString::fromUtf16(u"tamil\n\u0ba4\u0bae\u0bbf\u0bb4\u0bcd, "
                                              u"\u0ba4\u0bae\u0bbf xyz"));
        QTextCursor c = doc_->textCursor();
        c.setPosition(6);
        doc_->setTextCursor(c);
        QCOMPARE(lookAhead_->GetWordBeforeCaret(false), QString());
        c.setPosition(11);
        doc_->setTextCursor(c);
        QCOMPARE(lookAhead_->GetWordBeforeCaret(false),
                 QString::fromUtf16(u"\u0ba4\u0bae\u0bbf\u0bb4\u0bcd"));
        QCOMPARE(doc_->textCursor().position(), 11);
        // Kept selected for the replacement, from the selection's end.
        c.setPosition(13);
        c.setPosition(16, QTextCursor::KeepAnchor);
        doc_->setTextCursor(c);
        QCOMPARE(lookAhead_->GetWordBeforeCaret(true), QString::fromUtf16(u"\u0ba4\u0bae\u0bbf"));
        QCOMPARE(doc_->textCursor().selectionStart(), 13);
        QCOMPARE(doc_->textCursor().selectionEnd(), 16);
        // A word longer than the first look back is still found whole.
        const QString longWord(300, QChar('a'));
        doc_->setPlainText("x " + longWord);
        doc_->moveCursor(QTextCursor::End);
        QCOMPARE(lookAhead_->GetWordBeforeCaret(false), longWord);
    }

    void tamilTypedThroughTheEngine() {
        useLanguage(tamil);
        QCOMPARE(lookup_->statusText(), QString("ta-IN Dictionary loaded"));
        type("thami");
        const QString prefix = QString::fromUtf16(u"\u0ba4\u0bae\u0bbf");
        QCOMPARE(doc_->toPlainText(), prefix);
        QVERIFY(lookAhead_->popupVisible());
        const QStringList words = shownWords();
        QCOMPARE(words.size(), lookAheadLimit);
        for (const QString &w : words)
            QVERIFY2(w.startsWith(prefix) && w.size() > prefix.size(), qPrintable(w));
        QVERIFY(popup()->width() > QFontMetrics(list()->font()).horizontalAdvance(words.first()));

        // Down and space take the first word, with a space and no English capital rule.
        QTest::keyClick(doc_, Qt::Key_Down);
        QTest::keyClick(doc_, Qt::Key_Space);
        QCOMPARE(doc_->toPlainText(), words.first() + " ");
        QVERIFY(!lookAhead_->popupVisible());

        // Typing on after the space starts a new word.
        type("thami");
        QCOMPARE(doc_->toPlainText(), words.first() + " " + prefix);
        QVERIFY(lookAhead_->popupVisible());
    }
};

QTEST_MAIN(LookAheadTest)
#include "look_ahead_test.moc"
