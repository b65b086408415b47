// The Win32 side of the platform under Wine: close requests end the show
// like Escape, a device that cannot be made is named in the failure, the
// private font comes and goes, and text is centred as font.h promises.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "platform/font.h"
#include "platform/gpu.h"
#include "platform/keys.h"
#include "platform/monotonic_clock.h"
#include "platform/thread.h"
#include "platform/window.h"

namespace {

WindowRequest hidden(const char* title, int width, int height) {
  return WindowRequest{title, width, height, false, true, false, true};
}

TEST(Win32Window, CloseRequestsEndTheShowLikeEscape) {
  const auto request = [](HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); };
  const auto altF4 = [](HWND window) { PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); };
  const auto destroy = [](HWND window) { DestroyWindow(window); };
  for (void (*close)(HWND) : {+request, +altF4, +destroy}) {
    std::string error;
    ASSERT_TRUE(openWindow(hidden("close me", 32, 16), &error)) << error;
    const HWND window = FindWindowA("Edit", "close me");
    ASSERT_NE(window, nullptr) << "the window carries its title";
    EXPECT_FALSE(escapePressed());
    close(window);
    EXPECT_TRUE(escapePressed());
    closeWindow();
  }
}

TEST(Win32Window, ADeviceThatCannotBeMadeIsNamedAndNothingStaysOpen) {
  std::string error;
  EXPECT_FALSE(openWindow(hidden("too large", 60000, 60000), &error));
  EXPECT_NE(error.find("CreateDevice failed"), std::string::npos) << error;
  EXPECT_EQ(FindWindowA("Edit", "too large"), nullptr);
  ASSERT_TRUE(openWindow(hidden("after", 16, 16), &error)) << error;
  closeWindow();
}

TEST(Win32Thread, RunsTheRoutineWithItsArgumentWhileTheClockAdvances) {
  static std::atomic<int> ran{0};
  const uint64_t start = monotonicNanoseconds();
  int argument = 41;
  std::string error;
  ASSERT_TRUE(startThread([](void* a) -> uint32_t { ran = *static_cast<int*>(a) + 1; return 0; }, &argument, &error));
  while (ran.load() == 0 && monotonicNanoseconds() - start < 5000000000ull) Sleep(1);
  EXPECT_EQ(ran.load(), 42);
  Sleep(50);
  const uint64_t elapsed = monotonicNanoseconds() - start;
  EXPECT_GE(elapsed, 45000000ull);
  EXPECT_LT(elapsed, 5000000000ull);
}

class Win32Text : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(openWindow(hidden("text", 96, 48), &error)) << error;
  }
  void TearDown() override {
    releaseFontObjects();
    removeFont("C64.ttf");
    closeWindow();
  }
};

TEST_F(Win32Text, ThePrivateFaceComesFromBesideTheProgramAndGoesAgain) {
  std::string error;
  EXPECT_EQ(createFont(24, 42, "C64 Pro", &error), nullptr) << "not installed yet";
  EXPECT_EQ(error, "no installed font \"C64 Pro\" to draw text with");
  EXPECT_FALSE(installFont("Missing.ttf", "C64 Pro", &error));
  EXPECT_NE(error.find("Missing.ttf: no such file"), std::string::npos) << error;
  EXPECT_FALSE(installFont("C64.ttf", "Some Other Family", &error));
  EXPECT_NE(error.find("holds no family"), std::string::npos) << error;
  EXPECT_EQ(createFont(24, 42, "C64 Pro", &error), nullptr) << "a refused file stays uninstalled";

  ASSERT_TRUE(installFont("C64.ttf", "C64 Pro", &error)) << error;
  EXPECT_NE(createFont(24, 42, "C64 Pro", &error), nullptr) << error;
  removeFont("C64.ttf");
  EXPECT_EQ(createFont(24, 42, "C64 Pro", &error), nullptr);
}

TEST_F(Win32Text, ALineIsCentredOnTheRectanglesMidPointInvertedOrNot) {
  std::string error;
  ASSERT_TRUE(installFont("C64.ttf", "C64 Pro", &error)) << error;
  TextFont* font = createFont(24, 24, "C64 Pro", &error);
  ASSERT_NE(font, nullptr) << error;
  GpuTexture* target = createRenderTexture(96, 48, &error);
  ASSERT_NE(target, nullptr) << error;
  GpuTexture* black = createTexture(1, 1, &error);
  int pitch = 0;
  *lockTexture(black, &pitch, nullptr) = 0xFF000000u;
  unlockTexture(black);
  const QuadVertex quad[4] = {{0, 0, 0, 1, 0, 0}, {96, 0, 0, 1, 1, 0}, {0, 48, 0, 1, 0, 1}, {96, 48, 0, 1, 1, 1}};

  for (const FontRect& rect : {FontRect{36, 12, 60, 36}, FontRect{72, 36, 24, 12}}) {  // both around (48, 24)
    setRenderTarget(textureSurface(target));
    setTexture(0, black);
    setBlendMode(BlendMode::off);
    drawQuad(quad);
    drawText(font, "H", rect, 0xFFFFFFFFu);
    std::vector<uint8_t> rgba(96 * 48 * 4);
    readSurface(textureSurface(target), rgba.data());
    int left = 96, right = -1, top = 48, bottom = -1;
    for (int y = 0; y < 48; ++y) {
      for (int x = 0; x < 96; ++x) {
        if (rgba[static_cast<size_t>((y * 96 + x) * 4)] < 128) continue;
        left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
      }
    }
    ASSERT_GE(right, left) << "no ink";
    // 'H' fills columns 1 to 6 and rows 0 to 6 of its 8 x 8 cell, whose
    // line box (ascent 7, descent 1) is what is centred.
    EXPECT_NEAR((left + right + 1) / 2.0, 48.0, 2.0);
    EXPECT_NEAR((top + bottom + 1) / 2.0, 24.0 - 1.5, 2.0);
  }
  releaseTexture(black);
  releaseTexture(target);
}

}  // namespace
