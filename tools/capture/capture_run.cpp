#include "tools/capture/capture_run.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <cstdio>
#include <new>
#include <vector>

#include "host/frame_values.h"
#include "synth/shared_buffers.h"
#include "tools/capture/capture_checks.h"
#include "tools/capture/capture_graphics.h"
#include "tools/capture/capture_report.h"
#include "tools/capture/capture_stop.h"
#include "tools/capture/frame_files.h"
#include "tools/capture/frame_set.h"
#include "host/frame_replay.h"
#include "tools/capture/png_file.h"
#include "tools/capture/progress_meter.h"
#include "tools/capture/song_render.h"
#include "tools/capture/staged_output.h"
#include "tools/capture/video_pipe.h"
#include "tools/capture/wav_file.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Outputs {
  StagedFile wav;
  FrameFiles frames;
  StagedFile video;  // ffmpeg writes it
  std::string ffmpeg;
  int audioFile = -1;  // the soundtrack handed to ffmpeg
  VideoPipe pipe;
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

// The frames of the soundtrack that the song covers; the rest is silence.
uint32_t songFramesOf(SampleRange sound) {
  const uint32_t songEnd = std::min(sound.end, kSongFrames);
  return songEnd > sound.begin ? songEnd - sound.begin : 0;
}

int stageOutputs(const CaptureOptions& o, Outputs& out, CaptureReport& report, std::string* error) {
  const bool staged = (o.wavPath.empty() || stageFile(out.wav, o.wavPath, error)) &&
                      (o.framesDir.empty() || openFrameFiles(out.frames, o.framesDir, error)) &&
                      (o.videoPath.empty() || stageFile(out.video, o.videoPath, error));
  for (const auto* leftovers : {&out.wav.leftovers, &out.frames.folder.leftovers, &out.video.leftovers})
    for (const std::string& note : *leftovers) reportNote(report, note);
  return staged ? kCaptureDone : kCaptureRefused;
}

void discardOutputs(Outputs& out) {
  abandonVideoPipe(out.pipe);
  if (out.audioFile >= 0) close(out.audioFile);
  out.audioFile = -1;
  discardFile(out.wav);
  discardFrameFiles(out.frames);
  discardFile(out.video);
}

// All the outputs take their places, or none does.
int commitOutputs(const CaptureOptions& o, Outputs& out, std::string* error) {
  std::vector<StagedFile*> files;
  if (!o.wavPath.empty()) files.push_back(&out.wav);
  if (!o.videoPath.empty()) files.push_back(&out.video);
  if (!o.framesDir.empty() && !finishFrameFiles(out.frames, error)) return kCaptureFailed;
  return commitStaged(files, o.framesDir.empty() ? nullptr : &out.frames.folder, error) ? kCaptureDone
                                                                                         : kCaptureFailed;
}

// A report that could not be written fails the capture, as any other
// refused write does.
int reportStatus(int writeError, std::string* error) {
  if (writeError == 0) return kCaptureDone;
  *error = writeFailure("standard error", writeError);
  return kCaptureFailed;
}

// The soundtrack of the frames as a temporary WAVE file for ffmpeg, padded
// with silence past the song's end so that it lasts exactly as long as the
// frames do.
int writeVideoSoundtrack(SampleRange sound, Outputs& out, std::string* error) {
  out.audioFile = anonymousFile(error);
  if (out.audioFile < 0) return kCaptureFailed;
  return writeFloatWav(out.audioFile, "the soundtrack for ffmpeg in " + temporaryFolder(), SynthOutput + 2 * size_t{sound.begin},
                       songFramesOf(sound), sound.end - sound.begin, 2, kSampleRate, error)
             ? kCaptureDone
             : kCaptureFailed;
}

