#pragma once

#include "core/app/messages.h"

namespace tarvellite::ui {

/// Shows `message` in a modal message box over the active window, with its exact text, caption,
/// icon and buttons, and returns the answer.
MessageAnswer presentInMessageBox(const Message &message);

/// Makes every message of the program appear in a message box (the seam still echoes each one
/// to standard error).
void installMessageBoxPresenter();

} // namespace tarvellite::ui
