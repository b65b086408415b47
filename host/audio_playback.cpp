#include "host/audio_playback.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "host/audio_clock.h"
#include "host/intro_config.h"
#include "platform/audio_output.h"
#include "platform/monotonic_clock.h"
#include "synth/render_song.h"
#include "synth/shared_buffers.h"

namespace {

AudioClock playClock;
constexpr uint32_t kHeadStartFrames = 8192;             // about 0.19 s of the song
constexpr uint64_t kHeadStartLimitNs = 2000000000ull;  // never wait longer than this
uint32_t songCursor = 0;  // touched by the device thread only
bool deviceOpen = false;
uint64_t wallStartNs = 0;

}  // namespace

void pullSongFrames(float* out, uint32_t frames, void*) {
  const uint32_t before = songCursor;
  const uint32_t after = static_cast<uint32_t>(std::min<uint64_t>(uint64_t{before} + frames, kSongFrames));
  const uint32_t ready = std::min(synthFramesDone(), after);
  uint32_t i = before;
  for (; i < ready; ++i) {
    *out++ = loadShared(SynthOutput[2 * i]);
    *out++ = loadShared(SynthOutput[2 * i + 1]);
  }
  // Frames the render has not finished, and everything past the song's end,
  // play as silence.
  std::fill(out, out + 2 * (frames - (i - before)), 0.0f);
  songCursor = after;
  clockRecordPull(playClock, before, after, monotonicNanoseconds());
}

void startAudio() {
  if (config->threadedSound) {
    std::thread(renderSong, static_cast<void*>(SynthOutput)).detach();
    // The render needs a few milliseconds to get going; the device starts
    // once the first buffers are finished, so the song is heard from its
    // first frame. The render then runs far ahead of playback.
    const uint64_t giveUpNs = monotonicNanoseconds() + kHeadStartLimitNs;
    while (synthFramesDone() < kHeadStartFrames && monotonicNanoseconds() < giveUpNs)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  } else {
    renderSong(SynthOutput);
  }
  std::string reason;
  deviceOpen = openAudioOutput(pullSongFrames, nullptr, reason);
  if (!deviceOpen) {
    std::fprintf(stderr, "glass-meridian: %s; the show plays silently on the system clock\n", reason.c_str());
    wallStartNs = monotonicNanoseconds();
  }
}

uint32_t playedPosition() {
  const uint64_t now = monotonicNanoseconds();
  if (!deviceOpen) return wallClockPosition(wallStartNs, now, kSongFrames);
  return clockPosition(playClock, now, kSongFrames);
}

void stopAudio() {
  if (deviceOpen) closeAudioOutput();
  deviceOpen = false;
}

void resetAudioPlayback() {
  stopAudio();
  songCursor = 0;
  playClock.started.store(false);
  playClock.lastReported = 0;
}
