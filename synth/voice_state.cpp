#include "synth/voice_state.h"

#include <algorithm>
#include <cstring>

#include "synth/synth_constants.h"

alignas(64) VoiceRecord voiceRecords[kRecordCount];
alignas(64) DelayLine delayPool[kDelayLineCount];
uint32_t delayCursor;
uint32_t delayLinesTouched;

void clearVoiceState() {
  std::memset(voiceRecords, 0, sizeof voiceRecords);
  std::memset(delayPool, 0, sizeof(DelayLine) * std::min(delayLinesTouched, kDelayLineCount));
  delayLinesTouched = 0;
  delayCursor = 0;
  noiseSeed = kNoiseSeedStart;
}
