// The main window's furniture: the four panes and their toggles, the saved layout, the title,
// F2/F3 cycling, the zoom slider, the lock-key panes, the auto-save timer, print preview, the
// About box and the "Windows..." dialog.

#include "core/app/messages.h"
#include "core/app/settings_store.h"
#include "core/input/keyboard_data.h"
#include "ui/app/app_context.h"
#include "ui/app/splash.h"
#include "ui/document/command_ids.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"
#include "ui/input/caps_lock.h"
#include "ui/mainwindow/child_frame.h"
#include "ui/mainwindow/dock_panes.h"
#include "ui/mainwindow/main_frame.h"
#include "ui/mainwindow/windows_dialog.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace tarvellite;
using namespace tarvellite::ui;

namespace {

/// A context with the program's keyboard tables (or none) and the first language selected.
std::unique_ptr<AppContext> makeContext(bool withKeyboards) {
    auto context = std::make_unique<AppContext>();
    if (withKeyboards && LoadKeyboardData(TARVELLITE_PROGRAM_DIR, context->keyboardTables()))
        context->inputContext().SelectLanguage(0);
    return context;
}

/// Runs `answer` on the first modal dialog that opens.
void whenModalOpens(const std::function<void(QWidget *)> &answer) {
    QTimer::singleShot(0, [answer] {
        QTRY_VERIFY(QApplication::activeModalWidget());
        answer(QApplication::activeModalWidget());
    });
}

} // namespace

class FrameWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path())); }
    void init() {
        presenter_ = std::make_unique<ScopedMessagePresenter>([](const Message &m) {
            return m.defaultAnswer == MessageAnswer::Cancel ? MessageAnswer::No : m.defaultAnswer;
        });
    }
    void cleanup() { presenter_.reset(); }

    void panesStartInTheirPlacesAndToggle() {
        auto context = makeContext(false);
        CMainFrame frame(*context);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QCOMPARE(frame.dockWidgetArea(frame.keyboardPane()), Qt::BottomDockWidgetArea);
        QCOMPARE(frame.keyboardPane()->windowTitle(), QStringLiteral("On Screen Keyboard"));
        QVERIFY(frame.keyboardPane()->minimumWidth() >= 470);
        QVERIFY(frame.keyboardPane()->minimumHeight() >= 190);
        QCOMPARE(frame.dockWidgetArea(frame.folderPane()), Qt::LeftDockWidgetArea);
        const QList<QDockWidget *> tabbed = frame.tabifiedDockWidgets(frame.folderPane());
        QVERIFY(tabbed.contains(frame.findPane()));
        QVERIFY(tabbed.contains(frame.spellPane()));
        QCOMPARE(frame.findPane()->windowTitle(), QStringLiteral("Find / Replace"));
        QCOMPARE(frame.spellPane()->windowTitle(), QStringLiteral("Spell Checker"));

        const std::pair<int, QDockWidget *> toggles[] = {{ID_CHKKBD, frame.keyboardPane()},
                                                         {ID_CHKFE, frame.folderPane()},
                                                         {ID_CHKFR, frame.findPane()},
                                                         {ID_DICTIONARY, frame.spellPane()}};
        for (const auto &[id, pane] : toggles) {
            QAction *toggle = frame.command(id);
            QVERIFY2(toggle && toggle->isCheckable(), qPrintable(QString::number(id)));
            QVERIFY(toggle->isChecked());
            toggle->trigger();
            QVERIFY(pane->isHidden());
            QVERIFY(!toggle->isChecked());
            toggle->trigger();
            QVERIFY(!pane->isHidden());
            QVERIFY(toggle->isChecked());
            // Floated and docked again, at another edge.
            pane->setFloating(true);
            QVERIFY(pane->isFloating());
            pane->setFloating(false);
            frame.addDockWidget(Qt::RightDockWidgetArea, pane);
            QCOMPARE(frame.dockWidgetArea(pane), Qt::RightDockWidgetArea);
        }
        // Closing a pane by its own button unchecks its toggle.
        frame.spellPane()->close();
        QVERIFY(!frame.command(ID_DICTIONARY)->isChecked());

        frame.command(ID_CHKSTBAR)->trigger();
        QVERIFY(frame.statusBar()->isHidden());
        frame.command(ID_CHKSTBAR)->trigger();
        QVERIFY(!frame.statusBar()->isHidden());
    }

    void floatingKeyboardFrame() {
        auto context = makeContext(false);
        CMainFrame frame(*context);
        frame.show();
        QVERIFY(!frame.GetFloatingKeyboardFrame());
        frame.keyboardPane()->setFloating(true);
        QCOMPARE(frame.GetFloatingKeyboardFrame(), frame.keyboardPane());
        frame.keyboardPane()->hide();
        QVERIFY(!frame.GetFloatingKeyboardFrame());
    }

    void layoutComesBackAndABadOneIsIgnored() {
        MemorySettingsStore store;
        {
            auto context = makeContext(false);
            context->setStore(&store);
            CMainFrame frame(*context);
            frame.show();
            frame.addDockWidget(Qt::RightDockWidgetArea, frame.folderPane());
            frame.keyboardPane()->hide();
            QVERIFY(frame.close());
        }
        {
            auto context = makeContext(false);
            context->setStore(&store);
            CMainFrame frame(*context);
            frame.show();
            QCOMPARE(frame.dockWidgetArea(frame.folderPane()), Qt::RightDockWidgetArea);
            QVERIFY(frame.keyboardPane()->isHidden());
            QVERIFY(!frame.command(ID_CHKKBD)->isChecked());
            frame.keyboardPane()->show();
            frame.close();
        }
        // A layout of another build, or rubbish, leaves the panes as created.
        store.writeBinary("MainFrame", "Layout", Bytes{0x00, 0x00, 0x00, 0xff, 0x12, 0x34});
        store.writeBinary("MainFrame", "Geometry", Bytes(3, 0xee));
        auto context = makeContext(false);
        context->setStore(&store);
        CMainFrame frame(*context);
        frame.show();
        QCOMPARE(frame.dockWidgetArea(frame.keyboardPane()), Qt::BottomDockWidgetArea);
        QVERIFY(!frame.keyboardPane()->isHidden());
    }

    void titleFollowsTheActiveDocument() {
        auto context = makeContext(false);
        CMainFrame frame(*context);
        frame.show();
        QCOMPARE(frame.windowTitle(), QStringLiteral("TarvelLite"));
        QTemporaryDir dir;
        QStringList paths;
        for (const char *name : {"first.txt", "second.txt"}) {
            QFile file(dir.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("text\n");
            paths << file.fileName();
        }
        QVERIFY(frame.OpenDocumentPath(paths[0]));
        QVERIFY(frame.OpenDocumentPath(paths[1]));
        QTRY_COMPARE(frame.windowTitle(), QStringLiteral("second.txt - TarvelLite"));
        QList<QMdiSubWindow *> windows = frame.documentArea()->subWindowList();
        frame.documentArea()->setActiveSubWindow(windows.first());
        QTRY_COMPARE(frame.windowTitle(), QStringLiteral("first.txt - TarvelLite"));
        // The modified marker follows typing and goes with the save.
        frame.activeView()->insertPlainText(QStringLiteral("more "));
        QTRY_COMPARE(frame.windowTitle(), QStringLiteral("first.txt* - TarvelLite"));
        QVERIFY(frame.saveActiveDocument(false));
        QTRY_COMPARE(frame.windowTitle(), QStringLiteral("first.txt - TarvelLite"));
        for (QMdiSubWindow *w : frame.documentArea()->subWindowList())
            w->close();
        QTRY_COMPARE(frame.windowTitle(), QStringLiteral("TarvelLite"));
        QVERIFY(!frame.command(ID_VIEW_RULER)->isEnabled());
    }

    void cyclingLanguagesAndKeyboards() {
        auto context = makeContext(true);
        const int languages = int(context->keyboardTables().languageTable.size());
        QVERIFY(languages > 1);
        CMainFrame frame(*context);
        // F2 visits every language and wraps to the first.
        for (int i = 1; i <= languages; ++i)
            QCOMPARE(frame.CycleInputSelection(true), i % languages);
        // F3 in a language with keyboards wraps within them.
        frame.CycleInputSelection(true); // language 1
        const int keyboards = context->inputContext().currentLanguage().keyboardsInLanguage;
        QVERIFY(keyboards > 1);
        const int first = context->inputContext().currentLanguage().selectedKeyboard;
        for (int i = 1; i <= keyboards; ++i)
            QCOMPARE(frame.CycleInputSelection(false), (first + i) % keyboards);
    }

    void cyclingEmptyListsDoesNothing() {
        auto context = makeContext(false);
        CMainFrame frame(*context);
        QCOMPARE(frame.CycleInputSelection(true), -1);
        QCOMPARE(frame.CycleInputSelection(false), -1);
        QCOMPARE(context->inputContext().currentLanguageIndex(), -1);
    }

    void zoomSliderZoomsTheActiveView() {
        auto context = makeContext(false);
        CMainFrame frame(*context);
        frame.show();
        CTarvelLiteView *view = frame.newDocument();
        auto *slider = frame.findChild<QSlider *>(QStringLiteral("32794"));
        QVERIFY(slider);
        QCOMPARE(slider->minimum(), 10);
        QCOMPARE(slider->maximum(), 200);
        slider->setValue(50);
        QCOMPARE(view->zoomPercent(), 50);
        QCOMPARE(frame.statusText(ID_ZOOM_PANE), QStringLiteral("50%"));
        auto *zoomIn = frame.findChild<QToolButton *>(QStringLiteral("zoom-in"));
        zoomIn->click();
        QCOMPARE(slider->value(), 60);
        QCOMPARE(frame.statusText(ID_ZOOM_PANE), QStringLiteral("%1%").arg(view->zoomPercent()));
        // The zoom pane goes back to 100 %.
        frame.findChild<QToolButton *>(QStringLiteral("32793"))->click();
        QCOMPARE(view->zoomPercent(), 100);
    }

    void lockPanesFollowTheKeyboard() {
        auto context = makeContext(false);
        CMainFrame frame(*context);
        frame.show();
        CTarvelLiteView *view = frame.newDocument();
        CapsLock::setOverride(true);
        frame.updateLockPanes();
        QCOMPARE(frame.statusText(PANE_CAPS), QStringLiteral("CAP"));
        CapsLock::setOverride(false);
        frame.updateLockPanes();
        QCOMPARE(frame.statusText(PANE_CAPS), QString());
        CapsLock::setOverride(std::nullopt);
        // Insert switches every document between inserting and overtyping.
        QCOMPARE(frame.statusText(PANE_INS), QStringLiteral("INS"));
        view->setFocus();
        QApplication::setActiveWindow(&frame);
        QTRY_VERIFY(view->hasFocus());
        QTest::keyClick(view, Qt::Key_Insert);
        QCOMPARE(frame.statusText(PANE_INS), QStringLiteral("OVR"));
        QVERIFY(view->overwriteMode());
        QVERIFY(frame.newDocument()->overwriteMode());
        QTest::keyClick(frame.activeView(), Qt::Key_Insert);
        QCOMPARE(frame.statusText(PANE_INS), QStringLiteral("INS"));
        QVERIFY(!view->overwriteMode());
    }

    void autoSaveCountsMinutes_data() {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<int>("passes");
        QTest::newRow("every minute") << 1 << 3 << 3;
        QTest::newRow("every fifth minute") << 5 << 11 << 2;
    }

    void autoSaveCountsMinutes() {
        QFETCH(int, minutes);
        QFETCH(int, ticks);
        QFETCH(int, passes);
        auto context = makeContext(false);
        context->mutableSettings().backupOption.autoSave = 1;
        context->mutableSettings().backupOption.autoSaveMinutes = minutes;
        CMainFrame frame(*context);
        frame.newDocument();
        QVERIFY(frame.autoSaveTimerActive());
        int written = 0;
        frame.writeRecoveryCopy = [&](CTarvelLiteView &) {
            QVERIFY(context->busy());
            ++written;
        };
        for (int i = 0; i < ticks; ++i)
            frame.onAutoSaveTick();
        QCOMPARE(frame.autoSavePasses(), passes);
        QCOMPARE(written, passes);
        QVERIFY(!context->busy());
    }

    void autoSaveFollowsItsSwitchAndTheBusyFlag() {
        auto context = makeContext(false);
        context->mutableSettings().backupOption.autoSave = 0;
        context->mutableSettings().backupOption.autoSaveMinutes = 1;
        CMainFrame frame(*context);
        QVERIFY(!frame.autoSaveTimerActive());
        context->changeSettings(BackupPart, [](Settings &s) { s.backupOption.autoSave = 1; });
        QVERIFY(frame.autoSaveTimerActive());
        {
            BusyGuard busy(context->busyFlag());
            frame.onAutoSaveTick();
            QCOMPARE(frame.autoSavePasses(), 0);
        }
        frame.onAutoSaveTick();
        QCOMPARE(frame.autoSavePasses(), 1);
        // Turned off without a notification: the next tick sees it and stops the timer.
        context->mutableSettings().backupOption.autoSave = 0;
        frame.onAutoSaveTick();
        QCOMPARE(frame.autoSavePasses(), 1);
        QVERIFY(!frame.autoSaveTimerActive());
    }

    void printPreviewDisablesThePanes() {
        auto context = makeContext(false);
        CMainFrame frame(*context);
        frame.show();
        frame.newDocument();
        frame.setPrintPreviewMode(true);
        QVERIFY(context->printPreviewActive());
        QVERIFY(!frame.statusBar()->isEnabled());
        QVERIFY(!frame.keyboardPane()->widget()->isEnabled());
        QVERIFY(!frame.rulerSlot()->isVisible());
        QVERIFY(!frame.newDocument());
        frame.setPrintPreviewMode(false);
        QVERIFY(frame.statusBar()->isEnabled());
        QVERIFY(frame.spellPane()->widget()->isEnabled());
        // The ruler stays hidden until a new window (or the toggle) shows it again.
        QVERIFY(!frame.rulerSlot()->isVisible());
        frame.newDocument();
        QVERIFY(frame.rulerSlot()->isVisible());
    }

    void aboutBoxShowsTheVersionAndClosesWithOk() {
        auto context = makeContext(false);
        CMainFrame frame(*context);
        frame.show();
        QString version;
        bool closed = false;
        whenModalOpens([&](QWidget *dialog) {
            auto *splash = qobject_cast<CSplash *>(dialog);
            QVERIFY(splash && splash->aboutMode());
            version = dialog->findChild<QLabel *>(QStringLiteral("1219"))->text();
            auto *ok = dialog->findChild<QPushButton *>(QStringLiteral("1"));
            QVERIFY(ok && ok->isVisible());
            ok->click();
            closed = true;
        });
        frame.command(ID_ABOUT)->trigger();
        QVERIFY(closed);
        QCOMPARE(version, QStringLiteral("Version: 4000  Build: 320"));
    }

    void splashArtworkFollowsTheLook_data() {
        QTest::addColumn<int>("look");
        QTest::addColumn<int>("sameAs");
        QTest::newRow("2003 as blue") << 208 << 215;
        QTest::newRow("unknown as blue") << 4711 << 215;
        QTest::newRow("negative as blue") << -1 << 215;
        QTest::newRow("XP as the older looks") << 206 << 205;
    }

    void splashArtworkFollowsTheLook() {
        QFETCH(int, look);
        QFETCH(int, sameAs);
        QCOMPARE(CSplash::backgroundOf(look), CSplash::backgroundOf(sameAs));
        QVERIFY(CSplash::backgroundOf(216) != CSplash::backgroundOf(219));
        QVERIFY(CSplash::backgroundOf(217) != CSplash::backgroundOf(218));
    }

    void windowsDialogActivatesAndCloses() {
        auto context = makeContext(false);
        CMainFrame frame(*context);
        frame.show();
        frame.newDocument();
        frame.newDocument();
        CChildFrame *first =
            qobject_cast<CChildFrame *>(frame.documentArea()->subWindowList().first());
        const QString firstTitle = first->getDocument()->displayTitle();
        CWindowsDialog dialog(&frame);
        QCOMPARE(dialog.list()->count(), 2);
        dialog.list()->setCurrentRow(0);
        dialog.findChild<QPushButton *>(QStringLiteral("activate"))->click();
        QCOMPARE(frame.activeChild(), first);
        CWindowsDialog again(&frame);
        again.list()->clearSelection();
        again.list()->item(1)->setSelected(true);
        again.findChild<QPushButton *>(QStringLiteral("close-windows"))->click();
        QTRY_COMPARE(frame.documentArea()->subWindowList().size(), 1);
        QCOMPARE(again.list()->count(), 1);
        QCOMPARE(again.list()->item(0)->text(), firstTitle);
    }

  private:
    QTemporaryDir config_;
    std::unique_ptr<ScopedMessagePresenter> presenter_;
};

QTEST_MAIN(FrameWindowTest)
#include "frame_window_test.moc"
