// The program's pictures, drawn with plain GDI: logo tile, arrows, emblem.
#include "win32view/artwork.hpp"

#include <algorithm>

namespace mavorin::win32 {

COLORREF lighter(unsigned bgr, int percent) {
    auto up = [percent](unsigned c) { return std::min(255u, c * (100 + percent) / 100); };
    return RGB(up(bgr & 0xFF), up((bgr >> 8) & 0xFF), up((bgr >> 16) & 0xFF));
}

void draw_logo(HDC dc, RECT r, int scheme) {
    static const COLORREF tiles[3] = {RGB(0x2e, 0x9b, 0x5c), RGB(0x1f, 0x8a, 0xc0),
                                      RGB(0xc0, 0x4a, 0x4a)};
    if (scheme < 0 || scheme > 2) scheme = 0;
    const int s = r.right - r.left;
    HBRUSH tile = CreateSolidBrush(tiles[scheme]);
    HGDIOBJ old_brush = SelectObject(dc, tile);
    HGDIOBJ old_pen = SelectObject(dc, GetStockObject(NULL_PEN));
    RoundRect(dc, r.left + 1, r.top + 1, r.right - 1, r.bottom - 1, s / 4, s / 4);
    // The pointer that travels the macro.
    const int x = r.left + s * 48 / 100, y = r.top + s * 14 / 100, k = s * 70 / 100;
    POINT arrow[] = {{x, y},
                     {x, y + k * 72 / 100},
                     {x + k * 20 / 100, y + k * 55 / 100},
                     {x + k * 34 / 100, y + k * 84 / 100},
                     {x + k * 45 / 100, y + k * 79 / 100},
                     {x + k * 31 / 100, y + k * 50 / 100},
                     {x + k * 56 / 100, y + k * 50 / 100}};
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    SelectObject(dc, GetStockObject(BLACK_PEN));
    Polygon(dc, arrow, 7);
    for (int i = 0; i < 4; ++i) {
        const int cx = r.left + s * (18 + 10 * i) / 100, cy = r.top + s * (78 - 8 * i) / 100;
        SelectObject(dc, GetStockObject(NULL_PEN));
        Ellipse(dc, cx - 2, cy - 2, cx + 3, cy + 3);
    }
    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
    DeleteObject(tile);
}

void draw_arrow(HDC dc, RECT r, bool left) {
    const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2, h = 6;
    POINT tri[3];
    if (left)
        tri[0] = {cx - h, cy}, tri[1] = {cx + h / 2 + 1, cy - h}, tri[2] = {cx + h / 2 + 1, cy + h};
    else
        tri[0] = {cx + h, cy}, tri[1] = {cx - h / 2 - 1, cy - h}, tri[2] = {cx - h / 2 - 1, cy + h};
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
    HGDIOBJ ob = SelectObject(dc, GetStockObject(DKGRAY_BRUSH));
    HGDIOBJ op = SelectObject(dc, GetStockObject(NULL_PEN));
    Polygon(dc, tri, 3);
    SelectObject(dc, ob);
    SelectObject(dc, op);
}

void draw_emblem(HDC dc, RECT r) {
    HBRUSH ring = CreateSolidBrush(RGB(0x30, 0x50, 0x80));
    HGDIOBJ ob = SelectObject(dc, ring);
    HGDIOBJ op = SelectObject(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, r.left, r.top, r.right, r.bottom);
    const int d = (r.right - r.left) / 4;
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    Ellipse(dc, r.left + d, r.top + d, r.right - d, r.bottom - d);
    SelectObject(dc, ob);
    SelectObject(dc, op);
    DeleteObject(ring);
}

}  // namespace mavorin::win32
