// Power, programs, drives and the CD door: LockWorkStation, WMI, CreateProcess, ShellExecute, MCI.
// The SDK headers need <windows.h> first.
// clang-format off
#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>
// clang-format on

#include "platform/win32/win32_platform.hpp"
#include "platform/win32/win32_text.hpp"
#include "platform/win32/wmi.hpp"

namespace mavorin::win32 {

void Win32Platform::lock_workstation() {
    LockWorkStation();
}

void Win32Platform::monitor_off() {
    if (main_) SendMessageA(main_, WM_SYSCOMMAND, SC_MONITORPOWER, 2);
}

void Win32Platform::shutdown() {
    for_each_operating_system([](IDispatch* os) { call_method(os, L"Shutdown"); });
}

void Win32Platform::reboot() {
    for_each_operating_system([](IDispatch* os) { call_method(os, L"Reboot"); });
}

void Win32Platform::run_program(const std::string& path) {
    if (path.empty()) return;
    // CreateProcess splits the command line itself (quotes, then prefixes at blanks, then the
    // search path): no cmd.exe in between. A document goes to its registered handler.
    std::wstring line = widen(path);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                       &pi)) {
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return;
    }
    ShellExecuteW(main_, L"open", resolve(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32Platform::open_with_default_handler(const std::string& target) {
    ShellExecuteW(main_, L"Open", widen(target).c_str(), nullptr, nullptr, 1);
}

void Win32Platform::end_program() {
    release_all();
    ExitProcess(0);
}

std::vector<std::string> Win32Platform::drive_roots() {
    std::vector<std::string> roots;
    for (char c = 'A'; c <= 'Z'; ++c) roots.push_back(std::string(1, c) + ":\\");
    return roots;
}

int Win32Platform::drive_type(const std::string& root) {
    return static_cast<int>(GetDriveTypeA(root.c_str()));
}

void Win32Platform::mci_send(const std::string& command) {
    if (_strnicmp(command.c_str(), "open ", 5) == 0) {
        char reply[256] = {};
        mciSendStringA(command.c_str(), reply, 255, nullptr);
    } else {
        mciSendStringA(command.c_str(), nullptr, 0, nullptr);
    }
}

}  // namespace mavorin::win32
