#include "device/tavrel_module.h"

#include <dlfcn.h>

#include <system_error>

#include "device/runtime_failure.h"

namespace orvane {

void TavrelModule::Closer::operator()(void* handle) const {
    if (handle) dlclose(handle);
}

TavrelModule::TavrelModule(const std::filesystem::path& programFolder,
                           const std::string& fileName) {
    if (!programFolder.empty()) {
        path_ = (programFolder / fileName).string();
        handle_.reset(dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL));
    }
    if (!handle_) {
        path_ = fileName;
        handle_.reset(dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL));
    }
    if (!handle_) throw RuntimeFailure(failure::kFileNotFound, "File not found: tavrel");
}

void* TavrelModule::symbol(const char* name) const {
    void* function = dlsym(handle_.get(), name);
    if (!function)
        throw RuntimeFailure(failure::kEntryPointMissing,
                             std::string("Can't find DLL entry point ") + name + " in tavrel");
    return function;
}

std::filesystem::path runningProgramFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return exe.parent_path();
}

} // namespace orvane
