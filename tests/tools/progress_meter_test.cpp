// The progress report's wording: count, share, rate and time left.
#include "tools/capture/progress_meter.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgressMeter, LinesCountTheRateAndTheTimeLeft) {
  ProgressMeter meter;
  meter.label = "capturing frames";
  meter.total = 200;
  meter.rateUnit = "frames a second";
  EXPECT_EQ(progressLine(meter, 0, 0.0, false), "capturing frames: 0/200 (0%)");
  EXPECT_EQ(progressLine(meter, 50, 10.0, false),
            "capturing frames: 50/200 (25%), 5.0 frames a second, 0:30 left");
  EXPECT_EQ(progressLine(meter, 200, 40.0, false),
            "capturing frames: 200/200 (100%), 5.0 frames a second, 0:00 left");
  meter.total = 200000;
  EXPECT_EQ(progressLine(meter, 100, 2.0, false),
            "capturing frames: 100/200000 (0%), 50.0 frames a second, 1:06:38 left");

  meter.total = 7688496;
  meter.label = "rendering the song";
  meter.rateScale = 1.0 / 44100;
  meter.rateUnit = "x real time";
  EXPECT_EQ(progressLine(meter, 4410000, 2.0, false),
            "rendering the song: 4410000/7688496 (57%), 50.0 x real time, 0:01 left");
}

TEST(ProgressMeter, TheBarFillsWithTheShareDone) {
  ProgressMeter meter;
  meter.label = "frames";
  meter.total = 3;
  meter.rateUnit = "fps";
  EXPECT_EQ(progressLine(meter, 0, 0.0, true), "frames [------------------------------] 0/3 (0%)");
  EXPECT_EQ(progressLine(meter, 1, 1.0, true), "frames [##########--------------------] 1/3 (33%), 1.0 fps, 0:02 left");
  EXPECT_EQ(progressLine(meter, 3, 3.0, true), "frames [##############################] 3/3 (100%), 1.0 fps, 0:00 left");
}

}  // namespace
