// Captures of short ranges at small sizes: the same frames every time and
// whatever the range starts with, the still of a moment equal to the frame
// of it, the manifest, the soundtrack and the video's streams.
#include "tools/capture/capture_run.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "host/frame_values.h"
#include "synth/shared_buffers.h"
#include "tests/tools/png_reading.h"
#include "tools/capture/song_render.h"
#include "tools/capture/still_capture.h"
#include "tools/capture/video_pipe.h"
#include "tools/capture/wav_file.h"

namespace {

namespace fs = std::filesystem;

// The early song has no peak on track 2; one is written into the recording
// at frame 2 of a capture at 10 frames a second, so that the flash it sets
// off is carried through the frames that follow.
constexpr uint32_t kPeakRow = 8820 / kFramesPerEnvelopeRow;

class Capture : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::path(::testing::TempDir()) / ("capture_run_" + std::to_string(getpid()));
    fs::create_directories(folder_);
    std::string error;
    ASSERT_TRUE(renderSongThrough(2 * kSampleRate, nullptr, &error)) << error;
    saved_ = EnvelopeRecording[kPeakRow][4];
    EnvelopeRecording[kPeakRow][4] = 0.9f;
  }
  void TearDown() override {
    EnvelopeRecording[kPeakRow][4] = saved_;
    fs::remove_all(folder_);
  }

  std::string path(const std::string& name) const { return (folder_ / name).string(); }

  // A capture of [from, to) at 32x18 into the named outputs.
  int run(double from, double to, uint32_t fps, const std::string& frames, const std::string& video = "",
          const std::string& wav = "") {
    CaptureOptions o;
    o.width = 32;
    o.height = 18;
    o.fps = fps;
    o.from = from;
    o.to = to;
    o.framesDir = frames.empty() ? "" : path(frames);
    o.videoPath = video.empty() ? "" : path(video);
    o.wavPath = wav.empty() ? "" : path(wav);
    std::string error;
    CaptureReport report{stderr, "capture"};
    const int status = runCapture(o, report, &error);
    EXPECT_EQ(status, kCaptureDone) << error;
    return status;
  }

  std::vector<uint8_t> frame(const std::string& frames, uint32_t n) const {
    char name[32];
    std::snprintf(name, sizeof name, "/frame-%05u.png", n);
    return fileBytes(path(frames) + name);
  }

  std::vector<std::string> manifest(const std::string& frames) const {
    std::ifstream in(path(frames) + "/frames.csv");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  fs::path folder_;
  float saved_ = 0.0f;
};

TEST_F(Capture, TwoCapturesOfARangeAreTheSameFilesAndListEveryFrame) {
  ASSERT_EQ(run(0.0, 0.9, 10, "a"), kCaptureDone);
  ASSERT_EQ(run(0.0, 0.9, 10, "b"), kCaptureDone);
  EXPECT_EQ(std::distance(fs::directory_iterator(path("a")), fs::directory_iterator()), 10) << "9 frames, 1 list";
  for (uint32_t n = 0; n < 9; ++n) {
    const std::vector<uint8_t> a = frame("a", n);
    ASSERT_FALSE(a.empty()) << n;
    EXPECT_EQ(a, frame("b", n)) << n;
  }
  EXPECT_TRUE(frame("a", 9).empty());
  EXPECT_NE(frame("a", 0), frame("a", 8)) << "the show moves";

  const std::vector<std::string> lines = manifest("a");
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[0], "frame,position,music_time,flash_level");
  for (uint32_t n = 0; n < 9; ++n) {
    unsigned frameNumber = 0, position = 0;
    float time = 0, flash = 0;
    ASSERT_EQ(std::sscanf(lines[n + 1].c_str(), "%u,%u,%g,%g", &frameNumber, &position, &time, &flash), 4);
    EXPECT_EQ(frameNumber, n);
    EXPECT_EQ(position, 4410 * n);
    EXPECT_EQ(time, musicTimeAt(position));
    EXPECT_EQ(flash > 0.0f, n >= 2) << lines[n + 1];
  }
  EXPECT_EQ(lines, manifest("b"));
}

