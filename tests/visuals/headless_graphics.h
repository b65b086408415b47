// Headless graphics for the visuals tests: an off-screen window and the
// renderer at a given size and path, and pixel read-back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "visuals/effect_values.h"

struct GpuSurface;

// Installs the text face beside the test program and opens the window and
// the renderer at that size and path, then lets the text layer's fonts go:
// the frames these tests draw hold no text. Returns an empty string or what
// failed.
std::string openHeadlessGraphics(int width, int height, bool postProcess);
void closeHeadlessGraphicsForTest();

// The surface as RGBA bytes, rows top to bottom.
std::vector<uint8_t> readPixels(GpuSurface* surface);

// The frame loop's values at a music time (no flash), with `shake` as e.x.
EffectValues effectValuesAt(float time, float shake);

// drawFrame / renderFrame with these effect values, the text layer (which
// draws nothing) at music time 0 with no time passed.
void drawTestFrame(const EffectValues& values);
void renderTestFrame(const EffectValues& values);
