// A target window for the end-to-end tests: prints every key and button it receives.
// Usage: keylog X Y W H [COLOR]. Lines: "K <text>" or "K <KeysymName>", "B <button>".
// A click into the window gives it the keyboard focus, as a window manager would.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "../x11/keysym_text.hpp"

int main(int argc, char** argv) {
    if (argc < 5) return 2;
    setvbuf(stdout, nullptr, _IOLBF, 0);
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) return 1;
    const int screen = DefaultScreen(dpy);
    unsigned long color = argc > 5 ? std::strtoul(argv[5], nullptr, 16) : WhitePixel(dpy, screen);
    XSetWindowAttributes attr{};
    attr.override_redirect = True;  // placed exactly where asked, with or without a manager
    attr.background_pixel = color;
    attr.event_mask = KeyPressMask | ButtonPressMask | ExposureMask | StructureNotifyMask;
    Window w = XCreateWindow(dpy, RootWindow(dpy, screen), atoi(argv[1]), atoi(argv[2]),
                             atoi(argv[3]), atoi(argv[4]), 0, CopyFromParent, InputOutput,
                             CopyFromParent, CWOverrideRedirect | CWBackPixel | CWEventMask, &attr);
    XMapRaised(dpy, w);
    for (;;) {
        XEvent ev;
        XNextEvent(dpy, &ev);
        if (ev.type == MapNotify) {
            XSetInputFocus(dpy, w, RevertToParent, CurrentTime);
            printf("READY\n");
        } else if (ev.type == ButtonPress) {
            XSetInputFocus(dpy, w, RevertToParent, CurrentTime);
            printf("B %u\n", ev.xbutton.button);
        } else if (ev.type == KeyPress) {
            char buf[16];
            KeySym sym = NoSymbol;
            XLookupString(&ev.xkey, buf, sizeof buf, &sym, nullptr);  // applies Shift
            // Keysyms to Unicode ourselves: no input method or locale to depend on.
            if (const std::string text = keysym_text(sym); !text.empty()) {
                printf("K %s\n", text.c_str());
            } else if (sym != NoSymbol) {
                const char* name = XKeysymToString(sym);
                // Modifier keys alone are not interesting to the tests.
                if (name && !strstr(name, "Shift") && !strstr(name, "Control") &&
                    !strstr(name, "Alt") && !strstr(name, "ISO_Level3"))
                    printf("K <%s>\n", name);
            }
        }
    }
}
