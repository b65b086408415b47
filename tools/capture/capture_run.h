// A capture of a range of the show into any of the WAVE file, the folder of
// frames and the video, with progress and, at the end, where the time went
// and what was written, in the report the caller hands it.
#pragma once

#include <string>

#include "tools/capture/capture_options.h"
#include "tools/capture/capture_report.h"
#include "tools/capture/capture_status.h"

// Runs the capture that `options` describe (not a still). Everything is
// checked (capture_checks.h) before any output is touched; the outputs are
// written beside their files and take their places together once all are
// complete (staged_output.h). Returns the exit status, with the message in
// *error when it is not done. With checkOnly it stops after the checks
// (the frame sets read, the font found), before any output is touched.
int runCapture(const CaptureOptions& options, CaptureReport& report, std::string* error);
