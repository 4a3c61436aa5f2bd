#pragma once

#include "core/app/folders.h"
#include "core/app/paper_sizes.h"
#include "core/app/settings.h"
#include "core/app/version.h"
#include "core/input/input_context.h"
#include "core/input/keyboard_data.h"
#include "core/input/keyboard_language_state.h"
#include "ui/app/app_context.h"
#include "ui/app/splash.h"

#include <QMainWindow>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QSocketNotifier;

namespace tarvellite::ui {

/// The single application object. It owns the keyboard tables and the input context, the
/// settings in memory and their store, the folder paths, the paper size table and the main
/// window, and runs start-up (`InitInstance`) and shutdown (`OnClosingMainFrame`,
/// `ExitInstance`).
///
/// The main window and the document handling hook into start-up through `hooks()` before
/// `InitInstance` runs; the windows share the application's `context()`.
class CTarvelLiteApp : public QObject {
    Q_OBJECT
  public:
    /// What start-up calls on the other parts of the program; each may be left empty.
    struct Hooks {
        /// Finds and loads the installed dictionaries (after the settings are loaded).
        std::function<void(CTarvelLiteApp &)> findDictionaries;
        /// Creates the main frame; null (or no hook) ends start-up. Its close handler must call
        /// `OnClosingMainFrame()` once it has decided to close.
        std::function<QMainWindow *(CTarvelLiteApp &)> createMainFrame;
        /// Reopens the recovery files an earlier run left behind (before the command line's
        /// files); returns how many. With any, no empty document is made.
        std::function<int(CTarvelLiteApp &)> reopenRecoveryFiles;
        /// Writes what would be lost right away, when the program is asked to end from outside
        /// (termination signal, the desktop session ending), before the windows close.
        std::function<void(CTarvelLiteApp &)> beforeTermination;
        /// Opens a document named on the command line; false ends start-up.
        std::function<bool(CTarvelLiteApp &, const QString &path)> openDocument;
        /// Creates the first empty document when no file is named; false ends start-up.
        std::function<bool(CTarvelLiteApp &)> newDocument;
        /// Stores the state of the windows into the settings just before they are saved.
        std::function<void(CTarvelLiteApp &)> storeWindowState;
    };

    /// Where the program runs. Empty fields take the real places; tests point them elsewhere.
    struct Environment {
        /// Folder of the executable (the keyboard data file lies here).
        QString programFolder;
        /// The user's documents folder.
        QString documentsFolder;
        /// The settings store; null: the QSettings store.
        std::unique_ptr<SettingsStore> store;
        /// Whether the rich-text editing component can be created; null: the real check.
        std::function<bool()> richTextCheck;
        /// How long the splash stays on screen at least, counted from when it was shown.
        int splashMinimumMs = 1500;
    };

    explicit CTarvelLiteApp(QObject *parent = nullptr);
    explicit CTarvelLiteApp(Environment environment, QObject *parent = nullptr);
    ~CTarvelLiteApp() override;

    /// Runs start-up with the command line `arguments` (the program name first). False: start-up
    /// ended (its message, if any, has been shown) and the process is to exit.
    bool InitInstance(const QStringList &arguments);
    /// The process's exit code for the event loop's `loopResult`.
    int ExitInstance(int loopResult);
    /// Called when the main window closes: stores the windows' state and saves the settings,
    /// once.
    void OnClosingMainFrame();

    Hooks &hooks() { return hooks_; }

    // The members start-up fills.
    const AppFolders &folders() const { return folders_; }
    /// Folder of the executable, no trailing "/".
    const std::string &programFolder() const { return folders_.programFolder; }
    /// The user's documents folder + "Orvani Software/".
    const std::string &documentsBase() const { return folders_.documentsBase; }
    /// What the windows share: settings, keyboard, dictionaries, busy flag.
    AppContext &context() { return context_; }
    KeyboardTables &keyboardTables() { return keyboardTables_; }
    InputContext &inputContext() { return inputContext_; }
    LanguageState &languageState() { return languageState_; }
    Settings &settings() { return settings_; }
    SettingsStore &settingsStore() { return *store_; }
    const PaperSizeTable &paperSizes() const { return paperSizeTable(); }
    const VersionRecord &versionRecord() const { return versionRecord_; }
    /// 0 on Linux: the default font of new documents is "Arial".
    int legacyFontFlag() const { return legacyFontFlag_; }
    /// The preferences' working copy of `General.measureUnit`.
    int measureUnit() const { return measureUnit_; }
    void setMeasureUnit(int unit) { measureUnit_ = unit; }
    /// Set from construction until the main window shows, while the settings are saved and
    /// around document file operations; timed work does nothing while it is set.
    bool busy() const { return context_.busy(); }
    /// The files named on the command line.
    const QStringList &commandLineFiles() const { return commandLineFiles_; }

    QMainWindow *mainWindow() const { return mainWindow_; }
    CSplash *splash() const { return splash_; }
    /// Whether the settings have been saved by this run.
    bool settingsSaved() const { return settingsSaved_; }

    /// Checks that the rich-text editing component can be created: a text edit whose document
    /// keeps formatted text.
    static bool richTextComponentAvailable();

  signals:
    /// The settings have been written to the store.
    void settingsWritten();

  private:
    void closeSplash();
    void closeSplashWhenShownLongEnough();
    void installTerminationHandlers();
    void terminationRequested();
    void closeWhenNoDialogIsOpen();

    Environment environment_;
    Hooks hooks_;
    std::unique_ptr<SettingsStore> store_;
    AppFolders folders_;
    KeyboardTables keyboardTables_;
    InputContext inputContext_{keyboardTables_};
    KeyboardLanguageState languageState_{keyboardTables_, inputContext_};
    Settings settings_;
    AppContext context_{settings_, keyboardTables_, inputContext_};
    /// Holds the busy flag from construction until the main window shows.
    std::optional<BusyGuard> startUpBusy_{std::in_place, context_.busyFlag()};
    VersionRecord versionRecord_;
    int legacyFontFlag_ = 0;
    int measureUnit_ = 1;
    bool settingsSaved_ = false;
    QStringList commandLineFiles_;
    QPointer<QMainWindow> mainWindow_;
    QPointer<CSplash> splash_;
    qint64 splashShownAtMs_ = 0;
    QSocketNotifier *terminationNotifier_ = nullptr;
};

/// Handles `--help` and `--version` before any window exists: prints to standard output and
/// returns the exit code, or nothing when the program is to start.
std::optional<int> handleInformationOptions(const QStringList &arguments);

} // namespace tarvellite::ui
