// UTF-8/UTF-16 conversion and the small text conventions of the Windows shell.
#include "platform/win32/win32_text.hpp"

#include <windows.h>

namespace mavorin::win32 {

std::wstring widen(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string narrow(std::wstring_view utf16) {
    if (utf16.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

std::wstring dialog_filter(std::string_view filter) {
    std::wstring out = widen(filter);
    for (wchar_t& c : out)
        if (c == L'|') c = L'\0';
    // An odd number of parts would leave a description without a pattern: the dialog
    // would read past it, so it is dropped.
    size_t parts = out.empty() ? 0 : 1;
    for (wchar_t c : out) parts += c == L'\0';
    if (parts % 2 == 1) {
        const size_t last = out.rfind(L'\0');
        out.erase(last == std::wstring::npos ? 0 : last);
    }
    out.push_back(L'\0');
    out.push_back(L'\0');
    return out;
}

std::wstring command_tail(std::wstring_view line) {
    size_t i = 0;
    if (!line.empty() && line[0] == L'"') {
        const size_t close = line.find(L'"', 1);
        i = close == std::wstring_view::npos ? line.size() : close + 1;
    } else {
        while (i < line.size() && line[i] != L' ' && line[i] != L'\t') ++i;
    }
    while (i < line.size() && (line[i] == L' ' || line[i] == L'\t')) ++i;
    return std::wstring(line.substr(i));
}

std::wstring without_trailing_backslash(std::wstring folder) {
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    return folder;
}

}  // namespace mavorin::win32
