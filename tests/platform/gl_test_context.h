// An OpenGL 3.3 core context for tests: SDL's offscreen video driver with
// Mesa's llvmpipe renders on the CPU, no display needed. Made once per test
// program and kept current; its default framebuffer is kWindowWidth x
// kWindowHeight.
#pragma once

#include <SDL.h>
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

constexpr int kWindowWidth = 320;
constexpr int kWindowHeight = 200;

// Empty when the context is current, else why it is not.
inline std::string testGlContextProblem() {
  static std::string problem = [] {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("LP_NUM_THREADS", "0", 1);  // llvmpipe renders on the calling thread
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return std::string("SDL video: ") + SDL_GetError();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_Window* window = SDL_CreateWindow("test", 0, 0, kWindowWidth, kWindowHeight,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window) return std::string("window: ") + SDL_GetError();
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) return std::string("GL 3.3 core context: ") + SDL_GetError();
    if (SDL_GL_MakeCurrent(window, context) != 0) return std::string("current: ") + SDL_GetError();
    return std::string();
  }();
  return problem;
}

// A colour render target with its top picture row in row 0, as every
// off-screen target of the show keeps it.
struct TestTarget {
  GLuint framebuffer = 0;
  GLuint texture = 0;
  int width = 0;
  int height = 0;
};

inline TestTarget makeTestTarget(int width, int height) {
  TestTarget target;
  target.width = width;
  target.height = height;
  glGenTextures(1, &target.texture);
  glBindTexture(GL_TEXTURE_2D, target.texture);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glBindTexture(GL_TEXTURE_2D, 0);
  glGenFramebuffers(1, &target.framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target.texture, 0);
  EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
  glViewport(0, 0, width, height);
  return target;
}

inline void freeTestTarget(TestTarget& target) {
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glDeleteFramebuffers(1, &target.framebuffer);
  glDeleteTextures(1, &target.texture);
  target = TestTarget{};
}
