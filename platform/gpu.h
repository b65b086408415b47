// The GPU device: textures, render targets, quads, blending, presentation.
// Every picture in this interface has its row 0 at the top.
#pragma once

#include <cstdint>
#include <string>

struct GpuTexture;  // a picture the passes sample
struct GpuSurface;  // a picture drawn into: a render texture's level 0 or the back buffer

// A vertex already in screen space: x and y in pixels of the current render
// target (y grows downwards), z and rhw carried but not used, tu and tv the
// texture coordinates handed to the pixel shader. 24 bytes.
struct QuadVertex {
  float x, y, z, rhw;
  float tu, tv;
};
static_assert(sizeof(QuadVertex) == 24, "six floats");

enum class BlendMode {
  off,         // the pass result replaces the target
  add,         // source + destination
  alphaBlend,  // source * source alpha + destination * (1 - source alpha)
};

enum class SamplerFilter { point, linear };
enum class SamplerAddress { wrap, border };  // border: transparent black outside

// An 8-bit RGBA texture of one level that can be drawn into. Null on failure,
// with the reason in *error.
GpuTexture* createRenderTexture(int width, int height, std::string* error);
// The surface to draw into a render texture.
GpuSurface* textureSurface(GpuTexture* texture);
// The window's back buffer, what presentFrame shows.
GpuSurface* backBufferSurface();

// A sampled-only texture of one level; fill it between lockTexture and
// unlockTexture with 32-bit texels A*2^24 + R*2^16 + G*2^8 + B, rows top to
// bottom, `pitch` texels apart. lockTexture: null with the reason in
// *error (when given) when the texture cannot be written.
GpuTexture* createTexture(int width, int height, std::string* error);
uint32_t* lockTexture(GpuTexture* texture, int* pitch, std::string* error);
void unlockTexture(GpuTexture* texture);

void releaseTexture(GpuTexture* texture);  // tests and tools

void setRenderTarget(GpuSurface* surface);
void setTexture(int stage, GpuTexture* texture);  // stage 0 or 1
// Magnification filter and addressing of a stage. Every stage starts with
// point sampling and wrap addressing; minification is always point sampled.
void setSamplerState(int stage, SamplerFilter magnification, SamplerAddress address);
void setBlendMode(BlendMode mode);

// Draws a quad of four vertices (top-left, top-right, bottom-left,
// bottom-right) into the current render target: with the bound effect pass,
// or, outside a pass, as a plain copy of the texture on stage 0.
void drawQuad(const QuadVertex quad[4]);

// Shows the back buffer.
void presentFrame();

// Waits until every drawing call so far has finished (benchmarks).
void finishGpuWork();

// Reads a surface as 4 bytes per pixel (R, G, B, A), rows top to bottom,
// into `rgba` (width * height * 4 bytes of the surface's size).
void readSurface(GpuSurface* surface, uint8_t* rgba);
void surfaceSize(GpuSurface* surface, int* width, int* height);

// Whether the driver reported no error since the last call; otherwise
// false with the first one, in words, in *error.
bool checkGpuErrors(std::string* error);
