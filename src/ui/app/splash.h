#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tarvellite::ui {

/// The start-up splash window and, with an OK button, the About box (run modally with `exec`).
/// Its artwork is drawn, in colours chosen by the window look (`ApplicationLook`); a look
/// outside the table gets the default artwork.
class CSplash : public QDialog {
    Q_OBJECT
  public:
    enum class Mode { Splash, About };

    explicit CSplash(int applicationLook, Mode mode = Mode::Splash, QWidget *parent = nullptr);

    bool splashMode() const { return mode_ == Mode::Splash; }
    bool aboutMode() const { return mode_ == Mode::About; }
    int applicationLook() const { return look_; }
    /// "Version: 4000  Build: 320".
    static QString versionText();

    /// The background colours of a look: top and bottom of the gradient.
    static std::pair<QColor, QColor> backgroundOf(int applicationLook);

  protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

  private:
    int look_;
    Mode mode_;
    QPushButton *ok_ = nullptr;
    QLabel *version_ = nullptr;
};

} // namespace tarvellite::ui
