#include "ui/mainwindow/main_frame.h"

#include "core/app/file_io.h"
#include "core/app/messages.h"
#include "core/app/version.h"
#include "core/document/backup_name.h"
#include "ui/app/app_context.h"
#include "ui/app/splash.h"
#include "ui/document/command_ids.h"
#include "ui/document/document_io.h"
#include "ui/document/document_settings.h"
#include "ui/document/file_hold.h"
#include "ui/document/model_mapping.h"
#include "ui/document/picture_file.h"
#include "ui/document/recovery.h"
#include "ui/document/ruler_bar.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"
#include "ui/explorer/flat_frame.h"
#include "ui/input/caps_lock.h"
#include "ui/input/kbd_dialog.h"
#include "ui/legacy/legacy_on_open.h"
#include "ui/mainwindow/child_frame.h"
#include "ui/mainwindow/dock_panes.h"
#include "ui/mainwindow/document_tabs.h"
#include "ui/mainwindow/frame_input.h"
#include "ui/mainwindow/windows_dialog.h"
#include "ui/preferences/preferences.h"
#include "ui/spelling/spell_marker.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QSettings>
#include <QSlider>
#include <QStatusBar>
#include <QTabBar>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

namespace tarvellite::ui {

namespace {

constexpr const char *recentGroup = "Recent File List";
/// Version of the saved window layout; a layout of another version is ignored.
constexpr int windowStateVersion = 1;
constexpr const char *windowSection = "MainFrame";

QSettings frameSettings() {
    return QSettings(QStringLiteral("Orvani Software"), QStringLiteral("TarvelLite"));
}

QByteArray toByteArray(const Bytes &bytes) {
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

Bytes toBytes(const QByteArray &array) {
    return Bytes(array.begin(), array.end());
}

} // namespace

CMainFrame::CMainFrame(AppContext &context, QWidget *parent)
    : QMainWindow(parent), context_(context) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(QString::fromUtf8(productName));
    setDockOptions(AnimatedDocks | AllowTabbedDocks | AllowNestedDocks);
    setTabPosition(Qt::AllDockWidgetAreas, QTabWidget::South);
    mdi_ = new QMdiArea(this);
    mdi_->setObjectName(QStringLiteral("documentArea"));
    mdi_->setAccessibleName(QStringLiteral("Documents"));
    mdi_->setDocumentMode(true);
    mdi_->setTabsClosable(true);
    mdi_->setTabsMovable(true);
    tabs_ = new DocumentTabs(mdi_);
    setAcceptDrops(true);

    const Settings &settings = context_.settings();
    textColour_ = colourFromColorref(settings.general.textColour);
    backColour_ = colourFromColorref(settings.general.backgroundColour);

    // The keyboard routing first: the documents created later type through it.
    const EditOption &edit = settings.editOption;
    input_ = new FrameInput(this, context_.inputContext(),
                            EngineOptions{.enhancedEditing = edit.enhancedEditing != 0,
                                          .autoPulli = edit.autoPulliOn()});
    context_.setInputRouter(&input_->router());

    // In creation order: the tabbed or overlapping document area, the command bars, the status
    // bar, the panes, the ruler slot, the title, the auto-save timer and the panes' field font.
    installLegacyConversionOnOpen();
    setTabbedMode(settings.tabbedMode != 0);
    createCommands();
    createRibbon();
    createStatusBar();
    createPanes();
    createRibbonMenus();
    if (CFlatFrame *explorer = folderPane_->explorer())
        explorer->selectFolder(QString::fromStdString(settings.defaultUserPath));
    rulerSlot_ = new QWidget(this);
    (new QVBoxLayout(rulerSlot_))->setContentsMargins(0, 0, 0, 0);
    rulerSlot_->setObjectName(commandName(ID_VIEW_RULER));
    rulerSlot_->setAccessibleName(QStringLiteral("Ruler"));
    rulerSlot_->setVisible(false);
    auto *ruler =
        new CRulerBar([this] { return context_.settings().general.measureUnit; }, rulerSlot_);
    rulerSlot_->layout()->addWidget(ruler);
    connect(this, &CMainFrame::activeViewChanged, ruler, &CRulerBar::setView);
    connect(&context_, &AppContext::settingsChanged, ruler, qOverload<>(&QWidget::update));
    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(rulerSlot_);
    column->addWidget(mdi_, 1);
    setCentralWidget(central);
    connect(mdi_, &QMdiArea::subWindowActivated, this, &CMainFrame::onSubWindowActivated);
    connect(&context_, &AppContext::settingsChanged, this, &CMainFrame::onSettingsChanged);
    connect(&context_, &AppContext::printPreviewChanged, this,
            [this](bool on) { input_->router().setPrintPreviewActive(on); });

