// The main window's commands: the menus and the tool bar, the font and size boxes, the colour
// buttons, and the check and enabled states that follow the active view.

#include "core/app/messages.h"
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

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QPainter>
#include <QSettings>
#include <QSlider>
#include <QStatusBar>
#include <QTabBar>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
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
// Menus and tool bar

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

void CMainFrame::createMenusAndToolBar() {
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("menu-file"));
    addFrameCommand(
        file, ID_FILE_NEW, QStringLiteral("&New"), [this] { newDocument(); },
        QKeySequence(Qt::CTRL | Qt::Key_N));
    QAction *open = addFrameCommand(
        file, ID_FILE_OPEN, QStringLiteral("&Open..."), [this] { openCommand(); },
        QKeySequence(Qt::ALT | Qt::Key_O));
    QAction *save = addFrameCommand(
        file, ID_FILE_SAVE, QStringLiteral("&Save"), [this] { saveActiveDocument(false); },
        QKeySequence(Qt::ALT | Qt::Key_S));
    // Ctrl+O and Ctrl+S as well, as every desktop program has them; the keyboard layouts leave
    // these Ctrl combinations free.
    open->setShortcuts({QKeySequence(Qt::ALT | Qt::Key_O), QKeySequence::Open});
    save->setShortcuts({QKeySequence(Qt::ALT | Qt::Key_S), QKeySequence::Save});
    addFrameCommand(file, ID_FILE_SAVE_AS, QStringLiteral("Save &As..."),
                    [this] { saveActiveDocument(true); });
    addFrameCommand(file, ID_FILE_CLOSE, QStringLiteral("&Close"), [this] {
        if (CChildFrame *child = activeChild())
            child->close();
    });
    file->addSeparator();
    addCommand(file, ID_FILE_PRINT, QStringLiteral("&Print..."), &CTarvelLiteView::print,
               QKeySequence(Qt::ALT | Qt::Key_P));
    addCommand(file, ID_FILE_PRINT_DIRECT, QStringLiteral("Quick Print"),
               &CTarvelLiteView::printDirect);
    addCommand(file, ID_FILE_PRINT_PREVIEW, QStringLiteral("Print Pre&view"),
               &CTarvelLiteView::printPreview);
    addFrameCommand(file, ID_PAGE_SETUP, QStringLiteral("PageSetup"),
                    [this] { showPreferences(true); });
    addFrameCommand(file, ID_SETTINGS, QStringLiteral("Settings"),
                    [this] { showPreferences(false); });
    file->addSeparator();
    recentMenu_ = file->addMenu(QStringLiteral("Recent &Documents"));
    recentMenu_->setObjectName(QStringLiteral("menu-recent"));
    file->addSeparator();
    addFrameCommand(file, ID_APP_EXIT, QStringLiteral("E&xit"), [this] { close(); });

    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("menu-edit"));
    addCommand(edit, ID_EDIT_UNDO, QStringLiteral("&Undo"), &CTarvelLiteView::undo);
    addCommand(edit, ID_EDIT_REDO, QStringLiteral("&Redo"), &CTarvelLiteView::redo);
    edit->addSeparator();
    addCommand(edit, ID_EDIT_CUT, QStringLiteral("Cu&t"), &QTextEdit::cut);
    addCommand(edit, ID_EDIT_COPY, QStringLiteral("&Copy"), &QTextEdit::copy);
    addCommand(edit, ID_EDIT_PASTE, QStringLiteral("&Paste"), &QTextEdit::paste);
    addCommand(edit, ID_EDIT_SELECT_ALL, QStringLiteral("Select A&ll"), &QTextEdit::selectAll);
    addFrameCommand(edit, ID_INSERT_PICTURE, QStringLiteral("Insert Picture From File"), [this] {
        if (CTarvelLiteView *view = activeView())
            InsertPictureCommand(*view);
    });

    QMenu *format = menuBar()->addMenu(QStringLiteral("F&ormat"));
    format->setObjectName(QStringLiteral("menu-format"));
    auto checkable = [](QAction *a) {
        a->setCheckable(true);
        return a;
    };
    QAction *bold = checkable(
        addCommand(format, ID_FONTBOLD, QStringLiteral("&Bold"), &CTarvelLiteView::toggleBold));
    QAction *italic = checkable(addCommand(format, ID_FONTITALIC, QStringLiteral("&Italic"),
                                           &CTarvelLiteView::toggleItalic));
    QAction *underline = checkable(addCommand(
        format, ID_FONTUNDERLINE, QStringLiteral("&Underline"), &CTarvelLiteView::toggleUnderline));
    QAction *strike = checkable(addCommand(format, ID_FONTSTRIKEOUT, QStringLiteral("&Strike-out"),
                                           &CTarvelLiteView::toggleStrikeOut));
    format->addSeparator();
    QAction *fore = addCommand(format, ID_FORE, QStringLiteral("Text &Colour"),
                               &CTarvelLiteView::textColourCommand);
    QAction *back = addCommand(format, ID_BACK, QStringLiteral("&Background Colour"),
                               &CTarvelLiteView::backColourCommand);
    addFrameCommand(format, 0x7f00 + 1, QStringLiteral("Choose Text Colour..."), [this] {
        const QColor c = QColorDialog::getColor(textColour_, this, QStringLiteral("Text Colour"));
        if (c.isValid()) {
            setTextColour(c);
            if (CTarvelLiteView *view = activeView())
                view->textColourCommand();
        }
    });
    addFrameCommand(format, 0x7f00 + 2, QStringLiteral("Choose Background Colour..."), [this] {
        const QColor c =
            QColorDialog::getColor(backColour_, this, QStringLiteral("Background Colour"));
        if (c.isValid()) {
            setBackColour(c);
            if (CTarvelLiteView *view = activeView())
                view->backColourCommand();
        }
    });
    format->addSeparator();
    QAction *left = checkable(addCommand(format, ID_PARALEFT, QStringLiteral("Align &Left"),
                                         &CTarvelLiteView::alignLeft));
    QAction *centre = checkable(addCommand(format, ID_PARACENTRE, QStringLiteral("C&entre"),
                                           &CTarvelLiteView::alignCentre));
    QAction *right = checkable(addCommand(format, ID_PARARIGHT, QStringLiteral("Align &Right"),
                                          &CTarvelLiteView::alignRight));
    QAction *justify = checkable(addCommand(format, ID_PARAJUST, QStringLiteral("&Justify"),
                                            &CTarvelLiteView::alignJustify));
    QAction *indentMore = addCommand(format, ID_PARARIGHTINDENT, QStringLiteral("&Increase Indent"),
                                     &CTarvelLiteView::increaseIndent);
    QAction *indentLess = addCommand(format, ID_PARALEFTINDENT, QStringLiteral("&Decrease Indent"),
                                     &CTarvelLiteView::decreaseIndent);
    QAction *bullets = checkable(addCommand(format, ID_PARA_BULLET, QStringLiteral("B&ullets"),
                                            &CTarvelLiteView::toggleBullets));
    QAction *numbering =
        checkable(addCommand(format, ID_PARA_NUMBERING, QStringLiteral("&Numbering"),
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
    format->addSeparator();
    addCommand(format, ID_ZOOM_PANE, QStringLiteral("&Zoom 100%"), &CTarvelLiteView::resetZoom);

    QMenu *view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("menu-view"));
    auto checkableFrame = [&](int id, const char *text, const std::function<void()> &run) {
        QAction *a = addFrameCommand(view, id, QString::fromUtf8(text), run);
        a->setCheckable(true);
        return a;
    };
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
    checkableFrame(ID_DICTIONARY, "Spell Checker", [this] { togglePane(spellPane_); });
    view->addSeparator();
    checkableFrame(IDC_STWLOOK, "Window Look",
                   [this] { setTabbedMode(mdi_->viewMode() != QMdiArea::TabbedView); });
    view->addSeparator();
    addFrameCommand(view, ID_ABOUT, QStringLiteral("About"), [this] { showAbout(); });

    QMenu *utility = menuBar()->addMenu(QStringLiteral("&Utility"));
    utility->setObjectName(QStringLiteral("menu-utility"));
    QAction *conversion =
        addFrameCommand(utility, ID_BTNCONV, QStringLiteral("TAM / Tab Conversion"), [this] {
            if (CTarvelLiteView *v = activeView())
                OnConversionButton(v);
        });
    QMenu *window = menuBar()->addMenu(QStringLiteral("&Window"));
    window->setObjectName(QStringLiteral("menu-window"));
    addFrameCommand(window, ID_WINDOW_CASCADE, QStringLiteral("Cascade Windows"), [this] {
        if (mdi_->viewMode() == QMdiArea::SubWindowView)
            mdi_->cascadeSubWindows();
    });
    addFrameCommand(window, ID_WINDOW_TILE_HORZ, QStringLiteral("Tile Horizontally"), [this] {
        if (mdi_->viewMode() == QMdiArea::SubWindowView)
            mdi_->tileSubWindows();
    });
    addFrameCommand(window, ID_WINDOW_TILE_VERT, QStringLiteral("Tile Vertically"), [this] {
        if (mdi_->viewMode() == QMdiArea::SubWindowView)
            mdi_->tileSubWindows();
    });
    addFrameCommand(window, ID_WINDOW_ARRANGE, QStringLiteral("Arrange Windows"), [this] {
        if (mdi_->viewMode() == QMdiArea::SubWindowView)
            mdi_->cascadeSubWindows();
    });
    window->addSeparator();
    addFrameCommand(window, ID_WINDOW_MANAGER, QStringLiteral("&Windows..."),
                    [this] { showWindowManager(); });

    // The tool bar: the Home commands of the ribbon.
    QToolBar *home = addToolBar(QStringLiteral("Home"));
    home->setObjectName(QStringLiteral("toolbar-home"));
    for (QAction *a : {commands_.value(ID_FILE_NEW), commands_.value(ID_FILE_OPEN),
                       commands_.value(ID_FILE_SAVE)})
        home->addAction(a);
    home->addSeparator();
    fontBox_ = new QComboBox(home);
    fontBox_->setEditable(true);
    fontBox_->setInsertPolicy(QComboBox::NoInsert);
    fontBox_->addItems(QFontDatabase::families());
    fontBox_->setMinimumContentsLength(16);
    name(fontBox_, commandName(IDC_FONTCOMBO), fontBox_, QStringLiteral("Font"));
    home->addWidget(fontBox_);
    sizeBox_ = new QComboBox(home);
    sizeBox_->setEditable(true);
    sizeBox_->setInsertPolicy(QComboBox::NoInsert);
    for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        sizeBox_->addItem(QString::number(size));
    sizeBox_->setMinimumContentsLength(4);
    name(sizeBox_, commandName(IDC_FONTSIZE), sizeBox_, QStringLiteral("Font Size"));
    home->addWidget(sizeBox_);
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
    home->addSeparator();
    for (QAction *a : {bold, italic, underline, strike, fore, back})
        home->addAction(a);
    home->addSeparator();
    for (QAction *a : {left, centre, right, justify, indentLess, indentMore, bullets, numbering})
        home->addAction(a);
    home->addSeparator();
    home->addAction(conversion);
    bold->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    underline->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_U));
    strike->setShortcut(QKeySequence(Qt::ALT | Qt::Key_D));
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
    for (int id :
         {ID_FORE, ID_BACK, ID_PARARIGHTINDENT, ID_PARALEFTINDENT, ID_FILE_SAVE, ID_FILE_SAVE_AS,
          ID_FILE_CLOSE, ID_FILE_PRINT, ID_FILE_PRINT_DIRECT, ID_FILE_PRINT_PREVIEW, ID_EDIT_CUT,
          ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_SELECT_ALL, ID_ZOOM_PANE, ID_BTNCONV})
        set(id, hasView);
    set(ID_INSERT_PICTURE, hasView);
    set(ID_VIEW_RULER, hasView, hasView && rulerSlot_ && !rulerSlot_->isHidden());
    fontBox_->setEnabled(hasView);
    sizeBox_->setEnabled(hasView);
}

} // namespace tarvellite::ui
