#pragma once

// Numeric identities of the commands, panes and controls of the main window. Every action, box
// and status pane carries its number as object name ("32810", "pane-143"), so that tests and
// scripts find them by id; its accessible name is its caption.

#include <QString>

namespace tarvellite::ui {

enum CommandId : int {
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_CLOSE = 57602,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_DIRECT = 57608,
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_FILE_MRU_FILE1 = 57616,
    ID_FILE_MRU_LAST = 57631,
    ID_EDIT_CLEAR = 57632,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_PASTE_SPECIAL = 57639,
    ID_EDIT_SELECT_ALL = 57642,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_REDO = 57644,
    ID_WINDOW_NEW = 57648,
    ID_WINDOW_ARRANGE = 57649,
    ID_WINDOW_CASCADE = 57650,
    ID_WINDOW_TILE_HORZ = 57651,
    ID_WINDOW_TILE_VERT = 57652,
    ID_APP_EXIT = 57665,
    ID_HELP_FINDER = 57667,
    ID_OLE_INSERT_NEW = 57856,
    ID_WINDOW_MANAGER = 123,
    ID_ABOUT = 32775,
    ID_SETTINGS = 32781,
    ID_PAGE_SETUP = 32852,
    ID_BTNUSRDICT = 32785,
    ID_DICTIONARY = 298,
    ID_CHKKBD = 32846,
    ID_CHKFE = 32844,
    ID_CHKFR = 32840,
    ID_VIEW_RULER = 32853,
    ID_CHKUPDATE = 32871,
    ID_VIEW_PAGEVIEW = 32791,
    ID_VIEW_NORMALVIEW = 32792,

    IDC_FONTCOMBO = 32782,
    IDC_FONTSIZE = 32783,
    ID_FONTBOLD = 32810,
    ID_FONTITALIC = 32809,
    ID_FONTUNDERLINE = 32811,
    ID_FONTSTRIKEOUT = 32812,
    ID_FORE = 32813,
    ID_BACK = 32831,
    ID_PARALEFT = 32795,
    ID_PARACENTRE = 32826,
    ID_PARARIGHT = 32807,
    ID_PARAJUST = 32806,
    ID_PARARIGHTINDENT = 32830,
    ID_PARALEFTINDENT = 32829,
    ID_PARA_BULLET = 32818,
    ID_PARA_NUMBERING = 32798,
    ID_PARA_NUMBERING_GALLERY = 32804,
    ID_INSERT_PICTURE = 32833,
    ID_BTNCONV = 32786,
    ID_ZOOM_PANE = 32793,
    ID_ZOOM_SLIDER = 32794,
    IDC_STWLOOK = 32849,
    ID_CHKSTBAR = 32848,

    ID_STATUS_BAR = 59393,
};

/// The window looks (`ApplicationLook`).
enum LookId : int {
    ID_VIEW_APPLOOK_WIN_2000 = 205,
    ID_VIEW_APPLOOK_OFF_XP = 206,
    ID_VIEW_APPLOOK_WIN_XP = 207,
    ID_VIEW_APPLOOK_OFF_2003 = 208,
    ID_VIEW_APPLOOK_VS_2005 = 209,
    ID_VIEW_APPLOOK_VS_2008 = 210,
    ID_VIEW_APPLOOK_OFF_2007_BLUE = 215,
    ID_VIEW_APPLOOK_OFF_2007_BLACK = 216,
    ID_VIEW_APPLOOK_OFF_2007_SILVER = 217,
    ID_VIEW_APPLOOK_OFF_2007_AQUA = 218,
    ID_VIEW_APPLOOK_WINDOWS_7 = 219,
};

/// The dockable panes.
enum DockPaneId : int {
    PANE_ID_FOLDER = 101,
    PANE_ID_FIND = 108,
    PANE_ID_SPELL = 113,
    PANE_ID_KEYBOARD = 115,
};

/// Status bar panes.
enum PaneId : int {
    PANE_PAGE = 141,
    PANE_WORDS = 142,
    PANE_LINE_COL = 143,
    PANE_DICTIONARY = 144,
    PANE_LANGUAGE = 145,
    PANE_CAPS = 146,
    PANE_NUMS = 147,
    PANE_INS = 148,
};

/// "32810": the object name of a command or control.
inline QString commandName(int id) {
    return QString::number(id);
}
/// "pane-143": the object name of a status pane.
inline QString paneName(int id) {
    return QStringLiteral("pane-%1").arg(id);
}

} // namespace tarvellite::ui
