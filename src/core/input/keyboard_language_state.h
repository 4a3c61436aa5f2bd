#pragma once

// The settings' view of the keyboard tables and the input context.

#include "core/app/settings.h"
#include "core/input/input_context.h"
#include "core/input/keyboard_data.h"

namespace tarvellite {

class KeyboardLanguageState final : public LanguageState {
  public:
    KeyboardLanguageState(KeyboardTables &tables, InputContext &input)
        : tables_(tables), input_(input) {}

    int languageCount() const override { return static_cast<int>(tables_.languageTable.size()); }
    int keyboardsInLanguage(int language) const override {
        return valid(language) ? tables_.languageTable[language].keyboardsInLanguage : 0;
    }
    int selectedKeyboard(int language) const override {
        return valid(language) ? tables_.languageTable[language].selectedKeyboard : 0;
    }
    void setSelectedKeyboard(int language, int keyboard) override {
        if (valid(language))
            tables_.languageTable[language].selectedKeyboard = keyboard;
    }
    void selectLanguage(int language, int previous) override {
        input_.SelectLanguage(language);
        input_.setPreviousLanguageIndex(previous);
    }
    int currentLanguage() const override { return input_.currentLanguageIndex(); }
    int previousLanguage() const override { return input_.previousLanguageIndex(); }

  private:
    bool valid(int language) const { return language >= 0 && language < languageCount(); }

    KeyboardTables &tables_;
    InputContext &input_;
};

} // namespace tarvellite
