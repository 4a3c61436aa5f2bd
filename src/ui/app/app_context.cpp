#include "ui/app/app_context.h"

namespace tarvellite::ui {

AppContext::AppContext(QObject *parent)
    : QObject(parent),
      ownSettings_(std::make_unique<Settings>(Settings::defaults(AppFolders{}, 0))),
      ownTables_(std::make_unique<KeyboardTables>()),
      ownInput_(std::make_unique<InputContext>(*ownTables_)), settings_(ownSettings_.get()),
      tables_(ownTables_.get()), input_(ownInput_.get()) {}

AppContext::AppContext(Settings &settings, KeyboardTables &tables, InputContext &input,
                       QObject *parent)
    : QObject(parent), settings_(&settings), tables_(&tables), input_(&input) {}

AppContext::~AppContext() = default;

void AppContext::changeSettings(unsigned parts, const std::function<void(Settings &)> &edit) {
    if (edit)
        edit(*settings_);
    emit settingsChanged(parts);
}

void AppContext::setPrintPreviewActive(bool on) {
    if (printPreview_ == on)
        return;
    printPreview_ = on;
    emit printPreviewChanged(on);
}

} // namespace tarvellite::ui
