#pragma once

#include "core/input/translation_engine.h"

#include <QObject>
#include <QPointer>
#include <memory>
#include <unordered_map>

class QKeyEvent;
class QTextEdit;
class QWidget;

namespace tarvellite {

class CKbdCombo;
class CKbdEdit;
class DocumentTarget;

/// What a document view offers the keyboard routing.
class DocumentKeyHooks {
  public:
    virtual ~DocumentKeyHooks() = default;
    /// Ctrl+I and Ctrl+T in a document.
    virtual void toggleItalic() {}
    virtual void toggleBullets() {}
    /// Offered every key press while the view's look-ahead popup shows; true consumes it.
    virtual bool handlePopupKey(QKeyEvent & /*event*/) { return false; }
    /// After every unit typed into the document and after Backspace.
    virtual void lookAheadUpdate() {}
    /// A click elsewhere.
    virtual void hideLookAhead() {}
};

/// Hands the keyboard to the translation engine before any widget sees it.
///
/// Installed as an application-wide event filter. A key typed in a document goes through the
/// view's own keys (Ctrl+I, Ctrl+T, Ctrl+1/F/H, the look-ahead popup) and then the main
/// window's (F2 language, F3 keyboard, F4 previous language, and the engine with the document
/// as target); a key typed in a `CKbdEdit` or `CKbdCombo` goes to the engine with that field as
/// target. Ctrl combinations that the current keyboard types, and the view's own, are taken
/// before Qt's shortcuts; every other shortcut keeps working.
class InputRouter : public QObject {
    Q_OBJECT
  public:
    InputRouter(InputContext &context, TranslationEngine &engine, QObject *parent = nullptr);
    ~InputRouter() override;

    /// The window whose widgets get F2, F3 and F4 (the main frame).
    void setMainWindow(QWidget *window) { mainWindow_ = window; }
    /// Routes the keys of `edit` as a document's; `hooks` may be null. Undone when `edit` goes.
    void attachDocument(QTextEdit *edit, DocumentKeyHooks *hooks);
    /// The document target of `edit`, or null when it is not attached.
    DocumentTarget *documentTarget(QTextEdit *edit) const;

    /// While a document is in print preview, keys do nothing in the main window.
    void setPrintPreviewActive(bool active) { printPreviewActive_ = active; }

    InputContext &context() { return context_; }
    TranslationEngine &engine() { return engine_; }

  signals:
    /// F2, F3 or F4 changed the language or keyboard.
    void inputSelectionCycled();

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    struct Document {
        std::unique_ptr<DocumentTarget> target;
        DocumentKeyHooks *hooks = nullptr;
    };

    bool keyPress(QWidget *widget, QKeyEvent *event);
    bool keyRelease(QWidget *widget, QKeyEvent *event);
    bool shortcutOverride(QWidget *widget, QKeyEvent *event);
    bool documentKeys(QTextEdit *edit, Document &doc, QKeyEvent *event);
    bool frameKeys(QWidget *widget, QKeyEvent *event, TargetKind kind, std::uint32_t key);
    bool inMainWindow(QWidget *widget) const;
    void updateCapsLock(QKeyEvent *event);
    Document *documentOf(QWidget *widget);

    InputContext &context_;
    TranslationEngine &engine_;
    QPointer<QWidget> mainWindow_;
    std::unordered_map<QTextEdit *, Document> documents_;
    bool printPreviewActive_ = false;
    bool capsLockKeyDown_ = false;
};

} // namespace tarvellite
