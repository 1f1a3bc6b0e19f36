// The window's services, beside the native view: layered alpha, z-order, event passes, boxes,
// dialogs, twips.
// The SDK headers need <windows.h> first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
// clang-format on

#include "platform/win32/win32_platform.hpp"
#include "platform/win32/win32_text.hpp"

namespace mavorin::win32 {

namespace {

double twips_per_pixel(int index) {
    HDC dc = GetDC(nullptr);
    const int dpi = dc ? GetDeviceCaps(dc, index) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return 1440.0 / (dpi > 0 ? dpi : 96);
}

}  // namespace

void Win32Platform::make_layered() {
    if (!main_) return;
    const LONG style = GetWindowLongA(main_, GWL_EXSTYLE);
    SetWindowLongA(main_, GWL_EXSTYLE, style | WS_EX_LAYERED);
}

void Win32Platform::set_alpha(int alpha) {
    if (main_) SetLayeredWindowAttributes(main_, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
}

void Win32Platform::set_topmost(bool on) {
    if (main_)
        SetWindowPos(main_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE);
}

void Win32Platform::process_pending_events() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The main loop must still see it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

int Win32Platform::message_box(const std::string& text, int style) {
    return MessageBoxW(main_, widen(text).c_str(), L"Mavorin", static_cast<UINT>(style));
}

int Win32Platform::ask(const Question& question) {
    std::vector<std::wstring> captions;
    for (const auto& b : question.buttons) captions.push_back(widen(b));
    std::vector<TASKDIALOG_BUTTON> buttons;
    for (size_t i = 0; i < captions.size(); ++i)
        buttons.push_back({static_cast<int>(100 + i), captions[i].c_str()});
    const std::wstring text =
        widen(question.details.empty() ? question.text : question.text + "\n\n" + question.details);
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = main_;
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_SIZE_TO_CONTENT;
    config.pszWindowTitle = L"Mavorin";
    config.pszContent = text.c_str();
    config.cButtons = static_cast<UINT>(buttons.size());
    config.pButtons = buttons.data();
    config.nDefaultButton = 100 + question.default_button;
    int chosen = 0;
    const int cancel =
        question.cancel_button >= 0 ? question.cancel_button : question.default_button;
    if (TaskDialogIndirect(&config, &chosen, nullptr, nullptr) != S_OK) return cancel;
    if (chosen < 100 || chosen >= 100 + static_cast<int>(buttons.size())) return cancel;
    return chosen - 100;
}

TwipRect Win32Platform::window_rect_twips() {
    RECT r{};
    if (!main_ || !GetWindowRect(main_, &r)) return {};
    const double tx = twips_per_pixel_x(), ty = twips_per_pixel_y();
    return {static_cast<int>(r.left * tx), static_cast<int>(r.top * ty),
            static_cast<int>((r.right - r.left) * tx), static_cast<int>((r.bottom - r.top) * ty)};
}

std::string Win32Platform::file_dialog(bool save, const std::string& filter,
                                       const std::string& preset) {
    const std::wstring filt = dialog_filter(filter);
    std::wstring file = widen(preset);
    file.resize(std::max<size_t>(file.size() + 1, 32768), L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = main_;
    ofn.lpstrFilter = filt.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    const BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!ok) return {};
    file.resize(wcslen(file.c_str()));
    return narrow(file);
}

std::string Win32Platform::open_file_dialog(const std::string& filter, const std::string& preset) {
    return file_dialog(false, filter, preset);
}

std::string Win32Platform::save_file_dialog(const std::string& filter, const std::string& preset) {
    return file_dialog(true, filter, preset);
}

double Win32Platform::twips_per_pixel_x() {
    return twips_per_pixel(LOGPIXELSX);
}

double Win32Platform::twips_per_pixel_y() {
    return twips_per_pixel(LOGPIXELSY);
}

}  // namespace mavorin::win32
