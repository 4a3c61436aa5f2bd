#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>
#include <functional>
#include <optional>

class QCheckBox;
class QDoubleSpinBox;
class QFontComboBox;
class QPushButton;

namespace tarvellite::ui {

/// A font with its colour, as the find pane matches and applies them.
struct FontChoice {
    QFont font;
    QColor colour = Qt::black;
};

/// Chooses a font among the installed ones with its size, bold, italic, underline,
/// strike-out and colour.
class CFontColourDialog : public QDialog {
    Q_OBJECT
  public:
    CFontColourDialog(const FontChoice &initial, QWidget *parent = nullptr);
    FontChoice choice() const;

  private:
    QFontComboBox *face_;
    QDoubleSpinBox *size_;
    QCheckBox *bold_;
    QCheckBox *italic_;
    QCheckBox *underline_;
    QCheckBox *strikeOut_;
    QPushButton *colourButton_;
    QColor colour_;
};

/// Asks for a font starting from `initial`; nullopt when cancelled.
using FontChooser = std::function<std::optional<FontChoice>(const FontChoice &initial)>;
/// Shows `CFontColourDialog`. Tests install one of their own (empty: the dialog again).
FontChooser setFontChooser(FontChooser chooser);
std::optional<FontChoice> chooseFont(const FontChoice &initial, QWidget *parent);

} // namespace tarvellite::ui
