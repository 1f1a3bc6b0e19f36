// The backend's clipboard on a real X server: other clients read it, and a clipboard manager
// is offered the text when the backend ends.
#include <chrono>
#include <thread>

#include "x11_test_support.hpp"

namespace mavorin::x11test {
namespace {

// Reads events of `dpy` until one satisfies `want` or two seconds pass.
bool next_event(Display* dpy, XEvent& ev, const std::function<bool(const XEvent&)>& want) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < end) {
        while (XPending(dpy)) {
            XNextEvent(dpy, &ev);
            if (want(ev)) return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

TEST_F(X11Test, ClipboardIsServedAndHandedToTheManagerAtTheEnd) {
    dev->clipboard_set_text("Zähler 42");
    EXPECT_EQ(shell("xclip -o -selection clipboard"), "Zähler 42");
    EXPECT_EQ(shell("xclip -o -selection clipboard -t STRING | iconv -f latin1 -t utf-8"),
              "Zähler 42");
    dev->clipboard_set_text("7,5");
    EXPECT_EQ(shell("xclip -o -selection clipboard -t TEXT"), "7,5");

    // A clipboard manager in miniature: on SAVE_TARGETS it fetches the text, then answers.
    Display* dpy = XOpenDisplay(nullptr);
    ASSERT_TRUE(dpy);
    const Window w = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, 0, 0, 0);
    const Atom manager = XInternAtom(dpy, "CLIPBOARD_MANAGER", False),
               save = XInternAtom(dpy, "SAVE_TARGETS", False),
               clipboard = XInternAtom(dpy, "CLIPBOARD", False),
               utf8 = XInternAtom(dpy, "UTF8_STRING", False),
               kept = XInternAtom(dpy, "KEPT", False);
    XSetSelectionOwner(dpy, manager, w, CurrentTime);
    XSync(dpy, False);
    std::thread end([&] { dev.reset(); });
    XEvent ev;
    std::string saved;
    if (next_event(dpy, ev, [&](const XEvent& e) {
            return e.type == SelectionRequest && e.xselectionrequest.target == save;
        })) {
        const XSelectionRequestEvent req = ev.xselectionrequest;
        XConvertSelection(dpy, clipboard, utf8, kept, w, CurrentTime);
        if (next_event(dpy, ev, [](const XEvent& e) { return e.type == SelectionNotify; }) &&
            ev.xselection.property == kept) {
            Atom type;
            int format;
            unsigned long n, after;
            unsigned char* data = nullptr;
            XGetWindowProperty(dpy, w, kept, 0, 1024, True, AnyPropertyType, &type, &format, &n,
                               &after, &data);
            if (data) saved.assign(reinterpret_cast<char*>(data), n), XFree(data);
        }
        XSelectionEvent done{SelectionNotify, 0,          True,         dpy,     req.requestor,
                             req.selection,   req.target, req.property, req.time};
        XSendEvent(dpy, req.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&done));
        XFlush(dpy);
    }
    end.join();
    XCloseDisplay(dpy);
    EXPECT_EQ(saved, "7,5");
}

}  // namespace
}  // namespace mavorin::x11test
