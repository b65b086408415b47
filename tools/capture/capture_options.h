// The command line of glass-meridian-capture, read into one record. Reading
// it renders nothing and touches no file: every mistake a user can make in
// it is found here, with a message naming it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/frame_schedule.h"
#include "host/still_checks.h"
#include "tools/capture/video_encoding.h"

inline constexpr uint32_t kHighestFps = 1000;
inline constexpr int kMostSupersample = 4;

struct CaptureOptions {
  bool help = false;
  bool version = false;        // --version: print it and stop
  bool checkOnly = false;      // --check: check everything a capture checks first, render nothing
  int width = 1280;
  int height = 720;
  uint32_t fps = kDefaultFps;
  double from = 0.0;           // seconds
  double to = kSongSeconds;    // seconds, not included
  bool postProcess = true;     // --path post (glow and overlay) or direct
  int supersample = 1;         // --supersample: scene and text drawn at N x N samples a pixel
  std::string wavPath;         // --wav: the soundtrack of the range
  std::string framesDir;       // --frames: PNG files and frames.csv
  std::string videoPath;       // --video: through ffmpeg
  bool still = false;          // --still with --png: one frame
  double stillSeconds = 0.0;
  std::string pngPath;
  VideoEncoding encoding;      // --crf, --x264-preset, --pixel-format for --video
  // --shard I/K: only the I-th (from 0) of K parts of the range, whole
  // frames each, into --frames; a shard's frames are those of the whole.
  uint32_t shard = 0;
  uint32_t shards = 0;         // 0: the whole range
  // --from-frames DIR, once or more: the outputs are made from these frame
  // sets (their range, rate and size) instead of drawing; fps is 0 unless
  // --fps names the sets' rate.
  std::vector<std::string> fromFrames;
};

// Reads the arguments after the program name. False with a message naming
// the problem when they do not form a capture; --help alone is enough.
bool parseCaptureOptions(int argc, const char* const* argv, CaptureOptions* options, std::string* error);

// "1 frame a second", "60 frames a second".
std::string frameRateText(uint32_t fps);

// The frames a capture of these options draws (of its shard, when it is one).
FrameRange optionsFrameRange(const CaptureOptions& options);

// True for the names of the containers the capture fills with H.264 and
// AAC (.mp4, .m4v, .mov, .mkv), the only ones --video takes.
bool isH264Container(const std::string& videoPath);

// False with the message when H.264 cannot hold frames of that size (odd
// sides): the command line's size, or a frame set's.
bool checkVideoFrameSize(int width, int height, std::string* error);

extern const char* const kCaptureSynopsis;  // the two forms of the command
extern const char* const kCaptureHelp;      // the synopsis and every option
