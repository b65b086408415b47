#include "visuals/text_layer.h"

#include "platform/font.h"
#include "visuals/frame_resources.h"
#include "visuals/text_layout.h"

// One font object per layer (shadow, highlight, face), all alike.
TextFont* textFonts[kTextLayers];

namespace {

TextCharacterLayout frameLayout[kTextCharacters];

}  // namespace

bool createTextFonts(std::string* error) {
  if (!prepareTextDrawing(error)) {
    *error = "Could not prepare the text layer: " + *error;
    return false;
  }
  // Glyphs height / 30 pixels high and width / 30 wide: stretched sideways;
  // supersampling, that many times larger, for the sample target.
  const int32_t scale = rendererSettings.supersample;
  for (TextFont*& font : textFonts) {
    font = createFont(scale * (rendererSettings.height / 30), scale * (rendererSettings.width / 30), kTextFace,
                      error);
    if (!font) {
      *error = "Could not make the text layer's font: " + *error;
      return false;
    }
  }
  return true;
}

void drawTextLayer(float musicTime, float previousMusicTime, TextPageState& pageState) {
  layoutTextFrame(musicTime, previousMusicTime, rendererSettings.width, rendererSettings.height, screenWidth,
                  screenHeight, pageState, frameLayout);

  // Character by character, each in its three layers: later characters and
  // layers cover earlier ones where they overlap. Supersampling, the layout
  // of the screen is scaled onto the sample target: the same places, finer
  // glyphs.
  const int32_t scale = rendererSettings.supersample;
  beginTextDrawing();
  char text[2] = {'\0', '\0'};
  for (const TextCharacterLayout& character : frameLayout) {
    text[0] = character.code;
    for (int layer = 0; layer < kTextLayers; ++layer) {
      const TextRect& rect = character.rects[layer];
      drawText(textFonts[layer], text,
               FontRect{scale * rect.left, scale * rect.top, scale * rect.right, scale * rect.bottom},
               character.colours[layer]);
    }
  }
  endTextDrawing();
}

void releaseTextFonts() {
  for (TextFont*& font : textFonts) font = nullptr;
  releaseFontObjects();
}
