// The core's timer loop on Win32: one window timer armed at the next absolute deadline.
#pragma once

#include <windows.h>

#include <chrono>

#include "form/event_loop.hpp"

namespace mavorin::win32 {

class Win32EventLoop : public form::EventLoop {
  public:
    Win32EventLoop();
    ~Win32EventLoop() override;
    Win32EventLoop(const Win32EventLoop&) = delete;
    Win32EventLoop& operator=(const Win32EventLoop&) = delete;

    int64_t now_ms() const override;
    // The message-only window that receives the timer messages.
    HWND hwnd() const { return hwnd_; }

  private:
    static LRESULT CALLBACK proc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    void rearm();
    void fire();

    HWND hwnd_ = nullptr;
    std::chrono::steady_clock::time_point start_;
    bool armed_ = false;  // the window timer is set for `armed_for_`
    int64_t armed_for_ = 0;
    bool posted_ = false;  // a wake-up message is on its way
};

}  // namespace mavorin::win32
