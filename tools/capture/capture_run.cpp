#include "tools/capture/capture_run.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "host/frame_values.h"
#include "synth/shared_buffers.h"
#include "tools/capture/capture_graphics.h"
#include "tools/capture/frame_files.h"
#include "tools/capture/frame_replay.h"
#include "tools/capture/png_file.h"
#include "tools/capture/progress_meter.h"
#include "tools/capture/song_render.h"
#include "tools/capture/video_pipe.h"
#include "tools/capture/wav_file.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Outputs {
  WavFile wav;
  FrameFiles frames;
  std::string ffmpeg;
  int audioFile = -1;  // the soundtrack handed to ffmpeg
  VideoPipe video;
};

// Seconds spent in each step of the frame loop.
struct StepTimes {
  double setup = 0, replay = 0, drawing = 0, readback = 0, png = 0, video = 0;
};

double secondsBetween(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

// Takes the time since `mark` and moves the mark on.
double lap(Clock::time_point& mark) {
  const Clock::time_point now = Clock::now();
  const double seconds = secondsBetween(mark, now);
  mark = now;
  return seconds;
}

void closeOutputs(Outputs& out) {
  if (out.wav.file != nullptr) std::fclose(out.wav.file);
  out.wav.file = nullptr;
  std::string ignored;
  closeFrameFiles(out.frames, &ignored);
  finishVideoPipe(out.video, &ignored);
  if (out.audioFile >= 0) close(out.audioFile);
  out.audioFile = -1;
}

int openOutputs(const CaptureOptions& o, Outputs& out, std::string* error) {
  if (!o.wavPath.empty() && !openWavFile(out.wav, o.wavPath, *error)) return kCaptureRefused;
  if (!o.framesDir.empty() && !openFrameFiles(out.frames, o.framesDir, error)) return kCaptureRefused;
  if (!o.videoPath.empty()) {
    if (!findFfmpeg(&out.ffmpeg)) {
      *error = "--video needs ffmpeg, which is not installed (no ffmpeg on PATH); install it, e.g. apt-get install "
               "ffmpeg";
      return kCaptureRefused;
    }
    if (!checkWritable(o.videoPath, error)) return kCaptureRefused;
  }
  return kCaptureDone;
}

// The soundtrack of the frames as a temporary WAVE file for ffmpeg, padded
// with silence past the song's end so that it lasts exactly as long as the
// frames do.
int writeVideoSoundtrack(SampleRange sound, Outputs& out, std::string* error) {
  out.audioFile = anonymousFile(error);
  if (out.audioFile < 0) return kCaptureFailed;
  WavFile wav;
  wav.path = "the soundtrack for ffmpeg";
  const int copy = dup(out.audioFile);
  wav.file = copy >= 0 ? fdopen(copy, "wb") : nullptr;
  if (wav.file == nullptr) {
    *error = "cannot write " + wav.path + ": " + std::strerror(errno);
    if (copy >= 0) close(copy);
    return kCaptureFailed;
  }
  const uint32_t songEnd = std::min(sound.end, kSongFrames);
  const uint32_t soundFrames = songEnd > sound.begin ? songEnd - sound.begin : 0;
  if (!writeFloatWavPadded(wav, SynthOutput + 2 * size_t{sound.begin}, soundFrames, sound.end - sound.begin, 2,
                           kSampleRate, *error))
    return kCaptureFailed;
  return kCaptureDone;
}

int writeSoundtrack(SampleRange sound, Outputs& out, std::string* error) {
  const uint32_t songEnd = std::min(sound.end, kSongFrames);
  const uint32_t frames = songEnd > sound.begin ? songEnd - sound.begin : 0;
  if (!writeFloatWav(out.wav, SynthOutput + 2 * size_t{sound.begin}, frames, 2, kSampleRate, *error))
    return kCaptureRefused;
  std::fprintf(stderr, "wrote %s: %u frames, %.3f s\n", out.wav.path.c_str(), frames,
               static_cast<double>(frames) / kSampleRate);
  return kCaptureDone;
}

int captureFrame(const CaptureOptions& o, uint32_t frame, ShowState& state, std::vector<uint8_t>& rgba,
                 std::vector<uint8_t>& rgb, Outputs& out, StepTimes& times, std::string* error) {
  Clock::time_point mark = Clock::now();
  const uint32_t position = framePosition(frame, o.fps);
  drawCaptureFrame(state, beginFrameFromRecording(state, position));
  times.drawing += lap(mark);
  if (!readCaptureFrame(rgba.data(), error)) return kCaptureFailed;
  times.readback += lap(mark);
  if (out.frames.manifest != nullptr) {
    rgbaToRgb(rgba.data(), rgb.size() / 3, rgb.data());
    if (!writePngFile(framePngPath(out.frames, frame).c_str(), rgb.data(), o.width, o.height, error) ||
        !addManifestRow(out.frames, frame, position, state.musicTime, state.flashLevel, error))
      return kCaptureRefused;
    times.png += lap(mark);
  }
  if (out.video.pid >= 0) {
    if (!writeVideoFrame(out.video, rgba.data(), rgba.size(), error)) return kCaptureFailed;
    times.video += lap(mark);
  }
  endFrame(state, position);
  return kCaptureDone;
}

int drawFrames(const CaptureOptions& o, FrameRange range, Outputs& out, StepTimes& times, std::string* error) {
  Clock::time_point mark = Clock::now();
  if (!openCaptureGraphics(o.width, o.height, o.postProcess, error)) return kCaptureFailed;
  times.setup = lap(mark);
  ShowState state = replayFrames(range.first, o.fps, o.width, o.height);
  times.replay = lap(mark);

  const size_t pixels = static_cast<size_t>(o.width) * static_cast<size_t>(o.height);
  std::vector<uint8_t> rgba(pixels * 4);
  std::vector<uint8_t> rgb(out.frames.manifest != nullptr ? pixels * 3 : 0);
  ProgressMeter meter;
  startProgress(meter, "capturing frames", range.end - range.first, 1.0, "frames a second");
  int status = kCaptureDone;
  for (uint32_t n = range.first; n < range.end && status == kCaptureDone; ++n) {
    status = captureFrame(o, n, state, rgba, rgb, out, times, error);
    showProgress(meter, n - range.first + 1);
  }
  finishProgress(meter, range.end - range.first);
  closeCaptureGraphics();
  return status;
}

// Where the time went: each step in milliseconds a frame and as a share.
std::string stepText(const char* name, double seconds, uint32_t frames, double total) {
  char text[96];
  std::snprintf(text, sizeof text, "%s %.1f ms (%.0f%%)", name, seconds * 1000.0 / frames,
                total > 0 ? seconds * 100.0 / total : 0.0);
  return text;
}

void printSummary(const CaptureOptions& o, FrameRange range, double songSeconds, double frameSeconds,
                  const StepTimes& t) {
  const uint32_t count = range.end - range.first;
  std::fprintf(stderr, "captured frames %u to %u (%u at %u frames a second, %dx%d) in %.1f s: %.2f frames a second\n",
               range.first, range.end - 1, count, o.fps, o.width, o.height, frameSeconds,
               frameSeconds > 0 ? count / frameSeconds : 0.0);
  std::fprintf(stderr, "  a frame: %s, %s, %s, %s; once: song %.1f s, graphics %.1f s, frames before the range %.1f s\n",
               stepText("drawing", t.drawing, count, frameSeconds).c_str(),
               stepText("readback", t.readback, count, frameSeconds).c_str(),
               stepText("PNG", t.png, count, frameSeconds).c_str(),
               stepText("video", t.video, count, frameSeconds).c_str(), songSeconds, t.setup, t.replay);
  if (!o.framesDir.empty())
    std::fprintf(stderr, "wrote %s/frame-%05u.png to frame-%05u.png and %s\n", o.framesDir.c_str(), range.first,
                 range.end - 1, kManifestName);
  if (!o.videoPath.empty())
    std::fprintf(stderr, "wrote %s: %.3f s\n", o.videoPath.c_str(), static_cast<double>(count) / o.fps);
}

int runOpened(const CaptureOptions& o, Outputs& out, std::string* error) {
  const FrameRange range = optionsFrameRange(o);
  const SampleRange sound = soundtrackRange(range, o.fps);
  const bool drawing = !o.framesDir.empty() || !o.videoPath.empty();

  Clock::time_point mark = Clock::now();
  const uint32_t lastPosition = framePosition(range.end - 1, o.fps);
  // The frames read the recording through the last one's row; the sound
  // goes to the end of the range.
  uint32_t songFrames = drawing ? songFramesForPosition(lastPosition) : 0;
  if (!o.wavPath.empty() || !o.videoPath.empty()) songFrames = std::max(songFrames, sound.end);
  if (!renderSongThrough(songFrames, error)) return kCaptureFailed;
  const double songSeconds = lap(mark);

  int status = kCaptureDone;
  if (!o.wavPath.empty()) status = writeSoundtrack(sound, out, error);
  if (status != kCaptureDone || !drawing) return status;
  if (!o.videoPath.empty()) {
    status = writeVideoSoundtrack(sound, out, error);
    if (status != kCaptureDone) return status;
    const VideoRequest request{o.videoPath, out.audioFile, o.width, o.height, o.fps};
    if (!startVideoPipe(out.video, out.ffmpeg, request, error)) return kCaptureFailed;
  }

  StepTimes times;
  mark = Clock::now();
  status = drawFrames(o, range, out, times, error);
  if (status != kCaptureDone) return status;
  if (!closeFrameFiles(out.frames, error)) return kCaptureRefused;
  const Clock::time_point encoding = Clock::now();
  if (!finishVideoPipe(out.video, error)) return kCaptureFailed;
  times.video += secondsBetween(encoding, Clock::now());
  printSummary(o, range, songSeconds, lap(mark), times);
  return kCaptureDone;
}

}  // namespace

bool checkWritable(const std::string& path, std::string* error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    *error = "cannot write '" + path + "': " + std::strerror(errno);
    return false;
  }
  std::fclose(file);
  return true;
}

int runCapture(const CaptureOptions& options, std::string* error) {
  Outputs out;
  int status = openOutputs(options, out, error);
  const bool drawing = !options.framesDir.empty() || !options.videoPath.empty();
  if (status == kCaptureDone && drawing && !installCaptureFont(error)) status = kCaptureRefused;
  if (status == kCaptureDone) {
    status = runOpened(options, out, error);
    if (drawing) removeCaptureFont();
  }
  closeOutputs(out);
  return status;
}
