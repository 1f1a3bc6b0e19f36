// Screenshot (BMP or JPEG with the quality in the path) and the pixel watch.
#pragma once

#include <stdexcept>
#include <string>

#include "platform/desktop_platform.hpp"

namespace mavorin {

class frm_mavorin;

// The error Save_JPG raises: number 5 with a description.
struct SaveJpgError : std::runtime_error {
    using std::runtime_error::runtime_error;
    int number = 5;
};

// What a screenshot path text saves: file name, quality, and whether it is a JPEG.
struct ScreenshotTarget {
    bool save = false;  // false for texts of three characters or fewer
    std::string file;
    int quality = 100;
    bool jpeg = false;
};
ScreenshotTarget screenshot_target(const std::string& path_text);

class ScreenActions {
  public:
    explicit ScreenActions(frm_mavorin& w) : w(w) {}
    void screenshot();   // 009
    void pixel_watch();  // 010
    // Throws SaveJpgError on a nonzero status.
    void Save_JPG(const Bitmap& pict, const std::string& FileName, int quality = 100);

  private:
    frm_mavorin& w;
};

}  // namespace mavorin
