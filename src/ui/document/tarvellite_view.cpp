#include "ui/document/tarvellite_view.h"

#include "core/app/messages.h"
#include "ui/document/command_ids.h"
#include "ui/document/document_settings.h"
#include "ui/document/document_units.h"
#include "ui/document/format_properties.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/text_helpers.h"
#include "ui/document/view_host.h"
#include "ui/input/look_ahead.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPaintDevice>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextList>
#include <QUrl>
#include <cmath>

namespace tarvellite::ui {

/// A paint device that only reports a resolution. Set as the document layout's device it
/// scales everything the layout measures in points or document units (fonts, indents,
/// margins, pictures) by the zoom, while the view paints on the screen as usual.
class ZoomDevice : public QPaintDevice {
  public:
    ZoomDevice(int dpiX, int dpiY) : baseX_(dpiX), baseY_(dpiY) {}
    void setZoom(qreal zoom) { zoom_ = zoom; }
    QPaintEngine *paintEngine() const override { return nullptr; }

  protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmDpiX:
        case PdmPhysicalDpiX: return std::max(1, qRound(baseX_ * zoom_));
        case PdmDpiY:
        case PdmPhysicalDpiY: return std::max(1, qRound(baseY_ * zoom_));
        case PdmWidth:
        case PdmHeight: return 10000;
        case PdmWidthMM:
        case PdmHeightMM: return 2540;
        case PdmNumColors: return INT_MAX;
        case PdmDepth: return 32;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        default: return QPaintDevice::metric(metric);
        }
    }

  private:
    int baseX_;
    int baseY_;
    qreal zoom_ = 1.0;
};

namespace {

bool isBold(const QTextCharFormat &f) {
    return f.fontWeight() >= QFont::DemiBold;
}

int leadingInteger(const QString &text) {
    const QString t = text.trimmed();
    int i = 0;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')))
        ++i;
    while (i < t.size() && t[i].isDigit())
        ++i;
    return t.left(i).toInt();
}

bool isBulletStyle(QTextListFormat::Style style) {
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle ||
           style == QTextListFormat::ListSquare;
}

int offsetOf(const QTextBlock &block) {
    const QTextBlockFormat f = block.blockFormat();
    if (block.textList())
        return f.intProperty(OffsetProperty);
    return -unitsToTwips(f.textIndent());
}

int startOf(const QTextBlock &block) {
    return unitsToTwips(block.blockFormat().leftMargin()) - offsetOf(block);
}

// Calls `visit` with a cursor on each block the selection of `cursor` touches.
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
    f.setLeftMargin(twipsToUnits(start + offset));
    if (block.textList()) {
        f.setTextIndent(0);
        f.setProperty(OffsetProperty, offset);
    } else {
        f.setTextIndent(twipsToUnits(-offset));
        f.clearProperty(OffsetProperty);
    }
    c.setBlockFormat(f);
}

struct NumberingStyle {
    QTextListFormat::Style style;
    const char *suffix;
};

// Gallery items 1 … 7.
constexpr NumberingStyle numberingStyles[] = {
    {QTextListFormat::ListDecimal, "."},    {QTextListFormat::ListDecimal, ")"},
    {QTextListFormat::ListUpperRoman, "."}, {QTextListFormat::ListUpperAlpha, "."},
    {QTextListFormat::ListLowerAlpha, ")"}, {QTextListFormat::ListLowerAlpha, "."},
    {QTextListFormat::ListLowerRoman, "."},
};

} // namespace

CTarvelLiteView::CTarvelLiteView(CTarvelLiteDoc *doc, ViewHost *host, QWidget *parent)
    : QTextEdit(parent), doc_(doc), host_(host) {
    setObjectName(QStringLiteral("view"));
    setAccessibleName(QStringLiteral("document"));
    setAcceptRichText(true);
    setAcceptDrops(true);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    zoomDevice_ = std::make_unique<ZoomDevice>(logicalDpiX(), logicalDpiY());
    document()->documentLayout()->setPaintDevice(zoomDevice_.get());
    document()->setIndentWidth(twipsToUnits(bulletOffset));
    if (doc_)
        doc_->attachText(document());

    connect(this, &QTextEdit::cursorPositionChanged, this, [this] {
        if (hasFocus())
            SyncFormatBoxes();
        emit formatStateChanged();
        emit statusChanged();
    });
    connect(this, &QTextEdit::currentCharFormatChanged, this, &CTarvelLiteView::formatStateChanged);
    connect(document(), &QTextDocument::undoCommandAdded, this,
            &CTarvelLiteView::onUndoCommandAdded);
    connect(document(), &QTextDocument::modificationChanged, this, &CTarvelLiteView::statusChanged);
    connect(document(), &QTextDocument::contentsChanged, this,
            &CTarvelLiteView::formatStateChanged);
    lookAhead_ = new LookAhead(this, [this] { return host_ ? host_->lookAheadSource() : nullptr; });
    // Typing goes through the keyboard routing, which translates keys before the view sees them.
    if (InputRouter *router = host_ ? host_->inputRouter() : nullptr)
        router->attachDocument(this, this);
}

