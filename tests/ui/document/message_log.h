#pragma once

// Collects the messages a test provokes instead of showing them; each gets its default answer.

#include "core/app/messages.h"

#include <QString>
#include <QStringList>

namespace tarvellite::ui {

struct MessageLog {
    MessageLog()
        : scope([this](const Message &m) {
              texts << QString::fromStdString(m.text);
              return m.defaultAnswer;
          }) {}
    QStringList texts;
    ScopedMessagePresenter scope;
};

} // namespace tarvellite::ui
