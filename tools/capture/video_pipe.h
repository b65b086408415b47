// The video encoder: ffmpeg, started with a fixed argument list, reading raw
// RGBA frames on its standard input and the soundtrack from a WAVE file.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/capture/video_encoding.h"

struct VideoRequest {
  std::string target;  // the video's name, for messages
  std::string file;    // what ffmpeg writes: its name's extension picks the container
  int audioFile;       // an open WAVE file: the soundtrack of the frames
  int width;
  int height;
  uint32_t fps;
  VideoEncoding encoding;
};

struct VideoPipe {
  std::string target;  // the video's name, for messages
  std::string file;    // the output as ffmpeg names it in its messages
  pid_t pid = -1;
  int input = -1;  // ffmpeg's standard input
  int log = -1;    // what ffmpeg says, for the error message: a file without a name
};

// The folder of temporary files: $TMPDIR, else /tmp.
std::string temporaryFolder();

// A temporary file that is gone from its folder already: nothing is left
// behind however the capture ends. -1 with the reason on failure.
int anonymousFile(std::string* error);

// The path of the program `name` on PATH (without PATH, on the system's
// default search path), or false when there is none.
bool findProgram(const char* name, std::string* path);
bool findFfmpeg(std::string* path);

// ffmpeg's arguments, program name first: raw frames on standard input and
// the WAVE file on descriptor 3 in, H.264 (of the request's encoding) and
// AAC out, to the file through ffmpeg's file protocol.
std::vector<std::string> ffmpegArguments(const std::string& program, const VideoRequest& request);

// Starts ffmpeg in a process group of its own: a Ctrl-C at the terminal
// reaches the capture, which stops it; it is killed when the capture is. False with the reason when it cannot
// be started.
bool startVideoPipe(VideoPipe& pipe, const std::string& program, const VideoRequest& request, std::string* error);

// Hands ffmpeg one frame of width x height x 4 bytes. When ffmpeg has
// stopped reading, waits for it and returns false with what it said; a stop
// signal (platform/stop_signals.h) returns false within a twentieth of a
// second, also while ffmpeg reads nothing.
bool writeVideoFrame(VideoPipe& pipe, const uint8_t* rgba, size_t bytes, std::string* error);

// Ends the input and waits for ffmpeg to finish the file. False with what
// it said when it failed (a status other than 0 or any error in its log);
// a stop signal while it finishes ends it at once.
bool finishVideoPipe(VideoPipe& pipe, std::string* error);

// Ends ffmpeg at once, whatever it has written (a failed or stopped capture).
void abandonVideoPipe(VideoPipe& pipe);

// Whether the file ffmpeg (at `program`) finished holds the video: not
// empty, and with `frames` frames read back from it by ffprobe (beside
// ffmpeg, else on PATH) or, without one, counted in the container itself.
// False with the reason; a stop ends ffprobe at once.
bool checkEncodedVideo(const std::string& program, const VideoRequest& request, uint32_t frames, std::string* error);
