#include "core/input/input_context.h"

#include <algorithm>

namespace tarvellite {

void InputContext::SelectLanguage(int languageIndex) {
    if (languageIndex < 0 || languageIndex >= static_cast<int>(tables_.languageTable.size()))
        return;
    if (languageIndex_ >= 0)
        previousLanguage_ = languageIndex_;
    languageIndex_ = languageIndex;
    currentLanguage_ = tables_.languageTable[languageIndex];
    currentLanguage_.firstKeyboard += currentLanguage_.selectedKeyboard;
    ReleaseStickyModifiers();
    keyboardChanged();
    notifySelection();
}

void InputContext::keyboardChanged() {
    keyCaptions_ = KeyCaptionTable{};
    typedUnits_.reset();
    const KBDDATA *keys = currentKeyboardData();
    if (!keys)
        return;
    BuildKeyCaptions(keyCaptions_, *keys);
    for (int layer = 0; layer < layerCount; ++layer)
        for (int k = 0; k < keyPositionCount; ++k)
            for (int p = 1; p <= keys->unitCount(layer, k); ++p)
                if (keys->slot(layer, p, k) != emptySlot)
                    typedUnits_.set(keys->slot(layer, p, k));
}

void InputContext::SelectKeyboard(int relativeIndex) {
    if (languageIndex_ < 0)
        return;
    LANGDETAILS &record = tables_.languageTable[languageIndex_];
    if (relativeIndex < 0 || relativeIndex >= record.keyboardsInLanguage)
        return;
    record.selectedKeyboard = relativeIndex;
    currentLanguage_ = record;
    currentLanguage_.firstKeyboard += relativeIndex;
    keyboardChanged();
    showCaptionsFor(false, false);
    ReleaseStickyModifiers();
    notifySelection();
}

void InputContext::cycleLanguage() {
    const int n = static_cast<int>(tables_.languageTable.size());
    if (n == 0)
        return;
    SelectLanguage(languageIndex_ < 0 ? 0 : (languageIndex_ + 1) % n);
}

void InputContext::cycleKeyboard() {
    if (languageIndex_ < 0)
        return;
    const int n = tables_.languageTable[languageIndex_].keyboardsInLanguage;
    if (n <= 0)
        return;
    SelectKeyboard((currentLanguage_.selectedKeyboard + 1) % n);
}

void InputContext::togglePreviousLanguage() {
    SelectLanguage(previousLanguage_);
}

std::string_view InputContext::currentLanguageCode() const {
    if (languageIndex_ < 0 || languageIndex_ >= static_cast<int>(tables_.languageCodes.size()))
        return {};
    return tables_.languageCodes[languageIndex_];
}

int InputContext::currentKeyboardIndex() const {
    if (languageIndex_ < 0 || currentLanguage_.keyboardsInLanguage <= 0)
        return -1;
    const int k = currentLanguage_.firstKeyboard;
    return k >= 0 && k < static_cast<int>(tables_.keyboardDataTable.size()) ? k : -1;
}

const KBDTYPE *InputContext::currentKeyboardType() const {
    const int k = currentKeyboardIndex();
    return k < 0 ? nullptr : &tables_.keyboardTypeTable[k];
}

const KBDDATA *InputContext::currentKeyboardData() const {
    const int k = currentKeyboardIndex();
    return k < 0 ? nullptr : &tables_.keyboardDataTable[k];
}

const PHONETICDATA *InputContext::currentPhonetic() const {
    const int p = currentLanguage_.phoneticIndex;
    if (languageIndex_ < 0 || p < 0 || p >= static_cast<int>(tables_.phoneticTable.size()))
        return nullptr;
    return &tables_.phoneticTable[p];
}

void InputContext::ReleaseStickyModifiers() {
    ModifierState &m = modifiers_;
    if (m.shiftLatch == 0 && m.ctrlLatch == 0)
        return;
    if (m.shiftKeyDown == 0)
        m.shiftLatch = 0;
    if (m.ctrlKeyDown == 0)
        m.ctrlLatch = 0;
    showModifierButtons(m.shiftLatch != 0, m.ctrlLatch != 0);
    if (m.shiftKeyDown == 0 && m.ctrlKeyDown == 0)
        showCaptionsFor(m.shiftLatch != 0, m.ctrlLatch != 0);
}

void InputContext::showCaptionsFor(bool shift, bool ctrl) {
    for (InputListener *l : listeners_)
        l->captionsShownFor(shift, ctrl);
}

void InputContext::showModifierButtons(bool shiftPressed, bool ctrlPressed) {
    for (InputListener *l : listeners_)
        l->modifierButtonsShown(shiftPressed, ctrlPressed);
}

void InputContext::addListener(InputListener *listener) {
    if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
        listeners_.push_back(listener);
}

void InputContext::removeListener(InputListener *listener) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void InputContext::notifySelection() {
    for (InputListener *l : listeners_)
        l->inputSelectionChanged();
}

} // namespace tarvellite
