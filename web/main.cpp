// The web page's program: the show (the start panel, then the canvas; the
// song's end or Escape brings the panel back), or, with the page address
// ?still=SECONDS&size=WxH (and &path=direct), the one frame at that music
// time drawn as glass-meridian-capture --still draws it, shown edge to
// edge, after which the page's title says "still ready".
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/frame_values.h"
#include "host/intro_config.h"
#include "host/show.h"
#include "host/show_font.h"
#include "platform/message_box.h"
#include "platform/monotonic_clock.h"
#include "platform/process.h"
#include "platform/web_page.h"
#include "platform/window.h"
#include "synth/render_song.h"
#include "synth/shared_buffers.h"
#include "tools/capture/capture_options.h"
#include "tools/capture/frame_replay.h"
#include "tools/capture/frame_schedule.h"
#include "visuals/render_frame.h"
#include "visuals/renderer_setup.h"

namespace {

struct StillPage {
  uint32_t position = 0;
  int width = 0;
  int height = 0;
  bool postProcess = true;
};

[[noreturn]] void failStill(const std::string& message) {
  showMessage(message.c_str(), "Glass Meridian cannot draw the still");
  exitProcess(1);
}

StillPage readStillRequest(const std::string& secondsText) {
  StillPage still;
  char* end = nullptr;
  const double seconds = std::strtod(secondsText.c_str(), &end);
  if (secondsText.empty() || *end != '\0' || !stillPosition(seconds, &still.position)) {
    char range[64];
    std::snprintf(range, sizeof range, " is not a music time within the song (0 to %.3f s).", kSongSeconds);
    failStill("still=" + secondsText + range);
  }
  std::string size;
  char extra = 0;
  if (!pageParameter("size", &size) ||
      std::sscanf(size.c_str(), "%dx%d%c", &still.width, &still.height, &extra) != 2 ||
      still.width < kSmallestSide || still.height < kSmallestSide || still.width > kLargestSide ||
      still.height > kLargestSide) {
    failStill("size=" + size + " is not a frame size WxH of " + std::to_string(kSmallestSide) + " to " +
              std::to_string(kLargestSide) + " pixels a side.");
  }
  std::string path;
  if (pageParameter("path", &path)) {
    if (path != "direct" && path != "post") failStill("path=" + path + " is neither direct nor post.");
    still.postProcess = path == "post";
  }
  return still;
}

// The whole song first, timed, so that the page names its digest and its
// render speed.
void renderWholeSong() {
  const uint64_t startNs = monotonicNanoseconds();
  renderSong(SynthOutput);
  const double seconds = static_cast<double>(monotonicNanoseconds() - startNs) / 1e9;
  std::printf("song rendered in %.2f s (%.1fx real time)\n", seconds, kSongSeconds / seconds);
  reportBlockDigest(AudioBlock{{kSampleRate, 2}, SynthOutput, kSongFrames, synthFramesDone});
}

[[noreturn]] void showStill(const StillPage& still) {
  renderWholeSong();
  std::string error;
  if (!installShowFont(&error)) failStill(error);
  const WindowRequest request = {"Glass Meridian", still.width, still.height, false, true, false, false};
  if (!openWindow(request, &error)) failStill(error);
  if (!initRenderer(RendererSettings{still.width, still.height, still.postProcess}, &error)) failStill(error);
  ShowState state = replayFrames(framesBefore(still.position, kDefaultFps), kDefaultFps);
  renderFrame(frameInputs(state, beginFrameFromRecording(state, still.position)), state.textPageState);
  setPageTitle("still ready");
  keepPage();
}

}  // namespace

int main() {
  std::string seconds;
  if (pageParameter("still", &seconds)) showStill(readStillRequest(seconds));
  // CANCEL shows the panel again: a page has nothing else to go back to.
  for (;;) runShow(programInstance());
}
