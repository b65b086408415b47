// One frame of the show rendered off screen at a music position, through
// the same renderFrame steps as the show, then read back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct StillRequest {
  double seconds;    // playback position in seconds
  int width;         // frame size in pixels
  int height;
  bool postProcess;  // true: glow and overlay; false: the direct path
};

// The played position for a time in seconds, or false when the time lies
// outside the song.
bool stillPosition(double seconds, uint32_t* position);

// Renders the frame and returns it as RGB, rows top to bottom. False with a
// message on failure.
bool renderStill(const StillRequest& request, std::vector<uint8_t>* rgb, std::string* error);

// renderStill, then the picture as a PNG file.
bool captureStill(const StillRequest& request, const char* pngPath, std::string* error);
