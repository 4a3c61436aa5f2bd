// Key events through the routing into a document, a CKbdEdit and a CKbdCombo.

#include "core/input/keyboard_data.h"
#include "layout_source.h"
#include "ui/input/caps_lock.h"
#include "ui/input/input_router.h"
#include "ui/input/kbd_fields.h"

#include <QAction>
#include <QMainWindow>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <QVBoxLayout>

using namespace tarvellite;

namespace {

constexpr std::string_view latin = R"(
language "Latin"
code EN
keyboard "Plain" typewriter
k k K
)";

// Devanagari with the word-end virama rule, a typewriter and a phonetic keyboard.
constexpr std::string_view devanagari = R"(
language "Test"
code HI
virama-mode 1
virama ्
consonants क ह
vowels अ आ इ ई उ ऊ ए ऐ ओ औ
signs - ा ि ी ु ू े ै ो ौ
keyboard "Phonetic" phonetic selected
k क्     ख
m म्
l ल्
n न्
y य्     ऐ|ै
a अ      आ|ा
i इ|ि    ई|ी
u उ|ु    ऊ|ू
e ए|े    ऐ|ै
o ओ|ो    औ|ौ
1 १      -      \u200C
keyboard "Typewriter" typewriter
k क      ख
j ि      ी
d ्
)";

KeyboardTables makeTables() {
    std::vector<LanguageSource> langs;
    for (std::string_view src : {latin, devanagari})
        langs.push_back(*parseLayoutSource(src, "test"));
    return assembleTables(langs);
}

class Hooks : public DocumentKeyHooks {
  public:
    void toggleItalic() override { ++italic; }
    void toggleBullets() override { ++bullets; }
    int italic = 0, bullets = 0;
};

} // namespace

class InputRoutingTest : public QObject {
    Q_OBJECT

  private:
    KeyboardTables tables_ = makeTables();
    InputContext context_{tables_};
    TranslationEngine engine_{context_};
    std::unique_ptr<InputRouter> router_;
    std::unique_ptr<QMainWindow> window_;
    QTextEdit *doc_ = nullptr;
    CKbdEdit *edit_ = nullptr;
    CKbdCombo *combo_ = nullptr;
    QAction *save_ = nullptr;
    QAction *find_ = nullptr;
    Hooks hooks_;

    // Types keys as a person does: Shift held for the characters that need it.
    static void type(QWidget *w, const char *keys) {
        for (const char *p = keys; *p; ++p) {
            if (*p == '\b') {
                QTest::keyClick(w, Qt::Key_Backspace);
                continue;
            }
            const int k = charToKeyTable(static_cast<unsigned char>(*p));
            const bool shift = k >= 0 && keyShiftedChar(k) == *p;
            QTest::keyClick(w, *p, shift ? Qt::ShiftModifier : Qt::NoModifier);
        }
    }
    void useKeyboard(int language, int keyboard) {
        context_.SelectLanguage(language);
        context_.SelectKeyboard(keyboard);
    }

  private slots:
    void initTestCase() {
        router_ = std::make_unique<InputRouter>(context_, engine_);
        window_ = std::make_unique<QMainWindow>();
        auto *central = new QWidget;
        auto *layout = new QVBoxLayout(central);
        doc_ = new QTextEdit;
        edit_ = new CKbdEdit;
        combo_ = new CKbdCombo;
        layout->addWidget(doc_);
        layout->addWidget(edit_);
        layout->addWidget(combo_);
        window_->setCentralWidget(central);
        save_ = window_->addAction("Save");
        save_->setShortcut(QKeySequence("Ctrl+S"));
        find_ = window_->addAction("Find");
        find_->setShortcut(QKeySequence("Ctrl+F"));
        router_->setMainWindow(window_.get());
        router_->attachDocument(doc_, &hooks_);
        window_->show();
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        CapsLock::setOverride(false);
    }

    void init() {
        doc_->clear();
        edit_->clear();
        combo_->clearEditText();
        useKeyboard(1, 0);
        doc_->setFocus();
    }

    void typesInEveryKindOfField_data() {
        QTest::addColumn<int>("keyboard");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("field");
        // clang-format off
        QTest::newRow("phonetic word")               << 0 << "kamal"  << "कमल्"  << "कमल्";
        QTest::newRow("word-end virama goes")        << 0 << "kamal " << "कमल "  << "कमल ";
        QTest::newRow("vowel signs")                 << 0 << "kikuke" << "किकुके" << "किकुके";
        QTest::newRow("Backspace after virama")      << 0 << "k\b"    << ""      << "";
        QTest::newRow("Backspace takes one unit")    << 0 << "ki\b"   << "क"     << "क";
        QTest::newRow("no auto virama outside Tamil") << 1 << "kk"    << "कक"    << "कक";
        QTest::newRow("typewriter sign")             << 1 << "kj"     << "कि"    << "कि";
        QTest::newRow("combo gets no composition")   << 1 << "kdj"    << "कि"    << "क्ि";
        // clang-format on
    }
    void typesInEveryKindOfField() {
        QFETCH(int, keyboard);
        QFETCH(QString, keys);
        QFETCH(QString, document);
        QFETCH(QString, field);
        useKeyboard(1, keyboard);
        const QByteArray k = keys.toLatin1();
        doc_->setFocus();
        type(doc_, k.constData());
        QCOMPARE(doc_->toPlainText(), document);
        edit_->setFocus();
        type(edit_, k.constData());
        // The single-line field is not a combo box: it gets the composition rules.
        QCOMPARE(edit_->text(), document);
        combo_->setFocus();
        type(combo_, k.constData());
        QCOMPARE(combo_->currentText(), field);
    }

