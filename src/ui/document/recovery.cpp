#include "ui/document/recovery.h"

#include "core/app/file_io.h"
#include "core/app/settings.h"
#include "core/document/document_header.h"
#include "core/document/document_io.h"
#include "core/document/output_sink.h"
#include "ui/document/model_mapping.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <fcntl.h>
#include <unistd.h>

namespace tarvellite::ui {

namespace {

QString lockPathOf(const QString &path) {
    return path + QStringLiteral(".lock");
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

QString protectedPathFor(const CTarvelLiteDoc &doc, const Settings &settings) {
    const QString path = doc.path();
    if (!path.isEmpty() && std::size_t(path.size()) <= maxRecoveryPathUnits)
        return path;
    QString name =
        QString::fromStdString(settings.defaultUserPath) + doc.title() + QStringLiteral(".tvl");
    name.remove(QLatin1Char('*'));
    return name;
}

RecoveryFile::~RecoveryFile() {
    unlock();
}

bool RecoveryFile::lock(const QString &path) {
    unlock();
    lockFd_ = tryLock(lockPathOf(path));
    return lockFd_ >= 0;
}

void RecoveryFile::unlock() {
    if (lockFd_ >= 0) {
        ::close(lockFd_);
        lockFd_ = -1;
    }
}

Status RecoveryFile::write(CTarvelLiteView &view, const QString &folder,
                           const QString &protectedPath) {
    if (!QDir().mkpath(folder))
        return Error{"Cannot create the folder " + folder.toStdString()};
    if (path_.isEmpty()) {
        // A name nobody uses, locked before anything is written under it.
        for (int attempt = 0; attempt < 64 && path_.isEmpty(); ++attempt) {
            const QString candidate = QDir(folder).filePath(
                QStringLiteral("~tv%1.tmp")
                    .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
            if (!QFileInfo::exists(candidate) && !QFileInfo::exists(lockPathOf(candidate)) &&
                lock(candidate))
                path_ = candidate;
        }
        if (path_.isEmpty())
            return Error{"Cannot make a recovery file in " + folder.toStdString()};
    }
    const RichDocument model = richDocumentFrom(view.document());
    Bytes out;
    BytesSink sink(out);
    if (Status s = tarvellite::StoreDocumentBody(
            "recovery.tmp", model, view.getDocument()->pageLayout(), sink, units16(protectedPath));
        !s)
        return s;
    return writeFileAtomically(QFile::encodeName(path_).toStdString(), out);
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
    QFile::remove(path_);
    QFile::remove(lockPathOf(path_));
    unlock();
    path_.clear();
}

std::vector<std::unique_ptr<RecoveryFile>> adoptLeftRecoveryFiles(const QString &folder) {
    QDir dir(folder);
    std::vector<std::unique_ptr<RecoveryFile>> found;
    if (!dir.exists())
        return found;
    // The temporary files of a write that was interrupted.
    for (const QFileInfo &stale :
         dir.entryInfoList({QStringLiteral("~tv*.tmp.*")}, QDir::Files | QDir::Hidden)) {
        if (stale.suffix() == QLatin1String("lock"))
            continue;
        QFile::remove(stale.filePath());
    }
    const QFileInfoList files = dir.entryInfoList(
        {QStringLiteral("~tv*.tmp")}, QDir::Files | QDir::Hidden, QDir::Time | QDir::Reversed);
    for (const QFileInfo &file : files) {
        auto recovery = std::make_unique<RecoveryFile>();
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
