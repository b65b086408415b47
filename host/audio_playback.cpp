#include "host/audio_playback.h"

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

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
// False with the reason when the song data is refused.
bool renderSlicesAhead(uint32_t position, std::string* error) {
  uint32_t rendered = 1;
  while (rendered != 0 && synthFramesDone() < kSongFrames && synthFramesDone() < position + kSliceLeadFrames)
    if (!renderSongAhead(SynthOutput, kSliceFrames, &rendered, error)) return false;
  const uint64_t untilNs = monotonicNanoseconds() + kSliceExtraNs;
  while (rendered != 0 && synthFramesDone() < kSongFrames && monotonicNanoseconds() < untilNs)
    if (!renderSongAhead(SynthOutput, kSliceFrames, &rendered, error)) return false;
  return true;
}

}  // namespace

bool startAudio(std::vector<std::string>* notes, std::string* error) {
  return startAudioWith(config->threadedSound ? SongRender::kOwnThread : SongRender::kBeforePlayback, notes, error);
}

bool startAudioWith(SongRender render, std::vector<std::string>* notes, std::string* error) {
  // A render thread or a worker cannot say why it refuses the song: it is
  // asked here.
  if (!checkShippedSong(error)) return false;
  std::string noThread;
  if (render == SongRender::kOwnThread && startThread(renderSong, SynthOutput, &noThread)) {
    waitForHeadStart();
  } else if (render == SongRender::kOwnThread) {
    // Without a thread of its own the song is rendered in slices ahead of
    // playback, from the frame loop.
    notes->push_back(noThread + "; the frame loop renders the song");
    if (!renderSongInSlices(error)) return false;
  } else if (render == SongRender::kBeforePlayback && renderSong(SynthOutput) != kSongRendered) {
    return checkShippedSong(error);
  }
  const AudioBlock song = {{kSampleRate, 2}, SynthOutput, kSongFrames, synthFramesDone};
  std::string reason;
  playback.outputOpen = openAudioOutput(song, &reason);
  if (!playback.outputOpen) {
    notes->push_back(reason + "; the show plays silently on the system clock");
    playback.wallStartNs = monotonicNanoseconds();
  }
  return true;
}

bool headStartReached(uint64_t startNs) {
  return synthFramesDone() >= kHeadStartFrames || monotonicNanoseconds() - startNs >= kHeadStartLimitNs;
}

bool renderSongInSlices(std::string* error) {
  if (playback.renderInSlices) return true;
  playback.renderInSlices = true;
  return renderSlicesAhead(0, error);
}

uint32_t playedPosition() {
  if (!playback.outputOpen)
    return wallClockPosition(playback.wallStartNs, monotonicNanoseconds(), kSongFrames, kSampleRate);
  return audioOutputPosition();
}

void keepSongAhead(uint32_t position) {
  // The song passed its check at the start; a refusal would stop the
  // render, and the song's rest would play as silence.
  std::string refused;
  if (playback.renderInSlices && !renderSlicesAhead(position, &refused)) playback.renderInSlices = false;
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
