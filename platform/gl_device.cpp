// The GPU device on an OpenGL 3.3 core context: textures and render targets
// as RGBA8 textures with framebuffer objects, stage state as sampler
// objects, quads from one streamed vertex buffer, the plain texture copy as
// a tiny program of its own.
#include "platform/gpu.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/gl_shared.h"

struct GpuTexture {
  GLuint name;
  int width, height;
  GpuSurface* surface;            // render textures only
  std::vector<uint32_t> staging;  // the texels while locked
  bool locked;
};

struct GpuSurface {
  GLuint framebuffer;
  int width, height;                  // the pixel space quads are given in
  int viewportWidth, viewportHeight;  // pixels actually stored
  bool bottomUp;                      // row 0 of the storage is the bottom of the picture
};

const char* const quadVertexShaderSource = GM_GLSL_VERSION R"(
layout(location = 0) in vec2 gm_position;
layout(location = 1) in vec2 gm_texcoordIn;
out vec2 gm_texcoord;
void main() {
  gl_Position = vec4(gm_position, 0.0, 1.0);
  gm_texcoord = gm_texcoordIn;
}
)";

namespace {

const char* const copyFragmentShaderSource = GM_GLSL_VERSION R"(
uniform sampler2D gm_stage0;
in vec2 gm_texcoord;
layout(location = 0) out vec4 gm_colour;
void main() { gm_colour = texture(gm_stage0, gm_texcoord); }
)";

constexpr int kStages = 2;

bool deviceOpen = false;
GpuSurface backBuffer = {};
GpuSurface* currentSurface = nullptr;
GLuint quadArray = 0, quadBuffer = 0;
GLuint copyProgram = 0;
GLuint passProgram = 0;
GLuint samplers[kStages] = {};

void setStageDefaults(GLuint sampler) {
  glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, GL_REPEAT);
#ifdef GL_CLAMP_TO_BORDER
  const float transparentBlack[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  glSamplerParameterfv(sampler, GL_TEXTURE_BORDER_COLOR, transparentBlack);
#endif
}

// Border addressing where the API has it (WebGL 2 has not: the edge texels
// stretch instead).
#ifdef GL_CLAMP_TO_BORDER
constexpr GLint kBorderAddress = GL_CLAMP_TO_BORDER;
#else
constexpr GLint kBorderAddress = GL_CLAMP_TO_EDGE;
#endif

std::string glErrorName(GLenum code) {
  switch (code) {
    case GL_INVALID_ENUM: return "invalid enum";
    case GL_INVALID_VALUE: return "invalid value";
    case GL_INVALID_OPERATION: return "invalid operation";
    case GL_INVALID_FRAMEBUFFER_OPERATION: return "invalid framebuffer operation";
    case GL_OUT_OF_MEMORY: return "out of memory";
    default: return "unknown error";
  }
}

bool createDeviceObjects(std::string* error) {
  glGenVertexArrays(1, &quadArray);
  glBindVertexArray(quadArray);
  glGenBuffers(1, &quadBuffer);
  glBindBuffer(GL_ARRAY_BUFFER, quadBuffer);
  glBufferData(GL_ARRAY_BUFFER, 16 * sizeof(float), nullptr, GL_STREAM_DRAW);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 4 * sizeof(float), nullptr);
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 4 * sizeof(float),
                        reinterpret_cast<const void*>(2 * sizeof(float)));

  copyProgram = buildProgram(quadVertexShaderSource, copyFragmentShaderSource, error);
  if (!copyProgram) {
    *error = "the copy program: " + *error;
    return false;
  }
  glUseProgram(copyProgram);
  glUniform1i(glGetUniformLocation(copyProgram, "gm_stage0"), 0);
  glUseProgram(0);

  glGenSamplers(kStages, samplers);
  for (int stage = 0; stage < kStages; ++stage) {
    setStageDefaults(samplers[stage]);
    glBindSampler(static_cast<GLuint>(stage), samplers[stage]);
  }

  // Quads lie at depth 0 and cover their whole target; nothing is culled,
  // tested or dithered.
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glDisable(GL_DITHER);
  glDisable(GL_BLEND);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  return true;
}

}  // namespace

