// Pictures of the native window, drawn with GDI into an owner-drawn control's rectangle.
#pragma once

#include <windows.h>

namespace mavorin::win32 {

// A window colour value (blue-green-red) brightened by `percent`.
COLORREF lighter(unsigned bgr, int percent);
// The program's logo in one of three colour schemes.
void draw_logo(HDC dc, RECT r, int scheme);
void draw_arrow(HDC dc, RECT r, bool left);
void draw_emblem(HDC dc, RECT r);

}  // namespace mavorin::win32
