// The default audio output: 44 100 frames a second, two float channels,
// left first. The device pulls frames through a callback on its own thread.
#pragma once

#include <cstdint>
#include <string>

using AudioPull = void (*)(float* interleaved, uint32_t frames, void* user);

// Opens and starts the device. On failure returns false with the reason.
bool openAudioOutput(AudioPull pull, void* user, std::string& reason);
// Stops the device and lets it finish what it was writing.
void closeAudioOutput();
