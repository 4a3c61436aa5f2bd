#pragma once

#include "ui/input/look_ahead.h"

namespace tarvellite::ui {
class CKbdDialog;
class CSearchPage;
} // namespace tarvellite::ui

#include <QDockWidget>
#include <memory>

class QLabel;

namespace tarvellite::ui {

class AppContext;
class FrameServices;

/// A dockable pane of the main window: floatable, closable, dockable at every edge, with its
/// pane id as object name and its caption as title and accessible name. Until its feature is
/// built in, it says what it will hold.
class CDockPane : public QDockWidget {
    Q_OBJECT
  public:
    CDockPane(int paneId, const QString &caption, const QString &holds, QWidget *parent);

    int paneId() const { return paneId_; }
    /// Puts `content` into the pane in place of what it shows now.
    void setContent(QWidget *content);

  private:
    int paneId_;
};

/// "Keyboard": the on-screen keyboard's pane. Its dialog owns the lookup dictionary of the
/// look-ahead and the text of the dictionary status pane.
class CKbdToolBar : public CDockPane {
    Q_OBJECT
  public:
    CKbdToolBar(AppContext &context, FrameServices &frame, QWidget *parent);
    ~CKbdToolBar() override;

    /// The on-screen keyboard, or null when it could not be created.
    CKbdDialog *dialog() const { return dialog_; }
    /// Loads the lookup dictionary of the current input language (again only when the language
    /// changed, unless `always`) and shows its state in the status bar.
    void refreshDictionaryStatus(bool always = false);
    LookupDictionary *lookupDictionary();

    /// Shows or hides the title bar of the docked pane; a floating pane keeps its own.
    /// Returns whether the title bar is shown.
    bool ToggleTitleBar();
    bool titleBarShown() const { return titleBarShown_; }

  protected:
    void resizeEvent(QResizeEvent *event) override;

  private:
    CKbdDialog *dialog_ = nullptr;
    bool titleBarShown_ = true;
};

class CFlatFrame;

/// "Folder": the folder explorer's pane.
class CDirClass : public CDockPane {
    Q_OBJECT
  public:
    CDirClass(AppContext &context, FrameServices &frame, QWidget *parent);

    CFlatFrame *explorer() const { return explorer_; }

  private:
    CFlatFrame *explorer_;
};

/// "Find / Replace": the find and replace pane.
class CSearchDock : public CDockPane {
    Q_OBJECT
  public:
    CSearchDock(AppContext &context, FrameServices &frame, QWidget *parent);
    CSearchPage *page() const { return page_; }

  private:
    CSearchPage *page_ = nullptr;
};

/// "Spell Checker": the spell-check pane.
class CSpellDock : public CDockPane {
    Q_OBJECT
  public:
    CSpellDock(AppContext &context, FrameServices &frame, QWidget *parent);
};

} // namespace tarvellite::ui
