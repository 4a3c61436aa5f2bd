#include "ui/mainwindow/app_hooks.h"

#include "ui/app/tarvellite_app.h"
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
        DictionaryRegistry &dictionaries = a.context().dictionaries();
        dictionaries.clear();
        dictionaries.ScanDictionaries(a.settings().defaultDictionaryPath);
    };
    hooks.createMainFrame = [](CTarvelLiteApp &a) -> QMainWindow * {
        a.context().setStore(&a.settingsStore());
        auto *frame = new CMainFrame(a.context());
        // A window without its ribbon is no window: start-up ends.
        if (!frame->created()) {
            delete frame;
            return nullptr;
        }
        frame->closingHook = [&a] { a.OnClosingMainFrame(); };
        return frame;
    };
    hooks.reopenRecoveryFiles = [](CTarvelLiteApp &a) {
        CMainFrame *frame = frameOf(a);
        return frame ? frame->ReopenRecoveryFiles() : 0;
    };
    hooks.beforeTermination = [](CTarvelLiteApp &a) {
        if (CMainFrame *frame = frameOf(a))
            frame->writeAllRecoveryCopies();
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
