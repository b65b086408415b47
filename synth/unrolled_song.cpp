#include "synth/unrolled_song.h"

#include <array>
#include <utility>

#include "synth/delay_unit.h"
#include "synth/opcodes.h"
#include "synth/program_layout.h"
#include "synth/routing_units.h"
#include "synth/sequencer.h"
#include "synth/shaping_units.h"
#include "synth/song_instruments.h"
#include "synth/source_units.h"
#include "synth/unit_table.h"

namespace {

// What the build knows of one program byte: the unit's layout (for a
// program's end, programEnd's opcode at the place after its last unit),
// and the modulation slots of its workspace that a store of the program
// writes.
struct UnrolledStep {
  UnitLayout at;
  uint8_t live;
};

constexpr bool endsProgram(uint8_t opcode) { return opcode == kEndOfProgram || opcode == kEndOfSample; }

constexpr std::array<UnrolledStep, kProgramTableSize> unrollShippedPrograms() {
  std::array<UnrolledStep, kProgramTableSize> steps{};
  LayoutCursor cursor{};
  uint32_t program = 0;
  uint32_t index = 0;
  for (uint32_t i = 0; i < kProgramTableSize; ++i) {
    const uint8_t opcode = programTable[i];
    if (opcode == kEndOfProgram) {
      steps[i].at = unitAt(cursor, program, index, programEnd(program));
      ++program;
      index = 0;
      continue;
    }
    steps[i].at = unitAt(cursor, program, index++, opcode);
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

// The raw parameter bytes of unit I.
template <size_t I>
constexpr const uint8_t* rawParams() {
  return paramTable + kSteps[I].at.param;
}

// The parameter values p of unit I, as loadParams makes them (none at a
// program's end).
template <size_t I>
constexpr std::array<float, kParamScratchSize> paramValues() {
  constexpr uint8_t opcode = kSteps[I].at.opcode;
  constexpr uint32_t count = endsProgram(opcode) ? 0 : unitTable[opcode].paramCount;
  std::array<float, kParamScratchSize> p{};
  for (size_t i = 0; i < count; ++i) p[i] = paramValue(rawParams<I>()[i]);
  return p;
}

// Unit I on the value stack, `s` its next free place, with its parameters
// built in; the envelope's rates (powers of two) and the oscillator's pitch
// cache come from the decoded units.
template <size_t I>
[[gnu::always_inline]] inline void runUnitAt(CompiledUnit* units, double* s) {
  constexpr UnitLayout at = kSteps[I].at;
  constexpr uint8_t live = kSteps[I].live;
  static constexpr std::array<float, kParamScratchSize> p = paramValues<I>();
  constexpr const uint8_t* raw = rawParams<I>();
  VoiceRecord& voice = voiceRecords[at.program];
  float* ws = voice.workspace[at.index];
  if constexpr (at.opcode == kEnvelope) {
    envelopeUnit<live>(units[I].envelope, voice, ws, s);
  } else if constexpr (at.opcode == kOscillator) {
    static constexpr OscillatorParams o = decodeOscillator(p.data(), raw);
    // Pulse and noise values lie in [-1, 1]; so does the sine when its phase
    // cannot become a non-number (no store reaches the phase, pitch or
    // phase modulation).
    constexpr bool inRange = (o.flags & (kWavePulse | kWaveNoise)) != 0 || ((o.flags & kWaveSine) != 0 && (live & 0x17) == 0);
    oscillatorUnit<live, inRange>(o, o.flags, voice, ws, &units[I].pitch, s);
  } else if constexpr (at.opcode == kFilter) {
    static constexpr FilterParams f = decodeFilter(p.data(), raw);
    filterUnit<live>(f, f.type, voice, ws, s);
  } else if constexpr (at.opcode == kDistortion) {
    static constexpr DistortionParams d = decodeDistortion(p.data());
    distortionUnit(d, voice, ws, s);
  } else if constexpr (at.opcode == kDelay) {
    static constexpr DelayParams d = decodeDelay(p.data(), raw);
    delayUnit(d, d.lineCount, delayPool + at.firstLine, delayLengthTable + d.firstLine, s);
  } else if constexpr (at.opcode == kStackOperation) {
    stackOperationUnit(raw[0], s);
  } else if constexpr (at.opcode == kStore) {
    static constexpr StoreParams st = decodeStore(p.data(), raw);
    storeUnit(st, voice, s);
  } else if constexpr (at.opcode == kPan) {
    constexpr double position = decodePan(p.data());
    panUnit<live>(position, ws, s);
  } else if constexpr (at.opcode == kOut) {
    static constexpr OutParams o = decodeOut(p.data());
    outUnit<live>(o, ws, voice, s);
  } else if constexpr (at.opcode == kAccumulate) {
    accumulateUnit(raw[0], voiceRecords, s);
  } else if constexpr (at.opcode == kEndOfProgram) {
    applyVoiceOffRule(voice);
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
[[gnu::noinline]] double runOutOfLine(CompiledUnit* units, double input) {
  constexpr StackEffect effect = stackEffectOf<I>();
  static_assert(effect.pops <= 1 && effect.pushes == 1);
  double window[2] = {input, 0.0};
  runUnitAt<I>(units, window + effect.pops);
  return window[0];
}

template <size_t I>
[[gnu::always_inline]] inline void runStep(CompiledUnit* units, double* stack) {
  double* s = stack + kSteps[I].at.depth;
  if constexpr (runsOutOfLine<I>()) {
    constexpr StackEffect effect = stackEffectOf<I>();
    double* window = s - effect.pops;
    window[0] = runOutOfLine<I>(units, effect.pops == 1 ? window[0] : 0.0);
  } else {
    runUnitAt<I>(units, s);
  }
}

template <size_t... I>
void runSteps(CompiledUnit* units, std::index_sequence<I...>) {
  double stack[kValueStackSize];
  (runStep<I>(units, stack), ...);
}

}  // namespace

bool usesShippedInstruments(const SongData& song) {
  return song.programs.data() == programTable && song.programs.size() == kProgramTableSize &&
         song.params.data() == paramTable && song.params.size() == kParamTableSize &&
         song.delayLengths.data() == delayLengthTable && song.delayLengths.size() == kDelayLengthCount;
}

void runUnrolledSample(CompiledUnit* units) { runSteps(units, std::make_index_sequence<kProgramTableSize>{}); }
