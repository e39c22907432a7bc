#include "firmware/core/firmware_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane::firmware {
namespace {

FileFailure lastError() {
    return FileFailure{std::strerror(errno)};
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    // Closing may flush pending data, so its failure counts.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// Removes the temporary file unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string name) : name_(std::move(name)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
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

// A folder nobody may write is read-only for us too, also when running as root.
bool writeProtected(const struct stat& info) {
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

} // namespace

bool fileExists(const std::string& name) {
    struct stat info {};
    return ::stat(name.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::variant<std::string, FileFailure> readFirmwareFile(const std::string& path) {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return lastError();
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) return lastError();
    if (S_ISDIR(info.st_mode)) return FileFailure{std::strerror(EISDIR)};
    const auto tooLarge = FileFailure{"larger than 4 MiB, more than any firmware"};
    if (info.st_size > static_cast<off_t>(kMaxFirmwareFileSize)) return tooLarge;
    std::string data;
    data.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[8192];
    while (true) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            return lastError();
        }
        if (got == 0) break;
        // A file that grows while it is read is held to the same limit.
        if (data.size() + static_cast<std::size_t>(got) > kMaxFirmwareFileSize) return tooLarge;
        data.append(buffer, static_cast<std::size_t>(got));
    }
    return data;
}

std::optional<FileFailure> writeFileReplacing(const std::string& path, std::string_view data) {
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) return FileFailure{std::strerror(EISDIR)};

    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
    struct stat folderInfo {};
    if (::stat(folder.empty() ? "/" : folder.c_str(), &folderInfo) == 0 &&
        writeProtected(folderInfo))
        return FileFailure{std::strerror(EACCES)};
    std::string pattern = folder + "/.orvane-firmware-XXXXXX";
    const int raw = ::mkstemp(pattern.data());
    if (raw < 0) return lastError();
    Descriptor fd(raw);
    TemporaryFile temporary(pattern);

    const mode_t mode = exists ? (existing.st_mode & 07777) : [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return static_cast<mode_t>(0666 & ~mask);
    }();
    if (::fchmod(fd.get(), mode) != 0) return lastError();
    if (!writeAll(fd.get(), data)) return lastError();
    if (::fsync(fd.get()) != 0) return lastError();
    if (!fd.close()) return lastError();
    if (::rename(temporary.name().c_str(), path.c_str()) != 0) return lastError();
    temporary.keep();
    return std::nullopt;
}

} // namespace orvane::firmware
