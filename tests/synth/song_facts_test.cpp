// The facts the song's music tables must keep: value counts, the note set,
// which patterns each track plays and where, and the fixed patterns and
// tracks that the rest of the show builds on.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <vector>

#include "synth/song_music.h"

namespace {

uint8_t patternValue(uint32_t pattern, uint32_t row) { return patternTable[pattern * kRowsPerPattern + row]; }

uint8_t orderEntry(uint32_t track, uint32_t position) { return orderTable[track * kOrderLength + position]; }

std::vector<uint8_t> patternRows(uint32_t pattern) {
  return {patternTable + pattern * kRowsPerPattern, patternTable + (pattern + 1) * kRowsPerPattern};
}

std::vector<uint8_t> orderRow(uint32_t track) {
  return {orderTable + track * kOrderLength, orderTable + (track + 1) * kOrderLength};
}

void append(std::vector<uint8_t>& row, std::initializer_list<uint8_t> group, int times) {
  for (int i = 0; i < times; ++i) {
    for (uint8_t pattern : group) row.push_back(pattern);
  }
}

TEST(SongPatterns, ValueCountsAcrossAllPatterns) {
  int releases = 0;
  int holds = 0;
  int notes = 0;
  for (uint8_t value : patternTable) {
    if (value == 0) {
      ++releases;
    } else if (value == 1) {
      ++holds;
    } else {
      ++notes;
    }
  }
  EXPECT_EQ(releases, 492);
  EXPECT_EQ(holds, 344);
  EXPECT_EQ(notes, 252);
  EXPECT_EQ(releases + holds + notes, 68 * 16);
}

TEST(SongPatterns, NotesUseExactlyTheSongsTwentyThreeValues) {
  const std::set<uint8_t> expected = {38, 41, 43, 46, 50, 53, 55, 56, 58, 61, 62, 65,
                                      67, 69, 70, 72, 74, 77, 79, 81, 82, 86, 122};
  std::set<uint8_t> used;
  for (uint8_t value : patternTable) {
    if (value >= 2) used.insert(value);
  }
  EXPECT_EQ(used, expected);
}

TEST(SongPatterns, FixedPatternsHoldTheirRows) {
  using Rows = std::vector<uint8_t>;
  EXPECT_EQ(patternRows(0), Rows(16, 0));
  EXPECT_EQ(patternRows(1), (Rows{62, 1, 0, 0, 62, 0, 0, 0, 62, 0, 0, 0, 62, 1, 0, 0}));
  EXPECT_EQ(patternRows(7), Rows(16, 1));
  EXPECT_EQ(patternRows(25), (Rows{62, 1, 74, 79, 0, 81, 0, 86, 1, 0, 0, 0, 0, 0, 62, 1}));
  EXPECT_EQ(patternRows(48), (Rows{50, 0, 50, 50, 50, 0, 50, 50, 50, 0, 50, 50, 50, 62, 50, 50}));
  Rows held(16, 1);
  held[0] = 122;
  EXPECT_EQ(patternRows(54), held);
}

TEST(SongOrder, HiHatTrackPlaysItsGivenOrder) {
  std::vector<uint8_t> expected;
  append(expected, {0}, 8);
  append(expected, {1, 2}, 12);
  append(expected, {3}, 1);
  append(expected, {0}, 7);
  append(expected, {1, 2}, 12);
  append(expected, {3}, 1);
  append(expected, {0}, 7);
  append(expected, {1, 2}, 8);
  append(expected, {3}, 1);
  append(expected, {0}, 4);
  ASSERT_EQ(expected.size(), kOrderLength);
  EXPECT_EQ(orderRow(0), expected);
}

TEST(SongOrder, IntroPulseTrackPlaysItsGivenOrder) {
  std::vector<uint8_t> expected;
  append(expected, {57, 58, 57, 58, 57, 58, 57, 59}, 6);
  append(expected, {57, 58, 60, 58, 61, 58, 62, 59}, 2);
  append(expected, {57, 58, 57, 58, 57, 58, 57, 59}, 1);
  append(expected, {57, 58, 60, 58, 61, 58, 62, 59}, 2);
  append(expected, {0}, 5);
  ASSERT_EQ(expected.size(), kOrderLength);
  EXPECT_EQ(orderRow(9), expected);
}

struct TrackUse {
  uint32_t track;
  std::set<uint8_t> patterns;
  uint32_t first;
  uint32_t last;
};

std::set<uint8_t> range(uint8_t from, uint8_t to) {
  std::set<uint8_t> result;
  for (int p = from; p <= to; ++p) result.insert(static_cast<uint8_t>(p));
  return result;
}

const std::array<TrackUse, 12> kTrackUse = {{
    {0, {1, 2, 3}, 8, 88},
    {1, range(4, 10), 16, 88},
    {2, range(11, 14), 16, 87},
    {3, range(15, 30), 8, 87},
    {4, {19, 23, 31, 32, 33}, 0, 90},
    {5, range(34, 37), 16, 87},
    {6, range(38, 51), 24, 88},
    {7, {7, 52, 53, 54}, 8, 91},
    {8, {13, 55, 56}, 16, 87},
    {9, range(57, 62), 0, 87},
    {10, {7, 52, 63, 64, 65, 66, 67}, 32, 87},
    {11, range(34, 37), 16, 87},
}};

TEST(SongOrder, EveryTrackPlaysExactlyItsPatternsAndSilenceElsewhere) {
  for (const TrackUse& use : kTrackUse) {
    SCOPED_TRACE(testing::Message() << "track " << use.track);
    std::set<uint8_t> played;
    for (uint32_t position = 0; position < kOrderLength; ++position) {
      const uint8_t pattern = orderEntry(use.track, position);
      if (pattern == 0) continue;
      EXPECT_TRUE(use.patterns.count(pattern)) << "pattern " << int(pattern) << " at position " << position;
      played.insert(pattern);
    }
    EXPECT_EQ(played, use.patterns);
  }
}

TEST(SongOrder, EveryTrackStartsAndStopsAtItsPositions) {
  for (const TrackUse& use : kTrackUse) {
    SCOPED_TRACE(testing::Message() << "track " << use.track);
    const std::vector<uint8_t> row = orderRow(use.track);
    const auto first = std::find_if(row.begin(), row.end(), [](uint8_t p) { return p != 0; });
    const auto last = std::find_if(row.rbegin(), row.rend(), [](uint8_t p) { return p != 0; });
    ASSERT_NE(first, row.end());
    EXPECT_EQ(static_cast<uint32_t>(first - row.begin()), use.first);
    EXPECT_EQ(static_cast<uint32_t>(row.rend() - last - 1), use.last);
  }
}

TEST(SongOrder, PluckAndPulseTracksShareTheirOrder) { EXPECT_EQ(orderRow(5), orderRow(11)); }

TEST(SongOrder, PadAndIntroPulseSoundFromTheFirstFrame) {
  for (uint32_t track : {4u, 9u}) {
    SCOPED_TRACE(testing::Message() << "track " << track);
    EXPECT_GE(patternValue(orderEntry(track, 0), 0), 2);
    EXPECT_LE(patternValue(orderEntry(track, 0), 0), 127);
  }
}

}  // namespace
