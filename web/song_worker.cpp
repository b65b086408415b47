// The song's worker (glass-meridian-synth.js and .wasm beside the page):
// the shipped song rendered by the same synthesizer as every program, in
// blocks; each finished block (its frames and the envelope recording rows
// they complete) goes to the page, which publishes it as the render thread
// publishes its frames natively.
#include <cstdio>
#include <string>

#include "platform/monotonic_clock.h"
#include "platform/web_worker.h"
#include "synth/render_song.h"
#include "synth/shared_buffers.h"

namespace {

// About 0.37 s of the song a block; a whole number of recording rows, so
// that every block but the last ends where a row does.
constexpr uint32_t kBlockFrames = 64 * kFramesPerEnvelopeRow;

}  // namespace

int main() {
  const uint64_t startNs = monotonicNanoseconds();
  uint32_t sent = 0;
  uint32_t rendered = 1;
  std::string error;
  while (rendered != 0) {
    // The page checks the song before it plays; a refusal here ends the
    // worker, and the page renders in slices, where it is told why.
    if (!renderSongAhead(SynthOutput, kBlockFrames, &rendered, &error)) {
      std::fprintf(stderr, "glass-meridian-synth: %s\n", error.c_str());
      return 1;
    }
    const uint32_t done = synthFramesDone();
    if (done == sent) continue;
    const uint32_t firstRow = sent / kFramesPerEnvelopeRow;
    const uint32_t endRow = (done + kFramesPerEnvelopeRow - 1) / kFramesPerEnvelopeRow;
    const WorkerPart parts[] = {
        {SynthOutput + 2 * size_t{sent}, 2 * (done - sent), 2 * sent},
        {EnvelopeRecording[firstRow], (endRow - firstRow) * kEnvelopeColumns, firstRow * kEnvelopeColumns}};
    const double seconds = static_cast<double>(monotonicNanoseconds() - startNs) / 1e9;
    postWorkerBlock(done, seconds, parts, 2);
    sent = done;
  }
  return 0;
}