int captureFrame(const CaptureOptions& o, uint32_t frame, ShowState& state, std::vector<uint8_t>& rgba,
                 std::vector<uint8_t>& rgb, Outputs& out, StepTimes& times, std::string* error) {
  Clock::time_point mark = Clock::now();
  const uint32_t position = framePosition(frame, o.fps);
  drawCaptureFrame(state, beginFrameFromRecording(state, position));
  times.drawing += lap(mark);
  if (!readCaptureFrame(rgba.data(), error)) return kCaptureFailed;
  times.readback += lap(mark);
  if (!o.framesDir.empty()) {
    rgbaToRgb(rgba.data(), rgb.size() / 3, rgb.data());
    if (!addFramePng(out.frames, frame, rgb.data(), o.width, o.height, error) ||
        !addManifestRow(out.frames, {frame, position, state.musicTime, state.flashLevel}, error))
      return kCaptureFailed;
    times.png += lap(mark);
  }
  if (out.pipe.pid >= 0) {
    if (!writeVideoFrame(out.pipe, rgba.data(), rgba.size(), error)) return kCaptureFailed;
    times.video += lap(mark);
  }
  endFrame(state, position);
  return kCaptureDone;
}

// Runs `step` on every frame of the range with progress, until one fails
// or a stop comes.
template <typename Step>
int eachFrame(const char* what, FrameRange range, CaptureReport& report, std::string* error, Step step) {
  ProgressMeter meter;
  meter.stream = report.stream;
  startProgress(meter, what, range.end - range.first, 1.0, "frames a second");
  int status = captureStopStatus(error);
  uint32_t done = 0;
  for (uint32_t n = range.first; n < range.end && status == kCaptureDone; ++n) {
    status = step(n);
    if (status == kCaptureDone) showProgress(meter, ++done);
    if (status == kCaptureDone) status = reportStatus(meter.writeError, error);
    if (status == kCaptureDone) status = captureStopStatus(error);
  }
  finishProgress(meter, done);
  return status == kCaptureDone ? reportStatus(meter.writeError, error) : status;
}

int drawFrames(const CaptureOptions& o, FrameRange range, Outputs& out, StepTimes& times, CaptureReport& report,
               std::string* error) {
  Clock::time_point mark = Clock::now();
  if (!openCaptureGraphics(o.width, o.height, o.postProcess, o.supersample, error)) return kCaptureFailed;
  times.setup = lap(mark);
  ShowState state = replayFrames(range.first, o.fps);
  times.replay = lap(mark);

  const size_t pixels = static_cast<size_t>(o.width) * static_cast<size_t>(o.height);
  std::vector<uint8_t> rgba(pixels * 4);
  std::vector<uint8_t> rgb(o.framesDir.empty() ? 0 : pixels * 3);
  const int status = eachFrame("capturing frames", range, report, error, [&](uint32_t n) {
    return captureFrame(o, n, state, rgba, rgb, out, times, error);
  });
  closeCaptureGraphics();
  return status;
}

// The frames of a finished set into the outputs: the pictures' files and
// manifest lines into the new set, the pictures decoded for the video.
int copyFrames(const CaptureOptions& o, const FrameSet& set, Outputs& out, StepTimes& times, CaptureReport& report,
               std::string* error) {
  std::vector<uint8_t> rgba(out.pipe.pid >= 0 ? size_t(o.width) * size_t(o.height) * 4 : 0);
  return eachFrame("reading frames", set.range, report, error, [&](uint32_t n) {
    const FrameSetFrame& frame = set.frames[n - set.range.first];
    Clock::time_point mark = Clock::now();
    if (!o.framesDir.empty()) {
      if (!addFramePngFile(out.frames, n, frame.png, error) || !addManifestRow(out.frames, frame.row, error))
        return kCaptureFailed;
      times.png += lap(mark);
    }
    if (out.pipe.pid >= 0) {
      if (!readPngRgba(frame.png, o.width, o.height, rgba.data(), error)) return kCaptureFailed;
      times.readback += lap(mark);
      if (!writeVideoFrame(out.pipe, rgba.data(), rgba.size(), error)) return kCaptureFailed;
      times.video += lap(mark);
    }
    return kCaptureDone;
  });
}

