#include "ui/document/picture_handles.h"

#include "ui/document/document_units.h"
#include "ui/document/model_mapping.h"
#include "ui/document/tarvellite_view.h"

#include <QAbstractTextDocumentLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace tarvellite::ui {

namespace {

constexpr int handleSize = 7;
constexpr int minimumSide = 8;

QTextImageFormat pictureFormatAt(QTextDocument *document, int position) {
    if (position < 0 || position + 1 >= document->characterCount())
        return {};
    QTextCursor after(document);
    after.setPosition(position + 1);
    const QTextCharFormat format = after.charFormat();
    return format.isImageFormat() ? format.toImageFormat() : QTextImageFormat();
}

} // namespace

PictureHandles::PictureHandles(CTarvelLiteView *view) : QObject(view), view_(view) {
    view->viewport()->installEventFilter(this);
    view->viewport()->setMouseTracking(true);
    connect(view, &QTextEdit::selectionChanged, view->viewport(), qOverload<>(&QWidget::update));
}

int PictureHandles::selectedPicture() const {
    const QTextCursor cursor = view_->textCursor();
    const int start = cursor.selectionStart();
    if (cursor.selectionEnd() - start != 1)
        return -1;
    return pictureFormatAt(view_->document(), start).isValid() ? start : -1;
}

QRect PictureHandles::pictureRect(int position) const {
    QTextDocument *document = view_->document();
    const QTextImageFormat format = pictureFormatAt(document, position);
    if (!format.isValid())
        return {};
    const QTextBlock block = document->findBlock(position);
    document->documentLayout()->blockBoundingRect(block); // laid out up to here
    const QTextLayout *layout = block.layout();
    if (!layout)
        return {};
    const int inBlock = position - block.position();
    const QTextLine line = layout->lineForTextPosition(inBlock);
    if (!line.isValid())
        return {};
    // The layout draws the picture at its size scaled like the text, standing on the baseline.
    const double scale = view_->zoomFactor();
    const double width = format.width() * scale;
    const double height = format.height() * scale;
    const QPointF origin = layout->position();
    const QRectF inDocument(origin.x() + line.cursorToX(inBlock),
                            origin.y() + line.y() + line.ascent() - height, width, height);
    return inDocument
        .translated(-view_->horizontalScrollBar()->value(), -view_->verticalScrollBar()->value())
        .toRect();
}

QList<QRect> PictureHandles::handleRects() const {
    const int position = dragCorner_ >= 0 ? dragPicture_ : selectedPicture();
    const QRect r = dragCorner_ >= 0 ? dragStartRect_ : pictureRect(position);
    if (r.isEmpty())
        return {};
    const auto square = [](int x, int y) {
        return QRect(x - handleSize / 2, y - handleSize / 2, handleSize, handleSize);
    };
    const int right = r.left() + r.width();
    const int bottom = r.top() + r.height();
    return {square(r.left(), r.top()), square(right, r.top()), square(right, bottom),
            square(r.left(), bottom)};
}

