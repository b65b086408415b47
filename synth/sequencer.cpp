#include "synth/sequencer.h"

#include <cstring>

void triggerTrack(const SongData& song, uint32_t track, uint32_t tick, VoiceRecord& record) {
  const uint32_t position = tick / kRowsPerPattern;
  const uint32_t row = tick % kRowsPerPattern;
  const uint32_t pattern = song.orders[track * kOrderLength + position];
  const uint8_t value = song.patterns[pattern * kRowsPerPattern + row];
  if (value == 1) return;
  ++record.releaseCount;
  // Notes and releases part by the value read as a signed byte.
  if (static_cast<int8_t>(value) >= 2) {
    std::memset(&record, 0, kResetRegionBytes);
    record.note = value;
  }
}
