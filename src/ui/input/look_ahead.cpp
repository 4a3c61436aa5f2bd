#include "ui/input/look_ahead.h"

#include "core/input/word_boundary.h"
#include "ui/input/lookup_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>

namespace tarvellite {

namespace {

// How far back the word search looks at first; a longer word reads its whole paragraph.
constexpr int searchWindowUnits = 96;

std::u16string_view unitsOf(const QString &text) {
    return {reinterpret_cast<const char16_t *>(text.utf16()),
            static_cast<std::size_t>(text.size())};
}

QString textBetween(QTextDocument *document, int from, int to) {
    QTextCursor c(document);
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    return c.selectedText();
}

} // namespace

// ---------------------------------------------------------------------------------------------
// LookAheadSource and the lookup dictionary

LookupDictionary::LookupDictionary(const InputContext &context, std::function<int()> minLetters)
    : context_(context), minLetters_(std::move(minLetters)) {}

LookupDictionary::~LookupDictionary() = default;

QString LookupDictionary::reload(const DictionaryRegistry &registry,
                                 std::vector<std::u16string> &choiceList,
                                 const std::string &userFolder) {
    loadedLanguage_ = context_.currentLanguageIndex();
    const std::string_view code = context_.currentLanguageCode();
    const std::u16string code16(code.begin(), code.end());
    dictionary_.clear();
    chosenIndex_ = -1;
    statusText_ = QString::fromLatin1(noDictionaryText);
    const int index = registry.FindDictionaryIndex(u"", code16, choiceList);
    const DICTIONARYPATH *entry = index >= 0 ? registry.at(index) : nullptr;
    if (!entry)
        return statusText_;
    // The look-ahead never writes the user words back, so it need not hold them apart.
    if (dictionary_.Load(entry->path, userFolder)) {
        chosenIndex_ = index;
        statusText_ = QStringLiteral("%1 Dictionary loaded")
                          .arg(QString::fromUtf16(entry->name.data(),
                                                  static_cast<qsizetype>(entry->name.size())));
    }
    return statusText_;
}

bool LookupDictionary::reloadIfLanguageChanged(const DictionaryRegistry &registry,
                                               std::vector<std::u16string> &choiceList,
                                               const std::string &userFolder) {
    if (context_.currentLanguageIndex() == loadedLanguage_)
        return false;
    reload(registry, choiceList, userFolder);
    return true;
}

const CDictionary *LookupDictionary::lookupDictionary() const {
    return dictionary_.loaded() ? &dictionary_ : nullptr;
}

int LookupDictionary::lookAheadMinLetters() const {
    return minLetters_ ? minLetters_() : 0;
}

int LookupDictionary::currentLanguageIndex() const {
    return context_.currentLanguageIndex();
}

// ---------------------------------------------------------------------------------------------
// The look-ahead of one view

LookAhead::LookAhead(QTextEdit *edit, LookAheadSource *source)
    : LookAhead(edit, [source] { return source; }) {}

LookAhead::LookAhead(QTextEdit *edit, std::function<LookAheadSource *()> source)
    : QObject(edit), edit_(edit), source_(std::move(source)), window_(new CLookupWindow(edit)) {
    window_->hide();
    connect(window_, &CLookupWindow::wordChosen, this, [this](const QString &word) {
        bringViewToFront();
        InsertLookAheadWord(word, true);
    });
    edit->installEventFilter(this);
    connect(edit->document(), &QTextDocument::contentsChanged, this, [this] {
        if (placeAgain_ && popupVisible())
            placePopup();
        placeAgain_ = false;
    });
    // The popup goes when the program loses the keyboard focus or the view hands it on.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (popupVisible() && now != edit_)
            HideLookAheadPopup();
    });
}

LookAhead::~LookAhead() = default;

LookAheadSource *LookAhead::source() const {
    return source_ ? source_() : nullptr;
}

bool LookAhead::popupVisible() const {
    return window_->isVisible();
}

void LookAhead::HideLookAheadPopup() {
    if (window_->isVisible())
        window_->hide();
}

bool LookAhead::LookAheadUpdate() {
    const LookAheadSource *s = source();
    if (!edit_ || !s)
        return false;
    const int minLetters = s->lookAheadMinLetters();
    if (minLetters < 2)
        return false;
    const CDictionary *dictionary = s->lookupDictionary();
    if (!dictionary)
        return false;
    QString word = GetWordBeforeCaret(false);
    // A word before the caret that ends in a space or punctuation is not being typed.
    if (word.size() < minLetters || wordClassOf(word.back().unicode()) != WordClass::Word)
        return false;
    if (s->currentLanguageIndex() == 0)
        word = word.toLower();
    if (dictionary->LookupPrefix(unitsOf(word), lookAheadLimit, words_) <= 0)
        return false;
    ShowLookAheadPopup(words_);
    return true;
}

