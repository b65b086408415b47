// WAVE files of 32-bit float samples (format tag 3, IEEE float), as the
// capture tool writes them: a RIFF header with 'fmt ', 'fact' and 'data'
// chunks, then the interleaved samples, little-endian.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

inline constexpr size_t kWavHeaderSize = 58;

// The header of a file holding `frames` frames of `channels` floats at
// `sampleRate` frames per second. The data must fit the format's 32-bit
// sizes (less than 4 GiB).
std::array<uint8_t, kWavHeaderSize> floatWavHeader(uint32_t frames, uint16_t channels, uint32_t sampleRate);

struct WavFile {
  std::FILE* file = nullptr;
  std::string path;
};

// Creates (or truncates) the file. On failure returns false with the
// reason in `error`.
bool openWavFile(WavFile& wav, const std::string& path, std::string& error);

// Writes the header and the samples and closes the file; on a failed write
// (a full disk) returns false with the reason, the file closed.
bool writeFloatWav(WavFile& wav, const float* interleaved, uint32_t frames, uint16_t channels, uint32_t sampleRate,
                   std::string& error);

// writeFloatWav for a file of `frames` frames whose first `soundFrames`
// come from `interleaved` and the rest are silence (a soundtrack that
// reaches past the end of the song).
bool writeFloatWavPadded(WavFile& wav, const float* interleaved, uint32_t soundFrames, uint32_t frames,
                         uint16_t channels, uint32_t sampleRate, std::string& error);
