#include "ui/document/tarvellite_view.h"

#include "core/app/messages.h"
#include "core/document/rich_text.h"
#include "ui/document/command_ids.h"
#include "ui/document/document_io.h"
#include "ui/document/document_settings.h"
#include "ui/document/document_units.h"
#include "ui/document/format_properties.h"
#include "ui/document/indent_scale.h"
#include "ui/document/picture_handles.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/text_format.h"
#include "ui/document/text_helpers.h"
#include "ui/document/view_host.h"
#include "ui/input/look_ahead.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPaintDevice>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextList>
#include <QUrl>
#include <cmath>
#include <filesystem>

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

int leadingInteger(const QString &text) {
    const QString t = text.trimmed();
    int i = 0;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')))
        ++i;
    while (i < t.size() && t[i].isDigit())
        ++i;
    return t.left(i).toInt();
}

} // namespace

CTarvelLiteView::CTarvelLiteView(CTarvelLiteDoc *doc, ViewHost *host, QWidget *parent)
    : QTextEdit(parent), ownDoc_(doc ? nullptr : std::make_unique<CTarvelLiteDoc>()),
      doc_(doc ? doc : ownDoc_.get()), host_(host) {
    setObjectName(QStringLiteral("view"));
    setAccessibleName(QStringLiteral("document"));
    setAcceptRichText(true);
    setAcceptDrops(true);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    zoomDevice_ = std::make_unique<ZoomDevice>(logicalDpiX(), logicalDpiY());
    document()->documentLayout()->setPaintDevice(zoomDevice_.get());
    document()->setIndentWidth(twipsToUnits(bulletOffset));
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
    connect(document(), &QTextDocument::contentsChange, this, [this](int position, int, int) {
        lineCountsValidTo_ = std::min(lineCountsValidTo_, position);
    });
    connect(document(), &QTextDocument::contentsChanged, this,
            &CTarvelLiteView::formatStateChanged);
    lookAhead_ = new LookAhead(this, [this] { return host_ ? host_->lookAheadSource() : nullptr; });
    pictureHandles_ = new PictureHandles(this);
    // Typing goes through the keyboard routing, which translates keys before the view sees them.
    if (InputRouter *router = host_ ? host_->inputRouter() : nullptr)
        router->attachDocument(this, this);
}

CTarvelLiteView::~CTarvelLiteView() {
    emit destroying();
    // The text is torn down after this object: what it says then reaches no half-destroyed view.
    disconnect(document(), nullptr, this, nullptr);
    disconnect(this, &QTextEdit::cursorPositionChanged, nullptr, nullptr);
    disconnect(this, &QTextEdit::currentCharFormatChanged, nullptr, nullptr);
    disconnect(this, &CTarvelLiteView::formatStateChanged, nullptr, nullptr);
    disconnect(this, &CTarvelLiteView::statusChanged, nullptr, nullptr);
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

    if (!doc_->pageLayout().isSet()) {
        PageLayout layout;
        layout.paperWidth = settings.portrait ? settings.paperWidth : settings.paperHeight;
        layout.paperHeight = settings.portrait ? settings.paperHeight : settings.paperWidth;
        layout.marginLeft = settings.marginLeft;
        layout.marginTop = settings.marginTop;
        layout.marginRight = settings.marginRight;
        layout.marginBottom = settings.marginBottom;
        doc_->setPageLayout(layout);
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

    const bool modified = !doc_->recoveredPath().isEmpty() || doc_->convertedOnLoad();
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
        doc_->setPageLayout(*layout);
        doc_->setModified(true);
    }
    deviceLayout_ = completedLayout(layout ? *layout : doc_->pageLayout(), documentSettings());
    applyWrapping();
}

