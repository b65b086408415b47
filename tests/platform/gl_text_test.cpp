#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/font.h"
#include "tests/platform/gl_test_context.h"
#include "tests/platform/glyph_source.h"

namespace {

// The show's font at 1280 x 720: cells 42 x 24 pixels, font pixels 5.25 x 3.
constexpr int kCellWidth = 42;
constexpr int kCellHeight = 24;

struct Pixels {
  int width = 0;
  int height = 0;
  bool bottomRowFirst = false;  // the default framebuffer reads bottom-up
  std::vector<uint8_t> rgba;

  // Channel c of the pixel x right, y down from the picture's top.
  int at(int x, int y, int c) const {
    const int row = bottomRowFirst ? height - 1 - y : y;
    return rgba[static_cast<size_t>((row * width + x) * 4 + c)];
  }
};

Pixels readPixels(int width, int height, bool bottomRowFirst) {
  Pixels pixels{width, height, bottomRowFirst, std::vector<uint8_t>(size_t(width) * height * 4)};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.rgba.data());
  return pixels;
}

struct Centroid {
  double x;
  double y;
  double ink;
};

// Centre of mass of black ink on white: weight 1 for black, 0 for white.
Centroid inkCentroid(const Pixels& pixels) {
  double sumX = 0.0;
  double sumY = 0.0;
  double ink = 0.0;
  for (int y = 0; y < pixels.height; ++y) {
    for (int x = 0; x < pixels.width; ++x) {
      const double weight = (255.0 - pixels.at(x, y, 1)) / 255.0;
      sumX += weight * (x + 0.5);
      sumY += weight * (y + 0.5);
      ink += weight;
    }
  }
  return {ink > 0 ? sumX / ink : 0.0, ink > 0 ? sumY / ink : 0.0, ink};
}

void clearTo(float r, float g, float b) {
  glClearColor(r, g, b, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
}

class GlText : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    problem = testGlContextProblem();
    if (!problem.empty()) return;
    // The build copies C64.ttf beside this program, where it is found.
    if (!installFont("C64.ttf", "C64 Pro", &problem)) return;
    font = createFont(kCellHeight, kCellWidth, "C64 Pro", &problem);
    removeFont("C64.ttf");  // the font object keeps drawing
  }
  void SetUp() override { ASSERT_EQ(problem, ""); }

  static inline std::string problem;
  static inline TextFont* font = nullptr;
  const std::vector<GlyphGrid> glyphs = readGlyphSource(GM_FONT_GLYPHS);

  // Where a glyph's ink centre must land for a rectangle: the rectangle's
  // mid-point is the centre of the 42 x 24 cell (line box) the glyph is
  // drawn in, and the ink sits in the cell as in the source grid.
  Centroid expectedCentre(char code, const FontRect& rect) const {
    const GridCentre grid = inkCentre(glyphs[static_cast<size_t>(code)]);
    return {(rect.left + rect.right) / 2.0 + (grid.x - 4.0) * kCellWidth / 8.0,
            (rect.top + rect.bottom) / 2.0 + (grid.y - 4.0) * kCellHeight / 8.0, 0.0};
  }
};

TEST_F(GlText, InkIsCentredOnTheRectanglesMidPoint) {
  TestTarget target = makeTestTarget(160, 100);
  struct Case {
    char code;
    FontRect rect;
  };
  // Inverted rectangles as the text layer passes them, an ordinary one, odd
  // sums (half-pixel mid-points), a descender and asymmetric glyphs.
  const Case cases[] = {
      {'H', {100, 60, 40, 30}}, {'H', {40, 30, 100, 60}}, {'A', {121, 87, 42, 24}},
      {'g', {90, 70, 45, 25}},  {'.', {80, 50, 80, 50}},  {'7', {101, 49, 40, 30}},
  };
  for (const Case& c : cases) {
    clearTo(1.0f, 1.0f, 1.0f);
    const char text[2] = {c.code, '\0'};
    drawText(font, text, c.rect, 0xFF000000u);
    const Centroid found = inkCentroid(readPixels(target.width, target.height, false));
    const Centroid wanted = expectedCentre(c.code, c.rect);
    EXPECT_GT(found.ink, 10.0) << c.code;
    EXPECT_NEAR(found.x, wanted.x, 1.0) << "'" << c.code << "' at " << c.rect.left;
    EXPECT_NEAR(found.y, wanted.y, 1.0) << "'" << c.code << "' at " << c.rect.top;
  }
  freeTestTarget(target);
}

TEST_F(GlText, TheDefaultFramebufferShowsTheTopAtTheTop) {
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glViewport(0, 0, kWindowWidth, kWindowHeight);
  clearTo(1.0f, 1.0f, 1.0f);
  const FontRect rect{100, 40, 60, 20};  // mid-point (80, 30): near the top
  drawText(font, "A", rect, 0xFF000000u);
  const Centroid found = inkCentroid(readPixels(kWindowWidth, kWindowHeight, true));
  const Centroid wanted = expectedCentre('A', rect);
  EXPECT_NEAR(found.x, wanted.x, 1.0);
  EXPECT_NEAR(found.y, wanted.y, 1.0);
}

