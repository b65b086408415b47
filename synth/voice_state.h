// The synthesizer's working state: the voice records of the twelve tracks
// and the master, the delay pool and its cursor. All of it is static,
// starts zeroed and is sized for the song.
#pragma once

#include <cstddef>
#include <cstdint>

#include "synth/song_timing.h"

inline constexpr uint32_t kWorkspacesPerRecord = 32;
inline constexpr uint32_t kSlotsPerWorkspace = 8;
inline constexpr uint32_t kRecordCount = kTrackCount + 1;
inline constexpr uint32_t kMasterRecord = kTrackCount;
inline constexpr int32_t kMasterNote = 12;

// One track's voice (or the master's), 262 32-bit words. Workspace u
// belongs to the u-th unit of the record's program; slot s of it is voice
// slot index 8u + s. A slot holds a float, except an envelope's slot 0,
// whose low byte is the envelope's stage.
struct VoiceRecord {
  uint32_t releaseCount;  // release events since the last new note
  int32_t note;           // the sounding note, 0 when the voice is off
  float workspace[kWorkspacesPerRecord][kSlotsPerWorkspace];
  float auxLeft;
  float auxRight;
  float mainLeft;
  float mainRight;
};
static_assert(sizeof(VoiceRecord) == 262 * 4);
static_assert(offsetof(VoiceRecord, workspace) == 8);
static_assert(offsetof(VoiceRecord, auxLeft) == 258 * 4);

// releaseCount, note and the workspaces: what a new note clears.
inline constexpr size_t kResetRegionBytes = offsetof(VoiceRecord, auxLeft);

inline float& voiceSlot(VoiceRecord& record, uint32_t index) {
  return record.workspace[(index >> 3) & 31][index & 7];
}

// Modulation slots. A unit adds a modulation slot of its workspace to one
// of its values; bit k of Live is set when slot k may hold anything but
// +0. A slot that no store of the program writes keeps the +0 of the
// reset for good, and adding +0 leaves each value that the units add a
// slot to unchanged (parameters and their offsets are never -0), so the
// addition can go.
inline constexpr uint8_t kAllSlotsLive = 0xFF;

template <uint8_t Live, int Slot>
inline double plusSlot(double x, const float* ws) {
  if constexpr (((Live >> Slot) & 1) != 0) {
    return x + ws[Slot];
  } else {
    return x;
  }
}

inline constexpr uint32_t kDelayLineCount = 468;
inline constexpr uint32_t kDelayLineCapacity = 65536;
// Lines one sample may claim: one header must remain beyond the last.
inline constexpr uint32_t kDelayLinesClaimable = kDelayLineCount - 1;

// A header of five words, then the circular buffer.
struct DelayLine {
  int32_t writeIndex;     // next position to write, below the line's length
  float dampingState;     // output of the feedback low-pass
  float dcInput;          // DC blocker of the unit whose lines end before this one
  float dcOutput;
  float modulationPhase;  // phase of the unit's modulation sine, first line only
  float samples[kDelayLineCapacity];
};
static_assert(sizeof(DelayLine) == (5 + kDelayLineCapacity) * 4);

extern VoiceRecord voiceRecords[kRecordCount];
extern DelayLine delayPool[kDelayLineCount];
// Index of the next unclaimed line; 0 at the start of every sample.
extern uint32_t delayCursor;

// Back to the state before the first render: records, the delay lines up
// to `lines` (those a render can have touched), noiseSeed, delayCursor.
void clearVoiceState(uint32_t lines);
