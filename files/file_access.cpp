#include "files/file_access.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane::files {
namespace {

FileError lastError() {
    return FileError{std::strerror(errno)};
}

// Closes the descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    // Closes now and reports whether the close succeeded (it may flush pending data).
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// Removes the temporary file unless it was renamed into place.
class TemporaryName {
public:
    explicit TemporaryName(std::string name) : name_(std::move(name)) {}
    TemporaryName(const TemporaryName&) = delete;
    TemporaryName& operator=(const TemporaryName&) = delete;
    ~TemporaryName() {
        if (!kept_) ::unlink(name_.c_str());
    }
    const std::string& name() const { return name_; }
    void keep() { kept_ = true; }

private:
    std::string name_;
    bool kept_ = false;
};

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// A link is replaced in its target's folder, not turned into a plain file.
std::string resolvedTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            std::string resolved(real);
            std::free(real);
            return resolved;
        }
    }
    return path;
}

// A file or folder that nobody may write is read-only for us too, also when running as
// root, which the system would let write anywhere.
bool writeProtected(const struct stat& info) {
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

} // namespace

std::variant<std::string, FileError> readWholeFile(const std::string& path) {
    // Without blocking: opening a named pipe would otherwise wait for a writer forever.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0) return lastError();
    // Pipes, devices and folders are no settings files, and reading them may never end.
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) return lastError();
    if (S_ISDIR(info.st_mode)) return FileError{std::strerror(EISDIR)};
    if (!S_ISREG(info.st_mode)) return FileError{std::strerror(EINVAL)};
    std::string data;
    char buffer[8192];
    while (data.size() < kMaxReadSize) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            return lastError();
        }
        if (got == 0) break;
        data.append(buffer, static_cast<std::size_t>(got));
    }
    return data;
}

std::variant<std::monostate, FileError> replaceFile(const std::string& path,
                                                    std::string_view data) {
    const std::string target = resolvedTarget(path);
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && ::access(target.c_str(), W_OK) != 0) return lastError();
    if (exists && S_ISDIR(existing.st_mode)) return FileError{std::strerror(EISDIR)};
    if (exists && writeProtected(existing)) return FileError{std::strerror(EACCES)};

    // A short fixed name, so that a target name near the length limit still has a partner.
    const auto slash = target.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string(".") : target.substr(0, slash + 1);
    struct stat folderInfo {};
    if (::stat(folder.c_str(), &folderInfo) == 0 && S_ISDIR(folderInfo.st_mode) &&
        writeProtected(folderInfo))
        return FileError{std::strerror(EACCES)};
    std::string pattern = folder + (slash == std::string::npos ? "/" : "") + ".orvane-save-XXXXXX";
    const int raw = ::mkstemp(pattern.data());
    if (raw < 0) return lastError();
    Descriptor fd(raw);
    TemporaryName temporary(pattern);

    const mode_t mode = exists ? (existing.st_mode & 07777) : [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return static_cast<mode_t>(0666 & ~mask);
    }();
    if (::fchmod(fd.get(), mode) != 0) return lastError();
    if (!writeAll(fd.get(), data)) return lastError();
    if (::fsync(fd.get()) != 0) return lastError();
    if (!fd.close()) return lastError();
    if (::rename(temporary.name().c_str(), target.c_str()) != 0) return lastError();
    temporary.keep();
    return std::monostate{};
}

} // namespace orvane::files
