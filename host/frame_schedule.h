// When the frames of an offline capture are drawn, and which samples of the
// soundtrack go with them. Plain arithmetic on positions, no rendering.
//
// Frame n of a capture at `fps` frames a second is drawn at play position
// round(n * 44100 / fps) samples from the start of the song (halves round
// up). Frame n belongs to the whole show when its time n / fps lies before
// the end of the song, so the last frame is the one whose display interval
// [n / fps, (n + 1) / fps) holds the end: at 60 frames a second frames 0 to
// 10460, the last at position 7 688 100, 396 samples before the end.
#pragma once

#include <cstdint>

#include "synth/song_timing.h"

inline constexpr double kSongSeconds = static_cast<double>(kSongFrames) / kSampleRate;

// The frame rate of the show's own loop, and of captures and stills unless
// another is asked for.
inline constexpr uint32_t kDefaultFps = 60;

// Frames first to end - 1 (end itself not included).
struct FrameRange {
  uint32_t first;
  uint32_t end;
};

// Samples begin to end - 1 of the soundtrack; end may lie past the song,
// whose sound is silence there.
struct SampleRange {
  uint32_t begin;
  uint32_t end;
};

// The play position of frame n.
uint32_t framePosition(uint32_t frame, uint32_t fps);

// The frames of the whole show: those whose time lies before the song's end.
uint32_t showFrameCount(uint32_t fps);

// The frames whose time n / fps lies in [from, to), within the whole show.
// Times are compared with a tolerance of a millionth of a frame, so that a
// decimal time such as 0.3 s at 10 frames a second names frame 3 exactly.
FrameRange frameRange(double from, double to, uint32_t fps);

// The soundtrack that goes with the frames of a range: from the first
// frame's position to the position of the frame after the range.
SampleRange soundtrackRange(FrameRange range, uint32_t fps);

// The frames of the song a render must have finished before the frame at
// `position` reads its envelope recording row: through the row's last frame.
uint32_t songFramesForPosition(uint32_t position);

// How many frames of a capture at `fps` lie before `position`: the frames
// whose computations run before a still at that position is drawn.
uint32_t framesBefore(uint32_t position, uint32_t fps);

// The played position for a time in seconds, or false when the time lies
// outside the song.
bool stillPosition(double seconds, uint32_t* position);
