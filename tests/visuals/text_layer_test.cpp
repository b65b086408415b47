#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/font.h"
#include "tests/platform/gl_test_context.h"
#include "visuals/frame_resources.h"
#include "visuals/text_layer.h"
#include "visuals/text_layout.h"

namespace {

// Music time 7.75 at 1280 x 720, resting on page 0 (countdown 250). Page 0
// begins "   GLASS MERIDIAN": character 4 is the 'L', whose face is centred on
// (248, 197) at that time, so its 42 x 24 cell spans x 227 to 269 and
// y 185 to 209; the highlight sits 2 pixels left and 1 up, the shadow 2
// right and 1 down. L's stem is font columns 1 and 2 (5.25 pixels each).
TEST(TextLayer, DrawsThePageInThreeLayersIntoTheCurrentTarget) {
  ASSERT_EQ(testGlContextProblem(), "");
  setRendererSettings(RendererSettings{1280, 720, true});
  std::string error;
  ASSERT_TRUE(installFont("C64.ttf", kTextFace, &error)) << error;
  ASSERT_TRUE(createTextFonts(&error)) << error;

  TextPageState pages = seekTextPages(7.75f);
  ASSERT_EQ(pages.page, 0);
  ASSERT_EQ(pages.countdown, 250.0f);

  // Preconditions of the probes below: where the 'L' and its right-hand
  // neighbour stand in this frame.
  static TextCharacterLayout expected[kTextCharacters];
  TextPageState laidOut = pages;
  layoutTextFrame(7.75f, 7.75f, 1280, 720, 1280.0f, 720.0f, laidOut, expected);
  ASSERT_EQ(expected[4].code, 'L');
  ASSERT_EQ(textRectCentre(expected[4].rects[2]).x, 248.0f);
  ASSERT_EQ(textRectCentre(expected[4].rects[2]).y, 197.0f);
  ASSERT_GT(textRectCentre(expected[5].rects[1]).x - 21.0f, 250.0f);  // 'A' keeps clear

  TestTarget target = makeTestTarget(1280, 720);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  drawTextLayer(7.75f, 7.75f, pages);
  std::vector<uint8_t> rgba(1280u * 720u * 4u);
  glReadPixels(0, 0, 1280, 720, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  auto pixel = [&](int x, int y, int c) { return rgba[static_cast<size_t>((y * 1280 + x) * 4 + c)]; };

  // The face's stem, drawn last: black.
  EXPECT_EQ(pixel(237, 190, 0), 0);
  EXPECT_EQ(pixel(237, 190, 1), 0);
  EXPECT_EQ(pixel(237, 190, 2), 0);
  // Right of the face's stem only the shadow's stem: row 0's orange at
  // alpha 0x77 over black.
  const double alpha = 0x77 / 255.0;
  EXPECT_NEAR(pixel(243, 190, 0), 0xFF * alpha, 1.5);
  EXPECT_NEAR(pixel(243, 190, 1), 0xAA * alpha, 1.5);
  EXPECT_NEAR(pixel(243, 190, 2), 0x44 * alpha, 1.5);
  // The row above the face's top: only the highlight, opaque white.
  EXPECT_EQ(pixel(235, 184, 0), 255);
  EXPECT_EQ(pixel(235, 184, 1), 255);
  EXPECT_EQ(pixel(235, 184, 2), 255);
  // Far from any text the target is untouched.
  EXPECT_EQ(pixel(1200, 40, 0), 0);

  // The countdown ran on the frame's time: none here, 0.25 units next frame.
  EXPECT_EQ(pages.countdown, 250.0f);
  drawTextLayer(8.0f, 7.75f, pages);
  EXPECT_EQ(pages.countdown, 200.0f);
  EXPECT_EQ(pages.page, 0);

  GLint program = -1;
  glGetIntegerv(GL_CURRENT_PROGRAM, &program);
  EXPECT_EQ(program, 0);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  freeTestTarget(target);
  releaseTextFonts();
  removeFont("C64.ttf");
}

// Without its face the layer cannot start: the renderer's start-up fails
// with the reason, as on every backend.
TEST(TextLayer, WithoutItsFaceItFailsAndSaysWhy) {
  ASSERT_EQ(testGlContextProblem(), "");
  setRendererSettings(RendererSettings{1280, 720, true});
  removeFont("C64.ttf");
  std::string error;
  EXPECT_FALSE(createTextFonts(&error));
  EXPECT_NE(error.find("no installed font \"C64 Pro\""), std::string::npos) << error;
  releaseTextFonts();
}

}  // namespace
