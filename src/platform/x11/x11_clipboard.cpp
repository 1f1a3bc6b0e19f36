// Owning CLIPBOARD: a thread answers the requests while the window's thread types, so a paste
// chord in the middle of a text is served in place; at the end a clipboard manager gets a copy.
#include "platform/x11/x11_clipboard.hpp"

#include <X11/Xatom.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <vector>

namespace mavorin::x11 {

namespace {

// A requestor may vanish before we answer it: that must not end the program.
int ignore_errors(Display*, XErrorEvent*) {
    return 0;
}

// The text as Latin-1 for requestors that ask for STRING; other characters become "?".
std::string latin1(const std::string& utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size() &&
                   (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) {
            out += static_cast<char>(((c & 0x03) << 6) | (utf8[++i] & 0x3F));
        } else if ((c & 0xC0) != 0x80) {
            out += '?';
        }
    }
    return out;
}

}  // namespace

Clipboard::Clipboard() {
    static std::once_flag handler;
    std::call_once(handler, [] { XSetErrorHandler(ignore_errors); });
    dpy_ = XOpenDisplay(nullptr);
    if (!dpy_) return;
    if (pipe2(wake_fd_, O_CLOEXEC | O_NONBLOCK) != 0) {
        XCloseDisplay(dpy_);
        dpy_ = nullptr;
        return;
    }
    const char* names[] = {"CLIPBOARD",
                           "TARGETS",
                           "MULTIPLE",
                           "TIMESTAMP",
                           "UTF8_STRING",
                           "TEXT",
                           "ATOM_PAIR",
                           "CLIPBOARD_MANAGER",
                           "SAVE_TARGETS",
                           "MAVORIN_SELECTION",
                           "text/plain;charset=utf-8"};
    Atom atoms[11];
    XInternAtoms(dpy_, const_cast<char**>(names), 11, False, atoms);
    clipboard_ = atoms[0];
    targets_ = atoms[1];
    multiple_ = atoms[2];
    timestamp_ = atoms[3];
    utf8_ = atoms[4];
    text_atom_ = atoms[5];
    atom_pair_ = atoms[6];
    manager_ = atoms[7];
    save_targets_ = atoms[8];
    property_ = atoms[9];
    mime_text_ = atoms[10];
    win_ = XCreateSimpleWindow(dpy_, DefaultRootWindow(dpy_), -10, -10, 1, 1, 0, 0, 0);
    XSelectInput(dpy_, win_, PropertyChangeMask);
    XSync(dpy_, False);
    thread_ = std::thread([this] { run(); });
}

Clipboard::~Clipboard() {
    if (!dpy_) return;
    hand_over(std::chrono::milliseconds(1500));
    {
        std::lock_guard l(m_);
        stop_ = true;
    }
    wake();
    thread_.join();
    XDestroyWindow(dpy_, win_);
    XCloseDisplay(dpy_);
    close(wake_fd_[0]);
    close(wake_fd_[1]);
}

void Clipboard::wake() {
    const char c = 1;
    [[maybe_unused]] auto n = write(wake_fd_[1], &c, 1);
}

void Clipboard::set_text(const std::string& text) {
    if (!dpy_) return;
    std::unique_lock l(m_);
    text_ = text;
    const uint64_t mine = ++wanted_;
    wake();
    cv_.wait_for(l, std::chrono::milliseconds(500), [&] { return taken_ >= mine || stop_; });
}

uint64_t Clipboard::served() const {
    std::lock_guard l(m_);
    return served_;
}

bool Clipboard::owned() const {
    std::lock_guard l(m_);
    return owned_;
}

void Clipboard::wait_served(uint64_t seen, std::chrono::milliseconds timeout) {
    std::unique_lock l(m_);
    cv_.wait_for(l, timeout, [&] { return served_ > seen || stop_; });
}

void Clipboard::hand_over(std::chrono::milliseconds timeout) {
    if (!dpy_) return;
    std::unique_lock l(m_);
    if (handover_ != Handover::none || !owned_) return;
    handover_ = Handover::asked;
    handover_deadline_ = std::chrono::steady_clock::now() + timeout;
    wake();
    cv_.wait_until(l, handover_deadline_ + std::chrono::milliseconds(100),
                   [&] { return handover_ == Handover::done; });
}

Time Clipboard::server_time() {
    // A zero-length append makes the server tell us its time in a PropertyNotify.
    XChangeProperty(dpy_, win_, property_, XA_STRING, 8, PropModeAppend, nullptr, 0);
    XEvent ev;
    XIfEvent(
        dpy_, &ev,
        [](Display*, XEvent* e, XPointer arg) -> Bool {
            return e->type == PropertyNotify && e->xproperty.atom == *reinterpret_cast<Atom*>(arg);
        },
        reinterpret_cast<XPointer>(&property_));
    return ev.xproperty.time;
}

void Clipboard::take_ownership() {
    uint64_t mine;
    {
        std::lock_guard l(m_);
        mine = wanted_;
    }
    const Time t = server_time();
    XSetSelectionOwner(dpy_, clipboard_, win_, t);
    const bool ok = XGetSelectionOwner(dpy_, clipboard_) == win_;
    {
        std::lock_guard l(m_);
        owned_ = ok;
        owned_since_ = t;
        taken_ = mine;
    }
    cv_.notify_all();
}

