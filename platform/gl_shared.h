// What the OpenGL device, effect and text code share inside platform/,
// and what a context's owner (the SDL window) hands the device. Nothing
// here depends on how the context was made. Nothing outside platform/
// includes this.
#pragma once

#include <string>

// The GL entry points (OpenGL or WebGL 2); compileShader, linkProgram, buildProgram, glFailure: every GL program is
// made, and every GL failure worded, through them.
#include "platform/gl_program.h"

// The default framebuffer of a context that is current: its size as the
// show asked for it, how many pixels it really has now, and how a frame is
// shown.
struct GlBackBuffer {
  int width, height;
  void (*drawableSize)(int* width, int* height);  // pixels of the default framebuffer
  void (*swapBuffers)();                          // shows the default framebuffer
};

// Makes the device's own objects in the current OpenGL 3.3 core context.
// On failure returns false with the reason in *error; nothing stays made.
bool createGlDevice(const GlBackBuffer& backBuffer, std::string* error);
// Deletes them while the context is still current.
void releaseGlDevice();

// The program the next quad is drawn with: an effect pass, or 0 for the
// plain texture copy.
void setPassProgram(GLuint program);

// Vertex shader of every quad: positions arrive in clip space (the device
// converts pixels), the texture coordinate goes on unchanged.
extern const char* const quadVertexShaderSource;
