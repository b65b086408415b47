// The frame loop's state for an offline render that does not start at the
// first frame: the flash, previousMusicTime and the text page countdown are
// carried from frame to frame (a ShowState), so the frames before the first
// one drawn run their computations (without drawing) on the render's own
// copy to bring it to where a render from the start would have it.
#pragma once

#include <cstdint>

#include "host/show_state.h"

// Frames 0 to count - 1 of a capture at `fps`, from the show's start, each
// without drawing: the frame loop's values, the text pages stepped, then
// the end of the frame. Returns the state the frame `count` begins with.
ShowState replayFrames(uint32_t count, uint32_t fps);

// The state a still at `position` begins with: the frames of a capture at
// the default rate before it, replayed. The capture's stills and the
// page's are drawn from it.
ShowState replayToStill(uint32_t position);
