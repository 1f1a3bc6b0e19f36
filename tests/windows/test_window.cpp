// Probe window, pumping and temporary folders for the Windows tests.
#include "test_window.hpp"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace mavorin::wintest {

void pump(int ms) {
    pump_until([] { return false; }, ms);
}

bool pump_until(const std::function<bool()>& done, int timeout_ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) return done();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

ProbeWindow::ProbeWindow(int x, int y, int w, int h, COLORREF fill) : fill_(fill) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = L"MavorinProbe";
    RegisterClassW(&wc);
    hwnd = CreateWindowExW(0, L"MavorinProbe", L"Probe", WS_POPUP | WS_VISIBLE, x, y, w, h, nullptr,
                           nullptr, wc.hInstance, this);
    edit =
        CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10,
                        10, w - 20, 24, hwnd, reinterpret_cast<HMENU>(1), wc.hInstance, nullptr);
    button = CreateWindowExW(0, L"BUTTON", L"Knopf", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 44,
                             100, 30, hwnd, reinterpret_cast<HMENU>(2), wc.hInstance, nullptr);
    pump(50);
}

ProbeWindow::~ProbeWindow() {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    DestroyWindow(hwnd);
    pump(20);
}

std::wstring ProbeWindow::edit_text() const {
    wchar_t buf[1024] = {};
    GetWindowTextW(edit, buf, 1024);
    return buf;
}

void ProbeWindow::focus_edit() {
    SetForegroundWindow(hwnd);
    SetActiveWindow(hwnd);
    SetFocus(edit);
    pump(50);
}

LRESULT CALLBACK ProbeWindow::proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self =
            static_cast<ProbeWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<ProbeWindow*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    if (!self) return DefWindowProcW(h, msg, wp, lp);
    self->messages.push_back(msg);
    switch (msg) {
        case WM_COMMAND:
            if (LOWORD(wp) == 2 && HIWORD(wp) == BN_CLICKED) ++self->button_clicks;
            return 0;
        case WM_SYSCOMMAND:
            // Recorded, not carried out: the monitor stays on.
            self->syscommands.emplace_back(wp, lp);
            return 0;
        case WM_ERASEBKGND: {
            RECT r;
            GetClientRect(h, &r);
            HBRUSH b = CreateSolidBrush(self->fill_);
            FillRect(reinterpret_cast<HDC>(wp), &r, b);
            DeleteObject(b);
            return 1;
        }
        default:
            return DefWindowProcW(h, msg, wp, lp);
    }
}

TempDir::TempDir() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static int counter = 0;
    path_ = std::wstring(base) + L"mavorin Tëst ä " + std::to_wstring(GetCurrentProcessId()) +
            L"-" + std::to_wstring(++counter);
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::read(const std::wstring& name) const {
    std::ifstream in(std::filesystem::path(file(name)), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void TempDir::write(const std::wstring& name, const std::string& bytes) const {
    std::ofstream out(std::filesystem::path(file(name)), std::ios::binary);
    out << bytes;
}

HWND wait_for_window(const wchar_t* cls, const wchar_t* title, int timeout_ms) {
    for (int waited = 0; waited < timeout_ms; waited += 20) {
        HWND h = FindWindowW(cls, title);
        DWORD pid = 0;
        if (h) GetWindowThreadProcessId(h, &pid);
        if (h && pid == GetCurrentProcessId() && IsWindowVisible(h)) return h;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return nullptr;
}

}  // namespace mavorin::wintest
