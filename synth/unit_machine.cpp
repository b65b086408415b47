#include "synth/unit_machine.h"

#include <algorithm>

#include "synth/delay_unit.h"
#include "synth/routing_units.h"
#include "synth/sequencer.h"
#include "synth/shaping_units.h"
#include "synth/shared_buffers.h"
#include "synth/source_units.h"
#include "synth/unit_math.h"

const uint8_t* programCursor;
const uint8_t* paramCursor;
float paramScratch[kParamScratchSize];
double valueStack[kValueStackSize];
uint32_t valueStackDepth;

namespace {

const SongData* machineSong;

// The value stack's next free place, where the running unit starts.
double* stackEnd() { return valueStack + valueStackDepth; }

// The units' entries in the machine, each called after loadParams with the
// unit's raw parameter bytes; the values are in paramScratch.
using MachineUnit = void (*)(VoiceRecord& record, float* ws, const uint8_t* raw);

void runEnvelope(VoiceRecord& record, float* ws, const uint8_t*) {
  envelopeUnit(decodeEnvelope(paramScratch), record, ws, stackEnd());
}

void runOscillator(VoiceRecord& record, float* ws, const uint8_t* raw) {
  const OscillatorParams o = decodeOscillator(paramScratch, raw);
  oscillatorUnit(o, o.flags, record, ws, nullptr, stackEnd());
}

void runFilter(VoiceRecord& record, float* ws, const uint8_t* raw) {
  const FilterParams fp = decodeFilter(paramScratch, raw);
  filterUnit(fp, fp.type, record, ws, stackEnd());
}

void runDistortion(VoiceRecord& record, float* ws, const uint8_t*) {
  distortionUnit(decodeDistortion(paramScratch), record, ws, stackEnd());
}

// Claims the unit's lines at the delay cursor and moves the cursor past them.
void runDelay(VoiceRecord&, float*, const uint8_t* raw) {
  const DelayParams dp = decodeDelay(paramScratch, raw);
  DelayLine* lines = delayPool + delayCursor;
  delayCursor += dp.lineCount;
  noteDelayLinesTouched(delayCursor + 1);
  delayUnit(dp, dp.lineCount, lines, machineSong->delayLengths.data() + dp.firstLine, stackEnd());
}

void runStackOperation(VoiceRecord&, float*, const uint8_t* raw) { stackOperationUnit(raw[0], stackEnd()); }

void runStore(VoiceRecord& record, float*, const uint8_t* raw) {
  storeUnit(decodeStore(paramScratch, raw), record, stackEnd());
}

void runPan(VoiceRecord&, float* ws, const uint8_t*) { panUnit(decodePan(paramScratch), ws, stackEnd()); }

void runOut(VoiceRecord& record, float* ws, const uint8_t*) {
  outUnit(decodeOut(paramScratch), ws, record, stackEnd());
}

void runAccumulate(VoiceRecord&, float*, const uint8_t* raw) { accumulateUnit(raw[0], voiceRecords, stackEnd()); }

void runNoOp(VoiceRecord&, float*, const uint8_t*) {}

// Indexed by opcode, as unitTable; entry 0 ends a program and is never called.
constexpr MachineUnit machineUnits[kOpcodeCount] = {
    nullptr, runEnvelope, runOscillator, runFilter, runDistortion, runDelay,
    runStackOperation, runStore, runPan, runOut, runAccumulate, runNoOp,
};

}  // namespace

void useSong(const SongData& song) { machineSong = &song; }

uint32_t loadParams(uint32_t count) {
  uint32_t last = 0;
  for (uint32_t i = 0; i < count; ++i) {
    last = paramCursor[i];
    paramScratch[i] = paramValue(paramCursor[i]);
  }
  paramCursor += count;
  return last;
}

void runUnit(uint8_t opcode, VoiceRecord& record, float* ws) {
  // Every unit but the no-op loads its parameters first, sounding or not.
  const uint32_t count = unitTable[opcode].paramCount;
  if (count != 0) loadParams(count);
  const uint8_t* raw = paramCursor - count;
  machineUnits[opcode](record, ws, raw);
  const StackEffect effect = unitStackEffect(opcode, raw);
  valueStackDepth = valueStackDepth - effect.pops + effect.pushes;
}

void runProgram(VoiceRecord& record) {
  for (uint32_t u = 0;; ++u) {
    const uint8_t opcode = *programCursor++;
    if (opcode == kEndOfProgram) return;
    runUnit(opcode, record, record.workspace[u]);
  }
}

void stepVoice(uint32_t track, VoiceRecord& record, uint32_t sampleCounter) {
  runProgram(record);
  applyVoiceOffRule(record);
  storeShared(recordingCell(sampleCounter, track), recordedLevel(record));
}

void renderFramesByteCode(const SongData& song, float* output, uint32_t frameCount) {
  useSong(song);
  frameCount = std::min(frameCount, kSongFrames);
  uint32_t sampleCounter = 0;
  float* cursor = output;
  for (uint32_t tick = 0; tick < kTickCount && sampleCounter < frameCount; ++tick) {
    for (uint32_t s = 0; s < kSamplesPerTick && sampleCounter < frameCount; ++s) {
      programCursor = song.programs.data();
      paramCursor = song.params.data();
      delayCursor = 0;
      valueStackDepth = 0;
      for (uint32_t k = 0; k < kTrackCount; ++k) {
        if (s == 0) triggerTrack(song, k, tick, voiceRecords[k]);
        stepVoice(k, voiceRecords[k], sampleCounter);
      }
      VoiceRecord& master = voiceRecords[kMasterRecord];
      master.note = kMasterNote;
      runProgram(master);
      ++sampleCounter;
      storeShared(cursor[0], synth::clipSample(master.mainLeft));
      storeShared(cursor[1], synth::clipSample(master.mainRight));
      cursor += 2;
      if (sampleCounter % kFramesPerEnvelopeRow == 0) publishSynthFrames(sampleCounter);
    }
  }
  publishSynthFrames(sampleCounter);
}
