// Editable copies of the song tables, for tests that hand the engine other
// data than the shipped song.
#pragma once

#include <cstdint>
#include <vector>

#include "synth/song_data.h"
#include "synth/song_instruments.h"
#include "synth/song_music.h"

struct SongTables {
  std::vector<uint8_t> patterns{patternTable, patternTable + sizeof patternTable};
  std::vector<uint8_t> orders{orderTable, orderTable + sizeof orderTable};
  std::vector<uint8_t> programs{programTable, programTable + sizeof programTable};
  std::vector<uint8_t> params{paramTable, paramTable + sizeof paramTable};
  std::vector<uint16_t> lengths{delayLengthTable, delayLengthTable + kDelayLengthCount};

  SongData data() const { return SongData{patterns, orders, programs, params, lengths}; }

  // Every track silent (pattern 0 everywhere) but for the given tracks,
  // which play `pattern` at every order position.
  void playOnly(std::initializer_list<uint32_t> tracks, uint8_t pattern) {
    std::fill(orders.begin(), orders.end(), 0);
    for (uint32_t k : tracks) std::fill(orders.begin() + k * kOrderLength, orders.begin() + (k + 1) * kOrderLength, pattern);
  }

  // Appends a pattern of 16 rows and returns its number.
  uint8_t addPattern(std::initializer_list<uint8_t> rows) {
    const auto number = static_cast<uint8_t>(patterns.size() / kRowsPerPattern);
    std::vector<uint8_t> r(rows);
    r.resize(kRowsPerPattern, 1);
    patterns.insert(patterns.end(), r.begin(), r.end());
    return number;
  }
};

// Whether the tests run under a sanitizer, which makes renders several
// times slower (ThreadSanitizer far more than AddressSanitizer): the
// whole-song checks then cover the song's first part.
#if defined(__SANITIZE_THREAD__)
#define GM_TEST_SANITIZER 2
#elif defined(__SANITIZE_ADDRESS__)
#define GM_TEST_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define GM_TEST_SANITIZER 2
#elif __has_feature(address_sanitizer)
#define GM_TEST_SANITIZER 1
#endif
#endif
#ifndef GM_TEST_SANITIZER
#define GM_TEST_SANITIZER 0
#endif
inline constexpr bool kSanitized = GM_TEST_SANITIZER != 0;
// Frames of the shipped song that the whole-song checks render.
inline constexpr uint32_t kCheckedFrames = GM_TEST_SANITIZER == 2 ? (1u << 17) : GM_TEST_SANITIZER == 1 ? (1u << 20) : kSongFrames;
