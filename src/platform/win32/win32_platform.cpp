// The Windows backend: pointer, buttons, keys, input blocking, files and start-up facts.
#include "platform/win32/win32_platform.hpp"

#include <shlobj.h>

#include <chrono>
#include <cstdlib>
#include <cwchar>

#include "platform/log.hpp"
#include "platform/win32/win32_text.hpp"

namespace mavorin::win32 {

namespace {

bool is_absolute(const std::wstring& p) {
    return (p.size() >= 2 && p[1] == L':') || (!p.empty() && (p[0] == L'\\' || p[0] == L'/'));
}

WORD modifier_vk(unsigned mod) {
    return mod == kModShift ? VK_SHIFT : mod == kModCtrl ? VK_CONTROL : VK_MENU;
}

WORD named_vk(NamedKey k) {
    switch (k) {
        case NamedKey::Enter:
            return VK_RETURN;
        case NamedKey::Tab:
            return VK_TAB;
        case NamedKey::Backspace:
            return VK_BACK;
        case NamedKey::Delete:
            return VK_DELETE;
        case NamedKey::Insert:
            return VK_INSERT;
        case NamedKey::Escape:
            return VK_ESCAPE;
        case NamedKey::Up:
            return VK_UP;
        case NamedKey::Down:
            return VK_DOWN;
        case NamedKey::Left:
            return VK_LEFT;
        case NamedKey::Right:
            return VK_RIGHT;
        case NamedKey::Home:
            return VK_HOME;
        case NamedKey::End:
            return VK_END;
        case NamedKey::PageUp:
            return VK_PRIOR;
        case NamedKey::PageDown:
            return VK_NEXT;
        case NamedKey::CapsLock:
            return VK_CAPITAL;
        case NamedKey::NumLock:
            return VK_NUMLOCK;
        case NamedKey::ScrollLock:
            return VK_SCROLL;
        case NamedKey::Break:
            return VK_CANCEL;
        case NamedKey::PrintScreen:
            return VK_SNAPSHOT;
        case NamedKey::Help:
            return VK_HELP;
        case NamedKey::NoKey:
            return 0;
        default:
            break;
    }
    const int f = static_cast<int>(k) - static_cast<int>(NamedKey::F1);
    return f >= 0 && f < 16 ? static_cast<WORD>(VK_F1 + f) : 0;
}

bool is_extended(WORD vk) {
    switch (vk) {
        case VK_INSERT:
        case VK_DELETE:
        case VK_HOME:
        case VK_END:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_NUMLOCK:
        case VK_CANCEL:
        case VK_SNAPSHOT:
            return true;
        default:
            return false;
    }
}

INPUT vk_input(WORD vk, bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = (down ? 0 : KEYEVENTF_KEYUP) | (is_extended(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    in.ki.dwExtraInfo = kOwnInputMark;
    return in;
}

void unicode_inputs(char32_t ch, std::vector<INPUT>& out) {
    wchar_t units[2];
    int n = 1;
    if (ch >= 0x10000) {
        units[0] = static_cast<wchar_t>(0xD800 + ((ch - 0x10000) >> 10));
        units[1] = static_cast<wchar_t>(0xDC00 + ((ch - 0x10000) & 0x3FF));
        n = 2;
    } else {
        units[0] = static_cast<wchar_t>(ch);
    }
    for (bool down : {true, false}) {
        for (int i = 0; i < n; ++i) {
            INPUT in{};
            in.type = INPUT_KEYBOARD;
            in.ki.wScan = units[i];
            in.ki.dwFlags = KEYEVENTF_UNICODE | (down ? 0 : KEYEVENTF_KEYUP);
            in.ki.dwExtraInfo = kOwnInputMark;
            out.push_back(in);
        }
    }
}

}  // namespace

std::vector<INPUT> key_inputs(const std::vector<KeyTap>& taps) {
    std::vector<INPUT> out;
    for (const KeyTap& t : taps) {
        WORD vk = t.ch == 0 ? named_vk(t.key) : 0;
        unsigned mods = t.mods;
        bool as_unicode = false;
        if (t.ch == U'\n' || t.ch == U'\r') {
            vk = VK_RETURN;
        } else if (t.ch == U'\t') {
            vk = VK_TAB;
        } else if (t.ch != 0) {
            // Shortcuts need the real key: Ctrl with a unicode packet does nothing.
            const SHORT scan = t.mods != 0 && t.ch < 0x10000
                                   ? VkKeyScanW(static_cast<wchar_t>(t.ch))
                                   : static_cast<SHORT>(-1);
            if (scan != -1) {
                vk = LOBYTE(scan);
                const unsigned need = HIBYTE(scan);
                mods |= (need & 1 ? kModShift : 0) | (need & 2 ? kModCtrl : 0) |
                        (need & 4 ? kModAlt : 0);
            } else {
                as_unicode = true;
            }
        }
        if (vk == 0 && !as_unicode) continue;
        const unsigned order[] = {kModShift, kModCtrl, kModAlt};
        for (unsigned m : order)
            if (mods & m) out.push_back(vk_input(modifier_vk(m), true));
        if (as_unicode) {
            unicode_inputs(t.ch, out);
        } else {
            out.push_back(vk_input(vk, true));
            out.push_back(vk_input(vk, false));
        }
        for (int i = 2; i >= 0; --i)
            if (mods & order[i]) out.push_back(vk_input(modifier_vk(order[i]), false));
    }
    return out;
}

bool running_on_wine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

Win32Platform::Win32Platform()
    : command_line_(narrow(without_verbose_flag(command_tail(GetCommandLineW())))) {
    // Brings up the display driver: before that Wine reports the pointer at 0,0.
    GetSystemMetrics(SM_CXSCREEN);
    seed_random_from_clock();
}

Win32Platform::~Win32Platform() {
    release_all();
}

void Win32Platform::release_all() {
    static const int pairs[][2] = {{MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP},
                                   {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP},
                                   {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP}};
    for (const auto& p : pairs)
        if (buttons_down_ & p[0]) ::mouse_event(p[1], 0, 0, 0, kOwnInputMark);
    buttons_down_ = 0;
    if (input_blocked_) BlockInput(FALSE);
    input_blocked_ = false;
}

Point Win32Platform::get_cursor_pos() {
    POINT p{};
    GetCursorPos(&p);
    return {p.x, p.y};
}

void Win32Platform::set_cursor_pos(int x, int y) {
    if (!SetCursorPos(x, y)) log_failure("pointer move", last_error_text());
}

void Win32Platform::mouse_button(PointerButton button, bool down) {
    const int press = button == PointerButton::left     ? MOUSEEVENTF_LEFTDOWN
                      : button == PointerButton::middle ? MOUSEEVENTF_MIDDLEDOWN
                                                        : MOUSEEVENTF_RIGHTDOWN;
    // Each up flag is its down flag shifted once.
    ::mouse_event(static_cast<DWORD>(down ? press : press << 1), 0, 0, 0, kOwnInputMark);
    if (down)
        buttons_down_ |= press;
    else
        buttons_down_ &= ~press;
}

KeyState Win32Platform::key_state(int vk) {
    // High bit: down now; low bit: pressed since the previous call. Only -32767 (both, nothing
    // else) counts as a fresh press, so a held key reads as down without a tap.
    const auto v = static_cast<int16_t>(GetAsyncKeyState(vk));
    return {v < 0, v == -32767};
}

bool Win32Platform::send_keys(const std::string& text, const KeepTyping&) {
    const auto taps = parse_sendkeys(text);
    if (!taps) return true;  // a malformed text types nothing
    std::vector<INPUT> inputs = key_inputs(*taps);
    if (inputs.empty()) return true;
    const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    if (sent == inputs.size()) return true;
    log_failure("typing", "SendInput was cut short: " + last_error_text());
    // Input was cut short (blocked by a higher-integrity window): let go of what went down.
    std::vector<INPUT> ups;
    for (UINT i = 0; i < sent; ++i) {
        INPUT in = inputs[i];
        if (in.ki.dwFlags & (KEYEVENTF_KEYUP | KEYEVENTF_UNICODE)) continue;
        in.ki.dwFlags |= KEYEVENTF_KEYUP;
        ups.push_back(in);
    }
    if (!ups.empty()) SendInput(static_cast<UINT>(ups.size()), ups.data(), sizeof(INPUT));
    return true;
}

void Win32Platform::block_input(bool block) {
    BlockInput(block ? TRUE : FALSE);
    input_blocked_ = block;
}

std::wstring Win32Platform::resolve(const std::string& path) {
    std::wstring p = widen(path);
    if (p.empty() || is_absolute(p)) return p;
    return widen(current_folder()) + L"\\" + p;
}

bool Win32Platform::file_exists(const std::string& path) {
    if (path.empty()) return false;
    const DWORD a = GetFileAttributesW(resolve(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32Platform::read_first_field(const std::string& path, std::string& field) {
    HANDLE f = CreateFileW(resolve(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    field.clear();
    char buf[4096];
    DWORD got = 0;
    bool done = false;
    while (!done && ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) {
        for (DWORD i = 0; i < got; ++i) {
            if (buf[i] == ',' || buf[i] == '\r' || buf[i] == '\n') {
                done = true;
                break;
            }
            field.push_back(buf[i]);
        }
    }
    CloseHandle(f);
    return true;
}

std::string Win32Platform::current_folder() {
    const DWORD n = GetCurrentDirectoryW(0, nullptr);
    std::wstring dir(n, L'\0');
    const DWORD len = GetCurrentDirectoryW(n, dir.data());
    dir.resize(len < n ? len : 0);
    return narrow(without_trailing_backslash(dir));
}

void Win32Platform::seed_random_from_clock() {
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    random_.seed(static_cast<unsigned>(now ^ (now >> 32)));
}

double Win32Platform::random_fraction() {
    return std::uniform_real_distribution<double>(0.0, 1.0)(random_);
}

}  // namespace mavorin::win32

std::string mavorin::system_user_data_folder() {
    // %APPDATA% first, so that a test can point it elsewhere; the known folder otherwise.
    if (const wchar_t* env = _wgetenv(L"APPDATA"); env && *env)
        return win32::narrow(env) + "\\Mavorin";
    PWSTR folder = nullptr;
    std::string out;
    if (SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &folder) == S_OK)
        out = win32::narrow(folder) + "\\Mavorin";
    CoTaskMemFree(folder);
    return out;
}
