#include "tools/capture/wav_file.h"

#include <bit>
#include <cstring>

#include "tools/capture/staged_output.h"

static_assert(std::endian::native == std::endian::little, "samples are written as they lie in memory");

namespace {

constexpr uint16_t kFormatIeeeFloat = 3;
constexpr uint16_t kBitsPerSample = 32;

struct HeaderWriter {
  std::array<uint8_t, kWavHeaderSize> bytes{};
  size_t at = 0;
  void tag(const char (&name)[5]) {
    std::memcpy(bytes.data() + at, name, 4);
    at += 4;
  }
  void u16(uint16_t v) {
    bytes[at++] = static_cast<uint8_t>(v);
    bytes[at++] = static_cast<uint8_t>(v >> 8);
  }
  void u32(uint32_t v) {
    u16(static_cast<uint16_t>(v));
    u16(static_cast<uint16_t>(v >> 16));
  }
};

}  // namespace

std::array<uint8_t, kWavHeaderSize> floatWavHeader(uint32_t frames, uint16_t channels, uint32_t sampleRate) {
  const uint32_t blockAlign = channels * (kBitsPerSample / 8u);
  const uint32_t dataBytes = frames * blockAlign;
  HeaderWriter h;
  h.tag("RIFF");
  h.u32(static_cast<uint32_t>(kWavHeaderSize - 8) + dataBytes);
  h.tag("WAVE");
  h.tag("fmt ");
  h.u32(18);  // a non-PCM format carries the extension size
  h.u16(kFormatIeeeFloat);
  h.u16(channels);
  h.u32(sampleRate);
  h.u32(sampleRate * blockAlign);
  h.u16(static_cast<uint16_t>(blockAlign));
  h.u16(kBitsPerSample);
  h.u16(0);
  h.tag("fact");
  h.u32(4);
  h.u32(frames);
  h.tag("data");
  h.u32(dataBytes);
  return h.bytes;
}

bool writeFloatWav(int descriptor, const std::string& name, const float* interleaved, uint32_t soundFrames,
                   uint32_t frames, uint16_t channels, uint32_t sampleRate, std::string* error) {
  if (soundFrames > frames) soundFrames = frames;
  const uint64_t samples = uint64_t{frames} * channels;
  const uint64_t soundSamples = uint64_t{soundFrames} * channels;
  if (samples * 4 + kWavHeaderSize - 8 > UINT32_MAX) {
    *error = "'" + name + "': too many samples for a WAVE file";
    return false;
  }
  const std::array<uint8_t, kWavHeaderSize> header = floatWavHeader(frames, channels, sampleRate);
  if (!writeAll(descriptor, name, header.data(), header.size(), error) ||
      !writeAll(descriptor, name, interleaved, soundSamples * sizeof(float), error))
    return false;
  static const float silence[1024] = {};
  for (uint64_t left = samples - soundSamples; left > 0;) {
    const size_t block = left < 1024 ? static_cast<size_t>(left) : 1024;
    if (!writeAll(descriptor, name, silence, block * sizeof(float), error)) return false;
    left -= block;
  }
  return true;
}
