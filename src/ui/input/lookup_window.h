#pragma once

#include <QString>
#include <QWidget>
#include <string>
#include <vector>

class QListWidget;

namespace tarvellite {

/// The look-ahead popup: a small tool window holding the list of candidate words.
///
/// It never takes the keyboard focus and shows without activating, so typing goes on in the
/// document while it is up. Its keys are handled by the view's look-ahead (`LookAhead`); a
/// left-button release on one of its words reports that word through `wordChosen`.
class CLookupWindow : public QWidget {
    Q_OBJECT
  public:
    /// Rows shown at most; more words scroll.
    static constexpr int maxRows = 10;

    /// `owner` is the editing view; the popup lives as long as it.
    explicit CLookupWindow(QWidget *owner);

    QListWidget *list() const { return list_; }

    /// Fills the list with `words` in order, with no word selected, and sizes the window for
    /// them (the widest word plus the font's average character width, a scroll bar's width more
    /// when they do not fit; one row more than the words, at most `maxRows`).
    void setWords(const std::vector<std::u16string> &words);
    /// The size `setWords` gave the window.
    QSize popupSize() const { return popupSize_; }
    int count() const;

    /// The selected word, or an empty string.
    QString selectedWord() const;
    bool hasSelection() const;
    /// Selects the caret item (the first word when none was selected yet).
    void selectCaretItem();
    /// Moves the selection by `rows` (negative: up), starting from the caret item.
    void moveSelection(int rows);

  signals:
    /// A word was chosen with the mouse.
    void wordChosen(const QString &word);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

  private:
    QListWidget *list_;
    QSize popupSize_;
};

} // namespace tarvellite
