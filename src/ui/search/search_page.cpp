#include "ui/search/search_page.h"

#include "core/app/busy_flag.h"
#include "core/app/messages.h"
#include "core/search/text_search.h"
#include "ui/app/app_context.h"
#include "ui/app/frame_services.h"
#include "ui/input/kbd_fields.h"
#include "ui/input/my_tooltip.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>
#include <cmath>

namespace tarvellite::ui {

namespace {

std::u16string units(const QString &s) {
    return {reinterpret_cast<const char16_t *>(s.utf16()), std::size_t(s.size())};
}

MessageAnswer ask(const QString &text, const char *caption) {
    return showMessage(Message{text.toStdString(), caption, MessageIcon::Question,
                               MessageButtons::YesNo, MessageAnswer::Yes});
}

void tell(const QString &text, const char *caption) {
    showMessage(Message{text.toStdString(), caption, MessageIcon::Information, MessageButtons::Ok,
                        MessageAnswer::Ok});
}

int twips(double points) {
    return int(std::lround(points * 20));
}

/// A Change All that replaces this many occurrences or more shows its progress.
constexpr int progressFrom = 2000;

} // namespace

// ---------------------------------------------------------------------------------------------
// The document as lines

int DocumentSearchText::length() const {
    return edit_ ? edit_->document()->characterCount() - 1 : 0;
}

int DocumentSearchText::lineCount() const {
    return edit_ ? edit_->document()->blockCount() : 0;
}

int DocumentSearchText::lineStart(int line) const {
    return edit_ ? edit_->document()->findBlockByNumber(line).position() : 0;
}

int DocumentSearchText::lineOf(int position) const {
    return edit_ ? std::max(0, edit_->document()->findBlock(position).blockNumber()) : 0;
}

std::u16string DocumentSearchText::lineText(int line) const {
    return edit_ ? units(edit_->document()->findBlockByNumber(line).text()) : std::u16string();
}

std::pair<int, int> DocumentSearchText::selection() const {
    if (!edit_)
        return {0, 0};
    const QTextCursor c = edit_->textCursor();
    return {c.selectionStart(), c.selectionEnd()};
}

void DocumentSearchText::select(int start, int end) {
    if (!edit_)
        return;
    const int last = length();
    QTextCursor c = edit_->textCursor();
    c.setPosition(std::clamp(start, 0, last));
    c.setPosition(std::clamp(end, 0, last), QTextCursor::KeepAnchor);
    edit_->setTextCursor(c);
}

bool DocumentSearchText::formatMatches(int start, int length) const {
    if (!font_ || !edit_)
        return true;
    QTextCursor c(edit_->document());
    for (int i = start; i < start + length; ++i) {
        c.setPosition(i + 1);
        if (!formatHasFont(c.charFormat(), *font_))
            return false;
    }
    return true;
}

bool formatHasFont(const QTextCharFormat &format, const FontChoice &choice) {
    const QFont font = format.font();
    const QFont &want = choice.font;
    const QColor colour = format.foreground().style() == Qt::NoBrush ? QColor(Qt::black)
                                                                     : format.foreground().color();
    return font.family() == want.family() && twips(font.pointSizeF()) == twips(want.pointSizeF()) &&
           font.weight() == want.weight() && font.italic() == want.italic() &&
           font.underline() == want.underline() && font.strikeOut() == want.strikeOut() &&
           colour == choice.colour;
}

// ---------------------------------------------------------------------------------------------
// The form

CSearchPage::CSearchPage(AppContext &context, FrameServices &frame, QWidget *parent)
    : QWidget(parent), context_(context), frame_(frame) {
    setObjectName(QStringLiteral("108"));
    setAccessibleName(QStringLiteral("Find / Replace"));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    auto button = [this](int id, const QString &caption, bool checkable = false) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::number(id));
        b->setAccessibleName(caption);
        b->setCheckable(checkable);
        b->setAutoDefault(false);
        return b;
    };
    auto field = [this, &frame](int id, const QString &caption) {
        auto *f = new CKbdCombo(this);
        f->setObjectName(QString::number(id));
        f->setAccessibleName(caption);
        f->setInsertPolicy(QComboBox::NoInsert);
        QFont font = frame.statusFont();
        if (font.pointSizeF() <= 0)
            font.setPointSize(14);
        f->setFont(font);
        return f;
    };
    auto *layout = new QVBoxLayout(this);
    auto label = [this, layout](const QString &caption) {
        auto *l = new QLabel(caption, this);
        l->setAccessibleName(caption);
        layout->addWidget(l);
        return l;
    };
    label(QStringLiteral("Search Word:"))
        ->setBuddy(searchField_ = field(1107, QStringLiteral("Search Word:")));
    layout->addWidget(searchField_);
    label(QStringLiteral("Change Word:"))
        ->setBuddy(changeField_ = field(1103, QStringLiteral("Change Word:")));
    layout->addWidget(changeField_);
    wholeWord_ = new QCheckBox(QStringLiteral("Whole word only"), this);
    wholeWord_->setObjectName(QStringLiteral("1104"));
    wholeWord_->setAccessibleName(wholeWord_->text());
    connect(wholeWord_, &QCheckBox::clicked, this, [this] { session_.clearFoundCount(); });
    layout->addWidget(wholeWord_);

    auto *grid = new QGridLayout;
    QPushButton *forward = button(1096, QStringLiteral("Forward"));
    QPushButton *backward = button(1109, QStringLiteral("Backward"));
    QPushButton *change = button(1110, QStringLiteral("Change"));
    QPushButton *changeAll = button(1111, QStringLiteral("Change All"));
    searchFontBox_ = button(1105, QStringLiteral("Search Font"), true);
    QPushButton *searchFontMore = button(1106, QStringLiteral("..."));
    changeFontBox_ = button(1108, QStringLiteral("Change Font"), true);
    QPushButton *changeFontMore = button(1092, QStringLiteral("..."));
    QPushButton *cancel = button(1241, QStringLiteral("Cancel"));
    grid->addWidget(forward, 0, 0);
    grid->addWidget(backward, 0, 1);
    grid->addWidget(change, 1, 0);
    grid->addWidget(changeAll, 1, 1);
    grid->addWidget(searchFontBox_, 2, 0);
    grid->addWidget(searchFontMore, 2, 1);
    grid->addWidget(changeFontBox_, 3, 0);
    grid->addWidget(changeFontMore, 3, 1);
    grid->addWidget(cancel, 4, 0, 1, 2);
    layout->addLayout(grid);
    layout->addStretch();

    connect(forward, &QPushButton::clicked, this, &CSearchPage::Forward);
    connect(backward, &QPushButton::clicked, this, &CSearchPage::Backward);
    connect(change, &QPushButton::clicked, this, &CSearchPage::Change);
    connect(changeAll, &QPushButton::clicked, this, &CSearchPage::ChangeAll);
    connect(cancel, &QPushButton::clicked, this, &CSearchPage::Cancel);
    connect(searchFontMore, &QPushButton::clicked, this, &CSearchPage::ChooseSearchFont);
    connect(changeFontMore, &QPushButton::clicked, this, &CSearchPage::ChooseChangeFont);
    connect(searchFontBox_, &QPushButton::clicked, this, [this] { fontBoxClicked(true); });
    connect(changeFontBox_, &QPushButton::clicked, this, [this] { fontBoxClicked(false); });

    searchFontBox_->setToolTip(QStringLiteral("Search String Format"));
    changeFontBox_->setToolTip(QStringLiteral("Replace String Format"));
    tooltip_ = new CMyToolTipCtrl(this);
    CMyToolTipCtrl::Parameters p;
    p.boldLabel = true;
    p.drawIcon = true;
    p.drawDescription = true;
    p.drawSeparator = true;
    p.roundedCorners = true;
    p.balloon = false;
    p.maxDescriptionWidth = 200;
    tooltip_->setParameters(p);
    tooltip_->watch(this);
}

