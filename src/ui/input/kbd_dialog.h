#pragma once

#include "core/input/input_context.h"
#include "ui/input/look_ahead.h"

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QAbstractButton;
class QComboBox;
class QPushButton;

namespace tarvellite {
class CMyToolTipCtrl;
}

namespace tarvellite::ui {

class AppContext;
class FrameServices;

/// The on-screen keyboard: the 47 character keys with the captions of the current layout, the
/// special keys, latching Shift and Ctrl, and the language and keyboard lists.
///
/// A clicked key becomes a key press and release sent to the text field that receives typing
/// (a `CKbdEdit` or `CKbdCombo` that is the text target, else the active document), so it goes
/// through the same routing and translation as a typed key. No control takes the focus: the
/// caret stays where it was. The dialog also owns the look-ahead's lookup dictionary, loaded
/// for the current language, and the text of the dictionary status pane.
class CKbdDialog : public QWidget, public InputListener {
    Q_OBJECT
  public:
    static constexpr int characterKeyCount = 47;
    static constexpr int firstKeyId = 1001;

    CKbdDialog(AppContext &context, FrameServices &frame, QWidget *parent = nullptr);
    ~CKbdDialog() override;

    /// Fills the language list and selects the current language (the settings' choice).
    void FillLanguageList();

    /// The field that receives clicked keys in place of the active document (null: the
    /// document). Forms set it when their field gets the focus; a document taking the focus
    /// clears it.
    void setTextTarget(QWidget *field);
    QWidget *textTarget() const { return textTarget_; }

    /// Sets the key texts for these latches (and Caps Lock as it is now).
    void RedrawKeyCaptions(bool shift, bool ctrl);
    void RebuildKeyTooltips();

    /// The idle update: the lock key follows Caps Lock, "Ins" follows overtyping.
    void showLockStates(bool capsLock, bool overtype);

    /// F2 and F3 through the lists: the next language or keyboard, wrapping. Returns the new
    /// index, or -1 when there is nothing to choose.
    int cycleLanguageList();
    int cycleKeyboardList();

    /// Loads the lookup dictionary for the current language (again only when the language
    /// changed, unless `always`) and shows its state in the status bar. The first call is the
    /// window's; from then on every change of language loads the language's dictionary.
    void refreshDictionaryStatus(bool always = false);
    LookupDictionary &lookupDictionary() { return *lookup_; }

    QPushButton *key(int id) const;
    QComboBox *languageList() const { return languages_; }
    QComboBox *keyboardList() const { return keyboards_; }
    CMyToolTipCtrl *toolTipCtrl() const { return tooltip_; }

    /// Asked when "Display Title Bar" is clicked: shows or hides the pane's title bar and
    /// returns whether it is now shown.
    void setTitleBarToggle(std::function<bool()> toggle) { titleBarToggle_ = std::move(toggle); }
    /// Shows the title bar state on its button.
    void showTitleBarState(bool shown);

  private:
    // InputListener
    void inputSelectionChanged() override;
    void captionsShownFor(bool shift, bool ctrl) override;
    void modifierButtonsShown(bool shiftPressed, bool ctrlPressed) override;

    void build();
    QPushButton *addButton(int id, const QString &caption, bool checkable = false);
    void syncLists();
    bool hasKeyboard() const;
    QWidget *characterTarget() const;
    QWidget *documentView() const;
    void clickCharacter(int position);
    void clickSpecial(int id);
    void clickShift(bool checked);
    void clickCtrl(bool checked);
    void postKey(QWidget *target, int qtKey, const QString &text);
    void onFocusChanged(QWidget *old, QWidget *now);

    AppContext &context_;
    FrameServices &frame_;
    InputContext &input_;
    std::unique_ptr<LookupDictionary> lookup_;
    std::array<QPushButton *, characterKeyCount> keys_{};
    QPushButton *shiftLeft_ = nullptr;
    QPushButton *shiftRight_ = nullptr;
    QPushButton *ctrl_ = nullptr;
    QPushButton *lock_ = nullptr;
    QPushButton *insert_ = nullptr;
    QPushButton *titleBar_ = nullptr;
    QComboBox *languages_ = nullptr;
    QComboBox *keyboards_ = nullptr;
    CMyToolTipCtrl *tooltip_ = nullptr;
    QPointer<QWidget> textTarget_;
    std::function<bool()> titleBarToggle_;
    bool shownShift_ = false;
    bool shownCtrl_ = false;
    bool shownCaps_ = false;
    bool filling_ = false;
    bool dictionaryLoaded_ = false;
};

} // namespace tarvellite::ui
