#include "tools/capture/video_pipe.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "host/still_checks.h"
#include "platform/stop_signals.h"
#include "tools/capture/video_frames.h"

namespace {

constexpr size_t kLogTail = 600;
// How long a wait for ffmpeg lasts at most before it looks for a stop
// again: a stop signal may reach another thread and wake nothing here.
constexpr int kStopLookMilliseconds = 50;
constexpr int kAudioDescriptor = 3;  // where ffmpeg finds the soundtrack

// The end of ffmpeg's log: its last complaint is what matters.
std::string logTail(int log) {
  std::string text;
  char buffer[4096];
  ssize_t got = 0;
  for (off_t at = 0; (got = pread(log, buffer, sizeof buffer, at)) > 0; at += got) text.append(buffer, size_t(got));
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  if (text.size() > kLogTail) text = "..." + text.substr(text.size() - kLogTail);
  return text;
}

std::string exitText(int status) {
  if (WIFEXITED(status)) return "exit status " + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return std::string("killed by ") + strsignal(WTERMSIG(status));
  return "status " + std::to_string(status);
}

// Waits for a program started in a process group of its own; a stop
// ends the whole group at once. -1 with errno when the wait fails.
pid_t waitForProgram(pid_t pid, int* status) {
  for (;;) {
    if (stopSignal() != 0) kill(-pid, SIGKILL);
    const pid_t ended = waitpid(pid, status, stopSignal() != 0 ? 0 : WNOHANG);
    if (ended != 0 && !(ended < 0 && errno == EINTR)) return ended;
    if (ended == 0) poll(nullptr, 0, kStopLookMilliseconds);
  }
}

// Starts `args` in a process group of its own with the descriptors given
// as (descriptor, number in the program) pairs and the other standard
// streams on the null device. The program dies with the thread that
// started it, so that a capture killed outright leaves no encoder behind.
// The error number, or 0.
int startProgram(const std::vector<std::string>& args, const std::vector<std::pair<int, int>>& descriptors,
                 pid_t* pid) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  // The child reports a failed exec through this pipe, which the exec closes.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return errno;
  const pid_t parent = getpid();
  const pid_t child = fork();
  if (child == 0) {
    // Only calls that are safe after a fork of a threaded program.
    int failure = 0;
    if (setpgid(0, 0) != 0 || prctl(PR_SET_PDEATHSIG, SIGKILL) != 0) failure = errno;
    if (failure == 0 && getppid() != parent) _exit(127);  // the capture ended already
    int moved[8];
    size_t count = 0;
    // Out of the way of the numbers they take, then into place.
    for (const auto& [descriptor, number] : descriptors) {
      if (failure != 0 || count == std::size(moved)) break;
      moved[count] = fcntl(descriptor, F_DUPFD, 64);
      if (moved[count++] < 0) failure = errno;
    }
    for (int stream = STDIN_FILENO; stream <= STDERR_FILENO && failure == 0; ++stream) {
      const int null = open("/dev/null", stream == STDIN_FILENO ? O_RDONLY : O_WRONLY);
      if (null < 0 || dup2(null, stream) < 0) failure = errno;
      if (null > STDERR_FILENO) close(null);
    }
    for (size_t i = 0; i < count && failure == 0; ++i)
      if (dup2(moved[i], descriptors[i].second) < 0) failure = errno;
    for (size_t i = 0; i < count; ++i) close(moved[i]);
    if (failure == 0) {
      execv(argv[0], argv.data());
      failure = errno;
    }
    ssize_t ignored = write(report[1], &failure, sizeof failure);
    (void)ignored;
    _exit(127);
  }
  const int forkError = errno;
  close(report[1]);
  int failure = 0;
  if (child < 0) {
    failure = forkError;
  } else {
    ssize_t got = 0;
    while ((got = read(report[0], &failure, sizeof failure)) < 0 && errno == EINTR) {}
    if (got == sizeof failure) waitpid(child, nullptr, 0);
    else failure = 0;
  }
  close(report[0]);
  if (failure == 0) *pid = child;
  return failure;
}

