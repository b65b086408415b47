#include "tools/capture/song_render.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "platform/stop_signals.h"
#include "synth/render_song.h"
#include "synth/shared_buffers.h"
#include "tools/capture/progress_meter.h"
#include "tools/capture/staged_output.h"

namespace {

// Below this the render takes a blink; no progress then.
constexpr uint32_t kQuietRender = 10 * kSampleRate;

}  // namespace

bool renderSongThrough(uint32_t frames, std::FILE* progress, std::string* error) {
  frames = std::min(frames, kSongFrames);
  if (synthFramesDone() >= frames) return true;
  resetSynth();
  // Shared with the render thread, which a stop leaves running until the
  // process ends.
  struct Render {
    bool rendered = false;
    std::atomic<bool> finished = false;  // also when the song data is refused and nothing is published
    std::string songError;
  };
  const auto render = std::make_shared<Render>();
  std::thread thread([render, frames] {
    render->rendered = renderSongFrames(shippedSong(), SynthOutput, frames, &render->songError);
    render->finished.store(true, std::memory_order_release);
  });
  ProgressMeter meter;
  meter.stream = progress;
  const bool showing = progress != nullptr && frames > kQuietRender;
  if (showing) startProgress(meter, "rendering the song", frames, 1.0 / kSampleRate, "x real time");
  bool stopped = false;
  while (!render->finished.load(std::memory_order_acquire) && !stopped) {
    if (showing) showProgress(meter, synthFramesDone());
    std::this_thread::sleep_for(std::chrono::milliseconds(showing ? 50 : 1));
    stopped = stopSignal() != 0;
  }
  if (showing) finishProgress(meter, synthFramesDone());
  if (stopped) {
    thread.detach();
    *error = "the song render was stopped";
    return false;
  }
  thread.join();
  if (meter.writeError != 0) {
    *error = writeFailure("standard error", meter.writeError);
    return false;
  }
  if (!render->rendered) {
    *error = std::string("the song data is invalid: ") + render->songError;
    return false;
  }
  return true;
}
