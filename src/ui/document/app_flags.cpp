#include "ui/document/app_flags.h"

namespace tarvellite::ui {

bool &applicationBusy() {
    static bool busy = false;
    return busy;
}

bool &printPreviewActive() {
    static bool active = false;
    return active;
}

} // namespace tarvellite::ui
