#include "core/document/file_access.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tarvellite {

namespace {

Error systemError(const std::string &what, const std::string &path, int err) {
    return Error{what + " " + path + ": " + std::strerror(err)};
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes, int &error) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

Result<MappedFile> MappedFile::open(const std::string &path, std::size_t maxBytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return systemError("Cannot open", path, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode) || !S_ISREG(st.st_mode)) {
        const int err = S_ISDIR(st.st_mode) ? EISDIR : errno ? errno : EINVAL;
        ::close(fd);
        return systemError("Cannot read", path, err);
    }
    if (st.st_size < 0 || static_cast<std::size_t>(st.st_size) > maxBytes) {
        ::close(fd);
        return Error{"File too large: " + path + " (" + std::to_string(st.st_size) +
                     " bytes, at most " + std::to_string(maxBytes) + ")"};
    }
    MappedFile file;
    file.size_ = static_cast<std::size_t>(st.st_size);
    if (file.size_ > 0) {
        void *p = ::mmap(nullptr, file.size_, PROT_READ, MAP_PRIVATE, fd, 0);
        if (p == MAP_FAILED) {
            const int err = errno;
            ::close(fd);
            return systemError("Cannot read", path, err);
        }
        ::madvise(p, file.size_, MADV_SEQUENTIAL);
        file.data_ = static_cast<const std::uint8_t *>(p);
    }
    ::close(fd);
    return file;
}

MappedFile::MappedFile(MappedFile &&other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
      released_(std::exchange(other.released_, 0)) {}

MappedFile &MappedFile::operator=(MappedFile &&other) noexcept {
    if (this != &other) {
        this->~MappedFile();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        released_ = std::exchange(other.released_, 0);
    }
    return *this;
}

MappedFile::~MappedFile() {
    if (data_)
        ::munmap(const_cast<std::uint8_t *>(data_), size_);
}

void MappedFile::release(std::size_t offset) {
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::size_t end = std::min(offset, size_) / page * page;
    if (!data_ || end <= released_)
        return;
    ::madvise(const_cast<std::uint8_t *>(data_) + released_, end - released_, MADV_DONTNEED);
    released_ = end;
}

AtomicFileSink::AtomicFileSink(std::string path) : path_(std::move(path)) {}

AtomicFileSink::~AtomicFileSink() {
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(temporary_.c_str());
    }
}

Status AtomicFileSink::open() {
    temporary_ = path_ + ".XXXXXX";
    fd_ = ::mkstemp(temporary_.data());
    if (fd_ < 0)
        return systemError("Cannot create a temporary file for", path_, errno);
    return {};
}

bool AtomicFileSink::write(std::span<const std::uint8_t> bytes) {
    if (fd_ < 0 || error_ != 0)
        return false;
    if (!writeAll(fd_, bytes, error_))
        return false;
    written_ += bytes.size();
    // Start writing what has come so far to the disk while more is made, so that the flush
    // before the rename waits only for the tail.
    constexpr std::size_t step = std::size_t(2) << 20;
    if (written_ - startedUpTo_ >= step) {
        ::sync_file_range(fd_, static_cast<off_t>(startedUpTo_),
                          static_cast<off_t>(written_ - startedUpTo_), SYNC_FILE_RANGE_WRITE);
        startedUpTo_ = written_;
    }
    return true;
}

Status AtomicFileSink::commit() {
    if (fd_ < 0)
        return systemError("Cannot write", path_, EBADF);
    const int fd = std::exchange(fd_, -1);
    int err = error_;
    if (err == 0 && ::fsync(fd) != 0)
        err = errno;
    if (::close(fd) != 0 && err == 0)
        err = errno;
    if (err == 0) {
        ::chmod(temporary_.c_str(), 0644);
        if (::rename(temporary_.c_str(), path_.c_str()) == 0)
            return {};
        err = errno;
        ::unlink(temporary_.c_str());
        return systemError("Cannot replace", path_, err);
    }
    ::unlink(temporary_.c_str());
    return systemError("Cannot write", path_, err);
}

bool DescriptorSink::write(std::span<const std::uint8_t> bytes) {
    int error = 0;
    return writeAll(fd_, bytes, error);
}

} // namespace tarvellite
