#include "ui/mainwindow/ribbon/paragraph_gallery.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>

namespace tarvellite::ui {

QList<GalleryItem> numberingGalleryItems() {
    auto item = [](const char *name, const char *a, const char *b, const char *c) {
        return GalleryItem{
            QString::fromLatin1(name),
            {QString::fromLatin1(a), QString::fromLatin1(b), QString::fromLatin1(c)}};
    };
    return {item("1. 2. 3.", "1.", "2.", "3."),       item("1) 2) 3)", "1)", "2)", "3)"),
            item("I. II. III.", "I.", "II.", "III."), item("A. B. C.", "A.", "B.", "C."),
            item("a) b) c)", "a)", "b)", "c)"),       item("a. b. c.", "a.", "b.", "c."),
            item("i. ii. iii.", "i.", "ii.", "iii.")};
}

QList<GalleryItem> bulletGalleryItems() {
    const QString bullet(QChar(0x2022));
    return {GalleryItem{QStringLiteral("Bullet"), {bullet, bullet, bullet}}};
}

QPixmap ParagraphGallery::itemPicture(const GalleryItem &item, qreal devicePixelRatio) {
    const int w = itemWidth;
    const int h = itemWidth;
    QPixmap pixmap(QSize(w, h) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(200, 200, 200));
    painter.drawRect(0, 0, w - 1, h - 1);
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    const int markerWidth = 26;
    for (int line = 0; line < item.markers.size(); ++line) {
        const int y = 10 + line * 22;
        painter.setPen(Qt::black);
        painter.drawText(QRect(4, y, markerWidth - 2, 16), Qt::AlignRight | Qt::AlignVCenter,
                         item.markers.at(line));
        painter.fillRect(QRect(markerWidth + 6, y + 7, w - markerWidth - 14, 3),
                         QColor(150, 150, 150));
    }
    return pixmap;
}

ParagraphGallery::ParagraphGallery(const QString &title, const QString &groupCaption,
                                   const QList<GalleryItem> &items, QWidget *parent)
    : QMenu(title, parent) {
    setAccessibleName(title);
    auto *panel = new QWidget(this);
    panel->setAccessibleName(groupCaption);
    auto *column = new QVBoxLayout(panel);
    column->setContentsMargins(4, 4, 4, 4);
    auto *caption = new QLabel(groupCaption, panel);
    caption->setAccessibleName(groupCaption);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    column->addWidget(caption);
    auto *grid = new QGridLayout;
    grid->setSpacing(4);
    const qreal ratio = devicePixelRatioF();
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QToolButton(panel);
        button->setIcon(QIcon(itemPicture(items.at(i), ratio)));
        button->setIconSize(QSize(itemWidth, itemWidth));
        button->setToolTip(items.at(i).name);
        button->setAccessibleName(items.at(i).name);
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::StrongFocus);
        const int number = i + 1;
        connect(button, &QToolButton::clicked, this, [this, number] {
            setSelectedItem(number);
            close();
            emit itemChosen(number);
        });
        grid->addWidget(button, i / itemsPerRow, i % itemsPerRow);
        buttons_ << button;
    }
    column->addLayout(grid);
    auto *action = new QWidgetAction(this);
    action->setDefaultWidget(panel);
    addAction(action);
}

void ParagraphGallery::setSelectedItem(int item) {
    selected_ = item;
    for (int i = 0; i < buttons_.size(); ++i)
        buttons_[i]->setChecked(i + 1 == item);
}

} // namespace tarvellite::ui