bool createGlDevice(int width, int height, int drawableWidth, int drawableHeight, std::string* error) {
  deviceOpen = true;
  backBuffer = GpuSurface{0, width, height, drawableWidth, drawableHeight, true};
  if (!createDeviceObjects(error)) {
    *error = "Could not prepare the graphics device: " + *error;
    releaseGlDevice();
    return false;
  }
  setRenderTarget(&backBuffer);
  takeGpuError();
  return true;
}

void releaseGlDevice() {
  if (!deviceOpen) return;
  glDeleteSamplers(kStages, samplers);
  glDeleteProgram(copyProgram);
  glDeleteBuffers(1, &quadBuffer);
  glDeleteVertexArrays(1, &quadArray);
  copyProgram = quadBuffer = quadArray = passProgram = 0;
  currentSurface = nullptr;
  deviceOpen = false;
}

void setPassProgram(GLuint program) { passProgram = program; }

namespace {
GpuTexture* createTextureObject(int width, int height, std::string* error) {
  if (width <= 0 || height <= 0) {
    *error = "Cannot create a texture of " + std::to_string(width) + " x " + std::to_string(height) + " pixels.";
    return nullptr;
  }
  takeGpuError();
  auto* texture = new GpuTexture{0, width, height, nullptr, {}, false};
  glGenTextures(1, &texture->name);
  glBindTexture(GL_TEXTURE_2D, texture->name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glBindTexture(GL_TEXTURE_2D, 0);
  const std::string failure = takeGpuError();
  if (!failure.empty()) {
    *error = "Could not create a texture of " + std::to_string(width) + " x " + std::to_string(height) +
             " pixels: " + failure;
    releaseTexture(texture);
    return nullptr;
  }
  return texture;
}
}  // namespace

GpuTexture* createTexture(int width, int height, std::string* error) {
  return createTextureObject(width, height, error);
}

GpuTexture* createRenderTexture(int width, int height, std::string* error) {
  GpuTexture* texture = createTextureObject(width, height, error);
  if (!texture) return nullptr;
  texture->surface = new GpuSurface{0, width, height, width, height, false};
  glGenFramebuffers(1, &texture->surface->framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, texture->surface->framebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture->name, 0);
  const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
  glBindFramebuffer(GL_FRAMEBUFFER, currentSurface ? currentSurface->framebuffer : 0);
  if (status != GL_FRAMEBUFFER_COMPLETE) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%04X", status);
    *error = "The graphics driver cannot draw into a texture of " + std::to_string(width) + " x " +
             std::to_string(height) + " pixels (framebuffer status " + code + ").";
    releaseTexture(texture);
    return nullptr;
  }
  return texture;
}

GpuSurface* textureSurface(GpuTexture* texture) { return texture ? texture->surface : nullptr; }

GpuSurface* backBufferSurface() { return &backBuffer; }

uint32_t* lockTexture(GpuTexture* texture, int* pitch) {
  if (!texture || texture->locked) return nullptr;
  texture->staging.resize(static_cast<size_t>(texture->width) * static_cast<size_t>(texture->height));
  texture->locked = true;
  *pitch = texture->width;
  return texture->staging.data();
}

void unlockTexture(GpuTexture* texture) {
  if (!texture || !texture->locked) return;
  glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
  glBindTexture(GL_TEXTURE_2D, texture->name);
#ifdef __EMSCRIPTEN__
  // WebGL 2 takes no BGRA: each texel A*2^24 + R*2^16 + G*2^8 + B becomes
  // the bytes R, G, B, A.
  for (uint32_t& texel : texture->staging) {
    const uint32_t r = (texel >> 16) & 0xFFu, g = (texel >> 8) & 0xFFu, b = texel & 0xFFu, a = texel >> 24;
    const uint8_t bytes[4] = {static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b),
                              static_cast<uint8_t>(a)};
    std::memcpy(&texel, bytes, sizeof texel);
  }
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, texture->width, texture->height, GL_RGBA, GL_UNSIGNED_BYTE,
                  texture->staging.data());
#else
  // A texel A*2^24 + R*2^16 + G*2^8 + B read as one 32-bit value.
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, texture->width, texture->height, GL_BGRA,
                  GL_UNSIGNED_INT_8_8_8_8_REV, texture->staging.data());
#endif
  glBindTexture(GL_TEXTURE_2D, 0);
  texture->staging = {};
  texture->locked = false;
}

