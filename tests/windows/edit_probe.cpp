// A window with one EDIT that writes everything it holds to a file (UTF-16LE) after each change;
// the end-to-end test types into it. Usage: edit_probe OUTFILE X Y
#include <windows.h>

#include <cstdio>

namespace {

const wchar_t* out_path;
HWND edit;

void write_text(const wchar_t* text, size_t length) {
    if (FILE* f = _wfopen(out_path, L"wb")) {
        fwrite(text, sizeof(wchar_t), length, f);
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
    HWND main =
        CreateWindowExW(0, wc.lpszClassName, L"Eingabe", WS_POPUP | WS_VISIBLE, _wtoi(argv[2]),
                        _wtoi(argv[3]), 300, 80, nullptr, nullptr, nullptr, nullptr);
    edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                           10, 10, 280, 26, main, nullptr, nullptr, nullptr);
    write_text(L"", 0);
    // Ends by itself, so that a failed test run leaves nothing behind.
    SetTimer(main, 1, 120000, [](HWND h, UINT, UINT_PTR, DWORD) { DestroyWindow(h); });
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
