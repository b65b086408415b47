#include "tools/capture/capture_report.h"

#include <cerrno>

void reportLine(CaptureReport& report, const std::string& line) {
  const bool written = std::fprintf(report.stream, "%s\n", line.c_str()) >= 0 && std::fflush(report.stream) == 0;
  if (!written && report.writeError == 0) report.writeError = errno != 0 ? errno : EIO;
}

void reportNote(CaptureReport& report, const std::string& note) {
  reportLine(report, std::string(report.program) + ": " + note);
}
