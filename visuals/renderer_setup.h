// The graphics start-up that follows the window and device: screen sizes,
// off-screen targets (post-processing), effect, screen resources.
#pragma once

#include <string>

#include "visuals/frame_inputs.h"

// The show's window title, for the window on screen and off screen alike.
constexpr char kShowWindowTitle[] = "Talon/Vexa";

// What an effect that does not compile is called where it is reported.
constexpr char kEffectFailureTitle[] = "Shader Compiler Error";

// The start-up in three steps, in the show's order, each false with a
// message a person can act on; the show takes them one by one to tell an
// effect that does not compile from any other failure.
// 1. The settings (kept as rendererSettings; the window and device must
//    have that size) and, with post-processing, the off-screen targets;
//    supersampling, the sample target too.
bool createRendererTargets(const RendererSettings& settings, std::string* error);
// 2. The effect of the settings' path; the compiler's log on failure.
bool compileRendererEffect(std::string* error);
// 3. The quads, the text fonts and the overlay texture.
bool createRendererResources(std::string* error);

// The three steps, stopping at the first failure; a failed effect's log
// comes after kEffectFailureTitle and ": ".
bool initRenderer(const RendererSettings& settings, std::string* error);

// Releases the renderer's objects (tests and tools; the show never does).
void releaseRenderer();

// Start-up without a display, for tests and offline rendering: a hidden
// off-screen window of the settings' size with its device, then
// initRenderer. Everything opened is closed again on failure.
bool initHeadlessGraphics(const RendererSettings& settings, std::string* error);
// Releases the renderer, the device and the window.
void closeHeadlessGraphics();
