#include "tools/capture/video_encoding.h"

namespace {

constexpr const char* kPresets[] = {"ultrafast", "superfast", "veryfast", "faster", "fast",
                                    "medium",    "slow",      "slower",   "veryslow", "placebo"};
// 4:2:0 plays everywhere; 4:4:4 keeps the text's and the logo's colour
// edges; 10 bits keep the glow's gradients free of bands. Video sites take
// all four and re-encode them.
constexpr const char* kPixelFormats[] = {"yuv420p", "yuv444p", "yuv420p10le", "yuv444p10le"};

template <typename List>
bool listed(const List& list, const std::string& name) {
  for (const char* entry : list)
    if (name == entry) return true;
  return false;
}

template <typename List>
std::string joined(const List& list) {
  std::string text;
  for (const char* entry : list) text += (text.empty() ? "" : ", ") + std::string(entry);
  return text;
}

}  // namespace

std::string x264PresetList() { return joined(kPresets); }
std::string videoPixelFormatList() { return joined(kPixelFormats); }

bool isX264Preset(const std::string& name) { return listed(kPresets, name); }
bool isVideoPixelFormat(const std::string& name) { return listed(kPixelFormats, name); }
