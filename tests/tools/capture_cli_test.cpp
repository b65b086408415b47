// glass-meridian-capture as a program: a wrong command line, an output that
// cannot be written, a missing ffmpeg or font all end with a message and
// exit status 2 before anything is rendered.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tools/capture/video_pipe.h"

namespace {

struct CaptureRun {
  int status;
  std::string output;
};

CaptureRun capture(const std::string& arguments, const std::string& environment = "") {
  const std::string command = environment + " " + GM_CAPTURE_EXE + " " + arguments + " 2>&1";
  std::FILE* pipe = popen(command.c_str(), "r");
  CaptureRun run{-1, {}};
  if (pipe == nullptr) return run;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) run.output += buffer;
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

void expectRefused(const CaptureRun& run, const std::string& message) {
  EXPECT_EQ(run.status, 2) << run.output;
  EXPECT_NE(run.output.find("glass-meridian-capture: " + message), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("rendering"), std::string::npos) << "fails before the render";
  EXPECT_EQ(run.output.find("captured"), std::string::npos) << "fails before the render";
}

TEST(CaptureCommandLine, MistakesShowTheUsage) {
  for (const char* arguments : {"", "--wav", "--frames", "out.wav", "--size 8x8 --wav a.wav", "--fps 0 --wav a.wav"}) {
    const CaptureRun run = capture(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_NE(run.output.find("usage: glass-meridian-capture [--size WxH]"), std::string::npos) << run.output;
  }
  expectRefused(capture("--frames"), "--frames needs a value");
  expectRefused(capture("--wobble"), "unknown argument '--wobble'");
  expectRefused(capture("--to 999 --wav a.wav"), "--to 999 lies outside the song (0 to 174.342 s)");
}

TEST(CaptureCommandLine, HelpListsTheOptions) {
  const CaptureRun run = capture("--help");
  EXPECT_EQ(run.status, 0);
  for (const char* option : {"--wav FILE", "--frames DIR", "--video FILE", "--size WxH", "--fps N", "--from S",
                             "--path post|direct", "--supersample N", "--still S --png FILE"})
    EXPECT_NE(run.output.find(option), std::string::npos) << option;
  // Text that cannot be written is a failure.
  EXPECT_EQ(capture("--help >/dev/full").status, 1);
  EXPECT_EQ(capture("--version >/dev/full").status, 1);
}

TEST(CaptureCommandLine, OutputsThatCannotBeWritten) {
  expectRefused(capture("--wav /nonexistent-folder/song.wav"),
                "cannot write '/nonexistent-folder/song.wav': No such file or directory");
  expectRefused(capture("--frames /nonexistent-folder/frames"),
                "cannot make the folder '/nonexistent-folder/frames': No such file or directory");
  expectRefused(capture("--frames /dev/null"), "'/dev/null' is not a folder");
  expectRefused(capture("--video /nonexistent-folder/show.mp4"), "cannot write '/nonexistent-folder/show.mp4'");
  expectRefused(capture("--still 8 --png /nonexistent-folder/still.png"),
                "cannot write '/nonexistent-folder/still.png'");
  // A supersampled scene larger than a render target is refused before anything else.
  expectRefused(capture("--size 8192x16 --supersample 3 --frames /nonexistent-folder/frames"),
                "--supersample 3 at 8192x16 draws the scene at 24576x48 pixels, beyond the 16384 a side");
}

TEST(CaptureCommandLine, VideoNeedsFfmpegOnThePath) {
  const std::string video = ::testing::TempDir() + "capture_cli_no_ffmpeg.mp4";
  expectRefused(capture("--video " + video, "PATH=/nonexistent-folder"),
                "--video needs ffmpeg, which is not installed (no ffmpeg on PATH)");
  // Without --video nothing asks for it: a short soundtrack still works.
  const std::string wav = ::testing::TempDir() + "capture_cli_no_ffmpeg.wav";
  const CaptureRun run = capture("--to 0.1 --wav " + wav, "PATH=/nonexistent-folder");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(std::filesystem::file_size(wav), 58u + 4410u * 8u);
  std::filesystem::remove(wav);
  std::filesystem::remove(video);
}

TEST(CaptureCommandLine, AVideoNameWithAColonIsAFileName) {
  // ffmpeg would read "take:1.mp4" as the protocol "take".
  std::string ffmpeg;
  if (!findFfmpeg(&ffmpeg)) GTEST_SKIP() << "ffmpeg is not installed";
  const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "capture_cli_colon";
  std::filesystem::create_directories(folder);
  // Without PATH, ffmpeg is looked for on the system's default path.
  const CaptureRun run =
      capture("--to 0.1 --size 32x18 --video take:1.mp4", "cd " + folder.string() + " && env -u PATH");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_GT(std::filesystem::file_size(folder / "take:1.mp4"), 1000u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1)
      << "only the video";
  std::filesystem::remove_all(folder);
}

TEST(CaptureCommandLine, NamesAtTheSystemsLimitAreWritten) {
  const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "capture_cli_long_names";
  std::filesystem::create_directories(folder);
  const std::string stem(static_cast<size_t>(pathconf(folder.c_str(), _PC_NAME_MAX)) - 4, 'n');
  for (const std::string& arguments :
       {"--to 0.1 --wav " + stem + ".wav", "--still 1 --size 32x18 --png " + stem + ".png"}) {
    const CaptureRun run = capture(arguments, "cd " + folder.string() + " &&");
    EXPECT_EQ(run.status, 0) << run.output;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 2);
  std::filesystem::remove_all(folder);
}

TEST(CaptureCommandLine, CheckRendersAndWritesNothing) {
  const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "capture_cli_check";
  std::filesystem::create_directories(folder);
  const CaptureRun run = capture("--check --to 0.1 --size 32x18 --frames frames --video show.mp4 --wav song.wav",
                                 "cd " + folder.string() + " &&");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output, "");
  EXPECT_TRUE(std::filesystem::is_empty(folder));
  expectRefused(capture("--check --from-frames " + folder.string() + " --video show.mp4"),
                "cannot read '" + (folder / "frames.csv").string() + "'");
  std::filesystem::remove_all(folder);
}

TEST(CaptureCommandLine, FramesNeedTheFont) {
  // A C64.ttf in the working directory is found before the one beside the program.
  const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "capture_cli_font";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "C64.ttf") << "not a font";
  const CaptureRun run = capture("--to 0.1 --size 16x16 --frames frames", "cd " + folder.string() + " &&");
  expectRefused(run, "Could not find or temporarily install C64 Pro - Font: C64.ttf: not a complete TrueType font");
  std::filesystem::remove_all(folder);
}

}  // namespace