void CTarvelLiteView::applyWrapping() {
    lineCountsValidTo_ = 0;
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

QString CTarvelLiteView::selectionFace() const {
    return text_format::selectionFace(textCursor());
}

int CTarvelLiteView::selectionTwips() const {
    return text_format::selectionTwips(textCursor());
}

int CTarvelLiteView::startIndentTwips() const {
    return text_format::startIndent(textCursor());
}

int CTarvelLiteView::rightIndentTwips() const {
    return text_format::rightIndent(textCursor());
}

int CTarvelLiteView::offsetTwips() const {
    return text_format::offset(textCursor());
}

FormatState CTarvelLiteView::formatState() const {
    using text_format::Effect;
    const QTextCursor c = textCursor();
    FormatState state;
    state.bold = text_format::effectState(c, Effect::Bold);
    state.italic = text_format::effectState(c, Effect::Italic);
    state.underline = text_format::effectState(c, Effect::Underline);
    state.strikeOut = text_format::effectState(c, Effect::StrikeOut);
    state.alignment = text_format::alignment(c);
    state.bullets = text_format::hasBullets(c);
    state.numberingItem = text_format::numberingItem(c);
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
    applyFontFace(face);
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
    applyFontTwips(twips);
    setFocus();
}

// ---------------------------------------------------------------------------------------------
// Character formatting

void CTarvelLiteView::editSelection(const std::function<void(QTextCursor &)> &edit) {
    QTextCursor c = textCursor();
    edit(c);
    if (!c.hasSelection())
        setTextCursor(c); // the change went to the typing format
    emit formatStateChanged();
}

void CTarvelLiteView::applyFontFace(const QString &face) {
    editSelection([&](QTextCursor &c) { text_format::setFace(c, face); });
}

void CTarvelLiteView::applyFontTwips(int twips) {
    editSelection([&](QTextCursor &c) { text_format::setTwips(c, twips); });
}

void CTarvelLiteView::applyTextColour(const QColor &colour) {
    addRecentColour(colour);
    const QColor shown =
        colour.isValid() ? colour : QApplication::palette().color(QPalette::WindowText);
    editSelection([&](QTextCursor &c) { text_format::setTextColour(c, shown); });
}

void CTarvelLiteView::applyBackColour(const QColor &colour) {
    const QColor shown = colour.isValid() ? colour : QColor(Qt::white);
    editSelection([&](QTextCursor &c) { text_format::setBackColour(c, shown); });
    addRecentColour(shown);
}

void CTarvelLiteView::toggleEffect(int effect) {
    editSelection(
        [&](QTextCursor &c) { text_format::toggleEffect(c, text_format::Effect(effect)); });
}

void CTarvelLiteView::toggleBold() {
    toggleEffect(int(text_format::Effect::Bold));
}

void CTarvelLiteView::toggleItalic() {
    toggleEffect(int(text_format::Effect::Italic));
}

void CTarvelLiteView::toggleUnderline() {
    toggleEffect(int(text_format::Effect::Underline));
}

void CTarvelLiteView::toggleStrikeOut() {
    toggleEffect(int(text_format::Effect::StrikeOut));
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
    if (host_)
        applyTextColour(host_->textColour());
}

void CTarvelLiteView::backColourCommand() {
    if (host_)
        applyBackColour(host_->backColour());
}

// ---------------------------------------------------------------------------------------------
// Paragraph formatting

void CTarvelLiteView::setParagraphAlignment(Qt::Alignment alignment) {
    editSelection([&](QTextCursor &c) { text_format::setAlignment(c, alignment); });
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
    editSelection([&](QTextCursor &c) { text_format::setStartIndent(c, next); });
}

void CTarvelLiteView::decreaseIndent() {
    const int start = startIndentTwips();
    int previous = 0;
    for (int stop : indentStops_) {
        if (stop < start)
            previous = stop;
    }
    editSelection([&](QTextCursor &c) { text_format::setStartIndent(c, previous); });
}

void CTarvelLiteView::toggleBullets() {
    editSelection([](QTextCursor &c) { text_format::toggleBullets(c); });
}

void CTarvelLiteView::numberingCommand() {
    applyNumbering(host_ ? host_->numberingItem() : 1);
}

void CTarvelLiteView::applyNumbering(int item) {
    const int tab = quint16(indentStops_[1]);
    editSelection([&](QTextCursor &c) { text_format::setNumbering(c, item, tab); });
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
    setIndentScale(document(), percent / 100.0);
    QAbstractTextDocumentLayout *layout = document()->documentLayout();
    layout->setPaintDevice(nullptr);
    layout->setPaintDevice(zoomDevice_.get());
    applyWrapping();
    document()->markContentsDirty(0, document()->characterCount());
    viewport()->update();
    emit statusChanged(); // the ruler follows the zoom
}

// ---------------------------------------------------------------------------------------------
// Status and title

void CTarvelLiteView::UpdateStatusAndTitle() {
    if (doc_->viewBusy())
        return;
    if (host_ && host_->hasStatusBar()) {
        host_->setStatusText(PANE_PAGE, QString());
        const int position = textCursor().selectionStart();
        const QTextBlock block = document()->findBlock(position);
        updateLineCounts(block);
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
    if (doc_->fileKind() == FileKind::Tmp) {
        doc_->setModified(true);
        doc_->setFileKind(ClassifyFileName(doc_->path().toStdString()));
        doc_->setRecoveredPath(QString());
    }
    const QString title = doc_->displayTitle();
    if (windowTitle() != title)
        setWindowTitle(title);
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget());
        frame && frame->windowTitle() != title)
        frame->setWindowTitle(title);
}

