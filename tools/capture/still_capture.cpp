#include "tools/capture/still_capture.h"

#include <cmath>
#include <cstdio>
#include <new>

#include "host/frame_values.h"
#include "tools/capture/capture_graphics.h"
#include "tools/capture/capture_options.h"
#include "tools/capture/capture_status.h"
#include "tools/capture/capture_stop.h"
#include "host/frame_replay.h"
#include "host/frame_schedule.h"
#include "host/still_checks.h"
#include "tools/capture/png_file.h"
#include "tools/capture/song_render.h"
#include "tools/capture/staged_output.h"

namespace {

bool drawStill(uint32_t position, const StillRequest& request, std::FILE* progress, std::vector<uint8_t>* rgb,
               std::string* error) {
  if (!renderSongThrough(songFramesForPosition(position), progress, error)) return false;
  if (!openCaptureGraphics(request.width, request.height, request.postProcess, request.supersample, error))
    return false;
  ShowState state = replayToStill(position);
  drawCaptureFrame(state, beginFrameFromRecording(state, position));
  const size_t pixels = static_cast<size_t>(request.width) * static_cast<size_t>(request.height);
  std::vector<uint8_t> rgba(pixels * 4);
  const bool read = readCaptureFrame(rgba.data(), error);
  closeCaptureGraphics();
  if (!read) return false;
  rgb->resize(pixels * 3);
  rgbaToRgb(rgba.data(), pixels, rgb->data());
  return true;
}

// renderStill, with the song's progress on `progress` (null: none).
int renderStillShowing(const StillRequest& request, std::FILE* progress, std::vector<uint8_t>* rgb,
                       std::string* error) {
  uint32_t position = 0;
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%g s", request.seconds);
  if (!checkSongTime(request.seconds, std::string("the music position ") + seconds, error) ||
      !stillPosition(request.seconds, &position) ||
      !checkFrameSize(request.width, request.height, frameSizeText(request.width, request.height), error) ||
      !checkSupersampleSize(request.width, request.height, request.supersample, error))
    return kCaptureRefused;
  if (!installCaptureFont(error)) return kCaptureRefused;
  const bool drawn = drawStill(position, request, progress, rgb, error);
  removeCaptureFont();
  return drawn ? kCaptureDone : kCaptureFailed;
}

}  // namespace

int renderStill(const StillRequest& request, std::vector<uint8_t>* rgb, std::string* error) {
  return renderStillShowing(request, nullptr, rgb, error);
}

int captureStill(const StillRequest& request, const std::string& pngPath, CaptureReport& report, std::string* error) {
  // Staged first: a name that cannot be written is refused before the render.
  StagedFile png;
  const bool staged = stageFile(png, pngPath, error);
  for (const std::string& note : png.leftovers) reportNote(report, note);
  if (!staged) return kCaptureRefused;
  std::vector<uint8_t> rgb;
  int status = kCaptureFailed;
  try {
    status = renderStillShowing(request, report.stream, &rgb, error);
  } catch (const std::bad_alloc&) {
    *error = "out of memory";
  }
  const int stop = captureStopStatus(error);
  if (stop != kCaptureDone) status = stop;
  if (status == kCaptureDone)
    status = writePng(png.descriptor, pngPath, rgb.data(), request.width, request.height, error) &&
                     commitStaged({&png}, nullptr, error)
                 ? kCaptureDone
                 : kCaptureFailed;
  discardFile(png);
  return status;
}
