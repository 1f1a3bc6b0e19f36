// What a screen reader hears from the Qt window: names and descriptions from the form table.
#pragma once

#include <functional>

class QWidget;

namespace mavorin {
class frm_mavorin;
namespace form {
class Control;
class ListBox;
}  // namespace form
}  // namespace mavorin

namespace mavorin::qt {

using WidgetOf = std::function<QWidget*(form::Control&)>;

// Lets the window hide decorative widgets from screen readers; call before the window is built.
void install_accessibility();
// Hides decorative pictures, gives the linked pictures, the scroll bar and the popup menu their
// keys, and rings the focus where the style shows none.
void prepare_accessibility(frm_mavorin& m, const WidgetOf& widget_of);
// Brings every accessible name and description in line with the model; a change is announced.
void update_accessibility(frm_mavorin& m, const WidgetOf& widget_of);

}  // namespace mavorin::qt
