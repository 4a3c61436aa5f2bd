#include "ui/document/text_format.h"

#include "core/document/rich_text.h"
#include "ui/document/document_units.h"
#include "ui/document/format_properties.h"
#include "ui/document/indent_scale.h"
#include "ui/document/text_helpers.h"

#include <QList>
#include <QPair>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

namespace tarvellite::ui::text_format {

namespace {

bool has(const QTextCharFormat &f, Effect effect) {
    switch (effect) {
    case Effect::Bold: return f.fontWeight() >= QFont::DemiBold;
    case Effect::Italic: return f.fontItalic();
    case Effect::Underline: return f.fontUnderline();
    case Effect::StrikeOut: return f.fontStrikeOut();
    }
    return false;
}

void set(QTextCharFormat &f, Effect effect, bool on) {
    switch (effect) {
    case Effect::Bold: f.setFontWeight(on ? QFont::Bold : QFont::Normal); break;
    case Effect::Italic: f.setFontItalic(on); break;
    case Effect::Underline: f.setFontUnderline(on); break;
    case Effect::StrikeOut: f.setFontStrikeOut(on); break;
    }
}

bool isBulletStyle(QTextListFormat::Style style) {
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle ||
           style == QTextListFormat::ListSquare;
}

int offsetOf(const QTextBlock &block) {
    const QTextBlockFormat f = block.blockFormat();
    if (block.textList())
        return f.intProperty(OffsetProperty);
    return -indentUnitsToTwips(block.document(), f.textIndent());
}

int startOf(const QTextBlock &block) {
    return indentUnitsToTwips(block.document(), block.blockFormat().leftMargin()) - offsetOf(block);
}

// Calls `visit` with each block the selection of `cursor` touches.
template <class F> void forEachSelectedBlock(const QTextCursor &cursor, F visit) {
    QTextDocument *document = cursor.document();
    const QTextBlock last = document->findBlock(cursor.selectionEnd());
    for (QTextBlock block = document->findBlock(cursor.selectionStart()); block.isValid();
         block = block.next()) {
        visit(block);
        if (block == last)
            break;
    }
}

void setBlockIndents(QTextBlock block, int start, int offset) {
    QTextCursor c(block);
    QTextBlockFormat f = block.blockFormat();
    f.setLeftMargin(indentTwipsToUnits(block.document(), start + offset));
    if (block.textList()) {
        f.setTextIndent(0);
        f.setProperty(OffsetProperty, offset);
    } else {
        f.setTextIndent(indentTwipsToUnits(block.document(), -offset));
        f.clearProperty(OffsetProperty);
    }
    c.setBlockFormat(f);
}

void removeLists(QTextCursor &cursor) {
    forEachSelectedBlock(cursor, [](const QTextBlock &block) {
        if (QTextList *list = block.textList())
            list->remove(block);
        setBlockIndents(block, 0, 0);
    });
}

// Puts the selected paragraphs in a new list of `format`; an offset of 0 becomes `offset`.
void makeList(QTextCursor &cursor, const QTextListFormat &format, int offset) {
    QList<QPair<int, int>> indents; // start and offset of each block, before the change
    forEachSelectedBlock(cursor, [&](const QTextBlock &block) {
        indents.append({startOf(block), offsetOf(block)});
    });
    cursor.createList(format);
    int i = 0;
    forEachSelectedBlock(cursor, [&](const QTextBlock &block) {
        const auto [start, old] = indents.value(i++);
        setBlockIndents(block, start, old == 0 ? offset : old);
    });
}

struct NumberingStyle {
    QTextListFormat::Style style;
    const char *suffix;
};

// Numbering items 1 … 7.
constexpr NumberingStyle numberingStyles[] = {
    {QTextListFormat::ListDecimal, "."},    {QTextListFormat::ListDecimal, ")"},
    {QTextListFormat::ListUpperRoman, "."}, {QTextListFormat::ListUpperAlpha, "."},
    {QTextListFormat::ListLowerAlpha, ")"}, {QTextListFormat::ListLowerAlpha, "."},
    {QTextListFormat::ListLowerRoman, "."},
};

} // namespace

QString face(const QTextCharFormat &format, const QTextDocument *document) {
    const QVariant families = format.property(QTextFormat::FontFamilies);
    if (families.isValid()) {
        const QStringList list = families.toStringList();
        if (!list.isEmpty())
            return list.first();
    }
    return document->defaultFont().family();
}

int twips(const QTextCharFormat &format, const QTextDocument *document) {
    if (format.hasProperty(QTextFormat::FontPointSize))
        return pointsToTwips(format.fontPointSize());
    const QFont font = document->defaultFont();
    return font.pointSizeF() > 0 ? pointsToTwips(font.pointSizeF()) : -1;
}

QString selectionFace(const QTextCursor &c) {
    const QTextDocument *document = c.document();
    if (!c.hasSelection())
        return face(c.charFormat(), document);
    QString first;
    int charset = 0;
    bool seen = false;
    bool mixed = false;
    forEachFormat(document, c.selectionStart(), c.selectionEnd(), [&](const QTextCharFormat &f) {
        const QString fFace = face(f, document);
        const int fCharset = f.intProperty(CharsetProperty);
        if (!seen) {
            first = fFace;
            charset = fCharset;
            seen = true;
        } else if (fFace != first || fCharset != charset) {
            mixed = true;
        }
    });
    return mixed ? QString() : first;
}

int selectionTwips(const QTextCursor &c) {
    const QTextDocument *document = c.document();
    if (!c.hasSelection())
        return twips(c.charFormat(), document);
    int result = -2;
    forEachFormat(document, c.selectionStart(), c.selectionEnd(), [&](const QTextCharFormat &f) {
        const int t = twips(f, document);
        result = result == -2 || result == t ? t : -1;
    });
    return result == -2 ? twips(c.charFormat(), document) : result;
}

Qt::CheckState effectState(const QTextCursor &c, Effect effect) {
    if (!c.hasSelection())
        return has(c.charFormat(), effect) ? Qt::Checked : Qt::Unchecked;
    bool any = false;
    bool all = true;
    bool seen = false;
    forEachFormat(c.document(), c.selectionStart(), c.selectionEnd(),
                  [&](const QTextCharFormat &f) {
                      const bool h = has(f, effect);
                      any = any || h;
                      all = all && h;
                      seen = true;
                  });
    if (!seen)
        return has(c.charFormat(), effect) ? Qt::Checked : Qt::Unchecked;
    return all ? Qt::Checked : any ? Qt::PartiallyChecked : Qt::Unchecked;
}

void merge(QTextCursor &cursor, const QTextCharFormat &format) {
    if (cursor.hasSelection())
        expandToClusters(cursor);
    cursor.mergeCharFormat(format);
}

void toggleEffect(QTextCursor &cursor, Effect effect) {
    QTextCharFormat format;
    set(format, effect, effectState(cursor, effect) != Qt::Checked);
    merge(cursor, format);
}

void setFace(QTextCursor &cursor, const QString &faceName) {
    QTextCharFormat format;
    format.setFontFamilies(QStringList{faceName.left(qsizetype(faceNameLimit))});
    format.setProperty(CharsetProperty, 1);
    merge(cursor, format);
}

void setTwips(QTextCursor &cursor, int size) {
    QTextCharFormat format;
    format.setFontPointSize(twipsToPoints(size));
    merge(cursor, format);
}

void setTextColour(QTextCursor &cursor, const QColor &colour) {
    QTextCharFormat format;
    format.setForeground(colour);
    merge(cursor, format);
}

void setBackColour(QTextCursor &cursor, const QColor &colour) {
    QTextCharFormat format;
    format.setBackground(colour);
    merge(cursor, format);
}

Qt::Alignment alignment(const QTextCursor &cursor) {
    const Qt::Alignment a = cursor.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    return a & Qt::AlignHCenter   ? Qt::AlignHCenter
           : a & Qt::AlignRight   ? Qt::AlignRight
           : a & Qt::AlignJustify ? Qt::AlignJustify
                                  : Qt::AlignLeft;
}

void setAlignment(QTextCursor &cursor, Qt::Alignment alignment) {
    QTextBlockFormat format;
    format.setAlignment(alignment);
    cursor.mergeBlockFormat(format);
}

int startIndent(const QTextCursor &cursor) {
    return startOf(cursor.document()->findBlock(cursor.selectionStart()));
}

int rightIndent(const QTextCursor &cursor) {
    const QTextBlock block = cursor.document()->findBlock(cursor.selectionStart());
    return indentUnitsToTwips(block.document(), block.blockFormat().rightMargin());
}

int offset(const QTextCursor &cursor) {
    return offsetOf(cursor.document()->findBlock(cursor.selectionStart()));
}

void setStartIndent(QTextCursor &cursor, int twips) {
    cursor.beginEditBlock();
    forEachSelectedBlock(
        cursor, [&](const QTextBlock &block) { setBlockIndents(block, twips, offsetOf(block)); });
    cursor.endEditBlock();
}

bool hasBullets(const QTextCursor &cursor) {
    const QTextList *list = cursor.block().textList();
    return list && isBulletStyle(list->format().style());
}

int numberingItem(const QTextCursor &cursor) {
    const QTextList *list = cursor.block().textList();
    if (!list)
        return 0;
    const QTextListFormat f = list->format();
    if (isBulletStyle(f.style()))
        return 0;
    const bool parenthesis = f.numberSuffix() == QLatin1String(")");
    switch (f.style()) {
    case QTextListFormat::ListDecimal: return parenthesis ? 2 : 1;
    case QTextListFormat::ListUpperRoman: return parenthesis ? 5 : 3;
    case QTextListFormat::ListUpperAlpha: return parenthesis ? 5 : 4;
    case QTextListFormat::ListLowerAlpha: return parenthesis ? 5 : 6;
    case QTextListFormat::ListLowerRoman: return parenthesis ? 5 : 7;
    default: return 1;
    }
}

void toggleBullets(QTextCursor &cursor) {
    bool allBullets = true;
    forEachSelectedBlock(cursor, [&](const QTextBlock &block) {
        const QTextList *list = block.textList();
        allBullets = allBullets && list && isBulletStyle(list->format().style());
    });
    cursor.beginEditBlock();
    if (allBullets) {
        removeLists(cursor);
    } else {
        QTextListFormat format;
        format.setStyle(QTextListFormat::ListDisc);
        format.setIndent(0);
        makeList(cursor, format, bulletOffsetTwips);
    }
    cursor.endEditBlock();
}

void setNumbering(QTextCursor &cursor, int item, int tabTwips) {
    cursor.beginEditBlock();
    if (item <= 0 || item > 7) {
        removeLists(cursor);
    } else {
        const NumberingStyle &style = numberingStyles[item - 1];
        QTextListFormat format;
        format.setStyle(style.style);
        format.setNumberPrefix(QString());
        format.setNumberSuffix(QString::fromLatin1(style.suffix));
        format.setIndent(0);
        format.setProperty(NumberingTabProperty, tabTwips);
        // The number needs room before the text: an offset of 0 becomes the numbering tab.
        makeList(cursor, format, tabTwips);
    }
    cursor.endEditBlock();
}

} // namespace tarvellite::ui::text_format
