#pragma once

// The ruler over the document area: the printable width of the active view's page in the
// chosen unit, with handles for the selected paragraphs' first-line, start and right indents
// and tab stops. It follows the view's selection and zoom; a released handle applies the
// indents and tab stops to the selected paragraphs as one undo step.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

namespace tarvellite::ui {

class CTarvelLiteView;

class CRulerBar : public QWidget {
    Q_OBJECT
  public:
    /// `measureUnit` is asked at every paint (0 millimetres, 1 centimetres, 2 inches).
    explicit CRulerBar(std::function<int()> measureUnit, QWidget *parent = nullptr);

    /// The view the ruler follows; null: none (the ruler shows an empty face).
    void setView(CTarvelLiteView *view);
    CTarvelLiteView *view() const { return view_; }

    /// The x coordinate, in the ruler, of `twips` from the left margin.
    int xOfTwips(int twips) const;

    /// What the handles show, twips from the left margin.
    int firstLineTwips() const { return firstLine_; }
    int startTwips() const { return start_; }
    int rightHandleTwips() const { return rightHandle_; }
    const std::vector<int> &tabHandles() const { return tabs_; }

    QSize sizeHint() const override;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

  private:
    enum class Grab { None, FirstLine, Start, Hanging, Right, Tab };
    void readView();
    int printableWidth() const;
    int extentTwips() const;
    double zoom() const;
    int twipsAt(int x) const;
    void track(const QPoint &point);
    void apply();

    std::function<int()> measureUnit_;
    QPointer<CTarvelLiteView> view_;
    QList<QMetaObject::Connection> connections_;
    QList<QPointer<QObject>> watched_;
    int firstLine_ = 0;   // the first line's start
    int start_ = 0;       // the other lines' start
    int rightHandle_ = 0; // printable width less the right indent
    std::vector<int> tabs_;
    std::vector<int> hiddenTabs_; // stops past the ruler's handles, kept as they are
    Grab grab_ = Grab::None;
    std::size_t grabTab_ = 0;
    int grabFirstLine_ = 0;
    int grabStart_ = 0;
    int grabTwips_ = 0;
};

} // namespace tarvellite::ui
