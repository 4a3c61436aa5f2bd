#pragma once

// The handles of a selected picture: a click on a picture selects it, its corners then carry
// square handles, and dragging one resizes the picture (aspect kept, at most the printable
// width) as one undo step when the button is released.

#include <QObject>
#include <QRect>

class QPainter;
class QTextCursor;

namespace tarvellite::ui {

class CTarvelLiteView;

class PictureHandles : public QObject {
    Q_OBJECT
  public:
    /// Watches `view`'s viewport; `view` paints the handles through `paint`.
    explicit PictureHandles(CTarvelLiteView *view);

    /// The position of the selected picture, or -1 when the selection is not one picture.
    int selectedPicture() const;
    /// The rectangle of the picture at `position` in viewport coordinates (empty when there is
    /// no picture there).
    QRect pictureRect(int position) const;
    /// The four handle squares of the selected picture (top left, top right, bottom right,
    /// bottom left), or none.
    QList<QRect> handleRects() const;

    /// Draws the handles (and the outline of a drag) on the viewport.
    void paint(QPainter &painter) const;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    /// Applies `size` (pixels at the view's zoom) to the selected picture as one undo step.
    void resizeTo(const QSize &size);
    QSize draggedSize(const QPoint &point) const;

    CTarvelLiteView *view_;
    int dragCorner_ = -1; // index into handleRects while dragging
    int dragPicture_ = -1;
    QRect dragStartRect_;
    QPoint dragStart_;
    QRect dragRect_;
};

} // namespace tarvellite::ui
