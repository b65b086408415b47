#include "synth/compiled_song.h"

#include <limits>

#include "synth/opcodes.h"
#include "synth/sequencer.h"
#include "synth/unit_table.h"

namespace {

void compileUnit(const SongData& song, const UnitLayout& at, CompiledUnit& u) {
  const uint8_t* raw = song.params.data() + at.param;
  float p[kParamScratchSize];
  for (uint32_t i = 0; i < unitTable[at.opcode].paramCount; ++i) p[i] = paramValue(raw[i]);
  VoiceRecord& voice = voiceRecords[at.program];
  u.opcode = at.opcode;
  u.voice = &voice;
  u.ws = voice.workspace[at.index];
  u.depth = at.depth;
  // No pitch equals a non-number: the first sample takes its power of two.
  u.pitch = PitchCache{std::numeric_limits<double>::quiet_NaN(), 0.0};
  switch (at.opcode) {
    case kEnvelope:
      u.envelope = decodeEnvelope(p);
      break;
    case kOscillator:
      u.oscillator = decodeOscillator(p, raw);
      break;
    case kFilter:
      u.filter = decodeFilter(p, raw);
      break;
    case kDistortion:
      u.distortion = decodeDistortion(p);
      break;
    case kDelay:
      u.delay.params = decodeDelay(p, raw);
      u.delay.lines = delayPool + at.firstLine;
      u.delay.lengths = song.delayLengths.data() + u.delay.params.firstLine;
      break;
    case kStackOperation:
      u.operation = raw[0];
      break;
    case kStore:
      u.store = decodeStore(p, raw);
      break;
    case kPan:
      u.position = decodePan(p);
      break;
    case kOut:
      u.out = decodeOut(p);
      break;
    case kAccumulate:
      u.pair = raw[0];
      break;
    default:
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
    end.opcode = programEnd(k);
    end.voice = &voiceRecords[k];
    end.ws = end.voice->workspace[0];
    end.depth = 0;
  }
  compiled.unitCount = n;
  compiled.linesClaimed = layout.linesClaimed;
}

void runCompiledSample(CompiledUnit* units) {
  double stack[kValueStackSize];
  for (CompiledUnit* u = units;; ++u) {
    double* s = stack + u->depth;  // the unit's next free place
    switch (u->opcode) {
      case kEnvelope:
        envelopeUnit(u->envelope, *u->voice, u->ws, s);
        break;
      case kOscillator:
        oscillatorUnit(u->oscillator, u->oscillator.flags, *u->voice, u->ws, &u->pitch, s);
        break;
      case kFilter:
        filterUnit(u->filter, u->filter.type, *u->voice, u->ws, s);
        break;
      case kDistortion:
        distortionUnit(u->distortion, *u->voice, u->ws, s);
        break;
      case kDelay:
        delayUnit(u->delay.params, u->delay.params.lineCount, u->delay.lines, u->delay.lengths, s);
        break;
      case kStackOperation:
        stackOperationUnit(u->operation, s);
        break;
      case kStore:
        storeUnit(u->store, *u->voice, s);
        break;
      case kPan:
        panUnit(u->position, u->ws, s);
        break;
      case kOut:
        outUnit(u->out, u->ws, *u->voice, s);
        break;
      case kAccumulate:
        accumulateUnit(u->pair, voiceRecords, s);
        break;
      case kEndOfProgram:
        applyVoiceOffRule(*u->voice);
        break;
      case kEndOfSample:
        return;
      default:  // no-op
        break;
    }
  }
}
