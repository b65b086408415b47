// The wobbling page of text drawn over the scene every frame.
#pragma once

#include <string>

#include "visuals/text_layout.h"

// The face the page is drawn in; it must be installed before the renderer
// starts.
constexpr char kTextFace[] = "C64 Pro";

// Creates the text drawing resources and the three fonts of the text layer
// at rendererSettings' size (called by createScreenResources). False with
// the reason when the drawing resources or a font cannot be made, a face
// that is not installed included.
bool createTextFonts(std::string* error);

// Draws the page into the current render target (called by renderFrame
// right after the scene pass) at music time `musicTime`, the previous frame
// having been at `previousMusicTime`; steps `pageState` on the way.
void drawTextLayer(float musicTime, float previousMusicTime, TextPageState& pageState);

// Lets the three fonts go while the graphics context is still current
// (called by releaseFrameResources, for tools and tests that close graphics
// and open them again).
void releaseTextFonts();
