#include "ui/app/message_wait_box.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace tarvellite::ui {

namespace {
constexpr qint64 paintIntervalMs = 50;
}

CMessageWaitBox::CMessageWaitBox(const QString &text, QWidget *owner)
    : QWidget(owner ? owner->window() : nullptr,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("dialog-272"));
    setWindowTitle(QStringLiteral("TarvelLite"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setWindowModality(Qt::NonModal);
    auto *layout = new QVBoxLayout(this);
    text_ = new QLabel(text, this);
    text_->setObjectName(QStringLiteral("waitText"));
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("1236"));
    progress_->setTextVisible(false);
    progress_->setRange(0, 1);
    progress_->setValue(0);
    progress_->setMinimumWidth(320);
    layout->addWidget(text_);
    layout->addWidget(progress_);
    adjustSize();
    if (QWidget *parent = parentWidget())
        move(parent->geometry().center() - rect().center());
}

void CMessageWaitBox::setRange(int minimum, int maximum) {
    progress_->setRange(minimum, std::max(maximum, minimum + 1));
}

void CMessageWaitBox::setValue(int value) {
    if (value == progress_->value())
        return;
    progress_->setValue(value);
    if (!isVisible())
        return;
    if (value >= progress_->maximum() || !sincePaint_.isValid() ||
        sincePaint_.elapsed() >= paintIntervalMs)
        paintNow();
}

int CMessageWaitBox::value() const {
    return progress_->value();
}

int CMessageWaitBox::maximum() const {
    return progress_->maximum();
}

QString CMessageWaitBox::text() const {
    return text_->text();
}

void CMessageWaitBox::showNow() {
    show();
    raise();
    paintNow();
}

void CMessageWaitBox::paintNow() {
    // A window that has only just been mapped needs its expose event before it can paint; user
    // input waits until the work is done.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
    sincePaint_.restart();
}

} // namespace tarvellite::ui
