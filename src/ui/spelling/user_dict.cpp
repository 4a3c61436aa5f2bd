#include "ui/spelling/user_dict.h"

#include "core/app/messages.h"
#include "core/spelling/ascii_case.h"
#include "core/spelling/dictionary.h"
#include "ui/app/app_context.h"
#include "ui/input/kbd_fields.h"
#include "ui/spelling/user_words.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

namespace tarvellite::ui {

namespace {

QPushButton *button(int id, const QString &text) {
    auto *b = new QPushButton(text);
    b->setObjectName(QString::number(id));
    b->setAccessibleName(text);
    b->setAutoDefault(false);
    return b;
}

bool askToSave(const char *text) {
    return showMessage({text, "User Dictionary Save Query", MessageIcon::Question,
                        MessageButtons::YesNo, MessageAnswer::No}) == MessageAnswer::Yes;
}

} // namespace

CUserDict::CUserDict(AppContext &context, QWidget *parent) : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("296"));
    setWindowTitle(QStringLiteral("User Dictionary Words"));
    setAccessibleName(windowTitle());
    setModal(true);

    auto *selectLabel = new QLabel(QStringLiteral("Select Dictionary:"));
    selectLabel->setAccessibleName(selectLabel->text());
    dictionaries_ = new QComboBox;
    dictionaries_->setObjectName(QStringLiteral("1225"));
    dictionaries_->setAccessibleName(selectLabel->text());
    selectLabel->setBuddy(dictionaries_);
    edit_ = new CKbdEdit;
    edit_->setObjectName(QStringLiteral("1231"));
    edit_->setAccessibleName(QStringLiteral("Word"));
    list_ = new QListWidget;
    list_->setObjectName(QStringLiteral("1232"));
    list_->setAccessibleName(QStringLiteral("User Dictionary Words"));
    list_->setSortingEnabled(true);
    QPushButton *addButton = button(1228, QStringLiteral("Add"));
    QPushButton *editButton = button(1093, QStringLiteral("Edit"));
    QPushButton *deleteButton = button(1097, QStringLiteral("Delete"));
    QPushButton *deleteAllButton = button(1230, QStringLiteral("Delete All"));
    save_ = button(1, QStringLiteral("Save"));
    QPushButton *closeButton = button(2, QStringLiteral("Close"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(selectLabel, 0, 0);
    grid->addWidget(dictionaries_, 0, 1);
    grid->addWidget(edit_, 1, 0, 1, 2);
    grid->addWidget(list_, 2, 0, 6, 1);
    grid->addWidget(addButton, 2, 1);
    grid->addWidget(editButton, 3, 1);
    grid->addWidget(deleteButton, 4, 1);
    grid->addWidget(deleteAllButton, 5, 1);
    grid->addWidget(save_, 6, 1);
    grid->addWidget(closeButton, 7, 1);

    connect(addButton, &QPushButton::clicked, this, &CUserDict::add);
    connect(editButton, &QPushButton::clicked, this, &CUserDict::edit);
    connect(deleteButton, &QPushButton::clicked, this, &CUserDict::remove);
    connect(deleteAllButton, &QPushButton::clicked, this, &CUserDict::removeAll);
    connect(save_, &QPushButton::clicked, this, &CUserDict::save);
    connect(closeButton, &QPushButton::clicked, this, &CUserDict::reject);
    connect(list_, &QListWidget::currentTextChanged, edit_, &QLineEdit::setText);
    connect(list_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { edit_->setText(item->text()); });
    connect(dictionaries_, &QComboBox::activated, this, &CUserDict::chooseDictionary);

    for (const std::u16string &name : context.dictionaries().names())
        dictionaries_->addItem(toQString(name));
    const auto code = context.inputContext().currentLanguageCode();
    const int index =
        context.dictionaries().FindDictionaryIndex(u"", std::u16string(code.begin(), code.end()),
                                                   context.mutableSettings().defaultDictionaries);
    dictionaries_->setCurrentIndex(index >= 0 ? index : 0);
    showDictionary(dictionaries_->currentIndex());
}

void CUserDict::setModified(bool on) {
    modified_ = on;
    save_->setEnabled(on);
}

void CUserDict::showDictionary(int index) {
    shown_ = index;
    setModified(false);
    list_->clear();
    edit_->clear();
    words_.clear();
    path_.clear();
    const DICTIONARYPATH *entry = context_.dictionaries().at(index);
    if (!entry) {
        showMessage({"No Dictionary found to load", "TarvelLite", MessageIcon::Error});
        return;
    }
    // The path always follows the shown dictionary, so its words are never saved into the
    // user file of the one shown before. A file that cannot be read shows an empty list; it
    // is kept as a backup before anything is written over it.
    path_ = CDictionary::userDictionaryPathFor(entry->path, context_.settings().userDictionaryPath);
    readUserWords(path_, words_);
    for (const std::u16string &word : words_)
        list_->addItem(toQString(word));
}

void CUserDict::chooseDictionary(int index) {
    if (index == shown_)
        return;
    if (modified_ &&
        askToSave("Current User Dictionary is modified. Do you want to save before changing to "
                  "New Dictionary?") &&
        !save()) {
        dictionaries_->setCurrentIndex(shown_);
        return;
    }
    showDictionary(index);
    // Typing in the field follows the dictionary's language.
    if (const DICTIONARYPATH *entry = context_.dictionaries().at(index)) {
        const KeyboardTables &tables = context_.keyboardTables();
        for (std::size_t i = 0; i < tables.languageCodes.size(); ++i)
            if (sameLanguageCode(entry->name, std::u16string(tables.languageCodes[i].begin(),
                                                             tables.languageCodes[i].end())))
                context_.inputContext().SelectLanguage(static_cast<int>(i));
    }
}

void CUserDict::add() {
    const std::u16string word = toU16(edit_->text().trimmed());
    if (word.empty())
        return;
    edit_->clear();
    if (std::find(words_.begin(), words_.end(), word) == words_.end()) {
        words_.push_back(word);
        list_->addItem(toQString(word));
    }
    setModified(true);
}

void CUserDict::removeWord(const std::u16string &word) {
    std::erase(words_, word);
    const QString text = toQString(word);
    for (int row = list_->count() - 1; row >= 0; --row)
        if (list_->item(row)->text() == text)
            delete list_->takeItem(row);
}

void CUserDict::edit() {
    const std::u16string word = toU16(edit_->text().trimmed());
    QListWidgetItem *selected = list_->currentItem();
    if (word.empty() || !selected)
        return;
    edit_->clear();
    const std::u16string old = toU16(selected->text().trimmed());
    if (equalIgnoringCase(word, old))
        return;
    removeWord(old);
    if (std::find(words_.begin(), words_.end(), word) == words_.end()) {
        words_.push_back(word);
        list_->addItem(toQString(word));
    }
    setModified(true);
}

void CUserDict::remove() {
    const std::u16string word = toU16(edit_->text().trimmed());
    QListWidgetItem *selected = list_->currentItem();
    if (word.empty() || !selected)
        return;
    edit_->clear();
    const std::u16string entry = toU16(selected->text());
    if (!equalIgnoringCase(word, entry))
        return;
    // Both the word list and the list box lose the selected entry.
    removeWord(entry);
    setModified(true);
}

void CUserDict::removeAll() {
    words_.clear();
    list_->clear();
    setModified(true);
}

bool CUserDict::save() {
    if (path_.empty() || !writeUserWords(path_, words_)) {
        showMessage({"Unable to open the user dictionary file for Editing", "TarvelLite",
                     MessageIcon::Error});
        return false;
    }
    setModified(false);
    edit_->clear();
    UserWordsHub::of(context_).announce(path_);
    return true;
}

void CUserDict::reject() {
    if (modified_ &&
        askToSave("The User Dictionary is modified. Do you want to save before exiting?") &&
        !save())
        return; // the words are not lost: the editor stays open
    QDialog::reject();
}

void runUserDictionaryEditor(AppContext &context, QWidget *parent) {
    if (context.dictionaries().names().empty()) {
        showMessage({"No Dictionary found. User Dictionary cannot be edited", "TarvelLite",
                     MessageIcon::Information});
        return;
    }
    InputContext &input = context.inputContext();
    const int language = input.currentLanguageIndex();
    const int previous = input.previousLanguageIndex();
    {
        CUserDict dialog(context, parent);
        dialog.exec();
    }
    if (language >= 0 && input.currentLanguageIndex() != language) {
        input.SelectLanguage(language);
        input.setPreviousLanguageIndex(previous);
    }
}

} // namespace tarvellite::ui
