// glass-meridian-capture's command line: every mistake ends with a message
// and exit status 2, before any render.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace {

struct CaptureRun {
  int status;
  std::string output;
};

CaptureRun capture(const std::string& arguments) {
  const std::string command = std::string(GM_CAPTURE_EXE) + " " + arguments + " 2>&1";
  std::FILE* pipe = popen(command.c_str(), "r");
  CaptureRun run{-1, {}};
  if (pipe == nullptr) return run;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) run.output += buffer;
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(CaptureCommandLine, UsageErrors) {
  for (const char* arguments : {"", "--wav", "--wav ''", "--frames 3", "out.wav"}) {
    const CaptureRun run = capture(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_NE(run.output.find("usage: glass-meridian-capture --wav FILE"), std::string::npos) << run.output;
  }
  EXPECT_NE(capture("--wav").output.find("--wav needs a file name"), std::string::npos);
  EXPECT_NE(capture("--frames").output.find("unknown argument '--frames'"), std::string::npos);
}

TEST(CaptureCommandLine, UnwritablePath) {
  const CaptureRun run = capture("--wav /nonexistent-folder/song.wav");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.output.find("cannot write '/nonexistent-folder/song.wav': No such file or directory"),
            std::string::npos)
      << run.output;
  EXPECT_EQ(run.output.find("rendering"), std::string::npos) << "fails before the render";
}

}  // namespace
