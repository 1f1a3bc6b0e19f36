// The Windows recorder: low-level hooks on a thread of their own, which pumps messages (the hooks
// are only called while their thread waits for messages). A key's character is read at once,
// with the layout of the window that gets it.
#include "platform/win32/win32_recorder.hpp"

#include <windows.h>

#include <future>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "platform/win32/win32_platform.hpp"
#include "platform/win32/win32_text.hpp"

namespace mavorin::win32 {

namespace {

// Keys without a character, in the notation's words.
std::string key_name(DWORD vk) {
    if (vk >= VK_F1 && vk <= VK_F12) return "F" + std::to_string(vk - VK_F1 + 1);
    static const std::map<DWORD, const char*> names = {
        {VK_RETURN, "ENTER"},    {VK_TAB, "TAB"},
        {VK_BACK, "BS"},         {VK_ESCAPE, "ESC"},
        {VK_DELETE, "DEL"},      {VK_INSERT, "INS"},
        {VK_UP, "UP"},           {VK_DOWN, "DOWN"},
        {VK_LEFT, "LEFT"},       {VK_RIGHT, "RIGHT"},
        {VK_HOME, "HOME"},       {VK_END, "END"},
        {VK_PRIOR, "PGUP"},      {VK_NEXT, "PGDN"},
        {VK_NUMLOCK, "NUMLOCK"}, {VK_SCROLL, "SCROLLLOCK"},
        {VK_PAUSE, "BREAK"},     {VK_CANCEL, "BREAK"},
        {VK_SNAPSHOT, "PRTSC"}};
    auto it = names.find(vk);
    return it == names.end() ? std::string() : it->second;
}

// ToUnicodeEx leaves the dead-key state of the keyboard alone with this flag (Windows 10 1607 on).
constexpr UINT kKeepKeyboardState = 0x4;

// The character a key types in `state`; empty for none, a dead key or a control character.
std::string typed(DWORD vk, DWORD scan, const BYTE* state, HKL layout) {
    wchar_t buf[8] = {};
    const int n = ToUnicodeEx(vk, scan, state, buf, 8, kKeepKeyboardState, layout);
    if (n <= 0) return {};
    for (int i = 0; i < n; ++i)
        if (buf[i] < 0x20 || buf[i] == 0x7F) return {};
    return narrow(std::wstring_view(buf, static_cast<size_t>(n)));
}

class Win32Recorder : public QueuedRecorder {
  public:
    explicit Win32Recorder(const RecorderRequest& r)
        : positions_(r.positions), stop_vk_(static_cast<DWORD>(r.stop_vk)) {
        caps_ = GetKeyState(VK_CAPITAL) & 1;
    }
    ~Win32Recorder() override {
        if (!thread_.joinable()) return;
        PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
        thread_.join();
    }

    // Hooks on the recorder's thread; false with the reason when the system refuses.
    bool start(std::string& reason) {
        std::promise<std::string> ready;
        auto answer = ready.get_future();
        thread_ = std::thread([this, &ready] { run(ready); });
        reason = answer.get();
        if (reason.empty()) return true;
        thread_.join();
        return false;
    }

  private:
    void run(std::promise<std::string>& ready) {
        current_ = this;
        thread_id_ = GetCurrentThreadId();
        MSG msg;
        PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // the queue WM_QUIT needs
        HINSTANCE self = GetModuleHandleW(nullptr);
        HHOOK keys = SetWindowsHookExW(WH_KEYBOARD_LL, keyboard_proc, self, 0);
        const std::string key_error = keys ? std::string() : last_error_text();
        HHOOK mouse = SetWindowsHookExW(WH_MOUSE_LL, mouse_proc, self, 0);
        if (!keys || !mouse) {
            const std::string why = keys ? last_error_text() : key_error;
            if (keys) UnhookWindowsHookEx(keys);
            if (mouse) UnhookWindowsHookEx(mouse);
            ready.set_value("the system refused the input hook (" + why + ")");
            return;
        }
        ready.set_value({});
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        UnhookWindowsHookEx(mouse);
        UnhookWindowsHookEx(keys);
    }

    static LRESULT CALLBACK keyboard_proc(int code, WPARAM wp, LPARAM lp) {
        if (code == HC_ACTION && current_)
            current_->key(*reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp),
                          wp == WM_KEYDOWN || wp == WM_SYSKEYDOWN);
        return CallNextHookEx(nullptr, code, wp, lp);
    }
    static LRESULT CALLBACK mouse_proc(int code, WPARAM wp, LPARAM lp) {
        if (code == HC_ACTION && current_)
            current_->pointer(static_cast<UINT>(wp), *reinterpret_cast<const MSLLHOOKSTRUCT*>(lp));
        return CallNextHookEx(nullptr, code, wp, lp);
    }

    // The hooks' times are a 32-bit tick count; differences must survive its wrap.
    int64_t unwrap(DWORD time) {
        int64_t t = static_cast<int64_t>(time) + wraps_;
        if (last_time_ - t > (int64_t(1) << 31)) {
            wraps_ += int64_t(1) << 32;
            t += int64_t(1) << 32;
        }
        last_time_ = t;
        return t;
    }

