// A fresh folder under the system's temporary folder, removed with everything in it.
#ifndef ORVANE_TESTS_FIRMWARE_TEMP_FOLDER_H
#define ORVANE_TESTS_FIRMWARE_TEMP_FOLDER_H

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace orvane::test {

class FirmwareFolder {
public:
    FirmwareFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orvane-firmware-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    FirmwareFolder(const FirmwareFolder&) = delete;
    FirmwareFolder& operator=(const FirmwareFolder&) = delete;
    ~FirmwareFolder() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    std::string write(const std::string& name, const std::string& content) const {
        std::ofstream(path_ / name, std::ios::binary) << content;
        return file(name);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace orvane::test

#endif
