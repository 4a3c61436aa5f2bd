#include "core/app/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
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

Status writeFileAtomically(const std::string &path, std::span<const std::uint8_t> data) {
    std::string tmp = path + ".XXXXXX";
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0)
        return systemError("Cannot create a temporary file for", path, errno);
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            ::unlink(tmp.c_str());
            return systemError("Cannot write", path, err);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        return systemError("Cannot write", path, err);
    }
    ::chmod(tmp.c_str(), 0644);
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        return systemError("Cannot replace", path, err);
    }
    return {};
}

std::string withTrailingSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/')
        folder.push_back('/');
    return folder;
}

} // namespace tarvellite
