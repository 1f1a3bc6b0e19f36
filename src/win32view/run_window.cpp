// Opens the native window: the Win32 platform, the timer loop, the core window and its view.
// The SDK headers need <windows.h> first.
// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/frm_mavorin.hpp"
#include "cli/cli.hpp"
#include "platform/log.hpp"
#include "platform/win32/win32_platform.hpp"
#include "platform/win32/win32_recorder.hpp"
#include "record/record_command.hpp"
#include "win32view/main_window.hpp"
#include "win32view/win32_event_loop.hpp"

int mavorin::run_window(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--start" || args[0] == "--abort")) {
        std::cerr << "mavorin: " << args[0] << " is not supported here\n";
        return 1;
    }
    const bool verbose = cli::take_verbose(args);
    // The desktop check has no Windows probe yet; say so rather than open a file named --check.
    if (std::find(args.begin(), args.end(), "--check") != args.end()) {
        std::fputs("mavorin: --check is not available on Windows yet\n", stderr);
        return 2;
    }
    // Hook positions and the macro's positions are physical pixels.
    SetProcessDPIAware();
    if (auto recorded =
            record_from_command_line(args, win32::make_win32_recorder, system_user_data_folder()))
        return *recorded;
    std::filesystem::path log_file;
    if (const wchar_t* local = _wgetenv(L"LOCALAPPDATA"); local && *local)
        log_file = std::filesystem::path(local) / L"Mavorin" / L"mavorin.log";
    install_failure_log(log_file, verbose);
    // 10 ms timers need a finer system tick than the default 15.6 ms.
    timeBeginPeriod(1);
    win32::Win32Platform platform;
    win32::Win32EventLoop loop;
    frm_mavorin window(platform, loop);
    win32::MainWindow view(window);
    platform.set_main_window(view.hwnd());
    window.recorder_factory = win32::make_win32_recorder;
    window.on_minimize = [&](bool m) { ShowWindow(view.hwnd(), m ? SW_MINIMIZE : SW_RESTORE); };
    view.on_close = [&] {
        window.startup.Form_Unload();  // frees input and ends the process
        PostQuitMessage(0);
    };
    view.show();
    window.startup.Form_Load();
    window.document.mark_clean();
    view.sync_all();

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(view.hwnd(), &msg)) continue;  // Tab between the fields
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    timeEndPeriod(1);
    return static_cast<int>(msg.wParam);
}
