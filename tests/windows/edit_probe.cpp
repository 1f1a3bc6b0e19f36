// A window with one EDIT that writes everything it holds to a file (UTF-16LE) after each change;
// the end-to-end test types into it. With EVENTFILE, it also logs each click ("T click1 X,Y",
// 1 left, 2 middle, 3 right) and character ("T char C", control characters as ^X), T in ms.
// Usage: edit_probe OUTFILE X Y [EVENTFILE]
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

const wchar_t* out_path;
HWND edit;

void write_text(const wchar_t* text, size_t length) {
    if (FILE* f = _wfopen(out_path, L"wb")) {
        fwrite(text, sizeof(wchar_t), length, f);
        fclose(f);
    }
}

void log_event(const wchar_t* path, const MSG& m) {
    std::wstring what;
    const UINT button = m.message == WM_LBUTTONDOWN   ? 1
                        : m.message == WM_MBUTTONDOWN ? 2
                        : m.message == WM_RBUTTONDOWN ? 3
                                                      : 0;
    const auto c = static_cast<wchar_t>(m.wParam);
    if (button)
        what = L"click" + std::to_wstring(button) + L" " + std::to_wstring(m.pt.x) + L"," +
               std::to_wstring(m.pt.y);
    else if (m.message == WM_CHAR)
        what = L"char " +
               (c < 0x20 ? std::wstring{L'^', static_cast<wchar_t>(L'@' + c)} : std::wstring(1, c));
    else
        return;
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    what = std::to_wstring(now.QuadPart * 1000 / frequency.QuadPart) + L" " + what + L"\n";
    char utf8[256];
    const int n = WideCharToMultiByte(CP_UTF8, 0, what.c_str(), static_cast<int>(what.size()), utf8,
                                      sizeof utf8, nullptr, nullptr);
    // Opened for each line, so that the test may empty the log.
    if (FILE* f = _wfopen(path, L"ab")) {
        fwrite(utf8, 1, static_cast<size_t>(n), f);
        fclose(f);
    }
}

LRESULT CALLBACK proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE) {
        wchar_t buf[4096] = {};
        write_text(buf, static_cast<size_t>(GetWindowTextW(edit, buf, 4096)));
    } else if (msg == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(h, &r);
        HBRUSH b = CreateSolidBrush(RGB(0xFF, 0x00, 0xFF));  // easy to find in a screenshot
        FillRect(reinterpret_cast<HDC>(wp), &r, b);
        DeleteObject(b);
        return 1;
    } else if (msg == WM_DESTROY) {
        PostQuitMessage(0);
    }
    return DefWindowProcW(h, msg, wp, lp);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) return 2;
    SetProcessDPIAware();
    GetSystemMetrics(SM_CXSCREEN);  // brings up the display driver, so the pointer is real
    out_path = argv[1];
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = L"MavorinEditProbe";
    RegisterClassW(&wc);
    HWND main = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"Eingabe", WS_POPUP | WS_VISIBLE,
                                _wtoi(argv[2]), _wtoi(argv[3]), 300, 80, nullptr, nullptr, nullptr,
                                nullptr);
    edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                           10, 10, 280, 26, main, nullptr, nullptr, nullptr);
    write_text(L"", 0);
    // Ends by itself, so that a failed test run leaves nothing behind.
    SetTimer(main, 1, 300000, [](HWND h, UINT, UINT_PTR, DWORD) { DestroyWindow(h); });
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (argc > 4) log_event(argv[4], msg);
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
