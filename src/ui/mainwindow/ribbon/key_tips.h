#pragma once

// Key tips: pressing and releasing Alt alone shows a small badge with a letter on each element of
// the tab row; typing a badge's letters runs its element (or opens the next row of badges: the
// category's elements). Escape goes back one row, or leaves; a click or another window leaves.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QLabel;
class QWidget;

namespace tarvellite::ui {

struct KeyTip {
    QString keys;
    QPointer<QWidget> anchor;
    std::function<void()> run;
};

class KeyTips : public QObject {
    Q_OBJECT
  public:
    /// `host` is the widget the badges are drawn over; `tipsOf(level)` lists the tips of a row
    /// (0: the tab row, 1: the current category).
    KeyTips(QWidget *host, std::function<QList<KeyTip>(int)> tipsOf);
    ~KeyTips() override;

    bool isActive() const { return level_ >= 0; }
    int level() const { return level_; }
    /// The keys of the badges shown now.
    QStringList shownKeys() const;
    void show(int level);
    void hide();

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    bool handleKey(int key, const QString &text);
    void place();
    QWidget *host_;
    std::function<QList<KeyTip>(int)> tipsOf_;
    QList<KeyTip> tips_;
    QList<QLabel *> badges_;
    QString typed_;
    int level_ = -1;
    bool altArmed_ = false;
};

/// Chooses tips for the captions whose tip is empty: two letters of the caption, never starting
/// with one of `taken` (the fixed tips) and never used twice.
QStringList assignKeyTips(const QStringList &captions, const QStringList &fixed);

} // namespace tarvellite::ui
