#pragma once

namespace tarvellite::ui {

class CTarvelLiteApp;

/// Makes start-up create the main frame, open the files of the command line in it (or a new
/// empty document) and share the application's `busy` flag and settings with the document
/// windows. Call before `InitInstance`.
void installMainFrameHooks(CTarvelLiteApp &app);

} // namespace tarvellite::ui
