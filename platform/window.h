// The show's one window and the graphics context that lives on it.
#pragma once

#include <string>

struct WindowRequest {
  const char* title;
  int width;        // pixels; also the size of the back buffer
  int height;
  bool fullScreen;  // switch the display to width x height
  bool borderless;  // no caption, no frame; placed at the top-left corner
  bool hideCursor;  // the mouse cursor stays hidden until the window closes
  bool headless;    // draw off screen only (tests, offline capture): no display needed
};

// Opens the window and its graphics device (back buffer = width x height,
// presentation never waits for the vertical retrace). On failure returns
// false and a message a person can act on in *error; nothing stays open.
bool openWindow(const WindowRequest& request, std::string* error);

// The checks every platform makes of a request before it opens anything:
// no window open yet (`windowOpen`) and a size of at least one pixel a
// side. False with the reason.
bool checkWindowRequest(const WindowRequest& request, bool windowOpen, std::string* error);

// Releases the device and the window (tests and tools; the show never closes).
void closeWindow();
