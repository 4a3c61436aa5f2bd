#include "ui/mainwindow/frame_input.h"

#include "ui/mainwindow/dock_panes.h"
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

void FrameInput::inputSelectionChanged() {
    // The on-screen keyboard follows the selection itself: its lists, captions, lookup
    // dictionary and the Keyboard drop-down.
    if (!frame_->keyboardPane() || !frame_->keyboardPane()->dialog())
        frame_->BuildKeyboardMenu();
    frame_->updateStatus();
}

} // namespace tarvellite::ui
