#pragma once

// What the ribbon holds: its categories, their panels and the elements of each panel, every
// element named by the command id of the action (or the control) it shows. The ribbon is built
// from such a definition; the main window's own is `homeRibbonDefinition()`.

#include <QString>
#include <vector>

namespace tarvellite::ui {

/// An entry of an element's own drop-down menu.
struct RibbonMenuItem {
    int id;
    /// The entry's caption when it differs from the command's text.
    QString caption = {};
};

/// One element of a panel.
struct RibbonElement {
    enum class Kind {
        Large,    ///< a tall button with its caption under the icon
        Small,    ///< a small button with its caption beside the icon
        IconOnly, ///< a small button showing only its icon
        Control,  ///< a control of the frame (the font and size boxes)
    };
    int id = 0;
    Kind kind = Kind::Small;
    /// The key tip; empty: one is chosen from the caption.
    QString keyTip = {};
    /// The caption on the button when it differs from the command's text; the caption of a
    /// drop-down without a command of its own (`id` 0).
    QString caption = {};
    /// A fixed drop-down menu of the element.
    std::vector<RibbonMenuItem> menu = {};
};

/// A row of elements side by side; a column stacks up to three rows.
using RibbonRow = std::vector<RibbonElement>;

struct RibbonColumn {
    std::vector<RibbonRow> rows;
};

struct RibbonPanelDefinition {
    QString title;
    /// Opens the panel when it is collapsed into one button.
    QString keyTip = {};
    std::vector<RibbonColumn> columns;
};

struct RibbonCategoryDefinition {
    QString title;
    QString keyTip;
    std::vector<RibbonPanelDefinition> panels;
};

struct RibbonDefinition {
    std::vector<RibbonCategoryDefinition> categories;
    /// The commands the quick-access bar offers, in order, and which of them it shows at first.
    std::vector<int> quickAccess;
    std::vector<int> quickAccessShown;
    /// The ids of the controls that must be present: building fails without them.
    std::vector<int> requiredControls;
};

/// The main window's ribbon: the category "Home" with its eight panels.
RibbonDefinition homeRibbonDefinition();

/// Whether `definition` places an element with `id` anywhere.
bool definitionHasElement(const RibbonDefinition &definition, int id);

} // namespace tarvellite::ui