TEST_F(Capture, ARangeThatStartsLateDrawsTheSameFrames) {
  ASSERT_EQ(run(0.0, 0.9, 10, "whole"), kCaptureDone);
  ASSERT_EQ(run(0.5, 0.9, 10, "late"), kCaptureDone);
  EXPECT_TRUE(frame("late", 4).empty());
  for (uint32_t n = 5; n < 9; ++n) {
    int width = 0, height = 0;
    const std::vector<uint8_t> late = readPngRgb(path("late") + "/frame-0000" + std::to_string(n) + ".png", &width,
                                                 &height);
    ASSERT_FALSE(late.empty()) << n;
    EXPECT_EQ(late, readPngRgb(path("whole") + "/frame-0000" + std::to_string(n) + ".png", &width, &height)) << n;
  }
  const std::vector<std::string> whole = manifest("whole"), late = manifest("late");
  ASSERT_EQ(late.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(late.begin() + 1, late.end()),
            std::vector<std::string>(whole.begin() + 6, whole.end()))
      << "the flash carried from frame 2";
}

TEST_F(Capture, TheStillOfAMomentIsTheFrameOfIt) {
  // 0.25 s is frame 15 at the default 60 frames a second, three frames after
  // the peak: the flash is still high.
  ASSERT_EQ(run(0.25, 0.26, 60, "frames"), kCaptureDone);
  int width = 0, height = 0;
  const std::vector<uint8_t> captured = readPngRgb(path("frames") + "/frame-00015.png", &width, &height);
  std::vector<uint8_t> still;
  std::string error;
  ASSERT_EQ(renderStill(StillRequest{0.25, 32, 18, true}, &still, &error), kCaptureDone) << error;
  EXPECT_EQ(captured, still);
  ASSERT_EQ(renderStill(StillRequest{0.3, 32, 18, true}, &still, &error), kCaptureDone) << error;
  EXPECT_NE(captured, still);
}

TEST_F(Capture, TheSoundtrackIsTheRangesSamples) {
  // Frames 2 to 9 at 10 frames a second: samples 8820 to 44099.
  ASSERT_EQ(run(0.2, 1.0, 10, "", "", "range.wav"), kCaptureDone);
  const std::vector<uint8_t> bytes = fileBytes(path("range.wav"));
  ASSERT_EQ(bytes.size(), kWavHeaderSize + 35280u * 8);
  const auto header = floatWavHeader(35280, 2, kSampleRate);
  EXPECT_TRUE(std::equal(header.begin(), header.end(), bytes.begin()));
  EXPECT_EQ(std::memcmp(bytes.data() + kWavHeaderSize, SynthOutput + 2 * 8820, 35280u * 8), 0);
}

std::string commandOutput(const std::string& command) {
  std::string output;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  pclose(pipe);
  return output;
}

TEST_F(Capture, TheVideoHasTheFramesAndTheirSound) {
  std::string ffmpeg;
  if (!findFfmpeg(&ffmpeg)) GTEST_SKIP() << "ffmpeg is not installed";
  ASSERT_EQ(run(0.2, 1.0, 10, "frames", "show.mp4"), kCaptureDone);
  const std::string streams =
      commandOutput("ffprobe -v error -show_entries stream=codec_type,codec_name,nb_frames,duration -of csv=p=0 " +
                    path("show.mp4"));
  EXPECT_NE(streams.find("h264,video,0.800000,8"), std::string::npos) << streams;
  EXPECT_NE(streams.find("aac,audio,0.8"), std::string::npos) << streams;

  // The first decoded picture is frame 2, upright and in its colours (up
  // to what the lossy encoding changes).
  const std::string decoded = path("first.rgb");
  commandOutput("ffmpeg -v error -i " + path("show.mp4") + " -frames:v 1 -f rawvideo -pix_fmt rgb24 " + decoded);
  const std::vector<uint8_t> video = fileBytes(decoded);
  int width = 0, height = 0;
  const std::vector<uint8_t> png = readPngRgb(path("frames") + "/frame-00002.png", &width, &height);
  ASSERT_EQ(video.size(), png.size());
  double difference = 0;
  for (size_t i = 0; i < png.size(); ++i) difference += std::abs(int{video[i]} - int{png[i]});
  EXPECT_LT(difference / static_cast<double>(png.size()), 12.0);
}

}  // namespace
