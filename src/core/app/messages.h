#pragma once

#include <functional>
#include <string>

namespace tarvellite {

/// The buttons a message offers.
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };

/// The icon a message shows.
enum class MessageIcon { Information, Warning, Error, Question };

/// The user's answer to a message.
enum class MessageAnswer { Ok, Cancel, Yes, No };

/// One modal question or message. `text` is shown exactly as it stands (UTF-8).
struct Message {
    std::string text;
    std::string caption = "TarvelLite";
    MessageIcon icon = MessageIcon::Information;
    MessageButtons buttons = MessageButtons::Ok;
    /// The answer when no one can be asked (no presenter, or a test that does not script one).
    MessageAnswer defaultAnswer = MessageAnswer::Ok;
};

/// Shows a message box and returns its answer.
using MessagePresenter = std::function<MessageAnswer(const Message &)>;

/// The one road every message and question of the program takes.
///
/// Writes the text as one line to standard error, then asks the installed presenter. The user
/// interface installs one that shows a message box; without one (command-line tools, tests) the
/// message's default answer is returned.
MessageAnswer showMessage(const Message &message);

/// Shorthand for an informational message with an OK button.
MessageAnswer showMessage(std::string text, MessageIcon icon = MessageIcon::Information);

/// Installs `presenter` (empty: none) and returns the one it replaces.
MessagePresenter setMessagePresenter(MessagePresenter presenter);

/// Turns the standard-error copy of messages on or off (for tools that report errors themselves).
void setMessageEcho(bool on);

/// Installs a presenter for the life of the object and restores the previous one afterwards.
class ScopedMessagePresenter {
  public:
    explicit ScopedMessagePresenter(MessagePresenter presenter)
        : previous_(setMessagePresenter(std::move(presenter))) {}
    ~ScopedMessagePresenter() { setMessagePresenter(std::move(previous_)); }
    ScopedMessagePresenter(const ScopedMessagePresenter &) = delete;
    ScopedMessagePresenter &operator=(const ScopedMessagePresenter &) = delete;

  private:
    MessagePresenter previous_;
};

} // namespace tarvellite
