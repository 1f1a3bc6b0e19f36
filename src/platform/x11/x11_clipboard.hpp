// The CLIPBOARD selection, owned and served by a thread of its own on a connection of its own.
#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace mavorin::x11 {

class Clipboard {
  public:
    // Opens its own connection to the display; does nothing at all if that fails.
    Clipboard();
    // Hands the text to a clipboard manager if one runs, then closes.
    ~Clipboard();
    Clipboard(const Clipboard&) = delete;
    Clipboard& operator=(const Clipboard&) = delete;

    // Owns CLIPBOARD with this text; returns once the server says we own it (or gave up).
    void set_text(const std::string& text);
    // Requests for the text answered so far.
    uint64_t served() const;
    // True while we own CLIPBOARD.
    bool owned() const;
    // Waits until more than `seen` requests for the text were answered, or the timeout passes.
    void wait_served(uint64_t seen, std::chrono::milliseconds timeout);
    // Asks a running clipboard manager to keep our text (SAVE_TARGETS) and serves it until the
    // manager is done or the timeout passes. Idempotent.
    void hand_over(std::chrono::milliseconds timeout);

  private:
    void run();
    void take_ownership();
    void answer(const XSelectionRequestEvent& req);
    bool convert(Window requestor, Atom target, Atom property);
    Time server_time();
    void wake();

    Display* dpy_ = nullptr;
    Window win_ = 0;
    int wake_fd_[2] = {-1, -1};
    std::thread thread_;

    mutable std::mutex m_;
    std::condition_variable cv_;
    std::string text_;
    uint64_t wanted_ = 0;  // set_text calls so far
    uint64_t taken_ = 0;   // of those, handled by the thread
    uint64_t served_ = 0;
    bool owned_ = false;
    bool stop_ = false;
    enum class Handover { none, asked, sent, done } handover_ = Handover::none;
    std::chrono::steady_clock::time_point handover_deadline_{};
    Time owned_since_ = CurrentTime;

    Atom clipboard_, targets_, multiple_, timestamp_, utf8_, text_atom_, atom_pair_, manager_,
        save_targets_, property_, mime_text_;
    // Targets the manager has yet to fetch after SAVE_TARGETS; some managers never answer.
    std::vector<Atom> to_save_;
};

}  // namespace mavorin::x11
