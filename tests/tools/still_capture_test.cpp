// The still capture: positions, the font it needs, one small frame as PNG.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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

double meanDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  double sum = 0.0;
  for (size_t i = 0; i < a.size(); ++i) sum += std::abs(a[i] - b[i]);
  return sum / static_cast<double>(a.size());
}

// Whether the 3 x 3 pixels around (x, y) lie within 4 levels of each other.
bool flatAround(const std::vector<uint8_t>& rgb, int width, int x, int y) {
  for (int c = 0; c < 3; ++c) {
    int low = 255, high = 0;
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        const int v = rgb[static_cast<size_t>((y + dy) * width + x + dx) * 3 + c];
        low = std::min(low, v);
        high = std::max(high, v);
      }
    }
    if (high - low > 4) return false;
  }
  return true;
}

TEST(StillCapture, SupersamplingSmoothsTheEdgesAndKeepsTheRest) {
  constexpr int kWidth = 160, kHeight = 90;
  for (const bool post : {true, false}) {
    std::vector<uint8_t> stills[3];
    const int factors[3] = {1, 2, 4};
    std::string error;
    for (int i = 0; i < 3; ++i)
      ASSERT_EQ(renderStill(StillRequest{65.0, kWidth, kHeight, post, factors[i]}, &stills[i], &error), kCaptureDone)
          << error;
    // 2 x 2 samples come well over half the way from the plain still to 4 x 4.
    EXPECT_LT(2.0 * meanDifference(stills[1], stills[2]), meanDifference(stills[0], stills[2])) << "post " << post;
    // Away from edges the picture, its glow and its overlay stay as they were.
    size_t flat = 0, kept = 0;
    for (int y = 1; y < kHeight - 1; ++y) {
      for (int x = 1; x < kWidth - 1; ++x) {
        if (!flatAround(stills[0], kWidth, x, y)) continue;
        ++flat;
        bool same = true;
        for (int c = 0; c < 3; ++c) {
          const size_t at = static_cast<size_t>(y * kWidth + x) * 3 + c;
          same = same && std::abs(stills[0][at] - stills[2][at]) <= 4;
        }
        kept += same;
      }
    }
    EXPECT_GT(flat, size_t{kWidth * kHeight / 10}) << "post " << post;
    EXPECT_GE(kept, flat * 99 / 100) << "post " << post;
  }
}

}  // namespace