// Closes the input, waits for ffmpeg and closes the log. True when it
// ended with status 0; otherwise *error holds what it said.
bool waitForFfmpeg(VideoPipe& pipe, std::string* error) {
  if (pipe.input >= 0) close(pipe.input);
  pipe.input = -1;
  int status = 0;
  // A stop does not wait for the encoder: its file is thrown away.
  const pid_t ended = waitForProgram(pipe.pid, &status);
  pipe.pid = -1;
  const bool exited = ended >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  // At this log level every line is an error: ffmpeg says when it could not
  // write the file's end, yet may exit with status 0.
  std::string said = logTail(pipe.log);
  const bool ok = exited && said.empty();
  if (!ok) {
    for (size_t at = 0; (at = said.find(pipe.file, at)) != std::string::npos; at += pipe.target.size())
      said.replace(at, pipe.file.size(), pipe.target);
    for (size_t at = 0; (at = said.find('\n', at)) != std::string::npos;) said.replace(at, 1, "; ");
    *error = "ffmpeg could not write '" + pipe.target + "'" +
             (exited ? "" : " (" + (ended < 0 ? std::string(std::strerror(errno)) : exitText(status)) + ")") +
             ": " + (said.empty() ? "no message" : said);
  }
  close(pipe.log);
  pipe.log = -1;
  return ok;
}

// The output through ffmpeg's file protocol: no name is read as another
// protocol or as an option.
std::string outputName(const VideoRequest& request) { return "file:" + request.file; }

}  // namespace

std::string temporaryFolder() {
  const char* folder = std::getenv("TMPDIR");
  return folder != nullptr && folder[0] != '\0' ? folder : "/tmp";
}

int anonymousFile(std::string* error) {
  std::string name = temporaryFolder() + "/glass-meridian-XXXXXX";
  const int file = mkostemp(name.data(), O_CLOEXEC);
  if (file < 0) {
    *error = "cannot make a temporary file in " + temporaryFolder() + ": " + std::strerror(errno);
    return -1;
  }
  unlink(name.c_str());
  // Kept clear of the descriptors ffmpeg is given, so that handing it on
  // is always a real duplication.
  const int moved = fcntl(file, F_DUPFD_CLOEXEC, 10);
  close(file);
  if (moved < 0) *error = std::string("cannot keep a temporary file open: ") + std::strerror(errno);
  return moved;
}

bool findFfmpeg(std::string* path) { return findProgram("ffmpeg", path); }

bool findProgram(const char* name, std::string* path) {
  const char* searchPath = std::getenv("PATH");
  std::string folders = searchPath != nullptr ? searchPath : "";
  if (searchPath == nullptr) {
    // Without PATH, the system's default search path, as the shell takes it.
    folders.resize(confstr(_CS_PATH, nullptr, 0));
    if (folders.empty() || confstr(_CS_PATH, folders.data(), folders.size()) == 0) folders = "/usr/bin:/bin";
    folders.resize(std::strlen(folders.c_str()));
  }
  size_t start = 0;
  while (start <= folders.size()) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    const std::string folder = end > start ? folders.substr(start, end - start) : ".";
    const std::string candidate = folder + "/" + name;
    struct stat info;
    if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0) {
      *path = candidate;
      return true;
    }
    start = end + 1;
  }
  return false;
}

std::vector<std::string> ffmpegArguments(const std::string& program, const VideoRequest& request) {
  return {program, "-hide_banner", "-nostats", "-loglevel", "error", "-y",
          "-f", "rawvideo", "-pixel_format", "rgba",
          "-video_size", frameSizeText(request.width, request.height),
          "-framerate", std::to_string(request.fps), "-i", "pipe:0",
          "-i", "/dev/fd/" + std::to_string(kAudioDescriptor),
          "-map", "0:v:0", "-map", "1:a:0",
          "-c:v", "libx264", "-preset", request.encoding.preset, "-crf", std::to_string(request.encoding.crf),
          "-pix_fmt", request.encoding.pixelFormat,
          "-c:a", "aac", "-b:a", "192k", "-movflags", "+faststart",
          outputName(request)};
}

