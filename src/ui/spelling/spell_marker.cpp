#include "ui/spelling/spell_marker.h"

#include "core/app/messages.h"
#include "core/input/word_boundary.h"
#include "core/spelling/dictionary.h"
#include "core/spelling/ignore_list.h"
#include "ui/app/app_context.h"
#include "ui/spelling/user_words.h"

#include <QEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

namespace tarvellite::ui {

namespace {

constexpr int markProperty = QTextFormat::UserProperty + 0x5e11;
constexpr int maxMenuSuggestions = 8;

QTextCharFormat markFormat() {
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    format.setUnderlineColor(Qt::red);
    format.setProperty(markProperty, true);
    return format;
}

// The word of `text` around `offset`: [start, end), empty when there is none.
std::pair<int, int> wordAround(std::u16string_view text, int offset) {
    const auto word = [&](int i) { return isWordUnitAt(text, static_cast<std::size_t>(i)); };
    const int n = static_cast<int>(text.size());
    int start = offset, end = offset;
    while (start > 0 && word(start - 1))
        --start;
    while (end < n && word(end))
        ++end;
    return {start, end};
}

} // namespace

SpellMarker::SpellMarker(QTextEdit *view, AppContext &context)
    : QObject(view), view_(view), context_(context), dictionaries_(MarkDictionaries::of(context)),
      timer_(new QTimer(this)) {
    timer_->setSingleShot(true);
    timer_->setInterval(delay);
    connect(timer_, &QTimer::timeout, this, &SpellMarker::markVisible);
    connect(view->document(), &QTextDocument::contentsChange, this, [this] {
        if (!applying_)
            schedule();
    });
    connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this, &SpellMarker::schedule);
    connect(&dictionaries_, &MarkDictionaries::changed, this, &SpellMarker::schedule);
    connect(&dictionaries_, &MarkDictionaries::enabledChanged, this, [this](bool on) {
        if (on)
            schedule();
        else
            clearAll();
    });
    view->viewport()->installEventFilter(this);
    schedule();
}

bool SpellMarker::eventFilter(QObject *watched, QEvent *event) {
    if (watched == view_->viewport() && event->type() == QEvent::Resize)
        schedule();
    return QObject::eventFilter(watched, event);
}

void SpellMarker::schedule() {
    if (dictionaries_.enabled())
        timer_->start();
}

QList<QTextLayout::FormatRange> SpellMarker::marksOf(const QTextBlock &block) {
    QList<QTextLayout::FormatRange> marks;
    if (const QTextLayout *layout = block.layout())
        for (const QTextLayout::FormatRange &range : layout->formats())
            if (range.format.hasProperty(markProperty))
                marks.append(range);
    return marks;
}

bool SpellMarker::markBlock(const QTextBlock &block, int caret) {
    const QString qtext = block.text();
    const std::u16string_view text(reinterpret_cast<const char16_t *>(qtext.utf16()),
                                   static_cast<std::size_t>(qtext.size()));
    const int n = static_cast<int>(text.size());
    const int caretOffset = caret - block.position();
    QList<QTextLayout::FormatRange> marks;
    const QTextCharFormat format = markFormat();
    for (int i = 0; i < n;) {
        if (!isWordUnitAt(text, static_cast<std::size_t>(i))) {
            ++i;
            continue;
        }
        const int start = i;
        while (i < n && isWordUnitAt(text, static_cast<std::size_t>(i)))
            ++i;
        if (i == caretOffset)
            continue; // still being typed
        const std::u16string_view word =
            text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(i - start));
        const CDictionary *dictionary = dictionaries_.forUnit(word.front());
        if (dictionary && dictionary->loaded() && !dictionary->CheckWord(word))
            marks.append({start, i - start, format});
    }
    if (marks == marksOf(block))
        return false;
    block.layout()->setFormats(marks);
    return true;
}

void SpellMarker::markVisible() {
    if (!dictionaries_.enabled())
        return;
    QTextDocument *document = view_->document();
    const QRect area = view_->viewport()->rect();
    const QTextBlock first = view_->cursorForPosition(area.topLeft()).block();
    const QTextBlock last = view_->cursorForPosition(area.bottomRight()).block();
    const int caret = view_->textCursor().position();
    applying_ = true;
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        if (markBlock(block, caret))
            document->markContentsDirty(block.position(), block.length());
        if (block == last)
            break;
    }
    applying_ = false;
}

void SpellMarker::clearAll() {
    timer_->stop();
    QTextDocument *document = view_->document();
    applying_ = true;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (!marksOf(block).isEmpty()) {
            block.layout()->clearFormats();
            document->markContentsDirty(block.position(), block.length());
        }
    }
    applying_ = false;
}

void SpellMarker::extendMenu(QMenu *menu, const QPoint &viewportPoint) {
    if (!dictionaries_.enabled())
        return;
    const QTextCursor at = view_->cursorForPosition(viewportPoint);
    const QTextBlock block = at.block();
    const QString qtext = block.text();
    const std::u16string_view text(reinterpret_cast<const char16_t *>(qtext.utf16()),
                                   static_cast<std::size_t>(qtext.size()));
    const auto [start, end] = wordAround(text, at.position() - block.position());
    if (start == end)
        return;
    const std::u16string word(
        text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
    CDictionary *dictionary = dictionaries_.forUnit(word.front());
    if (!dictionary || !dictionary->loaded() || dictionary->CheckWord(word))
        return;

    QAction *before = menu->actions().isEmpty() ? nullptr : menu->actions().first();
    std::vector<std::u16string> found;
    dictionary->GetSuggestions(found, word, context_.settings().editOption.dictionaryAccuracy);
    const int from = block.position() + start;
    const int to = block.position() + end;
    QList<QAction *> actions;
    for (std::size_t i = 0; i < found.size() && i < maxMenuSuggestions; ++i) {
        auto *action = new QAction(toQString(found[i]), menu);
        const QString replacement = action->text();
        connect(action, &QAction::triggered, view_, [view = view_, from, to, replacement] {
            QTextCursor cursor(view->document());
            cursor.setPosition(from);
            cursor.setPosition(to, QTextCursor::KeepAnchor);
            cursor.insertText(replacement);
        });
        actions.append(action);
    }
    auto *ignoreAll = new QAction(QStringLiteral("Ignore All"), menu);
    MarkDictionaries &dictionaries = dictionaries_;
    connect(ignoreAll, &QAction::triggered, &dictionaries, [&dictionaries, word] {
        addIgnoredWord(word);
        dictionaries.refresh();
    });
    auto *add = new QAction(QStringLiteral("Add to Dictionary"), menu);
    const std::string path = dictionary->userDictPath();
    connect(add, &QAction::triggered, &dictionaries_,
            [this, path, word] { UserWordsHub::of(context_).addWord(path, word); });
    actions.append(ignoreAll);
    actions.append(add);
    for (QAction *action : actions)
        action->setObjectName(action->text());
    menu->insertActions(before, actions);
    if (before)
        menu->insertSeparator(before);
}

} // namespace tarvellite::ui
