#pragma once

#include <optional>

class QKeyEvent;

namespace tarvellite {

/// Caps Lock as the platform knows it. Qt has no API for it: on X11 each key event carries it
/// in its native modifiers, and XKB tells it at any time; elsewhere (offscreen) it is unknown
/// and taken as off. Tests can set it.
class CapsLock {
  public:
    /// Caps Lock during `event`, when the event carries native modifiers; else `isOn()`.
    static bool isOn(const QKeyEvent &event);
    /// Caps Lock now (XKB on X11; off where unknown; the override where one is set).
    static bool isOn();
    /// For tests: fixes the state (nullopt returns to the platform's).
    static void setOverride(std::optional<bool> state);
    /// Switches Caps Lock (the on-screen lock key): locks or unlocks it through XKB on X11, and
    /// flips the remembered state where the platform cannot tell it.
    static void toggle();
};

/// Num Lock as the platform knows it (XKB on X11; off where unknown).
class LockKeys {
  public:
    static bool numLockOn();
};

} // namespace tarvellite
