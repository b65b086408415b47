// glass-meridian-capture run as a hostile user would: refused runs, stop
// signals and writes the system refuses (a file size limit stands in for a
// full disk). Whatever happens, every file that was there stays byte for
// byte as it was, and nothing else is left behind.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "tools/capture/video_pipe.h"

namespace {

// The sanitizers slow the capture down several times over; a stop must
// still come at the next frame, but frames take longer there.
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
constexpr auto kStopWithin = std::chrono::seconds(10);
#else
constexpr auto kStopWithin = std::chrono::seconds(1);
#endif

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

enum class Font { besideProgram, broken, fifo, copy, glyphsOutside, noAdvance, flatLine };

struct Fault {
  const char* name;
  std::vector<std::string> args;
  int status = 0;
  const char* message = "";
  Font font = Font::besideProgram;  // the C64.ttf the capture finds
  int signal = 0;                   // sent once a first frame is written (or a moment after the start);
                                    // SIGKILL: the encoder must end with the capture
  rlim_t fileLimit = 0;             // RLIMIT_FSIZE in bytes; 0: none
  bool withoutFfmpeg = false;       // PATH holds no ffmpeg
  bool video = false;               // needs ffmpeg
  const char* encoder = nullptr;    // a shell script found as ffmpeg before the real one (@FFMPEG@: that one)
  const char* blockAtFirstFrame = nullptr;  // made a folder once a first frame is written
  bool closedStderr = false;        // stderr a pipe that nobody reads
  bool closedStreams = false;       // started with descriptors 0, 1 and 2 closed
  const char* movedAside = nullptr;  // a file a killed capture's commit left moved aside, its name free
  bool encoderAlone = false;         // PATH holds the encoder script's folder only: no ffprobe
  const char* decoy = nullptr;       // the user's own files named like a killed capture's work folder
};

std::string fileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The shipped font broken as `font` says: its last glyph's location past
// the end of the file, a largest advance of 0, or a line one unit high.
void writeBrokenFont(const fs::path& shipped, Font font, const fs::path& copy) {
  std::string bytes = fileText(shipped);
  auto number = [&](size_t at, int size) {
    uint32_t value = 0;
    for (int i = 0; i < size; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
  };
  auto setWord = [&](size_t at, uint32_t value) {
    bytes[at] = static_cast<char>(value >> 8);
    bytes[at + 1] = static_cast<char>(value & 0xff);
  };
  std::map<std::string, std::pair<size_t, size_t>> tables;  // offset and length
  for (size_t table = 0; table < number(4, 2); ++table) {
    const size_t record = 12 + 16 * table;
    tables[bytes.substr(record, 4)] = {number(record + 8, 4), number(record + 12, 4)};
  }
  if (font == Font::glyphsOutside) {
    const auto [loca, locaLength] = tables["loca"];
    const int entry = number(tables["head"].first + 50, 2) == 0 ? 2 : 4;
    for (int i = 0; i < entry; ++i) bytes[loca + locaLength - entry + i] = static_cast<char>(i == 0 ? 0x7f : 0xff);
  } else if (font == Font::noAdvance) {
    setWord(tables["hhea"].first + 10, 0);
  } else {
    setWord(tables["OS/2"].first + 74, 1);
    setWord(tables["OS/2"].first + 76, 0);
  }
  std::ofstream(copy, std::ios::binary) << bytes;
}

// Every entry under the folder: its kind, and a regular file's bytes.
std::map<std::string, std::string> snapshot(const fs::path& folder) {
  std::map<std::string, std::string> entries;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = fs::relative(entry.path(), folder).string();
    if (entry.is_fifo()) {
      entries[name] = "fifo";
    } else if (entry.is_directory()) {
      entries[name] = "folder";
    } else {
      entries[name] = "file:" + fileText(entry.path());
    }
  }
  return entries;
}

// The entries that differ between two snapshots, by name.
std::string differences(const std::map<std::string, std::string>& before,
                        const std::map<std::string, std::string>& after) {
  std::string text;
  for (const auto& [name, content] : before) {
    const auto now = after.find(name);
    if (now == after.end()) text += name + " is gone; ";
    else if (now->second != content) text += name + " changed; ";
  }
  for (const auto& [name, content] : after)
    if (before.count(name) == 0) text += name + " was left behind; ";
  return text;
}

bool firstFrameWritten(const fs::path& folder) {
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file() && entry.path().filename().string().rfind("frame-", 0) == 0) return true;
  return false;
}

