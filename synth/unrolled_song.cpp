#include "synth/unrolled_song.h"

#include <array>
#include <limits>
#include <utility>

#include "synth/opcodes.h"
#include "synth/program_layout.h"
#include "synth/sequencer.h"
#include "synth/song_instruments.h"
#include "synth/unit_steps.h"
#include "synth/unit_table.h"

namespace {

// What a sample's steps do beyond the units' opcodes: kEndOfProgram ends a
// track's program (the voice-off rule of its record), kEndOfSample ends the
// master program and with it the sample.
inline constexpr uint8_t kEndOfSample = kOpcodeCount;

// What ends program k.
constexpr uint8_t programEnd(uint32_t k) { return k == kMasterProgram ? kEndOfSample : uint8_t{kEndOfProgram}; }

// What the build knows of one program byte: the unit's layout (for a
// program's end, programEnd's opcode at the place after its last unit),
// the modulation slots of its workspace that a store of the program
// writes, and for an envelope or an oscillator its number among the
// units of its kind.
struct UnrolledStep {
  UnitLayout at;
  uint8_t live;
  uint8_t ordinal;
};

constexpr bool endsProgram(uint8_t opcode) { return opcode == kEndOfProgram || opcode == kEndOfSample; }

constexpr std::array<UnrolledStep, kProgramTableSize> unrollShippedPrograms() {
  std::array<UnrolledStep, kProgramTableSize> steps{};
  LayoutCursor cursor{};
  uint32_t program = 0;
  uint32_t index = 0;
  uint8_t envelopes = 0;
  uint8_t oscillators = 0;
  for (uint32_t i = 0; i < kProgramTableSize; ++i) {
    const uint8_t opcode = programTable[i];
    if (opcode == kEndOfProgram) {
      steps[i].at = unitAt(cursor, program, index, programEnd(program));
      ++program;
      index = 0;
      continue;
    }
    steps[i].at = unitAt(cursor, program, index++, opcode);
    if (opcode == kEnvelope) steps[i].ordinal = envelopes++;
    if (opcode == kOscillator) steps[i].ordinal = oscillators++;
    moveCursorPast(cursor, opcode, paramTable + cursor.param);
  }
  uint8_t written[kProgramCount][kWorkspacesPerRecord] = {};
  for (const UnrolledStep& s : steps) {
    if (s.at.opcode != kStore) continue;
    const uint8_t target = storeTarget(paramTable + s.at.param);
    uint8_t& slots = written[s.at.program][target / kSlotsPerWorkspace];
    slots = static_cast<uint8_t>(slots | 1u << (target % kSlotsPerWorkspace));
  }
  for (UnrolledStep& s : steps) {
    if (!endsProgram(s.at.opcode)) s.live = written[s.at.program][s.at.index];
  }
  return steps;
}

constexpr std::array<UnrolledStep, kProgramTableSize> kSteps = unrollShippedPrograms();
static_assert(kSteps.back().at.opcode == kEndOfSample);

// Units of one kind among the shipped programs.
constexpr uint32_t countUnits(uint8_t opcode) {
  uint32_t n = 0;
  for (const UnrolledStep& s : kSteps) n += s.at.opcode == opcode;
  return n;
}

// What the units keep beside their workspaces: the envelopes' decoded
// parameters (their rates are powers of two taken at run time) and the
// oscillators' pitch caches.
EnvelopeParams envelopes[countUnits(kEnvelope)];
PitchCache pitches[countUnits(kOscillator)];

// The raw parameter bytes of unit I.
template <size_t I>
constexpr const uint8_t* rawParams() {
  return paramTable + kSteps[I].at.param;
}

// The parameter values p of a unit at `param`, as loadParams makes them.
constexpr std::array<float, kParamScratchSize> paramValuesAt(uint8_t opcode, uint32_t param) {
  std::array<float, kParamScratchSize> p{};
  for (size_t i = 0; i < unitTable[opcode].paramCount; ++i) p[i] = paramValue(paramTable[param + i]);
  return p;
}

template <size_t I>
constexpr std::array<float, kParamScratchSize> paramValues() {
  return paramValuesAt(kSteps[I].at.opcode, kSteps[I].at.param);
}

// Whether oscillator I's waveform value lies in [-1, 1]: pulse and noise
// always do; so does the sine when its phase cannot become a non-number
// (no store reaches the phase, pitch or phase modulation).
template <size_t I>
constexpr bool waveInRange() {
  if constexpr (kSteps[I].at.opcode != kOscillator) {
    return false;
  } else {
    constexpr uint8_t flags = UnitStep<kOscillator>::decode(paramValues<I>().data(), rawParams<I>()).flags;
    return (flags & (kWavePulse | kWaveNoise)) != 0 || ((flags & kWaveSine) != 0 && (kSteps[I].live & 0x17) == 0);
  }
}

// Unit I on the value stack, `s` its next free place, with its kind, its
// place and its parameters built in.
template <size_t I>
[[gnu::always_inline]] inline void runUnitAt(double* s) {
  constexpr UnitLayout at = kSteps[I].at;
  VoiceRecord& voice = voiceRecords[at.program];
  if constexpr (at.opcode == kEndOfProgram) {
    applyVoiceOffRule(voice);
  } else if constexpr (at.opcode != kEndOfSample) {
    using Unit = UnitStep<at.opcode>;
    constexpr uint8_t live = kSteps[I].live;
    constexpr uint8_t ordinal = kSteps[I].ordinal;
    const UnitPlace place{&voice, voice.workspace[at.index], delayPool + at.firstLine, delayLengthTable,
                          at.opcode == kOscillator ? &pitches[ordinal] : nullptr};
    if constexpr (at.opcode == kEnvelope) {
      Unit::template run<live>(envelopes[ordinal], place, s);
    } else {
      static constexpr std::array<float, kParamScratchSize> p = paramValues<I>();
      static constexpr auto params = Unit::decode(p.data(), rawParams<I>());
      Unit::template run<live, waveInRange<I>()>(params, place, s);
    }
  }
}

// Oscillators and delays run out of line: the sample's code stays small,
// and runs faster so. Each takes at most one input and gives one output,
// which go in and come back by value: the values stay out of memory, and
// an output that nothing reads costs nothing.
template <size_t I>
constexpr bool runsOutOfLine() {
  return kSteps[I].at.opcode == kOscillator || kSteps[I].at.opcode == kDelay;
}

template <size_t I>
constexpr StackEffect stackEffectOf() {
  return unitStackEffect(kSteps[I].at.opcode, rawParams<I>());
}

template <size_t I>
[[gnu::noinline]] double runOutOfLine(double input) {
  constexpr StackEffect effect = stackEffectOf<I>();
  static_assert(effect.pops <= 1 && effect.pushes == 1);
  double window[2] = {input, 0.0};
  runUnitAt<I>(window + effect.pops);
  return window[0];
}

template <size_t I>
[[gnu::always_inline]] inline void runStep(double* stack) {
  double* s = stack + kSteps[I].at.depth;
  if constexpr (runsOutOfLine<I>()) {
    constexpr StackEffect effect = stackEffectOf<I>();
    double* window = s - effect.pops;
    window[0] = runOutOfLine<I>(effect.pops == 1 ? window[0] : 0.0);
  } else {
    runUnitAt<I>(s);
  }
}

template <size_t... I>
void runSteps(std::index_sequence<I...>) {
  double stack[kValueStackSize];
  (runStep<I>(stack), ...);
}

}  // namespace

bool usesShippedInstruments(const SongData& song) {
  return song.programs.data() == programTable && song.programs.size() == kProgramTableSize &&
         song.params.data() == paramTable && song.params.size() == kParamTableSize &&
         song.delayLengths.data() == delayLengthTable && song.delayLengths.size() == kDelayLengthCount;
}

void prepareUnrolledSong() {
  for (const UnrolledStep& s : kSteps) {
    if (s.at.opcode != kEnvelope) continue;
    const std::array<float, kParamScratchSize> p = paramValuesAt(kEnvelope, s.at.param);
    envelopes[s.ordinal] = UnitStep<kEnvelope>::decode(p.data(), paramTable + s.at.param);
  }
  // No pitch equals a non-number: each oscillator's first sample takes its
  // power of two.
  for (PitchCache& cache : pitches) cache = PitchCache{std::numeric_limits<double>::quiet_NaN(), 0.0};
}

void runUnrolledSample() { runSteps(std::make_index_sequence<kProgramTableSize>{}); }
