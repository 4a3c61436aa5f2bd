#include "ui/document/recovery.h"

#include "core/app/settings.h"
#include "core/document/rich_text.h"
#include "ui/document/document_io.h"
#include "ui/document/model_mapping.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QPointer>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <fcntl.h>
#include <unistd.h>

namespace tarvellite::ui {

namespace {

QString lockPathOf(const QString &path) {
    return path + QStringLiteral(".lock");
}

std::string native(const QString &path) {
    return QFile::encodeName(path).toStdString();
}

std::u16string units16(const QString &s) {
    return std::u16string(reinterpret_cast<const char16_t *>(s.utf16()), std::size_t(s.size()));
}

/// Tries an exclusive lock on `lockPath` through a new open file description; -1 when another
/// holds it (or it cannot be made).
int tryLock(const QString &lockPath) {
    const int fd =
        ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return -1;
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    if (::fcntl(fd, F_OFD_SETLK, &lock) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

QString recoveryFolder(const Settings &settings) {
    return QString::fromStdString(settings.temporaryFolder());
}

ProtectedPath protectedPathFor(const CTarvelLiteDoc &doc, const Settings &settings) {
    const QString path = doc.path();
    if (!path.isEmpty() && std::size_t(path.size()) <= maxRecoveryPathUnits)
        return {path, doc.pathUnconfirmed()};
    QString name =
        QString::fromStdString(settings.defaultUserPath) + doc.title() + QStringLiteral(".tvl");
    name.remove(QLatin1Char('*'));
    if (std::size_t(name.size()) <= maxRecoveryPathUnits)
        return {name, true};
    return {QString(), true};
}

std::optional<bool> protectsMadeUpPath(const QString &recoveryFile) {
    static const QRegularExpression form(QStringLiteral("^~tv([0-9a-fA-F]+)\\.tmp$"));
    const QRegularExpressionMatch match = form.match(QFileInfo(recoveryFile).fileName());
    if (!match.hasMatch())
        return std::nullopt;
    const QString number = match.captured(1);
    return (QString(number.back()).toInt(nullptr, 16) & 1) != 0;
}

// ---------------------------------------------------------------------------------------------
// RecoveryWriter

RecoveryWriter::RecoveryWriter() : thread_([this] { run(); }) {}

RecoveryWriter::~RecoveryWriter() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void RecoveryWriter::post(std::function<void()> job) {
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void RecoveryWriter::wait() {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return jobs_.empty() && !running_; });
}

bool RecoveryWriter::idle() {
    std::lock_guard lock(mutex_);
    return jobs_.empty() && !running_;
}

void RecoveryWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (jobs_.empty()) {
            if (stopping_)
                return;
            continue;
        }
        std::function<void()> job = std::move(jobs_.front());
        jobs_.pop_front();
        running_ = true;
        lock.unlock();
        job();
        lock.lock();
        running_ = false;
        if (jobs_.empty())
            done_.notify_all();
    }
}

// ---------------------------------------------------------------------------------------------
// RecoveryFile

RecoveryFile::RecoveryFile(RecoveryWriter *writer) : writer_(writer) {}

RecoveryFile::~RecoveryFile() {
    // The file stays; the lock goes once the writes asked for are done.
    if (lockFd_ >= 0)
        after([fd = lockFd_] { ::close(fd); });
}

void RecoveryFile::after(std::function<void()> job) {
    if (writer_)
        writer_->post(std::move(job));
    else
        job();
}

bool RecoveryFile::lock(const QString &path) {
    const int fd = tryLock(lockPathOf(path));
    if (fd < 0)
        return false;
    if (lockFd_ >= 0)
        after([old = lockFd_] { ::close(old); });
    lockFd_ = fd;
    return true;
}

Status RecoveryFile::queueWrite(std::shared_ptr<const RichDocument> model, const PageLayout &layout,
                                const QString &folder, const ProtectedPath &protectedPath,
                                std::function<void(const Status &)> written) {
    if (!QDir().mkpath(folder))
        return Error{"Cannot create the folder " + folder.toStdString()};
    if (path_.isEmpty()) {
        // A name nobody uses, locked before anything is written under it.
        for (int attempt = 0; attempt < 64 && path_.isEmpty(); ++attempt) {
            // Odd for a made-up path, even for the document's own (see protectsMadeUpPath).
            const quint32 number =
                (QRandomGenerator::global()->generate() & ~1u) | (protectedPath.madeUp ? 1u : 0u);
            const QString candidate = QDir(folder).filePath(
                QStringLiteral("~tv%1.tmp").arg(number, 8, 16, QLatin1Char('0')));
            if (!QFileInfo::exists(candidate) && !QFileInfo::exists(lockPathOf(candidate)) &&
                lock(candidate))
                path_ = candidate;
        }
        if (path_.isEmpty())
            return Error{"Cannot make a recovery file in " + folder.toStdString()};
    }
    ++*pending_;
    after([pending = pending_, target = native(path_), model = std::move(model), layout,
           protectedUnits = units16(protectedPath.path), written = std::move(written)] {
        // A recovery copy has the own header with the protected path, whatever its name says.
        const Status s =
            WriteDocumentFile(target, *model, layout, TextFileFormat::unicode(), protectedUnits);
        --*pending;
        written(s);
    });
    return {};
}

void RecoveryFile::write(std::shared_ptr<const RichDocument> model, const PageLayout &layout,
                         const QString &folder, const ProtectedPath &protectedPath,
                         QObject *context, std::function<void(const Status &)> done) {
    // The result goes back to the thread of `context`, or straight to `done` without a writer.
    std::function<void(const Status &)> written = done;
    if (writer_)
        written = [context = QPointer<QObject>(context), done](const Status &status) {
            if (done && context)
                QMetaObject::invokeMethod(
                    context.data(), [done, status] { done(status); }, Qt::QueuedConnection);
        };
    if (!written)
        written = [](const Status &) {};
    if (Status s = queueWrite(std::move(model), layout, folder, protectedPath, written); !s)
        written(s);
}

Status RecoveryFile::writeNow(CTarvelLiteView &view, const QString &folder,
                              const ProtectedPath &protectedPath) {
    auto model = std::make_shared<const RichDocument>(richDocumentFrom(view.document()));
    auto result = std::make_shared<Status>();
    if (Status s = queueWrite(std::move(model), view.getDocument()->pageLayout(), folder,
                              protectedPath, [result](const Status &s) { *result = s; });
        !s)
        return s;
    if (writer_)
        writer_->wait();
    return *result;
}

bool RecoveryFile::adopt(const QString &path) {
    if (!lock(path))
        return false;
    path_ = path;
    return true;
}

void RecoveryFile::discard() {
    if (path_.isEmpty())
        return;
    after([file = native(path_), lockFile = native(lockPathOf(path_)), fd = lockFd_] {
        ::unlink(file.c_str());
        ::unlink(lockFile.c_str());
        if (fd >= 0)
            ::close(fd);
    });
    lockFd_ = -1;
    path_.clear();
}

// ---------------------------------------------------------------------------------------------
// Start-up

std::vector<std::unique_ptr<RecoveryFile>> adoptLeftRecoveryFiles(const QString &folder,
                                                                  RecoveryWriter *writer) {
    QDir dir(folder);
    std::vector<std::unique_ptr<RecoveryFile>> found;
    if (!dir.exists())
        return found;
    // What an interrupted write left ("~tv….tmp.XXXXXX") and locks whose copy is gone: each
    // only when no running instance holds the lock of its copy.
    for (const QFileInfo &left :
         dir.entryInfoList({QStringLiteral("~tv*.tmp.*")}, QDir::Files | QDir::Hidden)) {
        const QString name = left.fileName();
        const QString copy = dir.filePath(name.left(name.indexOf(QLatin1String(".tmp.")) + 4));
        const bool isLock = name.endsWith(QLatin1String(".tmp.lock"));
        if (isLock && QFileInfo::exists(copy))
            continue;
        const int fd = tryLock(lockPathOf(copy));
        if (fd < 0)
            continue; // its copy is being written by another instance
        QFile::remove(left.filePath());
        if (!QFileInfo::exists(copy))
            QFile::remove(lockPathOf(copy));
        ::close(fd);
    }
    const QFileInfoList files = dir.entryInfoList(
        {QStringLiteral("~tv*.tmp")}, QDir::Files | QDir::Hidden, QDir::Time | QDir::Reversed);
    for (const QFileInfo &file : files) {
        auto recovery = std::make_unique<RecoveryFile>(writer);
        if (!recovery->adopt(file.filePath()))
            continue; // another instance's window holds it
        if (file.size() == 0) {
            recovery->discard();
            continue;
        }
        found.push_back(std::move(recovery));
    }
    return found;
}

} // namespace tarvellite::ui
