#pragma once

#include <QFont>
#include <QString>

class QTextEdit;
class QWidget;

namespace tarvellite::ui {

/// What the main window offers the panes it hosts (on-screen keyboard, explorer, find and spell
/// panes), which live in libraries below it.
class FrameServices {
  public:
    virtual ~FrameServices() = default;

    /// Sets the text of the status bar's dictionary pane; false when the pane is missing.
    virtual bool SetDictionaryStatus(const QString &text) = 0;
    /// Rebuilds the Keyboard drop-down (after the language or keyboard selection changed).
    virtual void BuildKeyboardMenu() = 0;
    /// Moves the Dictionary drop-down's check mark to `index` (-1: the layer's current choice,
    /// -2: none); returns the index now marked.
    virtual int MarkLoadedDictionary(int index) = 0;
    /// The floating window that holds the keyboard pane, or null when it is docked or hidden.
    virtual QWidget *GetFloatingKeyboardFrame() const = 0;
    /// The editor of the active document, or null when no document is open.
    virtual QTextEdit *activeDocumentEdit() const = 0;
    /// Opens a document file, or inserts any other file as a picture into the active view.
    virtual void OpenOrInsertFile(const QString &path) = 0;
    /// The font of the find and spell panes' text fields (14 points).
    virtual QFont statusFont() const = 0;
};

} // namespace tarvellite::ui
