// Skeleton: replaced by the real implementation.
#include "engine/screen_actions.hpp"
#include "app/frm_mavorin.hpp"

namespace mavorin {
ScreenshotTarget screenshot_ziel(const std::string&) { return {}; }
void ScreenActions::screenshot() {  }  // TODO
void ScreenActions::pixel_watch() {  }  // TODO
void ScreenActions::Save_JPG(const Bitmap& pict, const std::string& FileName, int quality) {  }  // TODO

}  // namespace mavorin
