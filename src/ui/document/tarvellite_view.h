#pragma once

#include "core/document/document_header.h"
#include "core/document/file_kind.h"
#include "ui/document/document_settings.h"
#include "ui/input/input_router.h"

#include <QPointer>
#include <QPrintPreviewDialog>
#include <QTextEdit>
#include <algorithm>
#include <array>
#include <functional>
#include <memory>

class QMenu;
class QTextBlock;
class QPrinter;

namespace tarvellite {
class LookAhead;
}

namespace tarvellite::ui {

class CTarvelLiteDoc;
class PictureHandles;
class ViewHost;
class ZoomDevice;

/// Check states of the formatting commands for the current selection.
struct FormatState {
    Qt::CheckState bold = Qt::Unchecked;
    Qt::CheckState italic = Qt::Unchecked;
    Qt::CheckState underline = Qt::Unchecked;
    Qt::CheckState strikeOut = Qt::Unchecked;
    /// Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight or Qt::AlignJustify.
    Qt::Alignment alignment = Qt::AlignLeft;
    bool bullets = false;
    /// Gallery item of the selection's numbering (1 … 7), 0 when none or bullets.
    int numberingItem = 0;
    bool canUndo = false;
    bool canRedo = false;
};

/// The editing view of one document: a rich-text editor over a QTextDocument, with the
/// formatting commands, zoom, status texts, printing and the undo limit.
///
/// Key handling belongs to the input routing; the view only keeps Undo and Redo on its own
/// limited history.
class CTarvelLiteView : public QTextEdit, public DocumentKeyHooks {
    Q_OBJECT
  public:
    static constexpr int indentGutter = 500;
    static constexpr int bulletOffset = 720;
    static constexpr int indentStopCount = 32;

    CTarvelLiteView(CTarvelLiteDoc *doc, ViewHost *host, QWidget *parent = nullptr);
    ~CTarvelLiteView() override;

    /// The editor the input routing targets (the view itself).
    QTextEdit *textEdit() { return this; }
    /// Lets the window add entries to the context menu, for the point (in viewport coordinates)
    /// that was clicked.
    void setContextMenuExtender(std::function<void(QMenu *, const QPoint &)> extender) {
        menuExtender_ = std::move(extender);
    }
    /// The view's document; a view made without one has a document of its own.
    CTarvelLiteDoc *getDocument() const { return doc_; }
    ViewHost *host() const { return host_; }
    void setHost(ViewHost *host) { host_ = host; }

    /// The settings the view reads for new documents, from its host (defaults without one).
    DocumentSettings documentSettings() const;

    /// Set-up from the settings, once, after the document was created or read.
    void initialUpdate();
    /// The view became the active view.
    void onActivated();
    /// Copies the selection's face and size into the host's boxes.
    void SyncFormatBoxes();
    /// Paper, margins and wrapping. With `layout` null the view's own layout is used; `store`
    /// keeps `layout` as the view's layout and marks the document modified. An unset layout is
    /// completed from the page settings.
    void ApplyPageLayout(const PageLayout *layout, bool store);
    /// Status panes and the modified marker of the title.
    void UpdateStatusAndTitle();

    /// Text of the size box for a height in twips ("11", "10.5"; empty when negative).
    static QString sizeText(int twips);
    /// Parses the size box: twips, or -1 when the text is refused, 0 when it is empty.
    static int parseSizeText(const QString &text);

    FormatState formatState() const;
    /// Face, size in twips (-1 when mixed) of the selection; face empty when mixed.
    QString selectionFace() const;
    int selectionTwips() const;

    const std::array<int, indentStopCount> &indentStops() const { return indentStops_; }
    int indentLimit() const { return indentLimit_; }
    /// Start indent, right indent and offset of the paragraph at the selection start, twips.
    int startIndentTwips() const;
    int rightIndentTwips() const;
    int offsetTwips() const;

    int zoomPercent() const { return zoomPercent_; }
    qreal zoomFactor() const { return zoomPercent_ / 100.0; }

    int undoLimit() const { return undoLimit_; }
    void setUndoLimit(int levels);
    bool canUndo() const;
    bool canRedo() const;
    /// How many steps Undo can take back now.
    int availableUndoSteps() const {
        return canUndo() ? std::min(reachableUndo_, document()->availableUndoSteps()) : 0;
    }

