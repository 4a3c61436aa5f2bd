// The ribbon of the main window: its category and panels, every command it shows reaching its
// handler with the enabled and checked states that follow the document, split buttons, the
// application menu and its tooltip, the quick-access bar, the window looks and their
// persistence, narrow windows, key tips, and shortcuts that are never used twice.

#include "core/app/messages.h"
#include "core/app/settings.h"
#include "core/app/settings_store.h"
#include "ui/app/app_context.h"
#include "ui/document/command_ids.h"
#include "ui/document/document_io.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"
#include "ui/mainwindow/dock_panes.h"
#include "ui/mainwindow/main_frame.h"
#include "ui/mainwindow/ribbon/key_tips.h"
#include "ui/mainwindow/ribbon/ribbon_bar.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextList>
#include <QTimer>
#include <QToolBar>

using namespace tarvellite;
using namespace tarvellite::ui;

namespace {

/// Closes the first modal dialog that opens and notes its class.
void closeNextModal(QString *seen) {
    QTimer::singleShot(0, [seen] {
        QTRY_VERIFY(QApplication::activeModalWidget());
        QWidget *modal = QApplication::activeModalWidget();
        *seen = QString::fromLatin1(modal->metaObject()->className());
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    });
}

QStringList panelTitles(RibbonCategory *category) {
    QStringList titles;
    for (RibbonPanel *panel : category->panels())
        titles << panel->title();
    return titles;
}

} // namespace

class RibbonTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path())); }
    void init();
    void cleanup();

    void homeHasItsPanelsInOrder();
    void everyElementShowsItsCommand();
    void commandStatesFollowTheDocument();
    void commandsReachTheirHandlers();
    void commandsWithDialogsAndMessages();
    void alignmentIsOneChoice();
    void menuAttachedLaterMakesASplitButton();
    void applicationMenuAndTooltip();
    void quickAccessBarIsCustomisedAndKept();
    void looksApplyAndComeBack();
    void narrowWindowCollapsesPanelsWithoutOverlap();
    void keyTipsShowAndActivate();
    void noShortcutIsUsedTwice();
    void ribbonWithoutABoxIsNotBuilt();

  private:
    CTarvelLiteView *documentWithText(const QString &text);
    QTemporaryDir config_;
    MemorySettingsStore store_;
    std::unique_ptr<AppContext> context_;
    std::unique_ptr<CMainFrame> frame_;
    QStringList messages_;
    std::unique_ptr<ScopedMessagePresenter> presenter_;
};

void RibbonTest::init() {
    messages_.clear();
    presenter_ = std::make_unique<ScopedMessagePresenter>([this](const Message &m) {
        messages_ << QString::fromStdString(m.text);
        return m.defaultAnswer;
    });
    store_ = MemorySettingsStore();
    context_ = std::make_unique<AppContext>();
    context_->setStore(&store_);
    frame_ = std::make_unique<CMainFrame>(*context_);
    frame_->resize(1600, 900);
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
}

void RibbonTest::cleanup() {
    if (CTarvelLiteView *view = frame_->activeView())
        view->document()->setModified(false);
    for (QMdiSubWindow *w : frame_->documentArea()->subWindowList())
        if (auto *child = qobject_cast<CChildFrame *>(w))
            child->getDocument()->setModified(false);
    frame_->close();
    frame_.reset();
    context_.reset();
    presenter_.reset();
    setFileNamePrompter({});
}

CTarvelLiteView *RibbonTest::documentWithText(const QString &text) {
    CTarvelLiteView *view = frame_->newDocument();
    if (!view)
        return nullptr;
    view->setFocus();
    view->insertPlainText(text);
    frame_->updateCommandStates();
    return view;
}

void RibbonTest::homeHasItsPanelsInOrder() {
    RibbonBar *ribbon = frame_->ribbon();
    QVERIFY(ribbon);
    QCOMPARE(frame_->menuWidget(), ribbon);
    QCOMPARE(ribbon->tabBar()->count(), 1);
    QCOMPARE(ribbon->tabBar()->tabText(0), QStringLiteral("Home"));
    QCOMPARE(panelTitles(ribbon->currentCategory()),
             (QStringList{"Clipboard", "Font Attributes", "Paragraph", "Insert", "Language", "View",
                          "Preference", "Utility"}));
    // Wide enough, nothing is folded; panels stand left to right in that order.
    int right = -1;
    for (RibbonPanel *panel : ribbon->currentCategory()->panels()) {
        QVERIFY2(!panel->isCollapsed(), qPrintable(panel->title()));
        QVERIFY(panel->geometry().left() > right);
        right = panel->geometry().right();
    }
    // The font and size boxes sit in "Font Attributes".
    auto *fontBox = frame_->findChild<QComboBox *>(QStringLiteral("32782"));
    auto *sizeBox = frame_->findChild<QComboBox *>(QStringLiteral("32783"));
    QVERIFY(fontBox && sizeBox);
    QCOMPARE(ribbon->panelOf(fontBox)->title(), QStringLiteral("Font Attributes"));
    QCOMPARE(fontBox->width(), 105);
    QCOMPARE(sizeBox->count(), 22);
    QCOMPARE(sizeBox->itemText(0), QStringLiteral("6"));
    QCOMPARE(sizeBox->itemText(21), QStringLiteral("82"));
    // There is no menu bar or tool bar any more.
    QVERIFY(frame_->findChildren<QMenuBar *>().isEmpty());
    QVERIFY(frame_->findChildren<QToolBar *>(Qt::FindDirectChildrenOnly).isEmpty());
}