// Where the time went: each step in milliseconds a frame and as a share.
std::string stepText(const char* name, double seconds, uint32_t frames, double total) {
  char text[96];
  std::snprintf(text, sizeof text, "%s %.1f ms (%.0f%%)", name, seconds * 1000.0 / frames,
                total > 0 ? seconds * 100.0 / total : 0.0);
  return text;
}

void reportTimes(const CaptureOptions& o, FrameRange range, double songSeconds, double frameSeconds,
                 const StepTimes& t, CaptureReport& report) {
  const uint32_t count = range.end - range.first;
  char line[320];
  const bool fromSet = !o.fromFrames.empty();
  std::snprintf(line, sizeof line, "%s frames %u to %u (%u at %s, %dx%d) in %.1f s: %.2f frames a second",
                fromSet ? "read" : "captured", range.first, range.end - 1, count, frameRateText(o.fps).c_str(),
                o.width, o.height, frameSeconds, frameSeconds > 0 ? count / frameSeconds : 0.0);
  reportLine(report, line);
  if (fromSet) {
    // A frame of a set is copied into the new set and decoded for the video.
    std::snprintf(line, sizeof line, "  a frame: %s, %s, %s; once: song %.1f s",
                  stepText("copy", t.png, count, frameSeconds).c_str(),
                  stepText("decoding", t.readback, count, frameSeconds).c_str(),
                  stepText("video", t.video, count, frameSeconds).c_str(), songSeconds);
  } else {
    std::snprintf(line, sizeof line,
                  "  a frame: %s, %s, %s, %s; once: song %.1f s, graphics %.1f s, frames before the range %.1f s",
                  stepText("drawing", t.drawing, count, frameSeconds).c_str(),
                  stepText("readback", t.readback, count, frameSeconds).c_str(),
                  stepText("PNG", t.png, count, frameSeconds).c_str(),
                  stepText("video", t.video, count, frameSeconds).c_str(), songSeconds, t.setup, t.replay);
  }
  reportLine(report, line);
}

// What the finished outputs hold, said before they take their places: a
// capture that cannot say it fails with every file as it was.
void reportWritten(const CaptureOptions& o, FrameRange range, CaptureReport& report) {
  const SampleRange sound = soundtrackRange(range, o.fps);
  char line[160];
  if (!o.wavPath.empty()) {
    std::snprintf(line, sizeof line, ": %u frames, %.3f s", songFramesOf(sound),
                  static_cast<double>(songFramesOf(sound)) / kSampleRate);
    reportLine(report, "wrote " + o.wavPath + line);
  }
  if (!o.framesDir.empty()) {
    const std::string folder = pathInFolder(o.framesDir, "");
    reportLine(report, "wrote " + folder + framePngName(range.first) + " to " + framePngName(range.end - 1) +
                           " and " + kManifestName);
  }
  if (!o.videoPath.empty()) {
    std::snprintf(line, sizeof line, ": %.3f s", static_cast<double>(range.end - range.first) / o.fps);
    reportLine(report, "wrote " + o.videoPath + line);
  }
}

VideoRequest videoRequest(const CaptureOptions& o, const Outputs& out) {
  return {o.videoPath, out.video.temporary, out.audioFile, o.width, o.height, o.fps, o.encoding};
}

