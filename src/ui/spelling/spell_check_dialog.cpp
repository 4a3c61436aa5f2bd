#include "ui/spelling/spell_check_dialog.h"

#include "core/app/busy_flag.h"
#include "core/app/messages.h"
#include "core/spelling/ignore_list.h"
#include "ui/app/app_context.h"
#include "ui/app/frame_services.h"
#include "ui/input/kbd_fields.h"
#include "ui/spelling/user_words.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace tarvellite::ui {

/// The document of an editing view as the walk sees it.
class CSpellCheckDialog::DocumentText : public SpellText {
  public:
    explicit DocumentText(QTextEdit *edit) : edit_(edit) {}
    int length() override {
        return edit_ ? std::max(0, edit_->document()->characterCount() - 1) : 0;
    }
    std::u16string read(int from, int to) override {
        if (!edit_)
            return {};
        const int n = length();
        from = std::clamp(from, 0, n);
        to = std::clamp(to, from, n);
        if (from == 0 && to == n)
            return toU16(edit_->document()->toPlainText());
        QTextCursor cursor(edit_->document());
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        QString text = cursor.selectedText();
        text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        text.replace(QChar::Nbsp, QLatin1Char(' '));
        return toU16(text);
    }
    void replace(int from, int to, std::u16string_view text) override {
        if (!edit_)
            return;
        QTextCursor cursor(edit_->document());
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        // The replacement takes the format of the word it replaces.
        cursor.insertText(toQString(text));
    }

  private:
    QPointer<QTextEdit> edit_;
};

namespace {

QLabel *label(const QString &text, QWidget *buddy) {
    auto *l = new QLabel(text);
    l->setAccessibleName(text);
    l->setBuddy(buddy);
    return l;
}

QPushButton *button(int id, const QString &text) {
    auto *b = new QPushButton(text);
    b->setObjectName(QString::number(id));
    b->setAccessibleName(text);
    return b;
}

} // namespace

CSpellCheckDialog::CSpellCheckDialog(AppContext &context, FrameServices &frame, QWidget *parent)
    : QWidget(parent), context_(context), frame_(frame) {
    setObjectName(QStringLiteral("246"));
    setAccessibleName(QStringLiteral("Spell Checker"));
    const QFont fieldFont = frame.statusFont();

    edit_ = new CKbdEdit;
    edit_->setObjectName(QStringLiteral("1070"));
    edit_->setAccessibleName(QStringLiteral("Not found in Dictionary"));
    edit_->setFont(fieldFont);
    suggestions_ = new QListWidget;
    suggestions_->setObjectName(QStringLiteral("1071"));
    suggestions_->setAccessibleName(QStringLiteral("Dictionary Words"));
    suggestions_->setSortingEnabled(true);
    suggestions_->setFont(fieldFont);
    dictionaries_ = new QComboBox;
    dictionaries_->setObjectName(QStringLiteral("1072"));
    dictionaries_->setAccessibleName(QStringLiteral("Dictionaries"));
    direction_ = new QComboBox;
    direction_->setObjectName(QStringLiteral("1078"));
    direction_->setAccessibleName(QStringLiteral("Spell Check Direction:"));
    for (int d = 0; d <= static_cast<int>(SpellDirection::CursorToBegin); ++d)
        direction_->addItem(toQString(spellDirectionText(static_cast<SpellDirection>(d))));
    progress_ = new QProgressBar;
    progress_->setObjectName(QStringLiteral("1236"));
    progress_->setAccessibleName(QStringLiteral("Progress"));
    progress_->setTextVisible(false);
    startButton_ = button(1073, QStringLiteral("Start"));
    ignoreAllButton_ = button(1074, QStringLiteral("Ignore All"));
    addButton_ = button(1075, QStringLiteral("Add to Dictionary"));
    changeButton_ = button(1076, QStringLiteral("Change"));
    changeAllButton_ = button(1077, QStringLiteral("Change All"));
    cancelButton_ = button(1227, QStringLiteral("Cancel"));
    marks_ = new QCheckBox(QStringLiteral("Mark misspelled words while typing"));
    marks_->setObjectName(QStringLiteral("spellMarks"));
    marks_->setAccessibleName(marks_->text());

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label(QStringLiteral("Not found in Dictionary"), edit_));
    layout->addWidget(edit_);
    layout->addWidget(label(QStringLiteral("Dictionary Words"), suggestions_));
    layout->addWidget(suggestions_, 1);
    layout->addWidget(label(QStringLiteral("Dictionaries"), dictionaries_));
    layout->addWidget(dictionaries_);
    layout->addWidget(label(QStringLiteral("Spell Check Direction:"), direction_));
    layout->addWidget(direction_);
    layout->addWidget(progress_);
    auto *grid = new QGridLayout;
    grid->addWidget(startButton_, 0, 0);
    grid->addWidget(ignoreAllButton_, 0, 1);
    grid->addWidget(changeButton_, 1, 0);
    grid->addWidget(changeAllButton_, 1, 1);
    grid->addWidget(addButton_, 2, 0);
    grid->addWidget(cancelButton_, 2, 1);
    layout->addLayout(grid);
    layout->addWidget(marks_);

    slices_ = new QTimer(this);
    slices_->setInterval(0);
    slices_->setSingleShot(true);
    connect(slices_, &QTimer::timeout, this, &CSpellCheckDialog::runSlices);

    connect(startButton_, &QPushButton::clicked, this, [this] {
        if (idle())
            start();
        else
            ignore();
    });
    connect(ignoreAllButton_, &QPushButton::clicked, this, &CSpellCheckDialog::ignoreAll);
    connect(addButton_, &QPushButton::clicked, this, &CSpellCheckDialog::addToDictionary);
    connect(changeButton_, &QPushButton::clicked, this, [this] { change(false); });
    connect(changeAllButton_, &QPushButton::clicked, this, [this] { change(true); });
    connect(cancelButton_, &QPushButton::clicked, this, &CSpellCheckDialog::cancel);
    connect(suggestions_, &QListWidget::currentTextChanged, this, [this](const QString &text) {
        if (!text.isEmpty())
            edit_->setText(text);
    });
    connect(suggestions_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        edit_->setText(item->text());
        change(false);
    });
    connect(direction_, &QComboBox::activated, this, [this](int index) {
        if (!idle())
            walk_->stop();
        slices_->stop();
        reset(index);
    });
    connect(dictionaries_, &QComboBox::activated, this, [this] {
        if (!idle())
            walk_->stop();
        slices_->stop();
        loadSelectedDictionary();
        reset(0);
    });

    MarkDictionaries &marks = MarkDictionaries::of(context);
    marks_->setChecked(marks.enabled());
    connect(marks_, &QCheckBox::toggled, &marks, &MarkDictionaries::setEnabled);
    connect(&marks, &MarkDictionaries::enabledChanged, marks_, &QCheckBox::setChecked);
    connect(&UserWordsHub::of(context), &UserWordsHub::userWordsChanged, this,
            &CSpellCheckDialog::userWordsChanged);
    connect(&context, &AppContext::settingsChanged, this, [this](unsigned parts) {
        if ((parts & (DictionaryPart | FolderPart)) && idle())
            fillDictionaries();
    });

    fillDictionaries();
    reset(0);
}

