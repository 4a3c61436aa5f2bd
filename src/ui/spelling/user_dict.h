#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QListWidget;
class QPushButton;

namespace tarvellite {
class CKbdEdit;
}

namespace tarvellite::ui {

class AppContext;

/// "User Dictionary Words": edits the user dictionary of one installed dictionary at a time.
class CUserDict : public QDialog {
    Q_OBJECT
  public:
    CUserDict(AppContext &context, QWidget *parent = nullptr);

    bool modified() const { return modified_; }
    const std::vector<std::u16string> &words() const { return words_; }
    const std::string &userDictPath() const { return path_; }

    /// Writes the list to the shown dictionary's user file; says so and returns false when it
    /// cannot.
    bool save();

    /// "Close": asks to save a modified list first, and stays open when that save fails.
    void reject() override;

  private:
    void showDictionary(int index);
    void chooseDictionary(int index);
    void setModified(bool on);
    void add();
    void edit();
    void remove();
    void removeAll();
    void removeWord(const std::u16string &word);

    AppContext &context_;
    std::vector<std::u16string> words_;
    std::string path_;
    int shown_ = -1;
    bool modified_ = false;

    QComboBox *dictionaries_;
    CKbdEdit *edit_;
    QListWidget *list_;
    QPushButton *save_;
};

/// Opens the user dictionary editor over `parent` (the "User Dictionary" command). Says "No
/// Dictionary found. User Dictionary cannot be edited" when no dictionary is installed. The
/// input language is the same afterwards as before.
void runUserDictionaryEditor(AppContext &context, QWidget *parent);

} // namespace tarvellite::ui
