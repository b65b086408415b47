// The sizes a page offers: the browser window's own, then the common 16:9
// sizes.
#include <emscripten/emscripten.h>

#include "platform/display_modes.h"
#include "platform/failure_text.h"

namespace {

struct Size {
  int32_t width, height;
};

constexpr Size kWideSizes[] = {{640, 360}, {1280, 720}, {1600, 900}, {1920, 1080}, {2560, 1440}, {3840, 2160}};

EM_JS(int, pageWidth, (), { return window.innerWidth | 0; });
EM_JS(int, pageHeight, (), { return window.innerHeight | 0; });

}  // namespace

// A page's display is the browser window it lies in.
bool currentDisplayMode(int32_t& width, int32_t& height) {
  width = pageWidth();
  height = pageHeight();
  return width > 0 && height > 0;
}

bool displayModeAt(int index, int32_t& width, int32_t& height, std::string* error) {
  if (index == 0 && !currentDisplayMode(width, height)) {
    *error = platformFailure("could not list the page's sizes", "the browser window has no size");
    return false;
  }
  if (index == 0) return true;
  if (index < 0 || index > static_cast<int>(sizeof kWideSizes / sizeof kWideSizes[0])) return false;
  width = kWideSizes[index - 1].width;
  height = kWideSizes[index - 1].height;
  return true;
}
