// The sequencer's rules, shared by every render path: the note trigger at
// a tick's first sample, and what happens after a track's program has run.
#pragma once

#include <cstdint>

#include "synth/shared_buffers.h"
#include "synth/song_data.h"
#include "synth/source_units.h"
#include "synth/voice_state.h"

// Applies track k's pattern value at tick T to its record: 1 holds, 2..127
// start a note from a cleared reset region, anything else releases.
void triggerTrack(const SongData& song, uint32_t track, uint32_t tick, VoiceRecord& record);

// The voice-off rule: once the program's first envelope is done, the voice
// is off from the next sample on.
inline void applyVoiceOffRule(VoiceRecord& record) {
  if (envelopeStage(record.workspace[0]) == kStageDone) record.note = 0;
}

// The level of the program's first envelope, as the recording keeps it.
inline float recordedLevel(const VoiceRecord& record) { return record.workspace[0][1]; }

inline float& recordingCell(uint32_t frame, uint32_t track) {
  return EnvelopeRecording[frame / kFramesPerEnvelopeRow][2 * track];
}
