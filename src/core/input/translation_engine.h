#pragma once

#include "core/input/input_context.h"
#include "core/input/text_target.h"

#include <array>
#include <cstdint>

namespace tarvellite {

/// Virtual key values of key messages (the values of a Windows keyboard).
namespace vk {
inline constexpr std::uint32_t Back = 0x08;
inline constexpr std::uint32_t Tab = 0x09;
inline constexpr std::uint32_t Return = 0x0D;
inline constexpr std::uint32_t Shift = 0x10;
inline constexpr std::uint32_t Control = 0x11;
inline constexpr std::uint32_t Capital = 0x14;
inline constexpr std::uint32_t Escape = 0x1B;
inline constexpr std::uint32_t Space = 0x20;
inline constexpr std::uint32_t F2 = 0x71;
inline constexpr std::uint32_t F3 = 0x72;
inline constexpr std::uint32_t F4 = 0x73;
/// The virtual key of the key that types the printable ASCII character `ch`, or 0.
std::uint32_t forCharacter(char ch);
} // namespace vk

/// A keyboard message as the platform layer hands it over.
struct KeyMessage {
    enum class Kind { KeyDown, KeyUp, Character };
    Kind kind = Kind::Character;
    /// Virtual key for key down and up, UTF-16 unit for a character.
    std::uint32_t value = 0;
    /// Whether the Ctrl key is physically down while this message is handled.
    bool ctrlDown = false;

    static KeyMessage keyDown(std::uint32_t vk, bool ctrlDown = false) {
        return {Kind::KeyDown, vk, ctrlDown};
    }
    static KeyMessage keyUp(std::uint32_t vk, bool ctrlDown = false) {
        return {Kind::KeyUp, vk, ctrlDown};
    }
    static KeyMessage character(std::uint32_t ch, bool ctrlDown = false) {
        return {Kind::Character, ch, ctrlDown};
    }
};

/// The editing settings the engine reads.
struct EngineOptions {
    /// "Enhanced" smart editing: the composition rules of typewriter layouts.
    bool enhancedEditing = true;
    /// "Auto Pulli": a doubled consonant gets its virama.
    bool autoPulli = true;
};

/// Turns keystrokes into Unicode text on a text target.
///
/// The engine keeps no text and no state of its own between keystrokes: it reads the current
/// language and keyboard and the modifier latches from the `InputContext`, the characters
/// before the caret from the target, and delivers at most four units per keystroke.
class TranslationEngine {
  public:
    explicit TranslationEngine(InputContext &context) : context_(context) {}

    EngineOptions &options() { return options_; }
    const EngineOptions &options() const { return options_; }

    /// The field that `TargetEdit`, `TargetCombo` or `TargetDocument` stands for now (may be null).
    void setTarget(TargetKind kind, TextTarget *target);
    TextTarget *target(TargetKind kind) const;

    /// Caps Lock as the platform reports it: toggled on, and its key held down.
    void setCapsLock(bool toggled, bool keyHeld = false) {
        capsLockOn_ = toggled;
        capsLockHeld_ = keyHeld;
    }
    bool capsLockOn() const { return capsLockOn_; }

    /// Whether the next character uses a Shift layer: Caps Lock XOR the Shift latch, and always
    /// while the Caps Lock key is held.
    bool shifted() const;

    /// Hands one keyboard message to the engine. True when the engine consumed it (the caller
    /// then drops the message).
    bool TranslateKeyMessage(const KeyMessage &message, TargetKind kind);

    /// Translates the printable ASCII character `ch` into at most four output units and
    /// returns how many to deliver. May read and edit the text before the caret of the target.
    int TranslateCharacter(char32_t ch, bool shifted, bool ctrl, std::array<char16_t, 4> &out,
                           TargetKind kind);

    /// The printable ASCII character that virtual key `key` stands for on the Ctrl path, or 0
    /// for keys that type none (function keys, the keypad, navigation keys).
    static char32_t ctrlCharacterOf(std::uint32_t key);

    /// Whether the current keyboard's Ctrl layer gives units to the key of virtual key `key`,
    /// so that Ctrl with that key types rather than reaching the program's shortcuts.
    bool ctrlLayerTypes(std::uint32_t key) const;

    /// Delivers `count` units to the target of `kind`, skipping empty slots.
    void deliver(const std::array<char16_t, 4> &out, int count, TargetKind kind);

  private:
    /// What the last keystroke did that the next one on a composing layout (Tamil99) must know:
    /// it gave a consonant its automatic virama, or it confirmed a consonant with the delinker.
    enum class Composed { None, AutoPulli, Delinked };
    /// Where that keystroke left the caret, so that it counts only while the typist goes on
    /// typing there.
    struct ComposedMark {
        Composed what = Composed::None;
        const TextTarget *target = nullptr;
        const KBDDATA *keyboard = nullptr;
        int caret = -1;
        char16_t before = 0;
    };

    /// What the keystroke before this one composed, when the caret of `t` is still where it
    /// left it; forgets it either way.
    Composed takeComposed(TextTarget &t);
    /// Remembers `composing_` of the keystroke just delivered to `t`.
    void markComposed(TextTarget &t);

    struct Context {
        int result = 0;
        char16_t ctx1 = 0;
        char16_t ctx2 = 0;
    };

    Context ReadContext(TextTarget &t, bool checkVirama, bool checkConsonant, bool skipOne,
                        bool keepSpace) const;
    int ApplyPhoneticRules(char32_t ch, std::array<char16_t, 4> &out, TextTarget &t);
    int shortVowelPath(char32_t ch, bool shifted, std::array<char16_t, 4> &out, TextTarget &t);
    void doubledConsonantRule(std::array<char16_t, 4> &out, int &count, TextTarget &t);
    void signReplacementRule(std::array<char16_t, 4> &out, TextTarget &t);
    void wordEndViramaRule(std::uint32_t ch, TextTarget &t);
    void deleteBeforeCaret(TextTarget &t);

    InputContext &context_;
    EngineOptions options_;
    TextTarget *edit_ = nullptr;
    TextTarget *combo_ = nullptr;
    TextTarget *document_ = nullptr;
    ComposedMark mark_;
    /// Set while one keystroke is translated: what the last keystroke composed, and what this
    /// one composes.
    Composed prior_ = Composed::None;
    Composed composing_ = Composed::None;
    bool capsLockOn_ = false;
    bool capsLockHeld_ = false;
};

} // namespace tarvellite
