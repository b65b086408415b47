// Playback of the song from memory, and the clock it gives the show.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Starts the song's render (on its own thread when threadedSound is set and
// a thread can be started; in slices ahead of playback, through
// keepSongAhead, when threadedSound is set and no thread can be started;
// otherwise to completion first), then the audio output playing SynthOutput
// from its first frame. Without an output the show runs silently on a wall
// clock at the sample rate. What the viewer should know (no thread, no
// output and why) comes back as notes, one sentence each. False with the
// reason when the song data is refused: nothing plays then.
bool startAudio(std::vector<std::string>* notes, std::string* error);

// Frames of the song played so far: the show's clock.
uint32_t playedPosition();

// Where the song renders in slices, renders at least 3 s ahead of
// `position`, then further for a few milliseconds; otherwise does nothing.
// The frame loop calls it once a frame.
void keepSongAhead(uint32_t position);

// Stops the audio output (process end, tests).
void stopAudio();
