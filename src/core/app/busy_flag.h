#pragma once

namespace tarvellite {

/// The application's `busy` flag: set around document file operations, while the settings are
/// saved and during an auto-save pass, so that timed work (the auto-save timer) stays out of
/// them. It is a nesting count: the flag is set while any `BusyGuard` on it lives.
class BusyFlag {
  public:
    bool isSet() const { return depth_ > 0; }

  private:
    friend class BusyGuard;
    int depth_ = 0;
};

/// Sets `flag` for the guard's lifetime; nested guards and early returns leave it as it was.
class BusyGuard {
  public:
    explicit BusyGuard(BusyFlag &flag) : flag_(flag) { ++flag_.depth_; }
    ~BusyGuard() { --flag_.depth_; }
    BusyGuard(const BusyGuard &) = delete;
    BusyGuard &operator=(const BusyGuard &) = delete;

  private:
    BusyFlag &flag_;
};

} // namespace tarvellite
