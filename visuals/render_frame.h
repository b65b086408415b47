// Draws and presents one frame of the show.
#pragma once

// Draws the frame into the back buffer and presents it. The effect's "e",
// "m", "t" and "u" must be set for this frame.
void renderFrame();

// renderFrame without presenting: the back buffer keeps the frame, for
// reading it back (offline capture).
void drawFrame();

// The steps of drawFrame, in the order a post-processed frame takes them.
// The effect must have begun for the scene pass and the blur passes.
void drawScenePass();   // pass 0 into the scene target (post) or the back buffer (direct)
void drawGlowBlur();    // three blur passes into the quarter-size targets
void addGlow();         // the glow stretched over the scene target, added
void drawOverlay();     // the overlay picture blended by its alpha
void copySceneToBackBuffer();
