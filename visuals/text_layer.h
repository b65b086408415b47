// The wobbling page of text drawn over the scene every frame.
#pragma once

// Creates the three fonts of the text layer (called by createScreenResources).
void createTextFonts();

// Draws the page into the current render target (called by renderFrame
// right after the scene pass).
void drawTextLayer();

// Lets the three fonts go while the graphics context is still current
// (called by releaseFrameResources, for tools and tests that close graphics
// and open them again).
void releaseTextFonts();
