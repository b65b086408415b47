// The frame count of a finished video read from its container alone, for
// a machine without ffprobe: the video track's sample count of an MP4 or
// QuickTime file, the video track's blocks of a Matroska file.
#pragma once

#include <cstdint>
#include <string>

// The frames of the first video track in the file at `path`. False with
// the reason when the file is not such a container or is cut short.
bool countVideoFrames(const std::string& path, uint32_t* frames, std::string* error);
