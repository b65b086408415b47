#pragma once

// The text layer: three font objects made once at start-up, and every frame
// the page of text drawn into the current render target.
void createTextFonts();
void drawTextLayer();

// Lets the three fonts go while the graphics context is still current
// (tools and tests that close graphics and open them again).
void releaseTextFonts();
