// A modal message with a caption and an OK button.
#pragma once

// Writes "caption: text" to stderr, always, then shows a message box where a
// display exists and waits until it is closed. Without a display the box
// fails to appear and the stderr line is all there is.
void showMessageBox(const char* text, const char* caption);
