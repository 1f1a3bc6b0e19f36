// Serves the clipboard text to whoever pastes, from the clipboard's own thread.
#include "platform/wayland/wayland_clipboard.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace mavorin::wayland {

namespace {

void offer_event(void*, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1*) {}

// Other clients' offers are of no use to us: let go of them at once.
void selection_event(void*, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1* offer) {
    if (offer) zwlr_data_control_offer_v1_destroy(offer);
}

void finished_event(void*, zwlr_data_control_device_v1*) {}

const zwlr_data_control_device_v1_listener kDeviceListener = {offer_event, selection_event,
                                                              finished_event, selection_event};

const char* const kTypes[] = {"text/plain;charset=utf-8", "text/plain", "UTF8_STRING", "STRING",
                              "TEXT"};

}  // namespace

bool Clipboard::start() {
    if (!link_.open() || !link_.data_control || !link_.seat) return false;
    device_ = zwlr_data_control_manager_v1_get_data_device(link_.data_control, link_.seat);
    zwlr_data_control_device_v1_add_listener(device_, &kDeviceListener, this);
    if (pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    thread_ = std::thread([this] { serve(); });
    return true;
}

Clipboard::~Clipboard() {
    if (thread_.joinable()) {
        stop_ = true;
        [[maybe_unused]] ssize_t n = write(wake_[1], "x", 1);
        thread_.join();
    }
    if (source_) zwlr_data_control_source_v1_destroy(source_);
    if (device_) zwlr_data_control_device_v1_destroy(device_);
    for (int fd : wake_)
        if (fd >= 0) close(fd);
}

void Clipboard::set_text(const std::string& text) {
    {
        std::lock_guard lock(mutex_);
        text_ = text;
        pending_ = true;
        owned_ = true;
    }
    [[maybe_unused]] ssize_t n = write(wake_[1], "x", 1);
}

void Clipboard::wait_served(uint64_t since, std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    served_signal_.wait_for(lock, limit, [&] { return served_ > since; });
}

void Clipboard::offer_now() {
    if (source_) zwlr_data_control_source_v1_destroy(source_);
    static const zwlr_data_control_source_v1_listener listener = {on_send, on_cancelled};
    source_ = zwlr_data_control_manager_v1_create_data_source(link_.data_control);
    zwlr_data_control_source_v1_add_listener(source_, &listener, this);
    for (const char* type : kTypes) zwlr_data_control_source_v1_offer(source_, type);
    zwlr_data_control_device_v1_set_selection(device_, source_);
}

void Clipboard::on_send(void* data, zwlr_data_control_source_v1*, const char*, int32_t fd) {
    auto* self = static_cast<Clipboard*>(data);
    std::string text;
    {
        std::lock_guard lock(self->mutex_);
        text = self->text_;
    }
    // A reader that stops reading must not hold the clipboard forever.
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    for (size_t at = 0; at < text.size();) {
        const ssize_t n = write(fd, text.data() + at, text.size() - at);
        if (n > 0) {
            at += static_cast<size_t>(n);
            continue;
        }
        pollfd p = {fd, POLLOUT, 0};
        if (n < 0 && errno != EAGAIN && errno != EINTR) break;
        if (poll(&p, 1, 1000) <= 0) break;
    }
    close(fd);
    {
        std::lock_guard lock(self->mutex_);
        ++self->served_;
    }
    self->served_signal_.notify_all();
}

void Clipboard::on_cancelled(void* data, zwlr_data_control_source_v1* source) {
    auto* self = static_cast<Clipboard*>(data);
    zwlr_data_control_source_v1_destroy(source);
    if (self->source_ == source) {
        self->source_ = nullptr;
        self->owned_ = false;
    }
}

void Clipboard::serve() {
    // A reader that goes away mid-paste must not end the program.
    sigset_t pipe_signal;
    sigemptyset(&pipe_signal);
    sigaddset(&pipe_signal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe_signal, nullptr);
    wl_display* d = link_.display;
    while (!stop_) {
        bool offer = false;
        {
            std::lock_guard lock(mutex_);
            offer = pending_;
            pending_ = false;
        }
        if (offer) offer_now();
        while (wl_display_prepare_read(d) != 0) wl_display_dispatch_pending(d);
        link_.flush();
        pollfd p[2] = {{wl_display_get_fd(d), POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (poll(p, 2, -1) < 0 && errno != EINTR) {
            wl_display_cancel_read(d);
            break;
        }
        if (p[0].revents & POLLIN) {
            if (wl_display_read_events(d) < 0) break;
        } else {
            wl_display_cancel_read(d);
        }
        if (p[0].revents & (POLLERR | POLLHUP)) break;
        char drain[64];
        while (read(wake_[0], drain, sizeof drain) > 0) {
        }
        wl_display_dispatch_pending(d);
    }
}

}  // namespace mavorin::wayland