CSpellCheckDialog::~CSpellCheckDialog() = default;

void CSpellCheckDialog::fillDictionaries() {
    dictionaries_->clear();
    for (const std::u16string &name : context_.dictionaries().names())
        dictionaries_->addItem(toQString(name));
    const auto code = context_.inputContext().currentLanguageCode();
    const int index =
        context_.dictionaries().FindDictionaryIndex(u"", std::u16string(code.begin(), code.end()),
                                                    context_.mutableSettings().defaultDictionaries);
    dictionaries_->setCurrentIndex(index >= 0 ? index : 0);
    loadedIndex_ = -1;
    dictionary_.clear();
}

bool CSpellCheckDialog::loadSelectedDictionary() {
    const int index = dictionaries_->currentIndex();
    if (index == loadedIndex_ && dictionary_.loaded())
        return true;
    loadedIndex_ = index;
    const DICTIONARYPATH *entry = context_.dictionaries().at(index);
    if (!entry || !dictionary_.Load(entry->path, context_.settings().userDictionaryPath)) {
        dictionary_.clear();
        showMessage({"Unable to load the dictionary", "TarvelLite", MessageIcon::Error});
        return false;
    }
    return true;
}

void CSpellCheckDialog::reset(int direction) {
    edit_->clear();
    suggestions_->clear();
    direction_->setCurrentIndex(direction);
    startButton_->setText(QStringLiteral("Start"));
    startButton_->setAccessibleName(startButton_->text());
    progress_->hide();
    progress_->setRange(0, 1);
    progress_->setValue(0);
}

void CSpellCheckDialog::start() {
    QTextEdit *edit = frame_.activeDocumentEdit();
    if (!edit) {
        reset(direction_->currentIndex());
        return;
    }
    // A dictionary that did not load is never used: the session does not start.
    if (!loadSelectedDictionary()) {
        reset(direction_->currentIndex());
        return;
    }
    sessionEdit_ = edit;
    text_ = std::make_unique<DocumentText>(edit);
    walk_ = std::make_unique<SpellWalk>(*text_, [this](std::u16string_view word) {
        return dictionary_.CheckWord(word) || isIgnoredWord(word);
    });
    const QTextCursor cursor = edit->textCursor();
    startSelection_ = cursor.selectionStart();
    walk_->start(static_cast<SpellDirection>(direction_->currentIndex()), cursor.selectionStart(),
                 cursor.selectionEnd());
    startButton_->setText(QStringLiteral("Ignore"));
    startButton_->setAccessibleName(startButton_->text());
    progress_->setRange(0, std::max(1, walk_->progressMaximum()));
    progress_->setValue(0);
    progress_->show();
    runSlices();
}

