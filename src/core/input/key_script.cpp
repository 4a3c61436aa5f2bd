#include "core/input/key_script.h"

#include "core/input/keyboard_data.h"

namespace tarvellite {

Result<std::vector<KeyStroke>> parseKeyScript(std::string_view script) {
    std::vector<KeyStroke> strokes;
    for (std::size_t i = 0; i < script.size(); ++i) {
        const char c = script[i];
        const auto bad = [&](const std::string &why) {
            return Error{why + " at position " + std::to_string(i + 1) + " of the keys"};
        };
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E)
            return bad("not a key of the US keyboard");
        if (c == '\\') {
            if (i + 1 >= script.size())
                return bad("a lone backslash (write \\\\ for the backslash key)");
            const char e = script[++i];
            switch (e) {
            case 'b': strokes.push_back({KeyStroke::Kind::Backspace, 0}); break;
            case 't': strokes.push_back({KeyStroke::Kind::Tab, 0}); break;
            case 'n': strokes.push_back({KeyStroke::Kind::Enter, 0}); break;
            case '\\': strokes.push_back({KeyStroke::Kind::Character, '\\'}); break;
            case '^': strokes.push_back({KeyStroke::Kind::Character, '^'}); break;
            default: return bad(std::string("unknown escape \\") + e);
            }
        } else if (c == '^') {
            if (i + 1 >= script.size() || script[i + 1] == ' ' ||
                charToKeyTable(static_cast<unsigned char>(script[i + 1])) < 0)
                return bad("^ must be followed by the key to press with Ctrl (write \\^ for ^)");
            strokes.push_back({KeyStroke::Kind::Ctrl, script[++i]});
        } else {
            strokes.push_back({KeyStroke::Kind::Character, c});
        }
    }
    return strokes;
}

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Whether typing `c` needs Shift held on a US keyboard, and the character the system then
// sends: with Caps Lock on, a letter key sends the other case.
bool needsShift(char c, bool capsLock, char &sent) {
    const int k = charToKeyTable(static_cast<unsigned char>(c));
    const bool shift = k >= 0 && keyShiftedChar(k) == c;
    sent = c;
    if (capsLock && isLetter(c))
        sent = static_cast<char>(c ^ 0x20);
    return shift;
}

} // namespace

TypingReport typeKeyStrokes(TranslationEngine &engine, MemoryTarget &target, TargetKind kind,
                            const std::vector<KeyStroke> &strokes) {
    TypingReport report;
    engine.setTarget(kind, &target);
    const auto send = [&](const KeyMessage &m) {
        const bool consumed = engine.TranslateKeyMessage(m, kind);
        if (!consumed && m.kind == KeyMessage::Kind::Character)
            target.performCharacter(static_cast<char16_t>(m.value));
        return consumed;
    };
    const auto press = [&](std::uint32_t key, std::uint32_t ch) {
        send(KeyMessage::keyDown(key));
        send(KeyMessage::character(ch));
        send(KeyMessage::keyUp(key));
    };
    for (const KeyStroke &s : strokes) {
        switch (s.kind) {
        case KeyStroke::Kind::Backspace: press(vk::Back, 8); break;
        case KeyStroke::Kind::Tab: press(vk::Tab, 9); break;
        case KeyStroke::Kind::Enter: press(vk::Return, 13); break;
        case KeyStroke::Kind::Character: {
            char sent;
            const bool shift = needsShift(s.ch, engine.capsLockOn(), sent);
            if (shift)
                send(KeyMessage::keyDown(vk::Shift));
            press(vk::forCharacter(s.ch), static_cast<unsigned char>(sent));
            if (shift)
                send(KeyMessage::keyUp(vk::Shift));
            break;
        }
        case KeyStroke::Kind::Ctrl: {
            char sent;
            const bool shift = needsShift(s.ch, engine.capsLockOn(), sent);
            const std::uint32_t key = vk::forCharacter(s.ch);
            send(KeyMessage::keyDown(vk::Control, true));
            if (shift)
                send(KeyMessage::keyDown(vk::Shift, true));
            if (!send(KeyMessage::keyDown(key, true)))
                report.passedShortcuts.push_back(s.ch);
            send(KeyMessage::keyUp(key, true));
            if (shift)
                send(KeyMessage::keyUp(vk::Shift, true));
            send(KeyMessage::keyUp(vk::Control));
            break;
        }
        }
    }
    return report;
}

} // namespace tarvellite
