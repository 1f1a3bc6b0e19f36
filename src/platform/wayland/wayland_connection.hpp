// One connection to the compositor with the globals the backend uses.
#pragma once

#include <wayland-client.h>

#include <cstdint>
#include <string>
#include <vector>

#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"
#include "wlr-screencopy-unstable-v1-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"

namespace mavorin::wayland {

struct Output {
    wl_output* output = nullptr;
    zxdg_output_v1* logical = nullptr;
    int x = 0, y = 0;           // position in the layout
    int width = 0, height = 0;  // current mode, in the output's pixels
    int scale = 1;
    int logical_width = 0, logical_height = 0;  // size in the layout; 0 when unknown
    int layout_width() const { return logical_width ? logical_width : width / scale; }
    int layout_height() const { return logical_height ? logical_height : height / scale; }
};

struct Connection {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_seat* seat = nullptr;
    wl_shm* shm = nullptr;
    zwlr_virtual_pointer_manager_v1* pointers = nullptr;
    zwp_virtual_keyboard_manager_v1* keyboards = nullptr;
    zwlr_screencopy_manager_v1* screencopy = nullptr;
    zwlr_data_control_manager_v1* data_control = nullptr;
    zxdg_output_manager_v1* xdg_outputs = nullptr;  // where outputs sit in the layout
    std::vector<Output*> outputs;
    std::vector<std::string> globals;  // every interface the compositor announced

    // Connects to $WAYLAND_DISPLAY and learns globals and outputs; false without a compositor.
    bool open();
    ~Connection();
    // Writes everything queued, waiting while the socket is full; false when the link is lost.
    bool flush();
    // Reads and handles what arrives within `ms`; false on a timeout or a lost link.
    bool dispatch_for(int ms);
    bool offers(const std::string& interface) const;
    // The box around all outputs (left, top, width, height, in logical pixels).
    void layout(int& left, int& top, int& width, int& height) const;
};

}  // namespace mavorin::wayland
