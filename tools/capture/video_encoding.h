// The encoder's quality settings for --video: the constant rate factor,
// x264's speed preset and the pixel format, each a value libx264 in ffmpeg
// takes. The defaults are the capture's first setting: CRF 18, preset
// medium, 4:2:0 at 8 bits.
#pragma once

#include <string>

struct VideoEncoding {
  int crf = 18;                       // 0 (lossless) to 51; lower is better
  std::string preset = "medium";      // ultrafast ... placebo: slower packs better
  std::string pixelFormat = "yuv420p";  // yuv420p, yuv444p, yuv420p10le, yuv444p10le
};

inline constexpr int kHighestCrf = 51;

// Whether the name is one of x264's presets, and the list for messages.
bool isX264Preset(const std::string& name);
std::string x264PresetList();

// Whether the name is a pixel format the capture offers, and the list.
bool isVideoPixelFormat(const std::string& name);
std::string videoPixelFormatList();
