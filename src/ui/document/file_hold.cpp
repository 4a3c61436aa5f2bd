#include "ui/document/file_hold.h"

#include <QFile>
#include <fcntl.h>
#include <unistd.h>

namespace tarvellite::ui {

namespace {

struct flock wholeFile(short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    lock.l_pid = 0; // required for open-file-description locks
    return lock;
}

} // namespace

bool FileHold::take(const QString &path) {
    release();
    if (path.isEmpty())
        return false;
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct flock lock = wholeFile(F_RDLCK);
    if (::fcntl(fd, F_OFD_SETLK, &lock) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    path_ = path;
    return true;
}

void FileHold::release() {
    if (fd_ >= 0)
        ::close(fd_); // closing the description drops its lock
    fd_ = -1;
    path_.clear();
}

bool FileHold::heldElsewhere(const QString &path) {
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct flock lock = wholeFile(F_WRLCK);
    const bool held = ::fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
    ::close(fd);
    return held;
}

} // namespace tarvellite::ui