bool startVideoPipe(VideoPipe& pipe, const std::string& program, const VideoRequest& request, std::string* error) {
  // A write to an ffmpeg that has quit must fail with EPIPE, not end us.
  std::signal(SIGPIPE, SIG_IGN);

  pipe.target = request.target;
  pipe.file = outputName(request);
  pipe.log = anonymousFile(error);
  if (pipe.log < 0) return false;
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    *error = std::string("cannot make a pipe to ffmpeg: ") + std::strerror(errno);
    close(pipe.log);
    pipe.log = -1;
    return false;
  }
  const int spawned = startProgram(
      ffmpegArguments(program, request),
      {{fds[0], STDIN_FILENO}, {pipe.log, STDERR_FILENO}, {request.audioFile, kAudioDescriptor}}, &pipe.pid);
  close(fds[0]);
  if (spawned != 0) {
    *error = "cannot start " + program + ": " + std::strerror(spawned);
    close(fds[1]);
    close(pipe.log);
    pipe.log = -1;
    pipe.pid = -1;
    return false;
  }
  // Writes never block: a wait for ffmpeg to read looks for stops.
  fcntl(fds[1], F_SETFL, fcntl(fds[1], F_GETFL) | O_NONBLOCK);
  pipe.input = fds[1];
  return true;
}

bool writeVideoFrame(VideoPipe& pipe, const uint8_t* rgba, size_t bytes, std::string* error) {
  while (bytes > 0) {
    if (stopSignal() != 0) {
      *error = "stopped while handing ffmpeg a frame";
      return false;
    }
    const ssize_t written = write(pipe.input, rgba, bytes);
    if (written < 0 && (errno == EAGAIN || errno == EINTR)) {
      pollfd ready = {pipe.input, POLLOUT, 0};
      poll(&ready, 1, kStopLookMilliseconds);
      continue;
    }
    if (written <= 0) {
      const std::string reason = std::strerror(written < 0 ? errno : EIO);
      if (waitForFfmpeg(pipe, error)) *error = "ffmpeg stopped reading frames: " + reason;
      return false;
    }
    rgba += written;
    bytes -= static_cast<size_t>(written);
  }
  return true;
}

bool finishVideoPipe(VideoPipe& pipe, std::string* error) {
  if (pipe.pid < 0) return true;
  return waitForFfmpeg(pipe, error);
}

void abandonVideoPipe(VideoPipe& pipe) {
  if (pipe.pid < 0) return;
  kill(-pipe.pid, SIGKILL);
  std::string ignored;
  waitForFfmpeg(pipe, &ignored);
}

bool checkEncodedVideo(const std::string& program, const VideoRequest& request, uint32_t frames, std::string* error) {
  struct stat info;
  if (stat(request.file.c_str(), &info) != 0 || info.st_size == 0) {
    *error = "ffmpeg wrote nothing to '" + request.target + "'";
    return false;
  }
  // ffprobe beside ffmpeg, else on PATH, else the file's own frame count.
  std::string ffprobe = program.substr(0, program.rfind('/') + 1) + "ffprobe";
  if (access(ffprobe.c_str(), X_OK) != 0 && !findProgram("ffprobe", &ffprobe)) {
    uint32_t count = 0;
    std::string reason;
    if (!countVideoFrames(request.file, &count, &reason)) {
      *error = "ffmpeg wrote '" + request.target + "', but it cannot be read back: " + reason;
      return false;
    }
    if (count == frames) return true;
    *error = "ffmpeg wrote '" + request.target + "', but it holds " + std::to_string(count) + " frames of " +
             std::to_string(frames);
    return false;
  }
  const int output = anonymousFile(error);
  if (output < 0) return false;
  pid_t pid = -1;
  int status = 0;
  const bool read = startProgram({ffprobe, "-v", "error", "-select_streams", "v:0", "-count_packets",
                                  "-show_entries", "stream=nb_read_packets", "-of", "csv=p=0", outputName(request)},
                                 {{output, STDOUT_FILENO}}, &pid) == 0 &&
                    waitForProgram(pid, &status) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  const std::string count = logTail(output);
  close(output);
  if (read && count == std::to_string(frames)) return true;
  *error = "ffmpeg wrote '" + request.target + "', but " +
           (read ? "it holds " + (count.empty() ? std::string("no") : count) + " frames of " + std::to_string(frames)
                 : std::string("it cannot be read back"));
  return false;
}
