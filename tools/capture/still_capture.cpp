#include "tools/capture/still_capture.h"

#include <cmath>
#include <cstdio>

#include "host/frame_values.h"
#include "host/intro_config.h"
#include "host/show_font.h"
#include "platform/font.h"
#include "platform/gpu.h"
#include "synth/song_timing.h"
#include "tools/capture/png_file.h"
#include "visuals/render_frame.h"
#include "visuals/renderer_setup.h"
#include "visuals/scene_effect.h"
#include "visuals/text_layout.h"

namespace {

constexpr int kLargestSide = 8192;
constexpr uint32_t kSamplesPerShowFrame = kSampleRate / 60;  // the show at 60 frames a second

IntroConfig stillConfig = {};

// The frame loop's values at `position`, with the flash carried over from
// the frames a 60 Hz show would have drawn before it.
EffectValues frameValuesAt(uint32_t position) {
  resetFrameState();
  for (uint32_t p = 0; p < position; p += kSamplesPerShowFrame) {
    beginFrameFromRecording(p);
    endFrame(p);
  }
  return beginFrameFromRecording(position);
}

}  // namespace

bool stillPosition(double seconds, uint32_t* position) {
  if (!(seconds >= 0.0)) return false;
  const double samples = std::round(seconds * kSampleRate);
  if (samples > kSongFrames) return false;
  *position = static_cast<uint32_t>(samples);
  return true;
}

bool renderStill(const StillRequest& request, std::vector<uint8_t>* rgb, std::string* error) {
  uint32_t position = 0;
  if (!stillPosition(request.seconds, &position)) {
    char text[160];
    std::snprintf(text, sizeof text, "The music position %g s lies outside the song (0 to %.3f s).", request.seconds,
                  static_cast<double>(kSongFrames) / kSampleRate);
    *error = text;
    return false;
  }
  if (request.width < 4 || request.height < 4 || request.width > kLargestSide || request.height > kLargestSide) {
    *error = "The frame size " + std::to_string(request.width) + "x" + std::to_string(request.height) +
             " is not supported (4 to " + std::to_string(kLargestSide) + " pixels a side).";
    return false;
  }

  setIntroDefaults(stillConfig, 0);
  stillConfig.width = request.width;
  stillConfig.height = request.height;
  stillConfig.windowed = 1;
  stillConfig.postProcess = request.postProcess ? 1 : 0;
  config = &stillConfig;

  // The text face, as the show installs it: from the working directory or
  // beside the program.
  if (!installFont(kShowFontFile, kShowFontFamily)) {
    *error = std::string("Could not find or temporarily install C64 Pro - Font: ") +
             fontInstallProblem();
    return false;
  }
  const RendererFailure failure = initHeadlessGraphics(error);
  if (failure == RendererFailure::effect) *error = "Shader Compiler Error: " + *error;
  if (failure != RendererFailure::none) {
    removeFont(kShowFontFile);
    return false;
  }

  // The shake reads the envelope recording, which holds what the
  // synthesizer has rendered up to `position` (zeros where it has not).
  setEffectValues(frameValuesAt(position));
  // The text pages as the frames before this one left them; this frame's
  // own step of the countdown follows in drawFrame.
  seekTextPages(previousMusicTime, textPage, textCountdown);
  drawFrame();

  GpuSurface* screen = backBufferSurface();
  int width = 0, height = 0;
  surfaceSize(screen, &width, &height);
  std::vector<uint8_t> rgba(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  readSurface(screen, rgba.data());
  const std::string gpuError = takeGpuError();
  closeHeadlessGraphics();
  removeFont(kShowFontFile);
  if (!gpuError.empty()) {
    *error = "The frame could not be drawn: " + gpuError;
    return false;
  }
  if (width != request.width || height != request.height) {
    *error = "The graphics driver made a " + std::to_string(width) + "x" + std::to_string(height) +
             " back buffer instead of the requested size.";
    return false;
  }
  rgb->resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
  for (size_t i = 0, n = static_cast<size_t>(width) * static_cast<size_t>(height); i < n; ++i) {
    (*rgb)[3 * i] = rgba[4 * i];
    (*rgb)[3 * i + 1] = rgba[4 * i + 1];
    (*rgb)[3 * i + 2] = rgba[4 * i + 2];
  }
  return true;
}

bool captureStill(const StillRequest& request, const char* pngPath, std::string* error) {
  std::vector<uint8_t> rgb;
  return renderStill(request, &rgb, error) && writePngFile(pngPath, rgb.data(), request.width, request.height, error);
}
