#include "ui/input/lookup_window.h"

#include <QEvent>
#include <QFontMetrics>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

namespace tarvellite {

CLookupWindow::CLookupWindow(QWidget *owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                         Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint),
      list_(new QListWidget(this)) {
    setObjectName(QStringLiteral("lookupWindow"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    // Clicks on the popup do not hide it (the routing's click handling checks this).
    setProperty("tarvelliteLookupWindow", true);

    list_->setObjectName(QStringLiteral("lookupList"));
    list_->setFocusPolicy(Qt::NoFocus);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setUniformItemSizes(true);
    list_->setTextElideMode(Qt::ElideNone);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list_->verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(13);
    setFont(font);
    list_->setFont(font);
    list_->viewport()->installEventFilter(this);
    list_->setGeometry(rect());
}

int CLookupWindow::count() const {
    return list_->count();
}

void CLookupWindow::setWords(const std::vector<std::u16string> &words) {
    list_->clear();
    const QFontMetrics metrics(list_->font());
    int widest = 0;
    QStringList items;
    items.reserve(static_cast<qsizetype>(words.size()));
    for (const std::u16string &w : words) {
        QString text = QString::fromUtf16(w.data(), static_cast<qsizetype>(w.size()));
        widest = std::max(widest, metrics.horizontalAdvance(text));
        items.append(std::move(text));
    }
    list_->addItems(items);
    // The caret item is the first word; nothing is selected until a key or click chooses.
    if (!items.isEmpty())
        list_->selectionModel()->setCurrentIndex(list_->model()->index(0, 0),
                                                 QItemSelectionModel::NoUpdate);
    list_->scrollToTop();

    const QStyle *style = list_->style();
    const int frame = list_->frameWidth() * 2;
    // The item view pads each text on both sides.
    const int itemPadding =
        (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list_) + 1) * 2;
    const int itemHeight =
        std::max(1, items.isEmpty() ? metrics.height() : list_->sizeHintForRow(0));
    const int wordCount = static_cast<int>(items.size());
    int width = widest + metrics.averageCharWidth() + itemPadding + frame;
    if (wordCount > maxRows - 1)
        width += style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list_);
    const int rows = std::min(wordCount + 1, maxRows);
    const int smallIcon = style->pixelMetric(QStyle::PM_SmallIconSize, nullptr, list_);
    const int height = std::max(itemHeight, rows * itemHeight - (smallIcon - 2)) + frame;
    popupSize_ = QSize(width, height);
}

QString CLookupWindow::selectedWord() const {
    const QList<QListWidgetItem *> selected = list_->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

bool CLookupWindow::hasSelection() const {
    return !list_->selectedItems().isEmpty();
}

void CLookupWindow::selectCaretItem() {
    if (list_->count() == 0)
        return;
    const int row = std::max(0, list_->currentRow());
    list_->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

void CLookupWindow::moveSelection(int rows) {
    if (list_->count() == 0)
        return;
    int row = std::max(0, list_->currentRow());
    // The first key only selects the caret item, so the first word can be chosen too.
    if (hasSelection())
        row = std::clamp(row + rows, 0, list_->count() - 1);
    list_->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    list_->scrollToItem(list_->item(row));
}

bool CLookupWindow::eventFilter(QObject *watched, QEvent *event) {
    if (watched == list_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton) {
            QListWidgetItem *item = list_->itemAt(mouse->position().toPoint());
            if (item) {
                list_->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
                emit wordChosen(item->text());
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CLookupWindow::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    list_->setGeometry(rect());
}

} // namespace tarvellite
