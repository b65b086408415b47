#include "tools/capture/frame_replay.h"

#include "host/frame_values.h"
#include "tools/capture/frame_schedule.h"
#include "visuals/text_layout.h"

namespace {

TextCharacterLayout unusedLayout[kTextCharacters];

}  // namespace

void startFrameSequence() {
  resetFrameState();
  textPage = 0;
  textCountdown = kTextCountdownStart;
}

void replayFrame(uint32_t position, int width, int height) {
  beginFrameFromRecording(position);
  // The same layout the text layer makes, so the countdown steps exactly as
  // when the frame is drawn.
  layoutTextFrame(musicTime, previousMusicTime, width, height, static_cast<float>(width),
                  static_cast<float>(height), textPage, textCountdown, unusedLayout);
  endFrame(position);
}

void replayFrames(uint32_t count, uint32_t fps, int width, int height) {
  for (uint32_t n = 0; n < count; ++n) replayFrame(framePosition(n, fps), width, height);
}
