#include "ui/mainwindow/frame_input.h"

#include "core/app/settings.h"
#include "ui/document/command_ids.h"
#include "ui/mainwindow/main_frame.h"

namespace tarvellite::ui {

namespace {

QString fromUnits(const std::u16string &units) {
    return QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size()));
}

} // namespace

FrameInput::FrameInput(CMainFrame *frame, InputContext &context, const EngineOptions &options)
    : QObject(frame), frame_(frame), context_(context), engine_(context),
      router_(context, engine_, this) {
    engine_.options() = options;
    router_.setMainWindow(frame);
    context_.addListener(this);
}

FrameInput::~FrameInput() {
    context_.removeListener(this);
}

QString FrameInput::languageName() const {
    const int language = context_.currentLanguageIndex();
    if (language < 0)
        return {};
    return fromUnits(context_.tables().languageTable[language].name);
}

QString FrameInput::keyboardName() const {
    const KBDTYPE *type = context_.currentKeyboardType();
    return type ? fromUnits(type->name) : QString();
}

void FrameInput::setUpLookAhead(Settings &settings) {
    settings_ = &settings;
    lookup_ = std::make_unique<LookupDictionary>(
        context_, [&settings] { return settings.editOption.lookAheadMinLetters; });
    LookAheadSource::setCurrent(lookup_.get());
    frame_->setStatusText(PANE_DICTIONARY,
                          lookup_->reload(installedDictionaries(), settings.defaultDictionaries,
                                          settings.userDictionaryPath));
}

void FrameInput::inputSelectionChanged() {
    if (lookup_ &&
        lookup_->reloadIfLanguageChanged(installedDictionaries(), settings_->defaultDictionaries,
                                         settings_->userDictionaryPath))
        frame_->setStatusText(PANE_DICTIONARY, lookup_->statusText());
    frame_->updateStatus();
}

} // namespace tarvellite::ui
