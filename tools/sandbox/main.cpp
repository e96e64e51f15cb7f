// Entry of the sandbox DLL, run by the simulated host: simhost.exe libsandbox.dll ARGS...
#include <windows.h>

#include <cstdio>
#include <iostream>

#include "tools/sandbox/sandbox.h"
#include "tools/sandbox/simulation.h"

namespace {

// A fault in a plug-in (or the sandbox) ends the run with a message instead of a debugger.
LONG WINAPI ReportFault(EXCEPTION_POINTERS* info) {
    std::fflush(stdout);
    std::fprintf(stderr,
                 "sandbox: the simulated host faulted (exception 0x%08lX at 0x%08lX) in %s\n",
                 info->ExceptionRecord->ExceptionCode,
                 static_cast<unsigned long>(
                     reinterpret_cast<uintptr_t>(info->ExceptionRecord->ExceptionAddress)),
                 sandbox::SandboxActivity());
    std::fflush(stderr);
    ExitProcess(3);
}

}  // namespace

extern "C" __declspec(dllexport) int RunTests(int argc, char** argv) {
    SetUnhandledExceptionFilter(ReportFault);
    std::vector<std::string> args(argv + 1, argv + argc);
    return sandbox::SandboxMain(args, std::cout, std::cerr);
}
