// Deadlines stay absolute: a late WM_TIMER runs what is due and never shifts later ticks.
#include "win32view/win32_event_loop.hpp"

namespace mavorin::win32 {

namespace {
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kWakeNow = WM_APP + 1;
const wchar_t kClass[] = L"MavorinEventLoop";
}  // namespace

Win32EventLoop::Win32EventLoop() : start_(std::chrono::steady_clock::now()) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);  // fails harmlessly when a second loop registers it again
    hwnd_ = CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                            nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    on_schedule_changed = [this] { rearm(); };
}

Win32EventLoop::~Win32EventLoop() {
    on_schedule_changed = nullptr;
    if (hwnd_) {
        KillTimer(hwnd_, kTimerId);
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

int64_t Win32EventLoop::now_ms() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start_)
        .count();
}

void Win32EventLoop::rearm() {
    if (!hwnd_) return;
    auto next = next_deadline();
    // While held, waking would only spin; the end of the hold re-arms.
    if (!next || held()) {
        if (armed_) KillTimer(hwnd_, kTimerId);
        armed_ = false;
        return;
    }
    if (armed_ && *next == armed_for_) return;  // most re-arms leave the earliest deadline alone
    const int64_t wait = *next - now_ms();
    if (wait <= 0) {
        if (armed_) KillTimer(hwnd_, kTimerId);
        armed_ = false;
        if (!posted_) posted_ = PostMessageW(hwnd_, kWakeNow, 0, 0);
        return;
    }
    // One extra millisecond: a timer that fires early would find nothing due and wait a period.
    SetTimer(hwnd_, kTimerId, static_cast<UINT>(wait + 1), nullptr);
    armed_ = true;
    armed_for_ = *next;
}

void Win32EventLoop::fire() {
    // A tick may pump messages (a fade) and so come back here: the inner pass runs what is due.
    if (armed_) KillTimer(hwnd_, kTimerId);
    armed_ = false;
    run_due(now_ms());
}

LRESULT CALLBACK Win32EventLoop::proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<Win32EventLoop*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    if (self && (msg == WM_TIMER || msg == kWakeNow)) {
        if (msg == kWakeNow) self->posted_ = false;
        self->fire();
        return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

}  // namespace mavorin::win32