void CTarvelLiteView::updateLineCounts(const QTextBlock &upTo) {
    // Each block carries the number of its wrapped lines, so that the document answers the line
    // number of a block from its block map. Blocks before the first one edited or re-wrapped
    // since the last call still hold theirs.
    document()->documentLayout()->blockBoundingRect(upTo); // lays the text out up to the caret
    QTextBlock block = document()->findBlock(std::min(lineCountsValidTo_, upTo.position()));
    for (; block.isValid(); block = block.next()) {
        const QTextLayout *layout = block.layout();
        const int lines = layout && layout->lineCount() > 0 ? layout->lineCount() : 1;
        if (block.lineCount() != lines)
            block.setLineCount(lines);
        if (block == upTo)
            break;
    }
    lineCountsValidTo_ = upTo.position();
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

void CTarvelLiteView::undoOrRedo(bool undo) {
    // The caret goes to the end of what the step changed, as the step was recorded (an edit
    // made with another cursor would otherwise leave it wherever that cursor began).
    int changeEnd = -1;
    const QMetaObject::Connection watch =
        connect(document(), &QTextDocument::contentsChange, this,
                [&changeEnd](int position, int, int added) { changeEnd = position + added; });
    inUndo_ = true;
    undo ? QTextEdit::undo() : QTextEdit::redo();
    inUndo_ = false;
    disconnect(watch);
    if (changeEnd >= 0) {
        QTextCursor c(document());
        c.setPosition(std::clamp(changeEnd, 0, document()->characterCount() - 1));
        setTextCursor(c);
    }
    reachableUndo_ += undo ? -1 : 1;
    reachableRedo_ += undo ? 1 : -1;
    emit formatStateChanged();
}

void CTarvelLiteView::undo() {
    if (canUndo())
        undoOrRedo(true);
}

void CTarvelLiteView::redo() {
    if (canRedo())
        undoOrRedo(false);
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

bool CTarvelLiteView::printDocument(QPrinter *printer) {
    std::unique_ptr<QTextDocument> copy(document()->clone());
    copy->setDocumentMargin(0);
    copy->documentLayout()->setPaintDevice(printer);
    // The copy holds the view's indents; the printer's layout wants them at its resolution.
    adoptIndentScale(copy.get(), document());
    setIndentScale(copy.get(), printer->logicalDpiY() / double(unitsPerInch));
    copy->setPageSize(printer->pageRect(QPrinter::DevicePixel).size());
    copy->print(printer);
    return printer->printerState() != QPrinter::Error &&
           printer->printerState() != QPrinter::Aborted;
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
    const char *failure = "No printer is available.";
    if (!QPrinterInfo::availablePrinters().isEmpty()) {
        QPrinter printer(QPrinter::HighResolution);
        if (printer.isValid()) {
            setUpPrinter(&printer);
            if (printDocument(&printer))
                return;
            failure = "The printer refused the document.";
        }
    }
    Message question;
    question.text = std::string(failure) + " Print to a PDF file instead?";
    question.icon = MessageIcon::Warning;
    question.buttons = MessageButtons::YesNo;
    question.defaultAnswer = MessageAnswer::No;
    if (showMessage(question) != MessageAnswer::Yes)
        return;
    const QString title = doc_ ? doc_->title() : QString();
    QString name =
        (title.isEmpty() ? QStringLiteral("Document") : QFileInfo(title).completeBaseName()) +
        QStringLiteral(".pdf");
    if (doc_ && !doc_->path().isEmpty())
        name = QFileInfo(doc_->path()).absolutePath() + QLatin1Char('/') + name;
    if (!PromptForFileName(this, name, QStringLiteral("Print to PDF"), false))
        return;
    printToPdf(name);
}

bool CTarvelLiteView::printToPdf(const QString &path) {
    // Written beside the target and renamed over it, so that a failure leaves no half file.
    QTemporaryFile temporary(QFileInfo(path).absolutePath() + QStringLiteral("/~tvXXXXXX.pdf"));
    bool ok = temporary.open();
    if (ok) {
        temporary.close();
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(temporary.fileName());
        setUpPrinter(&printer);
        std::error_code error;
        ok = printDocument(&printer) && QFileInfo(temporary.fileName()).size() > 0;
        if (ok) {
            std::filesystem::rename(QFile::encodeName(temporary.fileName()).toStdString(),
                                    QFile::encodeName(path).toStdString(), error);
            ok = !error;
            if (ok)
                temporary.setAutoRemove(false);
        }
    }
    if (!ok)
        showMessage("Could not write " + path.toStdString(), MessageIcon::Error);
    return ok;
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

namespace {

bool isRedoKey(QKeyEvent *event) {
    return event == QKeySequence::Redo ||
           (event->key() == Qt::Key_Y &&
            (event->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier);
}

} // namespace

bool CTarvelLiteView::event(QEvent *event) {
    // Ctrl+Y redoes here, whatever the platform's own redo key is.
    if (event->type() == QEvent::ShortcutOverride && isRedoKey(static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return QTextEdit::event(event);
}

void CTarvelLiteView::keyPressEvent(QKeyEvent *event) {
    // Undo and Redo go through the limited history, not straight to the document.
    if (event == QKeySequence::Undo) {
        undo();
        event->accept();
        return;
    }
    if (isRedoKey(event)) {
        redo();
        event->accept();
        return;
    }
    // Each keystroke is one undo step of its own: the document would otherwise merge a typed
    // space or letter into the keystroke before it.
    QTextCursor block(document());
    block.setPosition(textCursor().position());
    block.beginEditBlock();
    QTextEdit::keyPressEvent(event);
    block.endEditBlock();
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

void CTarvelLiteView::resizeEvent(QResizeEvent *event) {
    QTextEdit::resizeEvent(event);
    if (lineWrapMode() == QTextEdit::WidgetWidth)
        lineCountsValidTo_ = 0;
}

void CTarvelLiteView::paintEvent(QPaintEvent *event) {
    QTextEdit::paintEvent(event);
    QPainter painter(viewport());
    pictureHandles_->paint(painter);
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
