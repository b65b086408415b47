#include "tools/capture/song_render.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "synth/render_song.h"
#include "synth/shared_buffers.h"
#include "tools/capture/progress_meter.h"

namespace {

// Below this the render takes a blink; no progress then.
constexpr uint32_t kQuietRender = 10 * kSampleRate;

}  // namespace

bool renderSongThrough(uint32_t frames, std::string* error) {
  frames = std::min(frames, kSongFrames);
  if (synthFramesDone() >= frames) return true;
  resetSynth();
  bool rendered = false;
  std::atomic<bool> finished = false;  // also when the song data is refused and nothing is published
  SongDataError songError{};
  std::thread render([&] {
    rendered = renderSongFrames(shippedSong(), SynthOutput, frames, &songError);
    finished.store(true, std::memory_order_release);
  });
  if (frames > kQuietRender) {
    ProgressMeter meter;
    startProgress(meter, "rendering the song", frames, 1.0 / kSampleRate, "x real time");
    while (!finished.load(std::memory_order_acquire)) {
      showProgress(meter, synthFramesDone());
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    finishProgress(meter, synthFramesDone());
  }
  render.join();
  if (!rendered) {
    *error = std::string("the song data is invalid: ") + songError.message;
    return false;
  }
  return true;
}
