// The scene pass evaluated on the CPU in single precision: the same
// distance field, march and shading as the scene shaders describe, for
// checking what the GPU draws.
#pragma once

#include <vector>

#include "visuals/effect_values.h"

struct SceneReferenceInputs {
  bool postProcess;  // true: text B (full quad, vignette, octahedron), false: text A (direction quad)
  EffectValues values;
};

struct ReferencePixel {
  float rgba[4];  // unclamped
  bool hit;       // the ray met a surface
};

// The pixel at texture coordinate (vx, vy) as the pass's quad delivers it.
ReferencePixel referenceScenePixel(const SceneReferenceInputs& in, float vx, float vy);

// A whole width x height picture, rows top to bottom, texture coordinates at
// the pixel centres of the path's quad.
std::vector<ReferencePixel> referenceSceneImage(const SceneReferenceInputs& in, int width, int height);

// The texture coordinate of a pixel centre on the path's quad.
float quadCoordinate(bool postProcess, int pixel, int size);
