#include "ui/mainwindow/main_frame.h"

#include "ui/mainwindow/frame_input.h"

#include "core/app/messages.h"
#include "ui/document/app_flags.h"
#include "ui/document/command_ids.h"
#include "ui/document/document_io.h"
#include "ui/document/document_settings.h"
#include "ui/document/document_units.h"
#include "ui/document/file_hold.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"
#include "ui/legacy/convert_dialog.h"
#include "ui/legacy/legacy_on_open.h"
#include "ui/mainwindow/child_frame.h"

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

constexpr const char *recentGroup = "Recent File List";

QSettings frameSettings() {
    return QSettings(QStringLiteral("Orvani Software"), QStringLiteral("TarvelLite"));
}

void name(QObject *object, const QString &objectName, QWidget *accessible = nullptr) {
    object->setObjectName(objectName);
    if (accessible)
        accessible->setAccessibleName(objectName);
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

CMainFrame::CMainFrame(QWidget *parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(QStringLiteral("TarvelLite"));
    mdi_ = new QMdiArea(this);
    mdi_->setObjectName(QStringLiteral("documentArea"));
    mdi_->setDocumentMode(true);
    mdi_->setTabsClosable(true);
    mdi_->setTabsMovable(true);
    setCentralWidget(mdi_);
    setAcceptDrops(true);

    const DocumentSettings &settings = documentSettings();
    textColour_ = settings.textColour;
    backColour_ = settings.backgroundColour;

    installLegacyConversionOnOpen();
    createMenusAndToolBar();
    createStatusBar();
    setTabbedMode(settings.tabbedMode);
    connect(mdi_, &QMdiArea::subWindowActivated, this, &CMainFrame::onSubWindowActivated);
    rebuildRecentMenu();
    updateColourIcons();
    updateCommandStates();
    ClearDocumentStatus();
    resize(1100, 760);
}

CMainFrame::~CMainFrame() = default;

// ---------------------------------------------------------------------------------------------
// Menus, tool bar and status bar

QAction *CMainFrame::addFrameCommand(QMenu *menu, int id, const QString &text,
                                     const std::function<void()> &run,
                                     const QKeySequence &shortcut) {
    auto *action = new QAction(text, this);
    name(action, commandName(id));
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
    QAction *look =
        addFrameCommand(view, IDC_STWLOOK, QStringLiteral("&Window Look (Tabs)"),
                        [this] { setTabbedMode(mdi_->viewMode() != QMdiArea::TabbedView); });
    look->setCheckable(true);
    QAction *bar = addFrameCommand(view, ID_CHKSTBAR, QStringLiteral("&Status Bar"), [this] {
        statusBar()->setVisible(!statusBar()->isVisible());
        commands_.value(ID_CHKSTBAR)->setChecked(statusBar()->isVisible());
    });
    bar->setCheckable(true);
    bar->setChecked(true);
    QMenu *utility = menuBar()->addMenu(QStringLiteral("&Utility"));
    utility->setObjectName(QStringLiteral("menu-utility"));
    QAction *conversion =
        addFrameCommand(utility, ID_BTNCONV, QStringLiteral("TAM / Tab Conversion"), [this] {
            if (CTarvelLiteView *v = activeView())
                OnConversionButton(v);
        });
    QMenu *window = menuBar()->addMenu(QStringLiteral("&Window"));
    window->setObjectName(QStringLiteral("menu-window"));
    window->addAction(QStringLiteral("&Cascade"), mdi_, &QMdiArea::cascadeSubWindows);
    window->addAction(QStringLiteral("&Tile"), mdi_, &QMdiArea::tileSubWindows);
    window->addAction(QStringLiteral("&Next"), mdi_, &QMdiArea::activateNextSubWindow);

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
    name(fontBox_, commandName(IDC_FONTCOMBO), fontBox_);
    home->addWidget(fontBox_);
    sizeBox_ = new QComboBox(home);
    sizeBox_->setEditable(true);
    sizeBox_->setInsertPolicy(QComboBox::NoInsert);
    for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        sizeBox_->addItem(QString::number(size));
    sizeBox_->setMinimumContentsLength(4);
    name(sizeBox_, commandName(IDC_FONTSIZE), sizeBox_);
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

void CMainFrame::createStatusBar() {
    QStatusBar *bar = statusBar();
    name(bar, commandName(ID_STATUS_BAR), bar);
    const struct {
        int id;
        const char *text;
        bool permanent;
    } panes[] = {
        {PANE_PAGE, "Page No: x of xx", false},
        {PANE_WORDS, "", false},
        {PANE_LINE_COL, "Language Keyboard", false},
        {PANE_DICTIONARY, "No Dictionary Loaded...", false},
        {PANE_LANGUAGE, "Language: Malayalam  Keyboard: DOE Standard ", false},
    };
    for (const auto &pane : panes) {
        auto *label = new QLabel(QString::fromUtf8(pane.text), bar);
        name(label, paneName(pane.id), label);
        label->setMinimumWidth(60);
        bar->addWidget(label);
        panes_.insert(pane.id, label);
    }
    zoomPane_ = new QToolButton(bar);
    zoomPane_->setText(QStringLiteral("100%"));
    zoomPane_->setAutoRaise(true);
    zoomPane_->setMinimumWidth(zoomPane_->fontMetrics().horizontalAdvance(QStringLiteral("1000%")) +
                               12);
    name(zoomPane_, commandName(ID_ZOOM_PANE), zoomPane_);
    connect(zoomPane_, &QToolButton::clicked, this, [this] {
        if (CTarvelLiteView *view = activeView())
            view->resetZoom();
        else
            setZoomSliderPosition(100);
    });
    bar->addPermanentWidget(zoomPane_);
    zoomSlider_ = new QSlider(Qt::Horizontal, bar);
    zoomSlider_->setRange(10, 200);
    zoomSlider_->setPageStep(10);
    zoomSlider_->setValue(100);
    zoomSlider_->setFixedWidth(100);
    name(zoomSlider_, commandName(ID_ZOOM_SLIDER), zoomSlider_);
    connect(zoomSlider_, &QSlider::valueChanged, this, [this](int position) {
        if (CTarvelLiteView *view = activeView())
            view->zoomFromSlider(position);
    });
    bar->addPermanentWidget(zoomSlider_);
    for (int id : {int(PANE_CAPS), int(PANE_NUMS), int(PANE_INS)}) {
        auto *label = new QLabel(bar);
        name(label, paneName(id), label);
        bar->addPermanentWidget(label);
        panes_.insert(id, label);
    }
    panes_.value(PANE_WORDS)->clear();
}

// ---------------------------------------------------------------------------------------------
// ViewHost

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

bool CMainFrame::hasStatusBar() const {
    return panes_.contains(PANE_PAGE);
}

QString CMainFrame::statusText(int paneId) const {
    if (paneId == ID_ZOOM_PANE)
        return zoomPane_->text();
    const QLabel *label = panes_.value(paneId);
    return label ? label->text() : QString();
}

void CMainFrame::setStatusText(int paneId, const QString &text) {
    if (paneId == ID_ZOOM_PANE) {
        zoomPane_->setText(text);
        return;
    }
    if (QLabel *label = panes_.value(paneId); label && label->text() != text)
        label->setText(text);
}

int CMainFrame::zoomSliderPosition() const {
    return zoomSlider_->value();
}

void CMainFrame::setZoomSliderPosition(int position) {
    zoomSlider_->setValue(position);
}

void CMainFrame::setZoomSliderPageStep(int step) {
    zoomSlider_->setPageStep(step);
}

QString CMainFrame::languageText() const { return input_ ? input_->languageName() : QString(); }

QString CMainFrame::keyboardText() const { return input_ ? input_->keyboardName() : QString(); }

void CMainFrame::setUpInput(InputContext &context, const EngineOptions &options) {
    delete input_;
    input_ = new FrameInput(this, context, options);
}

void CMainFrame::setPrintPreviewMode(bool on) {
    if (input_)
        input_->router().setPrintPreviewActive(on);
    printPreviewActive() = on;
    statusBar()->setEnabled(!on);
    mdi_->setEnabled(!on);
}

// ---------------------------------------------------------------------------------------------
// Documents

CTarvelLiteView *CMainFrame::activeView() const {
    CChildFrame *child = activeChild();
    return child ? child->view() : nullptr;
}

CChildFrame *CMainFrame::activeChild() const {
    // The document area names no current window while the main window has never been active
    // (no window manager); the last window activated or shown is then the active one.
    if (auto *child = qobject_cast<CChildFrame *>(mdi_->currentSubWindow()))
        return child;
    const QList<QMdiSubWindow *> windows = mdi_->subWindowList(QMdiArea::ActivationHistoryOrder);
    if (current_ && windows.contains(current_))
        return current_;
    return windows.isEmpty() ? nullptr : qobject_cast<CChildFrame *>(windows.last());
}

CChildFrame *CMainFrame::createChild() {
    auto *child = new CChildFrame(this);
    CTarvelLiteView *view = child->view();
    connect(view, &CTarvelLiteView::formatStateChanged, this, [this, view] {
        if (view == activeView())
            updateCommandStates();
    });
    connect(view, &CTarvelLiteView::statusChanged, this, &CMainFrame::scheduleStatusUpdate);
    connect(view, &CTarvelLiteView::fileDropped, this, &CMainFrame::OpenOrInsertFile);
    connect(child->getDocument(), &CTarvelLiteDoc::modifiedChanged, this,
            &CMainFrame::scheduleStatusUpdate);
    connect(child, &QObject::destroyed, this, [this] {
        QTimer::singleShot(0, this, [this] {
            updateCommandStates();
            if (!activeView())
                ClearDocumentStatus();
        });
    });
    return child;
}

void CMainFrame::showChild(CChildFrame *child) {
    mdi_->addSubWindow(child);
    if (mdi_->viewMode() == QMdiArea::TabbedView) {
        child->showMaximized();
    } else {
        child->resize(mdi_->size() * 3 / 4);
        child->show();
    }
    current_ = child;
    mdi_->setActiveSubWindow(child);
    onSubWindowActivated();
}

CTarvelLiteView *CMainFrame::newDocument() {
    if (printPreviewActive())
        return nullptr;
    BusyGuard busy;
    CChildFrame *child = createChild();
    child->getDocument()->setTitle(CTarvelLiteDoc::nextUntitledTitle());
    child->view()->initialUpdate();
    showChild(child);
    return child->view();
}

bool CMainFrame::ActivateIfOpen(const QString &path) {
    const QList<QMdiSubWindow *> windows = mdi_->subWindowList(QMdiArea::StackingOrder);
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        auto *child = qobject_cast<CChildFrame *>(*it);
        if (!child || !child->view())
            break;
        if (child->getDocument()->path().compare(path, Qt::CaseInsensitive) == 0) {
            current_ = child;
            mdi_->setActiveSubWindow(child);
            activateWindow();
            return true;
        }
    }
    return false;
}

bool CMainFrame::OpenDocumentPath(const QString &path) {
    const QList<QMdiSubWindow *> windows = mdi_->subWindowList(QMdiArea::StackingOrder);
    auto *top = windows.isEmpty() ? nullptr : qobject_cast<CChildFrame *>(windows.last());
    if (top && top->view()) {
        if (ActivateIfOpen(path)) {
            Message message;
            message.text = "File Already Open";
            showMessage(message);
            return false;
        }
        CTarvelLiteView *view = top->view();
        if (view->document()->isEmpty() && !hasExtension(path, ".rtf") &&
            !hasExtension(path, ".tmp")) {
            CTarvelLiteDoc *doc = top->getDocument();
            if (Status s = LoadDocumentBody(*view, path); !s) {
                showMessage(s.error().message, MessageIcon::Error);
                return false;
            }
            doc->holdFile(path);
            doc->setTitle(QFileInfo(path).fileName());
            doc->setPath(path);
            addRecentFile(path);
            view->initialUpdate();
            view->SyncFormatBoxes();
            view->ApplyPageLayout(nullptr, false);
            current_ = top;
            mdi_->setActiveSubWindow(top);
            return true;
        }
    }
    CChildFrame *child = createChild();
    if (Status s = LoadDocumentBody(*child->view(), path); !s) {
        delete child;
        showMessage(s.error().message, MessageIcon::Error);
        return false;
    }
    CTarvelLiteDoc *doc = child->getDocument();
    doc->holdFile(path);
    doc->setTitle(QFileInfo(path).fileName());
    doc->setPath(path);
    addRecentFile(path);
    child->view()->initialUpdate();
    showChild(child);
    return true;
}

void CMainFrame::OpenOrInsertFile(const QString &path) {
    CTarvelLiteView *view = activeView();
    QPointer<CTarvelLiteView> guard = view;
    const bool wasBusy = view ? view->viewBusy : false;
    if (view)
        view->viewBusy = true;
    if (hasExtension(path, ".tvl") || hasExtension(path, ".tvp") || hasExtension(path, ".rtf") ||
        hasExtension(path, ".txt")) {
        BusyGuard busy;
        OpenDocumentPath(path);
    } else if (view) {
        QImageReader reader(path);
        const QImage image = reader.read();
        if (image.isNull()) {
            showMessage("Could not insert " + path.toStdString() + ": " +
                            reader.errorString().toStdString(),
                        MessageIcon::Warning);
        } else {
            const QUrl url(QStringLiteral("file-drop:%1").arg(path));
            view->document()->addResource(QTextDocument::ImageResource, url, image);
            QTextImageFormat format;
            format.setName(url.toString());
            format.setWidth(image.width());
            format.setHeight(image.height());
            view->textCursor().insertImage(format);
        }
    }
    if (guard)
        guard->viewBusy = wasBusy;
}

void CMainFrame::openCommand() {
    if (printPreviewActive())
        return;
    QString path;
    if (!PromptForFileName(this, path, QStringLiteral("Open"), true))
        return;
    BusyGuard busy;
    OpenDocumentPath(path);
}

bool CMainFrame::saveActiveDocument(bool saveAs) {
    CChildFrame *child = activeChild();
    if (!child || printPreviewActive())
        return false;
    CTarvelLiteDoc *doc = child->getDocument();
    QString path = doc->path();
    if (path.isEmpty() || saveAs) {
        QString name = path.isEmpty() ? doc->title() : path;
        if (!PromptForFileName(this, name, QStringLiteral("Save As"), false))
            return false;
        path = name;
    }
    BusyGuard busy;
    doc->fileHold().release();
    if (FileHold::heldElsewhere(path)) {
        doc->holdFile(doc->path());
        showMessage("Could not save " + path.toStdString() +
                        ": the file is open in another window or program.",
                    MessageIcon::Warning);
        return false;
    }
    if (Status s = StoreDocumentBody(*child->view(), path); !s) {
        doc->holdFile(doc->path());
        showMessage(s.error().message, MessageIcon::Warning);
        return false;
    }
    doc->setPath(path);
    doc->setTitle(QFileInfo(path).fileName());
    doc->holdFile(path);
    addRecentFile(path);
    scheduleStatusUpdate();
    return true;
}

void CMainFrame::setTabbedMode(bool tabbed) {
    mdi_->setViewMode(tabbed ? QMdiArea::TabbedView : QMdiArea::SubWindowView);
    documentSettings().tabbedMode = tabbed;
    if (QAction *look = commands_.value(IDC_STWLOOK))
        look->setChecked(tabbed);
    for (QMdiSubWindow *w : mdi_->subWindowList()) {
        if (tabbed)
            w->showMaximized();
        else
            w->showNormal();
    }
}

// ---------------------------------------------------------------------------------------------
// Recent documents

QStringList CMainFrame::recentFiles() const {
    QSettings settings = frameSettings();
    settings.beginGroup(QString::fromLatin1(recentGroup));
    QStringList files;
    for (int i = 1; i <= 16; ++i) {
        const QString file = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!file.isEmpty())
            files << file;
    }
    return files;
}

