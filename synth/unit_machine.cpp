#include "synth/unit_machine.h"

#include <algorithm>

#include "synth/sequencer.h"
#include "synth/shared_buffers.h"
#include "synth/unit_math.h"
#include "synth/unit_steps.h"

const uint8_t* programCursor;
const uint8_t* paramCursor;
float paramScratch[kParamScratchSize];
double valueStack[kValueStackSize];
uint32_t valueStackDepth;

namespace {

// The song's delay length table, for the machine's delay units.
const uint16_t* machineDelayLengths;

}  // namespace

void useSong(const SongData& song) { machineDelayLengths = song.delayLengths.data(); }

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
  // A delay claims its lines at the delay cursor and moves the cursor past them.
  const UnitPlace at{&record, ws, delayPool + delayCursor, machineDelayLengths, nullptr};
  if (opcode == kDelay) {
    delayCursor += delayLineCount(raw);
    noteDelayLinesTouched(delayCursor + 1);
  }
  withUnitStep(opcode, [&](auto unit) {
    using Unit = decltype(unit);
    Unit::run(Unit::decode(paramScratch, raw), at, valueStack + valueStackDepth);
  });
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
