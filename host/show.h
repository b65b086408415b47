// The show from start to end: setup dialog, graphics, audio, frame loop.
#pragma once

#include <cstdint>

// The program's entry. Returns -1 when the viewer cancels the dialog; every
// other end goes through shutdown and does not return.
int runShow(int32_t instance);

// Font, window "Talon/Vexa" with its device, screen sizes, targets, effect
// and screen resources. Ends the process itself when one of them fails:
// status 0 without the font (as the show always has), 1 for the rest.
void initGraphics();

// Frames until the song has played to its end or Escape is pressed.
void runFrameLoop();

// Removes the font, stops the audio device and ends the process with status 0.
[[noreturn]] void shutdown();
