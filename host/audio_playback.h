// Playback of the song from memory, and the clock it gives the show.
#pragma once

#include <cstdint>

// Starts the song's render (on its own thread when threadedSound is set,
// otherwise to completion first), then the audio device playing
// SynthOutput from its first frame. Without a device the show runs
// silently on a wall clock at the sample rate; one line on stderr says why.
void startAudio();

// Frames of the song the device has played: the show's clock.
uint32_t playedPosition();

// Stops the device (process end).
void stopAudio();

// Back to the state before startAudio (tests).
void resetAudioPlayback();
