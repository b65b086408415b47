// A capture of a range of the show into any of the WAVE file, the folder of
// frames and the video, with progress on stderr and, at the end, where the
// time went.
#pragma once

#include <string>

#include "tools/capture/capture_options.h"
#include "tools/capture/capture_status.h"

// Runs the capture that `options` describe (not a still). Every output is
// opened and every outside need checked before the song is rendered.
// Returns the exit status, with the message in *error when it is not done.
int runCapture(const CaptureOptions& options, std::string* error);

// Makes (or empties) the file, to learn before a long render whether it
// can be written. False with the reason.
bool checkWritable(const std::string& path, std::string* error);
