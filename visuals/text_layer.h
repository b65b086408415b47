#pragma once

// The text layer: three font objects made once at start-up, and every frame
// the page of text drawn into the current render target.
void createTextFonts();
void drawTextLayer();
