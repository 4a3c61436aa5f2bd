#pragma once

#include <QObject>
#include <QPointer>

class QMdiArea;
class QTabBar;
class QToolButton;

namespace tarvellite::ui {

/// The tab strip of the document area in tabbed mode: tabs sized to their titles, a close
/// button on the active tab only, and a document menu at the strip's right end that lists every
/// open document.
class DocumentTabs : public QObject {
    Q_OBJECT
  public:
    explicit DocumentTabs(QMdiArea *area);

    /// Applies the tab parameters after the area switched to tabs (the area makes a new strip).
    void attach();
    QToolButton *menuButton() const { return menuButton_; }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void showCloseButtons();
    void placeMenuButton();
    void fillMenu();

    QMdiArea *area_;
    QPointer<QTabBar> tabs_;
    QToolButton *menuButton_;
};

} // namespace tarvellite::ui
