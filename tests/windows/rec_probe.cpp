// A window that logs what reaches it, one line per event with a QueryPerformanceCounter time in
// ms: "T click1 X,Y" (screen position; 1 left, 2 middle, 3 right) and "T char C" (a control
// character as ^X). The recording round trip compares these logs. Usage: rec_probe LOGFILE X Y
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

const wchar_t* log_path;
LARGE_INTEGER frequency;
wchar_t high_surrogate;

void log_line(const std::wstring& what) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const long long ms = now.QuadPart * 1000 / frequency.QuadPart;
    const std::wstring line = std::to_wstring(ms) + L" " + what + L"\n";
    char utf8[256];
    const int n = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8,
                                      sizeof utf8, nullptr, nullptr);
    // Opened for each line, so that the test may empty the log between runs.
    if (FILE* f = _wfopen(log_path, L"ab")) {
        fwrite(utf8, 1, static_cast<size_t>(n), f);
        fclose(f);
    }
}

void click(HWND h, int button, LPARAM lp) {
    POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    ClientToScreen(h, &p);
    log_line(L"click" + std::to_wstring(button) + L" " + std::to_wstring(p.x) + L"," +
             std::to_wstring(p.y));
}

LRESULT CALLBACK proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_LBUTTONDOWN:
            click(h, 1, lp);
            return 0;
        case WM_MBUTTONDOWN:
            click(h, 2, lp);
            return 0;
        case WM_RBUTTONDOWN:
            click(h, 3, lp);
            return 0;
        case WM_CHAR: {
            const auto c = static_cast<wchar_t>(wp);
            if (c >= 0xD800 && c < 0xDC00) {
                high_surrogate = c;
                return 0;
            }
            std::wstring text;
            if (c < 0x20) {
                text = {L'^', static_cast<wchar_t>(L'@' + c)};
            } else {
                if (c >= 0xDC00 && c < 0xE000) text += high_surrogate;
                text += c;
            }
            log_line(L"char " + text);
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) return 2;
    SetProcessDPIAware();
    GetSystemMetrics(SM_CXSCREEN);  // brings up the display driver, so the pointer is real
    QueryPerformanceFrequency(&frequency);
    log_path = argv[1];
    if (FILE* f = _wfopen(log_path, L"wb")) fclose(f);
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"MavorinRecordProbe";
    RegisterClassW(&wc);
    // On top, so that the player's own window cannot take the clicks.
    HWND main = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"Aufnahmeziel",
                                WS_POPUP | WS_VISIBLE, _wtoi(argv[2]), _wtoi(argv[3]), 400, 300,
                                nullptr, nullptr, nullptr, nullptr);
    // Ends by itself, so that a failed test run leaves nothing behind.
    SetTimer(main, 1, 180000, [](HWND h, UINT, UINT_PTR, DWORD) { DestroyWindow(h); });
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
