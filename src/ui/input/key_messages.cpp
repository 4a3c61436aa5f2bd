#include "ui/input/key_messages.h"

namespace tarvellite {

std::uint32_t virtualKeyOf(const QKeyEvent &event) {
    const int key = event.key();
    if (key >= 0x21 && key <= 0x7E) {
        // Qt names a printable key by the character it types (upper case for letters).
        return vk::forCharacter(static_cast<char>(key));
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 0x70 + static_cast<std::uint32_t>(key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return vk::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vk::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vk::Return;
    case Qt::Key_Shift: return vk::Shift;
    case Qt::Key_Control: return vk::Control;
    case Qt::Key_Alt: return 0x12;
    case Qt::Key_CapsLock: return vk::Capital;
    case Qt::Key_Escape: return vk::Escape;
    case Qt::Key_Space: return vk::Space;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Delete: return 0x2E;
    default: return 0;
    }
}

std::uint32_t characterOf(const QKeyEvent &event) {
    const bool plain = !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    switch (event.key()) {
    case Qt::Key_Backspace: return plain ? 8 : 0;
    case Qt::Key_Tab: return plain ? 9 : 0;
    case Qt::Key_Return:
    case Qt::Key_Enter: return plain ? 13 : 0;
    case Qt::Key_Escape: return plain ? 27 : 0;
    default: break;
    }
    const QString text = event.text();
    if (text.size() != 1)
        return 0;
    const char16_t unit = text.at(0).unicode();
    return unit < 0x20 || unit == 0x7F ? 0 : unit;
}

bool ctrlHeld(const QKeyEvent &event) {
    return event.modifiers() & Qt::ControlModifier;
}

} // namespace tarvellite
