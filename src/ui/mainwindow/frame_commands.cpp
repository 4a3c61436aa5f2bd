// The main window's commands and the ribbon that shows them: the font and size boxes, the
// application menu, the window looks, and the check and enabled states that follow the active
// view.

#include "core/app/messages.h"
#include "core/app/settings.h"
#include "core/app/version.h"
#include "ui/app/app_context.h"
#include "ui/document/command_ids.h"
#include "ui/document/document_io.h"
#include "ui/document/document_units.h"
#include "ui/document/file_hold.h"
#include "ui/document/picture_file.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"
#include "ui/legacy/convert_dialog.h"
#include "ui/legacy/legacy_on_open.h"
#include "ui/mainwindow/child_frame.h"
#include "ui/mainwindow/dock_panes.h"
#include "ui/mainwindow/frame_input.h"
#include "ui/mainwindow/main_frame.h"
#include "ui/mainwindow/ribbon/ribbon_bar.h"
#include "ui/mainwindow/ribbon/ribbon_icons.h"

#include <QAbstractItemView>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QFileInfo>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QImageReader>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSettings>
#include <QSlider>
#include <QStatusBar>
#include <QTabBar>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

namespace tarvellite::ui {

namespace {

// The id as object name; a widget's accessible name is its caption.
void name(QObject *object, const QString &objectName, QWidget *widget = nullptr,
          const QString &caption = {}) {
    object->setObjectName(objectName);
    if (widget)
        widget->setAccessibleName(caption);
}

QIcon colourIcon(const QString &letter, const QColor &colour) {
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, 20, 15), Qt::AlignCenter, letter);
    painter.fillRect(QRect(2, 15, 16, 4), colour.isValid() ? colour : QColor(Qt::black));
    return QIcon(pixmap);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Commands

QAction *CMainFrame::addFrameCommand(QMenu *menu, int id, const QString &text,
                                     const std::function<void()> &run,
                                     const QKeySequence &shortcut) {
    auto *action = new QAction(text, this);
    action->setObjectName(commandName(id));
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, [run] { run(); });
    if (menu)
        menu->addAction(action);
    // Added to the window, so that its shortcut works wherever the action shows.
    addAction(action);
    commands_.insert(id, action);
    return action;
}

QAction *CMainFrame::addCommand(QMenu *menu, int id, const QString &text,
                                void (CTarvelLiteView::*slot)(), const QKeySequence &shortcut) {
    return addFrameCommand(
        menu, id, text,
        [this, slot] {
            if (CTarvelLiteView *view = activeView())
                (view->*slot)();
            updateCommandStates();
        },
        shortcut);
}

