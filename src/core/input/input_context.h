#pragma once

#include "core/input/keyboard_data.h"

#include <bitset>
#include <string_view>
#include <vector>

namespace tarvellite {

/// Sticky Shift and Ctrl: the latches the engine reads and whether a physical key holds them.
struct ModifierState {
    int shiftLatch = 0;
    int ctrlLatch = 0;
    int shiftKeyDown = 0;
    int ctrlKeyDown = 0;
};

/// Told of every change of the input selection and of the modifier display: the on-screen
/// keyboard, the Keyboard drop-down and the status bar listen.
class InputListener {
  public:
    virtual ~InputListener() = default;
    /// The current language or keyboard changed.
    virtual void inputSelectionChanged() {}
    /// The key captions are to be shown for these latches.
    virtual void captionsShownFor(bool /*shift*/, bool /*ctrl*/) {}
    /// The on-screen Shift and Ctrl buttons are to be shown in these states.
    virtual void modifierButtonsShown(bool /*shiftPressed*/, bool /*ctrlPressed*/) {}
};

/// The one place that holds the current language and keyboard, the key captions and the
/// modifier latches, over the loaded keyboard tables.
class InputContext {
  public:
    explicit InputContext(KeyboardTables &tables) : tables_(tables) {}

    const KeyboardTables &tables() const { return tables_; }

    /// Makes language `languageIndex` current. Out-of-range indices are ignored.
    void SelectLanguage(int languageIndex);
    /// Makes keyboard `relativeIndex` of the current language current (and remembers it in the
    /// language's record). Out-of-range indices are ignored.
    void SelectKeyboard(int relativeIndex);

    /// F2: the next language, wrapping. F3: the next keyboard of the language, wrapping.
    /// Nothing happens when there is nothing to cycle through.
    void cycleLanguage();
    void cycleKeyboard();
    /// F4: back to the previous language.
    void togglePreviousLanguage();

    /// -1 until the first selection.
    int currentLanguageIndex() const { return languageIndex_; }
    int previousLanguageIndex() const { return previousLanguage_; }
    /// The two-letter code of the current language ("TA"), or empty.
    std::string_view currentLanguageCode() const;
    /// For the settings load: the previous language as stored.
    void setPreviousLanguageIndex(int index) { previousLanguage_ = index; }

    /// The working copy of the current language: `firstKeyboard` holds the absolute index of the
    /// current keyboard.
    const LANGDETAILS &currentLanguage() const { return currentLanguage_; }
    /// The current keyboard's records, or null when no keyboard is current.
    const KBDTYPE *currentKeyboardType() const;
    const KBDDATA *currentKeyboardData() const;
    /// The phonetic rules of the current language, or null.
    const PHONETICDATA *currentPhonetic() const;
    /// Absolute index of the current keyboard, or -1.
    int currentKeyboardIndex() const;

    const KeyCaptionTable &keyCaptionTable() const { return keyCaptions_; }
    /// Whether a key of the current keyboard types `unit` (in any layer).
    bool keyboardTypes(char16_t unit) const { return typedUnits_.test(unit); }

    ModifierState &modifiers() { return modifiers_; }
    const ModifierState &modifiers() const { return modifiers_; }

    /// Releases the latches not held by a physical key, and tells the listeners.
    void ReleaseStickyModifiers();
    /// Tells the listeners to show the captions for these latches.
    void showCaptionsFor(bool shift, bool ctrl);
    /// Tells the listeners how the on-screen Shift and Ctrl buttons look.
    void showModifierButtons(bool shiftPressed, bool ctrlPressed);

    void addListener(InputListener *listener);
    void removeListener(InputListener *listener);

  private:
    void keyboardChanged();
    void notifySelection();

    KeyboardTables &tables_;
    int languageIndex_ = -1;
    int previousLanguage_ = 0;
    LANGDETAILS currentLanguage_;
    KeyCaptionTable keyCaptions_{};
    std::bitset<0x10000> typedUnits_;
    ModifierState modifiers_;
    std::vector<InputListener *> listeners_;
};

} // namespace tarvellite
