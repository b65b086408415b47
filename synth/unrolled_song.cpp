#include "synth/unrolled_song.h"

#include <array>
#include <utility>

#include "synth/opcodes.h"
#include "synth/routing_units.h"
#include "synth/sequencer.h"
#include "synth/song_instruments.h"
#include "synth/unit_table.h"

namespace {

// What the build knows of one program byte (a unit or a program's end).
struct UnrolledStep {
  Step step;
  uint8_t depth;       // values on the stack when it starts
  uint8_t program;     // its record
  uint8_t index;       // its workspace
  uint8_t live;        // the modulation slots that a store of the program writes
  uint16_t param;      // offset of its parameter bytes
  uint16_t firstLine;  // delay units: the first pool line they claim
};

constexpr uint8_t kParamCount[kOpcodeCount] = {0, 5, 7, 3, 2, 8, 1, 2, 1, 2, 1, 0};

constexpr std::array<UnrolledStep, kProgramTableSize> unrollShippedPrograms() {
  constexpr int stackDelta[9] = {0, -1, -1, -1, 1, 0, 0, 0, -2};
  std::array<UnrolledStep, kProgramTableSize> steps{};
  // The slots each store writes, by program and unit.
  uint8_t written[kProgramCount][kWorkspacesPerRecord] = {};
  for (uint32_t i = 0, param = 0, program = 0, index = 0; i < kProgramTableSize; ++i) {
    const uint8_t opcode = programTable[i];
    if (opcode == kEndOfProgram) {
      ++program;
      index = 0;
      continue;
    }
    if (opcode == kStore) {
      const uint8_t target = paramTable[param + 1];
      written[program][target / kSlotsPerWorkspace] |= static_cast<uint8_t>(1u << (target % kSlotsPerWorkspace));
    }
    param += kParamCount[opcode];
    ++index;
  }
  uint32_t param = 0;
  uint32_t line = 0;
  uint8_t program = 0;
  uint8_t index = 0;
  int depth = 0;
  for (uint32_t i = 0; i < kProgramTableSize; ++i) {
    const uint8_t opcode = programTable[i];
    const uint8_t* raw = paramTable + param;
    UnrolledStep& s = steps[i];
    s.depth = static_cast<uint8_t>(depth);
    s.program = program;
    s.index = index;
    s.param = static_cast<uint16_t>(param);
    switch (opcode) {
      case kEndOfProgram:
        s.step = program == kMasterProgram ? Step::kEndOfSample : Step::kEndOfTrack;
        ++program;
        index = 0;
        continue;
      case kEnvelope:
        s.step = Step::kEnvelope;
        ++depth;
        break;
      case kOscillator:
        s.step = Step::kOscillator;
        ++depth;
        break;
      case kFilter:
        s.step = Step::kFilter;
        break;
      case kDistortion:
        s.step = Step::kDistortion;
        break;
      case kDelay:
        s.step = Step::kDelay;
        s.firstLine = static_cast<uint16_t>(line);
        line += raw[7];
        break;
      case kStackOperation:
        s.step = stackStep(raw[0]);
        depth += stackDelta[raw[0]];
        break;
      case kStore:
        s.step = Step::kStore;
        break;
      case kPan:
        s.step = Step::kPan;
        ++depth;
        break;
      case kOut:
        s.step = Step::kOut;
        depth -= 2;
        break;
      case kAccumulate:
        s.step = raw[0] == kAccumulateAux ? Step::kSumAux : Step::kSumMain;
        depth += 2;
        break;
      default:
        s.step = Step::kNoOp;
        break;
    }
    s.live = written[program][index];
    param += kParamCount[opcode];
    ++index;
  }
  return steps;
}

constexpr std::array<UnrolledStep, kProgramTableSize> kSteps = unrollShippedPrograms();
static_assert(kSteps.back().step == Step::kEndOfSample);

// The parameter values p of unit I, as loadParams makes them.
template <size_t I, size_t N>
constexpr std::array<float, N> paramValues() {
  std::array<float, N> p{};
  for (size_t i = 0; i < N; ++i) p[i] = static_cast<float>(paramTable[kSteps[I].param + i]) * kParamScale;
  return p;
}

template <size_t I>
constexpr const uint8_t* rawParams() {
  return paramTable + kSteps[I].param;
}

// The units with state stay out of line, one copy per unit with its
// parameters built in; the envelope's rates (powers of two) and the
// oscillator's pitch cache come from the decoded units.
template <uint8_t Live>
[[gnu::noinline]] double envelopeUnit(const EnvelopeParams& e, const VoiceRecord& voice, float* ws) {
  return envelopeStep<Live>(e, voice, ws);
}

template <size_t I>
[[gnu::noinline]] double oscillatorUnit(PitchCache& pitch, int32_t note, float* ws) {
  constexpr UnrolledStep at = kSteps[I];
  static constexpr std::array<float, 7> p = paramValues<I, 7>();
  static constexpr OscillatorParams o = decodeOscillator(p.data(), rawParams<I>());
  // Pulse and noise values lie in [-1, 1]; so does the sine when its phase
  // cannot become a non-number (no store reaches the phase, pitch or
  // phase modulation).
  constexpr bool inRange = (o.flags & (kWavePulse | kWaveNoise)) != 0 || ((o.flags & kWaveSine) != 0 && (at.live & 0x17) == 0);
  return oscillatorStep<at.live, inRange>(o, o.flags, note, ws, &pitch);
}

template <size_t I>
[[gnu::noinline]] double filterUnit(float* ws, double x) {
  static constexpr std::array<float, 3> p = paramValues<I, 3>();
  static constexpr FilterParams f = decodeFilter(p.data(), rawParams<I>());
  return filterStep<kSteps[I].live>(f, f.type, ws, x);
}

template <size_t I>
[[gnu::noinline]] double distortionUnit(float* ws, double x) {
  static constexpr std::array<float, 2> p = paramValues<I, 2>();
  static constexpr DistortionParams d = decodeDistortion(p.data());
  return distortionStep(d, ws, x);
}

template <size_t I>
[[gnu::noinline]] double delayUnit(double x) {
  constexpr UnrolledStep at = kSteps[I];
  static constexpr std::array<float, 8> p = paramValues<I, 8>();
  static constexpr DelayParams d = decodeDelay(p.data(), rawParams<I>());
  return delayStep(d, d.lineCount, x, delayPool + at.firstLine, delayLengthTable + d.firstLine,
                   delayPool[at.firstLine + d.lineCount]);
}

template <size_t I>
[[gnu::always_inline]] inline void runStep(CompiledUnit* units, double* stack) {
  constexpr UnrolledStep at = kSteps[I];
  VoiceRecord& voice = voiceRecords[at.program];
  float* ws = voice.workspace[at.index];
  double* s = stack + at.depth;
  if constexpr (at.step == Step::kEnvelope) {
    s[0] = envelopeUnit<at.live>(units[I].envelope, voice, ws);
  } else if constexpr (at.step == Step::kOscillator) {
    s[0] = oscillatorUnit<I>(units[I].pitch, voice.note, ws);
  } else if constexpr (at.step == Step::kFilter) {
    if (voice.note != 0) s[-1] = filterUnit<I>(ws, s[-1]);
  } else if constexpr (at.step == Step::kDistortion) {
    if (voice.note != 0) s[-1] = distortionUnit<I>(ws, s[-1]);
  } else if constexpr (at.step == Step::kDelay) {
    s[-1] = delayUnit<I>(s[-1]);
  } else if constexpr (at.step == Step::kAdd) {
    s[-2] = s[-2] + s[-1];
  } else if constexpr (at.step == Step::kMultiply) {
    s[-2] = s[-2] * s[-1];
  } else if constexpr (at.step == Step::kDuplicate) {
    s[0] = s[-1];
  } else if constexpr (at.step == Step::kSwap) {
    const double a = s[-1];
    s[-1] = s[-2];
    s[-2] = a;
  } else if constexpr (at.step == Step::kAddKeep) {
    s[-1] = s[-1] + s[-2];
  } else if constexpr (at.step == Step::kMultiplyKeep) {
    s[-1] = s[-1] * s[-2];
  } else if constexpr (at.step == Step::kStereoAdd) {
    s[-4] = s[-4] + s[-2];
    s[-3] = s[-3] + s[-1];
  } else if constexpr (at.step == Step::kStore) {
    constexpr std::array<float, 2> p = paramValues<I, 2>();
    storeStep(storeFactor(p[0]), rawParams<I>()[1], s[-1], voice);
  } else if constexpr (at.step == Step::kPan) {
    constexpr std::array<float, 1> p = paramValues<I, 1>();
    const StereoPair pair = panStep<at.live>(p[0], ws, s[-1]);
    s[-1] = pair.right;
    s[0] = pair.left;
  } else if constexpr (at.step == Step::kOut) {
    constexpr std::array<float, 2> p = paramValues<I, 2>();
    outStep<at.live>(p[0], p[1], ws, s[-1], s[-2], voice);
  } else if constexpr (at.step == Step::kSumMain || at.step == Step::kSumAux) {
    const StereoPair sums = accumulateStep(at.step == Step::kSumAux ? kAccumulateAux : kAccumulateMain, voiceRecords);
    s[0] = sums.right;
    s[1] = sums.left;
  } else if constexpr (at.step == Step::kEndOfTrack) {
    applyVoiceOffRule(voice);
  }
}

template <size_t... I>
void runSteps(CompiledUnit* units, std::index_sequence<I...>) {
  double stack[kValueStackSize + 1];
  (runStep<I>(units, stack), ...);
}

}  // namespace

bool usesShippedInstruments(const SongData& song) {
  return song.programs.data() == programTable && song.programs.size() == kProgramTableSize &&
         song.params.data() == paramTable && song.params.size() == kParamTableSize &&
         song.delayLengths.data() == delayLengthTable && song.delayLengths.size() == kDelayLengthCount;
}

void runUnrolledSample(CompiledUnit* units) { runSteps(units, std::make_index_sequence<kProgramTableSize>{}); }
