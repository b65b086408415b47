#include "tools/capture/frame_replay.h"

#include "host/frame_values.h"
#include "tools/capture/frame_schedule.h"
#include "visuals/text_layout.h"

namespace {

TextCharacterLayout unusedLayout[kTextCharacters];

}  // namespace

void replayFrame(ShowState& state, uint32_t position, int width, int height) {
  beginFrameFromRecording(state, position);
  // The same layout the text layer makes, so the countdown steps exactly as
  // when the frame is drawn.
  layoutTextFrame(state.musicTime, state.previousMusicTime, width, height, static_cast<float>(width),
                  static_cast<float>(height), state.textPageState, unusedLayout);
  endFrame(state, position);
}

ShowState replayFrames(uint32_t count, uint32_t fps, int width, int height) {
  ShowState state;
  for (uint32_t n = 0; n < count; ++n) replayFrame(state, framePosition(n, fps), width, height);
  return state;
}
