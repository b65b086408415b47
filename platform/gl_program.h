// Shader compilation and program linking for every GL program of platform/:
// the effect passes, the device's copy program and the text program; and
// the one wording of the OpenGL backend's failures. The driver's log comes
// back on failure. Nothing outside platform/ includes this, except tests.
#pragma once

#ifdef __EMSCRIPTEN__
#include <GLES3/gl3.h>
#else
#include <epoxy/gl.h>
#endif

#include <string>

// The first lines of every shader: GLSL 3.30 core on desktop OpenGL, GLSL ES
// 3.00 with high precision throughout on WebGL 2.
#ifdef __EMSCRIPTEN__
#define GM_GLSL_VERSION "#version 300 es\nprecision highp float;\nprecision highp int;\n"
#else
#define GM_GLSL_VERSION "#version 330 core\n"
#endif

// Compiles one shader stage. On failure returns 0 and the driver's log in *error.
GLuint compileShader(GLenum stage, const char* source, std::string* error);
// Links a vertex and a fragment shader. On failure returns 0 and the log in *error.
GLuint linkProgram(GLuint vertexShader, GLuint fragmentShader, std::string* error);
// Compiles both stages and links them; the shaders are deleted again. On
// failure returns 0 and the log in *error, prefixed with the stage that failed
// ("vertex shader: ", "fragment shader: ", "link: ").
GLuint buildProgram(const char* vertexSource, const char* fragmentSource, std::string* error);

// `what` went wrong, with the driver's code in words: an error from
// glGetError ("OpenGL error 0x0505 (out of memory)") or a framebuffer
// status ("framebuffer status 0x8CDD (unsupported)").
std::string glFailure(const std::string& what, GLenum code);
