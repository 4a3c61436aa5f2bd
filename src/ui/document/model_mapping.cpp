#include "ui/document/model_mapping.h"

#include "ui/document/document_units.h"
#include "ui/document/format_properties.h"
#include "ui/document/indent_scale.h"
#include "ui/document/text_helpers.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>
#include <cstdlib>

namespace tarvellite::ui {

namespace {

enum PictureProperty : int {
    PictureBytesProperty = QTextFormat::UserProperty + 20,
    PictureFormatProperty,
    PicturePixelWidthProperty,
    PicturePixelHeightProperty,
    PictureWidthTwipsProperty,
    PictureHeightTwipsProperty,
    ListStartProperty,
    ObjectClassProperty,
    ObjectDataProperty,
};

QString toQString(const std::u16string &s) {
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

std::u16string toU16(const QString &s) {
    return std::u16string(reinterpret_cast<const char16_t *>(s.utf16()), size_t(s.size()));
}

QColor toColour(const Rgb &c) {
    return QColor(c.red, c.green, c.blue);
}

Rgb toRgb(const QColor &c) {
    return Rgb{std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue())};
}

QTextCharFormat charFormatOf(const CharFormat &f) {
    QTextCharFormat format;
    if (!f.faceName.empty())
        format.setFontFamilies(QStringList{toQString(f.faceName)});
    format.setProperty(CharsetProperty, int(f.charset));
    format.setFontPointSize(twipsToPoints(f.sizeTwips));
    format.setFontWeight(f.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(f.italic);
    format.setFontUnderline(f.underline);
    format.setFontStrikeOut(f.strikeOut);
    if (f.textColor)
        format.setForeground(toColour(*f.textColor));
    if (f.backColor)
        format.setBackground(toColour(*f.backColor));
    return format;
}

CharFormat modelCharFormat(const QTextCharFormat &format, const QTextDocument *document) {
    CharFormat f;
    const QVariant families = format.property(QTextFormat::FontFamilies);
    if (families.isValid() && !families.toStringList().isEmpty())
        f.faceName = toU16(families.toStringList().first());
    f.charset = std::uint8_t(format.intProperty(CharsetProperty));
    if (format.hasProperty(QTextFormat::FontPointSize))
        f.sizeTwips = pointsToTwips(format.fontPointSize());
    else if (document->defaultFont().pointSizeF() > 0)
        f.sizeTwips = pointsToTwips(document->defaultFont().pointSizeF());
    f.bold = format.fontWeight() >= QFont::DemiBold;
    f.italic = format.fontItalic();
    f.underline = format.fontUnderline();
    f.strikeOut = format.fontStrikeOut();
    if (format.hasProperty(QTextFormat::ForegroundBrush) &&
        format.foreground().style() != Qt::NoBrush)
        f.textColor = toRgb(format.foreground().color());
    if (format.hasProperty(QTextFormat::BackgroundBrush) &&
        format.background().style() != Qt::NoBrush)
        f.backColor = toRgb(format.background().color());
    return f;
}

Qt::Alignment toAlignment(Alignment a) {
    switch (a) {
    case Alignment::Center: return Qt::AlignHCenter;
    case Alignment::Right: return Qt::AlignRight;
    case Alignment::Justify: return Qt::AlignJustify;
    case Alignment::Left: break;
    }
    return Qt::AlignLeft;
}

Alignment toModelAlignment(Qt::Alignment a) {
    if (a & Qt::AlignHCenter)
        return Alignment::Center;
    if (a & Qt::AlignRight)
        return Alignment::Right;
    if (a & Qt::AlignJustify)
        return Alignment::Justify;
    return Alignment::Left;
}

QTextListFormat::Style toListStyle(ListStyle s) {
    switch (s) {
    case ListStyle::Arabic: return QTextListFormat::ListDecimal;
    case ListStyle::LowerLetter: return QTextListFormat::ListLowerAlpha;
    case ListStyle::UpperLetter: return QTextListFormat::ListUpperAlpha;
    case ListStyle::LowerRoman: return QTextListFormat::ListLowerRoman;
    case ListStyle::UpperRoman: return QTextListFormat::ListUpperRoman;
    case ListStyle::Bullet:
    case ListStyle::None: break;
    }
    return QTextListFormat::ListDisc;
}

ListStyle toModelListStyle(QTextListFormat::Style s) {
    switch (s) {
    case QTextListFormat::ListDecimal: return ListStyle::Arabic;
    case QTextListFormat::ListLowerAlpha: return ListStyle::LowerLetter;
    case QTextListFormat::ListUpperAlpha: return ListStyle::UpperLetter;
    case QTextListFormat::ListLowerRoman: return ListStyle::LowerRoman;
    case QTextListFormat::ListUpperRoman: return ListStyle::UpperRoman;
    default: return ListStyle::Bullet;
    }
}

QTextOption::TabType toTabType(TabAlignment a) {
    switch (a) {
    case TabAlignment::Center: return QTextOption::CenterTab;
    case TabAlignment::Right: return QTextOption::RightTab;
    case TabAlignment::Decimal: return QTextOption::DelimiterTab;
    case TabAlignment::Left: break;
    }
    return QTextOption::LeftTab;
}

TabAlignment toModelTab(QTextOption::TabType t) {
    switch (t) {
    case QTextOption::CenterTab: return TabAlignment::Center;
    case QTextOption::RightTab: return TabAlignment::Right;
    case QTextOption::DelimiterTab: return TabAlignment::Decimal;
    case QTextOption::LeftTab: break;
    }
    return TabAlignment::Left;
}

QTextBlockFormat blockFormatOf(const ParagraphFormat &p, const QTextDocument *document) {
    QTextBlockFormat format;
    format.setAlignment(toAlignment(p.alignment));
    format.setLeftMargin(indentTwipsToUnits(document, p.startIndentTwips));
    format.setRightMargin(indentTwipsToUnits(document, p.rightIndentTwips));
    if (p.listStyle == ListStyle::None) {
        format.setTextIndent(indentTwipsToUnits(document, p.firstLineIndentTwips));
    } else {
        format.setTextIndent(0);
        format.setProperty(OffsetProperty, -p.firstLineIndentTwips);
        format.setProperty(ListLevelProperty, p.listLevel);
    }
    QList<QTextOption::Tab> tabs;
    for (const TabStop &t : p.tabStops)
        tabs.append(QTextOption::Tab(twipsToUnits(t.positionTwips), toTabType(t.alignment),
                                     t.alignment == TabAlignment::Decimal ? QChar('.') : QChar()));
    if (!tabs.isEmpty())
        format.setTabPositions(tabs);
    return format;
}

QTextListFormat listFormatOf(const ParagraphFormat &p) {
    QTextListFormat format;
    format.setStyle(toListStyle(p.listStyle));
    format.setIndent(0);
    if (p.listStyle != ListStyle::Bullet) {
        format.setNumberPrefix(QString());
        format.setNumberSuffix(p.numberSuffix == NumberSuffix::Parenthesis ? QStringLiteral(")")
                                                                           : QStringLiteral("."));
    }
    format.setProperty(ListStartProperty, p.numberingStart);
    format.setProperty(NumberingTabProperty, p.numberingTabTwips);
    return format;
}

bool sameList(const ParagraphFormat &a, const ParagraphFormat &b) {
    return a.listStyle == b.listStyle && a.numberSuffix == b.numberSuffix &&
           a.numberingStart == b.numberingStart && a.listLevel == b.listLevel;
}

QImage displayImage(const Picture &picture) {
    QImage image;
    const QByteArray bytes(reinterpret_cast<const char *>(picture.bytes.data()),
                           qsizetype(picture.bytes.size()));
    switch (picture.format) {
    case PictureFormat::Png: image.loadFromData(bytes, "PNG"); break;
    case PictureFormat::Jpeg: image.loadFromData(bytes, "JPEG"); break;
    case PictureFormat::Dib: {
        // A BMP file is the bitmap behind a 14-byte file header.
        QByteArray file("BM");
        const quint32 size = quint32(14 + bytes.size());
        for (int i = 0; i < 4; ++i)
            file.append(char((size >> (8 * i)) & 0xFF));
        file.append(4, '\0');
        quint32 bitsOffset = 14;
        if (bytes.size() >= 4) {
            const auto *b = reinterpret_cast<const uchar *>(bytes.constData());
            const quint32 headerSize = b[0] | (b[1] << 8) | (b[2] << 16) | (quint32(b[3]) << 24);
            quint32 colours = 0;
            if (bytes.size() >= 36) {
                const quint16 bitCount = quint16(b[14] | (b[15] << 8));
                colours = b[32] | (b[33] << 8) | (b[34] << 16) | (quint32(b[35]) << 24);
                if (colours == 0 && bitCount <= 8)
                    colours = 1u << bitCount;
            }
            bitsOffset += headerSize + colours * 4;
        }
        for (int i = 0; i < 4; ++i)
            file.append(char((bitsOffset >> (8 * i)) & 0xFF));
        file.append(bytes);
        image.loadFromData(file, "BMP");
        break;
    }
    case PictureFormat::Emf:
    case PictureFormat::Wmf: break;
    }
    if (image.isNull()) {
        // Metafiles and undecodable pictures show as a framed box of their size.
        const int w = picture.widthTwips > 0 ? int(twipsToUnits(picture.widthTwips)) : 64;
        const int h = picture.heightTwips > 0 ? int(twipsToUnits(picture.heightTwips)) : 64;
        image = QImage(std::clamp(w, 1, 4000), std::clamp(h, 1, 4000), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setPen(Qt::gray);
        painter.drawRect(0, 0, image.width() - 1, image.height() - 1);
    }
    return image;
}

} // namespace

void insertPicture(QTextCursor &cursor, const Picture &picture, const CharFormat &charFormat) {
    static int pictureSerial = 0;
    QTextDocument *document = cursor.document();
    const QString name = QStringLiteral("tvpic:%1").arg(++pictureSerial);
    const QImage image = displayImage(picture);
    document->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.merge(charFormatOf(charFormat));
    format.setName(name);
    format.setWidth(picture.widthTwips > 0 ? twipsToUnits(picture.widthTwips) : image.width());
    format.setHeight(picture.heightTwips > 0 ? twipsToUnits(picture.heightTwips) : image.height());
    format.setProperty(PictureBytesProperty,
                       QByteArray(reinterpret_cast<const char *>(picture.bytes.data()),
                                  qsizetype(picture.bytes.size())));
    format.setProperty(PictureFormatProperty, int(picture.format));
    format.setProperty(PicturePixelWidthProperty, picture.pixelWidth);
    format.setProperty(PicturePixelHeightProperty, picture.pixelHeight);
    format.setProperty(PictureWidthTwipsProperty, picture.widthTwips);
    format.setProperty(PictureHeightTwipsProperty, picture.heightTwips);
    if (picture.isObject()) {
        format.setProperty(ObjectClassProperty, QString::fromStdString(picture.objectClass));
        format.setProperty(ObjectDataProperty,
                           QByteArray(reinterpret_cast<const char *>(picture.objectData.data()),
                                      qsizetype(picture.objectData.size())));
    }
    cursor.insertImage(format);
}

bool setPictureSize(QTextCursor &cursor, int widthTwips, int heightTwips) {
    if (std::abs(cursor.selectionEnd() - cursor.selectionStart()) != 1 || widthTwips <= 0 ||
        heightTwips <= 0)
        return false;
    QTextCursor end(cursor.document());
    end.setPosition(cursor.selectionEnd());
    if (!end.charFormat().isImageFormat())
        return false;
    QTextImageFormat format = end.charFormat().toImageFormat();
    format.setWidth(twipsToUnits(widthTwips));
    format.setHeight(twipsToUnits(heightTwips));
    format.setProperty(PictureWidthTwipsProperty, widthTwips);
    format.setProperty(PictureHeightTwipsProperty, heightTwips);
    cursor.beginEditBlock();
    cursor.setCharFormat(format);
    cursor.endEditBlock();
    return true;
}

void fillTextDocument(QTextDocument *document, const RichDocument &model) {
    document->clear();
    QTextCursor cursor(document);
    // One edit for the whole fill: the layout of a view sees one change and lays the text out
    // once, lazily from the top, instead of laying out every paragraph again for each run.
    cursor.beginEditBlock();
    QTextList *list = nullptr;
    const ParagraphFormat *listParagraph = nullptr;
    for (std::size_t i = 0; i < model.paragraphs.size(); ++i) {
        const Paragraph &paragraph = model.paragraphs[i];
        const QTextBlockFormat blockFormat = blockFormatOf(paragraph.format, document);
        const QTextCharFormat firstFormat = paragraph.runs.empty()
                                                ? charFormatOf(CharFormat{})
                                                : charFormatOf(paragraph.runs.front().format);
        if (i == 0) {
            cursor.setBlockFormat(blockFormat);
            cursor.setBlockCharFormat(firstFormat);
        } else {
            cursor.insertBlock(blockFormat, firstFormat);
        }
        if (paragraph.format.listStyle != ListStyle::None) {
            if (list && listParagraph && sameList(*listParagraph, paragraph.format)) {
                list->add(cursor.block());
            } else {
                list = cursor.createList(listFormatOf(paragraph.format));
            }
            listParagraph = &paragraph.format;
        } else {
            list = nullptr;
            listParagraph = nullptr;
        }
        for (const Run &run : paragraph.runs) {
            if (run.isPicture()) {
                insertPicture(cursor, model.pictures.at(std::size_t(run.pictureIndex)), run.format);
            } else {
                cursor.insertText(toQString(run.text), charFormatOf(run.format));
            }
        }
    }
    joinClusterFormats(document, 0, document->characterCount());
    cursor.endEditBlock();
}

RichDocument richDocumentFrom(const QTextDocument *document) {
    RichDocument model;
    model.paragraphs.clear();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        Paragraph paragraph;
        const QTextBlockFormat bf = block.blockFormat();
        ParagraphFormat &p = paragraph.format;
        p.alignment = toModelAlignment(bf.alignment());
        p.startIndentTwips = indentUnitsToTwips(document, bf.leftMargin());
        p.rightIndentTwips = indentUnitsToTwips(document, bf.rightMargin());
        for (const QTextOption::Tab &tab : bf.tabPositions()) {
            if (p.tabStops.size() < maxTabStops)
                p.tabStops.push_back({unitsToTwips(tab.position), toModelTab(tab.type)});
        }
        if (const QTextList *list = block.textList()) {
            const QTextListFormat lf = list->format();
            p.listStyle = toModelListStyle(lf.style());
            p.numberSuffix = lf.numberSuffix() == QLatin1String(")") ? NumberSuffix::Parenthesis
                                                                     : NumberSuffix::Period;
            p.numberingStart =
                lf.hasProperty(ListStartProperty) ? lf.intProperty(ListStartProperty) : 1;
            p.numberingTabTwips = lf.intProperty(NumberingTabProperty);
            p.listLevel = bf.intProperty(ListLevelProperty);
            p.firstLineIndentTwips = -bf.intProperty(OffsetProperty);
        } else {
            p.firstLineIndentTwips = indentUnitsToTwips(document, bf.textIndent());
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat cf = fragment.charFormat();
            if (cf.isImageFormat()) {
                const QTextImageFormat image = cf.toImageFormat();
                for (int k = 0; k < fragment.length(); ++k) {
                    Picture picture;
                    if (image.hasProperty(PictureBytesProperty)) {
                        const QByteArray bytes = image.property(PictureBytesProperty).toByteArray();
                        picture.bytes.assign(bytes.begin(), bytes.end());
                        picture.format = PictureFormat(image.intProperty(PictureFormatProperty));
                        picture.pixelWidth = image.intProperty(PicturePixelWidthProperty);
                        picture.pixelHeight = image.intProperty(PicturePixelHeightProperty);
                        picture.widthTwips = image.intProperty(PictureWidthTwipsProperty);
                        picture.heightTwips = image.intProperty(PictureHeightTwipsProperty);
                        if (image.hasProperty(ObjectDataProperty)) {
                            const QByteArray data =
                                image.property(ObjectDataProperty).toByteArray();
                            picture.objectData.assign(data.begin(), data.end());
                            picture.objectClass =
                                image.stringProperty(ObjectClassProperty).toStdString();
                        }
                    } else {
                        // A picture inserted in this session: stored as PNG.
                        const QImage img =
                            document->resource(QTextDocument::ImageResource, QUrl(image.name()))
                                .value<QImage>();
                        QByteArray png;
                        QBuffer buffer(&png);
                        buffer.open(QIODevice::WriteOnly);
                        img.save(&buffer, "PNG");
                        picture.bytes.assign(png.begin(), png.end());
                        picture.format = PictureFormat::Png;
                        picture.pixelWidth = img.width();
                        picture.pixelHeight = img.height();
                        picture.widthTwips =
                            unitsToTwips(image.width() > 0 ? image.width() : img.width());
                        picture.heightTwips =
                            unitsToTwips(image.height() > 0 ? image.height() : img.height());
                    }
                    if (picture.bytes.empty())
                        continue;
                    model.pictures.push_back(std::move(picture));
                    Run run;
                    run.format = modelCharFormat(cf, document);
                    run.text = std::u16string(1, objectReplacementCharacter);
                    run.pictureIndex = int(model.pictures.size() - 1);
                    paragraph.runs.push_back(std::move(run));
                }
                continue;
            }
            Run run;
            run.format = modelCharFormat(cf, document);
            run.text = toU16(fragment.text());
            paragraph.runs.push_back(std::move(run));
        }
        model.paragraphs.push_back(std::move(paragraph));
    }
    model.normalize();
    return model;
}

} // namespace tarvellite::ui
