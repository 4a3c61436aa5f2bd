// The ruler in the main window: it follows the active document window through many windows
// opened, switched, zoomed and closed, as tabs and as overlapping windows, never reads a window
// that is going, hides with no document, and the View command shows and hides it for good.

#include "core/app/messages.h"
#include "ui/app/app_context.h"
#include "ui/document/command_ids.h"
#include "ui/document/ruler_bar.h"
#include "ui/document/tarvellite_view.h"
#include "ui/mainwindow/child_frame.h"
#include "ui/mainwindow/main_frame.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvellite;
using namespace tarvellite::ui;

class RulerFrameTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void followsManyWindowsOpenedSwitchedAndClosed_data();
    void followsManyWindowsOpenedSwitchedAndClosed();
    void viewCommandKeepsTheChoice();

  private:
    QTemporaryDir config_;
};

namespace {

// Lets posted events run, deferred deletions among them, and the ruler paint.
void settle(CRulerBar *ruler) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    ruler->grab(); // paints at once, reading whatever view it follows
}

} // namespace

void RulerFrameTest::initTestCase() {
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
}

void RulerFrameTest::followsManyWindowsOpenedSwitchedAndClosed_data() {
    QTest::addColumn<bool>("tabbed");
    QTest::newRow("tabs") << true;
    QTest::newRow("overlapping") << false;
}

void RulerFrameTest::followsManyWindowsOpenedSwitchedAndClosed() {
    QFETCH(bool, tabbed);
    ScopedMessagePresenter answers([](const Message &) { return MessageAnswer::No; });
    AppContext context;
    context.mutableSettings().pageDimensions.rulerVisible = 1;
    context.mutableSettings().general.measureUnit = 1;
    CMainFrame frame(context);
    frame.setTabbedMode(tabbed);
    frame.resize(1000, 700);
    frame.show();
    auto *ruler = frame.rulerSlot()->findChild<CRulerBar *>();
    QVERIFY(ruler);
    QCOMPARE(ruler->accessibleName(), QStringLiteral("Ruler"));
    QVERIFY(frame.rulerSlot()->isHidden());

    auto *random = QRandomGenerator::global();
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 6; ++i) {
            CTarvelLiteView *view = frame.newDocument();
            QVERIFY(view);
            view->insertPlainText(QStringLiteral("தமிழ் %1\nline two").arg(i));
            if (i % 2)
                view->zoomFromSlider(150); // a view at another zoom
            settle(ruler);
            QVERIFY(!frame.rulerSlot()->isHidden());
            QCOMPARE(ruler->view(), frame.activeView());
        }
        // Switch between the windows, closing some on the way, the active one or another.
        while (frame.documentArea()->subWindowList().size() > 1) {
            const QList<QMdiSubWindow *> windows = frame.documentArea()->subWindowList();
            frame.documentArea()->setActiveSubWindow(
                windows.at(int(random->bounded(qsizetype(windows.size())))));
            settle(ruler);
            QCOMPARE(ruler->view(), frame.activeView());
            QCOMPARE(ruler->xOfTwips(1440) - ruler->xOfTwips(0),
                     qRound(frame.activeView()->logicalDpiX() * frame.activeView()->zoomFactor()));
            if (random->bounded(2))
                frame.documentArea()->closeActiveSubWindow();
            else
                windows.at(int(random->bounded(qsizetype(windows.size()))))->close();
            settle(ruler);
            QVERIFY(frame.activeView());
            QCOMPARE(ruler->view(), frame.activeView());
        }
        // The last window closed: nothing to follow, and the ruler goes.
        frame.documentArea()->closeAllSubWindows();
        settle(ruler);
        QVERIFY(!frame.activeView());
        QVERIFY(!ruler->view());
        QVERIFY(frame.rulerSlot()->isHidden());
    }
    // Windows still open when the main window goes.
    frame.newDocument();
    frame.newDocument();
    settle(ruler);
}

void RulerFrameTest::viewCommandKeepsTheChoice() {
    ScopedMessagePresenter answers([](const Message &) { return MessageAnswer::No; });
    AppContext context;
    context.mutableSettings().pageDimensions.rulerVisible = 1;
    CMainFrame frame(context);
    frame.show();
    QAction *toggle = frame.command(ID_VIEW_RULER);
    QVERIFY(toggle);
    QCOMPARE(toggle->objectName(), QStringLiteral("32853"));
    QVERIFY(!toggle->isEnabled()); // nothing to show without a document
    frame.newDocument();
    QVERIFY(!frame.rulerSlot()->isHidden());
    QVERIFY(toggle->isEnabled());
    QVERIFY(toggle->isChecked());

    toggle->trigger();
    QVERIFY(frame.rulerSlot()->isHidden());
    QVERIFY(!toggle->isChecked());
    QCOMPARE(context.settings().pageDimensions.rulerVisible, 0);
    // A new window does not bring it back against the setting.
    frame.newDocument();
    QVERIFY(frame.rulerSlot()->isHidden());
    toggle->trigger();
    QVERIFY(!frame.rulerSlot()->isHidden());
    QCOMPARE(context.settings().pageDimensions.rulerVisible, 1);
    frame.documentArea()->closeAllSubWindows();
}

QTEST_MAIN(RulerFrameTest)
#include "ruler_frame_test.moc"