void CMainFrame::createCommands() {
    using Keys = QList<QKeySequence>;
    auto keys = [](QAction *action, const Keys &sequences) {
        action->setShortcuts(sequences);
        return action;
    };
    auto checkable = [](QAction *a) {
        a->setCheckable(true);
        return a;
    };

    // Documents. Ctrl+O, Ctrl+S and Ctrl+P as well, as every desktop program has them; the
    // keyboard layouts leave these Ctrl combinations free.
    keys(addFrameCommand(nullptr, ID_FILE_NEW, QStringLiteral("&New"), [this] { newDocument(); }),
         {QKeySequence(Qt::CTRL | Qt::Key_N)});
    keys(addFrameCommand(nullptr, ID_FILE_OPEN, QStringLiteral("&Open..."),
                         [this] { openCommand(); }),
         {QKeySequence(Qt::ALT | Qt::Key_O), QKeySequence(Qt::CTRL | Qt::Key_O)});
    keys(addFrameCommand(nullptr, ID_FILE_SAVE, QStringLiteral("&Save"),
                         [this] { saveActiveDocument(false); }),
         {QKeySequence(Qt::ALT | Qt::Key_S), QKeySequence(Qt::CTRL | Qt::Key_S)});
    addFrameCommand(nullptr, ID_FILE_SAVE_AS, QStringLiteral("Save &As..."),
                    [this] { saveActiveDocument(true); });
    addFrameCommand(nullptr, ID_FILE_CLOSE, QStringLiteral("&Close"), [this] {
        if (CChildFrame *child = activeChild())
            child->close();
    });
    keys(addCommand(nullptr, ID_FILE_PRINT, QStringLiteral("Print"), &CTarvelLiteView::print),
         {QKeySequence(Qt::ALT | Qt::Key_P), QKeySequence(Qt::CTRL | Qt::Key_P)});
    addCommand(nullptr, ID_FILE_PRINT_DIRECT, QStringLiteral("&Quick Print"),
               &CTarvelLiteView::printDirect);
    addCommand(nullptr, ID_FILE_PRINT_PREVIEW, QStringLiteral("Print Pre&view"),
               &CTarvelLiteView::printPreview);
    // The print dialog is where the printer is chosen and set up.
    addCommand(nullptr, ID_FILE_PRINT_SETUP, QStringLiteral("Print Set&up"),
               &CTarvelLiteView::print);
    addFrameCommand(nullptr, ID_PAGE_SETUP, QStringLiteral("PageSetup"),
                    [this] { showPreferences(true); });
    addFrameCommand(nullptr, ID_SETTINGS, QStringLiteral("Settings"),
                    [this] { showPreferences(false); });
    addFrameCommand(nullptr, ID_APP_EXIT, QStringLiteral("E&xit"), [this] { close(); });
    recentMenu_ = new QMenu(QStringLiteral("Recent Documents"), this);
    recentMenu_->setObjectName(QStringLiteral("menu-recent"));
    recentMenu_->setMinimumWidth(300);

    // Clipboard and editing.
    keys(addCommand(nullptr, ID_EDIT_PASTE, QStringLiteral("Paste"), &QTextEdit::paste),
         {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)});
    addFrameCommand(nullptr, ID_EDIT_PASTE_SPECIAL, QStringLiteral("Paste Special..."),
                    [this] { pasteSpecial(); });
    keys(addCommand(nullptr, ID_EDIT_CUT, QStringLiteral("Cut"), &QTextEdit::cut),
         {QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)});
    keys(addCommand(nullptr, ID_EDIT_COPY, QStringLiteral("Copy"), &QTextEdit::copy),
         {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    keys(addCommand(nullptr, ID_EDIT_SELECT_ALL, QStringLiteral("Select All"),
                    &QTextEdit::selectAll),
         {QKeySequence(Qt::CTRL | Qt::Key_A)});
    keys(addCommand(nullptr, ID_EDIT_UNDO, QStringLiteral("Undo"), &CTarvelLiteView::undo),
         {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    keys(addCommand(nullptr, ID_EDIT_REDO, QStringLiteral("Redo"), &CTarvelLiteView::redo),
         {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    addFrameCommand(nullptr, ID_EDIT_CLEAR, QStringLiteral("Clear"), [this] {
        if (CTarvelLiteView *view = activeView()) {
            QTextCursor cursor = view->textCursor();
            cursor.removeSelectedText();
            view->setTextCursor(cursor);
        }
        updateCommandStates();
    });

    // Character formats.
    keys(checkable(addCommand(nullptr, ID_FONTBOLD, QStringLiteral("Font Bold"),
                              &CTarvelLiteView::toggleBold)),
         {QKeySequence(Qt::CTRL | Qt::Key_B)});
    keys(checkable(addCommand(nullptr, ID_FONTITALIC, QStringLiteral("Font Italic"),
                              &CTarvelLiteView::toggleItalic)),
         {QKeySequence(Qt::CTRL | Qt::Key_I)});
    keys(checkable(addCommand(nullptr, ID_FONTUNDERLINE, QStringLiteral("Font Underline"),
                              &CTarvelLiteView::toggleUnderline)),
         {QKeySequence(Qt::CTRL | Qt::Key_U)});
    keys(checkable(addCommand(nullptr, ID_FONTSTRIKEOUT, QStringLiteral("Font Strikeout"),
                              &CTarvelLiteView::toggleStrikeOut)),
         {QKeySequence(Qt::ALT | Qt::Key_D)});
    addCommand(nullptr, ID_FORE, QStringLiteral("Foreground Colour"),
               &CTarvelLiteView::textColourCommand);
    addCommand(nullptr, ID_BACK, QStringLiteral("Background Colour"),
               &CTarvelLiteView::backColourCommand);

    // Paragraphs: the four alignments are one choice.
    alignment_ = new QActionGroup(this);
    alignment_->setExclusive(true);
    for (const auto &[id, text, slot] :
         {std::tuple{ID_PARALEFT, "Left Paragraph", &CTarvelLiteView::alignLeft},
          std::tuple{ID_PARACENTRE, "Centre Paragraph", &CTarvelLiteView::alignCentre},
          std::tuple{ID_PARARIGHT, "Right Paragraph", &CTarvelLiteView::alignRight},
          std::tuple{ID_PARAJUST, "Justified Paragraph", &CTarvelLiteView::alignJustify}})
        alignment_->addAction(checkable(addCommand(nullptr, id, QString::fromUtf8(text), slot)));
    addCommand(nullptr, ID_PARALEFTINDENT, QStringLiteral("Left Indent"),
               &CTarvelLiteView::decreaseIndent);
    addCommand(nullptr, ID_PARARIGHTINDENT, QStringLiteral("Right Indent"),
               &CTarvelLiteView::increaseIndent);
    checkable(addCommand(nullptr, ID_PARA_BULLET, QStringLiteral("Bullets"),
                         &CTarvelLiteView::toggleBullets));
    QAction *numbering =
        checkable(addCommand(nullptr, ID_PARA_NUMBERING, QStringLiteral("Numbering"),
                             &CTarvelLiteView::numberingCommand));
    auto *gallery = new QMenu(QStringLiteral("Numbering"), this);
    gallery->setObjectName(commandName(ID_PARA_NUMBERING_GALLERY));
    const char *shown[] = {"1. 2. 3.", "1) 2) 3)", "I. II. III.", "A. B. C.",
                           "a) b) c)", "a. b. c.", "i. ii. iii."};
    for (int item = 1; item <= 7; ++item) {
        QAction *a = gallery->addAction(QString::fromLatin1(shown[item - 1]));
        a->setObjectName(QStringLiteral("%1-%2").arg(ID_PARA_NUMBERING_GALLERY).arg(item));
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, item] {
            numberingItem_ = item;
            if (CTarvelLiteView *view = activeView())
                view->applyNumbering(item);
        });
    }
    numbering->setMenu(gallery);
    addCommand(nullptr, ID_ZOOM_PANE, QStringLiteral("Zoom"), &CTarvelLiteView::resetZoom);

    // Insert.
    addFrameCommand(nullptr, ID_INSERT_PICTURE, QStringLiteral("Picture"),
                    [this] { insertPictureCommand(); });
    addFrameCommand(nullptr, ID_OLE_INSERT_NEW, QStringLiteral("Insert Ole Object"), [] {
        showMessage("Objects of other programs cannot be embedded in a document here. Pictures "
                    "go in with Insert Picture From File.");
    });

    // Language.
    auto checkableFrame = [&](int id, const char *text, const std::function<void()> &run) {
        return checkable(addFrameCommand(nullptr, id, QString::fromUtf8(text), run));
    };
    checkableFrame(ID_DICTIONARY, "Dictionary", [this] { togglePane(spellPane_); });
    addFrameCommand(nullptr, ID_BTNUSRDICT, QStringLiteral("User Dictionary"),
                    [this] { openUserDictionary(); });

    // View.
    checkableFrame(ID_CHKSTBAR, "Status bar", [this] {
        statusBar()->setVisible(!statusBar()->isVisible());
        commands_.value(ID_CHKSTBAR)->setChecked(statusBar()->isVisible());
    })->setChecked(true);
    checkableFrame(ID_VIEW_RULER, "Ruler", [this] {
        if (!activeView())
            return;
        const bool show = !rulerSlot_->isVisible();
        rulerSlot_->setVisible(show);
        context_.changeSettings(PagePart,
                                [show](Settings &s) { s.pageDimensions.rulerVisible = show; });
        commands_.value(ID_VIEW_RULER)->setChecked(show);
    });
    checkableFrame(ID_CHKKBD, "Keyboard", [this] {
        if (keyboardPane_)
            keyboardPane_->setVisible(!keyboardPane_->isVisible());
    });
    checkableFrame(ID_CHKFE, "Explorer", [this] { togglePane(folderPane_); });
    checkableFrame(ID_CHKFR, "Find", [this] { togglePane(findPane_); });
    addFrameCommand(nullptr, ID_ABOUT, QStringLiteral("About"), [this] { showAbout(); });

    // Preference: the document windows, their look, the settings.
    addFrameCommand(nullptr, ID_WINDOW_NEW, QStringLiteral("&New Window"),
                    [] { showMessage("A document shows in one window only."); });
    addFrameCommand(nullptr, ID_WINDOW_TILE_VERT, QStringLiteral("Tile Vertically"),
                    [this] { tileWindows(true); });
    addFrameCommand(nullptr, ID_WINDOW_TILE_HORZ, QStringLiteral("Tile Horizontally"),
                    [this] { tileWindows(false); });
    addFrameCommand(nullptr, ID_WINDOW_CASCADE, QStringLiteral("Cascade Windows"), [this] {
        if (mdi_->viewMode() == QMdiArea::SubWindowView)
            mdi_->cascadeSubWindows();
    });
    addFrameCommand(nullptr, ID_WINDOW_ARRANGE, QStringLiteral("Arrange Windows"), [this] {
        if (mdi_->viewMode() == QMdiArea::SubWindowView)
            mdi_->tileSubWindows();
    });
    addFrameCommand(nullptr, ID_WINDOW_MANAGER, QStringLiteral("Manage Windows"),
                    [this] { showWindowManager(); });
    checkableFrame(IDC_STWLOOK, "Window Look",
                   [this] { setTabbedMode(mdi_->viewMode() != QMdiArea::TabbedView); });

    // Utility.
    addFrameCommand(nullptr, ID_BTNCONV, QStringLiteral("TAM / Tab Conversion"), [this] {
        if (CTarvelLiteView *v = activeView())
            OnConversionButton(v);
    });
    addFrameCommand(nullptr, ID_CHKUPDATE, QStringLiteral("Check Update"),
                    [] { showMessage("This version of TarvelLite does not check for updates."); });
    keys(addFrameCommand(nullptr, ID_HELP_FINDER, QStringLiteral("Help"),
                         [] {
                             showMessage(
                                 "F2 switches the input language, F3 its keyboard and F4 goes "
                                 "back to the previous language. Alt shows the key of every "
                                 "ribbon command.");
                         }),
         {QKeySequence(Qt::Key_F1)});

    // The window looks.
    looks_ = new QActionGroup(this);
    looks_->setExclusive(true);
    for (const auto &[id, text] :
         {std::pair{ID_VIEW_APPLOOK_OFF_2007_BLUE, "Office 2007 (&Blue Style)"},
          std::pair{ID_VIEW_APPLOOK_OFF_2007_BLACK, "Office 2007 (B&lack Style)"},
          std::pair{ID_VIEW_APPLOOK_OFF_2007_SILVER, "Office 2007 (&Silver Style)"},
          std::pair{ID_VIEW_APPLOOK_OFF_2007_AQUA, "Office 2007 (&Aqua Style)"},
          std::pair{ID_VIEW_APPLOOK_WINDOWS_7, "Win&dows 7"}}) {
        const int look = id;
        looks_->addAction(checkable(addFrameCommand(nullptr, id, QString::fromUtf8(text),
                                                    [this, look] { applyLook(look); })));
    }

    for (QAction *action : std::as_const(commands_)) {
        if (action->toolTip().isEmpty() || action->toolTip() == action->iconText())
            action->setToolTip(QString(action->text()).remove(QLatin1Char('&')));
        if (action->icon().isNull())
            action->setIcon(commandIcon(action->objectName().toInt()));
    }

    // The font and size boxes: scalable faces, each drawn in its own face; the sizes offered.
    auto *fontBox = new QFontComboBox(this);
    fontBox->setFontFilters(QFontComboBox::ScalableFonts);
    fontBox_ = fontBox;
    fontBox_->setEditable(true);
    fontBox_->setInsertPolicy(QComboBox::NoInsert);
    fontBox_->setFixedWidth(105);
    fontBox_->view()->setMinimumWidth(220);
    name(fontBox_, commandName(IDC_FONTCOMBO), fontBox_, QStringLiteral("Font"));
    sizeBox_ = new QComboBox(this);
    sizeBox_->setEditable(true);
    sizeBox_->setInsertPolicy(QComboBox::NoInsert);
    for (int size :
         {6, 8, 9, 10, 11, 12, 14, 16, 18, 22, 24, 26, 28, 32, 36, 42, 48, 64, 72, 74, 76, 82})
        sizeBox_->addItem(QString::number(size));
    // Room for two digits beside the arrow.
    sizeBox_->setFixedWidth(
        std::max(30, sizeBox_->fontMetrics().horizontalAdvance(QStringLiteral("888")) + 24));
    name(sizeBox_, commandName(IDC_FONTSIZE), sizeBox_, QStringLiteral("Font Size"));
    for (QComboBox *box : {fontBox_, sizeBox_}) {
        // Drop-down lists 300 pixels high.
        const int row = std::max(1, box->view()->sizeHintForRow(0));
        box->setMaxVisibleItems(std::max(1, 300 / row));
    }
    auto boxCommand = [this](void (CTarvelLiteView::*slot)()) {
        return [this, slot] {
            if (updatingBoxes_)
                return;
            if (CTarvelLiteView *v = activeView())
                (v->*slot)();
        };
    };
    connect(fontBox_->lineEdit(), &QLineEdit::returnPressed, this,
            boxCommand(&CTarvelLiteView::fontBoxCommand));
    connect(fontBox_, &QComboBox::activated, this, boxCommand(&CTarvelLiteView::fontBoxCommand));
    connect(sizeBox_->lineEdit(), &QLineEdit::returnPressed, this,
            boxCommand(&CTarvelLiteView::sizeBoxCommand));
    connect(sizeBox_, &QComboBox::activated, this, boxCommand(&CTarvelLiteView::sizeBoxCommand));
}

namespace {

/// A menu whose entries with a sub-menu also run their own command when clicked.
class SplitEntryMenu : public QMenu {
  public:
    using QMenu::QMenu;

  protected:
    void mouseReleaseEvent(QMouseEvent *event) override {
        QAction *action = actionAt(event->position().toPoint());
        if (action && action->menu() && action->isEnabled() && event->button() == Qt::LeftButton) {
            // Close the whole menu chain first, as a plain entry does.
            QWidget *top = this;
            while (auto *parentMenu = qobject_cast<QMenu *>(top->parentWidget()))
                top = parentMenu;
            top->close();
            close();
            action->trigger();
            return;
        }
        QMenu::mouseReleaseEvent(event);
    }
};

} // namespace

void CMainFrame::createRibbon() {
    // The application button's menu.
    auto *applicationMenu = new SplitEntryMenu(QStringLiteral("Main Menu"), this);
    applicationMenu->setObjectName(QStringLiteral("menu-application"));
    for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS})
        applicationMenu->addAction(commands_.value(id));
    applicationMenu->addSeparator();
    applicationMenu->addAction(commands_.value(ID_PAGE_SETUP));
    auto *printMenu = new QMenu(QStringLiteral("Print"), this);
    printMenu->setObjectName(QStringLiteral("menu-print"));
    QAction *label = printMenu->addAction(QStringLiteral("Preview and print the document"));
    label->setObjectName(QStringLiteral("print-label"));
    label->setEnabled(false);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    printMenu->addSeparator();
    for (int id : {ID_FILE_PRINT_DIRECT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP})
        printMenu->addAction(commands_.value(id));
    QAction *print = commands_.value(ID_FILE_PRINT);
    print->setMenu(printMenu);
    applicationMenu->addAction(print);
    applicationMenu->addSeparator();
    applicationMenu->addAction(commands_.value(ID_FILE_CLOSE));
    applicationMenu->addSeparator();
    applicationMenu->addMenu(recentMenu_);
    applicationMenu->addSeparator();
    applicationMenu->addAction(commands_.value(ID_APP_EXIT));

    auto *styleMenu = new QMenu(QStringLiteral("Style"), this);
    styleMenu->setObjectName(QStringLiteral("menu-style"));
    styleMenu->addActions(looks_->actions());

    RibbonCommands parts;
    parts.action = [this](int id) { return commands_.value(id); };
    parts.control = [this](int id) -> QWidget * {
        return id == IDC_FONTCOMBO  ? static_cast<QWidget *>(fontBox_)
               : id == IDC_FONTSIZE ? static_cast<QWidget *>(sizeBox_)
                                    : nullptr;
    };
    parts.applicationMenu = applicationMenu;
    parts.styleMenu = styleMenu;
    parts.help = commands_.value(ID_HELP_FINDER);
    QString error;
    ribbon_ = RibbonBar::create(homeRibbonDefinition(), parts, this, &error);
    if (!ribbon_) {
        std::fprintf(stderr, "%s: %s\n", productName, qPrintable(error));
        return;
    }
    setMenuWidget(ribbon_);

    // The quick-access bar shows what it showed last time.
    if (SettingsStore *store = context_.store())
        if (const std::optional<std::int32_t> mask = store->readInt("MainFrame", "QuickAccess")) {
            QList<int> shown;
            const QList<int> offered = ribbon_->quickAccessOffered();
            for (int i = 0; i < offered.size(); ++i)
                if (*mask & (1 << i))
                    shown << offered[i];
            ribbon_->setQuickAccessShown(shown);
        }
    // The window is never narrower than the ribbon with every panel folded.
    setMinimumWidth(ribbon_->minimumSizeHint().width());
    connect(ribbon_, &RibbonBar::quickAccessChanged, this, [this] {
        setMinimumWidth(ribbon_->minimumSizeHint().width());
        SettingsStore *store = context_.store();
        if (!store)
            return;
        std::int32_t mask = 0;
        const QList<int> offered = ribbon_->quickAccessOffered();
        for (int i = 0; i < offered.size(); ++i)
            if (ribbon_->quickAccessShown().contains(offered[i]))
                mask |= 1 << i;
        store->writeInt("MainFrame", "QuickAccess", mask);
    });
    applyLook(context_.settings().applicationLook);
}

void CMainFrame::applyLook(int look) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const RibbonLook scheme = ribbonLook(look);
    if (ribbon_)
        ribbon_->setLook(scheme);
    setPalette(framePalette(scheme, QApplication::palette()));
    for (QAction *action : looks_->actions())
        action->setChecked(action->objectName().toInt() == look);
    if (context_.settings().applicationLook != look)
        context_.changeSettings(WindowPart, [look](Settings &s) { s.applicationLook = look; });
    // Kept at once: the look is not part of the settings written at exit.
    if (SettingsStore *store = context_.store())
        writeApplicationLook(*store, look);
    update();
    QApplication::restoreOverrideCursor();
}

