// The graphics start-up that follows the window and device: screen sizes,
// off-screen targets (post-processing), effect, screen resources.
#pragma once

#include <string>

enum class RendererFailure {
  none,
  effect,     // the effect did not compile; *error holds the compiler's log
  resources,  // a target or texture could not be made; *error says which
};

// In the order the show's start-up takes them, for config's width, height
// and postProcess. Stops at the first failure.
RendererFailure initRenderer(std::string* error);

// Releases the renderer's objects (tests and tools; the show never does).
void releaseRenderer();

// Start-up without a display, for tests and offline rendering: a hidden
// off-screen window of config's size with its device, then initRenderer.
// Everything opened is closed again on failure.
RendererFailure initHeadlessGraphics(std::string* error);
// The same at a given size and path: first publishes, as `config`, a record
// of its own with the defaults, windowed, that size and that path.
RendererFailure initHeadlessGraphics(int width, int height, bool postProcess, std::string* error);
// Releases the renderer, the device and the window.
void closeHeadlessGraphics();
