// glass-meridian-capture: renders the show offline into a WAVE file, PNG
// frames, a video or one still. `--help` lists the options.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "host/build_version.h"
#include "platform/process.h"
#include "platform/stop_signals.h"
#include "tools/capture/capture_checks.h"
#include "tools/capture/capture_graphics.h"
#include "tools/capture/capture_options.h"
#include "tools/capture/capture_run.h"
#include "tools/capture/capture_status.h"
#include "tools/capture/still_capture.h"

namespace {

constexpr char kProgram[] = "glass-meridian-capture";

int report(int status, const std::string& message, bool withUsage = false) {
  if (status != kCaptureDone)
    std::fprintf(stderr, "%s: %s\n%s", kProgram, message.c_str(), withUsage ? kCaptureSynopsis : "");
  return status;
}

int captureStillFrame(const CaptureOptions& options, CaptureReport& notes) {
  std::string error, ffmpeg;
  const int status = checkCapture(options, &ffmpeg, &error);
  if (status != kCaptureDone) return report(status, error);
  if (options.checkOnly) return report(checkCaptureFont(&error) ? kCaptureDone : kCaptureRefused, error);
  const StillRequest request{options.stillSeconds, options.width, options.height, options.postProcess,
                             options.supersample};
  return report(captureStill(request, options.pngPath, notes, &error), error);
}

int capture(int argc, char** argv) {
  // A write past a closed pipe or the file size limit fails with EPIPE or
  // EFBIG like any other refused write instead of ending the process.
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
  CaptureOptions options;
  std::string error;
  if (!parseCaptureOptions(argc - 1, argv + 1, &options, &error)) return report(kCaptureRefused, error, true);
  if (options.version || options.help) {
    const bool written = options.version ? printVersion(kProgram)
                                         : std::printf("%s\n%s", kCaptureSynopsis, kCaptureHelp) >= 0 &&
                                               std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
    return report(written ? kCaptureDone : kCaptureFailed,
                  std::string("writing to standard output failed: ") + std::strerror(errno));
  }
  catchStopSignals();
  CaptureReport notes{stderr, kProgram};
  if (options.still) return captureStillFrame(options, notes);
  return report(runCapture(options, notes, &error), error);
}

}  // namespace

// A stop may leave the song's render thread running: the process ends
// without running destructors under it.
int main(int argc, char** argv) {
  keepStandardStreamsOpen();
  int status = kCaptureFailed;
  try {
    status = capture(argc, argv);
  } catch (const std::bad_alloc&) {
    status = report(kCaptureFailed, "out of memory");
  }
  exitProcess(status);
}
