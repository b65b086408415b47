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

void push(double v) { valueStack[valueStackDepth++] = v; }
double pop() { return valueStack[--valueStackDepth]; }
double& top() { return valueStack[valueStackDepth - 1]; }

// The raw bytes of the unit's parameters, just loaded.
const uint8_t* rawParams(uint32_t count) { return paramCursor - count; }

}  // namespace

uint32_t loadParams(uint32_t count) {
  uint32_t last = 0;
  for (uint32_t i = 0; i < count; ++i) {
    last = paramCursor[i];
    paramScratch[i] = static_cast<float>(last) * kParamScale;
  }
  paramCursor += count;
  return last;
}

void runEnvelope(VoiceRecord& record, float* ws) {
  loadParams(5);
  push(envelopeStep(decodeEnvelope(paramScratch), record, ws));
}

void runOscillator(VoiceRecord& record, float* ws) {
  loadParams(7);
  const OscillatorParams o = decodeOscillator(paramScratch, rawParams(7));
  push(oscillatorStep(o, o.flags, record.note, ws, nullptr));
}

void runFilter(VoiceRecord& record, float* ws) {
  loadParams(3);
  if (record.note == 0) return;
  const FilterParams fp = decodeFilter(paramScratch, rawParams(3));
  top() = filterStep(fp, fp.type, ws, top());
}

void runDistortion(VoiceRecord& record, float* ws) {
  loadParams(2);
  if (record.note == 0) return;
  top() = distortionStep(decodeDistortion(paramScratch), ws, top());
}

void runDelay(VoiceRecord&, float*) {
  loadParams(8);
  const DelayParams dp = decodeDelay(paramScratch, rawParams(8));
  DelayLine* lines = delayPool + delayCursor;
  delayCursor += dp.lineCount;
  top() = delayStep(dp, dp.lineCount, top(), lines, machineSong->delayLengths.data() + dp.firstLine, delayPool[delayCursor]);
}

void runStackOperation(VoiceRecord&, float*) {
  const uint32_t operation = loadParams(1);
  valueStackDepth = stackOperation(static_cast<uint8_t>(operation), valueStack, valueStackDepth);
}

void runStore(VoiceRecord& record, float*) {
  const uint32_t target = loadParams(2);
  storeStep(storeFactor(paramScratch[0]), static_cast<uint8_t>(target), top(), record);
}

void runPan(VoiceRecord&, float* ws) {
  loadParams(1);
  const StereoPair pair = panStep(paramScratch[0], ws, pop());
  push(pair.right);
  push(pair.left);
}

void runOut(VoiceRecord& record, float* ws) {
  loadParams(2);
  const double left = pop();
  const double right = pop();
  outStep(paramScratch[0], paramScratch[1], ws, left, right, record);
}

void runAccumulate(VoiceRecord&, float*) {
  const uint32_t pair = loadParams(1);
  const StereoPair sums = accumulateStep(static_cast<uint8_t>(pair), voiceRecords);
  push(sums.right);
  push(sums.left);
}

void runNoOp(VoiceRecord&, float*) {}

void runProgram(VoiceRecord& record) {
  for (uint32_t u = 0;; ++u) {
    const uint8_t opcode = *programCursor++;
    if (opcode == kEndOfProgram) return;
    unitTable[opcode].run(record, record.workspace[u]);
  }
}

void stepVoice(uint32_t track, VoiceRecord& record, uint32_t sampleCounter) {
  runProgram(record);
  applyVoiceOffRule(record);
  storeShared(recordingCell(sampleCounter, track), recordedLevel(record));
}

void renderFramesByteCode(const SongData& song, float* output, uint32_t frameCount) {
  machineSong = &song;
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
