#pragma once

#include "core/input/translation_engine.h"
#include "ui/input/input_router.h"
#include "ui/input/look_ahead.h"

#include <QObject>
#include <memory>

namespace tarvellite {
struct Settings;
}

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

    /// Loads the lookup dictionary of the current language from the installed dictionaries
    /// (again whenever the language changes) and shows its state in the dictionary pane.
    /// `settings` gives the minimum letters, the dictionary choices and the user folder, and
    /// must outlive the frame.
    void setUpLookAhead(Settings &settings);
    /// Null until `setUpLookAhead`.
    LookupDictionary *lookupDictionary() const { return lookup_.get(); }

  private:
    void inputSelectionChanged() override;

    CMainFrame *frame_;
    InputContext &context_;
    TranslationEngine engine_;
    InputRouter router_;
    Settings *settings_ = nullptr;
    std::unique_ptr<LookupDictionary> lookup_;
};

} // namespace tarvellite::ui
