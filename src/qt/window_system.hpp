// Pushes buffered window-system requests out now.
#pragma once

namespace mavorin::qt {

// Qt's glib event loop sends X requests made in a timer callback only with the next X event;
// changes the user must see at once (a fade step, the z-order) are sent with this.
void flush_window_system();

}  // namespace mavorin::qt