    statusFont_ = QFont(QStringLiteral("Arial"));
    statusFont_.setPointSize(14);
    autoSaveTimer_.setObjectName(QStringLiteral("autoSaveTimer"));
    // One minute; TARVELLITE_AUTOSAVE_TICK_MS shortens it for tests that crash the program.
    const int tick = qEnvironmentVariableIntValue("TARVELLITE_AUTOSAVE_TICK_MS");
    autoSaveTimer_.setInterval(tick > 0 ? tick : 60000);
    connect(&autoSaveTimer_, &QTimer::timeout, this, &CMainFrame::onAutoSaveTick);
    startAutoSaveTimer();
    lockKeysTimer_.setInterval(250);
    connect(&lockKeysTimer_, &QTimer::timeout, this, &CMainFrame::updateLockPanes);
    lockKeysTimer_.start();
    qApp->installEventFilter(this);

    rebuildRecentMenu();
    updateColourIcons();
    updateCommandStates();
    ClearDocumentStatus();
    updateLockPanes();
    resize(1100, 760);
    restoreWindowState();
    syncPaneToggles();
    updateTitle();
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
    // The document windows go first, while the frame is whole, and nothing they signal on the
    // way out reaches it.
    mdi_->disconnect(this);
    // The panes hide as the window goes; the command toggles they update are gone by then.
    for (QDockWidget *pane :
         std::initializer_list<QDockWidget *>{keyboardPane_, folderPane_, findPane_, spellPane_})
        if (pane)
            pane->disconnect(this);
    for (QMdiSubWindow *w : mdi_->subWindowList()) {
        w->disconnect(this);
        if (auto *child = qobject_cast<CChildFrame *>(w)) {
            child->view()->disconnect(this);
            child->getDocument()->disconnect(this);
        }
    }
    delete mdi_;
    mdi_ = nullptr;
    // A window still shown hides its panes as it goes: their toggles are gone by then.
    for (QDockWidget *pane : findChildren<QDockWidget *>())
        pane->disconnect(this);
    context_.setInputRouter(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Status bar and panes

void CMainFrame::createStatusBar() {
    QStatusBar *bar = statusBar();
    bar->setObjectName(commandName(ID_STATUS_BAR));
    bar->setAccessibleName(QStringLiteral("Status bar"));
    const struct {
        int id;
        const char *label;
    } panes[] = {
        {PANE_PAGE, "Page No: x of xx"},
        {PANE_WORDS, "Total Words: xxxxxxxx"},
        {PANE_LINE_COL, "Language Keyboard"},
        {PANE_DICTIONARY, "No Dictionary Loaded..."},
        {PANE_LANGUAGE, "Language: Malayalam  Keyboard: DOE Standard "},
    };
    for (const auto &pane : panes) {
        auto *label = new QLabel(QString::fromUtf8(pane.label), bar);
        label->setObjectName(paneName(pane.id));
        label->setAccessibleName(QString::fromUtf8(pane.label));
        label->setMinimumWidth(60);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        bar->addWidget(label);
        panes_.insert(pane.id, label);
    }

    // "View Shortcuts": two buttons that no command is bound to.
    for (const auto &[id, text] :
         {std::pair{ID_VIEW_PAGEVIEW, "PageView"}, std::pair{ID_VIEW_NORMALVIEW, "Normal View"}}) {
        auto *button = new QToolButton(bar);
        button->setObjectName(commandName(id));
        button->setAccessibleName(QString::fromUtf8(text));
        button->setToolTip(QString::fromUtf8(text));
        button->setIcon(style()->standardIcon(id == ID_VIEW_PAGEVIEW
                                                  ? QStyle::SP_FileDialogDetailedView
                                                  : QStyle::SP_FileDialogListView));
        button->setIconSize(QSize(14, 14));
        button->setAutoRaise(true);
        button->setEnabled(false);
        bar->addPermanentWidget(button);
    }

    zoomPane_ = new QToolButton(bar);
    zoomPane_->setText(QStringLiteral("100%"));
    zoomPane_->setAutoRaise(true);
    zoomPane_->setMinimumWidth(zoomPane_->fontMetrics().horizontalAdvance(QStringLiteral("1000%")) +
                               12);
    zoomPane_->setObjectName(commandName(ID_ZOOM_PANE));
    zoomPane_->setAccessibleName(QStringLiteral("Zoom"));
    zoomPane_->setToolTip(QStringLiteral("Zoom"));
    connect(zoomPane_, &QToolButton::clicked, this, [this] {
        if (CTarvelLiteView *view = activeView())
            view->resetZoom();
        else
            setZoomSliderPosition(100);
    });
    bar->addPermanentWidget(zoomPane_);

    auto *zoomOut = new QToolButton(bar);
    zoomOut->setText(QStringLiteral("−"));
    zoomOut->setObjectName(QStringLiteral("zoom-out"));
    zoomOut->setAccessibleName(QStringLiteral("Zoom Out"));
    zoomOut->setToolTip(QStringLiteral("Zoom Out"));
    zoomOut->setAutoRaise(true);
    zoomSlider_ = new QSlider(Qt::Horizontal, bar);
    zoomSlider_->setRange(10, 200);
    zoomSlider_->setPageStep(10);
    zoomSlider_->setValue(100);
    zoomSlider_->setFixedWidth(100);
    zoomSlider_->setObjectName(commandName(ID_ZOOM_SLIDER));
    zoomSlider_->setAccessibleName(QStringLiteral("Zoom Slider"));
    auto *zoomIn = new QToolButton(bar);
    zoomIn->setText(QStringLiteral("+"));
    zoomIn->setObjectName(QStringLiteral("zoom-in"));
    zoomIn->setAccessibleName(QStringLiteral("Zoom In"));
    zoomIn->setToolTip(QStringLiteral("Zoom In"));
    zoomIn->setAutoRaise(true);
    connect(zoomOut, &QToolButton::clicked, zoomSlider_,
            [this] { zoomSlider_->setValue(zoomSlider_->value() - zoomSlider_->pageStep()); });
    connect(zoomIn, &QToolButton::clicked, zoomSlider_,
            [this] { zoomSlider_->setValue(zoomSlider_->value() + zoomSlider_->pageStep()); });
    connect(zoomSlider_, &QSlider::valueChanged, this, [this](int position) {
        if (CTarvelLiteView *view = activeView())
            setStatusText(ID_ZOOM_PANE, QStringLiteral("%1%").arg(view->zoomFromSlider(position)));
    });
    bar->addPermanentWidget(zoomOut);
    bar->addPermanentWidget(zoomSlider_);
    bar->addPermanentWidget(zoomIn);

    for (const auto &[id, label] :
         {std::pair{PANE_CAPS, "Caps"}, std::pair{PANE_NUMS, "Nums"}, std::pair{PANE_INS, "Ins"}}) {
        auto *pane = new QLabel(QString::fromUtf8(label), bar);
        pane->setObjectName(paneName(id));
        pane->setAccessibleName(QString::fromUtf8(label));
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(QStringLiteral("OVR")) + 8);
        pane->setAlignment(Qt::AlignCenter);
        bar->addPermanentWidget(pane);
        panes_.insert(id, pane);
    }
    panes_.value(PANE_WORDS)->clear();
}

void CMainFrame::createPanes() {
    keyboardPane_ = new CKbdToolBar(context_, *this, this);
    folderPane_ = new CDirClass(context_, *this, this);
    findPane_ = new CSearchDock(context_, *this, this);
    spellPane_ = new CSpellDock(context_, *this, this);

    addDockWidget(Qt::LeftDockWidgetArea, folderPane_);
    tabifyDockWidget(folderPane_, findPane_);
    tabifyDockWidget(folderPane_, spellPane_);
    folderPane_->raise();
    resizeDocks({folderPane_}, {200}, Qt::Horizontal);

    addDockWidget(Qt::BottomDockWidgetArea, keyboardPane_);
    keyboardPane_->setWindowTitle(QStringLiteral("On Screen Keyboard"));
    keyboardPane_->setAccessibleName(keyboardPane_->windowTitle());
    resizeDocks({keyboardPane_}, {220}, Qt::Vertical);
    keyboardPane_->show();

    for (QDockWidget *pane :
         {static_cast<QDockWidget *>(keyboardPane_), static_cast<QDockWidget *>(folderPane_),
          static_cast<QDockWidget *>(findPane_), static_cast<QDockWidget *>(spellPane_)})
        connect(pane, &QDockWidget::visibilityChanged, this, &CMainFrame::syncPaneToggles);
    syncPaneToggles();
    // The look-ahead's dictionary loads once the window has been painted (or after a moment
    // when it is not shown), so that start-up does not wait for it; until then the dictionary
    // pane says that none is loaded.
    QTimer::singleShot(1000, this, &CMainFrame::loadLookAheadDictionary);
}

void CMainFrame::loadLookAheadDictionary() {
    if (lookAheadLoaded_)
        return;
    lookAheadLoaded_ = true;
    keyboardPane_->refreshDictionaryStatus(true);
}

bool CMainFrame::event(QEvent *event) {
    if (event->type() == QEvent::Paint && !lookAheadLoaded_)
        QTimer::singleShot(0, this, &CMainFrame::loadLookAheadDictionary);
    return QMainWindow::event(event);
}

void CMainFrame::syncPaneToggles() {
    const std::pair<QDockWidget *, int> toggles[] = {{keyboardPane_, ID_CHKKBD},
                                                     {folderPane_, ID_CHKFE},
                                                     {findPane_, ID_CHKFR},
                                                     {spellPane_, ID_DICTIONARY}};
    for (const auto &[pane, id] : toggles)
        if (QAction *toggle = commands_.value(id))
            toggle->setChecked(!pane->isHidden());
}

void CMainFrame::togglePane(QDockWidget *pane) {
    if (!pane)
        return;
    if (pane->isHidden()) {
        pane->show();
        pane->raise();
    } else {
        pane->hide();
    }
}

void CMainFrame::storeWindowState() {
    SettingsStore *store = context_.store();
    if (!store)
        return;
    if (CFlatFrame *explorer = folderPane_->explorer())
        explorer->storeState();
    store->writeBinary(windowSection, "Geometry", toBytes(saveGeometry()));
    store->writeBinary(windowSection, "Layout", toBytes(saveState(windowStateVersion)));
}

void CMainFrame::restoreWindowState() {
    SettingsStore *store = context_.store();
    if (!store)
        return;
    // A layout another build wrote that no longer fits is ignored: the panes stay as created.
    if (const std::optional<Bytes> geometry = store->readBinary(windowSection, "Geometry"))
        restoreGeometry(toByteArray(*geometry));
    if (const std::optional<Bytes> layout = store->readBinary(windowSection, "Layout"))
        restoreState(toByteArray(*layout), windowStateVersion);
}

// ---------------------------------------------------------------------------------------------
// ViewHost and FrameServices

const Settings &CMainFrame::settings() const {
    return context_.settings();
}

BusyFlag &CMainFrame::busyFlag() {
    return context_.busyFlag();
}

InputRouter *CMainFrame::inputRouter() const {
    return input_ ? &input_->router() : nullptr;
}

LookAheadSource *CMainFrame::lookAheadSource() const {
    return context_.lookAheadSource();
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
    if (QLabel *label = panes_.value(paneId); label && label->text() != text) {
        label->setText(text);
        // The pane's name is its label; what it shows now is its description.
        label->setAccessibleDescription(text);
    }
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

QString CMainFrame::languageText() const {
    return input_ ? input_->languageName() : QString();
}

QString CMainFrame::keyboardText() const {
    return input_ ? input_->keyboardName() : QString();
}

void CMainFrame::setPrintPreviewMode(bool on) {
    context_.setPrintPreviewActive(on);
    if (on)
        rulerSlot_->hide();
    for (QWidget *w :
         std::initializer_list<QWidget *>{keyboardPane_->widget(), folderPane_->widget(),
                                          findPane_->widget(), spellPane_->widget(), statusBar()})
        w->setEnabled(!on);
    mdi_->setEnabled(!on);
    updateCommandStates();
}

bool CMainFrame::printPreviewActive() const {
    return context_.printPreviewActive();
}

bool CMainFrame::SetDictionaryStatus(const QString &text) {
    if (!panes_.contains(PANE_DICTIONARY))
        return false;
    setStatusText(PANE_DICTIONARY, text);
    return true;
}

QWidget *CMainFrame::GetFloatingKeyboardFrame() const {
    return keyboardPane_ && keyboardPane_->isFloating() && keyboardPane_->isVisible()
               ? keyboardPane_
               : nullptr;
}

QTextEdit *CMainFrame::activeDocumentEdit() const {
    return activeView();
}

// ---------------------------------------------------------------------------------------------
// Keyboard selection, lock keys and the idle status

int CMainFrame::CycleInputSelection(bool language) {
    if (CKbdDialog *keyboard = keyboardPane_ ? keyboardPane_->dialog() : nullptr)
        return language ? keyboard->cycleLanguageList() : keyboard->cycleKeyboardList();
    InputContext &input = context_.inputContext();
    const int languages = int(input.tables().languageTable.size());
    if (languages == 0)
        return -1;
    if (language) {
        input.cycleLanguage();
        return input.currentLanguageIndex();
    }
    if (input.currentLanguageIndex() < 0 || input.currentLanguage().keyboardsInLanguage <= 0)
        return -1;
    input.cycleKeyboard();
    return input.currentLanguage().selectedKeyboard;
}

void CMainFrame::updateLockPanes() {
    const bool caps = CapsLock::isOn();
    if (caps != capsRemembered_)
        capsRemembered_ = caps;
    setStatusText(PANE_CAPS, caps ? QStringLiteral("CAP") : QString());
    setStatusText(PANE_NUMS, LockKeys::numLockOn() ? QStringLiteral("NUM") : QString());
    setStatusText(PANE_INS, overtype_ ? QStringLiteral("OVR") : QStringLiteral("INS"));
    if (CKbdDialog *keyboard = keyboardPane_ ? keyboardPane_->dialog() : nullptr)
        keyboard->showLockStates(caps, overtype_);
}

void CMainFrame::setOvertype(bool on) {
    overtype_ = on;
    for (QMdiSubWindow *w : mdi_->subWindowList())
        if (auto *child = qobject_cast<CChildFrame *>(w))
            child->view()->setOverwriteMode(on);
    updateLockPanes();
}

bool CMainFrame::eventFilter(QObject *watched, QEvent *event) {
    // The Insert key switches between inserting and overtyping in every document, as the "Ins"
    // pane shows; Shift+Insert and Ctrl+Insert stay paste and copy.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto *key = static_cast<QKeyEvent *>(event);
        auto *widget = static_cast<QWidget *>(watched);
        if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier &&
            widget->window() == this && widget == QApplication::focusWidget()) {
            setOvertype(!overtype_);
            return true;
        }
    }
    if ((event->type() == QEvent::KeyRelease || event->type() == QEvent::KeyPress) &&
        watched == windowHandle())
        QTimer::singleShot(0, this, &CMainFrame::updateLockPanes);
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Settings, timer and small windows

void CMainFrame::onSettingsChanged(unsigned parts) {
    const Settings &settings = context_.settings();
    if (parts & BackupPart)
        startAutoSaveTimer();
    if (parts & EditPart) {
        input_->engine().options() =
            EngineOptions{.enhancedEditing = settings.editOption.enhancedEditing != 0,
                          .autoPulli = settings.editOption.autoPulliOn()};
        for (QMdiSubWindow *w : mdi_->subWindowList())
            if (auto *child = qobject_cast<CChildFrame *>(w))
                child->view()->setUndoLimit(settings.editOption.undoLevels);
    }
    if (parts & GeneralPart) {
        textColour_ = colourFromColorref(settings.general.textColour);
        backColour_ = colourFromColorref(settings.general.backgroundColour);
        updateColourIcons();
        rebuildRecentMenu();
    }
    if (parts & WindowPart &&
        (settings.tabbedMode != 0) != (mdi_->viewMode() == QMdiArea::TabbedView))
        setTabbedMode(settings.tabbedMode != 0);
    if (parts & DictionaryPart && keyboardPane_)
        keyboardPane_->refreshDictionaryStatus(true);
}

void CMainFrame::startAutoSaveTimer() {
    const BackupOption &backup = context_.settings().backupOption;
    if (!backup.autoSave) {
        autoSaveTimer_.stop();
        return;
    }
    autoSaveCountdown_ = backup.autoSaveMinutes;
    autoSaveTimer_.start();
}

void CMainFrame::onAutoSaveTick() {
    if (context_.busy())
        return;
    // The switch is read at every tick: turning auto-save off takes effect at once.
    const BackupOption &backup = context_.settings().backupOption;
    if (!backup.autoSave) {
        autoSaveTimer_.stop();
        return;
    }
    if (--autoSaveCountdown_ > 0)
        return;
    autoSaveCountdown_ = backup.autoSaveMinutes;
    // The copies of the pass before are still being written: this pass waits for the next.
    if (autoSaveRunning())
        return;
    BusyGuard busy(context_.busyFlag());
    ++autoSavePasses_;
    autoSaveFailures_.clear();
    for (QMdiSubWindow *w : mdi_->subWindowList()) {
        auto *child = qobject_cast<CChildFrame *>(w);
        if (!child || !child->view())
            continue;
        if (writeRecoveryCopy)
            writeRecoveryCopy(*child->view());
        else
            autoSaveQueue_ << child;
    }
    snapshotNextForAutoSave();
}

void CMainFrame::snapshotNextForAutoSave() {
    // One document's snapshot a turn of the event loop: what is typed meanwhile waits for one
    // snapshot at most, never for the whole pass.
    while (!autoSaveQueue_.isEmpty()) {
        const QPointer<CChildFrame> child = autoSaveQueue_.takeFirst();
        if (!child || !child->view())
            continue; // closed since the pass began
        {
            BusyGuard busy(context_.busyFlag());
            autoSaveChild(child);
        }
        if (!autoSaveQueue_.isEmpty()) {
            QTimer::singleShot(0, this, &CMainFrame::snapshotNextForAutoSave);
            return;
        }
    }
    if (autoSavePending_ == 0)
        finishAutoSavePass();
}

void CMainFrame::autoSaveChild(CChildFrame *child) {
    CTarvelLiteDoc *doc = child->getDocument();
    if (doc->viewBusy())
        return;
    if (!doc->isModified()) {
        // Saved since: the file itself is the copy.
        child->recovery().discard();
        return;
    }
    // A copy still being written is not asked for again; the next pass writes the newer text.
    if (child->recovery().writing())
        return;
    std::shared_ptr<const RichDocument> snapshot;
    {
        // Only the snapshot is taken here; the copy is made and written on the writer's thread.
        doc->setViewBusy(true);
        const auto notBusy = qScopeGuard([doc] { doc->setViewBusy(false); });
        snapshot =
            std::make_shared<const RichDocument>(richDocumentFrom(child->view()->document()));
    }
    ++autoSavePending_;
    const QString title = doc->title();
    child->recovery().write(
        std::move(snapshot), doc->pageLayout(), recoveryFolder(context_.settings()),
        protectedPathFor(*doc, context_.settings()), this, [this, title](const Status &written) {
            if (!written) {
                autoSaveFailures_ << title;
                std::fprintf(stderr, "%s: %s\n", productName, written.error().describe().c_str());
            }
            if (--autoSavePending_ == 0 && autoSaveQueue_.isEmpty())
                finishAutoSavePass();
        });
}

void CMainFrame::finishAutoSavePass() {
    // A window whose copy could not be written is tried again at the next pass.
    if (!autoSaveFailures_.isEmpty())
        statusBar()->showMessage(
            QStringLiteral("Auto-save could not write a recovery copy of %1; it is tried again "
                           "at the next pass.")
                .arg(autoSaveFailures_.join(QStringLiteral(", "))),
            60000);
    autoSaveFailures_.clear();
    emit autoSavePassFinished();
}

void CMainFrame::writeAllRecoveryCopies() {
    for (QMdiSubWindow *w : mdi_->subWindowList()) {
        auto *child = qobject_cast<CChildFrame *>(w);
        if (!child || !child->view() || !child->getDocument()->isModified())
            continue;
        CTarvelLiteDoc *doc = child->getDocument();
        child->recovery().write(
            std::make_shared<const RichDocument>(richDocumentFrom(child->view()->document())),
            doc->pageLayout(), recoveryFolder(context_.settings()),
            protectedPathFor(*doc, context_.settings()), nullptr, {});
    }
    recoveryWriter_.wait();
}

int CMainFrame::ReopenRecoveryFiles() {
    BusyGuard busy(context_.busyFlag());
    int count = 0;
    for (std::unique_ptr<RecoveryFile> &recovery :
         adoptLeftRecoveryFiles(recoveryFolder(context_.settings()), &recoveryWriter_)) {
        CChildFrame *adopted = nullptr;
        const QString recoveryPath = recovery->path();
        afterLoad_ = [this, &adopted, recoveryPath](CChildFrame *child) {
            adoptRecovered(child, recoveryPath);
            adopted = child;
        };
        const bool opened = OpenDocumentPath(recoveryPath, false);
        afterLoad_ = nullptr;
        if (!opened || !adopted) {
            // Unreadable: it stays for another start, unlocked.
            continue;
        }
        adopted->getDocument()->setModified(true);
        adopted->setRecovery(std::move(recovery));
        ++count;
    }
    return count;
}

void CMainFrame::adoptRecovered(CChildFrame *child, const QString &recoveryPath) {
    CTarvelLiteDoc *doc = child->getDocument();
    // Bound to the document it protects, under that name with " (Recovered)".
    const QString protectedPath = doc->recoveredPath();
    doc->fileHold().release();
    doc->setPath(protectedPath);
    if (protectedPath.isEmpty()) {
        // A copy that named no document (its path did not fit): an untitled document again.
        doc->setTitle(CTarvelLiteDoc::nextUntitledTitle() + QStringLiteral(" (Recovered)"));
        doc->setFileKind(FileKind::Tvl);
        return;
    }
    const QFileInfo target(protectedPath);
    const QString suffix =
        target.suffix().isEmpty() ? QString() : QLatin1Char('.') + target.suffix();
    QString title = target.completeBaseName() + QStringLiteral(" (Recovered)") + suffix;
    if (protectsMadeUpPath(recoveryPath).value_or(!target.exists())) {
        // An untitled document's made-up path: a file there is not its own, and is not replaced
        // unasked.
        doc->setPathUnconfirmed(true);
    } else if (target.exists()) {
        doc->holdFile(protectedPath);
        // Saved after the copy was written (by this program before it ended, or by another):
        // the copy may hold older text than the file.
        if (target.lastModified() > QFileInfo(recoveryPath).lastModified()) {
            title = target.completeBaseName() +
                    QStringLiteral(" (Recovered, older than the file)") + suffix;
            statusBar()->showMessage(
                QStringLiteral("%1 was saved after its recovery copy was written: the recovered "
                               "text may be older than the file.")
                    .arg(protectedPath),
                0);
        }
    }
    doc->setTitle(title);
    const FileKind kind = ClassifyFileName(QFile::encodeName(target.fileName()).toStdString());
    doc->setFileKind(kind);
    // The copy is in the program's own format; a text file on the disk tells how it is written,
    // and Save writes it the same way again.
    if (!isRtfKind(kind) && !doc->pathUnconfirmed() && target.exists()) {
        if (const Result<Bytes> bytes =
                readWholeFile(QFile::encodeName(protectedPath).toStdString(), maxDocumentBytes))
            doc->setTextFormat(detectTextFileFormat(*bytes));
    }
}

void CMainFrame::showPreferences(bool pageSetupOnly) {
    if (pageSetupOnly && printPreviewActive())
        return;
    CPreferences sheet(context_, activeView(),
                       pageSetupOnly ? CPreferences::Mode::PageSetup : CPreferences::Mode::Settings,
                       this);
    sheet.exec();
}

void CMainFrame::showAbout() {
    CSplash about(context_.settings().applicationLook, CSplash::Mode::About, this);
    about.exec();
}

void CMainFrame::showWindowManager() {
    CWindowsDialog dialog(this);
    dialog.exec();
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
    child->setRecovery(std::make_unique<RecoveryFile>(&recoveryWriter_));
    child->closeQuestion = [this, child] { return querySaveOnClose(child); };
    CTarvelLiteView *view = child->view();
    view->setOverwriteMode(overtype_);
    auto *marker = new SpellMarker(view, context_);
    view->setContextMenuExtender(
        [marker](QMenu *menu, const QPoint &point) { marker->extendMenu(menu, point); });
    connect(view, &CTarvelLiteView::formatStateChanged, this, [this, view] {
        if (view == activeView())
            updateCommandStates();
    });
    connect(view, &CTarvelLiteView::statusChanged, this, &CMainFrame::scheduleStatusUpdate);
    // A file dropped on a document window goes to that window.
    connect(view, &CTarvelLiteView::fileDropped, this, [this, child](const QString &path) {
        current_ = child;
        mdi_->setActiveSubWindow(child);
        OpenOrInsertFile(path);
    });
    connect(child->getDocument(), &CTarvelLiteDoc::modifiedChanged, this,
            &CMainFrame::scheduleStatusUpdate);
    connect(child->getDocument(), &CTarvelLiteDoc::titleChanged, this,
            &CMainFrame::scheduleStatusUpdate);
    connect(child, &QObject::destroyed, this, [this] {
        QTimer::singleShot(0, this, [this] {
            onSubWindowActivated();
            if (!activeView())
                ClearDocumentStatus();
        });
    });
    // A new document window shows the ruler again when the settings say so.
    if (context_.settings().pageDimensions.rulerVisible && rulerSlot_->isHidden() &&
        !printPreviewActive())
        rulerSlot_->show();
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
    tabs_->attach();
    onSubWindowActivated();
}

CTarvelLiteView *CMainFrame::newDocument() {
    if (printPreviewActive())
        return nullptr;
    BusyGuard busy(context_.busyFlag());
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

bool CMainFrame::OpenDocumentPath(const QString &path, bool remember) {
    const QList<QMdiSubWindow *> windows = mdi_->subWindowList(QMdiArea::StackingOrder);
    auto *top = windows.isEmpty() ? nullptr : qobject_cast<CChildFrame *>(windows.last());
    CChildFrame *target = nullptr;
    if (top && top->view()) {
        if (ActivateIfOpen(path)) {
            Message message;
            message.text = "File Already Open";
            showMessage(message);
            return false;
        }
        // An empty untitled window on top takes the document, unless it is RTF or a recovery
        // file.
        if (top->view()->document()->isEmpty() && top->getDocument()->path().isEmpty() &&
            !hasExtension(path, ".rtf") && !hasExtension(path, ".tmp"))
            target = top;
    }
    const bool reused = target != nullptr;
    if (!target)
        target = createChild();
    CTarvelLiteView *view = target->view();
    if (Status s = LoadDocumentBody(*view, path); !s) {
        if (!reused)
            delete target;
        showMessage(s.error().message, MessageIcon::Error);
        return false;
    }
    CTarvelLiteDoc *doc = target->getDocument();
    if (!afterLoad_) {
        makeBackupCopy(path);
        // A recovery file opened by hand is an ordinary document of its own path.
        doc->setRecoveredPath(QString());
    }
    if (afterLoad_) {
        // A recovery file: named after the document it protects before anything shows it.
        doc->setPath(path);
        afterLoad_(target);
    } else {
        doc->holdFile(path);
        doc->setTitle(QFileInfo(path).fileName());
        doc->setPath(path);
        if (remember)
            addRecentFile(path);
    }
    view->initialUpdate();
    if (reused) {
        view->SyncFormatBoxes();
        view->ApplyPageLayout(nullptr, false);
        current_ = target;
        mdi_->setActiveSubWindow(target);
        onSubWindowActivated();
    } else {
        showChild(target);
    }
    return true;
}

void CMainFrame::OpenOrInsertFile(const QString &path) {
    CTarvelLiteView *view = activeView();
    QPointer<CTarvelLiteView> guard = view;
    const bool wasBusy = view ? view->getDocument()->viewBusy() : false;
    if (view)
        view->getDocument()->setViewBusy(true);
    if (hasExtension(path, ".tvl") || hasExtension(path, ".tvp") || hasExtension(path, ".rtf") ||
        hasExtension(path, ".txt")) {
        BusyGuard busy(context_.busyFlag());
        OpenDocumentPath(path);
    } else if (view) {
        InsertPictureFile(*view, path);
    }
    if (guard)
        guard->getDocument()->setViewBusy(wasBusy);
}

void CMainFrame::makeBackupCopy(const QString &path) {
    // A failed copy does not stop the document opening.
    bool failed = false;
    MakeBackupCopy(path, context_.settings(), &failed);
    if (failed)
        statusBar()->showMessage(QStringLiteral("No backup copy of %1 could be made.").arg(path),
                                 10000);
}

void CMainFrame::openCommand() {
    if (printPreviewActive())
        return;
    QString path;
    if (!PromptForFileName(this, path, QStringLiteral("Open"), true,
                           QString::fromStdString(context_.settings().defaultUserPath)))
        return;
    BusyGuard busy(context_.busyFlag());
    OpenDocumentPath(path);
}

SaveEnvironment CMainFrame::saveEnvironment(CChildFrame *child) {
    SaveEnvironment env;
    env.parent = this;
    env.settings = &context_.settings();
    env.busy = &context_.busyFlag();
    env.printPreviewActive = printPreviewActive();
    env.addRecentFile = [this](const QString &path) { addRecentFile(path); };
    env.recovery = &child->recovery();
    return env;
}

bool CMainFrame::saveActiveDocument(bool saveAs) {
    CChildFrame *child = activeChild();
    if (!child || printPreviewActive())
        return false;
    const SaveEnvironment env = saveEnvironment(child);
    const SaveResult result =
        saveAs ? SaveDocumentAs(*child->view(), env) : SaveDocument(*child->view(), env);
    scheduleStatusUpdate();
    return result == SaveResult::Saved;
}

bool CMainFrame::querySaveOnClose(CChildFrame *child) {
    if (child->getDocument()->isModified()) {
        current_ = child;
        mdi_->setActiveSubWindow(child);
    }
    const bool mayClose = QuerySaveOnClose(*child->view(), saveEnvironment(child));
    scheduleStatusUpdate();
    return mayClose;
}

void CMainFrame::setTabbedMode(bool tabbed) {
    mdi_->setViewMode(tabbed ? QMdiArea::TabbedView : QMdiArea::SubWindowView);
    if (tabbed) {
        mdi_->setTabsClosable(true);
        mdi_->setTabsMovable(true);
        mdi_->setTabShape(QTabWidget::Rounded);
    }
    tabs_->attach();
    if ((context_.settings().tabbedMode != 0) != tabbed)
        context_.changeSettings(WindowPart, [tabbed](Settings &s) { s.tabbedMode = tabbed; });
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
    const int count = documentSettingsFrom(context_.settings()).recentCount();
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
                            BusyGuard busy(context_.busyFlag());
                            OpenDocumentPath(path);
                        });
    }
    recentMenu_->setEnabled(!files.isEmpty());
}