void PictureHandles::paint(QPainter &painter) const {
    const QList<QRect> handles = handleRects();
    if (handles.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (dragCorner_ >= 0) {
        painter.setPen(QPen(view_->palette().color(QPalette::Text), 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(dragRect_.adjusted(0, 0, -1, -1));
    }
    painter.setPen(view_->palette().color(QPalette::Text));
    painter.setBrush(view_->palette().color(QPalette::Base));
    for (const QRect &h : handles)
        painter.drawRect(h.adjusted(0, 0, -1, -1));
    painter.restore();
}

QSize PictureHandles::draggedSize(const QPoint &point) const {
    const QRect &r = dragStartRect_;
    const int dx = point.x() - dragStart_.x();
    const int dy = point.y() - dragStart_.y();
    // Corners 0 top left, 1 top right, 2 bottom right, 3 bottom left.
    const bool rightSide = dragCorner_ == 1 || dragCorner_ == 2;
    const bool bottomSide = dragCorner_ == 2 || dragCorner_ == 3;
    const double w = std::max(1, r.width());
    const double h = std::max(1, r.height());
    const double byWidth = (w + (rightSide ? dx : -dx)) / w;
    const double byHeight = (h + (bottomSide ? dy : -dy)) / h;
    // The aspect is kept; the larger change leads.
    double scale = std::abs(byWidth - 1) >= std::abs(byHeight - 1) ? byWidth : byHeight;
    const PageLayout page = view_->deviceLayout();
    const double maxWidth = twipsToPixels(
        std::max(1, page.paperWidth - page.marginLeft - page.marginRight), view_->zoomFactor());
    scale = std::clamp(scale, minimumSide / std::min(w, h), std::max(1.0, maxWidth / w));
    return QSize(std::max(1, int(std::lround(w * scale))),
                 std::max(1, int(std::lround(h * scale))));
}

bool PictureHandles::eventFilter(QObject *watched, QEvent *event) {
    if (watched != view_->viewport())
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        const QPoint point = mouse->position().toPoint();
        const QList<QRect> handles = handleRects();
        for (int i = 0; i < handles.size(); ++i) {
            if (handles[i].adjusted(-2, -2, 2, 2).contains(point)) {
                dragCorner_ = i;
                dragPicture_ = selectedPicture();
                dragStartRect_ = pictureRect(dragPicture_);
                dragRect_ = dragStartRect_;
                dragStart_ = point;
                return true;
            }
        }
        // A click on a picture selects it.
        const int near = view_->cursorForPosition(point).position();
        for (int position : {near, near - 1}) {
            if (pictureRect(position).contains(point)) {
                QTextCursor cursor(view_->document());
                cursor.setPosition(position);
                cursor.setPosition(position + 1, QTextCursor::KeepAnchor);
                view_->setTextCursor(cursor);
                view_->setFocus(Qt::MouseFocusReason);
                view_->viewport()->update();
                return true;
            }
        }
        break;
    }
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint point = mouse->position().toPoint();
        if (dragCorner_ >= 0) {
            const QSize size = draggedSize(point);
            // The corner opposite the dragged one stays.
            const QRect &r = dragStartRect_;
            const int left =
                dragCorner_ == 0 || dragCorner_ == 3 ? r.right() + 1 - size.width() : r.left();
            const int top =
                dragCorner_ == 0 || dragCorner_ == 1 ? r.bottom() + 1 - size.height() : r.top();
            dragRect_ = QRect(QPoint(left, top), size);
            view_->viewport()->update();
            return true;
        }
        const QList<QRect> handles = handleRects();
        Qt::CursorShape shape = Qt::IBeamCursor;
        for (int i = 0; i < handles.size(); ++i)
            if (handles[i].adjusted(-2, -2, 2, 2).contains(point))
                shape = i % 2 == 0 ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
        if (shape != Qt::IBeamCursor || view_->viewport()->cursor().shape() != Qt::IBeamCursor)
            view_->viewport()->setCursor(shape);
        break;
    }
    case QEvent::MouseButtonRelease: {
        if (dragCorner_ < 0)
            break;
        auto *mouse = static_cast<QMouseEvent *>(event);
        const QSize size = draggedSize(mouse->position().toPoint());
        dragCorner_ = -1;
        if (size != dragStartRect_.size())
            resizeTo(size);
        view_->viewport()->update();
        return true;
    }
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

void PictureHandles::resizeTo(const QSize &size) {
    const int position = dragPicture_;
    if (!pictureFormatAt(view_->document(), position).isValid())
        return;
    QTextCursor cursor(view_->document());
    cursor.setPosition(position);
    cursor.setPosition(position + 1, QTextCursor::KeepAnchor);
    const double zoom = view_->zoomFactor();
    int width = std::max(1, pixelsToTwips(size.width(), zoom));
    int height = std::max(1, pixelsToTwips(size.height(), zoom));
    // At most the printable width, as when it was inserted.
    const PageLayout page = view_->deviceLayout();
    const int printable = page.paperWidth - page.marginLeft - page.marginRight;
    if (printable > 0 && width > printable) {
        height = std::max(1, int(qint64(height) * printable / width));
        width = printable;
    }
    setPictureSize(cursor, width, height);
    view_->setTextCursor(cursor);
}

} // namespace tarvellite::ui
