// Helpers for tests that need real windows under Wine: a probe window, message pumping, temp dirs.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace mavorin::wintest {

// Dispatches messages for `ms` milliseconds.
void pump(int ms);
// Dispatches messages until `done` holds or `timeout_ms` passed; returns `done()`.
bool pump_until(const std::function<bool()>& done, int timeout_ms = 3000);

// A top-level window at a fixed screen place, filled with one colour, holding an EDIT and a
// BUTTON; it records the messages its window procedure saw.
class ProbeWindow {
  public:
    ProbeWindow(int x, int y, int w, int h, COLORREF fill);
    ~ProbeWindow();
    HWND hwnd = nullptr, edit = nullptr, button = nullptr;
    int button_clicks = 0;
    std::vector<UINT> messages;
    std::vector<std::pair<WPARAM, LPARAM>> syscommands;
    std::wstring edit_text() const;
    // Brings the window to the front and gives the EDIT the keyboard focus.
    void focus_edit();

  private:
    static LRESULT CALLBACK proc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    COLORREF fill_;
};

// A fresh folder under %TEMP% (its name has non-ASCII letters), removed with its files at the end.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    const std::wstring& path() const { return path_; }
    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }
    std::string read(const std::wstring& name) const;
    void write(const std::wstring& name, const std::string& bytes) const;

  private:
    std::wstring path_;
};

// Finds a top-level window of `cls` with `title` that belongs to this process, waiting up to
// `timeout_ms` on another thread's behalf (for answering modal boxes from a helper thread).
HWND wait_for_window(const wchar_t* cls, const wchar_t* title, int timeout_ms);

}  // namespace mavorin::wintest