void RibbonTest::everyElementShowsItsCommand() {
    RibbonBar *ribbon = frame_->ribbon();
    // id, caption, panel.
    const struct {
        int id;
        const char *caption;
        const char *panel;
    } elements[] = {
        {ID_EDIT_PASTE, "Paste", "Clipboard"},
        {ID_EDIT_CUT, "Cut", "Clipboard"},
        {ID_EDIT_COPY, "Copy", "Clipboard"},
        {ID_EDIT_SELECT_ALL, "Select All", "Clipboard"},
        {ID_EDIT_UNDO, "Undo", "Clipboard"},
        {ID_EDIT_REDO, "Redo", "Clipboard"},
        {ID_EDIT_CLEAR, "Clear", "Clipboard"},
        {ID_FONTBOLD, "Font Bold", "Font Attributes"},
        {ID_FONTITALIC, "Font Italic", "Font Attributes"},
        {ID_FONTUNDERLINE, "Font Underline", "Font Attributes"},
        {ID_FONTSTRIKEOUT, "Font Strikeout", "Font Attributes"},
        {ID_FORE, "Foreground Colour", "Font Attributes"},
        {ID_BACK, "Background Colour", "Font Attributes"},
        {ID_PARA_BULLET, "Bullets", "Paragraph"},
        {ID_PARA_NUMBERING, "Numbering", "Paragraph"},
        {ID_PARALEFTINDENT, "Left Indent", "Paragraph"},
        {ID_PARARIGHTINDENT, "Right Indent", "Paragraph"},
        {ID_PARALEFT, "Left Paragraph", "Paragraph"},
        {ID_PARACENTRE, "Centre Paragraph", "Paragraph"},
        {ID_PARARIGHT, "Right Paragraph", "Paragraph"},
        {ID_PARAJUST, "Justified Paragraph", "Paragraph"},
        {ID_INSERT_PICTURE, "Picture", "Insert"},
        {ID_DICTIONARY, "Dictionary", "Language"},
        {ID_BTNUSRDICT, "User Dictionary", "Language"},
        {ID_CHKSTBAR, "Status bar", "View"},
        {ID_VIEW_RULER, "Ruler", "View"},
        {ID_CHKKBD, "Keyboard", "View"},
        {ID_CHKFE, "Explorer", "View"},
        {ID_CHKFR, "Find", "View"},
        {ID_ABOUT, "About", "View"},
        {IDC_STWLOOK, "Window Look", "Preference"},
        {ID_SETTINGS, "Settings", "Preference"},
        {ID_BTNCONV, "TAM / Tab Conversion", "Utility"},
        {ID_FILE_PRINT_PREVIEW, "Print Preview", "Utility"},
        {ID_FILE_PRINT_SETUP, "Print...", "Utility"},
        {ID_CHKUPDATE, "Check Update", "Utility"},
    };
    for (const auto &element : elements) {
        const QString id = QString::number(element.id);
        QAction *action = frame_->findChild<QAction *>(id);
        QVERIFY2(action && action == frame_->command(element.id), qPrintable(id));
        RibbonButton *button = ribbon->button(element.id);
        QVERIFY2(button, qPrintable(id));
        QCOMPARE(button->action(), action);
        QCOMPARE(button->accessibleName(), QString::fromUtf8(element.caption));
        QCOMPARE(ribbon->panelOf(button)->title(), QString::fromUtf8(element.panel));
        QVERIFY2(!button->icon().isNull(), qPrintable(id));
    }
    // The fixed drop-downs: Paste, Picture and Windows.
    const auto entries = [](QMenu *menu) {
        QStringList texts;
        for (QAction *a : menu->actions())
            texts << a->text();
        return texts;
    };
    QVERIFY(ribbon->button(ID_EDIT_PASTE)->isSplit());
    QCOMPARE(entries(frame_->command(ID_EDIT_PASTE)->menu()),
             (QStringList{"Paste", "Paste Special..."}));
    QVERIFY(ribbon->button(ID_INSERT_PICTURE)->isSplit());
    QCOMPARE(entries(frame_->command(ID_INSERT_PICTURE)->menu()),
             (QStringList{"Insert Picture From File", "Insert Ole Object"}));
    auto *windows = frame_->findChild<QMenu *>(QStringLiteral("menu-windows"));
    QVERIFY(windows);
    QCOMPARE(entries(windows),
             (QStringList{"&New Window", "Tile Vertically", "Tile Horizontally", "Cascade Windows",
                          "Arrange Windows", "Manage Windows"}));
    QCOMPARE(windows->actions().at(5), frame_->command(ID_WINDOW_MANAGER));
}

