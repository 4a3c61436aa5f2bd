#pragma once

#include "core/input/translation_engine.h"
#include "ui/app/frame_services.h"
#include "ui/document/document_saving.h"
#include "ui/document/recovery.h"
#include "ui/document/view_host.h"
#include "ui/mainwindow/child_frame.h"
#include "ui/mainwindow/ribbon/colour_menu.h"

#include <QHash>
#include <QMainWindow>
#include <QPair>
#include <QPointer>
#include <QTimer>
#include <functional>

class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QMdiArea;
class QMenu;
class QSlider;
class QToolButton;

namespace tarvellite::ui {

class AppContext;
class CChildFrame;
class CDirClass;
class CKbdToolBar;
class CSearchDock;
class CSpellDock;
class CTarvelLiteView;
class DocumentTabs;
class FrameInput;
class RibbonBar;

/// The program's main window: the document area of child frames (tabs or overlapping
/// windows), the ribbon, the four dockable panes (on-screen keyboard, folder explorer,
/// find and replace, spell checker), the ruler slot and the status bar, the one-minute timer
/// that drives auto-save, and the keyboard routing of everything typed in it.
///
/// Every command is a QAction whose object name is its command id ("32810") and whose text is
/// its caption; the font and size boxes are "32782" and "32783"; the panes are "115", "101",
/// "108" and "113"; status panes are "pane-141" … "pane-148", the zoom pane "32793" and the
/// zoom slider "32794".
class CMainFrame : public QMainWindow, public ViewHost, public FrameServices {
    Q_OBJECT
  public:
    explicit CMainFrame(AppContext &context, QWidget *parent = nullptr);
    ~CMainFrame() override;

    AppContext &context() const { return context_; }

    /// The view of the current document window, or null.
    CTarvelLiteView *activeView() const;
    /// The current document window, or null.
    CChildFrame *activeChild() const;
    QMdiArea *documentArea() const { return mdi_; }
    /// The command with `id`, or null.
    QAction *command(int id) const { return commands_.value(id); }
    /// The ribbon over the document area; null only when it could not be built, in which case
    /// the window is not `created()`.
    RibbonBar *ribbon() const { return ribbon_; }
    bool created() const { return ribbon_ != nullptr; }
    /// Shows the window look `look` (an `ApplicationLook` value) and stores it.
    void applyLook(int look);

    CKbdToolBar *keyboardPane() const { return keyboardPane_; }
    CDirClass *folderPane() const { return folderPane_; }
    CSearchDock *findPane() const { return findPane_; }
    CSpellDock *spellPane() const { return spellPane_; }
    /// The slot of the ruler bar under the command bars.
    QWidget *rulerSlot() const { return rulerSlot_; }

    /// A new untitled document window; null while print preview is active.
    CTarvelLiteView *newDocument();
    /// Opens `path` as a document (reusing an empty untitled window on top unless the file is
    /// ".rtf" or ".tmp"). False when it is already open, or cannot be read. `remember` adds it
    /// to the recent-document list.
    bool OpenDocumentPath(const QString &path, bool remember = true);
    /// Opens the recovery files an earlier run left behind, each as "<name> (Recovered)" bound
    /// to the document it protects; returns how many.
    int ReopenRecoveryFiles();
    /// Writes the recovery copy of every modified document at once and waits until they are on
    /// the disk (before the program is ended from outside).
    void writeAllRecoveryCopies();
    /// Activates the window holding `path`, if any.
    bool ActivateIfOpen(const QString &path);
    /// Opens documents, inserts any other file as a picture into the active view.
    void OpenOrInsertFile(const QString &path) override;
    /// Saves the active document, asking for a name when it has none or `saveAs` is set.
    bool saveActiveDocument(bool saveAs);
    /// Switches between tabs and overlapping windows and stores the choice (`TabbedMode`).
    void setTabbedMode(bool tabbed);
    /// The recent-document list, most recent first.
    QStringList recentFiles() const;
    void addRecentFile(const QString &path);

    /// Called once the window has decided to close (the application saves its settings).
    std::function<void()> closingHook;

    /// F2 (`language` true) or F3: the next language or keyboard, wrapping; returns the new
    /// index, or -1 when there is nothing to choose from.
    int CycleInputSelection(bool language);
    /// Runs the active view's status update, or clears the document panes.
    void updateStatus();
    void ClearDocumentStatus();
    /// Caps, Nums and Ins from the keyboard's state.
    void updateLockPanes();
    /// Updates the check and enabled states of the commands from the active view.
    void updateCommandStates();
    /// Stores the frame's geometry, dock layout and the panes shown into the settings store.
    void storeWindowState();
    /// Whether the insert key has switched the documents to overtype.
    bool overtype() const { return overtype_; }

