// libtavrel.so loaded by name at run time, as the program loads it, with each plain
// function bound by name.
#ifndef TESTS_HIDLIB_TAVREL_LIBRARY_H
#define TESTS_HIDLIB_TAVREL_LIBRARY_H

#include <tavrel/tavrel.h>

#include <dlfcn.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

class TavrelLibrary {
public:
    TavrelLibrary() : handle_(dlopen("libtavrel.so", RTLD_NOW | RTLD_LOCAL)) {
        // A sanitizer runtime that intercepts dlopen hides the executable's run path; the
        // library then comes from beside the executable.
        if (!handle_) {
            const auto self = std::filesystem::read_symlink("/proc/self/exe");
            handle_.reset(dlopen((self.parent_path() / "libtavrel.so").c_str(), RTLD_NOW));
        }
        if (!handle_) throw std::runtime_error(std::string("dlopen: ") + dlerror());
        bind(GetList, "GetList");
        bind(Open, "Open");
        bind(CloseRead, "CloseRead");
        bind(CloseWrite, "CloseWrite");
        bind(GetReportLengths, "GetReportLengths");
        bind(SetInstance, "SetInstance");
        bind(Read, "Read");
        bind(ReadTimeout, "ReadTimeout");
        bind(Write, "Write");
        bind(GetLibVersion, "GetLibVersion");
        bind(ShowVersion, "ShowVersion");
        bind(GetOpenError, "GetOpenError");
    }

    decltype(&::GetList) GetList = nullptr;
    decltype(&::Open) Open = nullptr;
    decltype(&::CloseRead) CloseRead = nullptr;
    decltype(&::CloseWrite) CloseWrite = nullptr;
    decltype(&::GetReportLengths) GetReportLengths = nullptr;
    decltype(&::SetInstance) SetInstance = nullptr;
    decltype(&::Read) Read = nullptr;
    decltype(&::ReadTimeout) ReadTimeout = nullptr;
    decltype(&::Write) Write = nullptr;
    decltype(&::GetLibVersion) GetLibVersion = nullptr;
    decltype(&::ShowVersion) ShowVersion = nullptr;
    decltype(&::GetOpenError) GetOpenError = nullptr;

private:
    struct Closer {
        void operator()(void* handle) const { dlclose(handle); }
    };

    template <typename Function> void bind(Function& function, const char* name) {
        void* symbol = dlsym(handle_.get(), name);
        if (!symbol) throw std::runtime_error(std::string("missing symbol ") + name);
        function = reinterpret_cast<Function>(symbol);
    }

    std::unique_ptr<void, Closer> handle_;
};

#endif
