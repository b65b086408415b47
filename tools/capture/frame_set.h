// A frame set as --frames writes it, read back: frames.csv and one PNG a
// frame, in one folder or spread over several (the shards of one
// capture). Reading it checks that the frames make one whole range: every
// frame from the first to the last listed once, each at the position of
// one frame rate, each picture there and all of one size. It reads only
// the manifests and the pictures' headers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/frame_schedule.h"
#include "tools/capture/frame_files.h"

struct FrameSetFrame {
  ManifestRow row;
  std::string png;  // the picture's path
};

struct FrameSet {
  uint32_t fps = 0;
  int width = 0;
  int height = 0;
  FrameRange range = {0, 0};
  std::vector<FrameSetFrame> frames;  // range.first to range.end - 1, in order
};

// Reads the sets in `folders` as one. `fps` 0 takes the rate from the
// positions in frames.csv; another must fit them. False with a message that
// names the missing or foreign frame, or the file that cannot be read.
bool readFrameSets(const std::vector<std::string>& folders, uint32_t fps, FrameSet* set, std::string* error);