    /// The auto-save timer: started with the interval when `BackupOption.autoSave` is set,
    /// stopped otherwise. Each tick counts a minute down, unless the application is busy.
    void startAutoSaveTimer();
    bool autoSaveTimerActive() const { return autoSaveTimer_.isActive(); }
    int autoSaveCountdown() const { return autoSaveCountdown_; }
    /// One tick of the one-minute timer (public so that tests need not wait a minute).
    void onAutoSaveTick();
    /// Replaces the writing of one window's recovery copy during the auto-save pass (tests);
    /// the pass runs with the busy flag set.
    std::function<void(CTarvelLiteView &)> writeRecoveryCopy;
    /// How many auto-save passes have run.
    int autoSavePasses() const { return autoSavePasses_; }
    /// Whether an auto-save pass is still writing (its copies are written on a thread of their
    /// own; the event loop only takes a snapshot of each document).
    bool autoSaveRunning() const { return autoSavePending_ > 0 || !autoSaveQueue_.isEmpty(); }
    /// Waits until every recovery copy asked for is on the disk.
    void waitForRecoveryCopies() { recoveryWriter_.wait(); }

    /// The preferences sheet (modal): all its pages, or the page setup alone. Page setup does
    /// nothing during print preview.
    void showPreferences(bool pageSetupOnly);
    /// Shows the About box (modal).
    void showAbout();
    /// The "Windows..." dialog: the open document windows, to activate, save or close.
    void showWindowManager();

    // ViewHost
    const Settings &settings() const override;
    BusyFlag &busyFlag() override;
    InputRouter *inputRouter() const override;
    LookAheadSource *lookAheadSource() const override;
    QStringList fontFaces() const override;
    QString fontBoxText() const override;
    void setFontBoxText(const QString &face) override;
    bool fontBoxEditing() const override;
    QString sizeBoxText() const override;
    void setSizeBoxText(const QString &text) override;
    QColor textColour() const override { return textColour_; }
    void setTextColour(const QColor &colour) override;
    QColor backColour() const override { return backColour_; }
    void setBackColour(const QColor &colour) override;
    QList<QColor> recentColours() const override { return recentColours_; }
    /// Keeps the first ten colours.
    void setRecentColours(const QList<QColor> &colours) override;
    int numberingItem() const override { return numberingItem_; }
    void setNumberingItem(int item) override { numberingItem_ = item; }
    bool hasStatusBar() const override;
    QString statusText(int paneId) const override;
    void setStatusText(int paneId, const QString &text) override;
    int zoomSliderPosition() const override;
    void setZoomSliderPosition(int position) override;
    void setZoomSliderPageStep(int step) override;
    void setPrintPreviewMode(bool on) override;
    bool printPreviewActive() const override;
    QString languageText() const override;
    QString keyboardText() const override;

    // FrameServices
    bool SetDictionaryStatus(const QString &text) override;
    void BuildKeyboardMenu() override;
    int MarkLoadedDictionary(int index) override;
    QWidget *GetFloatingKeyboardFrame() const override;
    QTextEdit *activeDocumentEdit() const override;
    QFont statusFont() const override { return statusFont_; }

    FrameInput *input() const { return input_; }

    // The drop-downs of the command bar (ribbon/ribbon_menus.cpp): the colour palettes, the
    // paragraph galleries, Undo, the Dictionary and Keyboard lists and the User Dictionary.
    using LocaleNames = QHash<QString, QPair<QString, QString>>;
    const PaletteColours &themeColours() const { return themeColours_; }
    const PaletteColours &themeShades() const { return themeShades_; }
    const PaletteColours &standardColours() const { return standardColours_; }
    /// Locale code → (code, display name) of the dictionaries listed under a display name.
    const LocaleNames &localeNames() const { return localeNames_; }
    /// The Dictionary drop-down's entry that carries the check mark, -1 for none.
    int checkedDictionary() const { return checkedDictionary_; }
    /// Rebuilds the Dictionary drop-down from the installed dictionaries.
    void buildDictionaryMenu();
    /// Undoes up to `steps` steps of the active document at once; returns how many.
    int undoSteps(int steps);
    /// Replaces the colour dialog of "More Colors..." (tests).
    ColourMenu::ColourChooser colourChooser;
    /// Replaces the modal user dictionary editor (tests); runs only when dictionaries exist.
    std::function<void()> userDictionaryEditor;

