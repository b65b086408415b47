// Font objects and text drawing with OpenGL: one coverage atlas texture per
// font, one textured quad per character, drawn by a small program whose
// quad comes from uniforms (no vertex buffers to update per character).
// Needs only a current context, however it was made.
#include <cmath>
#include <memory>

#include "platform/failure_text.h"
#include "platform/font.h"
#include "platform/font_atlas.h"
#include "platform/gl_program.h"  // the GL functions

struct TextFont {
  GLuint texture = 0;
  int32_t atlasWidth = 0;
  int32_t atlasHeight = 0;
  float ascent = 0.0f;
  float descent = 0.0f;
  AtlasGlyph glyphs[kAtlasGlyphs] = {};
};

namespace {

constexpr char kTextVertexShader[] = GM_GLSL_VERSION R"(
uniform vec4 corners;    // left, top, right, bottom in clip space
uniform vec4 atlasRect;  // the same corners in atlas coordinates
out vec2 atlasPoint;
void main() {
  vec2 pick = vec2(float(gl_VertexID & 1), float(gl_VertexID >> 1));
  gl_Position = vec4(mix(corners.xy, corners.zw, pick), 0.0, 1.0);
  atlasPoint = mix(atlasRect.xy, atlasRect.zw, pick);
}
)";

constexpr char kTextFragmentShader[] = GM_GLSL_VERSION R"(
uniform sampler2D atlas;
uniform vec4 colour;
in vec2 atlasPoint;
out vec4 fragment;
void main() {
  fragment = vec4(colour.rgb, colour.a * texture(atlas, atlasPoint).r);
}
)";

constexpr int kMostFonts = 16;  // the show makes three

struct TextProgram {
  GLuint program = 0;
  GLuint vertexArray = 0;
  GLuint sampler = 0;
  GLint corners = -1;
  GLint atlasRect = -1;
  GLint colour = -1;
};

// What drawing changes, as it was before.
struct SavedState {
  GLint program, vertexArray, activeTexture, texture, sampler;
  GLint blendSourceRgb, blendDestinationRgb, blendSourceAlpha, blendDestinationAlpha;
  GLint blendEquationRgb, blendEquationAlpha;
  GLboolean blend, depthTest, stencilTest, scissorTest, cullFace;
};

struct GlText {
  TextProgram program;
  std::unique_ptr<TextFont> fonts[kMostFonts];
  int fontCount = 0;
  SavedState saved = {};
  bool drawing = false;     // inside beginTextDrawing / endTextDrawing
  GLint viewport[4] = {};
  bool topRowFirst = true;  // the target keeps its top in row 0 (off-screen)
};

GlText state;

bool ensureProgram(std::string* error) {
  TextProgram& textProgram = state.program;
  if (textProgram.program) return true;
  const GLuint program = buildProgram(kTextVertexShader, kTextFragmentShader, error);
  if (!program) return false;
  textProgram.program = program;
  textProgram.corners = glGetUniformLocation(program, "corners");
  textProgram.atlasRect = glGetUniformLocation(program, "atlasRect");
  textProgram.colour = glGetUniformLocation(program, "colour");
  GLint previousProgram = 0;
  glGetIntegerv(GL_CURRENT_PROGRAM, &previousProgram);
  glUseProgram(program);
  glUniform1i(glGetUniformLocation(program, "atlas"), 0);
  glUseProgram(static_cast<GLuint>(previousProgram));

  glGenVertexArrays(1, &textProgram.vertexArray);
  glGenSamplers(1, &textProgram.sampler);
  glSamplerParameteri(textProgram.sampler, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glSamplerParameteri(textProgram.sampler, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glSamplerParameteri(textProgram.sampler, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glSamplerParameteri(textProgram.sampler, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  return true;
}

void setCapability(GLenum capability, bool on) {
  if (on) {
    glEnable(capability);
  } else {
    glDisable(capability);
  }
}

void saveAndPrepareState() {
  SavedState& saved = state.saved;
  glGetIntegerv(GL_CURRENT_PROGRAM, &saved.program);
  glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &saved.vertexArray);
  glGetIntegerv(GL_ACTIVE_TEXTURE, &saved.activeTexture);
  glActiveTexture(GL_TEXTURE0);
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &saved.texture);
  glGetIntegerv(GL_SAMPLER_BINDING, &saved.sampler);
  glGetIntegerv(GL_BLEND_SRC_RGB, &saved.blendSourceRgb);
  glGetIntegerv(GL_BLEND_DST_RGB, &saved.blendDestinationRgb);
  glGetIntegerv(GL_BLEND_SRC_ALPHA, &saved.blendSourceAlpha);
  glGetIntegerv(GL_BLEND_DST_ALPHA, &saved.blendDestinationAlpha);
  glGetIntegerv(GL_BLEND_EQUATION_RGB, &saved.blendEquationRgb);
  glGetIntegerv(GL_BLEND_EQUATION_ALPHA, &saved.blendEquationAlpha);
  saved.blend = glIsEnabled(GL_BLEND);
  saved.depthTest = glIsEnabled(GL_DEPTH_TEST);
  saved.stencilTest = glIsEnabled(GL_STENCIL_TEST);
  saved.scissorTest = glIsEnabled(GL_SCISSOR_TEST);
  saved.cullFace = glIsEnabled(GL_CULL_FACE);

  GLint framebuffer = 0;
  glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &framebuffer);
  state.topRowFirst = framebuffer != 0;
  glGetIntegerv(GL_VIEWPORT, state.viewport);

  glUseProgram(state.program.program);
  glBindVertexArray(state.program.vertexArray);
  glBindSampler(0, state.program.sampler);
  glEnable(GL_BLEND);
  glBlendEquation(GL_FUNC_ADD);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_STENCIL_TEST);
  glDisable(GL_SCISSOR_TEST);
  glDisable(GL_CULL_FACE);
}

