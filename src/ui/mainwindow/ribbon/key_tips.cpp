#include "ui/mainwindow/ribbon/key_tips.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QSet>
#include <QWidget>

namespace tarvellite::ui {

KeyTips::KeyTips(QWidget *host, std::function<QList<KeyTip>(int)> tipsOf)
    : QObject(host), host_(host), tipsOf_(std::move(tipsOf)) {
    qApp->installEventFilter(this);
}

KeyTips::~KeyTips() {
    qApp->removeEventFilter(this);
}

QStringList KeyTips::shownKeys() const {
    QStringList keys;
    for (const QLabel *badge : badges_)
        if (badge->isVisible())
            keys << badge->text();
    return keys;
}

void KeyTips::show(int level) {
    hide();
    level_ = level;
    typed_.clear();
    for (const KeyTip &tip : tipsOf_(level)) {
        if (!tip.anchor || !tip.anchor->isVisible() || !host_->isAncestorOf(tip.anchor))
            continue;
        tips_ << tip;
        auto *badge = new QLabel(tip.keys, host_);
        badge->setObjectName(QStringLiteral("keytip-") + tip.keys);
        badge->setAccessibleName(tip.keys);
        badge->setAlignment(Qt::AlignCenter);
        badge->setStyleSheet(QStringLiteral(
            "QLabel { background: #fafafa; color: #202020; border: 1px solid #707070;"
            " border-radius: 2px; padding: 0px 3px; font-size: 8pt; }"));
        badges_ << badge;
    }
    place();
}

void KeyTips::place() {
    for (int i = 0; i < tips_.size(); ++i) {
        QLabel *badge = badges_[i];
        QWidget *anchor = tips_[i].anchor;
        const bool match = tips_[i].keys.startsWith(typed_);
        if (!anchor || !match) {
            badge->hide();
            continue;
        }
        badge->adjustSize();
        const QRect r = anchor->rect();
        QPoint at = anchor->mapTo(
            host_, QPoint(r.center().x() - badge->width() / 2, r.bottom() - badge->height() + 4));
        at.setX(std::clamp(at.x(), 0, std::max(0, host_->width() - badge->width())));
        at.setY(std::clamp(at.y(), 0, std::max(0, host_->height() - badge->height())));
        badge->move(at);
        badge->show();
        badge->raise();
    }
}

void KeyTips::hide() {
    qDeleteAll(badges_);
    badges_.clear();
    tips_.clear();
    typed_.clear();
    level_ = -1;
}

bool KeyTips::handleKey(int key, const QString &text) {
    if (key == Qt::Key_Escape) {
        if (!typed_.isEmpty()) {
            typed_.clear();
            place();
        } else if (level_ > 0) {
            show(level_ - 1);
        } else {
            hide();
        }
        return true;
    }
    if (key == Qt::Key_Alt) {
        hide();
        return true;
    }
    const QString typed = (typed_ + text).toUpper();
    if (text.isEmpty() || !text.at(0).isPrint())
        return true;
    for (const KeyTip &tip : std::as_const(tips_)) {
        if (tip.keys == typed) {
            const std::function<void()> run = tip.run;
            hide();
            if (run)
                run();
            return true;
        }
    }
    for (const KeyTip &tip : std::as_const(tips_)) {
        if (tip.keys.startsWith(typed)) {
            typed_ = typed;
            place();
            return true;
        }
    }
    // A key that no tip begins with is ignored, as a mistyped letter should not type anything.
    return true;
}

bool KeyTips::eventFilter(QObject *watched, QEvent *event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease &&
        type != QEvent::ShortcutOverride && type != QEvent::MouseButtonPress &&
        type != QEvent::WindowDeactivate)
        return false;
    // Keys reach the filter once for the window and once for the focus widget: only the
    // widget's copy counts.
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != host_->window())
        return false;
    if (type == QEvent::MouseButtonPress || type == QEvent::WindowDeactivate) {
        altArmed_ = false;
        if (isActive())
            hide();
        return false;
    }
    auto *key = static_cast<QKeyEvent *>(event);
    if (isActive()) {
        if (type == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        if (type == QEvent::KeyPress)
            return handleKey(key->key(), key->text());
        return true;
    }
    if (type == QEvent::KeyPress || type == QEvent::ShortcutOverride) {
        // Alt alone arms; any other key on the way (Alt+O is a shortcut, whose key press may
        // never arrive) disarms.
        if (key->key() != Qt::Key_Alt)
            altArmed_ = false;
        else if (type == QEvent::KeyPress)
            altArmed_ =
                !key->isAutoRepeat() && (key->modifiers() & ~Qt::AltModifier) == Qt::NoModifier;
        return false;
    }
    if (type == QEvent::KeyRelease && key->key() == Qt::Key_Alt && altArmed_) {
        altArmed_ = false;
        show(0);
        return isActive();
    }
    return false;
}

QStringList assignKeyTips(const QStringList &captions, const QStringList &fixed) {
    QSet<QString> used(fixed.begin(), fixed.end());
    QSet<QChar> firstTaken;
    for (const QString &tip : fixed)
        if (tip.size() == 1)
            firstTaken.insert(tip.at(0));
    QStringList tips;
    for (const QString &caption : captions) {
        QString letters;
        for (QChar c : caption)
            if (c.isLetterOrNumber() && c.unicode() < 128)
                letters += c.toUpper();
        QString chosen;
        for (int i = 0; i < letters.size() && chosen.isEmpty(); ++i) {
            if (firstTaken.contains(letters.at(i)))
                continue;
            for (int j = i + 1; j < letters.size(); ++j) {
                const QString tip = QString(letters.at(i)) + letters.at(j);
                if (!used.contains(tip)) {
                    chosen = tip;
                    break;
                }
            }
        }
        for (int n = 1; chosen.isEmpty(); ++n)
            if (const QString tip = QStringLiteral("Z%1").arg(n); !used.contains(tip))
                chosen = tip;
        used.insert(chosen);
        tips << chosen;
    }
    return tips;
}

} // namespace tarvellite::ui
