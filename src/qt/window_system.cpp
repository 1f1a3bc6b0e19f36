// X11 is reached through Qt's own connection; other platforms need nothing here.
#include "qt/window_system.hpp"

#include <QGuiApplication>

// Xlib last: its macros clash with Qt names.
#include <X11/Xlib.h>

namespace mavorin::qt {

void flush_window_system() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    // A round trip: XFlush alone does not push requests queued on the shared XCB connection.
    if (x11 && x11->display()) XSync(x11->display(), False);
}

}  // namespace mavorin::qt
