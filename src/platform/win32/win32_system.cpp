// Power, programs, drives and the CD door: LockWorkStation, WMI, CreateProcess, ShellExecute, MCI.
// The SDK headers need <windows.h> first.
// clang-format off
#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>
// clang-format on

#include <cstdio>
#include <string>

#include "platform/log.hpp"
#include "platform/win32/win32_platform.hpp"
#include "platform/win32/win32_text.hpp"
#include "platform/win32/wmi.hpp"

namespace mavorin::win32 {

void Win32Platform::lock_workstation() {
    if (!LockWorkStation()) log_failure("lock", last_error_text());
}

void Win32Platform::monitor_off() {
    if (main_)
        SendMessageA(main_, WM_SYSCOMMAND, SC_MONITORPOWER, 2);
    else
        log_failure("screen off", "no window to send the request from");
}

void Win32Platform::shutdown() {
    bool called = false;
    for_each_operating_system(
        [&](IDispatch* os) { called = call_method(os, L"Shutdown") || called; });
    if (!called) log_failure("shutdown", "WMI Win32_OperatingSystem.Shutdown failed");
}

void Win32Platform::reboot() {
    bool called = false;
    for_each_operating_system(
        [&](IDispatch* os) { called = call_method(os, L"Reboot") || called; });
    if (!called) log_failure("reboot", "WMI Win32_OperatingSystem.Reboot failed");
}

void Win32Platform::run_program(const std::string& path) {
    if (path.empty()) {
        log_failure("launch", "no program given");
        return;
    }
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
    const DWORD create_error = GetLastError();
    const auto rc = reinterpret_cast<INT_PTR>(
        ShellExecuteW(main_, L"open", resolve(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (rc <= 32)
        log_failure("launch", path + ": " + error_text(create_error) + "; ShellExecute error " +
                                  std::to_string(rc));
}

void Win32Platform::open_with_default_handler(const std::string& target) {
    const auto rc = reinterpret_cast<INT_PTR>(
        ShellExecuteW(main_, L"Open", widen(target).c_str(), nullptr, nullptr, 1));
    if (rc <= 32) log_failure("launch", target + ": ShellExecute error " + std::to_string(rc));
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

void Win32Platform::cd_door(const std::string& drive, CdDoor move) {
    mci_send("Open " + drive + " Type cdaudio Alias cd");
    mci_send(move == CdDoor::close ? "set cd door closed" : "set cd door open");
    mci_send("close cd");
}

void Win32Platform::mci_send(const std::string& command) {
    MCIERROR rc;
    if (_strnicmp(command.c_str(), "open ", 5) == 0) {
        char reply[256] = {};
        rc = mciSendStringA(command.c_str(), reply, 255, nullptr);
    } else {
        rc = mciSendStringA(command.c_str(), nullptr, 0, nullptr);
    }
    if (rc != 0) {
        char text[256] = {};
        if (!mciGetErrorStringA(rc, text, sizeof text))
            std::snprintf(text, sizeof text, "MCI error %lu", static_cast<unsigned long>(rc));
        log_failure("cd door", command + ": " + text);
    }
}

}  // namespace mavorin::win32
