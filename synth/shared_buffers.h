// The two buffers the synthesizer shares with playback and the frame loop.
//
// The render thread writes every float once per frame, in order; the audio
// callback and the frame loop read them while it runs. Every float is
// written and read through relaxed atomics, and a release/acquire count of
// finished frames tells readers which frames are complete. A frame that is
// not finished yet reads as the zero the buffer started with.
#pragma once

#include <atomic>
#include <cstdint>

#include "synth/song_timing.h"

// Interleaved stereo, left first: frame n is SynthOutput[2n], SynthOutput[2n + 1].
extern float SynthOutput[kSongFrames * 2];

// Row r covers frames 256r to 256r + 255; column 2k holds track k's first
// envelope level, the other columns stay 0.
extern float EnvelopeRecording[kEnvelopeRows][kEnvelopeColumns];

// A relaxed atomic read and write of a float in place, as std::atomic_ref
// does them, on the compiler's atomic built-ins (some standard libraries
// lack std::atomic_ref).
inline float loadShared(const float& value) {
  float result;
  __atomic_load(&value, &result, __ATOMIC_RELAXED);
  return result;
}

inline void storeShared(float& slot, float value) { __atomic_store(&slot, &value, __ATOMIC_RELAXED); }

// Frames of SynthOutput (and the recording rows they cover) that are final.
uint32_t synthFramesDone();
// Called by the render loop after it has stored a frame's floats.
void publishSynthFrames(uint32_t framesDone);