  signals:
    /// The active document view changed (null when none is left).
    void activeViewChanged(CTarvelLiteView *view);
    /// An auto-save pass has written all its copies (or failed to).
    void autoSavePassFinished();

  protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;

  private:
    void loadLookAheadDictionary();
    void createRibbonMenus();
    void chooseDictionary(int index);
    void showDictionaryChecks();
    void chooseKeyboardEntry(int language, int keyboard);
    void openUserDictionary();
    void applyChosenColour(bool text, const QColor &colour);
    QList<ColourGroup> textColourGroups() const;
    QAction *addCommand(QMenu *menu, int id, const QString &text, void (CTarvelLiteView::*slot)(),
                        const QKeySequence &shortcut = {});
    QAction *addFrameCommand(QMenu *menu, int id, const QString &text,
                             const std::function<void()> &run, const QKeySequence &shortcut = {});
    void togglePane(QDockWidget *pane);
    void syncPaneToggles();
    void createCommands();
    void createRibbon();
    void pasteSpecial();
    void insertPictureCommand();
    void tileWindows(bool sideBySide);
    void createStatusBar();
    void createPanes();
    void restoreWindowState();
    void onSettingsChanged(unsigned parts);
    CChildFrame *createChild();
    void showChild(CChildFrame *child);
    void onSubWindowActivated();
    void scheduleStatusUpdate();
    void updateTitle();
    void openCommand();
    void rebuildRecentMenu();
    void updateColourIcons();
    void setOvertype(bool on);
    /// One window's auto-save: a snapshot of a modified document is handed to the recovery
    /// writer; an unmodified one needs no copy.
    void autoSaveChild(CChildFrame *child);
    void snapshotNextForAutoSave();
    void finishAutoSavePass();
    /// What saving a window's document needs from the main window.
    SaveEnvironment saveEnvironment(CChildFrame *child);
    /// The close question of one window, brought to the front first.
    bool querySaveOnClose(CChildFrame *child);
    /// The backup copy of a document just opened, when the settings ask for one.
    void makeBackupCopy(const QString &path);
    /// Binds a window just loaded from the recovery file `recoveryPath` to the document it
    /// protects.
    void adoptRecovered(CChildFrame *child, const QString &recoveryPath);

    AppContext &context_;
    QMdiArea *mdi_ = nullptr;
    DocumentTabs *tabs_ = nullptr;
    QHash<int, QAction *> commands_;
    RibbonBar *ribbon_ = nullptr;
    QActionGroup *alignment_ = nullptr;
    QActionGroup *looks_ = nullptr;
    QComboBox *fontBox_ = nullptr;
    QComboBox *sizeBox_ = nullptr;
    QSlider *zoomSlider_ = nullptr;
    QToolButton *zoomPane_ = nullptr;
    QHash<int, QLabel *> panes_;
    QMenu *recentMenu_ = nullptr;
    QWidget *rulerSlot_ = nullptr;
    CKbdToolBar *keyboardPane_ = nullptr;
    CDirClass *folderPane_ = nullptr;
    CSearchDock *findPane_ = nullptr;
    CSpellDock *spellPane_ = nullptr;
    QColor textColour_ = Qt::black;
    QColor backColour_ = Qt::white;
    QList<QColor> recentColours_;
    PaletteColours themeColours_;
    PaletteColours themeShades_;
    PaletteColours standardColours_;
    LocaleNames localeNames_;
    int checkedDictionary_ = -1;
    QPointer<QMenu> dictionaryMenu_;
    QPointer<QMenu> keyboardMenu_;
    QFont statusFont_;
    int numberingItem_ = 1;
    bool statusUpdatePending_ = false;
    bool updatingBoxes_ = false;
    bool capsRemembered_ = false;
    bool overtype_ = false;
    bool lookAheadLoaded_ = false;
    QTimer autoSaveTimer_;
    /// Writes the recovery copies; lives longer than every document window.
    RecoveryWriter recoveryWriter_;
    int autoSavePending_ = 0;
    /// The windows of the running pass whose snapshot is still to be taken.
    QList<QPointer<CChildFrame>> autoSaveQueue_;
    QStringList autoSaveFailures_;
    bool closing_ = false;
    QTimer lockKeysTimer_;
    int autoSaveCountdown_ = 0;
    int autoSavePasses_ = 0;
    QPointer<CTarvelLiteView> lastActive_;
    QPointer<CChildFrame> current_;
    FrameInput *input_ = nullptr;
    /// Set while recovery files are reopened: runs on each window after its file is read.
    std::function<void(CChildFrame *)> afterLoad_;
};

} // namespace tarvellite::ui
