#include "host/audio_playback.h"

#include <chrono>
#include <cstdio>
#include <cstring>
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
constexpr uint32_t kSliceFrames = 1024;                // one step of the render in slices
constexpr uint32_t kSliceLeadFrames = 3 * kSampleRate;  // rendered ahead of playback whatever it takes
constexpr uint64_t kSliceExtraNs = 4000000ull;         // a frame's time for rendering further ahead

// Where the show's sound comes from and how its render keeps up.
struct Playback {
  bool outputOpen = false;
  bool renderInSlices = false;  // no render thread: the frame loop renders
  uint64_t wallStartNs = 0;     // the silent show's clock, without an output
};

Playback playback;

// The render needs a few milliseconds to get going; the output starts once
// the first buffers are finished, so the song is heard from its first frame.
// The render then runs far ahead of playback.
void waitForHeadStart() {
  const uint64_t startNs = monotonicNanoseconds();
  while (!headStartReached(startNs)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// Without a render thread the frame loop renders: first whatever keeps the
// song kSliceLeadFrames ahead of `position`, then further slices for a few
// milliseconds, so that the render finishes long before playback does.
void renderSlicesAhead(uint32_t position) {
  while (synthFramesDone() < kSongFrames && synthFramesDone() < position + kSliceLeadFrames)
    renderSongAhead(SynthOutput, kSliceFrames);
  const uint64_t untilNs = monotonicNanoseconds() + kSliceExtraNs;
  while (synthFramesDone() < kSongFrames && monotonicNanoseconds() < untilNs)
    renderSongAhead(SynthOutput, kSliceFrames);
}

}  // namespace

void startAudio() { startAudioWith(config->threadedSound ? SongRender::kOwnThread : SongRender::kBeforePlayback); }

void startAudioWith(SongRender render, std::string* outputProblem) {
  if (render == SongRender::kOwnThread && startThread(renderSong, SynthOutput)) {
    waitForHeadStart();
  } else if (render == SongRender::kOwnThread) {
    // Without a thread of its own the song is rendered in slices ahead of
    // playback, from the frame loop.
    renderSongInSlices("no thread for the song's render");
  } else if (render == SongRender::kBeforePlayback) {
    renderSong(SynthOutput);
  }
  const AudioBlock song = {{kSampleRate, 2}, SynthOutput, kSongFrames, synthFramesDone};
  std::string reason;
  playback.outputOpen = openAudioOutput(song, &reason);
  if (!playback.outputOpen) {
    std::fprintf(stderr, "glass-meridian: %s; the show plays silently on the system clock\n", reason.c_str());
    if (outputProblem) *outputProblem = reason;
    playback.wallStartNs = monotonicNanoseconds();
  }
}

bool headStartReached(uint64_t startNs) {
  return synthFramesDone() >= kHeadStartFrames || monotonicNanoseconds() - startNs >= kHeadStartLimitNs;
}

void renderSongInSlices(const std::string& reason) {
  if (playback.renderInSlices) return;
  if (!reason.empty()) std::fprintf(stderr, "glass-meridian: %s; the frame loop renders it\n", reason.c_str());
  playback.renderInSlices = true;
  renderSlicesAhead(0);
}

uint32_t playedPosition() {
  if (!playback.outputOpen)
    return wallClockPosition(playback.wallStartNs, monotonicNanoseconds(), kSongFrames, kSampleRate);
  return audioOutputPosition();
}

void keepSongAhead(uint32_t position) {
  if (playback.renderInSlices) renderSlicesAhead(position);
}

void stopAudio() {
  if (playback.outputOpen) closeAudioOutput();
  playback.outputOpen = false;
}

void resetAudio() {
  stopAudio();
  playback = Playback{};
  resetSynth();
  std::memset(SynthOutput, 0, sizeof SynthOutput);
}
