#include "ui/app/message_presenter.h"

#include <QApplication>
#include <QMessageBox>

namespace tarvellite::ui {

namespace {

QMessageBox::Icon iconOf(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons buttonsOf(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok: return QMessageBox::Ok;
    case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton buttonOf(MessageAnswer answer) {
    switch (answer) {
    case MessageAnswer::Ok: return QMessageBox::Ok;
    case MessageAnswer::Cancel: return QMessageBox::Cancel;
    case MessageAnswer::Yes: return QMessageBox::Yes;
    case MessageAnswer::No: return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

} // namespace

MessageAnswer presentInMessageBox(const Message &message) {
    QMessageBox box(iconOf(message.icon), QString::fromStdString(message.caption),
                    QString::fromStdString(message.text), buttonsOf(message.buttons),
                    QApplication::activeWindow());
    box.setDefaultButton(buttonOf(message.defaultAnswer));
    switch (box.exec()) {
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Ok: return MessageAnswer::Ok;
    default:
        // Closed with Escape or the title bar: Cancel where offered, otherwise the default.
        if (message.buttons == MessageButtons::OkCancel ||
            message.buttons == MessageButtons::YesNoCancel)
            return MessageAnswer::Cancel;
        return message.defaultAnswer;
    }
}

void installMessageBoxPresenter() {
    setMessagePresenter(presentInMessageBox);
}

} // namespace tarvellite::ui
