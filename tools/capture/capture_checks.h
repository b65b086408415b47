// Everything a capture needs from outside, checked before any output is
// touched: every output's target (its folder writable; an existing target a
// regular file), no two outputs on one file and none on the font, and
// ffmpeg for a video. A refusal leaves every file as it was.
#pragma once

#include <string>

#include "tools/capture/capture_options.h"

// kCaptureDone with the path of ffmpeg in *ffmpeg when a video is asked
// for, or kCaptureRefused with the reason.
int checkCapture(const CaptureOptions& options, std::string* ffmpeg, std::string* error);