// How much of the pixel (x, y) of a 42 x 24 cell the glyph covers, worked
// out from its source grid: font pixels are 5.25 wide and 3 high, so rows
// are all or nothing and columns may be cut.
double designCoverage(const GlyphGrid& grid, int x, int y) {
  if (x < 0 || y < 0 || x >= kCellWidth || y >= kCellHeight) return 0.0;
  const std::string& row = grid[static_cast<size_t>(y / 3)];
  double covered = 0.0;
  for (int column = 0; column < 8; ++column) {
    if (row[static_cast<size_t>(column)] != '#') continue;
    const double from = std::max<double>(x, column * 5.25);
    const double to = std::min<double>(x + 1, (column + 1) * 5.25);
    covered += std::max(0.0, to - from);
  }
  return covered;
}

TEST_F(GlText, ColourTimesCoverageIsBlendedOverTheTarget) {
  TestTarget target = makeTestTarget(100, 60);
  // Mid-point (50, 30): the cell spans 29 to 71 across and 18 to 42 down,
  // whole pixels, so the coverage follows from the glyph's grid alone.
  const FontRect rect{70, 40, 30, 20};
  const GlyphGrid& grid = glyphs['H'];
  clearTo(0.2f, 0.4f, 0.6f);
  const uint32_t colour = 0x7755AAFFu;  // light blue, alpha 0x77
  drawText(font, "H", rect, colour);
  const Pixels drawn = readPixels(target.width, target.height, false);

  const double alpha = 0x77 / 255.0;
  const double source[3] = {0x55 / 255.0, 0xAA / 255.0, 0xFF / 255.0};
  const double background[3] = {0.2, 0.4, 0.6};
  int full = 0;
  int partial = 0;
  for (int y = 0; y < target.height; ++y) {
    for (int x = 0; x < target.width; ++x) {
      const double covered = designCoverage(grid, x - 29, y - 18);
      const double a = alpha * covered;
      for (int c = 0; c < 3; ++c) {
        const double wanted = 255.0 * (source[c] * a + background[c] * (1.0 - a));
        ASSERT_NEAR(drawn.at(x, y, c), wanted, 1.5) << x << "," << y << " channel " << c;
      }
      // Alpha blends with the same factors: a * a + 1 * (1 - a).
      ASSERT_NEAR(drawn.at(x, y, 3), 255.0 * (a * a + 1.0 - a), 1.5) << x << "," << y;
      full += covered == 1.0 ? 1 : 0;
      partial += covered > 0.0 && covered < 1.0 ? 1 : 0;
    }
  }
  EXPECT_GT(full, 300);    // the stems and the bar
  EXPECT_GT(partial, 20);  // the stems' edges, 5.25 pixels apart
  freeTestTarget(target);
}

TEST_F(GlText, LeavesTheTargetAndEveryStateAsItFoundThem) {
  TestTarget target = makeTestTarget(100, 60);
  GLuint otherTexture = 0;
  GLuint otherVertexArray = 0;
  GLuint otherSampler = 0;
  glGenTextures(1, &otherTexture);
  glGenVertexArrays(1, &otherVertexArray);
  glGenSamplers(1, &otherSampler);
  glSamplerParameteri(otherSampler, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, otherTexture);
  glBindSampler(0, otherSampler);
  glActiveTexture(GL_TEXTURE3);
  glBindVertexArray(otherVertexArray);
  glUseProgram(0);
  glDisable(GL_BLEND);
  glBlendFuncSeparate(GL_ONE, GL_ONE, GL_ZERO, GL_ONE);
  glBlendEquationSeparate(GL_FUNC_REVERSE_SUBTRACT, GL_MAX);
  glEnable(GL_SCISSOR_TEST);
  glScissor(0, 0, 1, 1);  // would hide the text if it were kept
  glEnable(GL_CULL_FACE);

  clearTo(1.0f, 1.0f, 1.0f);
  drawText(font, "H", FontRect{70, 40, 30, 20}, 0xFF000000u);

  GLint value = 0;
  glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &value);
  EXPECT_EQ(static_cast<GLuint>(value), target.framebuffer);
  glGetIntegerv(GL_ACTIVE_TEXTURE, &value);
  EXPECT_EQ(value, GL_TEXTURE3);
  glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &value);
  EXPECT_EQ(static_cast<GLuint>(value), otherVertexArray);
  glGetIntegerv(GL_CURRENT_PROGRAM, &value);
  EXPECT_EQ(value, 0);
  glActiveTexture(GL_TEXTURE0);
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
  EXPECT_EQ(static_cast<GLuint>(value), otherTexture);
  glGetIntegerv(GL_SAMPLER_BINDING, &value);
  EXPECT_EQ(static_cast<GLuint>(value), otherSampler);
  EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);
  EXPECT_EQ(glIsEnabled(GL_SCISSOR_TEST), GL_TRUE);
  EXPECT_EQ(glIsEnabled(GL_CULL_FACE), GL_TRUE);
  glGetIntegerv(GL_BLEND_SRC_RGB, &value);
  EXPECT_EQ(value, GL_ONE);
  glGetIntegerv(GL_BLEND_DST_ALPHA, &value);
  EXPECT_EQ(value, GL_ONE);
  glGetIntegerv(GL_BLEND_EQUATION_RGB, &value);
  EXPECT_EQ(value, GL_FUNC_REVERSE_SUBTRACT);
  glGetIntegerv(GL_BLEND_EQUATION_ALPHA, &value);
  EXPECT_EQ(value, GL_MAX);

  glDisable(GL_SCISSOR_TEST);
  glDisable(GL_CULL_FACE);
  // Drawn in full despite the scissor box and face culling set outside.
  EXPECT_GT(inkCentroid(readPixels(target.width, target.height, false)).ink, 100.0);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

  glBindSampler(0, 0);
  glBindTexture(GL_TEXTURE_2D, 0);
  glBindVertexArray(0);
  glDeleteSamplers(1, &otherSampler);
  glDeleteVertexArrays(1, &otherVertexArray);
  glDeleteTextures(1, &otherTexture);
  glBlendFunc(GL_ONE, GL_ZERO);
  glBlendEquation(GL_FUNC_ADD);
  freeTestTarget(target);
}

