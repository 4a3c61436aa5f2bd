#pragma once

#include "core/app/result.h"
#include "core/document/document_header.h"

#include <QString>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class QObject;

namespace tarvellite {
struct RichDocument;
struct Settings;
} // namespace tarvellite

namespace tarvellite::ui {

class CTarvelLiteDoc;
class CTarvelLiteView;

/// The folder of the recovery files: the backup folder's "Temp".
QString recoveryFolder(const Settings &settings);

/// The path a recovery copy protects.
struct ProtectedPath {
    QString path;
    /// Made up for a document without a path of its own: no file there belongs to it.
    bool madeUp = false;
};

/// The path a recovery copy protects: the document's path, or for an untitled document the
/// user's document folder + title + ".tvl", without "*". A path too long for the recovery
/// header is never cut: the untitled rule gives the path instead, and when that is too long as
/// well the copy protects no path (the recovered document comes back untitled).
ProtectedPath protectedPathFor(const CTarvelLiteDoc &doc, const Settings &settings);

/// Whether the recovery copy `recoveryFile` protects a made-up path. The copy of such a
/// document is named with an odd number, that of a document with a path of its own with an even
/// one (both of the usual form "~tv<hex>.tmp"), so that a file found at start-up where an
/// untitled document was bound is never taken for that document's own. A name of another form
/// answers nothing (nullopt).
std::optional<bool> protectsMadeUpPath(const QString &recoveryFile);

/// Writes recovery copies on a thread of its own, one after another in the order they were
/// asked for, so that an auto-save pass costs the event loop only a snapshot of each
/// document's text.
class RecoveryWriter {
  public:
    RecoveryWriter();
    /// Finishes everything asked for, then stops.
    ~RecoveryWriter();
    RecoveryWriter(const RecoveryWriter &) = delete;
    RecoveryWriter &operator=(const RecoveryWriter &) = delete;

    /// Runs `job` on the writer's thread after everything asked for before.
    void post(std::function<void()> job);
    /// Waits until everything asked for so far has been done.
    void wait();
    /// Whether nothing is waiting or running.
    bool idle();

  private:
    void run();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::deque<std::function<void()>> jobs_;
    bool running_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

/// One document window's recovery copy, "~tv<hex>.tmp" in the recovery folder.
///
/// Every write goes through a temporary file and a rename, so a crash during an auto-save leaves
/// the previous good copy. While the window lives, an open-file-description lock on
/// "<name>.lock" beside it tells other instances of the program that the copy is in use.
/// Destroying the object keeps the file (a crash keeps it too); `discard` deletes it when its
/// window closes normally or its document has been saved.
///
/// With a `RecoveryWriter`, writes and deletions run on its thread in the order asked for
/// (a deletion asked for after a write happens after it); without one they run at once.
class RecoveryFile {
  public:
    explicit RecoveryFile(RecoveryWriter *writer = nullptr);
    ~RecoveryFile();
    RecoveryFile(const RecoveryFile &) = delete;
    RecoveryFile &operator=(const RecoveryFile &) = delete;

    /// Writes `model` as a recovery copy protecting `protectedPath`, in `folder` (made when
    /// missing). The first write chooses the file's name. `done` gets the result on the thread
    /// of `context` (dropped when `context` is gone first); without a writer it is called before
    /// this returns.
    void write(std::shared_ptr<const RichDocument> model, const PageLayout &layout,
               const QString &folder, const ProtectedPath &protectedPath, QObject *context,
               std::function<void(const Status &)> done);
    /// Writes a snapshot of the view's text and waits until it is on the disk.
    Status writeNow(CTarvelLiteView &view, const QString &folder,
                    const ProtectedPath &protectedPath);
    /// Takes over `path`, found at start-up; false when another instance holds it.
    bool adopt(const QString &path);
    /// Deletes the copy (its window closed normally, or the document was saved).
    void discard();

    const QString &path() const { return path_; }
    bool isOpen() const { return !path_.isEmpty(); }
    /// Whether a write asked for has not finished yet.
    bool writing() const { return *pending_ > 0; }

  private:
    bool lock(const QString &path);
    /// Chooses the name (first time) and asks for the write; `written` gets the result on the
    /// thread that wrote. Fails at once when the folder or the name cannot be made.
    Status queueWrite(std::shared_ptr<const RichDocument> model, const PageLayout &layout,
                      const QString &folder, const ProtectedPath &protectedPath,
                      std::function<void(const Status &)> written);
    /// Runs `job` after the writes asked for before (at once without a writer).
    void after(std::function<void()> job);

    RecoveryWriter *writer_;
    QString path_;
    int lockFd_ = -1;
    std::shared_ptr<std::atomic<int>> pending_ = std::make_shared<std::atomic<int>>(0);
};

/// Takes over the recovery files an earlier run left in `folder` that no running instance
/// holds, oldest first; each is locked from the moment it is found, so two instances starting at
/// once never take the same file. Empty ones are deleted, and so are the temporary files of an
/// interrupted write and the lock files whose copy is gone, unless a running instance holds
/// them.
std::vector<std::unique_ptr<RecoveryFile>> adoptLeftRecoveryFiles(const QString &folder,
                                                                  RecoveryWriter *writer = nullptr);

} // namespace tarvellite::ui
