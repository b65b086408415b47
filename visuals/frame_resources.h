// What every frame draws with: the screen sizes, the off-screen targets,
// the quads and the overlay texture. Made once at start-up, never resized.
#pragma once

#include <string>

#include "platform/gpu.h"
#include "visuals/frame_inputs.h"

// The settings the renderer was given (initRenderer): the one source of the
// screen size and the path.
extern RendererSettings rendererSettings;

// Derived from rendererSettings: the screen size and its quarter (integer
// quotient), as floats.
extern float screenWidth, screenHeight;
extern float quarterWidth, quarterHeight;

// Post-processing only. Each target is a texture (what gets sampled) and its
// surface (what gets drawn into).
extern GpuTexture* sceneTarget;  // screen size: scene, text, glow, overlay
extern GpuTexture* glowTargetA;  // quarter size: blur passes 1 and 3, the glow
extern GpuTexture* glowTargetB;  // quarter size: blur pass 2
extern GpuSurface* sceneSurface;
extern GpuSurface* glowSurfaceA;
extern GpuSurface* glowSurfaceB;
extern GpuSurface* backBuffer;

// Quads, four vertices top-left, top-right, bottom-left, bottom-right.
extern QuadVertex fullQuad[4];       // post-processing or supersampling: the screen, texture 0..1
extern QuadVertex quarterQuad[4];    // post-processing: a quarter-size target, texture 0..1
extern QuadVertex directionQuad[4];  // direct path: the screen, texture -1..1 (a view direction)

// Keeps the settings as rendererSettings and derives screenWidth and
// friends from their size.
void setRendererSettings(const RendererSettings& settings);

// The off-screen targets and the sampling of stage 0 (linear magnification,
// transparent black beyond the edges). False with a message on failure.
bool createRenderTargets(std::string* error);

// The quads of the path in use, the text fonts and the overlay texture.
bool createScreenResources(std::string* error);

// Releases what the two calls above made (tests and tools).
void releaseFrameResources();