    void pointer(UINT msg, const MSLLHOOKSTRUCT& m) {
        if (m.dwExtraInfo == kOwnInputMark) return;
        RecordedInput e;
        switch (msg) {
            case WM_LBUTTONDOWN:
            case WM_LBUTTONUP:
                e.button = PointerButton::left;
                break;
            case WM_MBUTTONDOWN:
            case WM_MBUTTONUP:
                e.button = PointerButton::middle;
                break;
            case WM_RBUTTONDOWN:
            case WM_RBUTTONUP:
                e.button = PointerButton::right;
                break;
            case WM_MOUSEMOVE:
                if (!positions_) return;
                break;
            default:
                return;  // the wheel and extra buttons
        }
        e.kind = msg == WM_MOUSEMOVE ? InputKind::motion
                 : (msg == WM_LBUTTONDOWN || msg == WM_MBUTTONDOWN || msg == WM_RBUTTONDOWN)
                     ? InputKind::button_press
                     : InputKind::button_release;
        e.ms = unwrap(m.time);
        e.x = m.pt.x;
        e.y = m.pt.y;
        add(e);
    }

    void key(const KBDLLHOOKSTRUCT& k, bool press) {
        if (k.dwExtraInfo == kOwnInputMark) return;
        const DWORD vk = k.vkCode;
        const int64_t ms = unwrap(k.time);
        if (vk == stop_vk_) {
            // The stop key ends the recording when it is let go; neither half is kept.
            if (press)
                stop_down_ = true;
            else if (stop_down_)
                set_stopped();
            return;
        }
        const bool repeat = press && down_.count(vk);
        if (press)
            down_.insert(vk);
        else
            down_.erase(vk);
        switch (vk) {
            case VK_SHIFT:
            case VK_LSHIFT:
            case VK_RSHIFT:
            case VK_CONTROL:
            case VK_LCONTROL:
            case VK_RCONTROL:
            case VK_MENU:
            case VK_LMENU:
            case VK_RMENU:
                return;  // held state only
            case VK_CAPITAL:
                if (press && !repeat) caps_ = !caps_;
                return;
        }
        auto held = [&](std::initializer_list<DWORD> vks) {
            for (DWORD v : vks)
                if (down_.count(v)) return true;
            return false;
        };
        RecordedInput e;
        e.ms = ms;
        e.kind = press ? InputKind::key_press : InputKind::key_release;
        e.key = static_cast<int>(vk);
        e.repeat = repeat;
        const bool ctrl = held({VK_CONTROL, VK_LCONTROL, VK_RCONTROL});
        const bool right_alt = held({VK_RMENU});
        // AltGr is Ctrl with the right Alt; the left Alt or the right one alone is Alt.
        e.altgr = ctrl && right_alt;
        e.ctrl = ctrl && !e.altgr;
        e.alt = held({VK_MENU, VK_LMENU}) || (right_alt && !e.altgr);
        e.shift = held({VK_SHIFT, VK_LSHIFT, VK_RSHIFT});
        if (press) describe(k, e);
        add(e);
    }

    // The key's character with Shift, Caps Lock and AltGr as held, or its name.
    void describe(const KBDLLHOOKSTRUCT& k, RecordedInput& e) {
        e.name = key_name(k.vkCode);
        if (!e.name.empty()) return;
        if (k.vkCode == VK_PACKET) {  // a character typed by another program, as itself
            e.text = e.plain = typed_unit(static_cast<wchar_t>(k.scanCode));
            return;
        }
        const HKL layout =
            GetKeyboardLayout(GetWindowThreadProcessId(GetForegroundWindow(), nullptr));
        BYTE state[256] = {};
        if (e.shift) state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
        if (caps_) state[VK_CAPITAL] = 0x01;
        e.plain = typed(k.vkCode, k.scanCode, state, layout);
        e.text = e.plain;
        if (e.altgr) {
            state[VK_CONTROL] = state[VK_LCONTROL] = state[VK_MENU] = state[VK_RMENU] = 0x80;
            e.text = typed(k.vkCode, k.scanCode, state, layout);
        }
    }

    // A UTF-16 unit of another program's typing; a surrogate pair comes as two presses.
    std::string typed_unit(wchar_t unit) {
        if (unit >= 0xD800 && unit < 0xDC00) {
            high_surrogate_ = unit;
            return {};
        }
        std::wstring w;
        if (unit >= 0xDC00 && unit < 0xE000 && high_surrogate_) w += high_surrogate_;
        high_surrogate_ = 0;
        w += unit;
        return narrow(w);
    }

    static thread_local Win32Recorder* current_;
    bool positions_;
    DWORD stop_vk_;
    // The hook thread's own state.
    std::set<DWORD> down_;
    bool caps_ = false;
    bool stop_down_ = false;
    wchar_t high_surrogate_ = 0;
    int64_t wraps_ = 0, last_time_ = 0;
    std::thread thread_;
    DWORD thread_id_ = 0;
};

thread_local Win32Recorder* Win32Recorder::current_ = nullptr;

}  // namespace

std::unique_ptr<InputRecorder> make_win32_recorder(const RecorderRequest& request,
                                                   std::string& reason) {
    auto recorder = std::make_unique<Win32Recorder>(request);
    if (!recorder->start(reason)) return nullptr;
    return recorder;
}

}  // namespace mavorin::win32
