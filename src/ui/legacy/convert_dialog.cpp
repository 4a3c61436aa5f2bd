#include "ui/legacy/convert_dialog.h"

#include "core/app/messages.h"
#include "core/document/rich_text.h"
#include "core/legacy/legacy_words.h"
#include "ui/document/format_properties.h"
#include "ui/document/tarvellite_view.h"
#include "ui/document/text_helpers.h"
#include "ui/legacy/legacy_options.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBlock>
#include <QVBoxLayout>

namespace tarvellite::ui {

namespace {

constexpr qint64 paintIntervalMs = 50;
constexpr qsizetype faceLimit = qsizetype(faceNameLimit);

bool isBreak(QChar c) {
    return isLegacyTextBreak(c.unicode());
}

} // namespace

CConvert::CConvert(CTarvelLiteView *view) : QDialog(view), view_(view) {
    setObjectName(QStringLiteral("dialog-297"));
    setWindowTitle(QStringLiteral("Conversion From TAM / TAB Fonts"));

    auto *group = new QGroupBox(QStringLiteral("Select the font used in the text"), this);
    tam_ = new QPushButton(QStringLiteral("TAM Font"), group);
    tam_->setObjectName(QString::number(tamButtonId));
    tab_ = new QPushButton(QStringLiteral("TAB Font"), group);
    tab_->setObjectName(QString::number(tabButtonId));
    auto *pair = new QButtonGroup(this);
    for (QPushButton *button : {tam_, tab_}) {
        button->setCheckable(true);
        button->setAutoDefault(false);
        pair->addButton(button);
    }
    pair->setExclusive(true);
    tam_->setChecked(true);
    auto *groupLayout = new QHBoxLayout(group);
    groupLayout->addWidget(tam_);
    groupLayout->addWidget(tab_);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QString::number(progressId));
    progress_->setTextVisible(false);
    count_ = new QLabel(QStringLiteral("Words Converted: xxxx"), this);
    count_->setObjectName(QString::number(countTextId));
    count_->hide();

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("1"));
    buttons_->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("2"));
    connect(buttons_, &QDialogButtonBox::accepted, this, [this] { convertSelection(); });
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(progress_);
    layout->addWidget(count_);
    layout->addWidget(buttons_);

    if (view_) {
        const QTextCursor cursor = view_->textCursor();
        start_ = cursor.selectionStart();
        end_ = cursor.selectionEnd();
    }
    selectionEnd_ = end_;
    progress_->setRange(start_, std::max(end_, start_ + 1));
    progress_->setValue(start_);
}

bool CConvert::isTab() const {
    return tab_->isChecked();
}

int CConvert::convertSelection() {
    if (done_ || !view_)
        return -1;
    done_ = true;
    QTextDocument *text = view_->document();
    const bool isTab = tab_->isChecked();
    QTextCharFormat unicodeFace;
    unicodeFace.setFontFamilies(
        QStringList{legacyOptionsFor(view_).defaultUnicodeFont.left(faceLimit)});
    unicodeFace.setProperty(CharsetProperty, 0);

    count_->clear();
    count_->show();
    QTextCursor hidden(text); // no selection shows while the text changes
    hidden.setPosition(start_);
    view_->setTextCursor(hidden);
    QTextCursor cursor(text);
    cursor.beginEditBlock();
    int words = 0;
    int position = start_;
    std::u16string converted;
    while (position < selectionEnd_) {
        // A word is a run of characters that can be legacy bytes above 0x20; spaces, line and
        // paragraph ends, pictures and characters that are Unicode already stay as they are.
        QTextBlock block = text->findBlock(position);
        const QString blockText = block.text();
        const int blockStart = block.position();
        int offset = position - blockStart;
        const int limit = int(std::min<qsizetype>(blockText.size(), selectionEnd_ - blockStart));
        while (offset < limit && isBreak(blockText.at(offset)))
            ++offset;
        if (offset >= limit) {
            // The rest of the block holds no word: go on after its paragraph end.
            position = blockStart + int(blockText.size()) + 1;
            continue;
        }
        int wordEnd = offset;
        while (wordEnd < limit && !isBreak(blockText.at(wordEnd)))
            ++wordEnd;
        const QStringView word = QStringView(blockText).mid(offset, wordEnd - offset);
        converted.clear();
        appendLegacyWords(
            std::u16string_view(reinterpret_cast<const char16_t *>(word.utf16()), word.size()),
            isTab, converted);

        const int from = blockStart + offset;
        cursor.setPosition(from);
        cursor.setPosition(blockStart + wordEnd, QTextCursor::KeepAnchor);
        replaceKeepingFormat(cursor,
                             QString::fromUtf16(converted.data(), qsizetype(converted.size())));
        const int newEnd = cursor.position();
        selectionEnd_ += newEnd - (blockStart + wordEnd);
        position = newEnd;
        ++words;
        showProgress(position, words, false);
    }
    // The words and the spaces between them take the Unicode face: no legacy face is left
    // behind to be typed in or saved.
    cursor.setPosition(start_);
    cursor.setPosition(selectionEnd_, QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(unicodeFace);
    cursor.endEditBlock();

    start_ = end_ = selectionEnd_;
    QTextCursor caret(text);
    caret.setPosition(std::min(selectionEnd_, text->characterCount() - 1));
    view_->setTextCursor(caret);
    showProgress(selectionEnd_, words, true);
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(false);
    return words;
}

void CConvert::showProgress(int position, int words, bool force) {
    if (!force && sincePaint_.isValid() && sincePaint_.elapsed() < paintIntervalMs)
        return;
    progress_->setRange(progress_->minimum(), std::max(selectionEnd_, progress_->minimum() + 1));
    progress_->setValue(std::min(position, progress_->maximum()));
    count_->setText(QStringLiteral("Total Words converted: %1").arg(words));
    if (isVisible())
        repaint();
    sincePaint_.restart();
}

CConvert *OnConversionButton(CTarvelLiteView *view) {
    if (!view)
        return nullptr;
    if (!view->textCursor().hasSelection()) {
        showMessage("To convert TAM / TAB text, please Highlight the text and click this button "
                    "again");
        return nullptr;
    }
    auto *dialog = new CConvert(view);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
    return dialog;
}

} // namespace tarvellite::ui
