// Fixed time structure of the one song the synthesizer renders.
#pragma once

#include <cstdint>

inline constexpr uint32_t kSampleRate = 44100;       // frames per second
inline constexpr uint32_t kSamplesPerTick = 5167;    // one pattern row
inline constexpr uint32_t kRowsPerPattern = 16;
inline constexpr uint32_t kOrderLength = 93;          // order positions per track
inline constexpr uint32_t kTrackCount = 12;
inline constexpr uint32_t kPatternCount = 68;
inline constexpr uint32_t kTickCount = kOrderLength * kRowsPerPattern;  // 1488
inline constexpr uint32_t kSongFrames = kTickCount * kSamplesPerTick;   // 7 688 496

// One unit of music time: 64 ticks.
inline constexpr uint32_t kSamplesPerMusicUnit = 64 * kSamplesPerTick;  // 330 688

// The envelope recording keeps one row of 32 floats per 256 output frames.
inline constexpr uint32_t kFramesPerEnvelopeRow = 256;
inline constexpr uint32_t kEnvelopeColumns = 32;
inline constexpr uint32_t kEnvelopeRows = (kSongFrames + kFramesPerEnvelopeRow - 1) / kFramesPerEnvelopeRow;  // 30 034

static_assert(kTickCount == 1488);
static_assert(kSongFrames == 7688496);
static_assert(kSamplesPerMusicUnit == 330688);
static_assert(kEnvelopeRows == 30034);
