#pragma once

#include <functional>

namespace tarvellite::ui {

/// The application's `busy` flag: set around document file operations, while the settings are
/// saved and during an auto-save pass; the auto-save timer does nothing while it is set.
bool applicationBusy();
void setApplicationBusy(bool busy);
/// Makes the two functions above read and write the application object's own flag.
void bindApplicationBusy(std::function<bool()> get, std::function<void(bool)> set);

/// Set while a document is shown in print preview.
bool &printPreviewActive();

/// Sets `busy` for its lifetime and restores the earlier value on every way out of a scope, so
/// that nested guards and early returns leave the flag as it was.
class BusyGuard {
  public:
    BusyGuard() : previous_(applicationBusy()) { setApplicationBusy(true); }
    ~BusyGuard() { setApplicationBusy(previous_); }
    BusyGuard(const BusyGuard &) = delete;
    BusyGuard &operator=(const BusyGuard &) = delete;

  private:
    bool previous_;
};

} // namespace tarvellite::ui
