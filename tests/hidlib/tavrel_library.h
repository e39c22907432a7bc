// libtavrel.so loaded by name at run time, as the program loads it, with every plain
// function bound at once, so that the tests call the C interface exactly as exported.
#ifndef TESTS_HIDLIB_TAVREL_LIBRARY_H
#define TESTS_HIDLIB_TAVREL_LIBRARY_H

#include <tavrel/tavrel.h>

#include "device/tavrel_module.h"

class TavrelLibrary {
public:
    // The library beside the test, as the program finds it beside itself.
    TavrelLibrary() : module_(orvane::runningProgramFolder(), "libtavrel.so") {
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
    template <typename Function> void bind(Function& function, const char* name) {
        module_.bind(function, name);
    }

    orvane::TavrelModule module_;
};

#endif
