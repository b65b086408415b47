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
// program's end, kEndOfProgram or kEndOfSample at the program's end), and
// the modulation slots of its workspace that a store of the program writes.
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
      steps[i].at = unitAt(cursor, program, index, program == kMasterProgram ? kEndOfSample : static_cast<uint8_t>(kEndOfProgram));
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
    written[s.at.program][target / kSlotsPerWorkspace] |= static_cast<uint8_t>(1u << (target % kSlotsPerWorkspace));
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
  for (size_t i = 0; i < count; ++i) p[i] = static_cast<float>(rawParams<I>()[i]) * kParamScale;
  return p;
}

// Each unit with its parameters built in; the envelope's rates (powers of
// two) and the oscillator's pitch cache come from the decoded units.
// Oscillators and delays stay out of line: the sample's code stays small,
// and runs faster so.
template <size_t I>
[[gnu::noinline]] void shippedOscillator(PitchCache& pitch, const VoiceRecord& voice, float* ws, double* s) {
  constexpr uint8_t live = kSteps[I].live;
  static constexpr std::array<float, kParamScratchSize> p = paramValues<I>();
  static constexpr OscillatorParams o = decodeOscillator(p.data(), rawParams<I>());
  // Pulse and noise values lie in [-1, 1]; so does the sine when its phase
  // cannot become a non-number (no store reaches the phase, pitch or
  // phase modulation).
  constexpr bool inRange = (o.flags & (kWavePulse | kWaveNoise)) != 0 || ((o.flags & kWaveSine) != 0 && (live & 0x17) == 0);
  oscillatorUnit<live, inRange>(o, o.flags, voice, ws, &pitch, s);
}

template <size_t I>
[[gnu::noinline]] void shippedDelay(double* s) {
  static constexpr std::array<float, kParamScratchSize> p = paramValues<I>();
  static constexpr DelayParams d = decodeDelay(p.data(), rawParams<I>());
  delayUnit(d, d.lineCount, delayPool + kSteps[I].at.firstLine, delayLengthTable + d.firstLine, s);
}

template <size_t I>
[[gnu::always_inline]] inline void runStep(CompiledUnit* units, double* stack) {
  constexpr UnitLayout at = kSteps[I].at;
  constexpr uint8_t live = kSteps[I].live;
  static constexpr std::array<float, kParamScratchSize> p = paramValues<I>();
  constexpr const uint8_t* raw = rawParams<I>();
  VoiceRecord& voice = voiceRecords[at.program];
  float* ws = voice.workspace[at.index];
  double* s = stack + at.depth;
  if constexpr (at.opcode == kEnvelope) {
    envelopeUnit<live>(units[I].envelope, voice, ws, s);
  } else if constexpr (at.opcode == kOscillator) {
    shippedOscillator<I>(units[I].pitch, voice, ws, s);
  } else if constexpr (at.opcode == kFilter) {
    static constexpr FilterParams f = decodeFilter(p.data(), raw);
    filterUnit<live>(f, f.type, voice, ws, s);
  } else if constexpr (at.opcode == kDistortion) {
    static constexpr DistortionParams d = decodeDistortion(p.data());
    distortionUnit(d, voice, ws, s);
  } else if constexpr (at.opcode == kDelay) {
    shippedDelay<I>(s);
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
