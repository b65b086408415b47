// glass-meridian-capture: renders the show offline.
#include <cstdio>
#include <string>

#include "tools/capture/still_capture.h"
#include "tools/capture/still_options.h"

int main(int argc, char** argv) {
  StillOptions options;
  std::string error;
  if (!parseStillOptions(argc - 1, argv + 1, &options, &error)) {
    std::fprintf(stderr, "glass-meridian-capture: %s\n%s", error.c_str(), kStillUsage);
    return 2;
  }
  if (!captureStill(options.request, options.pngPath.c_str(), &error)) {
    std::fprintf(stderr, "glass-meridian-capture: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
