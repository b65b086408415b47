// What the SDL window and the OpenGL device and effect code share inside
// platform/. Nothing outside platform/ includes this.
#pragma once

#include <SDL.h>
#include <epoxy/gl.h>

#include <string>

// compileShader, linkProgram, buildProgram: every GL program is made through them.
#include "platform/gl_program.h"

// Creates the GL 3.3 core context on the window and the device's own
// objects. Back buffer size = width x height.
bool createGlDevice(SDL_Window* window, int width, int height, std::string* error);
void releaseGlDevice();

// The program the next quad is drawn with: an effect pass, or 0 for the
// plain texture copy.
void setPassProgram(GLuint program);

// Vertex shader of every quad: positions arrive in clip space (the device
// converts pixels), the texture coordinate goes on unchanged.
extern const char* const quadVertexShaderSource;

