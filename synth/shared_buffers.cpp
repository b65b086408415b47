#include "synth/shared_buffers.h"

alignas(64) float SynthOutput[kSongFrames * 2];
alignas(64) float EnvelopeRecording[kEnvelopeRows][kEnvelopeColumns];

namespace {
std::atomic<uint32_t> framesDone{0};
}

uint32_t synthFramesDone() { return framesDone.load(std::memory_order_acquire); }

void publishSynthFrames(uint32_t done) { framesDone.store(done, std::memory_order_release); }
