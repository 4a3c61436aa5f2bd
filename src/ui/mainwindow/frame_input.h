#pragma once

#include "core/input/translation_engine.h"
#include "ui/input/input_router.h"

#include <QObject>

namespace tarvellite::ui {

class CMainFrame;

/// The main window's keyboard: the translation engine with the editing settings and the
/// routing that hands it every key typed in the window. Lives as long as the window.
class FrameInput : public QObject, public InputListener {
    Q_OBJECT
  public:
    FrameInput(CMainFrame *frame, InputContext &context, const EngineOptions &options);
    ~FrameInput() override;

    TranslationEngine &engine() { return engine_; }
    InputRouter &router() { return router_; }

    /// "Lang: %s,  Kbd: %s" parts: the current language's and keyboard's names.
    QString languageName() const;
    QString keyboardName() const;

  private:
    void inputSelectionChanged() override;

    CMainFrame *frame_;
    InputContext &context_;
    TranslationEngine engine_;
    InputRouter router_;
};

} // namespace tarvellite::ui
