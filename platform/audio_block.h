// What a pull-based audio output hands its device: the next frames of the
// block, as far as they are complete.
#pragma once

#include <cstdint>
#include <string>

#include "platform/audio_output.h"

// Fills `out` with `frames` frames of the block from frame `from` on.
// Complete frames are copied as written; a frame not yet complete and every
// frame past the end play as silence. A block without a finished-frame
// count is complete. Returns the frame that follows the ones handed out,
// at most block.frames.
uint32_t copyBlockFrames(const AudioBlock& block, uint32_t from, float* out, uint32_t frames);

// The one rule for a block any audio output plays: 1 or 2 channels (the
// fewest every output offers), 1 to 384 000 frames a second, at least one
// frame and less than 4 GiB of samples. False with the reason.
bool checkAudioBlock(const AudioBlock& block, std::string* error);