CTarvelLiteView::~CTarvelLiteView() {
    if (preview_)
        preview_->close();
    document()->documentLayout()->setPaintDevice(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Set-up

DocumentSettings CTarvelLiteView::documentSettings() const {
    if (host_)
        return documentSettingsFrom(host_->settings());
    static const DocumentSettings defaults;
    return defaults;
}

void CTarvelLiteView::initialUpdate() {
    const DocumentSettings settings = documentSettings();
    if (host_) {
        const QStringList faces = host_->fontFaces();
        host_->setFontBoxText(faces.contains(settings.defaultFont) || faces.isEmpty()
                                  ? settings.defaultFont
                                  : faces.first());
        host_->setSizeBoxText(settings.defaultFontSize);
        host_->setTextColour(settings.textColour);
        host_->setBackColour(settings.backgroundColour);
    }

    if (!pageLayout.isSet()) {
        pageLayout.paperWidth = settings.portrait ? settings.paperWidth : settings.paperHeight;
        pageLayout.paperHeight = settings.portrait ? settings.paperHeight : settings.paperWidth;
        pageLayout.marginLeft = settings.marginLeft;
        pageLayout.marginTop = settings.marginTop;
        pageLayout.marginRight = settings.marginRight;
        pageLayout.marginBottom = settings.marginBottom;
    }
    ApplyPageLayout(nullptr, false);
    computeIndentStops();

    // The default face and size become the typing format at the start of the text, and the
    // format of an empty document.
    QTextCharFormat format;
    format.setFontFamilies(QStringList{settings.defaultFont});
    const int points = leadingInteger(settings.defaultFontSize);
    if (points > 0)
        format.setFontPointSize(points);
    format.setFontWeight(QFont::Normal);
    QFont defaultFont = document()->defaultFont();
    defaultFont.setFamilies(QStringList{settings.defaultFont});
    if (points > 0)
        defaultFont.setPointSize(points);
    document()->setDefaultFont(defaultFont);

    const bool modified = !recoveredPath.isEmpty() || convertedOnLoad;
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::Start);
    if (document()->isEmpty()) {
        cursor.setBlockCharFormat(format);
        cursor.setCharFormat(format);
    }
    cursor.mergeCharFormat(format);
    setTextCursor(cursor);
    resetUndoHistory();
    setUndoLimit(settings.undoLevels);
    if (doc_)
        doc_->setModified(modified);
    UpdateStatusAndTitle();
}

void CTarvelLiteView::onActivated() {
    SyncFormatBoxes();
    if (document()->isEmpty() && host_) {
        backColourCommand();
        textColourCommand();
    }
}

PageLayout CTarvelLiteView::effectiveLayout() const {
    return deviceLayout_;
}

namespace {

// `layout`, with paper and margins from the settings as stored when its paper is unset.
PageLayout completedLayout(PageLayout layout, const DocumentSettings &s) {
    if (!layout.isSet()) {
        layout.paperWidth = s.paperWidth;
        layout.paperHeight = s.paperHeight;
        layout.marginLeft = s.marginLeft;
        layout.marginTop = s.marginTop;
        layout.marginRight = s.marginRight;
        layout.marginBottom = s.marginBottom;
    }
    return layout;
}

} // namespace

void CTarvelLiteView::ApplyPageLayout(const PageLayout *layout, bool store) {
    if (layout && store) {
        pageLayout = *layout;
        if (doc_)
            doc_->setModified(true);
    }
    deviceLayout_ = completedLayout(layout ? *layout : pageLayout, documentSettings());
    applyWrapping();
}

void CTarvelLiteView::applyWrapping() {
    const PageLayout layout = effectiveLayout();
    const int textTwips = layout.paperWidth - layout.marginLeft - layout.marginRight;
    if (textTwips > 0) {
        setLineWrapMode(QTextEdit::FixedPixelWidth);
        setLineWrapColumnOrWidth(
            std::max(1, qRound(twipsToDevice(textTwips, zoomDevice_->logicalDpiX()))));
    } else {
        setLineWrapMode(QTextEdit::WidgetWidth);
    }
}

void CTarvelLiteView::computeIndentStops() {
    const PageLayout layout = effectiveLayout();
    const int step =
        (layout.paperWidth - indentGutter - layout.marginRight - layout.marginLeft) / 32;
    for (int i = 0; i < indentStopCount; ++i)
        indentStops_[i] = (i + 1) * step;
    indentLimit_ = indentStops_[indentStopCount - 1] - indentGutter;
}

// ---------------------------------------------------------------------------------------------
// Reading the selection

QTextCursor CTarvelLiteView::formatCursor() const {
    return textCursor();
}

int CTarvelLiteView::formatTwips(const QTextCharFormat &format) const {
    if (format.hasProperty(QTextFormat::FontPointSize))
        return pointsToTwips(format.fontPointSize());
    const QFont font = document()->defaultFont();
    return font.pointSizeF() > 0 ? pointsToTwips(font.pointSizeF()) : -1;
}

QString CTarvelLiteView::formatFace(const QTextCharFormat &format) const {
    const QVariant families = format.property(QTextFormat::FontFamilies);
    if (families.isValid()) {
        const QStringList list = families.toStringList();
        if (!list.isEmpty())
            return list.first();
    }
    return document()->defaultFont().family();
}

QString CTarvelLiteView::selectionFace() const {
    const QTextCursor c = formatCursor();
    if (!c.hasSelection())
        return formatFace(c.charFormat());
    QString face;
    int charset = 0;
    bool first = true;
    bool mixed = false;
    forEachFormat(document(), c.selectionStart(), c.selectionEnd(), [&](const QTextCharFormat &f) {
        const QString fFace = formatFace(f);
        const int fCharset = f.intProperty(CharsetProperty);
        if (first) {
            face = fFace;
            charset = fCharset;
            first = false;
        } else if (fFace != face || fCharset != charset) {
            mixed = true;
        }
    });
    return mixed ? QString() : face;
}

int CTarvelLiteView::selectionTwips() const {
    const QTextCursor c = formatCursor();
    if (!c.hasSelection())
        return formatTwips(c.charFormat());
    int twips = -2;
    forEachFormat(document(), c.selectionStart(), c.selectionEnd(), [&](const QTextCharFormat &f) {
        const int t = formatTwips(f);
        twips = twips == -2 || twips == t ? t : -1;
    });
    return twips == -2 ? formatTwips(c.charFormat()) : twips;
}

Qt::CheckState
CTarvelLiteView::effectState(const std::function<bool(const QTextCharFormat &)> &has) const {
    const QTextCursor c = formatCursor();
    if (!c.hasSelection())
        return has(c.charFormat()) ? Qt::Checked : Qt::Unchecked;
    bool any = false;
    bool all = true;
    bool seen = false;
    forEachFormat(document(), c.selectionStart(), c.selectionEnd(), [&](const QTextCharFormat &f) {
        const bool h = has(f);
        any = any || h;
        all = all && h;
        seen = true;
    });
    if (!seen)
        return has(c.charFormat()) ? Qt::Checked : Qt::Unchecked;
    return all ? Qt::Checked : any ? Qt::PartiallyChecked : Qt::Unchecked;
}

int CTarvelLiteView::startIndentTwips() const {
    return startOf(document()->findBlock(formatCursor().selectionStart()));
}

int CTarvelLiteView::rightIndentTwips() const {
    return unitsToTwips(
        document()->findBlock(formatCursor().selectionStart()).blockFormat().rightMargin());
}

int CTarvelLiteView::offsetTwips() const {
    return offsetOf(document()->findBlock(formatCursor().selectionStart()));
}

FormatState CTarvelLiteView::formatState() const {
    FormatState state;
    state.bold = effectState(isBold);
    state.italic = effectState([](const QTextCharFormat &f) { return f.fontItalic(); });
    state.underline = effectState([](const QTextCharFormat &f) { return f.fontUnderline(); });
    state.strikeOut = effectState([](const QTextCharFormat &f) { return f.fontStrikeOut(); });
    const QTextCursor c = formatCursor();
    const Qt::Alignment a = c.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    state.alignment = a & Qt::AlignHCenter   ? Qt::AlignHCenter
                      : a & Qt::AlignRight   ? Qt::AlignRight
                      : a & Qt::AlignJustify ? Qt::AlignJustify
                                             : Qt::AlignLeft;
    if (const QTextList *list = c.block().textList()) {
        const QTextListFormat f = list->format();
        if (isBulletStyle(f.style())) {
            state.bullets = true;
        } else {
            const bool parenthesis = f.numberSuffix() == QLatin1String(")");
            switch (f.style()) {
            case QTextListFormat::ListDecimal: state.numberingItem = parenthesis ? 2 : 1; break;
            case QTextListFormat::ListUpperRoman: state.numberingItem = parenthesis ? 5 : 3; break;
            case QTextListFormat::ListUpperAlpha: state.numberingItem = parenthesis ? 5 : 4; break;
            case QTextListFormat::ListLowerAlpha: state.numberingItem = parenthesis ? 5 : 6; break;
            case QTextListFormat::ListLowerRoman: state.numberingItem = parenthesis ? 5 : 7; break;
            default: state.numberingItem = 1; break;
            }
        }
    }
    state.canUndo = canUndo();
    state.canRedo = canRedo();
    return state;
}

// ---------------------------------------------------------------------------------------------
// Font and size boxes

QString CTarvelLiteView::sizeText(int twips) {
    if (twips < 0)
        return {};
    const long tenths = (twips + 5) / 10;
    if (tenths % 2 == 0)
        return QString::number((twips + 5) / 20);
    return QString::asprintf("%.1f", tenths / 2.0);
}

int CTarvelLiteView::parseSizeText(const QString &text) {
    int begin = 0;
    int end = int(text.size());
    auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (begin < end && blank(text[begin]))
        ++begin;
    while (end > begin && blank(text[end - 1]))
        --end;
    if (begin == end)
        return 0;
    bool ok = false;
    double points = QLocale::c().toDouble(QStringView(text).mid(begin, end - begin), &ok);
    if (!ok || !std::isfinite(points))
        return -1;
    if (points < 0)
        points = 0;
    // A small allowance so that sizes like 1.15 are not cut to 22 by binary rounding.
    const double twips = std::floor(points * twipsPerPoint + 1e-7);
    if (twips < twipsPerPoint || twips > 32760)
        return -1;
    return int(twips);
}

void CTarvelLiteView::SyncFormatBoxes() {
    if (!host_)
        return;
    if (!host_->fontBoxEditing())
        host_->setFontBoxText(selectionFace());
    host_->setSizeBoxText(sizeText(selectionTwips()));
}

void CTarvelLiteView::fontBoxCommand() {
    if (!host_)
        return;
    const QString face = host_->fontBoxText();
    if (!host_->fontFaces().contains(face)) {
        host_->setFontBoxText(selectionFace());
        Message message;
        message.text = "Selected Font not found in the system";
        message.icon = MessageIcon::Warning;
        showMessage(message);
        return;
    }
    QTextCharFormat format;
    format.setFontFamilies(QStringList{face.left(31)});
    format.setProperty(CharsetProperty, 1);
    mergeSelectionFormat(format);
    setFocus();
}

void CTarvelLiteView::sizeBoxCommand() {
    if (!host_)
        return;
    const int twips = parseSizeText(host_->sizeBoxText());
    if (twips == 0)
        return;
    if (twips < 0) {
        host_->setSizeBoxText(sizeText(selectionTwips()));
        Message message;
        message.text = "Fontsize must be 1 to 1638 only";
        message.icon = MessageIcon::Warning;
        showMessage(message);
        return;
    }
    QTextCharFormat format;
    format.setFontPointSize(twipsToPoints(twips));
    mergeSelectionFormat(format);
    setFocus();
}

// ---------------------------------------------------------------------------------------------
// Character formatting

void CTarvelLiteView::mergeSelectionFormat(const QTextCharFormat &format) {
    QTextCursor c = textCursor();
    if (!c.hasSelection()) {
        mergeCurrentCharFormat(format);
    } else {
        expandToClusters(c);
        c.mergeCharFormat(format);
    }
    emit formatStateChanged();
}

void CTarvelLiteView::toggleEffect(const std::function<bool(const QTextCharFormat &)> &has,
                                   const std::function<void(QTextCharFormat &, bool)> &set) {
    const bool on = effectState(has) != Qt::Checked;
    QTextCharFormat format;
    set(format, on);
    mergeSelectionFormat(format);
}

void CTarvelLiteView::toggleBold() {
    toggleEffect(isBold, [](QTextCharFormat &f, bool on) {
        f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    });
}

void CTarvelLiteView::toggleItalic() {
    toggleEffect([](const QTextCharFormat &f) { return f.fontItalic(); },
                 [](QTextCharFormat &f, bool on) { f.setFontItalic(on); });
}

void CTarvelLiteView::toggleUnderline() {
    toggleEffect([](const QTextCharFormat &f) { return f.fontUnderline(); },
                 [](QTextCharFormat &f, bool on) { f.setFontUnderline(on); });
}

void CTarvelLiteView::toggleStrikeOut() {
    toggleEffect([](const QTextCharFormat &f) { return f.fontStrikeOut(); },
                 [](QTextCharFormat &f, bool on) { f.setFontStrikeOut(on); });
}

void CTarvelLiteView::addRecentColour(const QColor &colour) {
    if (!host_ || !colour.isValid())
        return;
    QList<QColor> recent = host_->recentColours();
    if (!recent.contains(colour)) {
        recent.prepend(colour);
        host_->setRecentColours(recent);
    }
}

void CTarvelLiteView::textColourCommand() {
    if (!host_)
        return;
    QColor colour = host_->textColour();
    addRecentColour(colour);
    if (!colour.isValid())
        colour = QApplication::palette().color(QPalette::WindowText);
    QTextCharFormat format;
    format.setForeground(colour);
    mergeSelectionFormat(format);
}

void CTarvelLiteView::backColourCommand() {
    if (!host_)
        return;
    QColor colour = host_->backColour();
    if (!colour.isValid())
        colour = Qt::white;
    QTextCharFormat format;
    format.setBackground(colour);
    mergeSelectionFormat(format);
    addRecentColour(colour);
}

// ---------------------------------------------------------------------------------------------
// Paragraph formatting

void CTarvelLiteView::setParagraphAlignment(Qt::Alignment alignment) {
    QTextCursor c = textCursor();
    QTextBlockFormat format;
    format.setAlignment(alignment);
    c.mergeBlockFormat(format);
    emit formatStateChanged();
}

void CTarvelLiteView::setStartIndent(int twips) {
    QTextCursor c = textCursor();
    c.beginEditBlock();
    forEachSelectedBlock(
        c, [&](const QTextBlock &block) { setBlockIndents(block, twips, offsetOf(block)); });
    c.endEditBlock();
    emit formatStateChanged();
}

void CTarvelLiteView::increaseIndent() {
    const int start = startIndentTwips();
    const int right = rightIndentTwips();
    int next = -1;
    for (int stop : indentStops_) {
        if (stop > start) {
            next = stop;
            break;
        }
    }
    // Past the last stop the indent stays where it is.
    if (next < 0 || next > indentLimit_ + right)
        return;
    setStartIndent(next);
}

void CTarvelLiteView::decreaseIndent() {
    const int start = startIndentTwips();
    int previous = 0;
    for (int stop : indentStops_) {
        if (stop < start)
            previous = stop;
    }
    setStartIndent(previous);
}

void CTarvelLiteView::toggleBullets() {
    QTextCursor c = textCursor();
    bool allBullets = true;
    forEachSelectedBlock(c, [&](const QTextBlock &block) {
        const QTextList *list = block.textList();
        allBullets = allBullets && list && isBulletStyle(list->format().style());
    });
    c.beginEditBlock();
    if (allBullets) {
        forEachSelectedBlock(c, [&](const QTextBlock &block) {
            if (QTextList *list = block.textList())
                list->remove(block);
            setBlockIndents(block, 0, 0);
        });
    } else {
        QList<QPair<int, int>> indents; // start and offset of each block, before the change
        forEachSelectedBlock(c, [&](const QTextBlock &block) {
            indents.append({startOf(block), offsetOf(block)});
        });
        QTextListFormat format;
        format.setStyle(QTextListFormat::ListDisc);
        format.setIndent(0);
        c.createList(format);
        int i = 0;
        forEachSelectedBlock(c, [&](const QTextBlock &block) {
            const auto [start, offset] = indents.value(i++);
            setBlockIndents(block, start, offset == 0 ? bulletOffset : offset);
        });
    }
    c.endEditBlock();
    emit formatStateChanged();
}

void CTarvelLiteView::numberingCommand() {
    applyNumbering(host_ ? host_->numberingItem() : 1);
}

void CTarvelLiteView::applyNumbering(int item) {
    QTextCursor c = textCursor();
    c.beginEditBlock();
    if (item <= 0 || item > 7) {
        forEachSelectedBlock(c, [&](const QTextBlock &block) {
            if (QTextList *list = block.textList())
                list->remove(block);
            setBlockIndents(block, 0, 0);
        });
    } else {
        QList<QPair<int, int>> indents;
        forEachSelectedBlock(c, [&](const QTextBlock &block) {
            indents.append({startOf(block), offsetOf(block)});
        });
        const NumberingStyle &style = numberingStyles[item - 1];
        const int tab = quint16(indentStops_[1]);
        QTextListFormat format;
        format.setStyle(style.style);
        format.setNumberPrefix(QString());
        format.setNumberSuffix(QString::fromLatin1(style.suffix));
        format.setIndent(0);
        format.setProperty(NumberingTabProperty, tab);
        c.createList(format);
        int i = 0;
        forEachSelectedBlock(c, [&](const QTextBlock &block) {
            const auto [start, offset] = indents.value(i++);
            // The number needs room before the text: an offset of 0 becomes the numbering tab.
            setBlockIndents(block, start, offset == 0 ? tab : offset);
        });
    }
    c.endEditBlock();
    emit formatStateChanged();
}

// ---------------------------------------------------------------------------------------------
// Zoom

int CTarvelLiteView::zoomFromSlider(int position) {
    int zoom;
    if (position <= 100) {
        zoom = position;
        if (host_)
            host_->setZoomSliderPageStep(10);
    } else {
        if (host_)
            host_->setZoomSliderPageStep(2);
        if (zoomPercent_ == 100) {
            zoom = 110;
            if (host_ && host_->zoomSliderPosition() != 102) {
                setZoom(zoom); // the slider's own notification then finds 110% already set
                host_->setZoomSliderPosition(102);
            }
        } else {
            zoom = (position - 80) * 5;
        }
    }
    setZoom(zoom);
    return zoom;
}

void CTarvelLiteView::resetZoom() {
    if (host_)
        host_->setZoomSliderPosition(100);
    zoomFromSlider(100);
}

void CTarvelLiteView::setZoom(int percent) {
    if (host_)
        host_->setStatusText(ID_ZOOM_PANE, QStringLiteral("%1%").arg(percent));
    if (percent == zoomPercent_)
        return;
    zoomPercent_ = percent;
    zoomDevice_->setZoom(percent / 100.0);
    QAbstractTextDocumentLayout *layout = document()->documentLayout();
    layout->setPaintDevice(nullptr);
    layout->setPaintDevice(zoomDevice_.get());
    applyWrapping();
    document()->markContentsDirty(0, document()->characterCount());
    viewport()->update();
}

// ---------------------------------------------------------------------------------------------
// Status and title

void CTarvelLiteView::UpdateStatusAndTitle() {
    if (viewBusy)
        return;
    if (host_ && host_->hasStatusBar()) {
        host_->setStatusText(PANE_PAGE, QString());
        const int position = textCursor().selectionStart();
        const QTextBlock block = document()->findBlock(position);
        int line = block.firstLineNumber();
        int lineStart = block.position();
        if (const QTextLayout *layout = block.layout(); layout && layout->lineCount() > 0) {
            const QTextLine textLine = layout->lineForTextPosition(position - block.position());
            if (textLine.isValid()) {
                line += textLine.lineNumber();
                lineStart += textLine.textStart();
            }
        }
        host_->setStatusText(PANE_LINE_COL, QStringLiteral("Line: %1  Col: %2")
                                                .arg(std::max(0, line) + 1)
                                                .arg(position - lineStart + 1));
        host_->setStatusText(
            PANE_LANGUAGE,
            QStringLiteral("Lang: %1,  Kbd: %2").arg(host_->languageText(), host_->keyboardText()));
    }
    if (!doc_)
        return;
    if (fileKind == FileKind::Tmp) {
        doc_->setModified(true);
        fileKind = ClassifyFileName(doc_->path().toStdString());
        recoveredPath.clear();
    }
    const QString title = doc_->displayTitle();
    if (windowTitle() != title)
        setWindowTitle(title);
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget());
        frame && frame->windowTitle() != title)
        frame->setWindowTitle(title);
}

