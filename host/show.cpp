#include "host/show.h"

#include <cstdio>
#include <string>

#include "host/audio_playback.h"
#include "host/frame_values.h"
#include "host/intro_config.h"
#include "host/setup_dialog.h"
#include "host/show_font.h"
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

// A start-up that cannot go on: the viewer is told why, the font is
// removed and the process ends with status 1. Every failure of the show's
// start-up ends here.
[[noreturn]] void failAtStart(const std::string& message, const char* caption) {
  showMessage(message.c_str(), caption);
  removeShowFont();
  exitProcess(1);
}

// Without a window or a graphics device there is nothing to show.
[[noreturn]] void failWithoutGraphics(const std::string& reason) {
  failAtStart(reason, "Glass Meridian cannot start");
}

}  // namespace

int runShow(int32_t instance) {
  catchStopSignals();
  setIntroDefaults(introConfig, instance);
  // -1 (no dialog possible) starts with the defaults; only CANCEL ends here.
  const int answer = showSetupDialog(&introConfig);
  // A stop while the dialog is open ends the program before anything starts.
  if (stopSignal() != 0) exitProcess(stopExitStatus());
  if (answer == 0) return -1;
  initGraphics();
  startAudio();
  runFrameLoop();
  shutdown();
}

void initGraphics() {
  std::string error;
  if (!installShowFont(&error)) {
    // The reason on stderr; the viewer's message names the face.
    std::fprintf(stderr, "%s\n", error.c_str());
    failAtStart(kShowFontFailure, "Could not temporarily install Font!");
  }

  const WindowRequest request = {"Talon/Vexa", config->width,  config->height, config->windowed == 0,
                                 /*borderless=*/true, /*hideCursor=*/true, /*headless=*/false};
  if (!openWindow(request, &error)) failWithoutGraphics(error);

  // Only a failed compile or link ends the show here; a driver's remarks on
  // an effect that compiled do not.
  const RendererSettings settings = {config->width, config->height, config->postProcess != 0};
  if (!createRendererTargets(settings, &error)) failWithoutGraphics(error);
  if (!compileRendererEffect(&error)) failAtStart(error, kEffectFailureTitle);
  if (!createRendererResources(&error)) failWithoutGraphics(error);
}

bool stepShow() {
  const uint32_t position = playedPosition();
  keepSongAhead(position);
  const EffectValues values = beginFrameFromRecording(showState, position);
  renderFrame(frameInputs(showState, values), showState.textPageState);
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
}

void shutdown() {
  removeShowFont();
  stopAudio();
  exitProcess(stopSignal() != 0 ? stopExitStatus() : 0);
}
