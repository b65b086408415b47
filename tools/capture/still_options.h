// The command line of a still capture:
//   --still SECONDS --png FILE [--size WxH] [--path post|direct]
#pragma once

#include <string>

#include "tools/capture/still_capture.h"

struct StillOptions {
  StillRequest request;
  std::string pngPath;
};

// Reads the arguments after the program name. False with a message naming
// the problem when they do not form a still capture.
bool parseStillOptions(int argc, const char* const* argv, StillOptions* options, std::string* error);

extern const char* const kStillUsage;