// ---------------------------------------------------------------------------------------------
// Activation, status and title

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
    if (!view) {
        lastActive_ = nullptr;
        rulerSlot_->hide();
    }
    updateCommandStates();
    scheduleStatusUpdate();
    updateTitle();
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
    updateLockPanes();
    updateTitle();
}

void CMainFrame::updateTitle() {
    const QString program = QString::fromUtf8(productName);
    CChildFrame *child = activeChild();
    const QString title =
        child ? QStringLiteral("%1 - %2").arg(child->getDocument()->displayTitle(), program)
              : program;
    if (windowTitle() != title)
        setWindowTitle(title);
}

void CMainFrame::ClearDocumentStatus() {
    for (int id : {int(PANE_PAGE), int(PANE_WORDS), int(PANE_LINE_COL), int(PANE_LANGUAGE)})
        setStatusText(id, QString());
}

namespace {

QStringList droppedFiles(const QMimeData *data) {
    QStringList files;
    if (data && data->hasUrls())
        for (const QUrl &url : data->urls())
            if (url.isLocalFile())
                files << url.toLocalFile();
    return files;
}

} // namespace

void CMainFrame::dragEnterEvent(QDragEnterEvent *event) {
    if (!droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent *event) {
    // Files dropped on the document area's background (or anywhere else in the window that does
    // not take them itself).
    const QStringList files = droppedFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    for (const QString &file : files)
        OpenOrInsertFile(file);
}

void CMainFrame::closeEvent(QCloseEvent *event) {
    // Not during print preview, nor while a close is already asking its questions.
    if (printPreviewActive() || closing_) {
        event->ignore();
        return;
    }
    const QScopedValueRollback closing(closing_, true);
    // Every modified document is asked about first, top to bottom; nothing closes until every
    // answer is in, so Cancel (or a failed save) leaves every window open as it was.
    QList<CChildFrame *> children;
    const QList<QMdiSubWindow *> windows = mdi_->subWindowList(QMdiArea::StackingOrder);
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if (auto *child = qobject_cast<CChildFrame *>(*it))
            children << child;
    for (CChildFrame *child : children) {
        if (!querySaveOnClose(child)) {
            for (CChildFrame *answered : children)
                answered->setCloseConfirmed(false);
            event->ignore();
            return;
        }
        child->setCloseConfirmed(true);
    }
    for (CChildFrame *child : children)
        child->close();
    if (!mdi_->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    storeWindowState();
    if (closingHook)
        closingHook();
    event->accept();
}

} // namespace tarvellite::ui
