// A window with one EDIT that writes everything it holds to a file (UTF-8) after each change;
// the end-to-end test types into it. Usage: edit_probe OUTFILE X Y [CLIPFILE]
// With CLIPFILE it writes the clipboard's text there instead and exits.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring out_path;
HWND edit;

void write_utf8(const std::wstring& path, const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), n,
                        nullptr, nullptr);
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f) return;
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

LRESULT CALLBACK proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            if (HIWORD(wp) == EN_CHANGE) {
                wchar_t buf[4096] = {};
                GetWindowTextW(edit, buf, 4096);
                write_utf8(out_path, buf);
            }
            return 0;
        case WM_ERASEBKGND: {
            RECT r;
            GetClientRect(h, &r);
            HBRUSH b = CreateSolidBrush(RGB(0xFF, 0x00, 0xFF));  // easy to find in a screenshot
            FillRect(reinterpret_cast<HDC>(wp), &r, b);
            DeleteObject(b);
            return 1;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(h, msg, wp, lp);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) return 2;
    SetProcessDPIAware();
    GetSystemMetrics(SM_CXSCREEN);  // brings up the display driver, so the pointer is real
    out_path = argv[1];
    if (argc >= 5) {
        std::wstring text;
        if (OpenClipboard(nullptr)) {
            if (HANDLE d = GetClipboardData(CF_UNICODETEXT)) {
                text = static_cast<const wchar_t*>(GlobalLock(d));
                GlobalUnlock(d);
            }
            CloseClipboard();
        }
        write_utf8(argv[4], text);
        return 0;
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = L"MavorinEditProbe";
    RegisterClassW(&wc);
    HWND main =
        CreateWindowExW(0, wc.lpszClassName, L"Eingabe", WS_POPUP | WS_VISIBLE, _wtoi(argv[2]),
                        _wtoi(argv[3]), 300, 80, nullptr, nullptr, wc.hInstance, nullptr);
    edit =
        CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10,
                        10, 280, 26, main, reinterpret_cast<HMENU>(1), wc.hInstance, nullptr);
    write_utf8(out_path, L"");
    MSG msg;
    // Ends by itself, so that a failed test run leaves nothing behind.
    SetTimer(main, 1, 120000, [](HWND h, UINT, UINT_PTR, DWORD) { DestroyWindow(h); });
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
