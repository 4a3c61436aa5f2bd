#include "core/app/messages.h"

#include <cstdio>

namespace tarvellite {

namespace {

MessagePresenter &presenterSlot() {
    static MessagePresenter presenter;
    return presenter;
}

bool &echoSlot() {
    static bool echo = true;
    return echo;
}

std::string oneLine(std::string text) {
    for (char &c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return text;
}

} // namespace

MessageAnswer showMessage(const Message &message) {
    if (echoSlot()) {
        std::fprintf(stderr, "%s: %s\n", message.caption.c_str(), oneLine(message.text).c_str());
        std::fflush(stderr);
    }
    if (const MessagePresenter &presenter = presenterSlot())
        return presenter(message);
    return message.defaultAnswer;
}

MessageAnswer showMessage(std::string text, MessageIcon icon) {
    Message m;
    m.text = std::move(text);
    m.icon = icon;
    return showMessage(m);
}

MessagePresenter setMessagePresenter(MessagePresenter presenter) {
    MessagePresenter previous = std::move(presenterSlot());
    presenterSlot() = std::move(presenter);
    return previous;
}

void setMessageEcho(bool on) {
    echoSlot() = on;
}

} // namespace tarvellite
