#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

namespace tarvellite::ui {

class CMainFrame;

/// "Windows": the open document windows, to activate one, save the chosen ones or close them.
class CWindowsDialog : public QDialog {
    Q_OBJECT
  public:
    explicit CWindowsDialog(CMainFrame *frame);

    QListWidget *list() const { return list_; }

  private:
    void fill();
    void activateChosen();
    void saveChosen();
    void closeChosen();
    void updateButtons();

    CMainFrame *frame_;
    QListWidget *list_;
    QPushButton *activate_;
    QPushButton *save_;
    QPushButton *close_;
};

} // namespace tarvellite::ui
