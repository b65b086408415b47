#include "host/show.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/audio_playback.h"
#include "host/frame_values.h"
#include "host/intro_config.h"
#include "host/setup_dialog.h"
#include "host/show_font.h"
#include "platform/gpu.h"
#include "platform/keys.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/stop_signals.h"
#include "platform/window.h"
#include "visuals/render_frame.h"
#include "visuals/renderer_setup.h"

ShowState showState;

namespace {

IntroConfig introConfig;
bool firstFrameDrawn = false;  // since initGraphics

void tellNotes(const std::vector<std::string>& notes) {
  for (const std::string& note : notes) std::fprintf(stderr, "glass-meridian: %s\n", note.c_str());
}

// A start-up that cannot go on: the viewer is told why, the font is
// removed and the process ends with status 1. Every failure of the show's
// start-up ends here.
// A stop request while the message is up closes it and ends the process
// as a stop does.
[[noreturn]] void failAtStart(const std::string& message, const char* caption) {
  showMessage(message.c_str(), caption);
  removeShowFont();
  exitProcess(stopSignal() != 0 ? stopExitStatus() : 1);
}

// Without a window or a graphics device there is nothing to show.
[[noreturn]] void cannotStart(const std::string& reason) {
  failAtStart(reason, "Glass Meridian cannot start");
}

// The show itself ends only through exitProcess, which runs no exit
// handlers: an exit() comes from a library, the window system's when the
// connection to the display is lost. It says so.
void sayTheDisplayWasLost() {
  std::fprintf(stderr, "glass-meridian: the show ended: the connection to the display was lost\n");
}

}  // namespace

int runShow(int32_t instance) {
  catchStopSignals();
  setIntroDefaults(introConfig, instance);
  // -1 (no dialog possible) starts with the defaults; only CANCEL ends here.
  std::vector<std::string> notes;
  const int answer = showSetupDialog(&introConfig, &notes);
  tellNotes(notes);
  notes.clear();
  // A stop while the dialog is open ends the program before anything starts.
  if (stopSignal() != 0) exitProcess(stopExitStatus());
  if (answer == 0) return -1;
  std::atexit(sayTheDisplayWasLost);
  initGraphics();
  std::string error;
  const bool playing = startAudio(&notes, &error);
  tellNotes(notes);
  if (!playing) cannotStart(error);
  runFrameLoop();
  shutdown();
}

void cannotStartShow(const std::string& reason) { cannotStart(reason); }

void initGraphics() {
  std::string error;
  // The viewer's message names the face, then the reason.
  if (!installShowFont(&error)) failAtStart(std::string(kShowFontFailure) + ": " + error, kShowFontFailureTitle);

  const WindowRequest request = {kShowWindowTitle, config->width,  config->height, config->windowed == 0,
                                 /*borderless=*/true, /*hideCursor=*/true, /*headless=*/false};
  if (!openWindow(request, &error)) cannotStart(error);

  // Only a failed compile or link ends the show here; a driver's remarks on
  // an effect that compiled do not.
  const RendererSettings settings = {config->width, config->height, config->postProcess != 0};
  if (!createRendererTargets(settings, &error)) cannotStart(error);
  if (!compileRendererEffect(&error)) failAtStart(error, kEffectFailureTitle);
  if (!createRendererResources(&error)) cannotStart(error);
}

bool stepShow() {
  const uint32_t position = playedPosition();
  keepSongAhead(position);
  const EffectValues values = beginFrameFromRecording(showState, position);
  renderFrame(frameInputs(showState, values), showState.textPageState);
  // The first frame has used every call a frame makes: a device that
  // failed one of them says so once. Asking later would stall every frame
  // on a page.
  std::string deviceError;
  if (!firstFrameDrawn && !checkGpuErrors(&deviceError))
    tellNotes({"the graphics device failed on the first frame: " + deviceError + "; the show goes on"});
  firstFrameDrawn = true;
  if (endFrame(showState, position)) return false;
  return !escapePressed();
}

void runFrameLoop() {
  while (stepShow()) {
  }
}

void resetShow() {
  resetAudio();
  releaseRenderer();
  closeWindow();
  removeShowFont();
  showState = ShowState{};
  firstFrameDrawn = false;
}

void shutdown() {
  removeShowFont();
  stopAudio();
  exitProcess(stopSignal() != 0 ? stopExitStatus() : 0);
}
