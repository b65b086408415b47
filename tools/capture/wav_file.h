// WAVE files of 32-bit float samples (format tag 3, IEEE float), as the
// capture tool writes them: a RIFF header with 'fmt ', 'fact' and 'data'
// chunks, then the interleaved samples, little-endian.
#pragma once

#include <array>
#include <cstdint>
#include <string>

inline constexpr size_t kWavHeaderSize = 58;

// The header of a file holding `frames` frames of `channels` floats at
// `sampleRate` frames per second. The data must fit the format's 32-bit
// sizes (less than 4 GiB).
std::array<uint8_t, kWavHeaderSize> floatWavHeader(uint32_t frames, uint16_t channels, uint32_t sampleRate);

// Writes a file of `frames` frames to the descriptor: the header, the first
// `soundFrames` frames from `interleaved`, silence for the rest (a
// soundtrack that reaches past the end of the song). False with the reason,
// naming the file as `name`, when a write fails (a full disk).
bool writeFloatWav(int descriptor, const std::string& name, const float* interleaved, uint32_t soundFrames,
                   uint32_t frames, uint16_t channels, uint32_t sampleRate, std::string* error);
