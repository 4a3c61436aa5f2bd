#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;

namespace tarvellite::ui {

/// One program per user and display: a second start hands the files of its command line to the
/// program already running, which opens them in its window, and ends.
///
/// The two meet on a local socket whose name is made from the user's settings folder and the
/// display, so that programs of other users, other displays or other settings folders (tests)
/// never meet. A start sends one absolute path per line, then an empty line; the running
/// program answers "OK" once it has them.
class SingleInstance : public QObject {
    Q_OBJECT
  public:
    explicit SingleInstance(QObject *parent = nullptr);
    ~SingleInstance() override;

    /// The socket name for this user's settings folder and display.
    static QString serverName();
    /// Hands `files` to a running program; true when one took them (an empty list asks it to
    /// come to the front). Waits at most `timeoutMs`.
    static bool handOver(const QStringList &files, int timeoutMs = 2000);

    /// Starts listening for later starts; false when that is not possible (another program
    /// listens already, or the socket cannot be made).
    bool listen();

  signals:
    /// A later start handed these files over (absolute paths; may be empty).
    void filesReceived(const QStringList &files);

  private:
    void acceptConnection();

    QLocalServer *server_;
};

/// The files of a command line as absolute paths, options left out ("--" ends the options).
QStringList commandLineFiles(const QStringList &arguments);

} // namespace tarvellite::ui
