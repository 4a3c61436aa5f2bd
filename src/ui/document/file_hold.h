#pragma once

#include <QString>

namespace tarvellite::ui {

/// The program's hold on a document's file while it is open.
///
/// A read-only descriptor carrying an open-file-description read lock (`F_OFD_SETLK`) on the
/// whole file. Another instance of the program that asks `heldElsewhere` before it writes the
/// file sees the lock and refuses. Unlike a classic POSIX lock, this one is not dropped when
/// the process closes some other descriptor of the same file (a loader's, a backup copy's).
/// Linux has no mandatory deny-write sharing: programs that do not ask are not stopped.
class FileHold {
  public:
    FileHold() = default;
    ~FileHold() { release(); }
    FileHold(const FileHold &) = delete;
    FileHold &operator=(const FileHold &) = delete;

    /// Releases any earlier hold, then holds `path`. An empty path only releases. Returns
    /// false when the file cannot be opened or locked; the document stays usable.
    bool take(const QString &path);
    void release();
    bool held() const { return fd_ >= 0; }
    const QString &path() const { return path_; }

    /// Whether another open file description (another instance, or another document of this
    /// one) holds `path` against writers.
    static bool heldElsewhere(const QString &path);

  private:
    int fd_ = -1;
    QString path_;
};

} // namespace tarvellite::ui
