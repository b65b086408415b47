#include "visuals/text_layer.h"

#include "host/frame_values.h"
#include "host/intro_config.h"
#include "platform/font.h"
#include "visuals/frame_resources.h"
#include "visuals/text_layout.h"

// One font object per layer (shadow, highlight, face), all alike.
TextFont* textFonts[kTextLayers];

namespace {

constexpr char kTextFace[] = "C64 Pro";

TextCharacterLayout frameLayout[kTextCharacters];

}  // namespace

void createTextFonts() {
  // Glyphs height / 30 pixels high and width / 30 wide: stretched sideways.
  for (TextFont*& font : textFonts) {
    font = createFont(config->height / 30, config->width / 30, kTextFace);
  }
}

void drawTextLayer() {
  const int32_t width = config->width;
  const int32_t height = config->height;
  layoutTextFrame(musicTime, previousMusicTime, width, height, screenWidth, screenHeight, textPage,
                  textCountdown, frameLayout);

  // Character by character, each in its three layers: later characters and
  // layers cover earlier ones where they overlap.
  beginTextDrawing();
  char text[2] = {'\0', '\0'};
  for (const TextCharacterLayout& character : frameLayout) {
    text[0] = character.code;
    for (int layer = 0; layer < kTextLayers; ++layer) {
      const TextRect& rect = character.rects[layer];
      drawText(textFonts[layer], text, FontRect{rect.left, rect.top, rect.right, rect.bottom},
               character.colours[layer]);
    }
  }
  endTextDrawing();
}

void releaseTextFonts() {
  for (TextFont*& font : textFonts) font = nullptr;
  releaseFontObjects();
}