bool Clipboard::convert(Window requestor, Atom target, Atom property) {
    std::string text;
    {
        std::lock_guard l(m_);
        text = text_;
    }
    if (target == targets_) {
        Atom list[] = {targets_, multiple_, timestamp_, utf8_, XA_STRING, text_atom_, mime_text_};
        XChangeProperty(dpy_, requestor, property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(list), 7);
        return true;
    }
    if (target == timestamp_) {
        long t = static_cast<long>(owned_since_);
        XChangeProperty(dpy_, requestor, property, XA_INTEGER, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&t), 1);
        return true;
    }
    Atom type = utf8_;
    if (target == XA_STRING) {
        text = latin1(text);
        type = XA_STRING;
    } else if (target == mime_text_) {
        type = mime_text_;
    } else if (target != utf8_ && target != text_atom_) {
        return false;
    }
    // Larger texts would need INCR; the counter's never come near this.
    if (text.size() > static_cast<size_t>(XMaxRequestSize(dpy_)) * 4 - 100) return false;
    XChangeProperty(dpy_, requestor, property, type, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text.data()),
                    static_cast<int>(text.size()));
    return true;
}

void Clipboard::answer(const XSelectionRequestEvent& req) {
    XSelectionEvent ev{};
    ev.type = SelectionNotify;
    ev.display = req.display;
    ev.requestor = req.requestor;
    ev.selection = req.selection;
    ev.target = req.target;
    ev.time = req.time;
    ev.property = None;
    const Atom property = req.property == None ? req.target : req.property;  // obsolete clients
    bool text_sent = false;
    if (req.selection == clipboard_ && req.owner == win_ && owned()) {
        if (req.target == multiple_) {
            // Pairs of (target, property) on the requestor; a failed one gets None as target.
            Atom type;
            int format;
            unsigned long count = 0, after;
            unsigned char* data = nullptr;
            if (XGetWindowProperty(dpy_, req.requestor, property, 0, 1024, False, AnyPropertyType,
                                   &type, &format, &count, &after, &data) == Success &&
                data && format == 32) {
                std::vector<Atom> pairs(reinterpret_cast<Atom*>(data),
                                        reinterpret_cast<Atom*>(data) + count);
                for (size_t i = 0; i + 1 < pairs.size(); i += 2) {
                    if (!convert(req.requestor, pairs[i], pairs[i + 1])) {
                        pairs[i] = None;
                    } else if (pairs[i] != targets_ && pairs[i] != timestamp_) {
                        text_sent = true;
                        std::erase(to_save_, pairs[i]);
                    }
                }
                XChangeProperty(dpy_, req.requestor, property, atom_pair_, 32, PropModeReplace,
                                reinterpret_cast<unsigned char*>(pairs.data()),
                                static_cast<int>(pairs.size()));
                ev.property = property;
            }
            if (data) XFree(data);
        } else if (convert(req.requestor, req.target, property)) {
            ev.property = property;
            text_sent = req.target != targets_ && req.target != timestamp_;
            std::erase(to_save_, req.target);
        }
    }
    XSendEvent(dpy_, req.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&ev));
    // Once the answer is in the server, keys typed after it reach the target after the paste.
    XSync(dpy_, False);
    {
        std::lock_guard l(m_);
        if (text_sent) ++served_;
        // The manager has fetched everything it was offered: nothing is lost when we go now.
        if (handover_ == Handover::sent && to_save_.empty()) handover_ = Handover::done;
    }
    cv_.notify_all();
}

void Clipboard::run() {
    using clock = std::chrono::steady_clock;
    for (;;) {
        bool take = false, ask_manager = false;
        clock::time_point deadline{};
        {
            std::lock_guard l(m_);
            if (stop_) break;
            take = wanted_ != taken_;
            ask_manager = handover_ == Handover::asked;
            deadline = handover_deadline_;
            if (handover_ == Handover::sent && clock::now() >= deadline) handover_ = Handover::done;
        }
        cv_.notify_all();
        if (take) take_ownership();
        if (ask_manager) {
            Handover next = Handover::done;
            if (XGetSelectionOwner(dpy_, manager_) != None &&
                XGetSelectionOwner(dpy_, clipboard_) == win_) {
                // The targets worth keeping; the manager then asks for each of them.
                to_save_ = {utf8_, XA_STRING, text_atom_, mime_text_};
                XChangeProperty(dpy_, win_, save_targets_, XA_ATOM, 32, PropModeReplace,
                                reinterpret_cast<unsigned char*>(to_save_.data()),
                                static_cast<int>(to_save_.size()));
                XConvertSelection(dpy_, manager_, save_targets_, save_targets_, win_,
                                  server_time());
                XFlush(dpy_);
                next = Handover::sent;
            }
            {
                std::lock_guard l(m_);
                handover_ = next;
            }
            cv_.notify_all();
        }
        while (XPending(dpy_)) {
            XEvent ev;
            XNextEvent(dpy_, &ev);
            if (ev.type == SelectionRequest) {
                answer(ev.xselectionrequest);
            } else if (ev.type == SelectionClear && ev.xselectionclear.selection == clipboard_) {
                {
                    std::lock_guard l(m_);
                    owned_ = false;
                    if (handover_ == Handover::sent) handover_ = Handover::done;  // it took over
                }
                cv_.notify_all();
            } else if (ev.type == SelectionNotify && ev.xselection.selection == manager_) {
                {
                    std::lock_guard l(m_);
                    handover_ = Handover::done;
                }
                cv_.notify_all();
            }
        }
        int timeout = -1;
        {
            std::lock_guard l(m_);
            if (handover_ == Handover::sent) {
                const auto left =
                    std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock::now());
                timeout = static_cast<int>(std::max<long>(0, left.count())) + 1;
            }
        }
        pollfd fds[2] = {{ConnectionNumber(dpy_), POLLIN, 0}, {wake_fd_[0], POLLIN, 0}};
        poll(fds, 2, timeout);
        char buf[64];
        while (read(wake_fd_[0], buf, sizeof buf) > 0) {
        }
    }
}

}  // namespace mavorin::x11
