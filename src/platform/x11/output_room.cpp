// Whether Xlib's output buffer still holds some fake input events before it flushes by itself.
// Alone in its file: Xlibint.h's min and max macros break the standard library headers.
#include <X11/Xlibint.h>
#include <X11/extensions/xtestproto.h>

#include <cstddef>

namespace mavorin::x11 {

bool output_has_room(Display* dpy, int fake_events) {
    return dpy->bufmax - dpy->bufptr >= fake_events * sz_xXTestFakeInputReq;
}

}  // namespace mavorin::x11
