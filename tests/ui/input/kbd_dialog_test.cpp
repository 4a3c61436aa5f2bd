// The on-screen keyboard: clicked keys type what typed keys type, the latches hold for one
// character, the caret and focus stay where they were, and the lists follow the selection.

#include "core/app/settings.h"
#include "core/input/keyboard_data.h"
#include "core/input/translation_engine.h"
#include "ui/app/app_context.h"
#include "ui/app/frame_services.h"
#include "ui/input/caps_lock.h"
#include "ui/input/input_router.h"
#include "ui/input/kbd_dialog.h"
#include "ui/input/kbd_fields.h"
#include "ui/input/my_tooltip.h"

#include <QComboBox>
#include <QHelpEvent>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QVBoxLayout>

using namespace tarvellite;
using namespace tarvellite::ui;

namespace {

class StubFrame : public FrameServices {
  public:
    bool SetDictionaryStatus(const QString &text) override {
        status = text;
        return true;
    }
    void BuildKeyboardMenu() override { ++menuBuilds; }
    int MarkLoadedDictionary(int index) override { return index; }
    QWidget *GetFloatingKeyboardFrame() const override { return nullptr; }
    QTextEdit *activeDocumentEdit() const override { return view; }
    void OpenOrInsertFile(const QString &) override {}
    QFont statusFont() const override { return {}; }

    QTextEdit *view = nullptr;
    QString status;
    int menuBuilds = 0;
};

constexpr char normal[] = "`1234567890-=qwertyuiop[]\\asdfghjkl;'zxcvbnm,./";

int keyIdOf(char c) {
    const char *p = std::strchr(normal, c);
    return p ? CKbdDialog::firstKeyId + int(p - normal) : 1058;
}

} // namespace

class KbdDialogTest : public QObject {
    Q_OBJECT

    KeyboardTables tables_;
    Settings settings_;
    std::unique_ptr<InputContext> input_;
    std::unique_ptr<AppContext> context_;
    std::unique_ptr<TranslationEngine> engine_;
    std::unique_ptr<InputRouter> router_;
    StubFrame frame_;
    std::unique_ptr<QMainWindow> window_;
    QTextEdit *typed_ = nullptr;
    QTextEdit *clicked_ = nullptr;
    CKbdCombo *combo_ = nullptr;
    CKbdDialog *dialog_ = nullptr;

    void click(int id) { QTest::mouseClick(dialog_->key(id), Qt::LeftButton); }
    void clickText(const char *keys) {
        for (const char *p = keys; *p; ++p)
            click(keyIdOf(*p));
    }

  private slots:
    void initTestCase() {
        QVERIFY(LoadKeyboardData(TARVELLITE_PROGRAM_DIR, tables_));
        QVERIFY(tables_.languageTable.size() >= 4);
        // A language the data allows but that has no keyboard of its own.
        tables_.languageTable.back().keyboardsInLanguage = 0;
        input_ = std::make_unique<InputContext>(tables_);
        context_ = std::make_unique<AppContext>(settings_, tables_, *input_);
        engine_ = std::make_unique<TranslationEngine>(*input_);
        router_ = std::make_unique<InputRouter>(*input_, *engine_);
        context_->setInputRouter(router_.get());
        CapsLock::setOverride(false);

        window_ = std::make_unique<QMainWindow>();
        auto *central = new QWidget;
        auto *layout = new QVBoxLayout(central);
        typed_ = new QTextEdit;
        clicked_ = new QTextEdit;
        combo_ = new CKbdCombo;
        dialog_ = new CKbdDialog(*context_, frame_);
        for (QWidget *w : std::initializer_list<QWidget *>{typed_, clicked_, combo_, dialog_})
            layout->addWidget(w);
        window_->setCentralWidget(central);
        router_->setMainWindow(window_.get());
        router_->attachDocument(typed_, nullptr);
        router_->attachDocument(clicked_, nullptr);
        frame_.view = clicked_;
        dialog_->FillLanguageList();
        window_->show();
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }

    void init() {
        typed_->clear();
        clicked_->clear();
        combo_->clearEditText();
        input_->SelectLanguage(0);
        input_->SelectKeyboard(0);
        CapsLock::setOverride(false);
        clicked_->setFocus();
    }

    // For every language and keyboard of the shipped data, clicking keys gives the text that
    // typing the same keys gives, and the caret and focus stay in the document.
    void clicksTypeWhatKeysType() {
        const char *keys = "kamala nilai; ki1 tu.' ppo [x]";
        for (int l = 0; l + 1 < int(tables_.languageTable.size()); ++l) {
            for (int k = 0; k < tables_.languageTable[l].keyboardsInLanguage; ++k) {
                input_->SelectLanguage(l);
                input_->SelectKeyboard(k);
                typed_->clear();
                clicked_->clear();
                typed_->setFocus();
                for (const char *p = keys; *p; ++p)
                    QTest::keyClick(typed_, *p);
                clicked_->setFocus();
                clickText(keys);
                QCOMPARE(clicked_->toPlainText(), typed_->toPlainText());
                QVERIFY(!clicked_->toPlainText().isEmpty());
                QCOMPARE(QApplication::focusWidget(), clicked_);
                QCOMPARE(clicked_->textCursor().position(), int(clicked_->toPlainText().size()));
            }
        }
    }

