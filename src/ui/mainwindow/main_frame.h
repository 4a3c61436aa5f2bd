#pragma once

#include "core/input/translation_engine.h"
#include "ui/document/view_host.h"
#include "ui/mainwindow/child_frame.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <functional>

class QAction;
class QComboBox;
class QLabel;
class QMdiArea;
class QMenu;
class QSlider;
class QToolButton;

namespace tarvellite::ui {

class CChildFrame;
class CTarvelLiteView;

/// The program's main window: a document area of child frames (tabs or overlapping windows),
/// a menu and a tool bar carrying the document commands, and the status bar.
///
/// Every command is a QAction whose object name is its command id ("32810"); the font and size
/// boxes are "32782" and "32783"; status panes are "pane-141" … "pane-148", the zoom pane
/// "32793" and the zoom slider "32794".
class FrameInput;

class CMainFrame : public QMainWindow, public ViewHost {
    Q_OBJECT
  public:
    explicit CMainFrame(QWidget *parent = nullptr);
    ~CMainFrame() override;

    /// The view of the current document window, or null.
    CTarvelLiteView *activeView() const;
    /// The current document window, or null.
    CChildFrame *activeChild() const;
    QMdiArea *documentArea() const { return mdi_; }
    /// The command with `id`, or null.
    QAction *command(int id) const { return commands_.value(id); }

    /// A new untitled document window; null while print preview is active.
    CTarvelLiteView *newDocument();
    /// Opens `path` as a document (reusing an empty untitled window on top unless the file is
    /// ".rtf" or ".tmp"). False when it is already open, or cannot be read.
    bool OpenDocumentPath(const QString &path);
    /// Activates the window holding `path`, if any.
    bool ActivateIfOpen(const QString &path);
    /// Opens documents, inserts any other file as a picture into the active view.
    void OpenOrInsertFile(const QString &path);
    /// Saves the active document, asking for a name when it has none or `saveAs` is set.
    bool saveActiveDocument(bool saveAs);
    /// Switches between tabs and overlapping windows.
    void setTabbedMode(bool tabbed);
    /// The recent-document list, most recent first.
    QStringList recentFiles() const;
    void addRecentFile(const QString &path);

    /// Called once the window has decided to close (the application saves its settings).
    std::function<void()> closingHook;

    /// Runs the active view's status update, or clears the document panes.
    void updateStatus();
    void ClearDocumentStatus();
    /// Updates the check and enabled states of the commands from the active view.
    void updateCommandStates();

    // ViewHost
    QStringList fontFaces() const override;
    QString fontBoxText() const override;
    void setFontBoxText(const QString &face) override;
    bool fontBoxEditing() const override;
    QString sizeBoxText() const override;
    void setSizeBoxText(const QString &text) override;
    QColor textColour() const override { return textColour_; }
    void setTextColour(const QColor &colour) override;
    QColor backColour() const override { return backColour_; }
    void setBackColour(const QColor &colour) override;
    QList<QColor> recentColours() const override { return recentColours_; }
    void setRecentColours(const QList<QColor> &colours) override { recentColours_ = colours; }
    int numberingItem() const override { return numberingItem_; }
    void setNumberingItem(int item) override { numberingItem_ = item; }
    bool hasStatusBar() const override;
    QString statusText(int paneId) const override;
    void setStatusText(int paneId, const QString &text) override;
    int zoomSliderPosition() const override;
    void setZoomSliderPosition(int position) override;
    void setZoomSliderPageStep(int step) override;
    void setPrintPreviewMode(bool on) override;
    QString languageText() const override;
    QString keyboardText() const override;

    /// Sets up the keyboard: translation with `options`, over the current language and
    /// keyboard of `context`. Documents opened afterwards type through it.
    void setUpInput(InputContext &context, const EngineOptions &options);
    FrameInput *input() const { return input_; }

  signals:
    /// The active document view changed (null when none is left).
    void activeViewChanged(CTarvelLiteView *view);

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    QAction *addCommand(QMenu *menu, int id, const QString &text, void (CTarvelLiteView::*slot)(),
                        const QKeySequence &shortcut = {});
    QAction *addFrameCommand(QMenu *menu, int id, const QString &text,
                             const std::function<void()> &run, const QKeySequence &shortcut = {});
    void createMenusAndToolBar();
    void createStatusBar();
    CChildFrame *createChild();
    void showChild(CChildFrame *child);
    void onSubWindowActivated();
    void scheduleStatusUpdate();
    void openCommand();
    void rebuildRecentMenu();
    void updateColourIcons();

    QMdiArea *mdi_ = nullptr;
    QHash<int, QAction *> commands_;
    QComboBox *fontBox_ = nullptr;
    QComboBox *sizeBox_ = nullptr;
    QSlider *zoomSlider_ = nullptr;
    QToolButton *zoomPane_ = nullptr;
    QHash<int, QLabel *> panes_;
    QMenu *recentMenu_ = nullptr;
    QColor textColour_ = Qt::black;
    QColor backColour_ = Qt::white;
    QList<QColor> recentColours_;
    int numberingItem_ = 1;
    bool statusUpdatePending_ = false;
    bool updatingBoxes_ = false;
    QPointer<CTarvelLiteView> lastActive_;
    QPointer<CChildFrame> current_;
    FrameInput *input_ = nullptr;
};

} // namespace tarvellite::ui