// ---------------------------------------------------------------------------------------------
// Undo with a limit

void CTarvelLiteView::resetUndoHistory() {
    document()->clearUndoRedoStacks();
    reachableUndo_ = reachableRedo_ = 0;
    emit formatStateChanged();
}

void CTarvelLiteView::setUndoLimit(int levels) {
    undoLimit_ = std::clamp(levels, 0, 80);
    if (undoLimit_ == 0) {
        document()->setUndoRedoEnabled(false);
        reachableUndo_ = reachableRedo_ = 0;
    } else {
        if (!document()->isUndoRedoEnabled())
            document()->setUndoRedoEnabled(true);
        reachableUndo_ = std::min(reachableUndo_, undoLimit_);
    }
    emit formatStateChanged();
}

void CTarvelLiteView::onUndoCommandAdded() {
    if (inUndo_)
        return;
    reachableUndo_ = std::min(reachableUndo_ + 1, undoLimit_);
    reachableRedo_ = 0;
}

bool CTarvelLiteView::canUndo() const {
    return reachableUndo_ > 0 && document()->isUndoAvailable();
}

bool CTarvelLiteView::canRedo() const {
    return reachableRedo_ > 0 && document()->isRedoAvailable();
}

void CTarvelLiteView::undo() {
    if (!canUndo())
        return;
    inUndo_ = true;
    QTextEdit::undo();
    inUndo_ = false;
    --reachableUndo_;
    ++reachableRedo_;
    emit formatStateChanged();
}

