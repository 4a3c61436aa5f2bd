#pragma once

#include <QElapsedTimer>
#include <QWidget>

class QLabel;
class QProgressBar;

namespace tarvellite::ui {

/// The small "please wait" window shown while a document's legacy text is converted: a text
/// and a progress bar (1236). It is modeless and never takes the keyboard; its owner sets the
/// range and the position and destroys it when done.
///
/// Progress is painted at once, without waiting for the event loop, at most every 50 ms and at
/// the end of the range, so that a long conversion shows it moving and a short one costs
/// nothing.
class CMessageWaitBox : public QWidget {
    Q_OBJECT
  public:
    /// A wait box with `text` over `owner`'s window (may be null).
    explicit CMessageWaitBox(const QString &text, QWidget *owner = nullptr);

    void setRange(int minimum, int maximum);
    void setValue(int value);
    int value() const;
    int maximum() const;
    QString text() const;

    /// Shows the box and paints it before returning.
    void showNow();

  private:
    void paintNow();

    QLabel *text_;
    QProgressBar *progress_;
    QElapsedTimer sincePaint_;
};

} // namespace tarvellite::ui