void CSpellCheckDialog::runSlices() {
    if (idle())
        return;
    if (sessionViewChanged())
        return;
    SpellWalk::Step step;
    {
        BusyGuard guard(context_.busyFlag());
        step = walk_->next(sliceWords);
    }
    progress_->setRange(0, std::max(1, walk_->progressMaximum()));
    progress_->setValue(walk_->progress());
    switch (step) {
    case SpellWalk::Step::Found: showFound(); break;
    case SpellWalk::Step::Done: endSession(); break;
    case SpellWalk::Step::Paused: slices_->start(); break;
    }
}

void CSpellCheckDialog::showFound() {
    QTextCursor cursor(sessionEdit_->document());
    cursor.setPosition(walk_->wordStart());
    cursor.setPosition(walk_->wordEnd(), QTextCursor::KeepAnchor);
    sessionEdit_->setTextCursor(cursor);
    sessionEdit_->ensureCursorVisible();
    const QString word = toQString(walk_->currentWord());
    edit_->setText(word);
    suggestions_->clear();
    std::vector<std::u16string> found;
    dictionary_.GetSuggestions(found, walk_->currentWord(),
                               context_.settings().editOption.dictionaryAccuracy);
    for (const std::u16string &s : found)
        suggestions_->addItem(toQString(s));
    edit_->setText(word); // filling the list must not replace the rejected word
}

void CSpellCheckDialog::endSession() {
    const int checked = walk_ ? walk_->wordsChecked() : 0;
    if (walk_)
        walk_->stop();
    slices_->stop();
    if (sessionEdit_ && sessionEdit_ == frame_.activeDocumentEdit()) {
        QTextCursor cursor = sessionEdit_->textCursor();
        cursor.setPosition(
            std::min(startSelection_, sessionEdit_->document()->characterCount() - 1));
        sessionEdit_->setTextCursor(cursor);
    }
    reset(0);
    showMessage({"Spell check completed. Total words checked: " + std::to_string(checked),
                 "Words Checked", MessageIcon::Information});
}

bool CSpellCheckDialog::sessionViewChanged() {
    if (sessionEdit_ && sessionEdit_ == frame_.activeDocumentEdit())
        return false;
    showMessage(
        {"Active Document changed while Spell check in Progress\nTerminating Spell checking",
         "Spell Checking Session Interrupted", MessageIcon::Warning});
    endSession();
    return true;
}

void CSpellCheckDialog::ignore() {
    if (idle() || sessionViewChanged())
        return;
    runSlices();
}

void CSpellCheckDialog::ignoreAll() {
    if (idle() || sessionViewChanged())
        return;
    // The rejected word, whatever suggestion was clicked into the field since.
    if (!walk_->currentWord().empty() && !isIgnoredWord(walk_->currentWord())) {
        addIgnoredWord(walk_->currentWord());
        MarkDictionaries::of(context_).refresh();
    }
    runSlices();
}

void CSpellCheckDialog::addToDictionary() {
    if (idle() || sessionViewChanged())
        return;
    const std::u16string word = walk_->currentWord();
    if (!word.empty()) {
        dictionary_.AddUserWord(word);
        announcing_ = true;
        const bool saved = UserWordsHub::of(context_).addWord(dictionary_.userDictPath(), word);
        announcing_ = false;
        if (!saved)
            showMessage({"Unable to open the user dictionary file for Editing", "TarvelLite",
                         MessageIcon::Error});
    }
    runSlices();
}

void CSpellCheckDialog::change(bool all) {
    if (idle() || sessionViewChanged() || !walk_->waiting())
        return;
    const std::u16string replacement = toU16(edit_->text().trimmed());
    if (!dictionary_.CheckWord(replacement) && !isIgnoredWord(replacement)) {
        const MessageAnswer answer = showMessage(
            {"The Word you selected: \"" + edit_->text().trimmed().toStdString() +
                 "\" is not in Dictionary! Proceed?",
             "Dictionary Error", MessageIcon::Question, MessageButtons::YesNo, MessageAnswer::No});
        if (answer != MessageAnswer::Yes)
            return;
        addIgnoredWord(replacement);
    }
    if (all) {
        QTextCursor block(sessionEdit_->document());
        block.beginEditBlock();
        const int count = walk_->changeAll(replacement);
        block.endEditBlock();
        if (count > 0)
            showMessage({"Total " + std::to_string(count) + " words changed", "Dictionary Info",
                         MessageIcon::Information});
    } else {
        walk_->change(replacement);
    }
    runSlices();
}

void CSpellCheckDialog::cancel() {
    if (!walk_ || (!walk_->running() && !slices_->isActive()))
        return;
    endSession();
}

void CSpellCheckDialog::userWordsChanged(const QString &path) {
    if (announcing_ || !dictionary_.loaded() ||
        QString::fromStdString(dictionary_.userDictPath()) != path)
        return;
    // Another window rewrote the user words: read them again with the dictionary.
    const DICTIONARYPATH *entry = context_.dictionaries().at(loadedIndex_);
    if (!entry || !dictionary_.Load(entry->path, context_.settings().userDictionaryPath))
        dictionary_.clear();
}

} // namespace tarvellite::ui
