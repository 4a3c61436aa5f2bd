#pragma once

#include "core/app/busy_flag.h"
#include "core/app/settings.h"
#include "core/input/input_context.h"
#include "core/input/keyboard_data.h"
#include "core/spelling/dictionary_registry.h"

#include <QObject>
#include <functional>
#include <memory>

namespace tarvellite {
class InputRouter;
class LookAheadSource;
} // namespace tarvellite

namespace tarvellite::ui {

/// Which parts of the settings a change touched; windows follow the parts they show.
enum SettingsPart : unsigned {
    GeneralPart = 1u << 0,    ///< `General`: colours, measurement unit, recent count
    PagePart = 1u << 1,       ///< `PageDimensions` (paper, margins, ruler)
    BackupPart = 1u << 2,     ///< `BackupOption`: backups and auto-save
    EditPart = 1u << 3,       ///< `EditOption`: undo levels, look-ahead, engine, legacy
    FolderPart = 1u << 4,     ///< the user's folders
    FontPart = 1u << 5,       ///< `DefaultFont` and `DefaultFontSize`
    WindowPart = 1u << 6,     ///< `ApplicationLook`, `TabbedMode`
    DictionaryPart = 1u << 7, ///< the dictionary choices
    AllParts = ~0u,
};

/// What the windows of one running program share: the settings in memory (which notify every
/// window when they change), the keyboard tables and the input context, the installed
/// dictionaries, the `busy` flag and the print-preview state. The application object owns one
/// over its own members; a context built without arguments owns defaults of its own (tests,
/// tools). Windows get it through their constructors.
class AppContext : public QObject {
    Q_OBJECT
  public:
    explicit AppContext(QObject *parent = nullptr);
    AppContext(Settings &settings, KeyboardTables &tables, InputContext &input,
               QObject *parent = nullptr);
    ~AppContext() override;

    const Settings &settings() const { return *settings_; }
    /// Edits the settings in memory, then tells every window which `parts` changed.
    void changeSettings(unsigned parts, const std::function<void(Settings &)> &edit);
    /// Direct access for start-up and shutdown, which load and store the whole set.
    Settings &mutableSettings() { return *settings_; }

    KeyboardTables &keyboardTables() { return *tables_; }
    InputContext &inputContext() { return *input_; }
    /// The installed dictionaries, found once at start-up.
    DictionaryRegistry &dictionaries() { return dictionaries_; }
    const DictionaryRegistry &dictionaries() const { return dictionaries_; }

    /// The keyboard routing of the main window, once it exists.
    InputRouter *inputRouter() const { return router_; }
    void setInputRouter(InputRouter *router) { router_ = router; }
    /// The look-ahead's dictionary and options, once the main window has loaded them.
    LookAheadSource *lookAheadSource() const { return lookAhead_; }
    void setLookAheadSource(LookAheadSource *source) { lookAhead_ = source; }

    /// Where the windows keep their own state (geometry, layout); null: nowhere.
    SettingsStore *store() const { return store_; }
    void setStore(SettingsStore *store) { store_ = store; }

    BusyFlag &busyFlag() { return busy_; }
    bool busy() const { return busy_.isSet(); }

    bool printPreviewActive() const { return printPreview_; }
    void setPrintPreviewActive(bool on);

  signals:
    /// `parts` (a set of `SettingsPart`) of the settings changed.
    void settingsChanged(unsigned parts);
    void printPreviewChanged(bool on);

  private:
    std::unique_ptr<Settings> ownSettings_;
    std::unique_ptr<KeyboardTables> ownTables_;
    std::unique_ptr<InputContext> ownInput_;
    Settings *settings_;
    KeyboardTables *tables_;
    InputContext *input_;
    DictionaryRegistry dictionaries_;
    InputRouter *router_ = nullptr;
    LookAheadSource *lookAhead_ = nullptr;
    SettingsStore *store_ = nullptr;
    BusyFlag busy_;
    bool printPreview_ = false;
};

} // namespace tarvellite::ui
