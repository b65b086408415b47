#include "synth/compiled_song.h"

#include <limits>

#include "synth/opcodes.h"
#include "synth/routing_units.h"
#include "synth/sequencer.h"
#include "synth/unit_table.h"

namespace {

void compileUnit(const SongData& song, const UnitLayout& at, CompiledUnit& u) {
  const uint8_t* raw = song.params.data() + at.param;
  float p[kParamScratchSize];
  for (uint32_t i = 0; i < unitTable[at.opcode].paramCount; ++i) p[i] = static_cast<float>(raw[i]) * kParamScale;
  VoiceRecord& voice = voiceRecords[at.program];
  u.voice = &voice;
  u.ws = voice.workspace[at.index];
  u.depth = at.depth;
  // No pitch equals a non-number: the first sample takes its power of two.
  u.pitch = PitchCache{std::numeric_limits<double>::quiet_NaN(), 0.0};
  switch (at.opcode) {
    case kEnvelope:
      u.step = Step::kEnvelope;
      u.envelope = decodeEnvelope(p);
      break;
    case kOscillator:
      u.step = Step::kOscillator;
      u.oscillator = decodeOscillator(p, raw);
      break;
    case kFilter:
      u.step = Step::kFilter;
      u.filter = decodeFilter(p, raw);
      break;
    case kDistortion:
      u.step = Step::kDistortion;
      u.distortion = decodeDistortion(p);
      break;
    case kDelay:
      u.step = Step::kDelay;
      u.delay.params = decodeDelay(p, raw);
      u.delay.lines = delayPool + at.firstLine;
      u.delay.after = delayPool + at.firstLine + u.delay.params.lineCount;
      u.delay.lengths = song.delayLengths.data() + u.delay.params.firstLine;
      break;
    case kStackOperation:
      u.step = stackStep(raw[0]);
      break;
    case kStore:
      u.step = Step::kStore;
      u.factor = storeFactor(p[0]);
      u.target = raw[1];
      break;
    case kPan:
      u.step = Step::kPan;
      u.position = p[0];
      break;
    case kOut:
      u.step = Step::kOut;
      u.out.gain = p[0];
      u.out.auxGain = p[1];
      break;
    case kAccumulate:
      u.step = raw[0] == kAccumulateAux ? Step::kSumAux : Step::kSumMain;
      break;
    default:
      u.step = Step::kNoOp;
      break;
  }
}

}  // namespace

void compileSong(const SongData& song, const SongLayout& layout, CompiledSong& compiled) {
  uint32_t n = 0;
  uint32_t next = 0;
  for (uint32_t k = 0; k < kProgramCount; ++k) {
    for (uint32_t i = 0; i < layout.programUnits[k]; ++i) compileUnit(song, layout.units[next++], compiled.units[n++]);
    CompiledUnit& end = compiled.units[n++];
    end.step = k == kMasterProgram ? Step::kEndOfSample : Step::kEndOfTrack;
    end.voice = &voiceRecords[k];
    end.ws = end.voice->workspace[0];
    end.depth = 0;
  }
  compiled.unitCount = n;
  compiled.linesClaimed = layout.linesClaimed;
}

void runCompiledSample(CompiledUnit* units) {
  double stack[kValueStackSize + 1];
  for (CompiledUnit* u = units;; ++u) {
    double* s = stack + u->depth;  // s[-1] is the top, s[0] the next free place
    switch (u->step) {
      case Step::kEnvelope:
        s[0] = envelopeStep(u->envelope, *u->voice, u->ws);
        break;
      case Step::kOscillator:
        s[0] = oscillatorStep(u->oscillator, u->oscillator.flags, u->voice->note, u->ws, &u->pitch);
        break;
      case Step::kFilter:
        if (u->voice->note != 0) s[-1] = filterStep(u->filter, u->filter.type, u->ws, s[-1]);
        break;
      case Step::kDistortion:
        if (u->voice->note != 0) s[-1] = distortionStep(u->distortion, u->ws, s[-1]);
        break;
      case Step::kDelay:
        s[-1] = delayStep(u->delay.params, u->delay.params.lineCount, s[-1], u->delay.lines, u->delay.lengths, *u->delay.after);
        break;
      case Step::kPop:
        break;
      case Step::kAdd:
        s[-2] = s[-2] + s[-1];
        break;
      case Step::kMultiply:
        s[-2] = s[-2] * s[-1];
        break;
      case Step::kDuplicate:
        s[0] = s[-1];
        break;
      case Step::kSwap: {
        const double a = s[-1];
        s[-1] = s[-2];
        s[-2] = a;
        break;
      }
      case Step::kAddKeep:
        s[-1] = s[-1] + s[-2];
        break;
      case Step::kMultiplyKeep:
        s[-1] = s[-1] * s[-2];
        break;
      case Step::kStereoAdd:
        s[-4] = s[-4] + s[-2];
        s[-3] = s[-3] + s[-1];
        break;
      case Step::kStore:
        storeStep(u->factor, u->target, s[-1], *u->voice);
        break;
      case Step::kPan: {
        const StereoPair pair = panStep(u->position, u->ws, s[-1]);
        s[-1] = pair.right;
        s[0] = pair.left;
        break;
      }
      case Step::kOut:
        outStep(u->out.gain, u->out.auxGain, u->ws, s[-1], s[-2], *u->voice);
        break;
      case Step::kSumMain:
      case Step::kSumAux: {
        const StereoPair sums =
            accumulateStep(u->step == Step::kSumAux ? kAccumulateAux : kAccumulateMain, voiceRecords);
        s[0] = sums.right;
        s[1] = sums.left;
        break;
      }
      case Step::kNoOp:
        break;
      case Step::kEndOfTrack:
        applyVoiceOffRule(*u->voice);
        break;
      case Step::kEndOfSample:
        return;
    }
  }
}
