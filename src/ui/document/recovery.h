#pragma once

#include "core/app/result.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace tarvellite {
struct Settings;
}

namespace tarvellite::ui {

class CTarvelLiteDoc;
class CTarvelLiteView;

/// The folder of the recovery files: the backup folder's "Temp".
QString recoveryFolder(const Settings &settings);

/// The path a recovery copy protects: the document's path, or for an untitled document (or a
/// path too long for the recovery header, which is never cut) the user's document folder +
/// title + ".tvl", without "*".
QString protectedPathFor(const CTarvelLiteDoc &doc, const Settings &settings);

/// One document window's recovery copy, "~tv<hex>.tmp" in the recovery folder.
///
/// Every write goes through a temporary file and a rename, so a crash during an auto-save leaves
/// the previous good copy. While the window lives, an open-file-description lock on
/// "<name>.lock" beside it tells other instances of the program that the copy is in use.
/// Destroying the object keeps the file (a crash keeps it too); `discard` deletes it when its
/// window closes normally.
class RecoveryFile {
  public:
    RecoveryFile() = default;
    ~RecoveryFile();
    RecoveryFile(const RecoveryFile &) = delete;
    RecoveryFile &operator=(const RecoveryFile &) = delete;

    /// Writes the view's text as a recovery copy protecting `protectedPath`, in `folder` (made
    /// when missing). The first write chooses the file's name.
    Status write(CTarvelLiteView &view, const QString &folder, const QString &protectedPath);
    /// Takes over `path`, found at start-up; false when another instance holds it.
    bool adopt(const QString &path);
    /// Deletes the copy (its window closed normally, or the document was saved).
    void discard();

    const QString &path() const { return path_; }
    bool isOpen() const { return !path_.isEmpty(); }

  private:
    bool lock(const QString &path);
    void unlock();

    QString path_;
    int lockFd_ = -1;
};

/// Takes over the recovery files an earlier run left in `folder` that no running instance
/// holds, oldest first; each is locked from the moment it is found, so two instances starting at
/// once never take the same file. Empty ones and the temporary files of an interrupted write
/// are deleted.
std::vector<std::unique_ptr<RecoveryFile>> adoptLeftRecoveryFiles(const QString &folder);

} // namespace tarvellite::ui
