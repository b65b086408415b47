// Placeholder bodies until the text layer lands: no fonts, no text.
#include "visuals/text_layer.h"

void createTextFonts() {}

void drawTextLayer() {}
