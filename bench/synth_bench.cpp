// The synthesizer's speed: the whole song (real-time factor = song length
// divided by render time), the song with every track busy, and each unit
// kind on its own.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "synth/delay_unit.h"
#include "synth/render_song.h"
#include "synth/routing_units.h"
#include "synth/shaping_units.h"
#include "synth/shared_buffers.h"
#include "synth/song_instruments.h"
#include "synth/song_music.h"
#include "synth/source_units.h"

namespace {

constexpr double kSongSeconds = static_cast<double>(kSongFrames) / kSampleRate;

// Renders the song once per iteration; the reset between renders is not
// timed. Reports the real-time factor: song seconds per second of render.
void renderBench(benchmark::State& state, const SongData& song) {
  double seconds = 0;
  for (auto _ : state) {
    resetSynth();
    const auto start = std::chrono::steady_clock::now();
    std::string error;
    if (!renderSongFrames(song, SynthOutput, kSongFrames, &error)) state.SkipWithError(error.c_str());
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(elapsed);
    seconds += elapsed;
  }
  state.counters["realtime_factor"] = kSongSeconds * static_cast<double>(state.iterations()) / seconds;
}

void BM_WholeSong(benchmark::State& state) { renderBench(state, shippedSong()); }
BENCHMARK(BM_WholeSong)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(5);

// Every track plays notes all song long (the known patterns everywhere):
// the heaviest load the instruments can make.
void BM_AllTracksBusy(benchmark::State& state) {
  static uint8_t orders[kTrackCount * kOrderLength];
  for (uint32_t k = 0; k < kTrackCount; ++k) {
    for (uint32_t n = 0; n < kOrderLength; ++n) orders[k * kOrderLength + n] = (k + n) % 3 == 0 ? 48 : (k + n) % 3 == 1 ? 25 : 54;
  }
  renderBench(state, SongData{patternTable, orders, programTable, paramTable, delayLengthTable});
}
BENCHMARK(BM_AllTracksBusy)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(5);

// Inputs for the processing units: a slow sine with a little noise.
const std::vector<double>& inputs() {
  static const std::vector<double> values = [] {
    std::vector<double> v(4096);
    for (size_t i = 0; i < v.size(); ++i) v[i] = 0.8 * std::sin(0.01 * static_cast<double>(i)) + 0.05 * std::sin(1.7 * static_cast<double>(i));
    return v;
  }();
  return values;
}

// Parameter values p of bytes.
template <size_t N>
std::array<float, N> values(const uint8_t (&bytes)[N]) {
  std::array<float, N> p{};
  for (size_t i = 0; i < N; ++i) p[i] = static_cast<float>(bytes[i]) / 128.0f;
  return p;
}

void BM_Envelope(benchmark::State& state) {
  const uint8_t bytes[5] = {64, 64, 0, 64, 128};  // attack and decay of 4096 samples each
  const EnvelopeParams e = decodeEnvelope(values(bytes).data());
  VoiceRecord voice{};
  voice.note = 60;
  double sink = 0;
  uint32_t n = 0;
  for (auto _ : state) {
    sink += envelopeStep(e, voice, voice.workspace[0]);
    if (++n == 8192) {  // a new note
      n = 0;
      std::memset(voice.workspace[0], 0, sizeof voice.workspace[0]);
    }
  }
  benchmark::DoNotOptimize(sink);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Envelope);

// Oscillator by its flags: 1 sine, 2 trisaw, 4 pulse, 8 noise, 17 sine LFO.
void BM_Oscillator(benchmark::State& state) {
  const uint8_t bytes[7] = {64, 64, 0, 64, 96, 128, static_cast<uint8_t>(state.range(0))};
  const OscillatorParams o = decodeOscillator(values(bytes).data(), bytes);
  float ws[8] = {};
  PitchCache cache{std::numeric_limits<double>::quiet_NaN(), 0.0};
  double sink = 0;
  for (auto _ : state) sink += oscillatorStep(o, o.flags, 60, ws, &cache);
  benchmark::DoNotOptimize(sink);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Oscillator)->Arg(kWaveSine)->Arg(kWaveTrisaw)->Arg(kWavePulse)->Arg(kWaveNoise)->Arg(kWaveSine | kOscillatorLfo);

void BM_Filter(benchmark::State& state) {
  const uint8_t bytes[3] = {64, 40, kFilterLow};
  const FilterParams f = decodeFilter(values(bytes).data(), bytes);
  float ws[8] = {};
  const std::vector<double>& in = inputs();
  double sink = 0;
  size_t i = 0;
  for (auto _ : state) sink += filterStep(f, f.type, ws, in[i++ & 4095]);
  benchmark::DoNotOptimize(sink);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Filter);

void BM_Distortion(benchmark::State& state) {
  const uint8_t bytes[2] = {120, 128};
  const DistortionParams d = decodeDistortion(values(bytes).data());
  float ws[8] = {};
  const std::vector<double>& in = inputs();
  double sink = 0;
  size_t i = 0;
  for (auto _ : state) sink += distortionStep(d, ws, 1.5 * in[i++ & 4095]);
  benchmark::DoNotOptimize(sink);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Distortion);

// Delay by its line count, on the reverb lengths, modulated.
void BM_Delay(benchmark::State& state) {
  const uint8_t lines = static_cast<uint8_t>(state.range(0));
  const uint8_t bytes[8] = {40, 128, 125, 64, 128, 64, 0, lines};
  const DelayParams dp = decodeDelay(values(bytes).data(), bytes);
  std::vector<DelayLine> pool(lines + 1u);
  std::memset(pool.data(), 0, pool.size() * sizeof(DelayLine));
  const std::vector<double>& in = inputs();
  double sink = 0;
  size_t i = 0;
  for (auto _ : state) sink += delayStep(dp, lines, in[i++ & 4095], pool.data(), delayLengthTable, pool.back());
  benchmark::DoNotOptimize(sink);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Delay)->Arg(1)->Arg(8);

void BM_StackOperation(benchmark::State& state) {
  double stack[8] = {0.5, 0.25, 0.125, 1.0};
  for (auto _ : state) {
    stackOperationUnit(kStackSwap, stack + 4);
    stackOperationUnit(kStackStereoAdd, stack + 4);
    stackOperationUnit(kStackDuplicate, stack + 2);
    stackOperationUnit(kStackDuplicate, stack + 3);
    benchmark::DoNotOptimize(stack);
  }
  state.SetItemsProcessed(state.iterations() * 4);
}
BENCHMARK(BM_StackOperation);

void BM_StorePanOut(benchmark::State& state) {
  VoiceRecord voice{};
  const std::vector<double>& in = inputs();
  size_t i = 0;
  for (auto _ : state) {
    const double x = in[i++ & 4095];
    storeStep(storeFactor(0.75), 8, x, voice);
    const StereoPair pair = panStep(0.4, voice.workspace[1], x);
    outStep(0.9, 0.2, voice.workspace[2], pair.left, pair.right, voice);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 3);
}
BENCHMARK(BM_StorePanOut);

void BM_Accumulate(benchmark::State& state) {
  double sink = 0;
  for (auto _ : state) {
    const StereoPair sums = accumulateStep(kAccumulateMain, voiceRecords);
    sink += sums.left + sums.right;
    benchmark::ClobberMemory();
  }
  benchmark::DoNotOptimize(sink);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Accumulate);

}  // namespace

BENCHMARK_MAIN();