void RibbonTest::commandStatesFollowTheDocument() {
    const int documentCommands[] = {
        ID_EDIT_PASTE,       ID_EDIT_PASTE_SPECIAL, ID_EDIT_CUT,       ID_EDIT_COPY,
        ID_EDIT_SELECT_ALL,  ID_EDIT_CLEAR,         ID_FONTBOLD,       ID_FONTITALIC,
        ID_FONTUNDERLINE,    ID_FONTSTRIKEOUT,      ID_FORE,           ID_BACK,
        ID_PARA_BULLET,      ID_PARA_NUMBERING,     ID_PARALEFTINDENT, ID_PARARIGHTINDENT,
        ID_PARALEFT,         ID_PARACENTRE,         ID_PARARIGHT,      ID_PARAJUST,
        ID_INSERT_PICTURE,   ID_VIEW_RULER,         ID_BTNCONV,        ID_FILE_PRINT_PREVIEW,
        ID_FILE_PRINT_SETUP, ID_FILE_SAVE,          ID_FILE_SAVE_AS,   ID_FILE_CLOSE,
        ID_FILE_PRINT,       ID_FILE_PRINT_DIRECT};
    const int alwaysOn[] = {ID_FILE_NEW,   ID_FILE_OPEN,      ID_PAGE_SETUP,
                            ID_SETTINGS,   ID_APP_EXIT,       ID_DICTIONARY,
                            ID_BTNUSRDICT, ID_CHKSTBAR,       ID_CHKKBD,
                            ID_CHKFE,      ID_CHKFR,          ID_ABOUT,
                            IDC_STWLOOK,   ID_WINDOW_MANAGER, ID_WINDOW_CASCADE,
                            ID_CHKUPDATE,  ID_HELP_FINDER,    ID_VIEW_APPLOOK_OFF_2007_BLUE};
    auto enabled = [this](int id) {
        QAction *a = frame_->command(id);
        return a && a->isEnabled();
    };
    // No document.
    for (int id : documentCommands)
        QVERIFY2(!enabled(id), qPrintable(QString::number(id)));
    for (int id : alwaysOn)
        QVERIFY2(enabled(id), qPrintable(QString::number(id)));
    QVERIFY(!enabled(ID_EDIT_UNDO) && !enabled(ID_EDIT_REDO));
    QVERIFY(!frame_->findChild<QComboBox *>(QStringLiteral("32782"))->isEnabled());
    // The ribbon's buttons show the same.
    QVERIFY(!frame_->ribbon()->button(ID_FONTBOLD)->isEnabled());
    QVERIFY(frame_->ribbon()->button(ID_CHKKBD)->isEnabled());
    QVERIFY(frame_->command(ID_CHKKBD)->isChecked());
    QVERIFY(frame_->command(ID_CHKSTBAR)->isChecked());

    // An empty document: the document commands come on, left alignment is checked, nothing to
    // undo yet.
    QVERIFY(frame_->newDocument());
    frame_->updateCommandStates();
    for (int id : documentCommands)
        QVERIFY2(enabled(id), qPrintable(QString::number(id)));
    QVERIFY(frame_->command(ID_PARALEFT)->isChecked());
    QVERIFY(!frame_->command(ID_FONTBOLD)->isChecked());
    QVERIFY(!enabled(ID_EDIT_UNDO));
    QVERIFY(frame_->ribbon()->button(ID_FONTBOLD)->isEnabled());

    // Text typed: undo comes on; bold follows the selection.
    CTarvelLiteView *view = frame_->activeView();
    QTest::keyClicks(view, QStringLiteral("abc"));
    frame_->updateCommandStates();
    QVERIFY(enabled(ID_EDIT_UNDO));
    view->selectAll();
    frame_->command(ID_FONTBOLD)->trigger();
    QVERIFY(frame_->command(ID_FONTBOLD)->isChecked());
    QVERIFY(frame_->ribbon()->button(ID_FONTBOLD)->isChecked());
}

