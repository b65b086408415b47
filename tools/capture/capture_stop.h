// A capture asked to stop from outside (SIGINT, SIGTERM, SIGHUP; see
// platform/stop_signals.h) ends at the next frame: its temporary files are
// removed and no output replaces anything.
#pragma once

#include <string>

// kCaptureDone while no stop signal has come; after one, its exit status
// (128 + the signal's number) with a one-line message in *error.
int captureStopStatus(std::string* error);
