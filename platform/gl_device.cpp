// The GPU device on an OpenGL 3.3 core context that its owner made current
// (gl_shared.h): textures and render targets
// as RGBA8 textures with framebuffer objects, stage state as sampler
// objects, quads from one streamed vertex buffer, the plain texture copy as
// a tiny program of its own.
#include "platform/gpu.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/failure_text.h"
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

struct GlDevice {
  bool ready = false;  // the objects exist in the current context
  void (*drawableSize)(int* width, int* height) = nullptr;
  void (*swapBuffers)() = nullptr;
  GpuSurface backBuffer = {};
  GpuSurface* currentSurface = nullptr;
  GLuint quadArray = 0, quadBuffer = 0;
  GLuint copyProgram = 0;
  GLuint passProgram = 0;
  GLuint samplers[kStages] = {};
  // Frames drawn at the chosen size while the window's drawable has another
  // (a display that could not switch modes, a compositor, a high-density
  // screen): the back buffer is then this picture, presented scaled.
  GLuint scaledFramebuffer = 0, scaledColour = 0;
};

GlDevice state;

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

bool createDeviceObjects(std::string* error) {
  glGenVertexArrays(1, &state.quadArray);
  glBindVertexArray(state.quadArray);
  glGenBuffers(1, &state.quadBuffer);
  glBindBuffer(GL_ARRAY_BUFFER, state.quadBuffer);
  glBufferData(GL_ARRAY_BUFFER, 16 * sizeof(float), nullptr, GL_STREAM_DRAW);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 4 * sizeof(float), nullptr);
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 4 * sizeof(float),
                        reinterpret_cast<const void*>(2 * sizeof(float)));

  state.copyProgram = buildProgram(quadVertexShaderSource, copyFragmentShaderSource, error);
  if (!state.copyProgram) {
    *error = platformFailure("the copy program", *error);
    return false;
  }
  glUseProgram(state.copyProgram);
  glUniform1i(glGetUniformLocation(state.copyProgram, "gm_stage0"), 0);
  glUseProgram(0);

  glGenSamplers(kStages, state.samplers);
  for (int stage = 0; stage < kStages; ++stage) {
    setStageDefaults(state.samplers[stage]);
    glBindSampler(static_cast<GLuint>(stage), state.samplers[stage]);
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

// The first error the driver reported since the last call, GL_NO_ERROR
// when there was none; the queue is emptied on the way.
GLenum takeDriverError() {
  const GLenum first = glGetError();
  if (first == GL_NO_ERROR) return first;
  for (int i = 0; i < 32 && glGetError() != GL_NO_ERROR; ++i) {
  }
  return first;
}

// From now on frames go into a picture of the chosen size. The frame
// already drawn into the window's own buffer comes along.
void drawAtChosenSize() {
  GpuSurface& backBuffer = state.backBuffer;
  glGenRenderbuffers(1, &state.scaledColour);
  glBindRenderbuffer(GL_RENDERBUFFER, state.scaledColour);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, backBuffer.width, backBuffer.height);
  glBindRenderbuffer(GL_RENDERBUFFER, 0);
  glGenFramebuffers(1, &state.scaledFramebuffer);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, state.scaledFramebuffer);
  glFramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, state.scaledColour);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  glBlitFramebuffer(0, 0, backBuffer.width, backBuffer.height, 0, 0, backBuffer.width, backBuffer.height,
                    GL_COLOR_BUFFER_BIT, GL_NEAREST);
  backBuffer.framebuffer = state.scaledFramebuffer;
}

// The picture scaled to fill the drawable with its aspect kept, centred,
// black bars on the two sides it does not reach. Rows stay bottom-up in
// both, so the copy needs no flip.
void presentScaled(int drawableWidth, int drawableHeight) {
  const int w = state.backBuffer.width, h = state.backBuffer.height;
  int shownWidth = drawableWidth, shownHeight = drawableHeight;
  if (static_cast<int64_t>(drawableWidth) * h > static_cast<int64_t>(drawableHeight) * w)
    shownWidth = static_cast<int>((static_cast<int64_t>(drawableHeight) * w + h / 2) / h);
  else
    shownHeight = static_cast<int>((static_cast<int64_t>(drawableWidth) * h + w / 2) / w);
  const int left = (drawableWidth - shownWidth) / 2, bottom = (drawableHeight - shownHeight) / 2;
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  glViewport(0, 0, drawableWidth, drawableHeight);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, state.scaledFramebuffer);
  glBlitFramebuffer(0, 0, w, h, left, bottom, left + shownWidth, bottom + shownHeight, GL_COLOR_BUFFER_BIT,
                    GL_LINEAR);
}

}  // namespace

