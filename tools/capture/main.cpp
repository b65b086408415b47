// glass-meridian-capture: renders the show offline into a WAVE file, PNG
// frames, a video or one still. `--help` lists the options.
#include <cstdio>
#include <string>

#include "host/build_version.h"
#include "platform/process.h"
#include "platform/stop_signals.h"
#include "tools/capture/capture_checks.h"
#include "tools/capture/capture_options.h"
#include "tools/capture/capture_run.h"
#include "tools/capture/capture_status.h"
#include "tools/capture/still_capture.h"

namespace {

int report(int status, const std::string& message, bool withUsage = false) {
  if (status != kCaptureDone)
    std::fprintf(stderr, "glass-meridian-capture: %s\n%s", message.c_str(), withUsage ? kCaptureSynopsis : "");
  return status;
}

int captureStillFrame(const CaptureOptions& options) {
  std::string error, ffmpeg;
  const int status = checkCapture(options, &ffmpeg, &error);
  if (status != kCaptureDone) return report(status, error);
  const StillRequest request{options.stillSeconds, options.width, options.height, options.postProcess};
  return report(captureStill(request, options.pngPath, &error), error);
}

int capture(int argc, char** argv) {
  CaptureOptions options;
  std::string error;
  if (!parseCaptureOptions(argc - 1, argv + 1, &options, &error)) return report(kCaptureRefused, error, true);
  if (options.version) {
    printVersion("glass-meridian-capture");
    return kCaptureDone;
  }
  if (options.help) {
    std::printf("%s\n%s", kCaptureSynopsis, kCaptureHelp);
    return kCaptureDone;
  }
  catchStopSignals();
  if (options.still) return captureStillFrame(options);
  return report(runCapture(options, &error), error);
}

}  // namespace

// A stop may leave the song's render thread running: the process ends
// without running destructors under it.
int main(int argc, char** argv) { exitProcess(capture(argc, argv)); }
