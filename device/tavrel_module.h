// libtavrel.so opened by name, and its functions found by name. The program's binding, the
// command line, the tools and the tests all open the library through this one piece.
#ifndef ORVANE_DEVICE_TAVREL_MODULE_H
#define ORVANE_DEVICE_TAVREL_MODULE_H

#include <filesystem>
#include <memory>
#include <string>

namespace orvane {

class TavrelModule {
public:
    // Tries programFolder/fileName first (when a folder is given), then fileName on the
    // normal library path. Throws RuntimeFailure 53 when neither loads.
    TavrelModule(const std::filesystem::path& programFolder, const std::string& fileName);

    // The function of that name; throws RuntimeFailure 453 when the library lacks it.
    void* symbol(const char* name) const;
    template <class Function> void bind(Function& function, const char* name) const {
        function = reinterpret_cast<Function>(symbol(name));
    }
    // The path the library was loaded from.
    const std::string& path() const { return path_; }

private:
    struct Closer {
        void operator()(void* handle) const;
    };
    std::unique_ptr<void, Closer> handle_;
    std::string path_;
};

// Folder of the running program, from /proc/self/exe; empty if it cannot be read.
std::filesystem::path runningProgramFolder();

} // namespace orvane

#endif
