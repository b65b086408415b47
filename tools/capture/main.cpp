// glass-meridian-capture: renders the show offline.
//   --wav FILE   the soundtrack as a 32-bit float stereo WAVE file
//   --still SECONDS --png FILE [--size WxH] [--path post|direct]   one frame
// Exit status 0 on success, 1 when the render fails, 2 for a usage error or
// a file that cannot be written.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "synth/render_song.h"
#include "synth/shared_buffers.h"
#include "synth/song_validation.h"
#include "tools/capture/still_capture.h"
#include "tools/capture/still_options.h"
#include "tools/capture/wav_file.h"

namespace {

constexpr const char* kUsage = "usage: glass-meridian-capture --wav FILE\n       glass-meridian-capture --still SECONDS --png FILE [--size WxH] [--path post|direct]\n";

int usageError(const char* message) {
  std::fprintf(stderr, "glass-meridian-capture: %s\n%s", message, kUsage);
  return 2;
}

int fileError(const std::string& message) {
  std::fprintf(stderr, "glass-meridian-capture: %s\n", message.c_str());
  return 2;
}

// Renders the song on its own thread, as the show does, with a progress
// line on stderr.
bool renderWithProgress() {
  SongDataError error{};
  if (!validateSongData(shippedSong(), &error)) {
    std::fprintf(stderr, "glass-meridian-capture: the song data is invalid: %s\n", error.message);
    return false;
  }
  std::thread render(renderSong, static_cast<void*>(SynthOutput));
  uint32_t shown = UINT32_MAX;
  for (;;) {
    const uint32_t done = synthFramesDone();
    const uint32_t percent = static_cast<uint32_t>(uint64_t{done} * 100 / kSongFrames);
    if (percent != shown) {
      std::fprintf(stderr, "\rrendering the song: %3u%%", percent);
      std::fflush(stderr);
      shown = percent;
    }
    if (done == kSongFrames) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  render.join();
  std::fprintf(stderr, "\n");
  return true;
}

int captureWav(const std::string& path) {
  WavFile wav;
  std::string error;
  if (!openWavFile(wav, path, error)) return fileError(error);
  if (!renderWithProgress()) {
    std::fclose(wav.file);
    return 1;
  }
  if (!writeFloatWav(wav, SynthOutput, kSongFrames, 2, kSampleRate, error)) return fileError(error);
  std::fprintf(stderr, "wrote %s: %u frames, %.1f s\n", path.c_str(), kSongFrames,
               static_cast<double>(kSongFrames) / kSampleRate);
  return 0;
}

int captureStillFrame(int argc, char** argv) {
  StillOptions options;
  std::string error;
  if (!parseStillOptions(argc - 1, argv + 1, &options, &error)) return usageError(error.c_str());
  if (!captureStill(options.request, options.pngPath.c_str(), &error)) {
    std::fprintf(stderr, "glass-meridian-capture: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--still") == 0) return captureStillFrame(argc, argv);
  std::string wavPath;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--wav") == 0) {
      if (i + 1 >= argc || argv[i + 1][0] == '\0') return usageError("--wav needs a file name");
      wavPath = argv[++i];
    } else {
      return usageError((std::string("unknown argument '") + argv[i] + "'").c_str());
    }
  }
  if (wavPath.empty()) return usageError("nothing to capture");
  return captureWav(wavPath);
}
