#include "synth/render_song.h"

#include <algorithm>
#include <cstring>

#include "synth/compiled_song.h"
#include "synth/delay_unit.h"
#include "synth/opcodes.h"
#include "synth/sequencer.h"
#include "synth/shared_buffers.h"
#include "synth/unit_machine.h"
#include "synth/unit_math.h"
#include "synth/unrolled_song.h"

namespace {

CompiledSong compiled;
SongLayout layout;
// The length of each pool line in the latest render, 0 for lines no delay
// unit claimed.
uint32_t lineLengths[kDelayLineCount];

// Validates the song and lays it out. The state carries over from one
// render to the next, as long as every delay line keeps its length: a line
// whose length changes could hold a write position beyond its new end, so
// then the render starts from the cleared state.
bool prepare(const SongData& song, SongDataError* error) {
  if (!analyseSong(song, layout, error)) return false;
  uint32_t lengths[kDelayLineCount] = {};
  for (uint32_t i = 0; i < layout.unitCount; ++i) {
    const UnitLayout& u = layout.units[i];
    if (u.opcode != kDelay) continue;
    const uint8_t* raw = song.params.data() + u.param;
    for (uint32_t j = 0; j < delayLineCount(raw); ++j)
      lengths[u.firstLine + j] = song.delayLengths[delayFirstLength(raw) + j];
  }
  if (std::memcmp(lengths, lineLengths, sizeof lengths) != 0) {
    clearVoiceState();
    std::memcpy(lineLengths, lengths, sizeof lengths);
  }
  noteDelayLinesTouched(layout.linesClaimed + 1);
  return true;
}

// The recording row of `frame`: every track's first envelope level as its
// program left it on that frame.
void writeRecordingRow(uint32_t frame) {
  float* row = EnvelopeRecording[frame / kFramesPerEnvelopeRow];
  for (uint32_t k = 0; k < kTrackCount; ++k) storeShared(row[2 * k], recordedLevel(voiceRecords[k]));
}

}  // namespace

bool renderSongFrames(const SongData& song, float* output, uint32_t frameCount, SongDataError* error) {
  if (!prepare(song, error)) return false;
  compileSong(song, layout, compiled);
  frameCount = std::min(frameCount, kSongFrames);
  void (*runSample)(CompiledUnit*) = usesShippedInstruments(song) ? runUnrolledSample : runCompiledSample;
  VoiceRecord& master = voiceRecords[kMasterRecord];
  uint32_t frame = 0;
  float* cursor = output;
  for (uint32_t tick = 0; frame < frameCount; ++tick) {
    // Each trigger touches only its own record, which no earlier program
    // of the sample reads: all twelve may come before the first program.
    for (uint32_t k = 0; k < kTrackCount; ++k) triggerTrack(song, k, tick, voiceRecords[k]);
    const uint32_t tickEnd = std::min(frame + kSamplesPerTick, frameCount);
    while (frame < tickEnd) {
      master.note = kMasterNote;
      runSample(compiled.units);
      storeShared(cursor[0], synth::clipSample(master.mainLeft));
      storeShared(cursor[1], synth::clipSample(master.mainRight));
      cursor += 2;
      // A recording row keeps the levels of its last frame: it is written
      // once that frame is done, and published with it.
      if (++frame % kFramesPerEnvelopeRow == 0) {
        writeRecordingRow(frame - 1);
        publishSynthFrames(frame);
      }
    }
  }
  if (frame % kFramesPerEnvelopeRow != 0) writeRecordingRow(frame - 1);
  publishSynthFrames(frame);
  return true;
}

bool renderSongFramesByteCode(const SongData& song, float* output, uint32_t frameCount, SongDataError* error) {
  if (!prepare(song, error)) return false;
  renderFramesByteCode(song, output, frameCount);
  return true;
}

uint32_t renderSong(void* synthOutput) {
  return renderSongFrames(shippedSong(), static_cast<float*>(synthOutput), kSongFrames, nullptr) ? 0 : 1;
}

void resetSynth() {
  clearVoiceState();
  std::memset(lineLengths, 0, sizeof lineLengths);
  std::memset(EnvelopeRecording, 0, sizeof EnvelopeRecording);
  publishSynthFrames(0);
}
