#include "host/still_checks.h"

#include <cstdio>

#include "host/frame_schedule.h"

std::string frameSizeText(int width, int height) { return std::to_string(width) + "x" + std::to_string(height); }

bool checkFrameSize(int width, int height, const std::string& sizeText, std::string* error) {
  if (width >= kSmallestSide && height >= kSmallestSide && width <= kLargestSide && height <= kLargestSide)
    return true;
  *error = "the frame size " + sizeText + " is not supported: each side from " + std::to_string(kSmallestSide) +
           " to " + std::to_string(kLargestSide) + " pixels";
  return false;
}

bool checkSongTime(double seconds, const std::string& what, std::string* error) {
  if (seconds >= 0.0 && seconds <= kSongSeconds) return true;
  char span[48];
  std::snprintf(span, sizeof span, "0 to %.3f s", kSongSeconds);
  *error = what + " lies outside the song (" + span + ")";
  return false;
}
