// libFuzzer target: arbitrary song tables go to the validator; every set
// that passes is rendered for 5 300 frames (across the first tick
// boundary); its music, when it passes with the shipped instruments, is
// also rendered with them by the fast path and by the byte-code machine,
// which must agree in every bit.
//
// Input layout, little-endian:
//   u16 program bytes P, u16 parameter bytes Q, u8 delay lengths L,
//   u8 patterns M, then P program bytes, Q parameter bytes, L u16
//   lengths, 16 M pattern bytes and the order table (1116 bytes).
// A table that the input ends inside is cut short there (and then usually
// refused).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "synth/render_song.h"
#include "synth/shared_buffers.h"
#include "synth/song_instruments.h"
#include "synth/song_validation.h"

namespace {

constexpr uint32_t kFuzzFrames = 5300;
constexpr uint32_t kFuzzRows = (kFuzzFrames + kFramesPerEnvelopeRow - 1) / kFramesPerEnvelopeRow;

struct Reader {
  const uint8_t* data;
  size_t size;
  size_t at = 0;
  size_t take(size_t n) {
    const size_t available = at < size ? size - at : 0;
    const size_t got = n < available ? n : available;
    at += got;
    return got;
  }
};

float outputA[2 * kFuzzFrames];
float outputB[2 * kFuzzFrames];
float recordingA[kFuzzRows][kEnvelopeColumns];

bool sameRecording() {
  for (uint32_t r = 0; r < kFuzzRows; ++r) {
    for (uint32_t c = 0; c < kEnvelopeColumns; ++c) {
      const float a = recordingA[r][c];
      const float b = EnvelopeRecording[r][c];
      if (std::memcmp(&a, &b, sizeof a) != 0 && !(std::isnan(a) && std::isnan(b))) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 6) return 0;
  const uint32_t programBytes = data[0] | data[1] << 8;
  const uint32_t paramBytes = data[2] | data[3] << 8;
  const uint32_t lengthCount = data[4];
  const uint32_t patternCount = data[5];
  Reader in{data, size, 6};
  const uint8_t* p = data + in.at;
  const std::vector<uint8_t> programs(p, p + in.take(programBytes));
  p = data + in.at;
  const std::vector<uint8_t> params(p, p + in.take(paramBytes));
  p = data + in.at;
  std::vector<uint16_t> lengths(in.take(2 * lengthCount) / 2);
  if (!lengths.empty()) std::memcpy(lengths.data(), p, lengths.size() * 2);
  p = data + in.at;
  const std::vector<uint8_t> patterns(p, p + in.take(kRowsPerPattern * patternCount));
  p = data + in.at;
  const std::vector<uint8_t> orders(p, p + in.take(kTrackCount * kOrderLength));
  const SongData song{patterns, orders, programs, params, lengths};

  std::string error;
  if (!validateSongData(song, &error)) {
    if (error.empty()) std::abort();  // a refusal always says why
    return 0;
  }
  resetSynth();
  if (!renderSongFrames(song, outputA, kFuzzFrames, &error)) std::abort();
  for (float v : outputA) {
    if (!(v >= -1.0f && v <= 1.0f)) std::abort();  // the clip lets nothing else through
  }
  const SongData shippedInstruments{patterns, orders, programTable, paramTable, delayLengthTable};
  if (!validateSongData(shippedInstruments, &error)) return 0;
  resetSynth();
  if (!renderSongFrames(shippedInstruments, outputA, kFuzzFrames, &error)) std::abort();
  std::memcpy(recordingA, EnvelopeRecording, sizeof recordingA);
  resetSynth();
  if (!renderSongFramesByteCode(shippedInstruments, outputB, kFuzzFrames, &error)) std::abort();
  if (std::memcmp(outputA, outputB, sizeof outputA) != 0 || !sameRecording()) {
    std::fprintf(stderr, "the fast path and the byte-code machine disagree\n");
    std::abort();
  }
  return 0;
}