CSearchPage::~CSearchPage() = default;

DocumentSearchText *CSearchPage::activeText() {
    QTextEdit *edit = frame_.activeDocumentEdit();
    if (!edit)
        return nullptr;
    if (!text_ || text_->edit() != edit) {
        // Another document: the session on the old one ends.
        session_.reset();
        text_ = std::make_unique<DocumentSearchText>(edit);
    }
    text_->setFont(searchFontBox_->isChecked() ? searchFont_ : std::nullopt);
    return text_.get();
}

void CSearchPage::readFields() {
    // Read at every command: an emptied field never searches for an earlier text.
    searchText_ = searchField_->currentText();
    replaceText_ = changeField_->currentText();
    session_.searchText = units(searchText_);
    session_.wholeWord = wholeWord_->isChecked();
    session_.matchFont = searchFontBox_->isChecked() && searchFont_.has_value();
}

void CSearchPage::remember(CKbdCombo *field, const QString &text) {
    if (text.isEmpty() || field->findText(text, Qt::MatchFixedString) >= 0)
        return;
    const auto selection = field->savedEditSelection();
    field->addItem(text);
    field->setEditText(text);
    field->lineEdit()->setSelection(selection.first, selection.second - selection.first);
}

void CSearchPage::Forward() {
    find(search::Direction::Forward);
}

