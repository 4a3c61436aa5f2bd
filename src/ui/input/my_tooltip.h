#pragma once

#include <QFont>
#include <QPointer>
#include <QWidget>

namespace tarvellite {

/// A tooltip with a large label font, for Indic captions that an ordinary tooltip draws too
/// small to read. It takes over the tooltips of the widgets it watches: their `toolTip()` is
/// the label, and an optional description comes from their "tooltipDescription" property.
class CMyToolTipCtrl : public QWidget {
    Q_OBJECT
  public:
    struct Parameters {
        bool boldLabel = false;
        bool drawIcon = true;
        bool drawDescription = true;
        bool roundedCorners = true;
        bool balloon = true;
        bool drawSeparator = true;
        int maxDescriptionWidth = 200;
    };

    explicit CMyToolTipCtrl(QWidget *owner);

    void setParameters(const Parameters &parameters) { parameters_ = parameters; }
    const Parameters &parameters() const { return parameters_; }
    const QFont &labelFont() const { return labelFont_; }

    /// Shows the tips of `widget` and of every widget below it.
    void watch(QWidget *widget);
    /// Shows `label` (tabs become four spaces; line breaks start new lines) and `description`
    /// near `globalPos`.
    void showTip(const QPoint &globalPos, const QString &label, const QString &description = {});
    /// The label as drawn.
    QString shownLabel() const { return label_; }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

  private:
    QRect labelRect() const;
    QRect descriptionRect() const;

    Parameters parameters_;
    QFont labelFont_;
    QString label_;
    QString description_;
    QPointer<QWidget> shownFor_;
};

} // namespace tarvellite
