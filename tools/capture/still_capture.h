// One frame of the show rendered off screen at a play position, through
// the same steps as the show, then read back. The frames a capture at the
// default frame rate would draw before it run their computations first, so
// the still at n / 60 seconds is frame n of such a capture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/frame_schedule.h"
#include "tools/capture/capture_report.h"

struct StillRequest {
  double seconds;    // playback position in seconds
  int width;         // frame size in pixels
  int height;
  bool postProcess;  // true: glow and overlay; false: the direct path
  int supersample = 1;  // samples a pixel across and down (scene and text)
};

// Renders the song as far as the frame needs, then the frame, and returns
// it as RGB, rows top to bottom. Returns a capture status
// (tools/capture/capture_status.h), with a message when it is not done.
int renderStill(const StillRequest& request, std::vector<uint8_t>* rgb, std::string* error);

// renderStill, then the picture as a PNG file, written beside its place
// and put there once complete (staged_output.h). The file is staged before
// the render, so that a name that cannot be written costs no render.
// Notes go to `report`.
int captureStill(const StillRequest& request, const std::string& pngPath, CaptureReport& report, std::string* error);
