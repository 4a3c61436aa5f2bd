// The keyboard and find panes in the main window: clicked keys type into the active document
// and leave its caret and focus, F3 goes through the keyboard list, the keyboard pane's title
// bar toggles, and the find pane replaces what the keyboard typed.

#include "core/app/messages.h"
#include "core/app/settings.h"
#include "core/input/keyboard_data.h"
#include "ui/app/app_context.h"
#include "ui/document/tarvellite_view.h"
#include "ui/input/caps_lock.h"
#include "ui/input/kbd_dialog.h"
#include "ui/input/kbd_fields.h"
#include "ui/mainwindow/dock_panes.h"
#include "ui/mainwindow/main_frame.h"
#include "ui/search/search_page.h"

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvellite;
using namespace tarvellite::ui;

class PanesTest : public QObject {
    Q_OBJECT

    QTemporaryDir config_;
    KeyboardTables tables_;
    Settings settings_;
    std::unique_ptr<InputContext> input_;
    std::unique_ptr<AppContext> context_;
    std::unique_ptr<CMainFrame> frame_;
    std::unique_ptr<ScopedMessagePresenter> presenter_;
    QStringList messages_;

    CKbdDialog *keyboard() const { return frame_->keyboardPane()->dialog(); }
    void click(const char *keys) {
        for (const char *p = keys; *p; ++p) {
            const char *normal = "`1234567890-=qwertyuiop[]\\asdfghjkl;'zxcvbnm,./";
            const int id =
                *p == ' ' ? 1058 : CKbdDialog::firstKeyId + int(std::strchr(normal, *p) - normal);
            QTest::mouseClick(keyboard()->key(id), Qt::LeftButton);
        }
    }

  private slots:
    void initTestCase() {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
        QVERIFY(LoadKeyboardData(TARVELLITE_PROGRAM_DIR, tables_));
        input_ = std::make_unique<InputContext>(tables_);
        input_->SelectLanguage(0);
        context_ = std::make_unique<AppContext>(settings_, tables_, *input_);
        presenter_ = std::make_unique<ScopedMessagePresenter>([this](const Message &m) {
            messages_ << QString::fromStdString(m.text);
            return m.buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
        });
        CapsLock::setOverride(false);
        frame_ = std::make_unique<CMainFrame>(*context_);
        frame_->show();
        frame_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
    }

    void cleanupTestCase() {
        frame_->close();
        frame_.reset();
    }

    // In the Tamil layouts, clicked keys type what the physical keys type, into the active
    // document, with the caret and focus left there; Change All then changes the word.
    void keysTypeIntoTheDocumentAndFindReplacesThem() {
        QVERIFY(keyboard());
        QCOMPARE(keyboard()->languageList()->count(), int(tables_.languageTable.size()));
        CTarvelLiteView *clicked = frame_->newDocument();
        input_->SelectLanguage(3);
        clicked->setFocus();
        click("kalvi kalvi");
        const QString text = clicked->toPlainText();
        CTarvelLiteView *typed = frame_->newDocument();
        typed->setFocus();
        for (const char *p = "kalvi kalvi"; *p; ++p)
            QTest::keyClick(typed, *p);
        QCOMPARE(text, typed->toPlainText());
        QVERIFY(!text.isEmpty());
        QCOMPARE(QApplication::focusWidget(), typed);

        // F3 moves the keyboard list.
        const int keyboards = tables_.languageTable[3].keyboardsInLanguage;
        const int before = keyboard()->keyboardList()->currentIndex();
        QTest::keyClick(typed, Qt::Key_F3);
        QCOMPARE(keyboard()->keyboardList()->currentIndex(), (before + 1) % keyboards);
        QCOMPARE(frame_->CycleInputSelection(false), (before + 2) % keyboards);
        QCOMPARE(keyboard()->keyboardList()->currentIndex(), (before + 2) % keyboards);

        keyboard()->keyboardList()->setCurrentIndex(before);
        QCOMPARE(input_->currentLanguage().selectedKeyboard, before);

        // The search text typed with the on-screen keyboard into the find field finds the
        // word typed into the document, and Change All changes it.
        const QString word = text.section(QLatin1Char(' '), 0, 0);
        CSearchPage *find = frame_->findChild<CSearchDock *>()->page();
        find->searchField()->setFocus();
        QCOMPARE(keyboard()->textTarget(), find->searchField());
        click("kalvi");
        QCOMPARE(find->searchField()->currentText(), word);
        QTextCursor c = typed->textCursor();
        c.setPosition(0);
        typed->setTextCursor(c);
        find->Forward();
        QCOMPARE(typed->textCursor().selectedText(), word);
        find->changeField()->setEditText(QStringLiteral("x"));
        find->ChangeAll();
        QCOMPARE(typed->toPlainText(), QStringLiteral("x x"));
        QVERIFY(messages_.last().endsWith(QStringLiteral("Total Words Replaced: 2;")));
    }

    // Hiding the docked pane's title bar shrinks it, never below 190 pixels.
    void titleBarToggles() {
        CKbdToolBar *pane = frame_->keyboardPane();
        QPushButton *button = keyboard()->key(1226);
        QVERIFY(pane->titleBarShown());
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!pane->titleBarShown());
        QCOMPARE(button->text(), QStringLiteral("Display Title Bar"));
        QCOMPARE(button->accessibleName(), button->text());
        QTRY_VERIFY(pane->height() >= 190);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(pane->titleBarShown());
        QCOMPARE(button->text(), QStringLiteral("Hide Title Bar"));
    }
};

QTEST_MAIN(PanesTest)
#include "panes_test.moc"
