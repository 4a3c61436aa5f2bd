#include "core/app/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvellite {

namespace {

Error systemError(const std::string &what, const std::string &path, int err) {
    return Error{what + " " + path + ": " + std::strerror(err)};
}

} // namespace

Result<Bytes> readWholeFile(const std::string &path, std::size_t maxBytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return systemError("Cannot open", path, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return systemError("Cannot read", path, err);
    }
    if (S_ISDIR(st.st_mode)) {
        ::close(fd);
        return systemError("Cannot read", path, EISDIR);
    }
    if (st.st_size < 0 || static_cast<std::size_t>(st.st_size) > maxBytes) {
        ::close(fd);
        return Error{"File too large: " + path + " (" + std::to_string(st.st_size) +
                     " bytes, at most " + std::to_string(maxBytes) + ")"};
    }
    Bytes data;
    data.reserve(static_cast<std::size_t>(st.st_size));
    std::uint8_t buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            return systemError("Cannot read", path, err);
        }
        if (n == 0)
            break;
        if (data.size() + static_cast<std::size_t>(n) > maxBytes) {
            ::close(fd);
            return Error{"File too large: " + path};
        }
        data.insert(data.end(), buf, buf + n);
    }
    ::close(fd);
    return data;
}

bool fileExists(const std::string &path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

namespace {

/// The process's file-creation mask, read without changing it (another thread may be creating
/// a file at the same moment).
mode_t currentUmask() {
    mode_t mask = 022;
    if (std::FILE *status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned value = 0;
        while (std::fgets(line, sizeof line, status)) {
            if (std::sscanf(line, "Umask: %o", &value) == 1) {
                mask = static_cast<mode_t>(value);
                break;
            }
        }
        std::fclose(status);
    }
    return mask;
}

std::string folderOf(const std::string &path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

/// The file a write of `path` replaces: `path` itself, or the file a symbolic link names.
std::string replacedFile(const std::string &path) {
    std::string target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return target;
        char buffer[4096];
        const ssize_t n = ::readlink(target.c_str(), buffer, sizeof buffer - 1);
        if (n <= 0)
            return target;
        const std::string link(buffer, static_cast<std::size_t>(n));
        target = link.front() == '/' ? link : folderOf(target) + "/" + link;
    }
    return path;
}

/// `target` + ".XXXXXX", its file name shortened (at a whole UTF-8 character) when the
/// suffix would make it longer than a name may be.
std::string temporaryTemplate(const std::string &target) {
    constexpr std::size_t longestName = 255;
    constexpr std::string_view suffix = ".XXXXXX";
    const std::size_t slash = target.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::string head = target;
    if (head.size() - nameStart + suffix.size() > longestName) {
        std::size_t cut = nameStart + longestName - suffix.size();
        while (cut > nameStart && (static_cast<unsigned char>(head[cut]) & 0xC0) == 0x80)
            --cut;
        head.resize(cut);
    }
    return head + std::string(suffix);
}

} // namespace

std::string writeFailureReason(int err) {
    switch (err) {
    case ENOSPC: return "the disk is full (" + std::string(std::strerror(err)) + ")";
    case EDQUOT: return "the disk quota is used up (" + std::string(std::strerror(err)) + ")";
    case EFBIG:
        return "the file is larger than this system allows (" + std::string(std::strerror(err)) +
               ")";
    case EROFS: return "the disk is read-only (" + std::string(std::strerror(err)) + ")";
    default: return std::strerror(err);
    }
}

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {}

AtomicFile::~AtomicFile() {
    discard();
}

void AtomicFile::discard() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
    temporary_.clear();
}

Status AtomicFile::open() {
    discard();
    error_ = 0;
    written_ = flushedUpTo_ = 0;
    target_ = replacedFile(path_);
    std::string name = temporaryTemplate(target_);
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        return Error{"Cannot create a temporary file beside " + target_ + ": " +
                     writeFailureReason(errno)};
    fd_ = fd;
    temporary_ = std::move(name);
    // The new file takes the place of the old one with its permissions and, where this process
    // may give it, its owner; a new file gets what any new file would.
    struct stat st {};
    if (::stat(target_.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        // Refused unless this process may give the file away: it then stays ours.
        if ((st.st_uid != ::geteuid() || st.st_gid != ::getegid()) &&
            ::fchown(fd_, st.st_uid, st.st_gid) != 0) {
        }
        ::fchmod(fd_, st.st_mode & 07777);
    } else {
        ::fchmod(fd_, 0666 & ~currentUmask());
    }
    return {};
}

bool AtomicFile::write(std::span<const std::uint8_t> bytes) {
    if (fd_ < 0 || error_ != 0)
        return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error_ = errno;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    written_ += bytes.size();
    // Start putting what has come so far on the disk while more is made, so that the flush
    // before the rename waits only for the tail.
    constexpr std::size_t step = std::size_t(4) << 20;
    if (written_ - flushedUpTo_ >= step) {
        ::sync_file_range(fd_, static_cast<off_t>(flushedUpTo_),
                          static_cast<off_t>(written_ - flushedUpTo_), SYNC_FILE_RANGE_WRITE);
        flushedUpTo_ = written_;
    }
    return true;
}

Status AtomicFile::commit() {
    if (fd_ < 0) {
        discard();
        return Error{"Cannot write " + path_ + ": " + writeFailureReason(EBADF)};
    }
    int err = error_;
    if (err == 0 && ::fsync(fd_) != 0)
        err = errno;
    if (::close(fd_) != 0 && err == 0)
        err = errno;
    fd_ = -1;
    if (err != 0) {
        discard();
        return Error{"Cannot write " + target_ + ": " + writeFailureReason(err)};
    }
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        err = errno;
        discard();
        return Error{"Cannot replace " + target_ + ": " + writeFailureReason(err)};
    }
    temporary_.clear();
    // The rename itself reaches the disk with the folder.
    const int folder = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return {};
}

Status writeFileAtomically(const std::string &path, std::span<const std::uint8_t> data) {
    AtomicFile file(path);
    if (Status s = file.open(); !s)
        return s;
    file.write(data);
    return file.commit();
}

std::string withTrailingSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/')
        folder.push_back('/');
    return folder;
}

} // namespace tarvellite
