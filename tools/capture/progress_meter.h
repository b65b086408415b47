// Progress of a long step on a stream: a bar redrawn in place when the
// stream is a terminal, a plain line every few seconds when it is a file or
// a pipe.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

struct ProgressMeter {
  std::FILE* stream = stderr;
  const char* label = "";
  uint64_t total = 0;
  double rateScale = 1.0;      // the rate shown is units a second times this
  const char* rateUnit = "";   // what the rate is called, e.g. "fps"
  bool terminal = false;
  std::chrono::steady_clock::time_point start;
  std::chrono::steady_clock::time_point lastShown;
  bool shown = false;
  int writeError = 0;  // why writing to the stream failed (EPIPE for a closed pipe), 0 while it works
};

// Starts the clock. Decides between the bar and plain lines by the stream.
void startProgress(ProgressMeter& meter, const char* label, uint64_t total, double rateScale, const char* rateUnit);

// Reports `done` units when it is time to: at most ten times a second on a
// terminal, every five seconds otherwise.
void showProgress(ProgressMeter& meter, uint64_t done);

// The last report, then the end of the line.
void finishProgress(ProgressMeter& meter, uint64_t done);

// One report: label, how much is done (as a bar when `bar`), the rate and
// the time left, all from `seconds` since the start.
std::string progressLine(const ProgressMeter& meter, uint64_t done, double seconds, bool bar);
