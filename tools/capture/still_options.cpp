#include "tools/capture/still_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

const char* const kStillUsage =
    "usage: glass-meridian-capture --still SECONDS --png FILE [--size WxH] [--path post|direct]\n";

namespace {

bool parseSeconds(const char* text, double* seconds) {
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(text, &end);
  if (end == text || *end != '\0' || errno != 0 || !std::isfinite(value)) return false;
  *seconds = value;
  return true;
}

bool parseInt(const char* begin, const char* end, int* value) {
  if (begin == end) return false;
  long n = 0;
  for (const char* c = begin; c != end; ++c) {
    if (*c < '0' || *c > '9') return false;
    n = n * 10 + (*c - '0');
    if (n > 1000000) return false;
  }
  *value = static_cast<int>(n);
  return true;
}

bool parseSize(const char* text, int* width, int* height) {
  const char* x = std::strchr(text, 'x');
  return x && parseInt(text, x, width) && parseInt(x + 1, x + std::strlen(x), height);
}

}  // namespace

bool parseStillOptions(int argc, const char* const* argv, StillOptions* options, std::string* error) {
  options->request = StillRequest{0.0, 1280, 720, true};
  options->pngPath.clear();
  bool haveStill = false;
  for (int i = 0; i < argc; ++i) {
    const std::string option = argv[i];
    if (option != "--still" && option != "--png" && option != "--size" && option != "--path") {
      *error = "unknown argument '" + option + "'";
      return false;
    }
    if (i + 1 >= argc) {
      *error = option + " needs a value";
      return false;
    }
    const char* value = argv[++i];
    if (option == "--still") {
      if (!parseSeconds(value, &options->request.seconds)) {
        *error = std::string("--still needs a time in seconds, not '") + value + "'";
        return false;
      }
      haveStill = true;
    } else if (option == "--png") {
      options->pngPath = value;
    } else if (option == "--size") {
      if (!parseSize(value, &options->request.width, &options->request.height)) {
        *error = std::string("--size needs WIDTHxHEIGHT, for instance 1280x720, not '") + value + "'";
        return false;
      }
    } else {
      const std::string path = value;
      if (path != "post" && path != "direct") {
        *error = "--path is post or direct, not '" + path + "'";
        return false;
      }
      options->request.postProcess = path == "post";
    }
  }
  if (!haveStill) {
    *error = "--still SECONDS is missing";
    return false;
  }
  if (options->pngPath.empty()) {
    *error = "--png FILE is missing";
    return false;
  }
  return true;
}
