#include "host/show.h"

#include <string>

#include "host/audio_playback.h"
#include "host/frame_values.h"
#include "host/intro_config.h"
#include "host/setup_dialog.h"
#include "host/show_font.h"
#include "platform/keys.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/window.h"
#include "visuals/render_frame.h"
#include "visuals/renderer_setup.h"
#include "visuals/scene_effect.h"

namespace {

IntroConfig introConfig;

// Without a window, a graphics device or a compiled effect there is
// nothing to show: the viewer is told why, the font is removed and the
// process ends with status 1.
[[noreturn]] void failToStart(const std::string& reason, const char* caption) {
  showMessage(reason.c_str(), caption);
  removeShowFont();
  exitProcess(1);
}

constexpr char kCannotStart[] = "Glass Meridian cannot start";

}  // namespace

int runShow(int32_t instance) {
  setIntroDefaults(introConfig, instance);
  // -1 (no dialog possible) starts with the defaults; only CANCEL ends here.
  if (showSetupDialog(&introConfig) == 0) return -1;
  initGraphics();
  startAudio();
  runFrameLoop();
  shutdown();
}

void initGraphics() {
  installShowFont();

  const WindowRequest request = {"Talon/Vexa", config->width,  config->height, config->windowed == 0,
                                 /*borderless=*/true, /*hideCursor=*/true, /*headless=*/false};
  std::string error;
  if (!openWindow(request, &error)) failToStart(error, kCannotStart);

  // Only a failed compile or link ends the show here; a driver's remarks on
  // an effect that compiled do not.
  switch (initRenderer(&error)) {
    case RendererFailure::none:
      break;
    case RendererFailure::effect:
      failToStart(error, "Shader Compiler Error");
    case RendererFailure::resources:
      failToStart(error, kCannotStart);
  }
}

void runFrameLoop() {
  for (;;) {
    const uint32_t position = playedPosition();
    setEffectValues(beginFrameFromRecording(position));
    renderFrame();
    if (endFrame(position)) return;
    if (escapePressed()) return;
  }
}

void shutdown() {
  removeShowFont();
  stopAudio();
  exitProcess(0);
}
