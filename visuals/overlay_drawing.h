// The overlay picture's drawing: plain arithmetic, the same bytes on every
// platform that rounds single-precision floats as written.
#pragma once

#include "visuals/overlay_picture.h"

// Draws the whole picture (kOverlayBytes, rows top to bottom, RGB) into
// `picture`, overwriting every byte.
void drawOverlayPicture(unsigned char* picture);
