// One set of song tables as the engine reads them. The shipped song is the
// default; tests and the fuzzer hand in others, which must pass
// validateSongData before they are rendered.
#pragma once

#include <cstdint>
#include <span>

struct SongData {
  std::span<const uint8_t> patterns;       // 16 row values per pattern
  std::span<const uint8_t> orders;         // 93 pattern numbers per track, 12 tracks
  std::span<const uint8_t> programs;       // 13 programs, each ended by 0
  std::span<const uint8_t> params;         // the parameter bytes of every unit, in run order
  std::span<const uint16_t> delayLengths;  // delay line lengths in samples
};

// The song this program plays.
SongData shippedSong();
