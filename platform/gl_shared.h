// What the SDL window and the OpenGL device and effect code share inside
// platform/. Nothing outside platform/ includes this.
#pragma once

#include <SDL.h>
#include <epoxy/gl.h>

#include <string>

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

// Compiles one shader stage. On failure returns 0 and the driver's log.
GLuint compileShader(GLenum stage, const char* source, std::string* log);
// Links a vertex and a fragment shader. On failure returns 0 and the log.
GLuint linkProgram(GLuint vertexShader, GLuint fragmentShader, std::string* log);