void restoreState() {
  const SavedState& saved = state.saved;
  glUseProgram(static_cast<GLuint>(saved.program));
  glBindVertexArray(static_cast<GLuint>(saved.vertexArray));
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(saved.texture));
  glBindSampler(0, static_cast<GLuint>(saved.sampler));
  glActiveTexture(static_cast<GLenum>(saved.activeTexture));
  glBlendEquationSeparate(static_cast<GLenum>(saved.blendEquationRgb),
                          static_cast<GLenum>(saved.blendEquationAlpha));
  glBlendFuncSeparate(static_cast<GLenum>(saved.blendSourceRgb),
                      static_cast<GLenum>(saved.blendDestinationRgb),
                      static_cast<GLenum>(saved.blendSourceAlpha),
                      static_cast<GLenum>(saved.blendDestinationAlpha));
  setCapability(GL_BLEND, saved.blend == GL_TRUE);
  setCapability(GL_DEPTH_TEST, saved.depthTest == GL_TRUE);
  setCapability(GL_STENCIL_TEST, saved.stencilTest == GL_TRUE);
  setCapability(GL_SCISSOR_TEST, saved.scissorTest == GL_TRUE);
  setCapability(GL_CULL_FACE, saved.cullFace == GL_TRUE);
}

// Pixel x (right) and y (down from the viewport's top) to clip space.
float clipX(float x) { return 2.0f * x / static_cast<float>(state.viewport[2]) - 1.0f; }
float clipY(float y) {
  const float fromTop = 2.0f * y / static_cast<float>(state.viewport[3]);
  return state.topRowFirst ? fromTop - 1.0f : 1.0f - fromTop;
}

float channel(uint32_t colour, int shift) {
  return static_cast<float>((colour >> shift) & 0xFFu) / 255.0f;
}

