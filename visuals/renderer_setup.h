// The graphics start-up that follows the window and device: screen sizes,
// off-screen targets (post-processing), effect, screen resources.
#pragma once

#include <string>

#include "visuals/frame_inputs.h"

enum class RendererFailure {
  none,
  effect,     // the effect did not compile; *error holds the compiler's log
  resources,  // a target, texture or the text drawing could not be made; *error says which
};

// In the order the show's start-up takes them, for these settings (kept as
// rendererSettings; the window and device must have that size). Stops at
// the first failure.
RendererFailure initRenderer(const RendererSettings& settings, std::string* error);

// Releases the renderer's objects (tests and tools; the show never does).
void releaseRenderer();

// Start-up without a display, for tests and offline rendering: a hidden
// off-screen window of the settings' size with its device, then
// initRenderer. Everything opened is closed again on failure.
RendererFailure initHeadlessGraphics(const RendererSettings& settings, std::string* error);
// Releases the renderer, the device and the window.
void closeHeadlessGraphics();
