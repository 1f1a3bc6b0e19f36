// The clipboard, owned by the main window while it holds text.
#include <windows.h>

#include <cstring>

#include "platform/win32/win32_platform.hpp"
#include "platform/win32/win32_text.hpp"

namespace mavorin::win32 {

void Win32Platform::clipboard_set_text(const std::string& text) {
    // Another program may hold the clipboard for a moment.
    bool open = false;
    for (int i = 0; i < 20 && !(open = OpenClipboard(main_)); ++i) Sleep(5);
    if (!open) return;
    EmptyClipboard();
    const std::wstring w = widen(text);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (w.size() + 1) * sizeof(wchar_t));
    if (mem) {
        auto* p = static_cast<wchar_t*>(GlobalLock(mem));
        memcpy(p, w.c_str(), (w.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(mem);
        if (!SetClipboardData(CF_UNICODETEXT, mem)) GlobalFree(mem);
    }
    CloseClipboard();
}

}  // namespace mavorin::win32
