#include "ui/input/input_router.h"

#include "ui/input/caps_lock.h"
#include "ui/input/kbd_fields.h"
#include "ui/input/key_messages.h"
#include "ui/input/text_targets.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTextEdit>

namespace tarvellite {

namespace {

// The combo box a widget belongs to (the combo itself or its edit part), or null.
CKbdCombo *comboOf(QWidget *widget) {
    if (auto *combo = qobject_cast<CKbdCombo *>(widget))
        return combo;
    if (qobject_cast<QLineEdit *>(widget))
        return qobject_cast<CKbdCombo *>(widget->parentWidget());
    return nullptr;
}

bool isShortcutOfView(const QKeyEvent &event, std::uint32_t key) {
    return event.key() == Qt::Key_I || event.key() == Qt::Key_T || key == '1' || key == 'F' ||
           key == 'H';
}

} // namespace

InputRouter::InputRouter(InputContext &context, TranslationEngine &engine, QObject *parent)
    : QObject(parent), context_(context), engine_(engine) {
    if (qApp)
        qApp->installEventFilter(this);
}

InputRouter::~InputRouter() {
    engine_.setTarget(TargetKind::TargetDocument, nullptr);
    engine_.setTarget(TargetKind::TargetEdit, nullptr);
    engine_.setTarget(TargetKind::TargetCombo, nullptr);
}

void InputRouter::attachDocument(QTextEdit *edit, DocumentKeyHooks *hooks) {
    if (!edit)
        return;
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    Document &doc = documents_[edit];
    doc.target = std::make_unique<DocumentTarget>(edit);
    doc.hooks = hooks;
    if (hooks)
        doc.target->setDeliveredHook([hooks] { hooks->lookAheadUpdate(); });
    connect(edit, &QObject::destroyed, this, [this, edit] {
        auto it = documents_.find(edit);
        if (it == documents_.end())
            return;
        if (engine_.target(TargetKind::TargetDocument) == it->second.target.get())
            engine_.setTarget(TargetKind::TargetDocument, nullptr);
        documents_.erase(it);
    });
}

DocumentTarget *InputRouter::documentTarget(QTextEdit *edit) const {
    auto it = documents_.find(edit);
    return it == documents_.end() ? nullptr : it->second.target.get();
}

InputRouter::Document *InputRouter::documentOf(QWidget *widget) {
    auto *edit = qobject_cast<QTextEdit *>(widget);
    if (!edit)
        return nullptr;
    auto it = documents_.find(edit);
    return it == documents_.end() ? nullptr : &it->second;
}

bool InputRouter::inMainWindow(QWidget *widget) const {
    return !mainWindow_ || widget->window() == mainWindow_;
}

void InputRouter::updateCapsLock(QKeyEvent *event) {
    if (event->key() == Qt::Key_CapsLock)
        capsLockKeyDown_ = event->type() == QEvent::KeyPress;
    engine_.setCapsLock(CapsLock::isOn(*event), capsLockKeyDown_);
}

bool InputRouter::eventFilter(QObject *watched, QEvent *event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease &&
        type != QEvent::ShortcutOverride) {
        if (type == QEvent::MouseButtonPress && !printPreviewActive_) {
            auto *widget = qobject_cast<QWidget *>(watched);
            if (widget && !widget->window()->property("tarvelliteLookupWindow").toBool())
                for (auto &[edit, doc] : documents_)
                    if (doc.hooks)
                        doc.hooks->hideLookAhead();
        }
        return false;
    }
    // A key reaches the filter once for the window and once for each widget it is sent or
    // propagated to: take it where it is addressed, at the focus widget or one of our fields.
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget)
        return false;
    if (!widget->hasFocus() && !documentOf(widget) && !qobject_cast<CKbdEdit *>(widget) &&
        !comboOf(widget))
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    switch (type) {
    case QEvent::ShortcutOverride: return shortcutOverride(widget, key);
    case QEvent::KeyPress: return keyPress(widget, key);
    default: return keyRelease(widget, key);
    }
}

bool InputRouter::shortcutOverride(QWidget *widget, QKeyEvent *event) {
    if (!ctrlHeld(*event))
        return false;
    const std::uint32_t key = virtualKeyOf(*event);
    const bool document = documentOf(widget) != nullptr;
    bool take = document && isShortcutOfView(*event, key);
    if (document || qobject_cast<CKbdEdit *>(widget) || comboOf(widget))
        take = take || engine_.ctrlLayerTypes(key);
    if (!take)
        return false;
    event->accept();
    return true;
}