void CMainFrame::pasteSpecial() {
    CTarvelLiteView *view = activeView();
    if (!view)
        return;
    const QStringList kinds = {QStringLiteral("Formatted Text"),
                               QStringLiteral("Unformatted Text")};
    bool ok = false;
    const QString kind = QInputDialog::getItem(this, QStringLiteral("Paste Special"),
                                               QStringLiteral("As:"), kinds, 0, false, &ok);
    if (!ok)
        return;
    if (kind == kinds.at(1))
        view->insertPlainText(QApplication::clipboard()->text());
    else
        view->paste();
    updateCommandStates();
}

void CMainFrame::insertPictureCommand() {
    if (CTarvelLiteView *view = activeView())
        InsertPictureCommand(*view);
}

void CMainFrame::tileWindows(bool sideBySide) {
    if (mdi_->viewMode() != QMdiArea::SubWindowView)
        return;
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *w : mdi_->subWindowList())
        if (w->isVisible() && !w->isMinimized())
            windows << w;
    if (windows.isEmpty())
        return;
    const QRect area = mdi_->viewport()->rect();
    const int n = int(windows.size());
    for (int i = 0; i < n; ++i) {
        windows[i]->showNormal();
        if (sideBySide)
            windows[i]->setGeometry(area.width() * i / n, 0,
                                    area.width() * (i + 1) / n - area.width() * i / n,
                                    area.height());
        else
            windows[i]->setGeometry(0, area.height() * i / n, area.width(),
                                    area.height() * (i + 1) / n - area.height() * i / n);
    }
}

