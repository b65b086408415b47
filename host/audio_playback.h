// Playback of the song from memory, and the clock it gives the show.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Where the song renders while it plays.
enum class SongRender {
  kBeforePlayback,  // to completion, before the output starts
  kOwnThread,       // on a thread of its own; in slices from the frame loop where none can start
  kOutside,         // outside the program (a page's worker), which publishes finished frames into
                    // SynthOutput; the output starts once headStartReached says so
};

// Starts the song's render as config->threadedSound asks (kOwnThread when
// set, else kBeforePlayback), then the audio output: startAudioWith.
bool startAudio(std::vector<std::string>* notes, std::string* error);

// Starts the song's render as `render` says, waits for its head start
// where the render runs beside playback, then starts the audio output
// playing SynthOutput from its first frame. Without an output the show
// runs silently on a wall clock at the sample rate. What the viewer should
// know (no thread, no output and why) comes back as notes, one sentence
// each. False with the reason when the song data is refused: nothing plays
// then.
bool startAudioWith(SongRender render, std::vector<std::string>* notes, std::string* error);

// Whether the render beside playback is far enough ahead for the output to
// start (so that the song is heard from its first frame), or the render
// started at startNs (monotonic clock) has had the longest wait for that.
bool headStartReached(uint64_t startNs);

// From now on the frame loop renders the song in slices, from its first
// frame: for a render outside the program that stopped or never started.
// False with the reason when the song data is refused.
bool renderSongInSlices(std::string* error);

// Frames of the song played so far: the show's clock.
uint32_t playedPosition();

// Where the song renders in slices, renders at least 3 s ahead of
// `position`, then further for a few milliseconds; otherwise does nothing.
// The frame loop calls it once a frame.
void keepSongAhead(uint32_t position);

// Stops the audio output (process end, tests).
void stopAudio();

// Stops the audio output and puts the song back where it was before the
// first start: the synthesizer's state, the finished-frame count, the
// envelope recording and SynthOutput (all zero). A render that runs beside
// playback must have stopped. For a second show in the same process.
void resetAudio();