void drawLine(const TextFont& font, const char* text, const FontRect& rect, uint32_t colour) {
  if (state.viewport[2] <= 0 || state.viewport[3] <= 0) return;
  const TextProgram& textProgram = state.program;
  float lineWidth = 0.0f;
  for (const char* c = text; *c; ++c) {
    const int code = static_cast<unsigned char>(*c);
    if (code >= kFirstAtlasCode && code <= kLastAtlasCode) {
      lineWidth += font.glyphs[code - kFirstAtlasCode].advance;
    }
  }
  // Centre the line on the rectangle's mid-point; the pen and the baseline
  // land on whole pixels so the glyph bitmaps map one to one onto pixels.
  const float middleX = static_cast<float>(rect.left + rect.right) * 0.5f;
  const float middleY = static_cast<float>(rect.top + rect.bottom) * 0.5f;
  const float lineLeft = middleX - lineWidth * 0.5f;
  const float baseline = std::round(middleY - (font.ascent + font.descent) * 0.5f + font.ascent);

  glBindTexture(GL_TEXTURE_2D, font.texture);
  glUniform4f(textProgram.colour, channel(colour, 16), channel(colour, 8), channel(colour, 0),
              channel(colour, 24));
  const float atlasWidth = static_cast<float>(font.atlasWidth);
  const float atlasHeight = static_cast<float>(font.atlasHeight);
  float pen = 0.0f;
  for (const char* c = text; *c; ++c) {
    const int code = static_cast<unsigned char>(*c);
    if (code < kFirstAtlasCode || code > kLastAtlasCode) continue;
    const AtlasGlyph& glyph = font.glyphs[code - kFirstAtlasCode];
    if (glyph.width > 0 && glyph.height > 0) {
      const float left = std::round(lineLeft + pen) + static_cast<float>(glyph.left);
      const float top = baseline - static_cast<float>(glyph.top);
      const float right = left + static_cast<float>(glyph.width);
      const float bottom = top + static_cast<float>(glyph.height);
      glUniform4f(textProgram.corners, clipX(left), clipY(top), clipX(right), clipY(bottom));
      glUniform4f(textProgram.atlasRect, static_cast<float>(glyph.x) / atlasWidth,
                  static_cast<float>(glyph.y) / atlasHeight,
                  static_cast<float>(glyph.x + glyph.width) / atlasWidth,
                  static_cast<float>(glyph.y + glyph.height) / atlasHeight);
      glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    }
    pen += glyph.advance;
  }
}

}  // namespace

TextFont* createFont(int32_t height, int32_t width, const char* faceName, std::string* error) {
  if (state.fontCount == kMostFonts) {
    *error = platformFailure("no room for another font object (" + std::to_string(kMostFonts) + " made)");
    return nullptr;
  }
  FontAtlas atlas;
  if (!rasteriseFontAtlas(faceName, height, width, atlas, error)) return nullptr;
  if (!ensureProgram(error)) {
    *error = platformFailure("the text drawing resources cannot be made", *error);
    return nullptr;
  }

  auto font = std::make_unique<TextFont>();
  font->atlasWidth = atlas.width;
  font->atlasHeight = atlas.height;
  font->ascent = atlas.ascent;
  font->descent = atlas.descent;
  for (int g = 0; g < kAtlasGlyphs; ++g) font->glyphs[g] = atlas.glyphs[g];

  GLint previousTexture = 0;
  GLint previousActive = 0;
  GLint previousAlignment = 0;
  GLint previousUnpackBuffer = 0;
  glGetIntegerv(GL_ACTIVE_TEXTURE, &previousActive);
  glActiveTexture(GL_TEXTURE0);
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &previousTexture);
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);
  glGetIntegerv(GL_PIXEL_UNPACK_BUFFER_BINDING, &previousUnpackBuffer);
  glGenTextures(1, &font->texture);
  glBindTexture(GL_TEXTURE_2D, font->texture);
  glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, atlas.width, atlas.height, 0, GL_RED, GL_UNSIGNED_BYTE,
               atlas.coverage.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
  glBindBuffer(GL_PIXEL_UNPACK_BUFFER, static_cast<GLuint>(previousUnpackBuffer));
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previousTexture));
  glActiveTexture(static_cast<GLenum>(previousActive));

  state.fonts[state.fontCount] = std::move(font);
  return state.fonts[state.fontCount++].get();
}

void releaseFontObjects() {
  endTextDrawing();
  for (int i = 0; i < state.fontCount; ++i) glDeleteTextures(1, &state.fonts[i]->texture);
  const TextProgram& textProgram = state.program;
  if (textProgram.program) {
    glDeleteProgram(textProgram.program);
    glDeleteVertexArrays(1, &textProgram.vertexArray);
    glDeleteSamplers(1, &textProgram.sampler);
  }
  state = GlText{};
}

bool prepareTextDrawing(std::string* error) { return ensureProgram(error); }

void beginTextDrawing() {
  if (state.drawing || !state.program.program) return;
  saveAndPrepareState();
  state.drawing = true;
}

void endTextDrawing() {
  if (!state.drawing) return;
  restoreState();
  state.drawing = false;
}

void drawText(TextFont* font, const char* text, const FontRect& rect, uint32_t colour) {
  if (!font || !text || !state.program.program) return;
  if (state.drawing) {
    drawLine(*font, text, rect, colour);
    return;
  }
  saveAndPrepareState();
  drawLine(*font, text, rect, colour);
  restoreState();
}
