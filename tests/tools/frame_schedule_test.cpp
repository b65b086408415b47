// Which frames a capture draws, at which positions, with which sound.
#include "host/frame_schedule.h"

#include <gtest/gtest.h>

namespace {

TEST(FrameSchedule, PositionIsTheFrameTimeRoundedToASample) {
  EXPECT_EQ(framePosition(0, 60), 0u);
  EXPECT_EQ(framePosition(1, 60), 735u);
  EXPECT_EQ(framePosition(10460, 60), 7688100u);
  EXPECT_EQ(framePosition(3, 10), 13230u);
  EXPECT_EQ(framePosition(1, 24), 1838u);  // 1837.5: halves round up
  EXPECT_EQ(framePosition(2, 24), 3675u);
  EXPECT_EQ(framePosition(1, 1000), 44u);  // 44.1
  EXPECT_EQ(framePosition(1, 7), 6300u);
  EXPECT_EQ(framePosition(1, 11), 4009u);  // 4009.09
  EXPECT_EQ(framePosition(175, 1), 7717500u);
}

TEST(FrameSchedule, TheWholeShowEndsWithTheFrameThatHoldsTheSongsEnd) {
  EXPECT_EQ(showFrameCount(60), 10461u);
  EXPECT_EQ(showFrameCount(30), 5231u);
  EXPECT_EQ(showFrameCount(1), 175u);
  for (uint32_t fps = 1; fps <= 1000; ++fps) {
    const uint32_t count = showFrameCount(fps);
    // The last frame starts before the end, the one after it would not.
    EXPECT_LT(uint64_t{count - 1} * kSampleRate, uint64_t{kSongFrames} * fps) << fps;
    EXPECT_GE(uint64_t{count} * kSampleRate, uint64_t{kSongFrames} * fps) << fps;
    EXPECT_LE(framePosition(count - 1, fps), kSongFrames) << fps;
  }
}

TEST(FrameSchedule, RangesIncludeTheirStartAndNotTheirEnd) {
  auto expectRange = [](double from, double to, uint32_t fps, uint32_t first, uint32_t end) {
    const FrameRange r = frameRange(from, to, fps);
    EXPECT_EQ(r.first, first) << from << " " << to << " at " << fps;
    EXPECT_EQ(r.end, end) << from << " " << to << " at " << fps;
  };
  expectRange(0.0, 0.9, 10, 0, 9);
  expectRange(0.5, 0.9, 10, 5, 9);
  expectRange(0.3, 0.7, 10, 3, 7);  // decimal times that are not exact in binary
  expectRange(0.31, 0.71, 10, 4, 8);
  expectRange(10.0, 20.0, 60, 600, 1200);
  expectRange(0.0, kSongSeconds, 60, 0, 10461);
  expectRange(174.33, kSongSeconds, 60, 10460, 10461);
  expectRange(1.01, 1.015, 60, 61, 61);  // between two frames: empty
  expectRange(0.0, 1.0, 1, 0, 1);
}

TEST(FrameSchedule, TheSoundOfARangeRunsToTheFrameAfterIt) {
  SampleRange s = soundtrackRange(FrameRange{0, 9}, 10);
  EXPECT_EQ(s.begin, 0u);
  EXPECT_EQ(s.end, 39690u);
  s = soundtrackRange(FrameRange{2, 10}, 10);
  EXPECT_EQ(s.begin, 8820u);
  EXPECT_EQ(s.end, 44100u);
  // The whole show's frames last a little longer than the song.
  s = soundtrackRange(frameRange(0.0, kSongSeconds, 60), 60);
  EXPECT_EQ(s.end, 7688835u);
  EXPECT_GT(s.end, kSongFrames);
  EXPECT_LT(s.end - kSongFrames, 735u);
}

TEST(FrameSchedule, RecordingRowsAreRenderedToTheirLastFrame) {
  EXPECT_EQ(songFramesForPosition(0), 256u);
  EXPECT_EQ(songFramesForPosition(255), 256u);
  EXPECT_EQ(songFramesForPosition(256), 512u);
  EXPECT_EQ(songFramesForPosition(7688100), 7688192u);
  EXPECT_EQ(songFramesForPosition(7688495), kSongFrames);
  EXPECT_EQ(songFramesForPosition(kSongFrames), kSongFrames);
}

TEST(FrameSchedule, FramesBeforeAPositionAreThoseDrawnEarlier) {
  EXPECT_EQ(framesBefore(0, 60), 0u);
  EXPECT_EQ(framesBefore(1, 60), 1u);
  EXPECT_EQ(framesBefore(735 * 30, 60), 30u);
  EXPECT_EQ(framesBefore(735 * 30 + 1, 60), 31u);
  EXPECT_EQ(framesBefore(kSongFrames, 60), 10461u);
  for (uint32_t fps : {1u, 24u, 60u, 1000u}) {
    for (uint32_t n = 0; n < 3000; n += 7) EXPECT_EQ(framesBefore(framePosition(n, fps), fps), n) << fps;
  }
}

}  // namespace