// Whether a work folder of the capture's has appeared (entries may vanish meanwhile).
bool workStarted(const fs::path& folder) {
  std::error_code ec;
  for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (it->path().filename().string().find(".capture-") != std::string::npos) return true;
  return false;
}

// The work folder: files a capture could replace, a FIFO, folders.
void prepare(const fs::path& folder, Font font) {
  fs::create_directories(folder / "sub");
  fs::create_directories(folder / "odd" / "frame-00000.png");
  std::ofstream(folder / "keep.wav") << "the soundtrack from before";
  std::ofstream(folder / "keep.mp4") << "the video from before";
  std::ofstream(folder / "keep.png") << "the still from before";
  std::ofstream(folder / "sub" / "frames.csv") << "the frame list from before";
  ASSERT_EQ(mkfifo((folder / "pipe.wav").c_str(), 0600), 0);
  const fs::path shipped = fs::path(GM_CAPTURE_EXE).parent_path() / "C64.ttf";
  if (font == Font::broken) std::ofstream(folder / "C64.ttf") << "not a font";
  if (font == Font::fifo) {
    ASSERT_EQ(mkfifo((folder / "C64.ttf").c_str(), 0600), 0);
  }
  if (font == Font::copy) fs::copy_file(shipped, folder / "C64.ttf");
  if (font == Font::glyphsOutside || font == Font::noAdvance || font == Font::flatLine)
    writeBrokenFont(shipped, font, folder / "C64.ttf");
}

