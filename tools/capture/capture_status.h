// What a capture ends with: the tool's exit status.
#pragma once

inline constexpr int kCaptureDone = 0;
// The render, a write or the encoder failed.
inline constexpr int kCaptureFailed = 1;
// A wrong command line, an output that cannot be written, the font or
// ffmpeg missing: found before any output is touched.
inline constexpr int kCaptureRefused = 2;
// A stop signal ends a capture with 128 + its number (capture_stop.h).