QString LookAhead::GetWordBeforeCaret(bool keepSelected) {
    if (!edit_)
        return {};
    QTextDocument *document = edit_->document();
    const QTextCursor selection = edit_->textCursor();
    const int end = selection.selectionEnd();
    const int blockStart = document->findBlock(end).position();
    int from = std::max(blockStart, end - searchWindowUnits);
    QString text = textBetween(document, from, end);
    std::size_t start = wordLeft(unitsOf(text), static_cast<std::size_t>(text.size()));
    if (start == 0 && from > blockStart) {
        from = blockStart;
        text = textBetween(document, from, end);
        start = wordLeft(unitsOf(text), static_cast<std::size_t>(text.size()));
    }
    if (keepSelected) {
        QTextCursor c(document);
        c.setPosition(from + static_cast<int>(start));
        c.setPosition(end, QTextCursor::KeepAnchor);
        edit_->setTextCursor(c);
    }
    return text.mid(static_cast<qsizetype>(start));
}

void LookAhead::ShowLookAheadPopup(const std::vector<std::u16string> &words) {
    if (!edit_)
        return;
    window_->setWords(words);
    placePopup();
    // Inside a keystroke's edit block the layout still shows the text before it: place the
    // popup again once the keystroke is complete.
    placeAgain_ = true;
    if (!window_->isVisible()) {
        window_->show();
        window_->raise();
    }
}

void LookAhead::placePopup() {
    const QSize size = window_->popupSize();
    // Just below the line of the selection start; above it when the screen ends first.
    QTextCursor c = edit_->textCursor();
    c.setPosition(c.selectionStart());
    const QRect caret = edit_->cursorRect(c);
    QWidget *viewport = edit_->viewport();
    QPoint at = viewport->mapToGlobal(QPoint(caret.left(), caret.bottom() + 1));
    if (const QScreen *screen = edit_->screen()) {
        const QRect area = screen->availableGeometry();
        if (at.y() + size.height() > area.bottom() + 1)
            at.setY(viewport->mapToGlobal(caret.topLeft()).y() - size.height());
        at.setX(std::clamp(at.x(), area.left(),
                           std::max(area.left(), area.right() + 1 - size.width())));
    }
    const QRect geometry(at, size);
    if (window_->geometry() != geometry)
        window_->setGeometry(geometry);
}

void LookAhead::InsertLookAheadWord(const QString &word, bool appendSpace) {
    if (!edit_ || word.isEmpty())
        return;
    const QString typed = GetWordBeforeCaret(true);
    QString text = word;
    if (appendSpace)
        text += QLatin1Char(' ');
    const LookAheadSource *s = source();
    if (s && s->currentLanguageIndex() == 0 && !typed.isEmpty())
        text[0] = typed[0];

    QTextCursor c = edit_->textCursor();
    // The word takes the format of its typed part (one format for the whole cluster).
    QTextCharFormat format = edit_->currentCharFormat();
    if (c.hasSelection()) {
        QTextCursor first(edit_->document());
        first.setPosition(c.selectionStart() + 1);
        format = first.charFormat();
    }
    c.beginEditBlock();
    c.insertText(text, format);
    c.endEditBlock();
    edit_->setTextCursor(c);
    edit_->setCurrentCharFormat(format);
    HideLookAheadPopup();
    edit_->setFocus();
}

bool LookAhead::HandlePopupKey(QKeyEvent &event) {
    if (!popupVisible())
        return false;
    switch (event.key()) {
    case Qt::Key_Right:
        window_->selectCaretItem();
        bringViewToFront();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        window_->moveSelection(event.key() == Qt::Key_Up ? -1 : 1);
        bringViewToFront();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (window_->hasSelection()) {
            InsertLookAheadWord(window_->selectedWord(), true);
            return true;
        }
        break;
    case Qt::Key_Left:
    case Qt::Key_Escape: HideLookAheadPopup(); return true;
    default: break;
    }
    const QString text = event.text();
    if (text.isEmpty())
        return false;
    const QChar ch = text.front();
    if ((ch == QLatin1Char(' ') || ch == QLatin1Char('\t')) && window_->hasSelection()) {
        InsertLookAheadWord(window_->selectedWord(), true);
        return true;
    }
    HideLookAheadPopup();
    return false;
}

void LookAhead::bringViewToFront() {
    if (!edit_)
        return;
    if (QWidget *top = edit_->window(); !top->isActiveWindow())
        top->activateWindow();
    if (!edit_->hasFocus())
        edit_->setFocus();
}

bool LookAhead::eventFilter(QObject *watched, QEvent *event) {
    // Letting go of Backspace ends the look-ahead (holding it down keeps it up to date).
    if (watched == edit_ && event->type() == QEvent::KeyRelease && popupVisible()) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Backspace && !key->isAutoRepeat()) {
            HideLookAheadPopup();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tarvellite
