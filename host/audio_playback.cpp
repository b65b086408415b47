#include "host/audio_playback.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "host/intro_config.h"
#include "platform/audio_clock.h"
#include "platform/audio_output.h"
#include "platform/monotonic_clock.h"
#include "platform/thread.h"
#include "synth/render_song.h"
#include "synth/shared_buffers.h"

namespace {

constexpr uint32_t kHeadStartFrames = 8192;             // about 0.19 s of the song
constexpr uint64_t kHeadStartLimitNs = 2000000000ull;  // never wait longer than this
bool outputOpen = false;
uint64_t wallStartNs = 0;

// The render needs a few milliseconds to get going; the output starts once
// the first buffers are finished, so the song is heard from its first frame.
// The render then runs far ahead of playback.
void waitForHeadStart() {
  const uint64_t giveUpNs = monotonicNanoseconds() + kHeadStartLimitNs;
  while (synthFramesDone() < kHeadStartFrames && monotonicNanoseconds() < giveUpNs)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

}  // namespace

void startAudio() {
  if (config->threadedSound && startThread(renderSong, SynthOutput)) {
    waitForHeadStart();
  } else {
    // Without a thread of its own the song would never be rendered and the
    // show would play in silence: it is rendered before it plays instead.
    if (config->threadedSound)
      std::fprintf(stderr, "glass-meridian: no thread for the song's render; it renders before it plays\n");
    renderSong(SynthOutput);
  }
  const AudioBlock song = {{kSampleRate, 2}, SynthOutput, kSongFrames, synthFramesDone};
  std::string reason;
  outputOpen = openAudioOutput(song, &reason);
  if (!outputOpen) {
    std::fprintf(stderr, "glass-meridian: %s; the show plays silently on the system clock\n", reason.c_str());
    wallStartNs = monotonicNanoseconds();
  }
}

uint32_t playedPosition() {
  if (!outputOpen) return wallClockPosition(wallStartNs, monotonicNanoseconds(), kSongFrames, kSampleRate);
  return audioOutputPosition();
}

void stopAudio() {
  if (outputOpen) closeAudioOutput();
  outputOpen = false;
}
