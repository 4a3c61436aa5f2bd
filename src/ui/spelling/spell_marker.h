#pragma once

#include <QObject>
#include <QPoint>
#include <QTextLayout>

class QMenu;
class QTextBlock;
class QTextEdit;
class QTimer;

namespace tarvellite::ui {

class AppContext;
class MarkDictionaries;

/// Marks the misspelled words of an editing view with a red wavy underline while the user
/// types.
///
/// Only the paragraphs on screen are checked, a moment after the last change or scroll, so
/// typing never waits for it. The marks are formats of the paragraphs' layouts: they are not
/// part of the document, are never saved and never enter the undo history. The word the caret
/// stands at the end of is left alone until the user moves on from it.
class SpellMarker : public QObject {
    Q_OBJECT
  public:
    /// Milliseconds between the last change and the marks.
    static constexpr int delay = 100;

    SpellMarker(QTextEdit *view, AppContext &context);

    /// Checks the paragraphs on screen now (the timer does it a moment after each change).
    void markVisible();
    /// Puts the suggestions, "Ignore All" and "Add to Dictionary" for the misspelled word at
    /// `viewportPoint` at the top of `menu`; nothing when the word there is not marked.
    void extendMenu(QMenu *menu, const QPoint &viewportPoint);

    /// The misspelled ranges marked in `block`.
    static QList<QTextLayout::FormatRange> marksOf(const QTextBlock &block);

  private:
    void schedule();
    bool markBlock(const QTextBlock &block, int caret);
    void clearAll();
    bool eventFilter(QObject *watched, QEvent *event) override;

    QTextEdit *view_;
    AppContext &context_;
    MarkDictionaries &dictionaries_;
    QTimer *timer_;
    bool applying_ = false;
};

} // namespace tarvellite::ui