    /// The paper and margins given to the editor and the printer: the view's layout, completed
    /// from the settings when unset.
    PageLayout deviceLayout() const { return effectiveLayout(); }
    /// Forgets the undo history (after the text was replaced by a load).
    void resetUndoHistory();

    /// The look-ahead popup of the view and its word insertion.
    LookAhead *lookAhead() const { return lookAhead_; }
    bool handlePopupKey(QKeyEvent &event) override;
    void lookAheadUpdate() override;
    void hideLookAhead() override;

    /// The popup "Edit" menu of the view.
    QMenu *createEditMenu(QWidget *parent);
    /// The open print preview, if any.
    QPrintPreviewDialog *activePreview() const { return preview_; }
    /// Lays the document out on `printer`'s pages and prints it; false when the printer failed.
    bool printDocument(QPrinter *printer);
    /// Prints the document to a PDF file at `path`; a failure is reported to the user.
    bool printToPdf(const QString &path);
    /// The printer set up with the view's paper and margins.
    void setUpPrinter(QPrinter *printer) const;

    /// Formatting of the selection (or the typing format), for whoever owns the boxes and
    /// buttons: a face, a size in twips, a text colour (invalid: the window-text colour) and a
    /// back colour (invalid: white). The colours join the host's list of used colours.
    void applyFontFace(const QString &face);
    void applyFontTwips(int twips);
    void applyTextColour(const QColor &colour);
    void applyBackColour(const QColor &colour);

  public slots:
    /// The host's font and size boxes and colour buttons applied to the selection.
    void fontBoxCommand();
    void sizeBoxCommand();
    void toggleBold();
    void toggleItalic() override;
    void toggleUnderline();
    void toggleStrikeOut();
    void textColourCommand();
    void backColourCommand();
    void alignLeft() { setParagraphAlignment(Qt::AlignLeft); }
    void alignCentre() { setParagraphAlignment(Qt::AlignHCenter); }
    void alignRight() { setParagraphAlignment(Qt::AlignRight); }
    void alignJustify() { setParagraphAlignment(Qt::AlignJustify); }
    void setParagraphAlignment(Qt::Alignment alignment);
    void increaseIndent();
    void decreaseIndent();
    void toggleBullets() override;
    /// Numbering from the host's gallery item.
    void numberingCommand();
    void applyNumbering(int item);
    /// Zoom from a slider position 10 … 200; returns the zoom in percent.
    int zoomFromSlider(int position);
    void resetZoom();
    void undo();
    void redo();
    void printPreview();
    void print();
    /// Prints to the default printer without a dialog; with no printer, or when the printer
    /// refuses, says so and offers a PDF file instead.
    void printDirect();

  signals:
    /// The formats of the selection or the undo state may have changed.
    void formatStateChanged();
    /// Something the status panes or the title show may have changed.
    void statusChanged();
    /// Exactly one local file was dropped on the view.
    void fileDropped(const QString &path);
    /// The view is going: whatever watches it lets go before its text is torn down.
    void destroying();

  protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

  private:
    /// Runs `edit` on the selection; a change without a selection becomes the typing format.
    void editSelection(const std::function<void(QTextCursor &)> &edit);
    void toggleEffect(int effect);
    void addRecentColour(const QColor &colour);
    void setZoom(int percent);
    void applyWrapping();
    void computeIndentStops();
    PageLayout effectiveLayout() const;
    void onUndoCommandAdded();
    void undoOrRedo(bool undo);
    void updateLineCounts(const QTextBlock &upTo);
    void endPrintPreview();

    std::unique_ptr<CTarvelLiteDoc> ownDoc_;
    CTarvelLiteDoc *doc_;
    ViewHost *host_;
    std::unique_ptr<ZoomDevice> zoomDevice_;
    PageLayout deviceLayout_;
    int zoomPercent_ = 100;
    std::array<int, indentStopCount> indentStops_{};
    int indentLimit_ = 0;
    int undoLimit_ = 40;
    int reachableUndo_ = 0;
    int reachableRedo_ = 0;
    bool inUndo_ = false;
    /// Blocks before this position hold their current number of wrapped lines.
    int lineCountsValidTo_ = 0;
    QPointer<QPrintPreviewDialog> preview_;
    LookAhead *lookAhead_ = nullptr;
    PictureHandles *pictureHandles_ = nullptr;
    std::function<void(QMenu *, const QPoint &)> menuExtender_;
};

} // namespace tarvellite::ui
