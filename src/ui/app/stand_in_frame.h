#pragma once

#include <QMainWindow>

namespace tarvellite::ui {

class CTarvelLiteApp;

/// The main window until the real main frame is hooked in: an empty frame that saves the
/// settings when it closes.
class CStandInFrame : public QMainWindow {
    Q_OBJECT
  public:
    explicit CStandInFrame(CTarvelLiteApp &app);

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    CTarvelLiteApp &app_;
};

} // namespace tarvellite::ui