void RibbonTest::commandsReachTheirHandlers() {
    CTarvelLiteView *view = documentWithText(QStringLiteral("one two"));
    QVERIFY(view);
    auto run = [this](int id) {
        QAction *a = frame_->command(id);
        QVERIFY2(a && a->isEnabled(), qPrintable(QString::number(id)));
        // Through the ribbon's button where there is one, as a click would.
        if (RibbonButton *button = frame_->ribbon()->button(id))
            button->click();
        else
            a->trigger();
    };
    auto text = [view] { return view->toPlainText(); };

    run(ID_EDIT_SELECT_ALL);
    QCOMPARE(view->textCursor().selectedText(), QStringLiteral("one two"));
    run(ID_EDIT_COPY);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("one two"));
    run(ID_EDIT_CUT);
    QCOMPARE(text(), QString());
    run(ID_EDIT_PASTE);
    QCOMPARE(text(), QStringLiteral("one two"));
    run(ID_EDIT_UNDO);
    QCOMPARE(text(), QString());
    run(ID_EDIT_REDO);
    QCOMPARE(text(), QStringLiteral("one two"));
    run(ID_EDIT_SELECT_ALL);
    run(ID_EDIT_CLEAR);
    QCOMPARE(text(), QString());
    view->insertPlainText(QStringLiteral("word"));
    view->selectAll();

    const std::pair<int, std::function<bool()>> formats[] = {
        {ID_FONTBOLD, [view] { return view->textCursor().charFormat().fontWeight() >= 700; }},
        {ID_FONTITALIC, [view] { return view->textCursor().charFormat().fontItalic(); }},
        {ID_FONTUNDERLINE, [view] { return view->textCursor().charFormat().fontUnderline(); }},
        {ID_FONTSTRIKEOUT, [view] { return view->textCursor().charFormat().fontStrikeOut(); }},
        {ID_PARA_BULLET, [view] { return view->textCursor().currentList() != nullptr; }},
        {ID_PARACENTRE,
         [view] { return view->textCursor().blockFormat().alignment() & Qt::AlignHCenter; }},
        {ID_PARARIGHT,
         [view] { return view->textCursor().blockFormat().alignment() & Qt::AlignRight; }},
        {ID_PARAJUST,
         [view] { return view->textCursor().blockFormat().alignment() & Qt::AlignJustify; }},
    };
    for (const auto &[id, holds] : formats) {
        QVERIFY2(!holds(), qPrintable(QString::number(id)));
        run(id);
        QVERIFY2(holds(), qPrintable(QString::number(id)));
        QVERIFY2(frame_->command(id)->isChecked(), qPrintable(QString::number(id)));
    }
    const qreal indent = view->textCursor().blockFormat().leftMargin();
    run(ID_PARARIGHTINDENT);
    QVERIFY(view->textCursor().blockFormat().leftMargin() > indent);
    run(ID_PARALEFTINDENT);
    QCOMPARE(view->textCursor().blockFormat().leftMargin(), indent);

    // The view toggles.
    const std::pair<int, QWidget *> toggles[] = {
        {ID_CHKSTBAR, frame_->statusBar()},   {ID_CHKKBD, frame_->keyboardPane()},
        {ID_CHKFE, frame_->folderPane()},     {ID_CHKFR, frame_->findPane()},
        {ID_DICTIONARY, frame_->spellPane()}, {ID_VIEW_RULER, frame_->rulerSlot()}};
    for (const auto &[id, widget] : toggles) {
        const bool before = !widget->isHidden();
        run(id);
        QVERIFY2(widget->isHidden() == before, qPrintable(QString::number(id)));
        QCOMPARE(frame_->command(id)->isChecked(), !before);
        run(id);
        QVERIFY2(widget->isHidden() != before, qPrintable(QString::number(id)));
    }
    // Toggled as assistive technology does it (no click), a button still runs its command.
    RibbonButton *keyboard = frame_->ribbon()->button(ID_CHKKBD);
    QVERIFY(keyboard->isChecked());
    keyboard->toggle();
    QTRY_VERIFY(frame_->keyboardPane()->isHidden());
    QVERIFY(!frame_->command(ID_CHKKBD)->isChecked());
    keyboard->toggle();
    QTRY_VERIFY(!frame_->keyboardPane()->isHidden());
    QVERIFY(keyboard->isChecked());

    const bool tabbed = frame_->documentArea()->viewMode() == QMdiArea::TabbedView;
    run(IDC_STWLOOK);
    QCOMPARE(frame_->documentArea()->viewMode() == QMdiArea::TabbedView, !tabbed);
    QCOMPARE(context_->settings().tabbedMode != 0, !tabbed);

    // New and Close from the application menu.
    const int windows = int(frame_->documentArea()->subWindowList().size());
    frame_->command(ID_FILE_NEW)->trigger();
    QCOMPARE(frame_->documentArea()->subWindowList().size(), windows + 1);
    frame_->command(ID_FILE_CLOSE)->trigger();
    QTRY_COMPARE(frame_->documentArea()->subWindowList().size(), windows);
}

void RibbonTest::commandsWithDialogsAndMessages() {
    CTarvelLiteView *view = documentWithText(QStringLiteral("text"));
    QVERIFY(view);
    // Commands that open a dialog of their own.
    const std::pair<int, const char *> dialogs[] = {
        {ID_ABOUT, "tarvellite::ui::CSplash"},
        {ID_SETTINGS, "tarvellite::ui::CPreferences"},
        {ID_PAGE_SETUP, "tarvellite::ui::CPreferences"},
        {ID_WINDOW_MANAGER, "tarvellite::ui::CWindowsDialog"},
        {ID_EDIT_PASTE_SPECIAL, "QInputDialog"},
    };
    for (const auto &[id, dialog] : dialogs) {
        QString seen;
        closeNextModal(&seen);
        frame_->command(id)->trigger();
        QCOMPARE(seen, QString::fromLatin1(dialog));
    }
    // Insert Picture asks for a file.
    QString asked;
    setFileNamePrompter([&asked](QWidget *, QString &, const QString &title, bool) {
        asked = title;
        return false;
    });
    frame_->findChild<QAction *>(QStringLiteral("32833-entry"))->trigger();
    QCOMPARE(asked, QStringLiteral("Select the picture file for Inserting the Document"));
    // Commands answered by a message: never silence.
    for (int id : {ID_OLE_INSERT_NEW, ID_WINDOW_NEW, ID_CHKUPDATE, ID_HELP_FINDER, ID_BTNUSRDICT}) {
        messages_.clear();
        frame_->command(id)->trigger();
        QVERIFY2(messages_.size() == 1, qPrintable(QString::number(id)));
    }
    QCOMPARE(messages_.value(0),
             QStringLiteral("No Dictionary found. User Dictionary cannot be edited"));
}

