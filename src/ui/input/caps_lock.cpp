#include "ui/input/caps_lock.h"

#include <QGuiApplication>
#include <QKeyEvent>

#if __has_include(<X11/XKBlib.h>) && defined(TARVELLITE_HAVE_X11)
#include <QtGui/qguiapplication_platform.h>
#include <X11/XKBlib.h>
#include <X11/keysym.h>
#define TARVELLITE_XKB 1
#endif

namespace tarvellite {

namespace {

std::optional<bool> &overrideState() {
    static std::optional<bool> state;
    return state;
}

constexpr quint32 x11LockMask = 0x2;

} // namespace

bool CapsLock::isOn(const QKeyEvent &event) {
    if (overrideState())
        return *overrideState();
    if (event.nativeScanCode() != 0 && QGuiApplication::platformName() == QLatin1String("xcb"))
        return (event.nativeModifiers() & x11LockMask) != 0;
    return isOn();
}

bool CapsLock::isOn() {
    if (overrideState())
        return *overrideState();
#ifdef TARVELLITE_XKB
    if (auto *x11 =
            qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        if (Display *display = x11->display()) {
            XkbStateRec state{};
            if (XkbGetState(display, XkbUseCoreKbd, &state) == Success)
                return (state.locked_mods & LockMask) != 0;
        }
    }
#endif
    return false;
}

bool LockKeys::numLockOn() {
#ifdef TARVELLITE_XKB
    if (auto *x11 =
            qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        if (Display *display = x11->display()) {
            XkbStateRec state{};
            const unsigned mask = XkbKeysymToModifiers(display, XK_Num_Lock);
            if (mask && XkbGetState(display, XkbUseCoreKbd, &state) == Success)
                return (state.locked_mods & mask) != 0;
        }
    }
#endif
    return false;
}

void CapsLock::setOverride(std::optional<bool> state) {
    overrideState() = state;
}

void CapsLock::toggle() {
    const bool on = !isOn();
    if (overrideState()) {
        overrideState() = on;
        return;
    }
#ifdef TARVELLITE_XKB
    if (auto *x11 =
            qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        if (Display *display = x11->display()) {
            XkbLockModifiers(display, XkbUseCoreKbd, LockMask, on ? LockMask : 0);
            XFlush(display);
            return;
        }
    }
#endif
    overrideState() = on;
}

} // namespace tarvellite