QStringList CMainFrame::fontFaces() const {
    QStringList faces;
    for (int i = 0; i < fontBox_->count(); ++i)
        faces << fontBox_->itemText(i);
    return faces;
}

QString CMainFrame::fontBoxText() const {
    return fontBox_->currentText();
}

void CMainFrame::setFontBoxText(const QString &face) {
    updatingBoxes_ = true;
    const int index = fontBox_->findText(face);
    if (index >= 0)
        fontBox_->setCurrentIndex(index);
    fontBox_->setEditText(face);
    updatingBoxes_ = false;
}

bool CMainFrame::fontBoxEditing() const {
    return fontBox_->hasFocus() || fontBox_->lineEdit()->hasFocus();
}

QString CMainFrame::sizeBoxText() const {
    return sizeBox_->currentText();
}

void CMainFrame::setSizeBoxText(const QString &text) {
    updatingBoxes_ = true;
    sizeBox_->setEditText(text);
    updatingBoxes_ = false;
}

void CMainFrame::setTextColour(const QColor &colour) {
    textColour_ = colour;
    updateColourIcons();
}

void CMainFrame::setBackColour(const QColor &colour) {
    backColour_ = colour;
    updateColourIcons();
}

void CMainFrame::updateColourIcons() {
    if (QAction *a = commands_.value(ID_FORE))
        a->setIcon(colourIcon(QStringLiteral("A"), textColour_));
    if (QAction *a = commands_.value(ID_BACK))
        a->setIcon(colourIcon(QStringLiteral("ab"), backColour_));
}

