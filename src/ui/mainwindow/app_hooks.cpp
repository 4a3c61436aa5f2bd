#include "ui/mainwindow/app_hooks.h"

#include "ui/app/tarvellite_app.h"
#include "ui/document/app_flags.h"
#include "ui/document/document_settings.h"
#include "ui/input/look_ahead.h"
#include "ui/mainwindow/frame_input.h"
#include "ui/mainwindow/main_frame.h"

namespace tarvellite::ui {

namespace {

CMainFrame *frameOf(CTarvelLiteApp &app) {
    return qobject_cast<CMainFrame *>(app.mainWindow());
}

} // namespace

void installMainFrameHooks(CTarvelLiteApp &app) {
    CTarvelLiteApp::Hooks &hooks = app.hooks();
    hooks.findDictionaries = [](CTarvelLiteApp &a) {
        installedDictionaries().clear();
        installedDictionaries().ScanDictionaries(a.settings().defaultDictionaryPath);
    };
    hooks.createMainFrame = [](CTarvelLiteApp &a) -> QMainWindow * {
        bindApplicationBusy([&a] { return a.busy(); }, [&a](bool busy) { a.setBusy(busy); });
        documentSettings() = documentSettingsFrom(a.settings());
        auto *frame = new CMainFrame;
        const EditOption &edit = a.settings().editOption;
        frame->setUpInput(a.inputContext(),
                          EngineOptions{.enhancedEditing = edit.enhancedEditing != 0,
                                        .autoPulli = edit.autoPulliOn()});
        frame->input()->setUpLookAhead(a.settings());
        frame->closingHook = [&a] {
            a.settings().tabbedMode = documentSettings().tabbedMode ? 1 : 0;
            a.OnClosingMainFrame();
        };
        return frame;
    };
    hooks.newDocument = [](CTarvelLiteApp &a) {
        CMainFrame *frame = frameOf(a);
        return frame && frame->newDocument() != nullptr;
    };
    hooks.openDocument = [](CTarvelLiteApp &a, const QString &path) {
        CMainFrame *frame = frameOf(a);
        return frame && frame->OpenDocumentPath(path);
    };
}

} // namespace tarvellite::ui
