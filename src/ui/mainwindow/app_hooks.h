#pragma once

namespace tarvellite::ui {

class CTarvelLiteApp;

/// Makes start-up find the installed dictionaries, create the main frame over the application's
/// context and open the files of the command line in it (or a new empty document). Call before
/// `InitInstance`.
void installMainFrameHooks(CTarvelLiteApp &app);

} // namespace tarvellite::ui