// `set` holds the frames when they are read from a set, else null: they are drawn.
int runStaged(const CaptureOptions& o, const FrameSet* set, Outputs& out, CaptureReport& report, std::string* error) {
  const FrameRange range = optionsFrameRange(o);
  const SampleRange sound = soundtrackRange(range, o.fps);
  const bool drawing = !o.framesDir.empty() || !o.videoPath.empty();

  Clock::time_point mark = Clock::now();
  const uint32_t lastPosition = framePosition(range.end - 1, o.fps);
  // The frames read the recording through the last one's row; the sound
  // goes to the end of the range.
  uint32_t songFrames = drawing && set == nullptr ? songFramesForPosition(lastPosition) : 0;
  if (!o.wavPath.empty() || !o.videoPath.empty()) songFrames = std::max(songFrames, sound.end);
  if (!renderSongThrough(songFrames, report.stream, error)) return kCaptureFailed;
  const double songSeconds = lap(mark);

  if (!o.wavPath.empty() && !writeFloatWav(out.wav.descriptor, o.wavPath, SynthOutput + 2 * size_t{sound.begin},
                                           songFramesOf(sound), songFramesOf(sound), 2, kSampleRate, error))
    return kCaptureFailed;
  int status = captureStopStatus(error);
  if (status != kCaptureDone || !drawing) return status;
  if (!o.videoPath.empty()) {
    status = writeVideoSoundtrack(sound, out, error);
    if (status != kCaptureDone) return status;
    if (!startVideoPipe(out.pipe, out.ffmpeg, videoRequest(o, out), error)) return kCaptureFailed;
  }

  StepTimes times;
  mark = Clock::now();
  status = set != nullptr ? copyFrames(o, *set, out, times, report, error)
                          : drawFrames(o, range, out, times, report, error);
  if (status != kCaptureDone) return status;
  const Clock::time_point encoding = Clock::now();
  if (!finishVideoPipe(out.pipe, error)) return kCaptureFailed;
  if (!o.videoPath.empty() && !checkEncodedVideo(out.ffmpeg, videoRequest(o, out), range.end - range.first, error))
    return kCaptureFailed;
  times.video += secondsBetween(encoding, Clock::now());
  reportTimes(o, range, songSeconds, lap(mark), times, report);
  return kCaptureDone;
}

// A capture from frame sets takes their range, rate and size.
int readSets(CaptureOptions& o, FrameSet* set, std::string* error) {
  if (!readFrameSets(o.fromFrames, o.fps, set, error)) return kCaptureRefused;
  if (!o.videoPath.empty() && !checkVideoFrameSize(set->width, set->height, error)) return kCaptureRefused;
  o.fps = set->fps;
  o.width = set->width;
  o.height = set->height;
  o.from = static_cast<double>(set->range.first) / set->fps;
  o.to = static_cast<double>(set->range.end) / set->fps;
  return kCaptureDone;
}

}  // namespace

int runCapture(const CaptureOptions& options, CaptureReport& report, std::string* error) {
  Outputs out;
  CaptureOptions o = options;
  FrameSet set;
  const bool fromSet = !o.fromFrames.empty();
  int status = fromSet ? readSets(o, &set, error) : kCaptureDone;
  if (status != kCaptureDone) return status;
  status = checkCapture(o, &out.ffmpeg, error);
  if (status != kCaptureDone) return status;
  const bool drawing = !fromSet && (!o.framesDir.empty() || !o.videoPath.empty());
  if (o.checkOnly) return drawing && !checkCaptureFont(error) ? kCaptureRefused : kCaptureDone;
  if (drawing && !installCaptureFont(error)) return kCaptureRefused;
  status = stageOutputs(o, out, report, error);
  try {
    if (status == kCaptureDone) status = runStaged(o, fromSet ? &set : nullptr, out, report, error);
    if (status == kCaptureDone) reportWritten(o, optionsFrameRange(o), report);
  } catch (const std::bad_alloc&) {
    *error = "out of memory";
    status = kCaptureFailed;
  }
  // A stop wins over whatever it interrupted; after the last check the
  // outputs take their places.
  if (status == kCaptureDone) status = reportStatus(report.writeError, error);
  const int stop = captureStopStatus(error);
  if (stop != kCaptureDone) status = stop;
  if (status == kCaptureDone) status = commitOutputs(o, out, error);
  discardOutputs(out);
  if (drawing) removeCaptureFont();
  return status;
}
