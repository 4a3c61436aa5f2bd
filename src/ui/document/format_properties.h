#pragma once

// How paragraph and character properties that QTextDocument lacks are kept in its formats.
//
// A paragraph has a start indent S and an offset O (the indent of its text after the first
// line's start, or after the bullet), both in twips:
//   ordinary paragraph: leftMargin = S + O, textIndent = -O
//   list paragraph:     leftMargin = S + O, textIndent = 0, OffsetProperty = O; the list is
//                       drawn with indent 0, so the bullet or number sits in the offset.

#include <QTextFormat>

namespace tarvellite::ui {

enum FormatProperty : int {
    /// Character set of the face (int), as fonts of the files carry it.
    CharsetProperty = QTextFormat::UserProperty + 1,
    /// Offset of a list paragraph in twips (int).
    OffsetProperty = QTextFormat::UserProperty + 2,
    /// Numbering tab of a list in twips (int).
    NumberingTabProperty = QTextFormat::UserProperty + 3,
    /// Nesting level of a list paragraph (int).
    ListLevelProperty = QTextFormat::UserProperty + 4,
};

} // namespace tarvellite::ui