void RibbonTest::alignmentIsOneChoice() {
    CTarvelLiteView *view = documentWithText(QStringLiteral("a\nb"));
    QVERIFY(view);
    QAction *left = frame_->command(ID_PARALEFT);
    QAction *centre = frame_->command(ID_PARACENTRE);
    QVERIFY(left->actionGroup() && left->actionGroup()->isExclusive());
    for (int id : {ID_PARACENTRE, ID_PARARIGHT, ID_PARAJUST})
        QCOMPARE(frame_->command(id)->actionGroup(), left->actionGroup());
    centre->trigger();
    QVERIFY(centre->isChecked() && !left->isChecked());
    // The check follows the paragraph of the caret.
    QTextCursor cursor = view->textCursor();
    cursor.movePosition(QTextCursor::Start);
    view->setTextCursor(cursor);
    frame_->updateCommandStates();
    QVERIFY(left->isChecked() && !centre->isChecked());
    cursor.movePosition(QTextCursor::End);
    view->setTextCursor(cursor);
    frame_->updateCommandStates();
    QVERIFY(centre->isChecked());
    // Clicking the checked one again keeps it.
    centre->trigger();
    QVERIFY(centre->isChecked());
}

void RibbonTest::menuAttachedLaterMakesASplitButton() {
    QAction *undo = frame_->command(ID_EDIT_REDO);
    RibbonButton *button = frame_->ribbon()->button(ID_EDIT_REDO);
    QVERIFY(!undo->menu());
    QVERIFY(!button->isSplit());
    CTarvelLiteView *view = documentWithText(QStringLiteral("x"));
    QVERIFY(view);
    view->undo();
    frame_->updateCommandStates();
    auto *menu = new QMenu(frame_.get());
    menu->addAction(QStringLiteral("Redo Item 1"));
    undo->setMenu(menu);
    QVERIFY(button->isSplit());
    QCOMPARE(button->popupMode(), QToolButton::MenuButtonPopup);
    // The button part still runs the command.
    QSignalSpy triggered(undo, &QAction::triggered);
    button->click();
    QCOMPARE(triggered.count(), 1);
    QCOMPARE(view->toPlainText(), QStringLiteral("x"));
    undo->setMenu(nullptr);
    QVERIFY(!button->isSplit());
}

void RibbonTest::applicationMenuAndTooltip() {
    RibbonBar *ribbon = frame_->ribbon();
    QToolButton *app = ribbon->applicationButton();
    QCOMPARE(app->objectName(), QStringLiteral("104"));
    QCOMPARE(app->accessibleName(), QStringLiteral("Main Menu Button"));
    QCOMPARE(app->accessibleDescription(),
             QStringLiteral("Click here for Options, document related commands like - opening, "
                            "closing printing etc"));
    // The tooltip shows the button's image: a label of it is as tall as the image.
    QVERIFY(app->toolTip().contains(QStringLiteral("<img")));
    QVERIFY(app->toolTip().contains(QStringLiteral("Main Menu Button")));
    QLabel shown;
    shown.setText(app->toolTip());
    QVERIFY(shown.sizeHint().height() >= 48);
    // Other buttons have tooltips without an image.
    for (RibbonButton *button : ribbon->findChildren<RibbonButton *>())
        QVERIFY2(!button->toolTip().contains(QStringLiteral("<img")),
                 qPrintable(button->objectName()));
    QCOMPARE(ribbon->button(ID_FONTBOLD)->toolTip(), QStringLiteral("Font Bold"));

    QMenu *menu = app->menu();
    QVERIFY(menu);
    QStringList entries;
    for (QAction *a : menu->actions())
        entries << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    QCOMPARE(entries, (QStringList{"57600", "57601", "57603", "57604", "-", "32852", "57607", "-",
                                   "57602", "-", "", "-", "57665"}));
    QCOMPARE(menu->actions().at(10)->menu()->title(), QStringLiteral("Recent Documents"));
    QVERIFY(menu->actions().at(10)->menu()->minimumWidth() >= 300);
    QMenu *print = frame_->command(ID_FILE_PRINT)->menu();
    QVERIFY(print);
    QStringList printEntries;
    for (QAction *a : print->actions())
        if (!a->isSeparator())
            printEntries << a->text();
    QCOMPARE(printEntries, (QStringList{"Preview and print the document", "&Quick Print",
                                        "Print Pre&view", "Print Set&up"}));
    // The recent documents are the frame's list.
    frame_->addRecentFile(QStringLiteral("/tmp/letter.tvl"));
    QCOMPARE(menu->actions().at(10)->menu()->actions().size(), 1);
    QVERIFY(menu->actions().at(10)->menu()->actions().at(0)->text().contains(
        QStringLiteral("letter.tvl")));

    // The Style menu: the five looks, one checked.
    QMenu *style = ribbon->styleButton()->menu();
    QVERIFY(style);
    QCOMPARE(style->actions().size(), 5);
    QCOMPARE(style->actions().at(4)->text(), QStringLiteral("Win&dows 7"));
    QCOMPARE(ribbon->helpButton()->defaultAction(), frame_->command(ID_HELP_FINDER));
}

