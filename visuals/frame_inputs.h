// What the renderer is given: its settings once at start-up, and each frame
// that frame's inputs. visuals/ reads nothing else of the program.
#pragma once

#include <cstdint>

#include "visuals/effect_values.h"

// Given once, to initRenderer. The screen size the renderer draws at (the
// back buffer's) and the path: glow and overlay, or the direct path.
struct RendererSettings {
  int32_t width;     // pixels
  int32_t height;    // pixels
  bool postProcess;  // true: off-screen path with glow and overlay (effect text B)
  // The scene and the text drawn at this many times the screen size, then
  // reduced to it before the glow (offline capture); 1: drawn at the
  // screen size, as the show does.
  int32_t supersample = 1;
};

// Given every frame, to renderFrame.
struct FrameInputs {
  EffectValues values;      // "e", "m", "t" and "u", set on the effect before drawing
  float musicTime;          // this frame's music time
  float previousMusicTime;  // the previous frame's, 0 during the first frame
};