void CTarvelLiteView::redo() {
    if (!canRedo())
        return;
    inUndo_ = true;
    QTextEdit::redo();
    inUndo_ = false;
    ++reachableUndo_;
    --reachableRedo_;
    emit formatStateChanged();
}

// ---------------------------------------------------------------------------------------------
// Printing

void CTarvelLiteView::setUpPrinter(QPrinter *printer) const {
    const PageLayout layout = effectiveLayout();
    const QPageSize size(QSizeF(layout.paperWidth / 1440.0, layout.paperHeight / 1440.0),
                         QPageSize::Inch, QString(), QPageSize::FuzzyMatch);
    const QMarginsF margins(twipsToPoints(layout.marginLeft), twipsToPoints(layout.marginTop),
                            twipsToPoints(layout.marginRight), twipsToPoints(layout.marginBottom));
    printer->setPageLayout(QPageLayout(size, QPageLayout::Portrait, margins, QPageLayout::Point));
}

void CTarvelLiteView::printDocument(QPrinter *printer) {
    std::unique_ptr<QTextDocument> copy(document()->clone());
    copy->setDocumentMargin(0);
    copy->documentLayout()->setPaintDevice(printer);
    copy->setPageSize(printer->pageRect(QPrinter::DevicePixel).size());
    copy->print(printer);
}

