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

bool DescriptorSink::write(std::span<const std::uint8_t> bytes) {
    int error = 0;
    return writeAll(fd_, bytes, error);
}

} // namespace tarvellite
