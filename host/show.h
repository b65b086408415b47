// The show from start to end: setup dialog, graphics, audio, frame loop.
#pragma once

#include <cstdint>
#include <string>

#include "host/show_state.h"

// The show's carried state, stepped by the frame loop; default at start.
extern ShowState showState;

// The program's entry. Returns -1 when the viewer cancels the dialog; every
// other end goes through shutdown and does not return. SIGINT, SIGTERM and
// SIGHUP end the show like Escape, and the dialog like CANCEL; either way
// the exit status is 128 + the signal's number.
int runShow(int32_t instance);

// Font, window "Talon/Vexa" with its device, screen sizes, targets, effect
// and screen resources, for config's size and path. Ends the process itself
// with status 1, after a message, when one of them fails.
void initGraphics();

// A start-up step outside runShow that cannot go on (a page's audio start):
// the viewer is told why and the show ends as initGraphics' failures do.
[[noreturn]] void cannotStartShow(const std::string& reason);

// One frame: reads the clock, keeps the song ahead of it, steps the frame's
// values and draws them. False once the song has played to its end or
// Escape has been pressed. The desktop's frame loop calls it until then;
// a page calls it once per animation frame.
bool stepShow();

// Frames until the song has played to its end or Escape is pressed.
void runFrameLoop();

// Back to the state before initGraphics and startAudio, for another show
// in the same process (a page): the audio output and the song
// (resetAudio), the renderer, the window, the font and showState. A render
// beside playback must have stopped.
void resetShow();

// Removes the font, stops the audio device and ends the process with status
// 0, or 128 + the signal's number after a stop signal.
[[noreturn]] void shutdown();