[[noreturn]] void execCapture(const Fault& fault, const fs::path& folder, int output) {
  if (chdir(folder.c_str()) != 0) _exit(120);
  dup2(output, STDERR_FILENO);
  int unread[2];
  if (fault.closedStderr && pipe(unread) == 0) {
    close(unread[0]);
    dup2(unread[1], STDERR_FILENO);
  }
  if (fault.closedStreams)
    for (const int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) close(stream);
  if (fault.fileLimit > 0) {
    const rlimit limit{fault.fileLimit, fault.fileLimit};
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  if (fault.withoutFfmpeg) setenv("PATH", "/nonexistent-folder", 1);
  if (fault.encoder != nullptr)
    setenv("PATH", (folder.string() + "/bin" + (fault.encoderAlone ? "" : ":" + std::string(std::getenv("PATH")))).c_str(),
           1);
  std::vector<char*> argv = {const_cast<char*>(GM_CAPTURE_EXE)};
  for (const std::string& arg : fault.args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  execv(GM_CAPTURE_EXE, argv.data());
  _exit(121);
}

// Waits for the child until the deadline; -1 when it is still running
// (it is killed then), else its exit status.
int waitUntil(pid_t child, Clock::time_point deadline) {
  int status = 0;
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (Clock::now() > deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
}

// A process id that no process has: a child's that has ended.
pid_t endedProcess() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

// Moves the file where a capture killed in mid-commit leaves an old file:
// into the work folder ".STEM.capture-PID-TOKEN" beside it as "old", or
// for a file of a frame set into the set's ".capture-PID-TOKEN/old/"; the
// work folder's mark proves it the capture's.
void leaveMovedAside(const fs::path& file) {
  const std::string unique = ".capture-" + std::to_string(endedProcess()) + "-AbC123";
  const bool frameSet = file.filename() == "frames.csv";
  const fs::path work = file.parent_path() / (frameSet ? unique : "." + file.stem().string() + unique);
  fs::create_directories(frameSet ? work / "old" : work);
  std::ofstream(work / "mark") << "glass-meridian-capture work folder AbC123\n"
                               << (frameSet ? "frame set" : "file " + file.filename().string()) << "\n";
  fs::rename(file, frameSet ? work / "old" / file.filename() : work / "old");
}

// The user's own files with names of a killed capture's work folders: a
// plain file, and a folder whose mark names another token.
void makeDecoys(const fs::path& folder, const std::string& name) {
  const std::string pid = std::to_string(endedProcess());
  const fs::path decoy = folder / (name + ".capture-" + pid + "-AbC123");
  fs::create_directory(decoy);
  std::ofstream(decoy / "old") << "the user's own file";
  std::ofstream(decoy / "mark") << "glass-meridian-capture work folder XyZ789\nfile keep.wav\n";
  std::ofstream(folder / (name + ".capture-" + pid + "-QrS456")) << "the user's own file";
}

// Whether the process has ended (or lingers as a zombie) within 5 s.
bool endsSoon(pid_t pid) {
  for (int tries = 0; tries < 500; ++tries) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const size_t state = text.rfind(')');
    if (text.empty() || (state != std::string::npos && text.compare(state, 3, ") Z") == 0)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

void runFault(const Fault& fault, const fs::path& folder) {
  prepare(folder, fault.font);
  if (fault.encoder != nullptr) {
    std::string script = fault.encoder, ffmpeg;
    findFfmpeg(&ffmpeg);
    for (size_t at = 0; (at = script.find("@FFMPEG@", at)) != std::string::npos;) script.replace(at, 8, ffmpeg);
    fs::create_directories(folder / "bin");
    std::ofstream(folder / "bin" / "ffmpeg") << "#!/bin/sh\nPATH=/usr/bin:/bin\n" << script << "\n";
    fs::permissions(folder / "bin" / "ffmpeg", fs::perms::owner_all);
  }
  if (fault.decoy != nullptr) makeDecoys(folder, fault.decoy);
  std::map<std::string, std::string> before = snapshot(folder);
  if (fault.movedAside != nullptr) leaveMovedAside(folder / fault.movedAside);
  std::FILE* output = std::tmpfile();
  ASSERT_NE(output, nullptr);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) execCapture(fault, folder, fileno(output));

  Clock::time_point deadline = Clock::now() + std::chrono::seconds(120);
  if (fault.signal != 0 || fault.blockAtFirstFrame != nullptr) {
    const bool frames = fault.args.end() != std::find(fault.args.begin(), fault.args.end(), "--frames");
    if (frames) {
      while (!firstFrameWritten(folder) && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } else {
      // The outputs' work folders come once the capture catches stops.
      while (!workStarted(folder) && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  if (fault.blockAtFirstFrame != nullptr) {
    fs::create_directory(folder / fault.blockAtFirstFrame);
    before[fault.blockAtFirstFrame] = "folder";
  }
  if (fault.signal != 0) {
    kill(child, fault.signal);
    deadline = Clock::now() + kStopWithin;
  }
  const int status = waitUntil(child, deadline);
  std::rewind(output);
  std::string said;
  for (int c = 0; (c = std::fgetc(output)) != EOF;) said += static_cast<char>(c);
  std::fclose(output);

  EXPECT_EQ(status, fault.status) << said << (status == -1 ? "(still running at the deadline)" : "");
  if (fault.signal == SIGKILL) {
    // Killed outright, the capture leaves its work behind; its encoder must not live on.
    const pid_t encoder = std::atoi(fileText(folder.parent_path() / "encoder.pid").c_str());
    fs::remove(folder.parent_path() / "encoder.pid");
    ASSERT_GT(encoder, 0);
    EXPECT_TRUE(endsSoon(encoder)) << "the encoder outlived the capture";
    if (!endsSoon(encoder)) kill(encoder, SIGKILL);
    return;
  }
  if (!fault.closedStderr) {
    EXPECT_NE(said.find("glass-meridian-capture: " + std::string(fault.message)), std::string::npos) << said;
  }
  EXPECT_EQ(differences(before, snapshot(folder)), "");
}

// Encoders that read every frame and then write what is no video, or a
// video of 6 frames.
constexpr char kGarbageEncoder[] =
    "cat >/dev/null; for a; do out=$a; done; head -c 5000 /dev/urandom >\"${out#file:}\"";
constexpr char kShortEncoder[] =
    "cat >/dev/null; for a; do out=$a; done; exec @FFMPEG@ -loglevel error -f lavfi -i color=c=black:s=64x36:r=10 "
    "-frames:v 6 -pix_fmt yuv420p -c:v libx264 -y \"$out\"";

TEST(CaptureFaults, EveryFileStaysAsItWas) {
  const std::vector<std::string> frames = {"--size", "64x36", "--fps", "10", "--to", "30"};
  auto with = [](std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  const std::vector<Fault> faults = {
      // Refused before any output is touched: status 2.
      {"a broken font", {"--to", "0.2", "--size", "64x36", "--wav", "keep.wav", "--video", "keep.mp4"}, 2,
       "Could not find or temporarily install C64 Pro - Font: C64.ttf: not a complete TrueType font", Font::broken},
      {"a FIFO for the font", {"--to", "0.2", "--size", "64x36", "--frames", "sub"}, 2,
       "Could not find or temporarily install C64 Pro - Font: C64.ttf: cannot be read: not a regular file",
       Font::fifo},
      {"no ffmpeg", {"--wav", "keep.wav", "--video", "keep.mp4"}, 2, "--video needs ffmpeg", Font::besideProgram, 0,
       0, true},
      {"a video in a missing folder", {"--wav", "keep.wav", "--video", "missing/keep.mp4"}, 2,
       "cannot write 'missing/keep.mp4': No such file or directory"},
      {"one file twice", {"--wav", "keep.mp4", "--video", "./keep.mp4"}, 2,
       "--video './keep.mp4' is the same file as --wav"},
      {"a file of the frame set", {"--frames", "sub", "--wav", "sub/frames.csv"}, 2,
       "--wav 'sub/frames.csv' is the same file as --frames (its frames.csv)"},
      {"the font", {"--still", "1", "--png", "C64.ttf"}, 2, "--png 'C64.ttf' is the same file as the font",
       Font::copy},
      {"a FIFO", {"--wav", "pipe.wav"}, 2, "'pipe.wav' is a FIFO, not a regular file: it is never replaced"},
      {"a folder", {"--still", "1", "--png", "sub"}, 2, "'sub' is a folder, not a regular file"},
      {"a folder in the frame set", {"--to", "0.1", "--frames", "odd"}, 2,
       "'odd/frame-00000.png' is a folder, not a regular file"},
      {"glyphs outside the font file", {"--still", "1", "--size", "64x36", "--png", "keep.png"}, 2,
       "Could not find or temporarily install C64 Pro - Font: C64.ttf: not a complete TrueType font: its glyphs lie "
       "outside the file",
       Font::glyphsOutside},
      {"characters that advance by nothing", {"--still", "1", "--size", "64x36", "--png", "keep.png"}, 2,
       "Could not find or temporarily install C64 Pro - Font: C64.ttf: its characters advance by nothing",
       Font::noAdvance},
      {"a line one unit high", {"--to", "0.2", "--size", "64x36", "--frames", "sub"}, 2,
       "Could not find or temporarily install C64 Pro - Font: C64.ttf: its line (ascent plus descent) is shorter",
       Font::flatLine},
      // Stopped: 128 + the signal, at the next frame.
      {"SIGTERM", with(frames, {"--frames", "out", "--video", "keep.mp4", "--wav", "keep.wav"}), 143,
       "stopped by SIGTERM", Font::besideProgram, SIGTERM, 0, false, true},
      {"SIGINT", with(frames, {"--frames", "out"}), 130, "stopped by SIGINT", Font::besideProgram, SIGINT},
      {"SIGHUP in the song", {"--wav", "keep.wav"}, 129, "stopped by SIGHUP", Font::besideProgram, SIGHUP},
      {"SIGTERM while the encoder reads nothing", {"--size", "640x360", "--to", "1", "--frames", "sub", "--video",
       "keep.mp4"}, 143, "stopped by SIGTERM", Font::besideProgram, SIGTERM, 0, false, false, "exec sleep 600"},
      // The commit fails on the last file of the set: every output already
      // in place goes back.
      {"a target that became a folder", with(frames, {"--wav", "keep.wav", "--frames", "sub"}), 1,
       "'sub/frame-00299.png' is a folder, not a regular file: it is never replaced", Font::besideProgram, 0, 0,
       false, false, nullptr, "sub/frame-00299.png"},
      {"an encoder that writes nothing", {"--to", "0.2", "--size", "64x36", "--wav", "keep.wav", "--video",
       "keep.mp4"}, 1, "ffmpeg wrote nothing to 'keep.mp4'", Font::besideProgram, 0, 0, false, false,
       "cat >/dev/null"},
      // An encoder's output is read back: by ffprobe on PATH, else by the capture itself.
      {.name = "an encoder's garbage, ffprobe on PATH", .args = {"--to", "0.2", "--size", "64x36", "--wav", "keep.wav",
       "--video", "keep.mp4"}, .status = 1, .message = "ffmpeg wrote 'keep.mp4', but it cannot be read back",
       .video = true, .encoder = kGarbageEncoder},
      {.name = "an encoder's garbage, no ffprobe", .args = {"--to", "0.2", "--size", "64x36", "--video", "keep.mp4"},
       .status = 1, .message = "ffmpeg wrote 'keep.mp4', but it cannot be read back: it is neither", .video = true,
       .encoder = kGarbageEncoder, .encoderAlone = true},
      {.name = "a short video, ffprobe on PATH", .args = {"--fps", "10", "--to", "3", "--size", "64x36", "--video",
       "keep.mp4"}, .status = 1, .message = "ffmpeg wrote 'keep.mp4', but it holds 6 frames of 30", .video = true,
       .encoder = kShortEncoder},
      {.name = "a short MP4 video, no ffprobe", .args = {"--fps", "10", "--to", "3", "--size", "64x36", "--video",
       "keep.mp4"}, .status = 1, .message = "ffmpeg wrote 'keep.mp4', but it holds 6 frames of 30", .video = true,
       .encoder = kShortEncoder, .encoderAlone = true},
      {.name = "a short Matroska video, no ffprobe", .args = {"--fps", "10", "--to", "3", "--size", "64x36",
       "--video", "new.mkv"}, .status = 1, .message = "ffmpeg wrote 'new.mkv', but it holds 6 frames of 30",
       .video = true, .encoder = kShortEncoder, .encoderAlone = true},
      {.name = "SIGKILL while the encoder reads nothing", .args = {"--size", "640x360", "--to", "1", "--frames", "sub",
       "--video", "keep.mp4"}, .status = 1000 + SIGKILL, .signal = SIGKILL, .video = true,
       .encoder = "echo $$ >../encoder.pid; exec sleep 600"},
      // Writes the system refuses: status 1, the file and the reason named.
      {"a full disk for the WAVE file", {"--to", "0.1", "--wav", "keep.wav"}, 1,
       "writing 'keep.wav' failed: File too large", Font::besideProgram, 0, 16384},
      {"a full disk for the still", {"--still", "1", "--size", "640x360", "--png", "keep.png"}, 1,
       "writing 'keep.png' failed: File too large", Font::besideProgram, 0, 16384},
      {"a full disk for the frames", {"--to", "0.05", "--size", "640x360", "--frames", "out"}, 1,
       "writing 'out/frame-00000.png' failed: File too large", Font::besideProgram, 0, 16384},
      // A capture killed in mid-commit left an old file moved aside and its
      // name free: the next one puts it back before anything else.
      {.name = "an old file moved aside", .args = {"--to", "0.1", "--wav", "keep.wav"}, .status = 1,
       .message = "put back 'keep.wav' from '.keep.capture-", .fileLimit = 16384, .movedAside = "keep.wav"},
      {.name = "an old file of a frame set moved aside", .args = {"--to", "0.05", "--size", "640x360", "--frames",
       "sub"}, .status = 1, .message = "put back 1 old file into 'sub' from 'sub/.capture-", .fileLimit = 16384,
       .movedAside = "sub/frames.csv"},
      {"a full disk for the video", {"--fps", "1000", "--to", "0.01", "--size", "640x360", "--video", "keep.mp4"}, 1,
       "ffmpeg could not write 'keep.mp4'", Font::besideProgram, 0, 16384, false, true},
      {"a closed stderr pipe", {"--to", "0.2", "--size", "64x36", "--frames", "sub", "--wav", "keep.wav"}, 1, "",
       Font::besideProgram, 0, 0, false, false, nullptr, nullptr, true},
      {.name = "a closed stderr pipe, the soundtrack alone", .args = {"--to", "0.2", "--wav", "keep.wav"},
       .status = 1, .closedStderr = true},
      // Only what a killed capture's mark proves its own is tidied.
      {.name = "the user's files named like a killed capture's", .args = {"--to", "0.1", "--wav", "keep.wav"},
       .status = 1, .message = "writing 'keep.wav' failed: File too large", .fileLimit = 16384, .decoy = ".keep"},
  };
  std::string ffmpeg;
  const bool haveFfmpeg = findFfmpeg(&ffmpeg);
  const fs::path folder = fs::path(::testing::TempDir()) / ("capture_faults_" + std::to_string(getpid()));
  for (const Fault& fault : faults) {
    if (fault.video && !haveFfmpeg) continue;
    SCOPED_TRACE(fault.name);
    runFault(fault, folder);
    fs::remove_all(folder);
  }
}

// A capture started with its standard streams closed writes nothing of its
// own into its outputs: they are byte for byte those of a normal run.
TEST(CaptureFaults, ClosedStandardStreamsChangeNoOutput) {
  std::string ffmpeg;
  std::vector<std::string> args = {"--size", "64x36", "--to", "0.2", "--wav", "a.wav", "--frames", "frames"};
  if (findFfmpeg(&ffmpeg)) args.insert(args.end(), {"--video", "a.mp4"});
  const fs::path folder = fs::path(::testing::TempDir()) / ("capture_closed_" + std::to_string(getpid()));
  std::map<std::string, std::string> outputs[2];
  std::FILE* output = std::tmpfile();
  for (const bool closed : {false, true}) {
    fs::create_directories(folder / std::to_string(closed));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    const Fault run = {.name = "", .args = args, .status = 0, .message = "", .closedStreams = closed};
    if (child == 0) execCapture(run, folder / std::to_string(closed), fileno(output));
    EXPECT_EQ(waitUntil(child, Clock::now() + std::chrono::seconds(120)), 0) << (closed ? "closed" : "open");
    outputs[closed] = snapshot(folder / std::to_string(closed));
  }
  std::fclose(output);
  EXPECT_EQ(outputs[false].count("frames/frames.csv"), 1u);
  EXPECT_EQ(differences(outputs[false], outputs[true]), "");
  fs::remove_all(folder);
}

// What a killed capture leaves behind, the next capture of the same
// outputs removes, and says so.
TEST(CaptureFaults, KilledCapturesLeftoversGoAtTheNextStart) {
  const fs::path folder = fs::path(::testing::TempDir()) / ("capture_killed_" + std::to_string(getpid()));
  fs::create_directories(folder);
  std::FILE* output = std::tmpfile();
  const std::vector<std::string> args = {"--size", "64x36", "--fps", "10", "--to", "30", "--wav", "a.wav", "--frames",
                                         "frames"};
  const pid_t killed = fork();
  ASSERT_GE(killed, 0);
  if (killed == 0) execCapture({.name = "", .args = args, .status = 0, .message = ""}, folder, fileno(output));
  const Clock::time_point deadline = Clock::now() + std::chrono::seconds(120);
  while (!firstFrameWritten(folder) && Clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  kill(killed, SIGKILL);
  waitUntil(killed, deadline);
  const size_t left = snapshot(folder).size();
  EXPECT_GE(left, 5u) << "a.wav's work folder and its files, the folder and its work folder";

  std::vector<std::string> again = args;
  again[5] = "0.2";
  const pid_t next = fork();
  ASSERT_GE(next, 0);
  if (next == 0) execCapture({.name = "", .args = again, .status = 0, .message = ""}, folder, fileno(output));
  EXPECT_EQ(waitUntil(next, deadline), 0);
  for (const auto& [name, content] : snapshot(folder)) EXPECT_EQ(name.find(".capture-"), std::string::npos) << name;
  std::rewind(output);
  std::string said;
  for (int c = 0; (c = std::fgetc(output)) != EOF;) said += static_cast<char>(c);
  std::fclose(output);
  EXPECT_NE(said.find("glass-meridian-capture: removed 'frames/.capture-"), std::string::npos) << said;
  fs::remove_all(folder);
}

}  // namespace
