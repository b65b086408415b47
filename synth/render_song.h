// The synthesizer's render: the whole song, sample by sample, into
// SynthOutput and EnvelopeRecording (synth/shared_buffers.h), publishing
// finished frames as it goes so that playback on another thread can follow.
#pragma once

#include <cstdint>

#include "synth/song_data.h"
#include "synth/song_validation.h"

// Renders the shipped song into the 7 688 496 frames at `synthOutput`
// (SynthOutput's first float), the form of a thread's start routine. The
// synthesizer's state is static: one render per process, unless
// resetSynth() comes between. The result carries nothing.
uint32_t renderSong(void* synthOutput);

// Renders the first frameCount frames (at most the song's) of `song` into
// `output` (2 floats per frame) and the recording. Refuses song data that
// fails validation: returns false with the reason in `error`, rendering
// nothing.
bool renderSongFrames(const SongData& song, float* output, uint32_t frameCount, SongDataError* error);

// The same through the byte-code machine that walks the tables at every
// sample: much slower, and the reference the render is checked against.
bool renderSongFramesByteCode(const SongData& song, float* output, uint32_t frameCount, SongDataError* error);

// Back to the state before any render: voice records, the delay lines used,
// noiseSeed, the recording and the published frame count (tests, tools).
void resetSynth();
