// Supersampling (rendererSettings.supersample N > 1): the scene pass and the
// text layer draw into a target N times the screen's width and height,
// which is then reduced to the screen size, each pixel the mean of its
// N x N samples, before the glow, the overlay and the presentation take it
// as they take the plain scene. With N = 1 none of this exists.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gpu.h"

// The sample target (texture and surface) and the quad that covers it:
// texture 0..1 on the post-processing path, -1..1 on the direct path, so
// the picture keeps its framing.
extern GpuTexture* sampleTarget;
extern GpuSurface* sampleSurface;
extern QuadVertex sampleQuad[4];

// Whether the scene and the text draw into the sample target.
bool supersampling();

// The sample target, the texture of the reduced picture and the memory the
// reduction reads into, at rendererSettings' size. False with the reason.
bool createSampleTargets(std::string* error);
void releaseSampleTargets();

// Reads the sample target back, reduces it and copies the result into
// `destination` (screen size), blending off.
void resolveSamples(GpuSurface* destination);

// The box filter: `samples` holds (width * factor) x (height * factor)
// pixels of 4 bytes (R, G, B, A), rows top to bottom; each texel of the
// width x height result (A*2^24 + R*2^16 + G*2^8 + B, rows `pitch` texels
// apart) is the rounded mean of its factor x factor block.
void boxReduce(const uint8_t* samples, int width, int height, int factor, uint32_t* texels, int pitch);