void CSearchPage::Backward() {
    find(search::Direction::Backward);
}

void CSearchPage::find(search::Direction d) {
    readFields();
    if (searchText_.isEmpty())
        return;
    remember(searchField_, searchText_);
    DocumentSearchText *text = activeText();
    if (!text) {
        session_.reset();
        return;
    }
    if (text->length() == 0) {
        session_.reset();
        tell(QStringLiteral("Nothing to check. Document is Empty"), "Empty Document Error");
        return;
    }
    const auto outcome = session_.find(text, d, [] {
        return ask(QStringLiteral("End of Document Reached. Do you want to continue to search "
                                  "rest of document"),
                   "Search Enquiry") == MessageAnswer::Yes;
    });
    if (outcome == search::SearchSession::Outcome::Finished ||
        outcome == search::SearchSession::Outcome::Stopped) {
        tell(QStringLiteral("End of Document Reached. Searched for Word: \"%1\"\nTotal Words "
                            "Found: %2;")
                 .arg(searchText_)
                 .arg(session_.foundCount()),
             "Search Routine Completed");
        session_.clearFoundCount();
    }
}

void CSearchPage::applyChangeFont(QTextCursor &cursor) const {
    if (!changeFontBox_->isChecked() || !changeFont_)
        return;
    const QFont &font = changeFont_->font;
    QTextCharFormat format;
    format.setFontFamilies({font.family()});
    format.setFontPointSize(twips(font.pointSizeF()) / 20.0);
    // Every style comes from the chosen font: it can also take italic or bold away.
    format.setFontWeight(font.weight());
    format.setFontItalic(font.italic());
    format.setFontUnderline(font.underline());
    format.setFontStrikeOut(font.strikeOut());
    format.setForeground(changeFont_->colour);
    cursor.mergeCharFormat(format);
}

bool CSearchPage::replaceSelection(bool confirm) {
    QTextEdit *edit = text_ ? text_->edit() : nullptr;
    if (!edit)
        return false;
    QTextCursor cursor = edit->textCursor();
    if (cursor.selectedText() != searchText_ || searchText_.isEmpty())
        return false;
    if (confirm && ask(QStringLiteral("Do you want to replace Text: \"%1\" with that of \"%2\"")
                           .arg(searchText_, replaceText_),
                       "Replace Text Query") != MessageAnswer::Yes)
        return false;
    cursor.beginEditBlock();
    if (replaceText_.isEmpty()) {
        cursor.removeSelectedText();
    } else {
        applyChangeFont(cursor);
        const QTextCharFormat format = cursor.charFormat();
        cursor.insertText(replaceText_, format);
    }
    cursor.endEditBlock();
    edit->setTextCursor(cursor);
    return true;
}

void CSearchPage::Change() {
    readFields();
    remember(changeField_, replaceText_);
    if (!activeText())
        return;
    replaceSelection(true);
}

