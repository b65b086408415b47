// The default audio output: one block of the whole song, played from its
// first frame; its played position is the show's clock.
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
bool openAudioOutput(const AudioBlock& block, std::string& reason);
uint32_t audioOutputPosition();     // frames played: smoothed between the device's updates, never backwards, never past block.frames
void closeAudioOutput();
