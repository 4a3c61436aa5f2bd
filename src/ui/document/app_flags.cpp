#include "ui/document/app_flags.h"

namespace tarvellite::ui {

namespace {

bool ownBusy = false;
std::function<bool()> busyGetter;
std::function<void(bool)> busySetter;

} // namespace

bool applicationBusy() {
    return busyGetter ? busyGetter() : ownBusy;
}

void setApplicationBusy(bool busy) {
    if (busySetter)
        busySetter(busy);
    else
        ownBusy = busy;
}

void bindApplicationBusy(std::function<bool()> get, std::function<void(bool)> set) {
    busyGetter = std::move(get);
    busySetter = std::move(set);
}

bool &printPreviewActive() {
    static bool active = false;
    return active;
}

} // namespace tarvellite::ui
