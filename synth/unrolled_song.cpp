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
  uint8_t depth;    // values on the stack when it starts
  uint8_t program;  // its record
  uint8_t index;    // its workspace
  uint8_t mode;     // oscillator flags, filter type or delay line count
};

constexpr std::array<UnrolledStep, kProgramTableSize> unrollShippedPrograms() {
  constexpr uint8_t paramCount[kOpcodeCount] = {0, 5, 7, 3, 2, 8, 1, 2, 1, 2, 1, 0};
  constexpr int stackDelta[9] = {0, -1, -1, -1, 1, 0, 0, 0, -2};
  std::array<UnrolledStep, kProgramTableSize> steps{};
  uint32_t param = 0;
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
        s.mode = raw[6];
        ++depth;
        break;
      case kFilter:
        s.step = Step::kFilter;
        s.mode = raw[2];
        break;
      case kDistortion:
        s.step = Step::kDistortion;
        break;
      case kDelay:
        s.step = Step::kDelay;
        s.mode = raw[7];
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
    param += paramCount[opcode];
    ++index;
  }
  return steps;
}

constexpr std::array<UnrolledStep, kProgramTableSize> kSteps = unrollShippedPrograms();
static_assert(kSteps.back().step == Step::kEndOfSample);

// The larger units stay out of line, one copy per kind of use, so that the
// unrolled sample stays small.
[[gnu::noinline]] double envelopeUnit(const EnvelopeParams& e, const VoiceRecord& voice, float* ws) {
  return envelopeStep(e, voice, ws);
}

template <uint8_t Flags>
[[gnu::noinline]] double oscillatorUnit(CompiledUnit& u, int32_t note, float* ws) {
  return oscillatorStep(u.oscillator, Flags, note, ws, &u.pitch);
}

template <uint8_t Type>
[[gnu::noinline]] double filterUnit(const FilterParams& f, float* ws, double x) {
  return filterStep(f, Type, ws, x);
}

[[gnu::noinline]] double distortionUnit(const DistortionParams& d, float* ws, double x) {
  return distortionStep(d, ws, x);
}

template <uint8_t Lines>
[[gnu::noinline]] double delayUnit(const DelayUnitState& d, double x) {
  return delayStep(d.params, Lines, x, d.lines, d.lengths, *d.after);
}

template <size_t I>
[[gnu::always_inline]] inline void runStep(CompiledUnit* units, double* stack) {
  constexpr UnrolledStep at = kSteps[I];
  CompiledUnit& u = units[I];
  VoiceRecord& voice = voiceRecords[at.program];
  float* ws = voice.workspace[at.index];
  double* s = stack + at.depth;
  if constexpr (at.step == Step::kEnvelope) {
    s[0] = envelopeUnit(u.envelope, voice, ws);
  } else if constexpr (at.step == Step::kOscillator) {
    s[0] = oscillatorUnit<at.mode>(u, voice.note, ws);
  } else if constexpr (at.step == Step::kFilter) {
    if (voice.note != 0) s[-1] = filterUnit<at.mode>(u.filter, ws, s[-1]);
  } else if constexpr (at.step == Step::kDistortion) {
    if (voice.note != 0) s[-1] = distortionUnit(u.distortion, ws, s[-1]);
  } else if constexpr (at.step == Step::kDelay) {
    s[-1] = delayUnit<at.mode>(u.delay, s[-1]);
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
    storeStep(u.factor, u.target, s[-1], voice);
  } else if constexpr (at.step == Step::kPan) {
    const StereoPair pair = panStep(u.position, ws, s[-1]);
    s[-1] = pair.right;
    s[0] = pair.left;
  } else if constexpr (at.step == Step::kOut) {
    outStep(u.out.gain, u.out.auxGain, ws, s[-1], s[-2], voice);
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
         song.params.data() == paramTable && song.params.size() == kParamTableSize;
}

void runUnrolledSample(CompiledUnit* units) { runSteps(units, std::make_index_sequence<kProgramTableSize>{}); }
