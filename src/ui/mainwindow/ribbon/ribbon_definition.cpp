#include "ui/mainwindow/ribbon/ribbon_definition.h"

#include "ui/document/command_ids.h"

namespace tarvellite::ui {

namespace {

using Kind = RibbonElement::Kind;

RibbonElement large(int id, QString keyTip = {}, QString caption = {}) {
    return RibbonElement{id, Kind::Large, std::move(keyTip), std::move(caption)};
}

RibbonElement small(int id, QString keyTip = {}, QString caption = {}) {
    return RibbonElement{id, Kind::Small, std::move(keyTip), std::move(caption)};
}

RibbonElement icon(int id) {
    return RibbonElement{id, Kind::IconOnly};
}

RibbonColumn column(std::initializer_list<RibbonRow> rows) {
    return RibbonColumn{std::vector<RibbonRow>(rows)};
}

RibbonColumn one(RibbonElement element) {
    return RibbonColumn{{RibbonRow{std::move(element)}}};
}

} // namespace

RibbonDefinition homeRibbonDefinition() {
    RibbonElement paste = large(ID_EDIT_PASTE, QStringLiteral("V"));
    paste.menu = {{ID_EDIT_PASTE, QStringLiteral("Paste")}, {ID_EDIT_PASTE_SPECIAL}};
    RibbonElement picture = large(ID_INSERT_PICTURE, QStringLiteral("I"));
    picture.menu = {{ID_INSERT_PICTURE, QStringLiteral("Insert Picture From File")},
                    {ID_OLE_INSERT_NEW}};
    RibbonElement windows = large(0, QStringLiteral("W"), QStringLiteral("Windows"));
    windows.menu = {{ID_WINDOW_NEW},     {ID_WINDOW_TILE_VERT}, {ID_WINDOW_TILE_HORZ},
                    {ID_WINDOW_CASCADE}, {ID_WINDOW_ARRANGE},   {ID_WINDOW_MANAGER}};

    RibbonCategoryDefinition home{QStringLiteral("Home"), QStringLiteral("H"), {}};
    home.panels.push_back(
        {QStringLiteral("Clipboard"),
         QStringLiteral("D"),
         {one(paste),
          column({{small(ID_EDIT_CUT, QStringLiteral("X"))},
                  {small(ID_EDIT_COPY, QStringLiteral("C"))},
                  {small(ID_EDIT_SELECT_ALL, QStringLiteral("A"))}}),
          column({{small(ID_EDIT_UNDO)}, {small(ID_EDIT_REDO)}, {small(ID_EDIT_CLEAR)}})}});
    home.panels.push_back({QStringLiteral("Font Attributes"),
                           {},
                           {column({{RibbonElement{IDC_FONTCOMBO, Kind::Control},
                                     RibbonElement{IDC_FONTSIZE, Kind::Control}},
                                    {icon(ID_FONTBOLD), icon(ID_FONTITALIC), icon(ID_FONTUNDERLINE),
                                     icon(ID_FONTSTRIKEOUT), icon(ID_FORE), icon(ID_BACK)}})}});
    home.panels.push_back({QStringLiteral("Paragraph"),
                           {},
                           {column({{icon(ID_PARA_BULLET), icon(ID_PARA_NUMBERING),
                                     icon(ID_PARALEFTINDENT), icon(ID_PARARIGHTINDENT)},
                                    {icon(ID_PARALEFT), icon(ID_PARACENTRE), icon(ID_PARARIGHT),
                                     icon(ID_PARAJUST)}})}});
    home.panels.push_back({QStringLiteral("Insert"), QStringLiteral("I"), {one(picture)}});
    home.panels.push_back(
        {QStringLiteral("Language"), {}, {one(large(ID_DICTIONARY)), one(large(ID_BTNUSRDICT))}});
    home.panels.push_back(
        {QStringLiteral("View"),
         {},
         {column({{small(ID_CHKSTBAR)}, {small(ID_VIEW_RULER)}}), one(large(ID_CHKKBD)),
          column({{small(ID_CHKFE)}, {small(ID_CHKFR)}, {small(ID_ABOUT)}})}});
    home.panels.push_back(
        {QStringLiteral("Preference"),
         QStringLiteral("W"),
         {one(windows), one(large(IDC_STWLOOK)), column({{small(ID_SETTINGS)}})}});
    home.panels.push_back({QStringLiteral("Utility"),
                           {},
                           {one(large(ID_BTNCONV)),
                            column({{small(ID_FILE_PRINT_PREVIEW)},
                                    {small(ID_FILE_PRINT_SETUP, {}, QStringLiteral("Print..."))},
                                    {small(ID_CHKUPDATE)}})}});

    RibbonDefinition definition;
    definition.categories.push_back(std::move(home));
    definition.quickAccess = {ID_FILE_NEW,           ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_PRINT,
                              ID_FILE_PRINT_PREVIEW, ID_EDIT_UNDO, ID_EDIT_REDO};
    definition.quickAccessShown = {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE};
    definition.requiredControls = {IDC_FONTCOMBO, IDC_FONTSIZE};
    return definition;
}

bool definitionHasElement(const RibbonDefinition &definition, int id) {
    for (const RibbonCategoryDefinition &category : definition.categories)
        for (const RibbonPanelDefinition &panel : category.panels)
            for (const RibbonColumn &column : panel.columns)
                for (const RibbonRow &row : column.rows)
                    for (const RibbonElement &element : row)
                        if (element.id == id)
                            return true;
    return false;
}

} // namespace tarvellite::ui
