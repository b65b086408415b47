// The synthesizer's render: the whole song, sample by sample, into
// SynthOutput and EnvelopeRecording (synth/shared_buffers.h), publishing
// finished frames as it goes so that playback on another thread can follow.
#pragma once

#include <cstdint>
#include <string>

#include "synth/song_data.h"
#include "synth/song_validation.h"

// What renderSong returns.
inline constexpr uint32_t kSongRendered = 0;
inline constexpr uint32_t kSongRefused = 1;  // the shipped song fails validation: nothing rendered

// Whether the shipped song passes validation; false with the reason. A
// caller that can tell the user asks before it starts renderSong on a
// thread, which cannot say why it refused.
bool checkShippedSong(std::string* error);

// Renders the shipped song into the 7 688 496 frames at `synthOutput`
// (SynthOutput's first float), the form of a thread's start routine:
// kSongRendered, or kSongRefused (checkShippedSong says why). The
// synthesizer's state is static and carries over to a second render in the
// same process, unless resetSynth() comes between (or the second song
// gives a delay line another length).
uint32_t renderSong(void* synthOutput);

// The same render in slices, for a caller without a thread to spare:
// renders the next frameCount frames of the shipped song (fewer at its
// end) into the frames at `synthOutput` and publishes them; *rendered says
// how many, 0 once the song is done. False with the reason, nothing
// rendered, when the song data is refused. The first call starts the song
// from frame 0, as does a call after resetSynth() or renderSong(), or with
// another `synthOutput`. The frames of a recording row that is not
// complete yet are published with the slice that completes it.
bool renderSongAhead(void* synthOutput, uint32_t frameCount, uint32_t* rendered, std::string* error);

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