TEST_F(GlText, ABracketedBatchDrawsWhatSingleCallsDraw) {
  TestTarget target = makeTestTarget(200, 80);
  const FontRect rects[3] = {{60, 40, 20, 20}, {110, 50, 60, 30}, {150, 45, 110, 20}};
  const uint32_t colours[3] = {0x77FFAA44u, 0xFFFFFFFFu, 0xFF000000u};
  auto drawAll = [&] {
    drawText(font, "M", rects[0], colours[0]);
    drawText(font, "e", rects[1], colours[1]);
    drawText(font, "!", rects[2], colours[2]);
  };
  clearTo(0.3f, 0.3f, 0.3f);
  drawAll();
  const Pixels single = readPixels(target.width, target.height, false);
  clearTo(0.3f, 0.3f, 0.3f);
  beginTextDrawing();
  drawAll();
  endTextDrawing();
  const Pixels batched = readPixels(target.width, target.height, false);
  EXPECT_EQ(single.rgba, batched.rgba);
  GLint program = -1;
  glGetIntegerv(GL_CURRENT_PROGRAM, &program);
  EXPECT_EQ(program, 0);
  freeTestTarget(target);
}

TEST_F(GlText, NothingToDrawIsHarmless) {
  TestTarget target = makeTestTarget(100, 60);
  clearTo(1.0f, 1.0f, 1.0f);
  drawText(nullptr, "H", FontRect{70, 40, 30, 20}, 0xFF000000u);  // no font
  drawText(font, "", FontRect{70, 40, 30, 20}, 0xFF000000u);
  drawText(font, " ", FontRect{70, 40, 30, 20}, 0xFF000000u);
  drawText(font, "\x7f\x80", FontRect{70, 40, 30, 20}, 0xFF000000u);  // not in the font
  drawText(font, nullptr, FontRect{70, 40, 30, 20}, 0xFF000000u);
  EXPECT_EQ(inkCentroid(readPixels(target.width, target.height, false)).ink, 0.0);
  // Far outside the target: not clipped, simply off the picture.
  drawText(font, "H", FontRect{-5000, 9000, 30, 20}, 0xFF000000u);
  EXPECT_EQ(inkCentroid(readPixels(target.width, target.height, false)).ink, 0.0);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  freeTestTarget(target);
}

TEST_F(GlText, NoFontWithoutTheInstalledFace) {
  std::string error;
  EXPECT_EQ(createFont(24, 42, "C64 Pro", &error), nullptr);  // removed after SetUpTestSuite
  EXPECT_EQ(error, "no installed font \"C64 Pro\" to draw text with");
  EXPECT_EQ(createFont(24, 42, "Another Face", &error), nullptr);
  EXPECT_EQ(error, "no installed font \"Another Face\" to draw text with");
}

// A tool that opens and closes graphics more than once releases the font
// objects with the context; new ones then work as the first did.
TEST_F(GlText, FontsCanBeMadeAgainAfterRelease) {
  releaseFontObjects();
  releaseFontObjects();  // twice is harmless
  std::string error;
  ASSERT_TRUE(installFont("C64.ttf", "C64 Pro", &error)) << error;
  font = createFont(kCellHeight, kCellWidth, "C64 Pro", &error);
  removeFont("C64.ttf");
  ASSERT_NE(font, nullptr) << error;
  TestTarget target = makeTestTarget(100, 60);
  clearTo(1.0f, 1.0f, 1.0f);
  const FontRect rect{70, 40, 30, 20};
  drawText(font, "A", rect, 0xFF000000u);
  const Centroid found = inkCentroid(readPixels(target.width, target.height, false));
  EXPECT_NEAR(found.x, expectedCentre('A', rect).x, 1.0);
  EXPECT_NEAR(found.y, expectedCentre('A', rect).y, 1.0);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  freeTestTarget(target);
}

}  // namespace
