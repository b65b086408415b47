// The synthesizer's render: the whole song, sample by sample, into
// SynthOutput and EnvelopeRecording (synth/shared_buffers.h), publishing
// finished frames as it goes so that playback on another thread can follow.
#pragma once

#include <cstdint>
#include <string>

#include "synth/song_data.h"
#include "synth/song_validation.h"

// Renders the shipped song into the 7 688 496 frames at `synthOutput`
// (SynthOutput's first float), the form of a thread's start routine. The
// synthesizer's state is static and carries over to a second render in the
// same process, unless resetSynth() comes between (or the second song
// gives a delay line another length). The result carries nothing.
uint32_t renderSong(void* synthOutput);

// The same render in slices, for a caller without a thread to spare:
// renders the next frameCount frames of the shipped song (fewer at its
// end) into the frames at `synthOutput` and publishes them; returns how
// many it rendered, 0 once the song is done. The first call starts the
// song from frame 0, as does a call after resetSynth() or renderSong(), or
// with another `synthOutput`. The frames of a recording row that is not
// complete yet are published with the slice that completes it.
uint32_t renderSongAhead(void* synthOutput, uint32_t frameCount);

// Renders the first frameCount frames (at most the song's) of `song` into
// `output` (2 floats per frame) and the recording. Song data that plays
// the shipped instruments (any music) takes the fast path, their programs
// unrolled when the program is built; any other goes through the byte-code
// machine. Refuses song data that fails validation: returns false with the
// reason in `error`, rendering nothing.
bool renderSongFrames(const SongData& song, float* output, uint32_t frameCount, std::string* error);

// The same through the byte-code machine that walks the tables at every
// sample, whatever the song: much slower, and the reference the fast path
// is checked against.
bool renderSongFramesByteCode(const SongData& song, float* output, uint32_t frameCount, std::string* error);

// Back to the state before any render: voice records, the delay lines used,
// noiseSeed, the recording and the published frame count (tests, tools).
void resetSynth();
