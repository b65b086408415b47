#include "web/show_page.h"

#include <string>
#include <vector>

#include "host/audio_playback.h"
#include "host/intro_config.h"
#include "host/setup_dialog.h"
#include "host/show.h"
#include "platform/keys.h"
#include "platform/monotonic_clock.h"
#include "platform/process.h"
#include "platform/web_page.h"
#include "synth/song_timing.h"
#include "web/song_feed.h"

namespace {

enum class Stage {
  kIdle,      // nothing of the show is open
  kPanel,     // the panel waits for START or CANCEL
  kStarting,  // graphics open; the audio and the song's head start are on their way
  kPlaying,   // one step of the show per animation frame
};

struct ShowPage {
  Stage stage = Stage::kIdle;
  IntroConfig record = {};
  uint64_t startNs = 0;  // when the song's render started (with the panel)
  bool audioReady = false;
};

ShowPage page;

void audioReady() { page.audioReady = true; }

void panelAnswered(int result, const SetupWindowChoice* choice);

void showPanel() {
  page.stage = Stage::kPanel;
  setIntroDefaults(page.record, programInstance());
  std::vector<std::string> notes;
  const SetupWindowContent content = beginSetupDialog(&page.record, &notes);
  for (const std::string& note : notes) showPageNotice(note.c_str());
  openSetupPanel(content, panelAnswered);
}

bool showFrame() {
  if (page.stage == Stage::kStarting) {
    if (!page.audioReady || !headStartReached(page.startNs)) return true;
    std::vector<std::string> notes;
    std::string error;
    if (!startAudioWith(SongRender::kOutside, &notes, &error)) cannotStartShow(error);
    for (const std::string& note : notes) showPageNotice(note.c_str());
    page.stage = Stage::kPlaying;
  }
  if (page.stage != Stage::kPlaying) return false;
  const bool going = stepShow();
  reportSongWhenComplete();
  if (going) return true;
  endPageShow();
  openShowPanel();
  return false;
}

void panelAnswered(int result, const SetupWindowChoice* choice) {
  if (page.stage != Stage::kPanel) return;
  // CANCEL shows the panel again: a page has nothing else to go back to.
  // The song's render goes on.
  if (result != 1) {
    showPanel();
    return;
  }
  applySetupChoice(page.record, *choice);
  page.stage = Stage::kStarting;
  page.audioReady = false;
  // A failure here shows its message and returns to the page.
  initGraphics();
  // In the turn of the viewer's click, which lets the sound start.
  prepareAudioOutput(kSampleRate, audioReady);
  escapePressed();  // the panel's own keys end no show
  startAnimationFrames(showFrame);
}

}  // namespace

void openShowPanel() {
  // The song renders while the panel waits: the show after START finds it
  // well ahead.
  page.startNs = monotonicNanoseconds();
  startSongFeed();
  showPanel();
}

void endPageShow() {
  page.stage = Stage::kIdle;
  closeSetupPanel();
  stopSongFeed();
  resetShow();
  showPageNotice("");
}
