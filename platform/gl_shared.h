// What the window files (sdl_window.cpp, web_window.cpp) and the OpenGL
// device and effect code share inside platform/. Nothing outside platform/
// includes this.
#pragma once

#include <string>

// The GL entry points, compileShader, linkProgram, buildProgram: every GL
// program is made through them.
#include "platform/gl_program.h"

// The device's own objects in the context the window made current. Back
// buffer: width x height in the quads' pixel space, drawableWidth x
// drawableHeight pixels stored. False with the reason; nothing stays made.
bool createGlDevice(int width, int height, int drawableWidth, int drawableHeight, std::string* error);
// Deletes the device's objects while their context is still current.
void releaseGlDevice();

// Shows the back buffer: the window file's swap (SDL) or hand-over to the
// browser's compositor (web).
void presentGlWindow();

// The program the next quad is drawn with: an effect pass, or 0 for the
// plain texture copy.
void setPassProgram(GLuint program);

// Vertex shader of every quad: positions arrive in clip space (the device
// converts pixels), the texture coordinate goes on unchanged.
extern const char* const quadVertexShaderSource;
