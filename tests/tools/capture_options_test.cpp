// The capture's command line read into its record: what each option sets,
// and a message for every mistake.
#include "tools/capture/capture_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

bool parse(std::vector<const char*> args, CaptureOptions* options, std::string* error) {
  return parseCaptureOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(CaptureOptions, DefaultsAreTheWholeShowAtSixtyFramesOnThePostPath) {
  CaptureOptions o;
  std::string error;
  ASSERT_TRUE(parse({"--wav", "song.wav"}, &o, &error)) << error;
  EXPECT_EQ(o.width, 1280);
  EXPECT_EQ(o.height, 720);
  EXPECT_EQ(o.fps, 60u);
  EXPECT_EQ(o.from, 0.0);
  EXPECT_EQ(o.to, kSongSeconds);
  EXPECT_TRUE(o.postProcess);
  EXPECT_EQ(o.wavPath, "song.wav");
  EXPECT_TRUE(o.framesDir.empty());
  EXPECT_TRUE(o.videoPath.empty());
  EXPECT_FALSE(o.still);
  EXPECT_EQ(optionsFrameRange(o).end, 10461u);
}

TEST(CaptureOptions, OutputsAndSettingsCombine) {
  CaptureOptions o;
  std::string error;
  ASSERT_TRUE(parse({"--size", "640x360", "--fps", "25", "--from", "1.5", "--to", "3", "--path", "direct", "--frames",
                     "out", "--video", "show.mp4", "--wav", "show.wav"},
                    &o, &error))
      << error;
  EXPECT_EQ(o.width, 640);
  EXPECT_EQ(o.height, 360);
  EXPECT_EQ(o.fps, 25u);
  EXPECT_EQ(o.from, 1.5);
  EXPECT_EQ(o.to, 3.0);
  EXPECT_FALSE(o.postProcess);
  EXPECT_EQ(o.framesDir, "out");
  EXPECT_EQ(o.videoPath, "show.mp4");
  EXPECT_EQ(o.wavPath, "show.wav");
  EXPECT_EQ(optionsFrameRange(o).first, 38u);  // 1.5 s is frame 37.5: the next one
  EXPECT_EQ(optionsFrameRange(o).end, 75u);

  EXPECT_EQ(o.supersample, 1);
  ASSERT_TRUE(parse({"--still", "12.5", "--png", "a.png", "--size", "96x54", "--path", "direct", "--supersample", "3"},
                    &o, &error));
  EXPECT_EQ(o.supersample, 3);
  EXPECT_TRUE(o.still);
  EXPECT_EQ(o.stillSeconds, 12.5);
  EXPECT_EQ(o.pngPath, "a.png");
  EXPECT_EQ(o.width, 96);
  EXPECT_FALSE(o.postProcess);

  ASSERT_TRUE(parse({"--help"}, &o, &error));
  EXPECT_TRUE(o.help);
  // Sizes at the limits, the song's very end for --to, an odd size without a video.
  EXPECT_TRUE(parse({"--size", "16x16384", "--wav", "a.wav", "--to", "174.342"}, &o, &error)) << error;
  EXPECT_TRUE(parse({"--size", "641x361", "--frames", "d"}, &o, &error)) << error;
}

TEST(CaptureOptions, EveryMistakeIsNamed) {
  struct Case {
    std::vector<const char*> args;
    const char* message;
  };
  const std::vector<Case> cases = {
      {{}, "nothing to capture"},
      {{"--wobble", "1"}, "unknown argument '--wobble'"},
      {{"out.wav"}, "unknown argument 'out.wav'"},
      {{"--wav"}, "--wav needs a value"},
      {{"--wav", ""}, "--wav needs a value"},
      {{"--wav", "--frames", "d"}, "--wav needs a value"},
      {{"--wav", "a.wav", "--size", "640"}, "--size needs WIDTHxHEIGHT, for instance 1280x720, not '640'"},
      {{"--wav", "a.wav", "--size", "x360"}, "not 'x360'"},
      {{"--wav", "a.wav", "--size", "640x36O"}, "not '640x36O'"},
      {{"--wav", "a.wav", "--size", "640x-36"}, "not '640x-36'"},
      {{"--wav", "a.wav", "--size", "15x360"}, "the frame size 15x360 is not supported: each side from 16 to 16384"},
      {{"--wav", "a.wav", "--size", "640x16385"}, "the frame size 640x16385 is not supported"},
      {{"--wav", "a.wav", "--size", "99999999999999999999x720"},
       "the frame size 99999999999999999999x720 is not supported"},
      {{"--wav", "a.wav", "--fps", "0"}, "--fps needs a whole number of frames a second from 1 to 1000, not '0'"},
      {{"--wav", "a.wav", "--fps", "-5"}, "not '-5'"},
      {{"--wav", "a.wav", "--fps", "29.97"}, "not '29.97'"},
      {{"--wav", "a.wav", "--fps", "1001"}, "not '1001'"},
      {{"--wav", "a.wav", "--from", "ten"}, "--from needs a time in seconds, not 'ten'"},
      {{"--wav", "a.wav", "--from", "nan"}, "--from needs a time in seconds"},
      {{"--wav", "a.wav", "--from", "20", "--to", "10"}, "--from 20 must come before --to 10"},
      {{"--wav", "a.wav", "--from", "5", "--to", "5"}, "--from 5 must come before --to 5"},
      {{"--wav", "a.wav", "--from", "-1"}, "--from -1 lies outside the song (0 to 174.342 s)"},
      {{"--wav", "a.wav", "--to", "175"}, "--to 175 lies outside the song"},
      {{"--wav", "a.wav", "--from", "1.01", "--to", "1.015"}, "no frame lies between 1.01 and 1.015 s at 60"},
      {{"--wav", "a.wav", "--from", "174.3415", "--to", "174.342"}, "between 174.3415 and 174.342 s at 60 frames"},
      {{"--wav", "a.wav", "--fps", "1", "--from", "0.2", "--to", "0.9"}, "s at 1 frame a second"},
      {{"--wav", "a.wav", "--frames", "d", "--wav", "b.wav"}, "--wav is given twice ('a.wav' and 'b.wav')"},
      {{"--wav", "a.wav", "--size", "64x36", "--size", "32x18"}, "--size is given twice ('64x36' and '32x18')"},
      {{"--wav", "a.wav", "--fps", "10", "--fps", "10"}, "--fps is given twice"},
      {{"--path", "post", "--wav", "a.wav", "--path", "direct"}, "--path is given twice"},
      {{"--still", "1", "--still", "2", "--png", "a.png"}, "--still is given twice"},
      {{"--wav", "a.wav", "--to", "1e400"}, "--to 1e400 lies outside the song"},
      {{"--path", "glow", "--wav", "a.wav"}, "--path is post or direct, not 'glow'"},
      {{"--video", "a.mp4", "--size", "641x360"}, "H.264 video needs an even width and height, not 641x360"},
      {{"--video", "a.gif"}, "--video needs a file name ending in .mp4, .m4v, .mov or .mkv, not 'a.gif'"},
      {{"--video", "take"}, "not 'take'"},
      {{"--video", "-"}, "not '-'"},
      {{"--still", "8"}, "--still needs --png FILE"},
      {{"--still", "200", "--png", "a.png"}, "--still 200 lies outside the song"},
      {{"--still", "8", "--png", "a.png", "--frames", "d"},
       "--still takes only --png, --size, --path and --supersample"},
      {{"--wav", "a.wav", "--supersample", "0"}, "--supersample needs a whole number from 1 to 4, not '0'"},
      {{"--wav", "a.wav", "--supersample", "5"}, "not '5'"},
      {{"--wav", "a.wav", "--supersample", "2.0"}, "not '2.0'"},
      {{"--still", "8", "--png", "a.png", "--fps", "30"}, "--still takes only"},
      {{"--png", "a.png", "--wav", "a.wav"}, "--png goes with --still"},
      {{"--video", "a.mp4", "--crf", "52"}, "--crf needs a whole number from 0 to 51, not '52'"},
      {{"--video", "a.mp4", "--x264-preset", "quick"}, "--x264-preset is one of ultrafast, superfast,"},
      {{"--video", "a.mp4", "--pixel-format", "rgb24"}, "--pixel-format is one of yuv420p, yuv444p,"},
      {{"--frames", "d", "--crf", "20"}, "--crf sets how --video is encoded; it goes with --video FILE"},
      {{"--frames", "d", "--shard", "2/2"}, "--shard needs I/K, part I from 0 to K-1"},
      {{"--frames", "d", "--shard", "0/0"}, "--shard needs I/K"},
      {{"--video", "a.mp4", "--frames", "d", "--shard", "0/2"}, "--shard writes only --frames DIR"},
      {{"--frames", "d", "--fps", "10", "--to", "0.5", "--shard", "0/6"}, "the range holds only 5 frames"},
      {{"--from-frames", "d", "--size", "64x36", "--video", "a.mp4"}, "not --size; it makes --video"},
      {{"--from-frames", "d"}, "--from-frames needs something to make"},
  };
  for (const Case& c : cases) {
    CaptureOptions o;
    std::string error;
    EXPECT_FALSE(parse(c.args, &o, &error)) << c.message;
    EXPECT_NE(error.find(c.message), std::string::npos) << "expected: " << c.message << "\ngot: " << error;
  }
}

TEST(CaptureOptions, ShardsSplitTheRangeIntoWholeFramesWithoutGapsOrOverlaps) {
  for (const char* parts : {"1", "3", "7", "29"}) {
    uint32_t next = 5;  // 0.5 s at 10 frames a second
    for (int shard = 0; shard < std::stoi(parts); ++shard) {
      const std::string value = std::to_string(shard) + "/" + parts;
      CaptureOptions o;
      std::string error;
      ASSERT_TRUE(parse({"--fps", "10", "--from", "0.5", "--to", "3.4", "--frames", "d", "--shard", value.c_str()},
                        &o, &error))
          << error;
      const FrameRange range = optionsFrameRange(o);
      EXPECT_EQ(range.first, next) << value;
      EXPECT_GT(range.end, range.first) << value;
      next = range.end;
    }
    EXPECT_EQ(next, 34u) << parts;
  }
}

TEST(CaptureOptions, H264ContainersByName) {
  EXPECT_TRUE(isH264Container("show.mp4"));
  EXPECT_TRUE(isH264Container("out/SHOW.MP4"));
  EXPECT_TRUE(isH264Container("a.b.mkv"));
  EXPECT_FALSE(isH264Container("show.webm"));
  EXPECT_FALSE(isH264Container("show"));
  EXPECT_FALSE(isH264Container("takes.mp4/show"));
  EXPECT_FALSE(isH264Container("takes/.mp4"));
}

}  // namespace
