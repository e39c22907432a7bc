// A fresh folder under the system's temporary folder, removed with everything in it.
#ifndef ORVANE_TESTS_SUPPORT_COMMON_TEMPORARY_FOLDER_H
#define ORVANE_TESTS_SUPPORT_COMMON_TEMPORARY_FOLDER_H

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace orvane::test {

class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvane-config-XXXXXX");
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace orvane::test

#endif
