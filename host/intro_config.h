// The one configuration record of the show.
#pragma once

#include <cstdint>

struct IntroConfig {
  int32_t width;          // display width in pixels
  int32_t height;         // display height in pixels
  int32_t windowed;       // 0 full screen, 1 in a window (the dialog's box shows the inverse)
  int32_t threadedSound;  // nonzero: the song renders on its own thread while it plays
  int32_t postProcess;    // nonzero: off-screen path with glow and overlay
  int32_t instance;       // opaque module token of the program; no meaning on this platform
};
static_assert(sizeof(IntroConfig) == 24, "six 32-bit fields");

// Read everywhere through this pointer; the setup dialog publishes it.
extern IntroConfig* config;

// The defaults the show starts from.
void setIntroDefaults(IntroConfig& record, int32_t instance);