void RibbonTest::quickAccessBarIsCustomisedAndKept() {
    RibbonBar *ribbon = frame_->ribbon();
    QCOMPARE(ribbon->quickAccessShown(), (QList<int>{ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE}));
    QCOMPARE(ribbon->quickAccessOffered(),
             (QList<int>{ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_PRINT,
                         ID_FILE_PRINT_PREVIEW, ID_EDIT_UNDO, ID_EDIT_REDO}));
    QToolButton *newButton = ribbon->quickAccessButton(ID_FILE_NEW);
    QVERIFY(newButton && newButton->isVisible());
    QCOMPARE(newButton->accessibleName(), QStringLiteral("New"));
    QVERIFY(!ribbon->quickAccessButton(ID_EDIT_UNDO));
    // Undo shown, Open hidden, through the customise menu.
    ribbon->quickAccessMenu()->findChild<QAction *>(QStringLiteral("quick-access-57643"));
    for (QAction *a : ribbon->quickAccessMenu()->actions()) {
        if (a->objectName() == QStringLiteral("quick-access-57643"))
            a->trigger();
        if (a->objectName() == QStringLiteral("quick-access-57601"))
            a->trigger();
    }
    QCOMPARE(ribbon->quickAccessShown(), (QList<int>{ID_FILE_NEW, ID_FILE_SAVE, ID_EDIT_UNDO}));
    QVERIFY(ribbon->quickAccessButton(ID_EDIT_UNDO));
    QCOMPARE(ribbon->quickAccessButton(ID_EDIT_UNDO)->defaultAction(),
             frame_->command(ID_EDIT_UNDO));
    // Kept for the next start.
    frame_->close();
    frame_ = std::make_unique<CMainFrame>(*context_);
    QCOMPARE(frame_->ribbon()->quickAccessShown(),
             (QList<int>{ID_FILE_NEW, ID_FILE_SAVE, ID_EDIT_UNDO}));
}

void RibbonTest::looksApplyAndComeBack() {
    RibbonBar *ribbon = frame_->ribbon();
    // The default look is the blue one, its item checked.
    QCOMPARE(ribbon->lookName(), QStringLiteral("blue"));
    QVERIFY(frame_->command(ID_VIEW_APPLOOK_OFF_2007_BLUE)->isChecked());
    const QColor blueFrame = frame_->palette().color(QPalette::Window);
    const QString blueSheet = ribbon->styleSheet();

    const struct {
        int look;
        const char *scheme;
    } looks[] = {{ID_VIEW_APPLOOK_OFF_2007_BLACK, "black"},
                 {ID_VIEW_APPLOOK_OFF_2007_SILVER, "silver"},
                 {ID_VIEW_APPLOOK_OFF_2007_AQUA, "aqua"},
                 {ID_VIEW_APPLOOK_WINDOWS_7, "light"},
                 {ID_VIEW_APPLOOK_OFF_2007_BLUE, "blue"}};
    for (const auto &[look, scheme] : looks) {
        frame_->command(look)->trigger();
        QCOMPARE(ribbon->lookName(), QString::fromLatin1(scheme));
        QCOMPARE(context_->settings().applicationLook, look);
        QCOMPARE(readApplicationLook(store_), look);
        for (int other : {215, 216, 217, 218, 219})
            QCOMPARE(frame_->command(other)->isChecked(), other == look);
        if (look != ID_VIEW_APPLOOK_OFF_2007_BLUE) {
            QVERIFY(ribbon->styleSheet() != blueSheet);
            QVERIFY(frame_->palette().color(QPalette::Window) != blueFrame);
        }
    }
    QVERIFY(!QApplication::overrideCursor());

    // The stored look comes back with the next window, whatever it is: one the Style menu does
    // not offer shows its scheme with no item checked, an unknown one the default.
    const struct {
        int stored;
        const char *scheme;
        int checked;
    } restarts[] = {{ID_VIEW_APPLOOK_OFF_2007_BLACK, "black", ID_VIEW_APPLOOK_OFF_2007_BLACK},
                    {ID_VIEW_APPLOOK_WIN_XP, "light", 0},
                    {999, "blue", 0}};
    for (const auto &[stored, scheme, checked] : restarts) {
        writeApplicationLook(store_, stored);
        frame_->close();
        frame_.reset();
        context_ = std::make_unique<AppContext>();
        context_->setStore(&store_);
        context_->mutableSettings().applicationLook = readApplicationLook(store_);
        frame_ = std::make_unique<CMainFrame>(*context_);
        QCOMPARE(frame_->ribbon()->lookName(), QString::fromLatin1(scheme));
        for (int look : {215, 216, 217, 218, 219})
            QCOMPARE(frame_->command(look)->isChecked(), look == checked);
    }
}

