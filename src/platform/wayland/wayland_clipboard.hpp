// The clipboard through data control: a connection and a thread of their own, so that our text is
// served while the program runs, whatever the main thread does.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "platform/wayland/wayland_connection.hpp"

namespace mavorin::wayland {

class Clipboard {
  public:
    // False when the compositor has no data control.
    bool start();
    ~Clipboard();
    void set_text(const std::string& text);
    // Whether our text is the clipboard's, and how many pastes it has served so far.
    bool owned() const { return owned_; }
    uint64_t served() const { return served_; }
    // Waits until more than `since` pastes were served, at most `limit`.
    void wait_served(uint64_t since, std::chrono::milliseconds limit);

  private:
    void serve();
    void offer_now();
    static void on_send(void* data, zwlr_data_control_source_v1*, const char*, int32_t fd);
    static void on_cancelled(void* data, zwlr_data_control_source_v1* source);
    Connection link_;
    zwlr_data_control_device_v1* device_ = nullptr;
    zwlr_data_control_source_v1* source_ = nullptr;
    std::mutex mutex_;
    std::string text_;
    bool pending_ = false;
    int wake_[2] = {-1, -1};
    std::atomic<bool> stop_{false}, owned_{false};
    std::atomic<uint64_t> served_{0};
    std::condition_variable served_signal_;
    std::thread thread_;
};

}  // namespace mavorin::wayland
