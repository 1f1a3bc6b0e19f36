// The program's own pictures, drawn at run time.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace mavorin::qt {

// The Mavorin logo in the look of colour scheme 0, 1 or 2.
QPixmap logo_picture(int scheme, int size = 48);
// The count box arrows.
QPixmap arrow_picture(bool left, int size = 20);
// The small emblem that links to the home page.
QPixmap emblem_picture(int size = 36);
// A thin decorative bar for the title area.
QPixmap bar_picture(int width, int height);
QIcon app_icon();

}  // namespace mavorin::qt