void RibbonTest::narrowWindowCollapsesPanelsWithoutOverlap() {
    RibbonBar *ribbon = frame_->ribbon();
    RibbonCategory *home = ribbon->currentCategory();
    for (int width : {1600, 1000, 700, 400}) {
        frame_->resize(width, 700);
        QTRY_COMPARE(frame_->width(), std::max(width, frame_->minimumWidth()));
        QCoreApplication::processEvents();
        const QList<RibbonPanel *> panels = home->panels();
        // Folded from the right: the folded panels are the last ones.
        bool folded = false;
        for (RibbonPanel *panel : panels) {
            if (folded)
                QVERIFY2(panel->isCollapsed(),
                         qPrintable(QStringLiteral("%1 at %2").arg(panel->title()).arg(width)));
            folded = folded || panel->isCollapsed();
        }
        if (width == 1600)
            QVERIFY(!folded);
        else
            QVERIFY(panels.last()->isCollapsed());
        // Nothing overlaps and everything is inside the ribbon.
        for (int i = 0; i < panels.size(); ++i) {
            const QRect r = panels[i]->geometry();
            QVERIFY2(r.right() < home->width(),
                     qPrintable(QStringLiteral("%1 at %2").arg(panels[i]->title()).arg(width)));
            QVERIFY2(panels[i]->sizeHint().width() <= r.width() + 1,
                     qPrintable(QStringLiteral("%1 at %2: %3 > %4")
                                    .arg(panels[i]->title())
                                    .arg(width)
                                    .arg(panels[i]->sizeHint().width())
                                    .arg(r.width())));
            if (i > 0)
                QVERIFY(panels[i - 1]->geometry().right() < r.left());
        }
        // The tab row's controls do not overlap either.
        QVERIFY(ribbon->tabBar()->geometry().right() < ribbon->styleButton()->geometry().left());
    }
    // A folded panel opens below its button with its elements.
    RibbonPanel *utility = home->panels().last();
    QVERIFY(utility->isCollapsed());
    QVERIFY(!ribbon->button(ID_BTNCONV)->isVisible());
    utility->collapsedButton()->click();
    QTRY_VERIFY(utility->popup()->isVisible());
    QVERIFY(ribbon->button(ID_BTNCONV)->isVisible());
    utility->popup()->close();
    // Wide again, it is whole.
    frame_->resize(1600, 700);
    QTRY_VERIFY(!utility->isCollapsed());
    QVERIFY(ribbon->button(ID_BTNCONV)->isVisible());
}

void RibbonTest::keyTipsShowAndActivate() {
    CTarvelLiteView *view = documentWithText(QStringLiteral("hello"));
    QVERIFY(view);
    frame_->activateWindow();
    view->setFocus();
    QTRY_VERIFY(view->hasFocus());
    KeyTips *tips = frame_->ribbon()->keyTips();
    auto pressAlt = [view] {
        QTest::keyPress(view, Qt::Key_Alt, Qt::AltModifier);
        QTest::keyRelease(view, Qt::Key_Alt, Qt::NoModifier);
    };
    pressAlt();
    QVERIFY(tips->isActive());
    QStringList top = tips->shownKeys();
    top.sort();
    QCOMPARE(top, (QStringList{"1", "2", "3", "A", "F", "H", "S"}));
    // Escape leaves without typing anything.
    QTest::keyClick(view, Qt::Key_Escape);
    QVERIFY(!tips->isActive());
    QCOMPARE(view->toPlainText(), QStringLiteral("hello"));

    // H opens the Home tips: the fixed ones and one for every other element, none twice.
    pressAlt();
    QTest::keyClick(view, Qt::Key_H);
    QCOMPARE(tips->level(), 1);
    const QStringList home = tips->shownKeys();
    for (const char *fixed : {"V", "X", "C", "A", "I", "W"})
        QVERIFY2(home.contains(QString::fromLatin1(fixed)), fixed);
    QCOMPARE(QSet<QString>(home.begin(), home.end()).size(), home.size());
    QVERIFY(home.size() >= 30);
    // A selects all; the letters do not reach the document.
    QTest::keyClick(view, Qt::Key_A);
    QVERIFY(!tips->isActive());
    QCOMPARE(view->textCursor().selectedText(), QStringLiteral("hello"));
    QCOMPARE(view->toPlainText(), QStringLiteral("hello"));
    // Two-letter tips: the first letter narrows the badges, the second runs the element.
    pressAlt();
    QTest::keyClick(view, Qt::Key_H);
    QString bold;
    for (const QString &key : tips->shownKeys())
        if (key.size() == 2 && key.startsWith(QLatin1Char('F')))
            bold = key;
    QVERIFY(!bold.isEmpty());
    tips->hide();

    // Alt used for a shortcut (Alt+D strikes out) shows no tips.
    QTest::keyPress(view, Qt::Key_Alt, Qt::AltModifier);
    QTest::keyClick(view, Qt::Key_D, Qt::AltModifier);
    QTest::keyRelease(view, Qt::Key_Alt, Qt::NoModifier);
    QVERIFY(!tips->isActive());
    QVERIFY(view->textCursor().charFormat().fontStrikeOut());
}

