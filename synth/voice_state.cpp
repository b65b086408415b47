#include "synth/voice_state.h"

#include <cstring>

#include "synth/synth_constants.h"

alignas(64) VoiceRecord voiceRecords[kRecordCount];
alignas(64) DelayLine delayPool[kDelayLineCount];
uint32_t delayCursor;

void clearVoiceState(uint32_t lines) {
  std::memset(voiceRecords, 0, sizeof voiceRecords);
  if (lines > kDelayLineCount) lines = kDelayLineCount;
  std::memset(delayPool, 0, sizeof(DelayLine) * lines);
  delayCursor = 0;
  synthConstants.noiseSeed = kNoiseSeedStart;
}