    // Shift and Ctrl latch for exactly one clicked character, a space included; both Shift
    // buttons show the latch.
    void latchesHoldForOneCharacter() {
        QPushButton *shift = dialog_->key(1052);
        QPushButton *otherShift = dialog_->key(1053);
        click(1052);
        QVERIFY(shift->isChecked() && otherShift->isChecked());
        QCOMPARE(input_->modifiers().shiftLatch, 1);
        clickText("kk");
        QCOMPARE(clicked_->toPlainText(), QStringLiteral("Kk"));
        QVERIFY(!shift->isChecked() && !otherShift->isChecked());

        click(1053);
        click(1058); // space
        QCOMPARE(input_->modifiers().shiftLatch, 0);
        QVERIFY(!shift->isChecked());
        click(1059);
        QCOMPARE(input_->modifiers().ctrlLatch, 1);
        click(1058);
        QCOMPARE(input_->modifiers().ctrlLatch, 0);
        QVERIFY(!dialog_->key(1059)->isChecked());
        clickText("k");
        QCOMPARE(clicked_->toPlainText(), QStringLiteral("Kk  k"));

        // Caps Lock with a latched Shift types the small letter.
        CapsLock::setOverride(true);
        click(1052);
        clickText("kk");
        QCOMPARE(clicked_->toPlainText().right(2), QStringLiteral("kK"));
    }

    // Each clicked character is one undo step.
    void oneUndoStepPerClick() {
        input_->SelectLanguage(3);
        QStringList after;
        for (const char *keys : {"k", "a", "k", "i"}) {
            clickText(keys);
            after << clicked_->toPlainText();
        }
        for (int i = after.size() - 2; i >= 0; --i) {
            clicked_->undo();
            QCOMPARE(clicked_->toPlainText(), after[i]);
        }
    }

    // With a combo box as the target, clicked keys land where its caret was, although the
    // document holds the focus.
    void comboTargetKeepsItsCaret() {
        combo_->setFocus();
        QTest::keyClicks(combo_, "abcd");
        combo_->lineEdit()->setCursorPosition(2);
        combo_->saveEditSelection();
        QCOMPARE(dialog_->textTarget(), combo_);
        clickText("xy");
        QCOMPARE(combo_->currentText(), QStringLiteral("abxycd"));
        click(1048); // bksp
        QCOMPARE(combo_->currentText(), QStringLiteral("abxcd"));
        clicked_->setFocus();
        QCOMPARE(dialog_->textTarget(), nullptr);
        clickText("z");
        QCOMPARE(clicked_->toPlainText(), QStringLiteral("z"));
    }

    // The lists follow F2/F3 and the hot keys; a language without keyboards has a disabled
    // list, and its keys type nothing.
    void listsFollowTheSelection() {
        const int languages = int(tables_.languageTable.size());
        QCOMPARE(dialog_->languageList()->count(), languages);
        const int builds = frame_.menuBuilds;
        input_->cycleLanguage();
        QCOMPARE(dialog_->languageList()->currentIndex(), 1);
        QVERIFY(frame_.menuBuilds > builds);
        input_->SelectLanguage(languages - 2);
        QCOMPARE(dialog_->cycleLanguageList(), languages - 1);
        QVERIFY(!dialog_->keyboardList()->isEnabled());
        QCOMPARE(dialog_->keyboardList()->currentIndex(), -1);
        QCOMPARE(dialog_->cycleKeyboardList(), -1);
        clickText("ka");
        QCOMPARE(clicked_->toPlainText(), QString());
        QCOMPARE(dialog_->cycleLanguageList(), 0);
        QVERIFY(dialog_->keyboardList()->isEnabled());

        input_->SelectLanguage(3);
        const int keyboards = tables_.languageTable[3].keyboardsInLanguage;
        if (keyboards > 1) {
            dialog_->keyboardList()->setCurrentIndex(1);
            QCOMPARE(input_->currentLanguage().selectedKeyboard, 1);
            input_->cycleKeyboard();
            QCOMPARE(dialog_->keyboardList()->currentIndex(), 2 % keyboards);
        }
        input_->togglePreviousLanguage();
        QCOMPARE(dialog_->languageList()->currentIndex(), input_->currentLanguageIndex());
    }

