// Fixed geometry of the native form at 96 dpi; every panel shares one area.
#pragma once

#include <windows.h>

#include <map>
#include <string>

namespace mavorin::win32 {

// Client-area rectangles (x, y, width, height) by control name.
const std::map<std::string, RECT>& form_layout();

inline constexpr int kFormWidth = 600;

}  // namespace mavorin::win32
