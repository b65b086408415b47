#include "tools/capture/capture_options.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

const char* const kCaptureSynopsis =
    "usage: glass-meridian-capture [--size WxH] [--fps N] [--from S] [--to S] [--path post|direct]\n"
    "                              [--supersample N] [--wav FILE] [--frames DIR] [--video FILE]\n"
    "       glass-meridian-capture --still S --png FILE [--size WxH] [--path post|direct]\n"
    "                              [--supersample N]\n";

const char* const kCaptureHelp =
    "Renders the show offline, without a display, a GPU or a sound card.\n"
    "\n"
    "  --wav FILE        the soundtrack of the range as 32-bit float stereo WAVE\n"
    "  --frames DIR      every frame as DIR/frame-NNNNN.png, numbered by its frame\n"
    "                    of the show, and DIR/frames.csv (frame, position, music\n"
    "                    time and flash level of each)\n"
    "  --video FILE      a video with the soundtrack, H.264 and AAC encoded by\n"
    "                    ffmpeg from raw frames; FILE ends in .mp4, .m4v, .mov\n"
    "                    or .mkv\n"
    "  --size WxH        frame size in pixels, 16 to 16384 a side (1280x720)\n"
    "  --fps N           frames a second, 1 to 1000 (60)\n"
    "  --from S, --to S  the part of the show in seconds: frame n is drawn at\n"
    "                    sample round(n * 44100 / fps) and captured when n / fps\n"
    "                    lies in [from, to) (the whole show: 0 to 174.342)\n"
    "  --path post|direct  with glow and overlay (post), or scene and text only\n"
    "  --supersample N   the scene and the text drawn at N times the size, then\n"
    "                    reduced (N x N samples a pixel: smooth edges), 1 to 4 (1)\n"
    "  --still S --png FILE  the one frame at S seconds, as a capture at 60\n"
    "                    frames a second would draw it\n"
    "  --help            this text\n"
    "  --version         the version and the commit it was built from\n"
    "\n"
    "Outputs combine: --wav, --frames and --video may all be given at once.\n"
    "Each is written beside its file under a temporary name and takes the\n"
    "file's place only when every output is complete, all together or none;\n"
    "SIGINT, SIGTERM and SIGHUP stop the capture at the next frame and leave\n"
    "every file as it was.\n"
    "An output FILE that is a symbolic link to a file writes that file (the\n"
    "link stays); a link to nothing, a folder, a device or a FIFO is refused.\n"
    "In a --frames DIR, a link named like a frame is replaced by the frame.\n"
    "Exit status: 0 done, 1 the render, a write or the encoder failed, 2 a\n"
    "wrong command line, an output that cannot be written, a missing font or\n"
    "ffmpeg (nothing touched), 128 + N stopped by signal N.\n";

namespace {

// A number too small to tell from 0 reads as 0; one too large as an
// infinity, which lies outside the song.
bool parseSeconds(const char* text, double* seconds) {
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (end == text || *end != '\0' || std::isnan(value)) return false;
  *seconds = value;
  return true;
}

// A whole number of decimal digits only, at most `limit`.
bool parseCount(const char* begin, const char* end, long limit, long* value) {
  if (begin == end) return false;
  long n = 0;
  for (const char* c = begin; c != end; ++c) {
    if (*c < '0' || *c > '9') return false;
    n = n * 10 + (*c - '0');
    if (n > limit) n = limit + 1;  // keeps growing numbers from overflowing
  }
  *value = n;
  return true;
}

bool parseSize(const char* text, int* width, int* height) {
  const char* x = std::strchr(text, 'x');
  long w = 0, h = 0;
  if (x == nullptr || !parseCount(text, x, 1000000, &w) || !parseCount(x + 1, x + std::strlen(x), 1000000, &h))
    return false;
  *width = static_cast<int>(w);
  *height = static_cast<int>(h);
  return true;
}

// The fewest digits that read back as the same time: two different times
// never look alike.
std::string secondsText(double seconds) {
  char text[48];
  for (int digits = 6; digits <= 17; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, seconds);
    if (std::strtod(text, nullptr) == seconds) break;
  }
  return text;
}

struct Given {
  bool fps = false, from = false, to = false;
};

