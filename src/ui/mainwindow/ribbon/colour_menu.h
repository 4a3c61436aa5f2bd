#pragma once

#include <QColor>
#include <QList>
#include <QMenu>
#include <QString>
#include <functional>

class QGridLayout;
class QToolButton;
class QVBoxLayout;

namespace tarvellite::ui {

/// A colour of a palette with its name (the box's tooltip and accessible name).
struct PaletteColour {
    QColor colour;
    QString name;
};
using PaletteColours = QList<PaletteColour>;

/// A group of boxes; without a caption the boxes follow the previous group's directly.
struct ColourGroup {
    QString caption;
    PaletteColours colours;
};

/// How a colour button's drop-down looks.
struct ColourMenuLayout {
    int boxSize = 17;
    int columns = 10;
    /// The automatic entry: its caption ("&Automatic"), colour and place.
    QString automaticText;
    QColor automaticColour;
    bool automaticAtTop = true;
    bool automaticBorder = false;
};

/// The drop-down of a colour button: the automatic entry, groups of colour boxes and "More
/// Colors...", which opens the colour dialog. The groups and the current colour are asked for
/// each time the menu opens, so that a group such as "Recent Colors" shows what it holds now.
class ColourMenu : public QMenu {
    Q_OBJECT
  public:
    using GroupSource = std::function<QList<ColourGroup>()>;
    using ColourSource = std::function<QColor()>;
    /// Asks for a colour, starting at the given one; an invalid colour when cancelled.
    using ColourChooser = std::function<QColor(const QColor &initial, QWidget *parent)>;

    ColourMenu(const QString &title, const ColourMenuLayout &layout, QWidget *parent = nullptr);

    void setGroupSource(GroupSource source) { groups_ = std::move(source); }
    void setCurrentColourSource(ColourSource source) { current_ = std::move(source); }
    /// Replaces the colour dialog of "More Colors..." (null: the standard dialog).
    void setColourChooser(ColourChooser chooser) { chooser_ = std::move(chooser); }

    /// Fills the palette as it shows now (done when the menu is about to open).
    void rebuild();
    /// The boxes of the palette in order, group by group.
    QList<QToolButton *> colourBoxes() const { return boxes_; }
    QToolButton *automaticButton() const { return automatic_; }
    QToolButton *moreColoursButton() const { return more_; }
    /// The group captions shown, in order.
    QStringList captions() const;

  signals:
    /// A colour was chosen: a box, the automatic entry or the colour dialog.
    void colourChosen(const QColor &colour);

  private:
    QToolButton *addBox(const PaletteColour &entry, bool current);
    void choose(const QColor &colour);
    void chooseMore();

    ColourMenuLayout layout_;
    GroupSource groups_;
    ColourSource current_;
    ColourChooser chooser_;
    QWidget *palette_ = nullptr;
    QVBoxLayout *groupsLayout_ = nullptr;
    QToolButton *automatic_ = nullptr;
    QToolButton *more_ = nullptr;
    QList<QToolButton *> boxes_;
};

/// A square of `colour`, `size` pixels wide, with a grey frame when `border`.
QIcon colourSwatch(const QColor &colour, int size, bool border);

} // namespace tarvellite::ui
