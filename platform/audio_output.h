// The default audio output, playing one block of memory from its first frame
// to its last without further feeding. Its played position is the show's clock.
#pragma once

#include <cstdint>
#include <string>

struct AudioFormat { uint32_t sampleRate; uint32_t channels; };  // samples are 32-bit floats, interleaved, left first
struct AudioBlock {
  AudioFormat format;
  const float* samples;             // frames * channels floats: the whole song, still being written by another thread
  uint32_t frames;
  uint32_t (*framesFinished)();     // how many leading frames are complete; a pull-based output plays later frames as silence
};
// Opens the default output and starts playing the block from its first frame. False with the reason in *error on failure.
bool openAudioOutput(const AudioBlock& block, std::string* error);
// Frames of the block played so far: smoothed between the device's updates, never backwards, never past block.frames.
uint32_t audioOutputPosition();
void closeAudioOutput();