void CSearchPage::ChangeAll() {
    readFields();
    if (searchText_.isEmpty())
        return;
    DocumentSearchText *text = activeText();
    if (!text)
        return;
    remember(searchField_, searchText_);
    remember(changeField_, replaceText_);
    session_.startOver();
    QTextEdit *edit = text->edit();
    const auto remembered = text->selection();
    QTextDocument *doc = edit->document();
    const std::u16string all = units(doc->toRawText());
    const std::u16string needle = units(searchText_);
    search::AcceptOccurrence accept;
    if (session_.matchFont)
        accept = [text](std::size_t p, std::size_t n) {
            return text->formatMatches(int(p), int(n));
        };
    const std::vector<std::size_t> found = search::findAll(all, needle, session_.wholeWord, accept);
    if (found.empty()) {
        tell(QStringLiteral("Search text: \"%1\" Not found. Nothing to replace").arg(searchText_),
             "Search Text Not found");
        text->select(remembered.first, remembered.second);
        return;
    }
    if (ask(QStringLiteral("Are you sure you want to replace all Text:\"%1\" with that of \"%2\"")
                .arg(searchText_, replaceText_),
            "Replace Text Query") == MessageAnswer::No) {
        text->select(remembered.first, remembered.second);
        return;
    }
    {
        BusyGuard busy(context_.busyFlag());
        std::unique_ptr<QProgressDialog> progress;
        if (found.size() >= std::size_t(progressFrom)) {
            progress = std::make_unique<QProgressDialog>(QStringLiteral("Replacing..."), QString(),
                                                         0, int(found.size()), this);
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumDuration(500);
        }
        // One undo step; from the end backwards, so the positions still ahead stay valid.
        QTextCursor cursor(doc);
        cursor.beginEditBlock();
        int done = 0;
        for (auto it = found.rbegin(); it != found.rend(); ++it, ++done) {
            cursor.setPosition(int(*it));
            cursor.setPosition(int(*it + needle.size()), QTextCursor::KeepAnchor);
            if (replaceText_.isEmpty()) {
                cursor.removeSelectedText();
            } else {
                applyChangeFont(cursor);
                cursor.insertText(replaceText_, cursor.charFormat());
            }
            if (progress && done % 1000 == 0)
                progress->setValue(done);
        }
        cursor.endEditBlock();
    }
    tell(QStringLiteral("End of Document Reached. Replaced Word: \"%1\" with: \"%2\"\n Total "
                        "Words Replaced: %3;")
             .arg(searchText_, replaceText_)
             .arg(found.size()),
         "Replace All Routine Completed");
    session_.reset();
    text->select(remembered.first, remembered.first);
}

void CSearchPage::Cancel() {
    readFields();
    const int found = session_.foundCount();
    // The selection from before the search comes back, and the next search starts afresh.
    session_.reset();
    tell(QStringLiteral("Search Cancelled. Searched for Word: \"%1\"\nTotal Words Found: %2;")
             .arg(searchText_)
             .arg(found),
         "Search Routine Completed");
    searchField_->setEditText(QString());
    changeField_->setEditText(QString());
}

std::optional<FontChoice> CSearchPage::chooseFrom(const std::optional<FontChoice> &before) {
    QTextEdit *edit = frame_.activeDocumentEdit();
    if (!edit)
        return std::nullopt;
    FontChoice initial;
    if (before) {
        initial = *before;
    } else {
        const QTextCharFormat format = edit->textCursor().charFormat();
        initial.font = format.font();
        if (format.foreground().style() != Qt::NoBrush)
            initial.colour = format.foreground().color();
    }
    return chooseFont(initial, this);
}

void CSearchPage::ChooseSearchFont() {
    if (auto chosen = chooseFrom(searchFont_)) {
        searchFont_ = chosen;
        searchFontBox_->setChecked(true);
    }
    refreshFontCaption(true);
}

void CSearchPage::ChooseChangeFont() {
    if (auto chosen = chooseFrom(changeFont_)) {
        changeFont_ = chosen;
        changeFontBox_->setChecked(true);
    }
    refreshFontCaption(false);
}

void CSearchPage::fontBoxClicked(bool search) {
    std::optional<FontChoice> &font = search ? searchFont_ : changeFont_;
    QPushButton *box = search ? searchFontBox_ : changeFontBox_;
    if (box->isChecked() && !font)
        search ? ChooseSearchFont() : ChooseChangeFont();
    if (!font)
        box->setChecked(false);
    refreshFontCaption(search);
}

void CSearchPage::refreshFontCaption(bool search) {
    const std::optional<FontChoice> &font = search ? searchFont_ : changeFont_;
    QPushButton *box = search ? searchFontBox_ : changeFontBox_;
    const QString caption = box->isChecked() && font ? QStringLiteral("%1, %2, ...")
                                                           .arg(font->font.family())
                                                           .arg(qRound(font->font.pointSizeF()))
                                                     : (search ? QStringLiteral("Search Font")
                                                               : QStringLiteral("Change Font"));
    box->setText(caption);
    box->setAccessibleName(caption);
}

} // namespace tarvellite::ui
