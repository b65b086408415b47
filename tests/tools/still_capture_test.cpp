// The still capture: its command line, the PNG file and one small frame.
#include <gtest/gtest.h>

#include <png.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "tests/platform/scratch_folder.h"
#include "tools/capture/png_file.h"
#include "tools/capture/still_capture.h"
#include "tools/capture/still_options.h"

namespace {

bool parse(std::vector<const char*> args, StillOptions* options, std::string* error) {
  return parseStillOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(StillOptions, ReadsTheCommandLineAndNamesWhatIsWrong) {
  StillOptions o;
  std::string error;
  ASSERT_TRUE(parse({"--still", "60", "--png", "a.png"}, &o, &error)) << error;
  EXPECT_EQ(o.request.seconds, 60.0);
  EXPECT_EQ(o.request.width, 1280);
  EXPECT_EQ(o.request.height, 720);
  EXPECT_TRUE(o.request.postProcess);
  EXPECT_EQ(o.pngPath, "a.png");

  ASSERT_TRUE(parse({"--path", "direct", "--size", "960x540", "--png", "b.png", "--still", "12.5"}, &o, &error));
  EXPECT_FALSE(o.request.postProcess);
  EXPECT_EQ(o.request.width, 960);
  EXPECT_EQ(o.request.height, 540);
  EXPECT_EQ(o.request.seconds, 12.5);

  const std::vector<std::vector<const char*>> wrong = {
      {"--png", "a.png"},                                     // no time
      {"--still", "8"},                                       // no file
      {"--still", "eight", "--png", "a.png"},                 // not a number
      {"--still", "8", "--png", "a.png", "--size", "960"},    // no height
      {"--still", "8", "--png", "a.png", "--size", "x540"},   // no width
      {"--still", "8", "--png", "a.png", "--path", "glow"},   // unknown path
      {"--still", "8", "--png"},                              // value missing
      {"--still", "8", "--png", "a.png", "--wobble", "1"},    // unknown option
  };
  for (const auto& args : wrong) {
    error.clear();
    EXPECT_FALSE(parse(args, &o, &error)) << args[0];
    EXPECT_FALSE(error.empty());
  }
}

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
  EXPECT_FALSE(renderStill(StillRequest{200.0, 64, 36, true}, &rgb, &error));
  EXPECT_NE(error.find("outside the song"), std::string::npos) << error;
  EXPECT_FALSE(renderStill(StillRequest{8.0, 2, 36, true}, &rgb, &error));
  EXPECT_NE(error.find("2x36"), std::string::npos) << error;
}

TEST(StillCapture, NeedsTheFontAsTheShowDoes) {
  ScratchFolder folder;  // a C64.ttf here is found before the one beside the program
  const std::string text = "not a font";
  folder.write("C64.ttf", std::vector<char>(text.begin(), text.end()));
  std::vector<uint8_t> rgb;
  std::string error;
  EXPECT_FALSE(renderStill(StillRequest{8.0, 64, 36, true}, &rgb, &error));
  EXPECT_NE(error.find("Could not find or temporarily install C64 Pro - Font: C64.ttf: not a "
                       "complete TrueType font"),
            std::string::npos)
      << error;
}

TEST(StillCapture, WritesAFrameOfTheShowAsPng) {
  const std::string file = ::testing::TempDir() + "still_capture_test.png";
  const char* path = file.c_str();
  std::string error;
  ASSERT_TRUE(captureStill(StillRequest{60.0, 96, 54, true}, path, &error)) << error;

  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  ASSERT_NE(png_image_begin_read_from_file(&image, path), 0) << image.message;
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
  ASSERT_NE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr), 0) << image.message;
  EXPECT_EQ(image.width, 96u);
  EXPECT_EQ(image.height, 54u);

  std::vector<uint8_t> direct;
  ASSERT_TRUE(renderStill(StillRequest{60.0, 96, 54, true}, &direct, &error)) << error;
  EXPECT_EQ(pixels, direct) << "the file holds the frame as rendered";
  // The logo's frame line sits at the right edge, the scene is lit somewhere left of it.
  size_t litLeft = 0;
  for (int y = 0; y < 54; ++y) {
    for (int x = 0; x < 70; ++x) litLeft += pixels[static_cast<size_t>(y * 96 + x) * 3] > 8;
  }
  EXPECT_GT(litLeft, 50u);
  std::remove(path);

  EXPECT_FALSE(writePngFile("/nonexistent-folder/x.png", pixels.data(), 96, 54, &error));
  EXPECT_NE(error.find("/nonexistent-folder/x.png"), std::string::npos) << error;
}

}  // namespace
