#pragma once

#include "core/input/input_context.h"
#include "core/spelling/dictionary.h"
#include "core/spelling/dictionary_registry.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTextEdit>
#include <functional>
#include <string>
#include <vector>

class QKeyEvent;

namespace tarvellite {

class CLookupWindow;

/// The most words the look-ahead asks the dictionary for.
inline constexpr int lookAheadLimit = defaultLookupCount;

/// What every view's look-ahead reads: the lookup dictionary, the minimum letters and the
/// current language. The program has one, owned by the main window.
class LookAheadSource {
  public:
    virtual ~LookAheadSource() = default;
    /// The loaded lookup dictionary, or null when none is loaded.
    virtual const CDictionary *lookupDictionary() const = 0;
    /// `lookAheadMinLetters`: below 2 the look-ahead is off.
    virtual int lookAheadMinLetters() const = 0;
    /// The current input language (0 is English).
    virtual int currentLanguageIndex() const = 0;
};

/// The lookup dictionary: one `CDictionary` for the current input language, loaded again
/// whenever the language changes, with the text the status bar's dictionary pane shows.
class LookupDictionary : public LookAheadSource {
  public:
    static constexpr const char *noDictionaryText = "No Dictionary available...";

    /// `minLetters` reads the `lookAheadMinLetters` setting when asked.
    LookupDictionary(const InputContext &context, std::function<int()> minLetters);
    ~LookupDictionary() override;
    LookupDictionary(const LookupDictionary &) = delete;
    LookupDictionary &operator=(const LookupDictionary &) = delete;

    /// Loads the dictionary chosen for the current input language from `registry`: the
    /// language's entry of `choiceList`, else its first registered dictionary (which is then
    /// added to `choiceList`). The user words come from `userFolder`. Returns the status text:
    /// "<name> Dictionary loaded", or "No Dictionary available..." when there is none or it
    /// cannot be loaded (the dictionary is then empty, so no words of another language show).
    QString reload(const DictionaryRegistry &registry, std::vector<std::u16string> &choiceList,
                   const std::string &userFolder);
    /// Loads again only when the input language is not the one last loaded; true when it did.
    bool reloadIfLanguageChanged(const DictionaryRegistry &registry,
                                 std::vector<std::u16string> &choiceList,
                                 const std::string &userFolder);

    const QString &statusText() const { return statusText_; }
    /// Position in the registry's names of the loaded dictionary (the Dictionary menu's check
    /// mark), or -1.
    int chosenIndex() const { return chosenIndex_; }
    CDictionary &dictionary() { return dictionary_; }

    // LookAheadSource
    const CDictionary *lookupDictionary() const override;
    int lookAheadMinLetters() const override;
    int currentLanguageIndex() const override;

  private:
    const InputContext &context_;
    std::function<int()> minLetters_;
    CDictionary dictionary_;
    QString statusText_ = QString::fromLatin1(noDictionaryText);
    int chosenIndex_ = -1;
    int loadedLanguage_ = -2;
};

/// The look-ahead of one editing view: after every unit typed it looks the word before the
/// caret up in the lookup dictionary and shows the words that continue it in a popup under the
/// caret; the popup's keys and a click choose a word, which replaces the typed letters.
class LookAhead : public QObject {
    Q_OBJECT
  public:
    /// A look-ahead that always reads `source` (null: none).
    LookAhead(QTextEdit *edit, LookAheadSource *source);
    /// A look-ahead that asks `source` at each update (the source may change or go away).
    LookAhead(QTextEdit *edit, std::function<LookAheadSource *()> source);
    ~LookAhead() override;

    /// Looks up the word before the caret and shows the popup when the dictionary has words
    /// that continue it; never hides it. True when the popup was shown.
    bool LookAheadUpdate();
    /// The word left of the selection's end, from the word-boundary search within its
    /// paragraph. With `keepSelected` that word stays selected; otherwise the selection is
    /// left as it was.
    QString GetWordBeforeCaret(bool keepSelected);
    /// Fills the popup with `words` and shows it under the selection start without taking
    /// the focus.
    void ShowLookAheadPopup(const std::vector<std::u16string> &words);
    /// Replaces the word before the caret by `word` (with a space after it when `appendSpace`)
    /// as one undo step; in English the typed first letter keeps its case. Hides the popup;
    /// the view keeps the focus. Nothing happens for an empty word.
    void InsertLookAheadWord(const QString &word, bool appendSpace);
    /// The popup's keys while it shows: Right, Up, Down choose; Enter, space and tab insert
    /// the chosen word; Left and Escape hide; any other character hides and goes on to be
    /// typed. True when the key was used up.
    bool HandlePopupKey(QKeyEvent &event);
    void HideLookAheadPopup();

    bool popupVisible() const;
    CLookupWindow *window() const { return window_; }
    QTextEdit *edit() const { return edit_; }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    LookAheadSource *source() const;
    void bringViewToFront();
    void placePopup();

    QPointer<QTextEdit> edit_;
    std::function<LookAheadSource *()> source_;
    CLookupWindow *window_;
    std::vector<std::u16string> words_;
    bool placeAgain_ = false;
};

} // namespace tarvellite
