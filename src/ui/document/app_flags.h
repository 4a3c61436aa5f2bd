#pragma once

namespace tarvellite::ui {

/// The application's `busy` flag: set around document file operations, while the settings are
/// saved and during an auto-save pass; the auto-save timer does nothing while it is set.
bool &applicationBusy();

/// Set while a document is shown in print preview.
bool &printPreviewActive();

/// Sets `busy` for its lifetime and restores the earlier value on every way out of a scope, so
/// that nested guards and early returns leave the flag as it was.
class BusyGuard {
  public:
    BusyGuard() : previous_(applicationBusy()) { applicationBusy() = true; }
    ~BusyGuard() { applicationBusy() = previous_; }
    BusyGuard(const BusyGuard &) = delete;
    BusyGuard &operator=(const BusyGuard &) = delete;

  private:
    bool previous_;
};

} // namespace tarvellite::ui