bool createGlDevice(const GlBackBuffer& backBuffer, std::string* error) {
  state = GlDevice{};
  state.drawableSize = backBuffer.drawableSize;
  state.swapBuffers = backBuffer.swapBuffers;
  state.backBuffer = GpuSurface{0, backBuffer.width, backBuffer.height, backBuffer.width, backBuffer.height, true};
  state.ready = true;
  if (!createDeviceObjects(error)) {
    *error = platformFailure("could not prepare the graphics device", *error);
    releaseGlDevice();
    return false;
  }
  int drawableWidth = backBuffer.width, drawableHeight = backBuffer.height;
  backBuffer.drawableSize(&drawableWidth, &drawableHeight);
  if (drawableWidth != backBuffer.width || drawableHeight != backBuffer.height) drawAtChosenSize();
  setRenderTarget(&state.backBuffer);
  takeDriverError();
  return true;
}

void releaseGlDevice() {
  if (state.ready) {
    glDeleteSamplers(kStages, state.samplers);
    glDeleteProgram(state.copyProgram);
    glDeleteBuffers(1, &state.quadBuffer);
    glDeleteVertexArrays(1, &state.quadArray);
    glDeleteFramebuffers(1, &state.scaledFramebuffer);
    glDeleteRenderbuffers(1, &state.scaledColour);
  }
  state = GlDevice{};
}

void setPassProgram(GLuint program) { state.passProgram = program; }

namespace {
GpuTexture* createTextureObject(int width, int height, std::string* error) {
  if (width <= 0 || height <= 0) {
    *error = platformFailure("cannot create a texture of " + std::to_string(width) + " x " + std::to_string(height) +
                             " pixels");
    return nullptr;
  }
  takeDriverError();
  auto* texture = new GpuTexture{0, width, height, nullptr, {}, false};
  glGenTextures(1, &texture->name);
  glBindTexture(GL_TEXTURE_2D, texture->name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glBindTexture(GL_TEXTURE_2D, 0);
  const GLenum failure = takeDriverError();
  if (failure != GL_NO_ERROR) {
    *error = glFailure("could not create a texture of " + std::to_string(width) + " x " + std::to_string(height) +
                           " pixels",
                       failure);
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
  glBindFramebuffer(GL_FRAMEBUFFER, state.currentSurface ? state.currentSurface->framebuffer : 0);
  if (status != GL_FRAMEBUFFER_COMPLETE) {
    *error = glFailure("the graphics driver cannot draw into a texture of " + std::to_string(width) + " x " +
                           std::to_string(height) + " pixels",
                       status);
    releaseTexture(texture);
    return nullptr;
  }
  return texture;
}

GpuSurface* textureSurface(GpuTexture* texture) { return texture ? texture->surface : nullptr; }

GpuSurface* backBufferSurface() { return &state.backBuffer; }

uint32_t* lockTexture(GpuTexture* texture, int* pitch, std::string* error) {
  if (!texture || texture->locked) {
    if (error) *error = platformFailure(texture ? "the texture is locked already" : "no texture to lock");
    return nullptr;
  }
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
    const uint8_t bytes[4] = {static_cast<uint8_t>(texel >> 16), static_cast<uint8_t>(texel >> 8),
                              static_cast<uint8_t>(texel), static_cast<uint8_t>(texel >> 24)};
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
    if (state.currentSurface == texture->surface) setRenderTarget(&state.backBuffer);
    glDeleteFramebuffers(1, &texture->surface->framebuffer);
    delete texture->surface;
  }
  glDeleteTextures(1, &texture->name);
  delete texture;
}

void setRenderTarget(GpuSurface* surface) {
  if (!surface) return;
  state.currentSurface = surface;
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
  const GLuint sampler = state.samplers[stage];
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
  const GpuSurface* currentSurface = state.currentSurface;
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
  glUseProgram(state.passProgram ? state.passProgram : state.copyProgram);
  glBindVertexArray(state.quadArray);
  glBindBuffer(GL_ARRAY_BUFFER, state.quadBuffer);
  glBufferData(GL_ARRAY_BUFFER, sizeof vertices, vertices, GL_STREAM_DRAW);
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

void presentFrame() {
  if (!state.swapBuffers) return;
  int drawableWidth = 0, drawableHeight = 0;
  state.drawableSize(&drawableWidth, &drawableHeight);
  const bool sizesDiffer = drawableWidth != state.backBuffer.width || drawableHeight != state.backBuffer.height;
  if (!state.scaledFramebuffer && sizesDiffer && drawableWidth > 0 && drawableHeight > 0) drawAtChosenSize();
  if (state.scaledFramebuffer) {
    presentScaled(drawableWidth, drawableHeight);
    if (state.currentSurface) setRenderTarget(state.currentSurface);
  }
  state.swapBuffers();
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
  glBindFramebuffer(GL_READ_FRAMEBUFFER, state.currentSurface ? state.currentSurface->framebuffer : 0);
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

bool checkGpuErrors(std::string* error) {
  if (!state.ready) return true;
  const GLenum first = takeDriverError();
  if (first == GL_NO_ERROR) return true;
  *error = glFailure("", first);
  return false;
}
