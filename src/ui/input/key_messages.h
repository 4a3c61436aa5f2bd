#pragma once

#include "core/input/translation_engine.h"

#include <QKeyEvent>

namespace tarvellite {

/// The virtual key of a Qt key event (the key the engine's messages speak of), or 0.
std::uint32_t virtualKeyOf(const QKeyEvent &event);

/// The character message a key press carries, or 0 for none: printable text, and the
/// control characters of Backspace, Tab, Enter and Escape. The control characters that Ctrl
/// combinations produce are not passed on; the key down stands for them.
std::uint32_t characterOf(const QKeyEvent &event);

/// Whether the Ctrl key is held during `event` (Qt's Control modifier; Meta on macOS).
bool ctrlHeld(const QKeyEvent &event);

} // namespace tarvellite
