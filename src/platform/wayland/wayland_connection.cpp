// Globals and outputs of the compositor connection.
#include "platform/wayland/wayland_connection.hpp"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

namespace mavorin::wayland {

namespace {

void output_geometry(void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t,
                     const char*, const char*, int32_t) {
    auto* o = static_cast<Output*>(data);
    if (o->logical) return;  // xdg-output knows better
    o->x = x;
    o->y = y;
}

void output_mode(void* data, wl_output*, uint32_t flags, int32_t w, int32_t h, int32_t) {
    auto* o = static_cast<Output*>(data);
    if (flags & WL_OUTPUT_MODE_CURRENT) {
        o->width = w;
        o->height = h;
    }
}

void output_done(void*, wl_output*) {}

void output_scale(void* data, wl_output*, int32_t factor) {
    static_cast<Output*>(data)->scale = std::max(1, factor);
}

void output_text(void*, wl_output*, const char*) {}

const wl_output_listener kOutputListener = {output_geometry, output_mode, output_done,
                                            output_scale,    output_text, output_text};

// wl_output tells no position on wlroots: xdg-output does.
void logical_position(void* data, zxdg_output_v1*, int32_t x, int32_t y) {
    auto* o = static_cast<Output*>(data);
    o->x = x;
    o->y = y;
}

void logical_size(void* data, zxdg_output_v1*, int32_t w, int32_t h) {
    auto* o = static_cast<Output*>(data);
    o->logical_width = w;
    o->logical_height = h;
}

void logical_done(void*, zxdg_output_v1*) {}

void logical_text(void*, zxdg_output_v1*, const char*) {}

const zxdg_output_v1_listener kLogicalListener = {logical_position, logical_size, logical_done,
                                                  logical_text, logical_text};

void global(void* data, wl_registry* registry, uint32_t name, const char* interface,
            uint32_t version) {
    auto* c = static_cast<Connection*>(data);
    c->globals.push_back(interface);
    auto bind = [&](const wl_interface* iface, uint32_t want) {
        return wl_registry_bind(registry, name, iface, std::min(version, want));
    };
    const std::string i = interface;
    if (i == wl_seat_interface.name && !c->seat)
        c->seat = static_cast<wl_seat*>(bind(&wl_seat_interface, 1));
    else if (i == wl_shm_interface.name)
        c->shm = static_cast<wl_shm*>(bind(&wl_shm_interface, 1));
    else if (i == wl_output_interface.name) {
        auto* o = new Output;
        o->output = static_cast<wl_output*>(bind(&wl_output_interface, 2));
        wl_output_add_listener(o->output, &kOutputListener, o);
        c->outputs.push_back(o);
    } else if (i == zwlr_virtual_pointer_manager_v1_interface.name)
        c->pointers = static_cast<zwlr_virtual_pointer_manager_v1*>(
            bind(&zwlr_virtual_pointer_manager_v1_interface, 1));
    else if (i == zwp_virtual_keyboard_manager_v1_interface.name)
        c->keyboards = static_cast<zwp_virtual_keyboard_manager_v1*>(
            bind(&zwp_virtual_keyboard_manager_v1_interface, 1));
    else if (i == zwlr_screencopy_manager_v1_interface.name)
        c->screencopy = static_cast<zwlr_screencopy_manager_v1*>(
            bind(&zwlr_screencopy_manager_v1_interface, 1));
    else if (i == zxdg_output_manager_v1_interface.name)
        c->xdg_outputs =
            static_cast<zxdg_output_manager_v1*>(bind(&zxdg_output_manager_v1_interface, 2));
    else if (i == zwlr_data_control_manager_v1_interface.name)
        c->data_control = static_cast<zwlr_data_control_manager_v1*>(
            bind(&zwlr_data_control_manager_v1_interface, 1));
}

void global_remove(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kRegistryListener = {global, global_remove};

}  // namespace

bool Connection::open() {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    if (!name || !*name) return false;
    display = wl_display_connect(nullptr);
    if (!display) return false;
    registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, this);
    // The first round trip announces the globals, the second the outputs' geometry.
    if (wl_display_roundtrip(display) < 0) return false;
    if (xdg_outputs)
        for (Output* o : outputs) {
            o->logical = zxdg_output_manager_v1_get_xdg_output(xdg_outputs, o->output);
            zxdg_output_v1_add_listener(o->logical, &kLogicalListener, o);
        }
    return wl_display_roundtrip(display) >= 0;
}

Connection::~Connection() {
    if (!display) return;
    for (Output* o : outputs) {
        if (o->logical) zxdg_output_v1_destroy(o->logical);
        wl_output_destroy(o->output);
        delete o;
    }
    if (pointers) zwlr_virtual_pointer_manager_v1_destroy(pointers);
    if (keyboards) zwp_virtual_keyboard_manager_v1_destroy(keyboards);
    if (screencopy) zwlr_screencopy_manager_v1_destroy(screencopy);
    if (data_control) zwlr_data_control_manager_v1_destroy(data_control);
    if (xdg_outputs) zxdg_output_manager_v1_destroy(xdg_outputs);
    if (shm) wl_shm_destroy(shm);
    if (seat) wl_seat_destroy(seat);
    wl_registry_destroy(registry);
    wl_display_flush(display);
    wl_display_disconnect(display);
}

bool Connection::flush() {
    while (wl_display_flush(display) < 0) {
        if (errno != EAGAIN) return false;
        pollfd p = {wl_display_get_fd(display), POLLOUT, 0};
        if (poll(&p, 1, 1000) < 0 && errno != EINTR) return false;
    }
    return true;
}

bool Connection::dispatch_for(int ms) {
    while (wl_display_prepare_read(display) != 0)
        if (wl_display_dispatch_pending(display) < 0) return false;
    if (!flush()) {
        wl_display_cancel_read(display);
        return false;
    }
    pollfd p = {wl_display_get_fd(display), POLLIN, 0};
    if (poll(&p, 1, ms) <= 0) {
        wl_display_cancel_read(display);
        return false;
    }
    return wl_display_read_events(display) >= 0 && wl_display_dispatch_pending(display) >= 0;
}

bool Connection::offers(const std::string& interface) const {
    return std::find(globals.begin(), globals.end(), interface) != globals.end();
}

void Connection::layout(int& left, int& top, int& width, int& height) const {
    int l = INT_MAX, t = INT_MAX, r = INT_MIN, b = INT_MIN;
    for (const Output* o : outputs) {
        l = std::min(l, o->x);
        t = std::min(t, o->y);
        r = std::max(r, o->x + o->layout_width());
        b = std::max(b, o->y + o->layout_height());
    }
    if (outputs.empty()) l = t = r = b = 0;
    left = l;
    top = t;
    width = r - l;
    height = b - t;
}

}  // namespace mavorin::wayland
