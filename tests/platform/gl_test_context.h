// An OpenGL 3.3 core context for tests: SDL's offscreen video driver with
// Mesa's llvmpipe renders on the CPU, no display needed. Made once per test
// program and kept current; its default framebuffer is kWindowWidth x
// kWindowHeight.
#pragma once

#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/window.h"

constexpr int kWindowWidth = 320;
constexpr int kWindowHeight = 200;

// Empty when the context is current, else why it is not.
inline std::string testGlContextProblem() {
  static std::string problem = [] {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("LP_NUM_THREADS", "0", 1);  // llvmpipe renders on the calling thread
    // The show's own window code, headless.
    const WindowRequest request = {"test", kWindowWidth, kWindowHeight, false, false, false, true};
    std::string error;
    if (!openWindow(request, &error)) return error;
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
