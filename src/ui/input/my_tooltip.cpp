#include "ui/input/my_tooltip.h"

#include <QApplication>
#include <QHelpEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QStyle>

namespace tarvellite {

namespace {

constexpr int margin = 6;
constexpr int iconSize = 16;

} // namespace

CMyToolTipCtrl::CMyToolTipCtrl(QWidget *owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("largeToolTip"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    labelFont_.setFamilies({QStringLiteral("Noto Sans"), QStringLiteral("Noto Sans Tamil"),
                            QStringLiteral("Noto Sans Devanagari")});
    labelFont_.setPixelSize(26);
    labelFont_.setWeight(QFont::Normal);
}

void CMyToolTipCtrl::watch(QWidget *widget) {
    widget->installEventFilter(this);
    for (QWidget *child : widget->findChildren<QWidget *>())
        child->installEventFilter(this);
}

bool CMyToolTipCtrl::eventFilter(QObject *watched, QEvent *event) {
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget)
        return false;
    switch (event->type()) {
    case QEvent::ToolTip: {
        if (widget->toolTip().isEmpty())
            return false;
        const auto *help = static_cast<QHelpEvent *>(event);
        showTip(help->globalPos(), widget->toolTip(),
                widget->property("tooltipDescription").toString());
        shownFor_ = widget;
        return true;
    }
    case QEvent::Leave:
    case QEvent::MouseButtonPress:
    case QEvent::Hide:
        if (widget == shownFor_)
            hide();
        return false;
    default: return false;
    }
}

void CMyToolTipCtrl::showTip(const QPoint &globalPos, const QString &label,
                             const QString &description) {
    label_ = label;
    label_.replace(QLatin1Char('\t'), QStringLiteral("    "));
    description_ = parameters_.drawDescription ? description : QString();
    QFont font = labelFont_;
    font.setBold(parameters_.boldLabel);
    const QFontMetrics metrics(font);
    // A label without a line break stays on one line.
    const QSize labelSize =
        metrics.boundingRect(QRect(0, 0, 2000, 2000), Qt::AlignLeft, label_).size();
    int width = labelSize.width() + (parameters_.drawIcon ? iconSize + margin : 0);
    int height = std::max(labelSize.height(), parameters_.drawIcon ? iconSize : 0);
    if (!description_.isEmpty()) {
        const QRect d = fontMetrics().boundingRect(
            QRect(0, 0, parameters_.maxDescriptionWidth, 2000), Qt::TextWordWrap, description_);
        width = std::max(width, d.width());
        height += margin + d.height() + (parameters_.drawSeparator ? margin : 0);
    }
    resize(width + 2 * margin, height + 2 * margin);
    QPoint pos = globalPos + QPoint(8, 16);
    if (const QScreen *screen = QGuiApplication::screenAt(globalPos)) {
        const QRect area = screen->availableGeometry();
        pos.setX(
            std::clamp(pos.x(), area.left(), std::max(area.left(), area.right() - this->width())));
        if (pos.y() + this->height() > area.bottom())
            pos.setY(globalPos.y() - this->height() - 4);
    }
    move(pos);
    show();
    update();
}

QRect CMyToolTipCtrl::labelRect() const {
    QFont font = labelFont_;
    font.setBold(parameters_.boldLabel);
    const QSize size =
        QFontMetrics(font).boundingRect(QRect(0, 0, 2000, 2000), Qt::AlignLeft, label_).size();
    const int left = margin + (parameters_.drawIcon ? iconSize + margin : 0);
    return {left, margin, size.width(), size.height()};
}

QRect CMyToolTipCtrl::descriptionRect() const {
    const QRect l = labelRect();
    const int top = l.bottom() + margin + (parameters_.drawSeparator ? margin : 0);
    return {margin, top, width() - 2 * margin, height() - top - margin};
}

void CMyToolTipCtrl::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient background(frame.topLeft(), frame.bottomRight()); // 45 degrees
    background.setColorAt(0, QColor(104, 165, 225));
    background.setColorAt(1, QColor(37, 93, 222));
    QPainterPath path;
    const qreal radius = parameters_.roundedCorners || parameters_.balloon ? 6 : 0;
    path.addRoundedRect(frame, radius, radius);
    p.fillPath(path, background);
    p.setPen(QColor(113, 166, 246));
    p.drawPath(path);

    if (parameters_.drawIcon) {
        const QIcon icon = style()->standardIcon(QStyle::SP_MessageBoxInformation);
        icon.paint(&p, QRect(margin, margin, iconSize, iconSize));
    }
    QFont font = labelFont_;
    font.setBold(parameters_.boldLabel);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(labelRect(), Qt::AlignLeft | Qt::AlignTop, label_);

    if (description_.isEmpty())
        return;
    if (parameters_.drawSeparator) {
        const int y = labelRect().bottom() + margin;
        QLinearGradient line(margin, y, width() - margin, y);
        line.setColorAt(0, QColor(255, 201, 109));
        line.setColorAt(1, QColor(255, 246, 225));
        p.fillRect(QRect(margin, y, width() - 2 * margin, 1), line);
    }
    p.setFont(QWidget::font());
    p.drawText(descriptionRect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, description_);
}

} // namespace tarvellite
