#include "web/still_page.h"

#include <cstdio>
#include <cstdlib>

#include "host/audio_playback.h"
#include "host/frame_replay.h"
#include "host/frame_schedule.h"
#include "host/frame_values.h"
#include "host/show_font.h"
#include "host/still_checks.h"
#include "platform/message_box.h"
#include "platform/monotonic_clock.h"
#include "platform/web_page.h"
#include "platform/window.h"
#include "synth/render_song.h"
#include "synth/shared_buffers.h"
#include "visuals/render_frame.h"
#include "visuals/renderer_setup.h"

namespace {

struct StillRequest {
  uint32_t position = 0;
  int width = 0;
  int height = 0;
  bool postProcess = true;
};

constexpr char kStillFailure[] = "Glass Meridian cannot draw the still";

// The request from the address; false with the message when it names no
// still that can be drawn.
bool readStillRequest(const std::string& secondsText, StillRequest* still, std::string* error) {
  char* end = nullptr;
  const double seconds = std::strtod(secondsText.c_str(), &end);
  if (secondsText.empty() || *end != '\0') {
    *error = "still=" + secondsText + " is not a time in seconds";
    return false;
  }
  if (!checkSongTime(seconds, "still=" + secondsText, error)) return false;
  stillPosition(seconds, &still->position);
  std::string size;
  char extra = 0;
  if (!pageParameter("size", &size) ||
      std::sscanf(size.c_str(), "%dx%d%c", &still->width, &still->height, &extra) != 2) {
    *error = "size=" + size + " is not a frame size WxH, for instance 1280x720";
    return false;
  }
  if (!checkFrameSize(still->width, still->height, size, error)) return false;
  std::string path;
  if (pageParameter("path", &path)) {
    if (path != "direct" && path != "post") {
      *error = "path=" + path + " is neither direct nor post";
      return false;
    }
    still->postProcess = path == "post";
  }
  return true;
}

// The whole song first, from the synthesizer's first state, timed, so that
// the page names its digest and its render speed. False with the reason
// when the song data is refused.
bool renderWholeSong(std::string* error) {
  resetAudio();
  const uint64_t startNs = monotonicNanoseconds();
  if (renderSong(SynthOutput) != kSongRendered) return checkShippedSong(error);
  const double seconds = static_cast<double>(monotonicNanoseconds() - startNs) / 1e9;
  std::printf("song rendered in %.2f s (%.1fx real time)\n", seconds, kSongSeconds / seconds);
  reportBlockDigest(AudioBlock{{kSampleRate, 2}, SynthOutput, kSongFrames, synthFramesDone});
  return true;
}

bool drawStill(const StillRequest& still, std::string* error) {
  if (!renderWholeSong(error)) return false;
  if (!installShowFont(error)) return false;
  const WindowRequest request = {"Glass Meridian", still.width, still.height, false, true, false, false};
  if (!openWindow(request, error)) return false;
  if (!initRenderer(RendererSettings{still.width, still.height, still.postProcess}, error)) return false;
  ShowState state = replayToStill(still.position);
  renderFrame(frameInputs(state, beginFrameFromRecording(state, still.position)), state.textPageState);
  return true;
}

}  // namespace

void showStill(const std::string& seconds) {
  StillRequest still;
  std::string error;
  if (readStillRequest(seconds, &still, &error) && drawStill(still, &error)) {
    setPageTitle("still ready");
    return;
  }
  showMessage(error.c_str(), kStillFailure);
}
