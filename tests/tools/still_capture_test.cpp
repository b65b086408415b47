// The still capture: positions, the font it needs, one small frame as PNG.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

#include "tests/platform/scratch_folder.h"
#include "tests/tools/png_reading.h"
#include "tools/capture/capture_status.h"
#include "tools/capture/png_file.h"
#include "tools/capture/still_capture.h"

namespace {

TEST(StillCapture, PositionsOutsideTheSongAreRefused) {
  uint32_t position = 0;
  EXPECT_TRUE(stillPosition(0.0, &position));
  EXPECT_EQ(position, 0u);
  EXPECT_TRUE(stillPosition(1.0, &position));
  EXPECT_EQ(position, 44100u);
  EXPECT_TRUE(stillPosition(7688496.0 / 44100.0, &position));
  EXPECT_EQ(position, 7688496u);
  EXPECT_FALSE(stillPosition(175.0, &position));
  EXPECT_FALSE(stillPosition(-0.5, &position));

  std::vector<uint8_t> rgb;
  std::string error;
  EXPECT_EQ(renderStill(StillRequest{200.0, 64, 36, true}, &rgb, &error), kCaptureRefused);
  EXPECT_NE(error.find("outside the song"), std::string::npos) << error;
  EXPECT_EQ(renderStill(StillRequest{8.0, 15, 36, true}, &rgb, &error), kCaptureRefused);
  EXPECT_NE(error.find("15x36"), std::string::npos) << error;
}

TEST(StillCapture, NeedsTheFontAsTheShowDoes) {
  ScratchFolder folder;  // a C64.ttf here is found before the one beside the program
  const std::string text = "not a font";
  folder.write("C64.ttf", std::vector<char>(text.begin(), text.end()));
  std::vector<uint8_t> rgb;
  std::string error;
  EXPECT_EQ(renderStill(StillRequest{8.0, 64, 36, true}, &rgb, &error), kCaptureRefused);
  EXPECT_NE(error.find("Could not find or temporarily install C64 Pro - Font: C64.ttf: not a "
                       "complete TrueType font"),
            std::string::npos)
      << error;
}

TEST(StillCapture, WritesAFrameOfTheShowAsPng) {
  const std::string file = ::testing::TempDir() + "still_capture_test.png";
  std::string error;
  CaptureReport report{stderr, "capture"};
  ASSERT_EQ(captureStill(StillRequest{1.0, 96, 54, true}, file, report, &error), kCaptureDone) << error;

  int width = 0, height = 0;
  const std::vector<uint8_t> pixels = readPngRgb(file, &width, &height);
  EXPECT_EQ(width, 96);
  EXPECT_EQ(height, 54);
  std::vector<uint8_t> direct;
  ASSERT_EQ(renderStill(StillRequest{1.0, 96, 54, true}, &direct, &error), kCaptureDone) << error;
  EXPECT_EQ(pixels, direct) << "the file holds the frame as rendered";
  // The logo's frame line sits at the right edge, the scene is lit somewhere left of it.
  size_t litLeft = 0;
  for (int y = 0; y < 54; ++y) {
    for (int x = 0; x < 70; ++x) litLeft += direct[static_cast<size_t>(y * 96 + x) * 3] > 8;
  }
  EXPECT_GT(litLeft, 50u);
  std::remove(file.c_str());

  const int full = open("/dev/full", O_WRONLY | O_CLOEXEC);
  ASSERT_GE(full, 0);
  EXPECT_FALSE(writePng(full, "x.png", pixels.data(), 96, 54, &error));
  EXPECT_EQ(error, "writing 'x.png' failed: No space left on device");
  close(full);
}

}  // namespace