void CMainFrame::updateCommandStates() {
    CTarvelLiteView *view = activeView();
    const bool hasView = view != nullptr;
    const FormatState state = hasView ? view->formatState() : FormatState{};
    auto set = [this](int id, bool enabled, int checked = -1) {
        if (QAction *a = commands_.value(id)) {
            a->setEnabled(enabled);
            if (checked >= 0)
                a->setChecked(checked != 0);
        }
    };
    // A mixed selection shows unchecked: actions have no third state.
    set(ID_FONTBOLD, hasView, state.bold == Qt::Checked);
    set(ID_FONTITALIC, hasView, state.italic == Qt::Checked);
    set(ID_FONTUNDERLINE, hasView, state.underline == Qt::Checked);
    set(ID_FONTSTRIKEOUT, hasView, state.strikeOut == Qt::Checked);
    set(ID_PARALEFT, hasView, hasView && state.alignment == Qt::AlignLeft);
    set(ID_PARACENTRE, hasView, state.alignment == Qt::AlignHCenter);
    set(ID_PARARIGHT, hasView, state.alignment == Qt::AlignRight);
    set(ID_PARAJUST, hasView, state.alignment == Qt::AlignJustify);
    set(ID_PARA_BULLET, hasView, state.bullets);
    set(ID_PARA_NUMBERING, hasView, state.numberingItem > 0);
    if (QAction *numbering = commands_.value(ID_PARA_NUMBERING); numbering && numbering->menu()) {
        const QList<QAction *> items = numbering->menu()->actions();
        for (int i = 0; i < items.size(); ++i)
            items[i]->setChecked(state.numberingItem == i + 1);
    }
    set(ID_EDIT_UNDO, state.canUndo);
    set(ID_EDIT_REDO, state.canRedo);
    for (int id : {ID_FORE,
                   ID_BACK,
                   ID_PARARIGHTINDENT,
                   ID_PARALEFTINDENT,
                   ID_FILE_SAVE,
                   ID_FILE_SAVE_AS,
                   ID_FILE_CLOSE,
                   ID_FILE_PRINT,
                   ID_FILE_PRINT_DIRECT,
                   ID_FILE_PRINT_PREVIEW,
                   ID_FILE_PRINT_SETUP,
                   ID_EDIT_CUT,
                   ID_EDIT_COPY,
                   ID_EDIT_PASTE,
                   ID_EDIT_PASTE_SPECIAL,
                   ID_EDIT_SELECT_ALL,
                   ID_EDIT_CLEAR,
                   ID_ZOOM_PANE,
                   ID_BTNCONV,
                   ID_INSERT_PICTURE,
                   ID_OLE_INSERT_NEW})
        set(id, hasView);
    set(ID_INSERT_PICTURE, hasView);
    set(ID_VIEW_RULER, hasView, hasView && rulerSlot_ && !rulerSlot_->isHidden());
    fontBox_->setEnabled(hasView);
    sizeBox_->setEnabled(hasView);
}

} // namespace tarvellite::ui
