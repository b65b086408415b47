// The wobbling page of text drawn over the scene every frame.
#pragma once

// Creates the three fonts of the text layer (called by createScreenResources).
void createTextFonts();

// Draws the page into the current render target (called by renderFrame
// right after the scene pass).
void drawTextLayer();
