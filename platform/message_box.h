#pragma once

// Shows a modal message with an OK button where a display exists and
// always writes "caption: text" to stderr. Returns once the viewer closed
// it, or at once when a stop signal (stop_signals.h) comes: the caller
// then ends the process, which closes the box.
void showMessage(const char* text, const char* caption);
