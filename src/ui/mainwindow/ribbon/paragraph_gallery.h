#pragma once

#include <QList>
#include <QMenu>
#include <QString>

class QToolButton;

namespace tarvellite::ui {

/// One item of a paragraph gallery: its name and the markers its picture shows before three
/// lines of text ("1.", "2.", "3." for numbering, the bullet for bullets).
struct GalleryItem {
    QString name;
    QStringList markers;
};

/// The drop-down of the numbering and bullet buttons: a captioned group ("Numbering Library")
/// of pictures, 76 pixels wide, three to a row. Choosing an item reports its number (from 1)
/// and marks it as the selected item.
class ParagraphGallery : public QMenu {
    Q_OBJECT
  public:
    static constexpr int itemWidth = 76;
    static constexpr int itemsPerRow = 3;

    ParagraphGallery(const QString &title, const QString &groupCaption,
                     const QList<GalleryItem> &items, QWidget *parent = nullptr);

    /// The selected item (from 1; 0 for none).
    int selectedItem() const { return selected_; }
    void setSelectedItem(int item);
    QList<QToolButton *> itemButtons() const { return buttons_; }

    /// The picture of an item as the gallery draws it.
    static QPixmap itemPicture(const GalleryItem &item, qreal devicePixelRatio = 1.0);

  signals:
    void itemChosen(int item);

  private:
    QList<QToolButton *> buttons_;
    int selected_ = 0;
};

/// The numbering styles of the gallery, in the order of the editing view's numbering items.
QList<GalleryItem> numberingGalleryItems();
/// The bullet styles of the gallery.
QList<GalleryItem> bulletGalleryItems();

} // namespace tarvellite::ui
