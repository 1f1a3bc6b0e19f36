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

std::wstring without_verbose_flag(std::wstring tail) {
    auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
    if (tail == L"-v") return {};
    if (tail.size() > 2 && tail.compare(0, 2, L"-v") == 0 && blank(tail[2])) {
        size_t i = 2;
        while (i < tail.size() && blank(tail[i])) ++i;
        tail.erase(0, i);
    }
    if (tail.size() > 2 && tail.compare(tail.size() - 2, 2, L"-v") == 0 &&
        blank(tail[tail.size() - 3])) {
        tail.resize(tail.size() - 2);
        while (!tail.empty() && blank(tail.back())) tail.pop_back();
    }
    return tail;
}

std::string error_text(unsigned long code) {
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text = "error " + std::to_string(code);
    if (n && buffer) {
        std::wstring message(buffer, n);
        while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                    message.back() == L' ' || message.back() == L'.'))
            message.pop_back();
        text += " (" + narrow(message) + ")";
    }
    if (buffer) LocalFree(buffer);
    return text;
}

std::string last_error_text() {
    return error_text(GetLastError());
}

std::wstring without_trailing_backslash(std::wstring folder) {
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    return folder;
}

}  // namespace mavorin::win32
