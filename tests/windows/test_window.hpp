// Helpers for tests that need real windows under Wine: a probe window, message pumping, temp dirs.
#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace mavorin::wintest {

// Dispatches messages until `done` holds or `timeout_ms` passed; returns `done()`.
inline bool pump_until(const std::function<bool()>& done, int timeout_ms = 3000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (!done() && std::chrono::steady_clock::now() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return done();
}
inline void pump(int ms) {
    pump_until([] { return false; }, ms);
}

inline std::wstring text_of(HWND h) {
    wchar_t buf[2048] = {};
    GetWindowTextW(h, buf, 2048);
    return buf;
}

// A top-level window at a fixed screen place holding an EDIT and a BUTTON; it counts button clicks.
class ProbeWindow {
  public:
    ProbeWindow(int x, int y, int w, int h) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = proc;
        wc.lpszClassName = L"MavorinProbe";
        RegisterClassW(&wc);
        hwnd = CreateWindowExW(0, wc.lpszClassName, L"Probe", WS_POPUP | WS_VISIBLE, x, y, w, h,
                               nullptr, nullptr, nullptr, this);
        edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10,
                               w - 20, 24, hwnd, reinterpret_cast<HMENU>(1), nullptr, nullptr);
        button = CreateWindowExW(0, L"BUTTON", L"Knopf", WS_CHILD | WS_VISIBLE, 10, 44, 100, 30,
                                 hwnd, reinterpret_cast<HMENU>(2), nullptr, nullptr);
        pump(50);
    }
    ~ProbeWindow() {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        DestroyWindow(hwnd);
        pump(20);
    }
    // Brings the window to the front and gives the EDIT the keyboard focus.
    void focus_edit() {
        SetForegroundWindow(hwnd);
        SetActiveWindow(hwnd);
        SetFocus(edit);
        pump(50);
    }

    HWND hwnd = nullptr, edit = nullptr, button = nullptr;
    int button_clicks = 0;

  private:
    static LRESULT CALLBACK proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_NCCREATE)
            SetWindowLongPtrW(
                h, GWLP_USERDATA,
                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
        auto* self = reinterpret_cast<ProbeWindow*>(GetWindowLongPtrW(h, GWLP_USERDATA));
        if (self && msg == WM_COMMAND && wp == MAKEWPARAM(2, BN_CLICKED)) ++self->button_clicks;
        return DefWindowProcW(h, msg, wp, lp);
    }
};

// A fresh folder under %TEMP% (its name has non-ASCII letters), made the current folder for its
// lifetime and then removed with its files.
class TempDir {
  public:
    TempDir() {
        static int counter = 0;
        old_ = std::filesystem::current_path();
        path_ = (std::filesystem::temp_directory_path() /
                 (L"mavorin Tëst ä " + std::to_wstring(GetCurrentProcessId()) + L"-" +
                  std::to_wstring(++counter)))
                    .wstring();
        std::filesystem::create_directories(path_);
        std::filesystem::current_path(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::current_path(old_, ec);
        std::filesystem::remove_all(path_, ec);
    }
    const std::wstring& path() const { return path_; }
    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }
    std::string read(const std::wstring& name) const {
        std::ifstream in(std::filesystem::path(file(name)), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void write(const std::wstring& name, const std::string& bytes) const {
        std::ofstream(std::filesystem::path(file(name)), std::ios::binary) << bytes;
    }

  private:
    std::wstring path_;
    std::filesystem::path old_;
};

// Waits up to 8 s for a visible dialog of this process, optionally types a file name into it,
// and posts `command` (run on a helper thread to answer a modal box or file dialog).
inline void answer_dialog(WPARAM command, const std::wstring& file_name = L"") {
    for (int waited = 0; waited < 8000; waited += 20, Sleep(20)) {
        HWND h = FindWindowW(L"#32770", nullptr);
        DWORD pid = 0;
        if (h) GetWindowThreadProcessId(h, &pid);
        if (!h || pid != GetCurrentProcessId() || !IsWindowVisible(h)) continue;
        if (!file_name.empty()) {
            Sleep(300);  // the file dialog fills its controls after it shows
            SetDlgItemTextW(h, 0x47C, file_name.c_str());  // the file name field
        }
        PostMessageW(h, WM_COMMAND, command, 0);
        return;
    }
}

}  // namespace mavorin::wintest