    void oneUndoStepPerKey() {
        type(doc_, "ka");
        QCOMPARE(doc_->toPlainText(), QString("क"));
        doc_->undo();
        QCOMPARE(doc_->toPlainText(), QString("क्"));
        doc_->undo();
        QCOMPARE(doc_->toPlainText(), QString());
    }

    void signTakesTheFormatOfItsConsonant() {
        useKeyboard(1, 1);
        QTextCharFormat red;
        red.setForeground(Qt::red);
        doc_->setCurrentCharFormat(red);
        type(doc_, "k");
        QTextCharFormat blue;
        blue.setForeground(Qt::blue);
        doc_->setCurrentCharFormat(blue);
        type(doc_, "jk");
        QTextCursor c(doc_->document());
        c.setPosition(2);
        QCOMPARE(c.charFormat().foreground().color(), QColor(Qt::red));
        c.setPosition(3);
        QCOMPARE(c.charFormat().foreground().color(), QColor(Qt::blue));
    }

    void functionKeysCycleLanguageAndKeyboard() {
        QCOMPARE(context_.currentLanguageIndex(), 1);
        QSignalSpy cycled(router_.get(), &InputRouter::inputSelectionCycled);
        QCOMPARE(context_.currentKeyboardIndex(), 1);
        QTest::keyClick(doc_, Qt::Key_F3);
        QCOMPARE(context_.currentKeyboardIndex(), 2);
        QTest::keyClick(edit_, Qt::Key_F3);
        QCOMPARE(context_.currentKeyboardIndex(), 1);
        QTest::keyClick(doc_, Qt::Key_F2);
        QCOMPARE(context_.currentLanguageIndex(), 0);
        QTest::keyClick(doc_, Qt::Key_F2);
        QCOMPARE(context_.currentLanguageIndex(), 1);
        QTest::keyClick(doc_, Qt::Key_F4);
        QTest::keyClick(doc_, Qt::Key_F4);
        QCOMPARE(context_.currentLanguageIndex(), 1);
        QCOMPARE(cycled.count(), 6);
        QVERIFY(doc_->toPlainText().isEmpty());
    }

    void ctrlKeysGoToTheLayoutOrTheProgram() {
        QSignalSpy saved(save_, &QAction::triggered);
        QSignalSpy found(find_, &QAction::triggered);
        QWindow *w = window_->windowHandle();
        QTest::keyClick(w, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(saved.count(), 1);
        QTest::keyClick(w, Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(doc_->toPlainText(), QString(QChar(0x200C)));
        QTest::keyClick(w, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(found.count(), 0);
        QTest::keyClick(w, Qt::Key_I, Qt::ControlModifier);
        QTest::keyClick(w, Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(hooks_.italic, 1);
        QCOMPARE(hooks_.bullets, 1);
        // Outside the document, Ctrl+F is the program's when the layout gives it nothing.
        edit_->setFocus();
        QTest::keyClick(w, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(found.count(), 1);
        QTest::keyClick(w, Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(edit_->text(), QString(QChar(0x200C)));
    }

    void comboKeepsItsSelectionAcrossFocus() {
        combo_->setFocus();
        type(combo_, "kamal");
        QTest::keyClick(combo_, Qt::Key_Left);
        QCOMPARE(combo_->savedEditSelection(), std::make_pair(2, 2));
        QTest::keyClick(combo_, Qt::Key_End);
        edit_->setFocus(Qt::TabFocusReason);
        combo_->setFocus(Qt::TabFocusReason);
        QCOMPARE(combo_->savedEditSelection(), std::make_pair(4, 4));
        type(combo_, "a");
        QCOMPARE(combo_->currentText(), QString("कमल"));
    }

    void capsLockSelectsTheShiftLayer() {
        CapsLock::setOverride(true);
        type(doc_, "k");
        CapsLock::setOverride(false);
        type(doc_, "k");
        QCOMPARE(doc_->toPlainText(), QString("खक्"));
    }
};

QTEST_MAIN(InputRoutingTest)
#include "input_routing_test.moc"