void releaseTexture(GpuTexture* texture) {
  if (!texture) return;
  if (texture->surface) {
    if (currentSurface == texture->surface) setRenderTarget(&backBuffer);
    glDeleteFramebuffers(1, &texture->surface->framebuffer);
    delete texture->surface;
  }
  glDeleteTextures(1, &texture->name);
  delete texture;
}

void setRenderTarget(GpuSurface* surface) {
  if (!surface) return;
  currentSurface = surface;
  glBindFramebuffer(GL_FRAMEBUFFER, surface->framebuffer);
  glViewport(0, 0, surface->viewportWidth, surface->viewportHeight);
}

void setTexture(int stage, GpuTexture* texture) {
  if (stage < 0 || stage >= kStages) return;
  glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(stage));
  glBindTexture(GL_TEXTURE_2D, texture ? texture->name : 0);
  glActiveTexture(GL_TEXTURE0);
}

void setSamplerState(int stage, SamplerFilter magnification, SamplerAddress address) {
  if (stage < 0 || stage >= kStages) return;
  const GLuint sampler = samplers[stage];
  glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, magnification == SamplerFilter::linear ? GL_LINEAR : GL_NEAREST);
  const GLint wrap = address == SamplerAddress::border ? kBorderAddress : GL_REPEAT;
  glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, wrap);
  glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, wrap);
}

void setBlendMode(BlendMode mode) {
  switch (mode) {
    case BlendMode::off:
      glDisable(GL_BLEND);
      return;
    case BlendMode::add:
      glBlendFunc(GL_ONE, GL_ONE);
      break;
    case BlendMode::alphaBlend:
      glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
      break;
  }
  glBlendEquation(GL_FUNC_ADD);
  glEnable(GL_BLEND);
}

void drawQuad(const QuadVertex quad[4]) {
  if (!currentSurface) return;
  // Pixels to clip space. Render textures store the picture's top row first,
  // the back buffer its bottom row first.
  const float w = static_cast<float>(currentSurface->width);
  const float h = static_cast<float>(currentSurface->height);
  float vertices[16];
  for (int i = 0; i < 4; ++i) {
    const float down = quad[i].y / h * 2.0f;
    vertices[4 * i + 0] = quad[i].x / w * 2.0f - 1.0f;
    vertices[4 * i + 1] = currentSurface->bottomUp ? 1.0f - down : down - 1.0f;
    vertices[4 * i + 2] = quad[i].tu;
    vertices[4 * i + 3] = quad[i].tv;
  }
  glUseProgram(passProgram ? passProgram : copyProgram);
  glBindVertexArray(quadArray);
  glBindBuffer(GL_ARRAY_BUFFER, quadBuffer);
  glBufferData(GL_ARRAY_BUFFER, sizeof vertices, vertices, GL_STREAM_DRAW);
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

void presentFrame() {
  if (deviceOpen) presentGlWindow();
}

void finishGpuWork() { glFinish(); }

void surfaceSize(GpuSurface* surface, int* width, int* height) {
  *width = surface ? surface->viewportWidth : 0;
  *height = surface ? surface->viewportHeight : 0;
}

void readSurface(GpuSurface* surface, uint8_t* rgba) {
  if (!surface) return;
  const int w = surface->viewportWidth, h = surface->viewportHeight;
  glBindFramebuffer(GL_READ_FRAMEBUFFER, surface->framebuffer);
  if (surface->framebuffer == 0) glReadBuffer(GL_BACK);
  glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, currentSurface ? currentSurface->framebuffer : 0);
  if (!surface->bottomUp) return;
  const size_t row = static_cast<size_t>(w) * 4;
  for (int top = 0, bottom = h - 1; top < bottom; ++top, --bottom) {
    uint8_t* a = rgba + row * static_cast<size_t>(top);
    uint8_t* b = rgba + row * static_cast<size_t>(bottom);
    for (size_t i = 0; i < row; ++i) {
      const uint8_t swap = a[i];
      a[i] = b[i];
      b[i] = swap;
    }
  }
}

std::string takeGpuError() {
  if (!deviceOpen) return {};
  const GLenum first = glGetError();
  if (first == GL_NO_ERROR) return {};
  for (int i = 0; i < 32 && glGetError() != GL_NO_ERROR; ++i) {
  }
  char code[16];
  std::snprintf(code, sizeof code, "0x%04X", first);
  return "OpenGL error " + std::string(code) + " (" + glErrorName(first) + ")";
}