void RibbonTest::noShortcutIsUsedTwice() {
    QVERIFY(documentWithText(QStringLiteral("x")));
    QHash<QString, QStringList> owners;
    auto note = [&owners](const QKeySequence &key, const QString &owner) {
        if (!key.isEmpty())
            owners[key.toString(QKeySequence::PortableText)] << owner;
    };
    for (QAction *action : frame_->findChildren<QAction *>())
        for (const QKeySequence &key : action->shortcuts())
            note(key, QStringLiteral("action ") + action->objectName() + QLatin1Char(' ') +
                          action->text());
    // A button's mnemonic counts in its own window (a drop-down's buttons only while it is open).
    for (QAbstractButton *button : frame_->findChildren<QAbstractButton *>())
        if (button->window() == frame_.get())
            note(button->shortcut(), QStringLiteral("button ") + button->objectName());
    for (QShortcut *shortcut : frame_->findChildren<QShortcut *>())
        for (const QKeySequence &key : shortcut->keys())
            note(key, QStringLiteral("shortcut ") + shortcut->objectName());
    QStringList twice;
    for (auto it = owners.cbegin(); it != owners.cend(); ++it)
        if (it.value().size() > 1)
            twice << it.key() + QStringLiteral(": ") + it.value().join(QStringLiteral(", "));
    QVERIFY2(twice.isEmpty(), qPrintable(twice.join(QLatin1Char('\n'))));
    // The keys of the commands.
    const std::pair<int, const char *> keys[] = {
        {ID_EDIT_COPY, "Ctrl+C"},     {ID_EDIT_CUT, "Shift+Del"},
        {ID_EDIT_PASTE, "Shift+Ins"}, {ID_EDIT_UNDO, "Alt+Backspace"},
        {ID_EDIT_REDO, "Ctrl+Y"},     {ID_EDIT_SELECT_ALL, "Ctrl+A"},
        {ID_FILE_NEW, "Ctrl+N"},      {ID_FILE_OPEN, "Alt+O"},
        {ID_FILE_PRINT, "Alt+P"},     {ID_FILE_SAVE, "Alt+S"},
        {ID_FONTBOLD, "Ctrl+B"},      {ID_FONTITALIC, "Ctrl+I"},
        {ID_FONTUNDERLINE, "Ctrl+U"}, {ID_FONTSTRIKEOUT, "Alt+D"},
        {ID_HELP_FINDER, "F1"}};
    for (const auto &[id, key] : keys)
        QVERIFY2(owners.value(QString::fromLatin1(key)).size() == 1 &&
                     owners.value(QString::fromLatin1(key))
                         .first()
                         .startsWith(QStringLiteral("action %1 ").arg(id)),
                 key);
    // Alt+O reaches Open with no window holding the focus anywhere special.
    QString asked;
    setFileNamePrompter([&asked](QWidget *, QString &, const QString &title, bool) {
        asked = title;
        return false;
    });
    frame_->activateWindow();
    frame_->ribbon()->applicationButton()->setFocus();
    QTest::keyClick(frame_->ribbon()->applicationButton(), Qt::Key_O, Qt::AltModifier);
    QCOMPARE(asked, QStringLiteral("Open"));
}

void RibbonTest::ribbonWithoutABoxIsNotBuilt() {
    QWidget host;
    auto *fontBox = new QComboBox(&host);
    auto *sizeBox = new QComboBox(&host);
    QComboBox &font = *fontBox;
    QComboBox &size = *sizeBox;
    RibbonCommands commands;
    commands.action = [this](int id) { return frame_->command(id); };
    commands.control = [&](int id) -> QWidget * {
        return id == IDC_FONTCOMBO ? &font : id == IDC_FONTSIZE ? &size : nullptr;
    };
    // The definition lacks the size box.
    RibbonDefinition noSize = homeRibbonDefinition();
    for (RibbonPanelDefinition &panel : noSize.categories[0].panels)
        for (RibbonColumn &column : panel.columns)
            for (RibbonRow &row : column.rows)
                std::erase_if(row, [](const RibbonElement &e) { return e.id == IDC_FONTSIZE; });
    QString error;
    QVERIFY(!RibbonBar::create(noSize, commands, &host, &error));
    QVERIFY(error.contains(QStringLiteral("32783")));
    // The frame has no font box to give.
    commands.control = [&](int id) -> QWidget * { return id == IDC_FONTSIZE ? &size : nullptr; };
    QVERIFY(!RibbonBar::create(homeRibbonDefinition(), commands, &host, &error));
    QVERIFY(error.contains(QStringLiteral("32782")));
    // A command the frame lacks.
    commands.control = [&](int id) -> QWidget * {
        return id == IDC_FONTCOMBO ? &font : id == IDC_FONTSIZE ? &size : nullptr;
    };
    commands.action = [this](int id) { return id == ID_CHKUPDATE ? nullptr : frame_->command(id); };
    QVERIFY(!RibbonBar::create(homeRibbonDefinition(), commands, &host, &error));
    QVERIFY(error.contains(QStringLiteral("32871")));
    QVERIFY(host.findChildren<RibbonBar *>().isEmpty());
    // Whole, it builds.
    commands.action = [this](int id) { return frame_->command(id); };
    QVERIFY(RibbonBar::create(homeRibbonDefinition(), commands, &host, &error));
}

QTEST_MAIN(RibbonTest)
#include "ribbon_test.moc"