void CTarvelLiteView::printPreview() {
    if (document()->isEmpty() || (host_ && host_->printPreviewActive()))
        return;
    if (host_)
        host_->setPrintPreviewMode(true);
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    setUpPrinter(printer.get());
    auto *dialog = new QPrintPreviewDialog(printer.get(), this);
    dialog->setObjectName(commandName(ID_FILE_PRINT_PREVIEW));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter *p) { printDocument(p); });
    connect(dialog, &QDialog::finished, this, [this, printer] { endPrintPreview(); });
    preview_ = dialog;
    dialog->open();
}

void CTarvelLiteView::endPrintPreview() {
    preview_ = nullptr;
    if (host_)
        host_->setPrintPreviewMode(false);
}

void CTarvelLiteView::print() {
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    setUpPrinter(printer.get());
    auto *dialog = new QPrintDialog(printer.get(), this);
    dialog->setObjectName(commandName(ID_FILE_PRINT));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, printer] { printDocument(printer.get()); });
    dialog->open();
}

void CTarvelLiteView::printDirect() {
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(&printer);
    printDocument(&printer);
}

// ---------------------------------------------------------------------------------------------
// Menu, keys, focus and drops

QMenu *CTarvelLiteView::createEditMenu(QWidget *parent) {
    auto *menu = new QMenu(QStringLiteral("Edit"), parent);
    menu->setObjectName(QStringLiteral("edit-menu"));
    auto add = [&](const QString &text, int id, bool enabled, auto slot) {
        QAction *action = menu->addAction(text);
        action->setObjectName(commandName(id));
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    const bool selection = textCursor().hasSelection();
    add(QStringLiteral("Undo"), ID_EDIT_UNDO, canUndo(), &CTarvelLiteView::undo);
    add(QStringLiteral("Redo"), ID_EDIT_REDO, canRedo(), &CTarvelLiteView::redo);
    menu->addSeparator();
    add(QStringLiteral("Cu&t\tCtrl+X"), ID_EDIT_CUT, selection && !isReadOnly(), &QTextEdit::cut);
    add(QStringLiteral("&Copy\tCtrl+C"), ID_EDIT_COPY, selection, &QTextEdit::copy);
    add(QStringLiteral("&Paste\tCtrl+V"), ID_EDIT_PASTE, canPaste(), &QTextEdit::paste);
    add(QStringLiteral("Select A&ll\tCtrl+A"), ID_EDIT_SELECT_ALL, true, &QTextEdit::selectAll);
    menu->addSeparator();
    add(QStringLiteral("Print"), ID_FILE_PRINT, true, &CTarvelLiteView::print);
    add(QStringLiteral("Print Preview"), ID_FILE_PRINT_PREVIEW, !document()->isEmpty(),
        &CTarvelLiteView::printPreview);
    menu->addSeparator();
    add(QStringLiteral("Insert Bullet"), ID_PARA_BULLET, true, &CTarvelLiteView::toggleBullets);
    add(QStringLiteral("Insert Number"), ID_PARA_NUMBERING, true,
        &CTarvelLiteView::numberingCommand);
    return menu;
}

void CTarvelLiteView::contextMenuEvent(QContextMenuEvent *event) {
    QMenu *menu = createEditMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (menuExtender_)
        menuExtender_(menu, event->pos());
    menu->popup(event->globalPos());
    event->accept();
}

void CTarvelLiteView::keyPressEvent(QKeyEvent *event) {
    // Undo and Redo go through the limited history, not straight to the document.
    if (event == QKeySequence::Undo) {
        undo();
        event->accept();
        return;
    }
    if (event == QKeySequence::Redo) {
        redo();
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

bool CTarvelLiteView::handlePopupKey(QKeyEvent &event) {
    return lookAhead_->HandlePopupKey(event);
}

void CTarvelLiteView::lookAheadUpdate() {
    lookAhead_->LookAheadUpdate();
}

void CTarvelLiteView::hideLookAhead() {
    lookAhead_->HideLookAheadPopup();
}

void CTarvelLiteView::focusInEvent(QFocusEvent *event) {
    QTextEdit::focusInEvent(event);
    SyncFormatBoxes();
    emit statusChanged();
}

namespace {

// The one local file of a drop, or an empty string.
QString singleLocalFile(const QMimeData *data) {
    if (!data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return {};
    return urls.first().toLocalFile();
}

} // namespace

bool CTarvelLiteView::canInsertFromMimeData(const QMimeData *source) const {
    return !singleLocalFile(source).isEmpty() || QTextEdit::canInsertFromMimeData(source);
}

void CTarvelLiteView::insertFromMimeData(const QMimeData *source) {
    const QString path = singleLocalFile(source);
    if (!path.isEmpty()) {
        emit fileDropped(path);
        return;
    }
    QTextEdit::insertFromMimeData(source);
}

void CTarvelLiteView::dragEnterEvent(QDragEnterEvent *event) {
    if (!singleLocalFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
        return;
    }
    QTextEdit::dragEnterEvent(event);
}

void CTarvelLiteView::dragMoveEvent(QDragMoveEvent *event) {
    if (!singleLocalFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
        return;
    }
    QTextEdit::dragMoveEvent(event);
}

void CTarvelLiteView::dropEvent(QDropEvent *event) {
    const QString path = singleLocalFile(event->mimeData());
    if (!path.isEmpty()) {
        event->acceptProposedAction();
        emit fileDropped(path);
        return;
    }
    QTextEdit::dropEvent(event);
}

} // namespace tarvellite::ui
