// The frame loop's state for an offline render that does not start at the
// first frame: the flash, previousMusicTime and the text page countdown are
// carried from frame to frame, so the frames before the first one drawn
// run their computations (without drawing) to bring that state to where a
// render from the start would have it.
#pragma once

#include <cstdint>

// Frame-loop and text-page state as at the show's start.
void startFrameSequence();

// One frame at `position` without drawing: the frame loop's values, the
// text layer's countdown (laid out for a width x height screen), then the
// end of the frame.
void replayFrame(uint32_t position, int width, int height);

// replayFrame for frames 0 to count - 1 of a capture at `fps`.
void replayFrames(uint32_t count, uint32_t fps, int width, int height);
