#include "tools/capture/capture_options.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

const char* const kCaptureSynopsis =
    "usage: glass-meridian-capture [--size WxH] [--fps N] [--from S] [--to S] [--path post|direct]\n"
    "                              [--supersample N] [--wav FILE] [--frames DIR [--shard I/K]]\n"
    "                              [--video FILE [ENCODING]]\n"
    "       glass-meridian-capture --from-frames DIR... [--frames DIR] [--video FILE [ENCODING]] [--wav FILE]\n"
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
    "  --shard I/K       only part I (0 to K-1) of K parts of the range, whole\n"
    "                    frames each, into --frames: captures of every part\n"
    "                    give the frames of one capture of the range\n"
    "  --from-frames DIR  make --video, --wav and --frames from frame sets\n"
    "                    instead of drawing (give it once for each set, e.g.\n"
    "                    each shard): range, rate and size come from the sets'\n"
    "                    frames.csv and pictures, which must cover the range\n"
    "                    whole, every frame once and of one size (--fps picks\n"
    "                    the rate when a set is too short to tell)\n"
    "Encoding (ENCODING) of --video, libx264:\n"
    "  --crf N           quality, 0 (lossless) to 51, lower is better (18)\n"
    "  --x264-preset P   ultrafast to placebo: slower packs better (medium)\n"
    "  --pixel-format F  yuv420p (plays everywhere), yuv444p (full colour\n"
    "                    edges), yuv420p10le or yuv444p10le (10 bits: no bands\n"
    "                    in the glow) (yuv420p)\n"
    "  --check           check the command line, the outputs, the font and\n"
    "                    ffmpeg as a capture does first; render nothing\n"
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

constexpr long kMostShards = 100000;

using GivenValues = std::map<std::string, std::string>;  // each value option once: what it was given

bool checkEncoding(const CaptureOptions& o, const GivenValues& values, std::string* error) {
  if (!o.videoPath.empty()) return true;
  for (const char* option : {"--crf", "--x264-preset", "--pixel-format"}) {
    if (values.count(option) == 0) continue;
    *error = std::string(option) + " sets how --video is encoded; it goes with --video FILE";
    return false;
  }
  return true;
}

bool checkVideoName(const std::string& videoPath, std::string* error) {
  if (isH264Container(videoPath)) return true;
  *error = "--video needs a file name ending in .mp4, .m4v, .mov or .mkv, not '" + videoPath + "'";
  return false;
}

// From frame sets: the outputs only, and the rate to tell a short set's.
bool checkFromFrames(const CaptureOptions& o, const GivenValues& values, std::string* error) {
  for (const auto& [option, value] : values) {
    if (option == "--from-frames" || option == "--frames" || option == "--video" || option == "--wav" ||
        option == "--fps" || option == "--crf" || option == "--x264-preset" || option == "--pixel-format")
      continue;
    *error = "--from-frames takes the range, size and picture from the frame sets, not " + option +
             "; it makes --video, --wav and --frames";
    return false;
  }
  if (o.videoPath.empty() && o.wavPath.empty() && o.framesDir.empty()) {
    *error = "--from-frames needs something to make: --video FILE, --wav FILE or --frames DIR";
    return false;
  }
  if (!o.videoPath.empty() && !checkVideoName(o.videoPath, error)) return false;
  return checkEncoding(o, values, error);
}

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
  } else if (option == "--shard") {
    const char* slash = std::strchr(value, '/');
    long part = 0, parts = 0;
    if (slash == nullptr || !parseCount(value, slash, kMostShards, &part) ||
        !parseCount(slash + 1, value + text.size(), kMostShards, &parts) || parts < 1 || parts > kMostShards ||
        part >= parts) {
      *error = "--shard needs I/K, part I from 0 to K-1 of K parts (K from 1 to " + std::to_string(kMostShards) +
               "), not '" + text + "'";
      return false;
    }
    o->shard = static_cast<uint32_t>(part);
    o->shards = static_cast<uint32_t>(parts);
  } else if (option == "--crf") {
    long crf = 0;
    if (!parseCount(value, value + text.size(), kHighestCrf, &crf) || crf > kHighestCrf) {
      *error = "--crf needs a whole number from 0 to " + std::to_string(kHighestCrf) + ", not '" + text + "'";
      return false;
    }
    o->encoding.crf = static_cast<int>(crf);
  } else if (option == "--x264-preset") {
    if (!isX264Preset(text)) {
      *error = "--x264-preset is one of " + x264PresetList() + ", not '" + text + "'";
      return false;
    }
    o->encoding.preset = text;
  } else if (option == "--pixel-format") {
    if (!isVideoPixelFormat(text)) {
      *error = "--pixel-format is one of " + videoPixelFormatList() + ", not '" + text + "'";
      return false;
    }
    o->encoding.pixelFormat = text;
  } else if (option == "--from-frames") {
    o->fromFrames.push_back(text);
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
                           "--video", "--still", "--png", "--shard", "--crf", "--x264-preset", "--pixel-format",
                           "--from-frames"}) {
    if (option == name) return true;
  }
  return false;
}

