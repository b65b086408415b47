// The wobbling page of text drawn over the scene every frame.
#pragma once

#include <string>

#include "visuals/text_layout.h"

// Creates the text drawing resources and the three fonts of the text layer
// at rendererSettings' size (called by createScreenResources). False with
// the driver's message when the drawing resources cannot be made; a face
// that is not installed is no failure (its fonts draw nothing).
bool createTextFonts(std::string* error);

// Draws the page into the current render target (called by renderFrame
// right after the scene pass) at music time `musicTime`, the previous frame
// having been at `previousMusicTime`; steps `pageState` on the way.
void drawTextLayer(float musicTime, float previousMusicTime, TextPageState& pageState);

// Lets the three fonts go while the graphics context is still current
// (called by releaseFrameResources, for tools and tests that close graphics
// and open them again).
void releaseTextFonts();
