#include "host/frame_replay.h"

#include "host/frame_values.h"
#include "host/frame_schedule.h"
#include "visuals/text_layout.h"

namespace {

// One frame at `position` without drawing: the frame loop's values, the
// text pages stepped as the text layer steps them, then the end of the
// frame; all on `state`.
void replayFrame(ShowState& state, uint32_t position) {
  beginFrameFromRecording(state, position);
  stepTextPages(state.musicTime, state.previousMusicTime, state.textPageState);
  endFrame(state, position);
}

}  // namespace

ShowState replayFrames(uint32_t count, uint32_t fps) {
  ShowState state;
  for (uint32_t n = 0; n < count; ++n) replayFrame(state, framePosition(n, fps));
  return state;
}

ShowState replayToStill(uint32_t position) { return replayFrames(framesBefore(position, kDefaultFps), kDefaultFps); }
