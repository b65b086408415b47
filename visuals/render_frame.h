// Draws and presents one frame of the show.
#pragma once

#include "visuals/frame_inputs.h"
#include "visuals/text_layout.h"

// Sets the frame's effect values, draws the frame into the back buffer and
// presents it. The text layer steps `pageState` (the caller's carried page
// state) by the frame's music time.
void renderFrame(const FrameInputs& frame, TextPageState& pageState);

// renderFrame without presenting: the back buffer keeps the frame, for
// reading it back (offline capture).
void drawFrame(const FrameInputs& frame, TextPageState& pageState);

// The steps of drawFrame, in the order a post-processed frame takes them
// (the text layer draws between the scene pass and the blur). The effect's
// values must be set (setEffectValues) and the effect must have begun for
// the scene pass and the blur passes.
void drawScenePass();   // pass 0 into the scene target (post) or the back buffer (direct),
                        // or, supersampling, into the sample target
void drawGlowBlur();    // three blur passes into the quarter-size targets
void addGlow();         // the glow stretched over the scene target, added
void drawOverlay();     // the overlay picture blended by its alpha
void copySceneToBackBuffer();
