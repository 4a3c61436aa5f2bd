#pragma once

// The window looks: each stored look id is shown as one of a few colour schemes of our own,
// which colour the ribbon (a style sheet) and the frame around the documents (a palette).

#include <QColor>
#include <QPalette>
#include <QString>

namespace tarvellite::ui {

struct RibbonLook {
    /// "blue", "black", "silver", "aqua" or "light".
    QString name;
    QColor tabRow;      ///< behind the tabs and the quick-access bar
    QColor panelTop;    ///< the panels' gradient, top
    QColor panelBottom; ///< the panels' gradient, bottom
    QColor border;      ///< panel borders and separators
    QColor text;        ///< captions
    QColor titleText;   ///< panel titles
    QColor hover;       ///< a button under the mouse or checked
    QColor frame;       ///< the frame's background (dock titles, status bar, document area)
    QColor applicationButton;
    QColor tabText; ///< the tabs and the buttons of the tab row
};

/// The scheme of look `applicationLook` (205–210, 215–219); any other value has the default
/// scheme (the blue one).
RibbonLook ribbonLook(int applicationLook);

/// The style sheet of the ribbon in `look`.
QString ribbonStyleSheet(const RibbonLook &look);

/// `base` with the frame's colours of `look`.
QPalette framePalette(const RibbonLook &look, const QPalette &base);

} // namespace tarvellite::ui