bool isOutputOption(const std::string& option) {
  return option == "--wav" || option == "--frames" || option == "--video" || option == "--png";
}

bool checkTogether(const CaptureOptions& o, const Given& given, const GivenValues& values, std::string* error) {
  if (!o.fromFrames.empty()) return checkFromFrames(o, values, error);
  const bool anyOutput = !o.wavPath.empty() || !o.framesDir.empty() || !o.videoPath.empty();
  if (o.still) {
    if (o.pngPath.empty()) {
      *error = "--still needs --png FILE";
      return false;
    }
    if (anyOutput || given.fps || given.from || given.to || o.shards > 0) {
      *error = "--still takes only --png, --size, --path and --supersample; capture a range without --still";
      return false;
    }
    return checkEncoding(o, values, error);
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
  const FrameRange range = frameRange(o.from, o.to, o.fps);
  if (range.first == range.end) {
    *error = "no frame lies between " + secondsText(o.from) + " and " + secondsText(o.to) + " s at " +
             frameRateText(o.fps);
    return false;
  }
  if (o.shards > 0 && (o.framesDir.empty() || !o.videoPath.empty() || !o.wavPath.empty())) {
    *error = "--shard writes only --frames DIR; the video and the soundtrack come from the whole set with "
             "--from-frames";
    return false;
  }
  if (o.shards > range.end - range.first) {
    *error = "--shard " + std::to_string(o.shard) + "/" + std::to_string(o.shards) + ": the range holds only " +
             std::to_string(range.end - range.first) + " frames, fewer than its parts";
    return false;
  }
  if (!o.videoPath.empty() && !checkVideoName(o.videoPath, error)) return false;
  if (!o.videoPath.empty() && !checkVideoFrameSize(o.width, o.height, error)) return false;
  return checkEncoding(o, values, error);
}

}  // namespace

bool parseCaptureOptions(int argc, const char* const* argv, CaptureOptions* options, std::string* error) {
  *options = CaptureOptions{};
  Given given;
  GivenValues values;
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
    if (option == "--check") {
      options->checkOnly = true;
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
    if (const auto first = values.find(option); first != values.end() && option != "--from-frames") {
      *error = option + " is given twice ('" + first->second + "' and '" + value + "'): " +
               (isOutputOption(option) ? "each output is written once" : "give each option once");
      return false;
    }
    values[option] = value;
    if (!readOption(option, value.c_str(), options, &given, error)) return false;
  }
  if (options->help || options->version) return true;
  if (!checkTogether(*options, given, values, error)) return false;
  if (!options->fromFrames.empty() && !given.fps) options->fps = 0;  // the sets tell
  return true;
}

std::string frameRateText(uint32_t fps) {
  return std::to_string(fps) + (fps == 1 ? " frame a second" : " frames a second");
}

FrameRange optionsFrameRange(const CaptureOptions& options) {
  const FrameRange range = frameRange(options.from, options.to, options.fps);
  if (options.shards == 0) return range;
  const uint64_t count = range.end - range.first;
  return {static_cast<uint32_t>(range.first + count * options.shard / options.shards),
          static_cast<uint32_t>(range.first + count * (options.shard + 1) / options.shards)};
}

bool checkVideoFrameSize(int width, int height, std::string* error) {
  if (width % 2 == 0 && height % 2 == 0) return true;
  *error = "H.264 video needs an even width and height, not " + frameSizeText(width, height);
  return false;
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