    // Captions show what a click types: Caps Lock turns every key of an Indic layout to its
    // Shift layer, and only the letter keys in English.
    void captionsFollowShiftAndCapsLock() {
        QPushButton *one = dialog_->key(1002);
        QPushButton *k = dialog_->key(keyIdOf('k'));
        for (int language : {0, 3}) {
            input_->SelectLanguage(language);
            const KeyCaptionTable &t = input_->keyCaptionTable();
            const auto text = [&t](int key, int layer) {
                const std::u16string s = captionText(t, key, layer);
                return QString::fromUtf16(s.data(), qsizetype(s.size()));
            };
            const int kPos = keyIdOf('k') - CKbdDialog::firstKeyId;
            CapsLock::setOverride(false);
            dialog_->showLockStates(false, false);
            QCOMPARE(one->text(), text(1, LayerNormal));
            QCOMPARE(k->text(), text(kPos, LayerNormal));
            CapsLock::setOverride(true);
            dialog_->showLockStates(true, false);
            QVERIFY(dialog_->key(1050)->isChecked());
            QCOMPARE(k->text(), text(kPos, LayerShift));
            QCOMPARE(one->text(), text(1, language == 0 ? LayerNormal : LayerShift));
            click(1052);
            QCOMPARE(k->text(), text(kPos, LayerNormal));
            click(1052);
            CapsLock::setOverride(false);
            dialog_->showLockStates(false, true);
            QCOMPARE(dialog_->key(1054)->text(), QStringLiteral("OVR"));
            QCOMPARE(k->accessibleName(), k->text().isEmpty() ? QStringLiteral("k") : k->text());
        }
        // The physical Shift key shows the Shift layer while it is held.
        const KeyCaptionTable &t = input_->keyCaptionTable();
        const auto shown = [&t](int key, int layer) {
            const std::u16string s = captionText(t, key, layer);
            return QString::fromUtf16(s.data(), qsizetype(s.size()));
        };
        int differs = 0;
        while (differs < CKbdDialog::characterKeyCount - 1 &&
               shown(differs, LayerShift) == shown(differs, LayerNormal))
            ++differs;
        QVERIFY(shown(differs, LayerShift) != shown(differs, LayerNormal));
        QPushButton *key = dialog_->key(CKbdDialog::firstKeyId + differs);
        QTest::keyPress(clicked_, Qt::Key_Shift);
        QCOMPARE(key->text(), shown(differs, LayerShift));
        QTest::keyRelease(clicked_, Qt::Key_Shift);
        QCOMPARE(key->text(), shown(differs, LayerNormal));

        // The tooltip puts keyboard 0's character beside the current one, shifted first.
        const KeyCaptionTable &base = tables_.baseCaptionTable;
        const KeyCaptionTable &cur = input_->keyCaptionTable();
        const int aPos = keyIdOf('a') - CKbdDialog::firstKeyId;
        const auto q = [](const std::u16string &s) {
            return QString::fromUtf16(s.data(), qsizetype(s.size()));
        };
        QCOMPARE(dialog_->key(keyIdOf('a'))->toolTip(),
                 QStringLiteral(" %1   %2 \n %3   %4 ")
                     .arg(q(captionText(base, aPos, LayerShift)),
                          q(captionText(cur, aPos, LayerShift)),
                          q(captionText(base, aPos, LayerNormal)),
                          q(captionText(cur, aPos, LayerNormal))));
    }

    // A key's tooltip shows in the large-font tooltip, tabs widened to four spaces.
    void largeFontTooltip() {
        QPushButton *k = dialog_->key(keyIdOf('k'));
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), k->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(k, &help);
        CMyToolTipCtrl *tip = dialog_->toolTipCtrl();
        QVERIFY(tip->isVisible());
        QCOMPARE(tip->shownLabel(), k->toolTip());
        QCOMPARE(tip->labelFont().pixelSize(), 26);
        QTest::mouseClick(k, Qt::LeftButton);
        QVERIFY(!tip->isVisible());
        tip->showTip(QPoint(0, 0), QStringLiteral("a\tb"));
        QCOMPARE(tip->shownLabel(), QStringLiteral("a    b"));
        tip->hide();
    }

    // Every control has an object name (its id) and an accessible name that is its caption.
    void controlsAreNamed() {
        for (QPushButton *b : dialog_->findChildren<QPushButton *>()) {
            QVERIFY2(b->objectName().toInt() >= 1001, qPrintable(b->objectName()));
            if (!b->text().isEmpty())
                QCOMPARE(b->accessibleName(), b->text());
            QVERIFY(!b->accessibleName().isEmpty());
            QCOMPARE(b->focusPolicy(), Qt::NoFocus);
        }
        QCOMPARE(dialog_->languageList()->objectName(), QStringLiteral("1080"));
        QCOMPARE(dialog_->keyboardList()->objectName(), QStringLiteral("1079"));
    }
};

QTEST_MAIN(KbdDialogTest)
#include "kbd_dialog_test.moc"