bool InputRouter::keyPress(QWidget *widget, QKeyEvent *event) {
    updateCapsLock(event);
    if (auto *edit = qobject_cast<QTextEdit *>(widget); edit && documentOf(widget))
        return documentKeys(edit, *documentOf(widget), event);

    const std::uint32_t key = virtualKeyOf(*event);
    const std::uint32_t ch = characterOf(*event);
    CKbdEdit *edit = qobject_cast<CKbdEdit *>(widget);
    CKbdCombo *combo = edit ? nullptr : comboOf(widget);
    if (!edit && !combo) {
        // Any other widget of the main window: the language keys and the modifier state only.
        if (!inMainWindow(widget))
            return false;
        if (key == vk::Shift || key == vk::Control)
            engine_.TranslateKeyMessage(KeyMessage::keyDown(key, ctrlHeld(*event)),
                                        TargetKind::TargetEdit);
        return frameKeys(widget, event, TargetKind::TargetEdit, 0);
    }

    const TargetKind kind = edit ? TargetKind::TargetEdit : TargetKind::TargetCombo;
    engine_.setTarget(kind, edit ? &edit->target() : &combo->target());
    ModifierState &m = context_.modifiers();
    if (event->key() == Qt::Key_Shift || (event->modifiers() & Qt::ShiftModifier)) {
        if (event->key() == Qt::Key_Shift)
            context_.showCaptionsFor(true, false);
        m.shiftKeyDown = 1;
        m.shiftLatch = 1;
    }
    if (combo)
        combo->saveEditSelection();
    if (frameKeys(widget, event, kind, key))
        return true;
    if (ch == 0)
        return false;
    if (combo)
        combo->restoreEditSelection();
    if (engine_.TranslateKeyMessage(KeyMessage::character(ch), kind)) {
        if (combo)
            combo->saveEditSelection();
        return true;
    }
    if (combo && ch == 8) {
        combo->lineEdit()->backspace();
        combo->saveEditSelection();
        return true;
    }
    return false;
}

bool InputRouter::documentKeys(QTextEdit *edit, Document &doc, QKeyEvent *event) {
    if (printPreviewActive_)
        return true;
    engine_.setTarget(TargetKind::TargetDocument, doc.target.get());
    const std::uint32_t key = virtualKeyOf(*event);
    const std::uint32_t ch = characterOf(*event);

    if (ctrlHeld(*event) && !(event->modifiers() & Qt::AltModifier)) {
        if (event->key() == Qt::Key_I || event->key() == Qt::Key_T) {
            if (doc.hooks)
                event->key() == Qt::Key_I ? doc.hooks->toggleItalic() : doc.hooks->toggleBullets();
            return true;
        }
        if (key == '1' || key == 'F' || key == 'H') {
            // The document's own Ctrl-layer keys: never Qt's shortcuts while a document has
            // the focus, even when the layout gives them nothing.
            std::array<char16_t, 4> out{};
            doc.target->beginKeystroke();
            const int n = engine_.TranslateCharacter(TranslationEngine::ctrlCharacterOf(key),
                                                     engine_.shifted(), true, out,
                                                     TargetKind::TargetDocument);
            engine_.deliver(out, n, TargetKind::TargetDocument);
            context_.ReleaseStickyModifiers();
            doc.target->endKeystroke();
            return true;
        }
    }
    if (doc.hooks && doc.hooks->handlePopupKey(*event))
        return true;
    if (frameKeys(edit, event, TargetKind::TargetDocument, key))
        return true;
    if (ch == 0)
        return false;
    if (engine_.TranslateKeyMessage(KeyMessage::character(ch), TargetKind::TargetDocument))
        return true;
    if (ch == 8) {
        // Backspace takes one character (code point) back, not a whole cluster, so that a
        // vowel sign can be corrected without retyping its consonant.
        DocumentTarget &t = *doc.target;
        t.beginKeystroke();
        const auto [start, end] = t.GetSelection();
        if (start != end) {
            t.DeleteRange(start, end);
        } else if (start > 0) {
            const std::u16string before = t.ReadRange(std::max(0, start - 2), start);
            const bool pair = before.size() == 2 && QChar::isLowSurrogate(before[1]) &&
                              QChar::isHighSurrogate(before[0]);
            t.DeleteRange(start - (pair ? 2 : 1), start);
        }
        t.endKeystroke();
        if (doc.hooks)
            doc.hooks->lookAheadUpdate();
        return true;
    }
    return false;
}

bool InputRouter::frameKeys(QWidget *widget, QKeyEvent *event, TargetKind kind, std::uint32_t key) {
    if (printPreviewActive_ && inMainWindow(widget))
        return true;
    const std::uint32_t vkey = key ? key : virtualKeyOf(*event);
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (plain && inMainWindow(widget) && (vkey == vk::F2 || vkey == vk::F3 || vkey == vk::F4)) {
        if (vkey == vk::F2)
            context_.cycleLanguage();
        else if (vkey == vk::F3)
            context_.cycleKeyboard();
        else
            context_.togglePreviousLanguage();
        emit inputSelectionCycled();
        return true;
    }
    if (key == 0)
        return false;
    return engine_.TranslateKeyMessage(KeyMessage::keyDown(key, ctrlHeld(*event)), kind);
}

bool InputRouter::keyRelease(QWidget *widget, QKeyEvent *event) {
    updateCapsLock(event);
    if (printPreviewActive_ && inMainWindow(widget))
        return true;
    const std::uint32_t key = virtualKeyOf(*event);
    CKbdEdit *edit = qobject_cast<CKbdEdit *>(widget);
    CKbdCombo *combo = edit ? nullptr : comboOf(widget);
    if (edit || combo) {
        ModifierState &m = context_.modifiers();
        const bool hadLatch = m.shiftLatch || m.ctrlLatch;
        m = ModifierState{};
        if (event->key() == Qt::Key_Shift || hadLatch)
            context_.showCaptionsFor(false, false);
        // Every key that moved the caret (arrows, Home, End, Shift+arrows) is remembered.
        if (combo)
            combo->saveEditSelection();
    }
    if (key)
        engine_.TranslateKeyMessage(KeyMessage::keyUp(key, ctrlHeld(*event)),
                                    TargetKind::TargetDocument);
    return false;
}

} // namespace tarvellite
