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
// Attaches labels to their fields, hides decorative pictures, gives the linked pictures and the
// popup menu their keys.
void prepare_accessibility(frm_mavorin& m, const WidgetOf& widget_of);
// Brings every accessible name and description in line with the model; a change is announced.
void update_accessibility(frm_mavorin& m, const WidgetOf& widget_of);

}  // namespace mavorin::qt