void CMainFrame::addRecentFile(const QString &path) {
    QStringList files = recentFiles();
    files.removeIf([&](const QString &f) { return f.compare(path, Qt::CaseInsensitive) == 0; });
    files.prepend(path);
    const int count = documentSettings().recentCount();
    while (files.size() > count)
        files.removeLast();
    QSettings settings = frameSettings();
    settings.beginGroup(QString::fromLatin1(recentGroup));
    for (int i = 1; i <= 16; ++i) {
        if (i <= files.size())
            settings.setValue(QStringLiteral("File%1").arg(i), files.at(i - 1));
        else
            settings.remove(QStringLiteral("File%1").arg(i));
    }
    rebuildRecentMenu();
}

void CMainFrame::rebuildRecentMenu() {
    for (int id = ID_FILE_MRU_FILE1; id <= ID_FILE_MRU_LAST; ++id)
        delete commands_.take(id);
    recentMenu_->clear();
    const QStringList files = recentFiles();
    for (int i = 0; i < files.size() && i < 16; ++i) {
        const QString path = files.at(i);
        addFrameCommand(recentMenu_, ID_FILE_MRU_FILE1 + i,
                        QStringLiteral("&%1 %2").arg(i + 1).arg(path), [this, path] {
                            BusyGuard busy;
                            OpenDocumentPath(path);
                        });
    }
    recentMenu_->setEnabled(!files.isEmpty());
}

