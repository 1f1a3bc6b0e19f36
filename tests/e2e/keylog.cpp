// A window of one colour for the end-to-end tests, placed exactly where asked.
// Usage: keylog X Y W H [COLOR]. Prints "READY" once it is mapped.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 5) return 2;
    setvbuf(stdout, nullptr, _IOLBF, 0);
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) return 1;
    const int screen = DefaultScreen(dpy);
    XSetWindowAttributes attr{};
    attr.override_redirect = True;  // with or without a window manager
    attr.background_pixel = argc > 5 ? std::strtoul(argv[5], nullptr, 16) : WhitePixel(dpy, screen);
    attr.event_mask = StructureNotifyMask;
    Window w = XCreateWindow(dpy, RootWindow(dpy, screen), atoi(argv[1]), atoi(argv[2]),
                             atoi(argv[3]), atoi(argv[4]), 0, CopyFromParent, InputOutput,
                             CopyFromParent, CWOverrideRedirect | CWBackPixel | CWEventMask, &attr);
    XMapRaised(dpy, w);
    for (;;) {
        XEvent ev;
        XNextEvent(dpy, &ev);
        if (ev.type == MapNotify) printf("READY\n");
    }
}
