#include "tools/capture/progress_meter.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

constexpr int kBarWidth = 30;
constexpr double kTerminalInterval = 0.1;
constexpr double kLineInterval = 5.0;

double secondsSince(std::chrono::steady_clock::time_point then) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - then).count();
}

std::string clockText(double seconds) {
  const long total = static_cast<long>(seconds + 0.5);
  char text[32];
  if (total >= 3600) {
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
  } else {
    std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
  }
  return text;
}

void print(ProgressMeter& meter, uint64_t done, bool last) {
  const std::string line = progressLine(meter, done, secondsSince(meter.start), meter.terminal);
  const int written = meter.terminal ? std::fprintf(meter.stream, "\r%s\033[K%s", line.c_str(), last ? "\n" : "")
                                     : std::fprintf(meter.stream, "%s\n", line.c_str());
  if ((written < 0 || std::fflush(meter.stream) != 0) && meter.writeError == 0) meter.writeError = errno;
  meter.lastShown = std::chrono::steady_clock::now();
  meter.shown = true;
}

}  // namespace

void startProgress(ProgressMeter& meter, const char* label, uint64_t total, double rateScale, const char* rateUnit) {
  meter.label = label;
  meter.total = total;
  meter.rateScale = rateScale;
  meter.rateUnit = rateUnit;
  meter.terminal = isatty(fileno(meter.stream)) != 0;
  meter.start = std::chrono::steady_clock::now();
  meter.lastShown = meter.start;
  meter.shown = false;
}

void showProgress(ProgressMeter& meter, uint64_t done) {
  const double interval = meter.terminal ? kTerminalInterval : kLineInterval;
  if (secondsSince(meter.lastShown) >= interval) print(meter, done, false);
}

void finishProgress(ProgressMeter& meter, uint64_t done) { print(meter, done, true); }

std::string progressLine(const ProgressMeter& meter, uint64_t done, double seconds, bool bar) {
  const uint64_t total = meter.total == 0 ? 1 : meter.total;
  const double share = static_cast<double>(done) / static_cast<double>(total);
  std::string line = meter.label;
  char text[160];
  if (bar) {
    const int filled = static_cast<int>(share * kBarWidth);
    line += " [" + std::string(static_cast<size_t>(filled), '#') +
            std::string(static_cast<size_t>(kBarWidth - filled), '-') + "]";
  } else {
    line += ":";
  }
  std::snprintf(text, sizeof text, " %llu/%llu (%.0f%%)", static_cast<unsigned long long>(done),
                static_cast<unsigned long long>(meter.total), share * 100.0);
  line += text;
  if (done > 0 && seconds > 0.0) {
    const double rate = static_cast<double>(done) / seconds;
    const double left = static_cast<double>(total - (done < total ? done : total)) / rate;
    std::snprintf(text, sizeof text, ", %.1f %s, %s left", rate * meter.rateScale, meter.rateUnit,
                  clockText(left).c_str());
    line += text;
  }
  return line;
}