// ---------------------------------------------------------------------------------------------
// Activation, status and command states

void CMainFrame::onSubWindowActivated() {
    if (auto *child = qobject_cast<CChildFrame *>(mdi_->currentSubWindow()))
        current_ = child;
    CTarvelLiteView *view = activeView();
    if (view && view != lastActive_) {
        lastActive_ = view;
        zoomSlider_->blockSignals(true);
        zoomSlider_->setValue(std::clamp(view->zoomPercent() <= 100 ? view->zoomPercent()
                                                                    : view->zoomPercent() / 5 + 80,
                                         10, 200));
        zoomSlider_->blockSignals(false);
        setStatusText(ID_ZOOM_PANE, QStringLiteral("%1%").arg(view->zoomPercent()));
        view->onActivated();
    }
    if (!view)
        lastActive_ = nullptr;
    updateCommandStates();
    scheduleStatusUpdate();
    emit activeViewChanged(view);
}

void CMainFrame::scheduleStatusUpdate() {
    if (statusUpdatePending_)
        return;
    statusUpdatePending_ = true;
    QTimer::singleShot(0, this, [this] {
        statusUpdatePending_ = false;
        updateStatus();
    });
}

void CMainFrame::updateStatus() {
    for (QMdiSubWindow *w : mdi_->subWindowList()) {
        if (auto *child = qobject_cast<CChildFrame *>(w); child && child->view() != activeView())
            child->view()->setWindowTitle(child->getDocument()->displayTitle());
    }
    if (CTarvelLiteView *view = activeView())
        view->UpdateStatusAndTitle();
    else
        ClearDocumentStatus();
}

void CMainFrame::ClearDocumentStatus() {
    for (int id : {int(PANE_PAGE), int(PANE_WORDS), int(PANE_LINE_COL), int(PANE_LANGUAGE)})
        setStatusText(id, QString());
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
    fontBox_->setEnabled(hasView);
    sizeBox_->setEnabled(hasView);
}

void CMainFrame::closeEvent(QCloseEvent *event) {
    if (printPreviewActive()) {
        event->ignore();
        return;
    }
    mdi_->closeAllSubWindows();
    if (!mdi_->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    if (closingHook)
        closingHook();
    event->accept();
}

} // namespace tarvellite::ui
