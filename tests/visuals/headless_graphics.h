// Headless graphics for the visuals tests: an off-screen window and the
// renderer at a given size and path, and pixel read-back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/frame_values.h"

struct GpuSurface;

// Sets `config` to a record of that size and path, opens the window and
// the renderer. Returns an empty string or what failed.
std::string openHeadlessGraphics(int width, int height, bool postProcess);
void closeHeadlessGraphicsForTest();

// The surface as RGBA bytes, rows top to bottom.
std::vector<uint8_t> readPixels(GpuSurface* surface);

// The frame loop's values at a music time (no flash), with `shake` as e.x.
EffectValues effectValuesAt(float time, float shake);