bool readOption(const std::string& option, const char* value, CaptureOptions* o, Given* given, std::string* error) {
  const std::string text = value;
  if (option == "--size") {
    if (!parseSize(value, &o->width, &o->height)) {
      *error = "--size needs WIDTHxHEIGHT, for instance 1280x720, not '" + text + "'";
      return false;
    }
    if (!checkFrameSize(o->width, o->height, text, error)) return false;
  } else if (option == "--fps") {
    long fps = 0;
    if (!parseCount(value, value + text.size(), kHighestFps, &fps) || fps < 1 || fps > long{kHighestFps}) {
      *error = "--fps needs a whole number of frames a second from 1 to " + std::to_string(kHighestFps) +
               ", not '" + text + "'";
      return false;
    }
    o->fps = static_cast<uint32_t>(fps);
    given->fps = true;
  } else if (option == "--from" || option == "--to" || option == "--still") {
    double seconds = 0.0;
    if (!parseSeconds(value, &seconds)) {
      *error = option + " needs a time in seconds, not '" + text + "'";
      return false;
    }
    if (!checkSongTime(seconds, option + " " + text, error)) return false;
    if (option == "--from") {
      o->from = seconds;
      given->from = true;
    } else if (option == "--to") {
      o->to = seconds;
      given->to = true;
    } else {
      o->stillSeconds = seconds;
      o->still = true;
    }
  } else if (option == "--path") {
    if (text != "post" && text != "direct") {
      *error = "--path is post or direct, not '" + text + "'";
      return false;
    }
    o->postProcess = text == "post";
  } else if (option == "--supersample") {
    long factor = 0;
    if (!parseCount(value, value + text.size(), kMostSupersample, &factor) || factor < 1 ||
        factor > kMostSupersample) {
      *error = "--supersample needs a whole number from 1 to " + std::to_string(kMostSupersample) + ", not '" +
               text + "'";
      return false;
    }
    o->supersample = static_cast<int>(factor);
  } else {
    std::string& path = option == "--wav" ? o->wavPath
                        : option == "--frames" ? o->framesDir
                        : option == "--video" ? o->videoPath
                                              : o->pngPath;
    path = text;
  }
  return true;
}

bool isValueOption(const std::string& option) {
  for (const char* name : {"--size", "--fps", "--from", "--to", "--path", "--supersample", "--wav", "--frames",
                           "--video", "--still", "--png"}) {
    if (option == name) return true;
  }
  return false;
}

bool isOutputOption(const std::string& option) {
  return option == "--wav" || option == "--frames" || option == "--video" || option == "--png";
}

bool checkTogether(const CaptureOptions& o, const Given& given, std::string* error) {
  const bool anyOutput = !o.wavPath.empty() || !o.framesDir.empty() || !o.videoPath.empty();
  if (o.still) {
    if (o.pngPath.empty()) {
      *error = "--still needs --png FILE";
      return false;
    }
    if (anyOutput || given.fps || given.from || given.to) {
      *error = "--still takes only --png, --size, --path and --supersample; capture a range without --still";
      return false;
    }
    return true;
  }
  if (!o.pngPath.empty()) {
    *error = "--png goes with --still SECONDS; a range is written with --frames DIR";
    return false;
  }
  if (!anyOutput) {
    *error = "nothing to capture: give --wav FILE, --frames DIR, --video FILE or --still S --png FILE";
    return false;
  }
  if (!(o.from < o.to)) {
    *error = "--from " + secondsText(o.from) + " must come before --to " + secondsText(o.to);
    return false;
  }
  const FrameRange range = optionsFrameRange(o);
  if (range.first == range.end) {
    *error = "no frame lies between " + secondsText(o.from) + " and " + secondsText(o.to) + " s at " +
             frameRateText(o.fps);
    return false;
  }
  if (!o.videoPath.empty() && !isH264Container(o.videoPath)) {
    *error = "--video needs a file name ending in .mp4, .m4v, .mov or .mkv, not '" + o.videoPath + "'";
    return false;
  }
  if (!o.videoPath.empty() && (o.width % 2 != 0 || o.height % 2 != 0)) {
    *error = "H.264 video needs an even width and height, not " + std::to_string(o.width) + "x" +
             std::to_string(o.height);
    return false;
  }
  return true;
}

}  // namespace

bool parseCaptureOptions(int argc, const char* const* argv, CaptureOptions* options, std::string* error) {
  *options = CaptureOptions{};
  Given given;
  std::map<std::string, std::string> values;  // each value option once: what it was given
  for (int i = 0; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--help" || option == "-h") {
      options->help = true;
      continue;
    }
    if (option == "--version") {
      options->version = true;
      continue;
    }
    if (!isValueOption(option)) {
      *error = "unknown argument '" + option + "'";
      return false;
    }
    if (i + 1 >= argc || argv[i + 1][0] == '\0' || std::strncmp(argv[i + 1], "--", 2) == 0) {
      *error = option + " needs a value";
      return false;
    }
    const std::string value = argv[++i];
    if (const auto first = values.find(option); first != values.end()) {
      *error = option + " is given twice ('" + first->second + "' and '" + value + "'): " +
               (isOutputOption(option) ? "each output is written once" : "give each option once");
      return false;
    }
    values[option] = value;
    if (!readOption(option, value.c_str(), options, &given, error)) return false;
  }
  return options->help || options->version || checkTogether(*options, given, error);
}

std::string frameRateText(uint32_t fps) {
  return std::to_string(fps) + (fps == 1 ? " frame a second" : " frames a second");
}

FrameRange optionsFrameRange(const CaptureOptions& options) {
  return frameRange(options.from, options.to, options.fps);
}

bool isH264Container(const std::string& videoPath) {
  const size_t dot = videoPath.rfind('.');
  const size_t slash = videoPath.rfind('/');
  // ".mp4" alone is a hidden file's name, not an extension.
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  if (dot == std::string::npos || dot <= nameStart) return false;
  std::string extension = videoPath.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return extension == "mp4" || extension == "m4v" || extension == "mov" || extension == "mkv";
}
