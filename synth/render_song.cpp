#include "synth/render_song.h"

#include <algorithm>
#include <cstring>

#include "synth/delay_unit.h"
#include "synth/opcodes.h"
#include "synth/sequencer.h"
#include "synth/shared_buffers.h"
#include "synth/unit_machine.h"
#include "synth/unit_math.h"
#include "synth/unrolled_song.h"

namespace {

SongLayout layout;
// The length of each pool line in the latest render, 0 for lines no delay
// unit claimed.
uint32_t lineLengths[kDelayLineCount];

// Validates the song and lays it out. The state carries over from one
// render to the next, as long as every delay line keeps its length: a line
// whose length changes could hold a write position beyond its new end, so
// then the render starts from the cleared state.
bool prepare(const SongData& song, std::string* error) {
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

// A render of the shipped instruments in progress: its song, where its
// frames go, the next frame and the frame it stops before.
struct SongRender {
  const SongData* song;
  float* output;
  uint32_t frame;
  uint32_t end;
};

SongRender current;
// Whether `current` is the shipped song's render that renderSongAhead
// continues.
bool shippedRenderGoing = false;

// Starts a render of song data that uses the shipped instruments.
bool startRender(const SongData& song, float* output, uint32_t frameCount, std::string* error) {
  shippedRenderGoing = false;
  if (!prepare(song, error)) return false;
  prepareUnrolledSong();
  current = SongRender{&song, output, 0, std::min(frameCount, kSongFrames)};
  return true;
}

// Renders up to frameCount more frames of the current render and publishes
// them; returns how many it rendered. A recording row keeps the levels of
// its last frame: it is written once that frame is done and published
// with it, so frames of an unfinished row wait for the next call; the
// render's last frame publishes everything.
uint32_t continueRender(uint32_t frameCount) {
  SongRender& r = current;
  const uint32_t first = r.frame;
  const uint32_t end = first + std::min(frameCount, r.end - first);
  VoiceRecord& master = voiceRecords[kMasterRecord];
  float* cursor = r.output + 2 * size_t{first};
  uint32_t frame = first;
  while (frame < end) {
    // Each trigger touches only its own record, which no earlier program
    // of the sample reads: all twelve may come before the first program.
    if (frame % kSamplesPerTick == 0) {
      for (uint32_t k = 0; k < kTrackCount; ++k) triggerTrack(*r.song, k, frame / kSamplesPerTick, voiceRecords[k]);
    }
    const uint32_t tickEnd = std::min(end, (frame / kSamplesPerTick + 1) * kSamplesPerTick);
    while (frame < tickEnd) {
      master.note = kMasterNote;
      runUnrolledSample();
      storeShared(cursor[0], synth::clipSample(master.mainLeft));
      storeShared(cursor[1], synth::clipSample(master.mainRight));
      cursor += 2;
      if (++frame % kFramesPerEnvelopeRow == 0) {
        writeRecordingRow(frame - 1);
        publishSynthFrames(frame);
      }
    }
  }
  r.frame = frame;
  if (frame == r.end) {
    if (frame % kFramesPerEnvelopeRow != 0) writeRecordingRow(frame - 1);
    publishSynthFrames(frame);
  }
  return frame - first;
}

const SongData& shippedSongData() {
  static const SongData shipped = shippedSong();
  return shipped;
}

// Starts the shipped song's render into `output`, for renderSongAhead to
// continue.
bool startShippedRender(float* output, std::string* error) {
  if (!startRender(shippedSongData(), output, kSongFrames, error)) return false;
  shippedRenderGoing = true;
  return true;
}

}  // namespace

bool renderSongFrames(const SongData& song, float* output, uint32_t frameCount, std::string* error) {
  if (!usesShippedInstruments(song)) return renderSongFramesByteCode(song, output, frameCount, error);
  if (!startRender(song, output, frameCount, error)) return false;
  continueRender(kSongFrames);
  return true;
}

bool renderSongFramesByteCode(const SongData& song, float* output, uint32_t frameCount, std::string* error) {
  shippedRenderGoing = false;
  if (!prepare(song, error)) return false;
  renderFramesByteCode(song, output, frameCount);
  return true;
}

bool checkShippedSong(std::string* error) {
  SongLayout checked;
  return analyseSong(shippedSongData(), checked, error);
}

bool renderSongAhead(void* synthOutput, uint32_t frameCount, uint32_t* rendered, std::string* error) {
  float* output = static_cast<float*>(synthOutput);
  *rendered = 0;
  if ((!shippedRenderGoing || current.output != output) && !startShippedRender(output, error)) return false;
  *rendered = continueRender(frameCount);
  return true;
}

uint32_t renderSong(void* synthOutput) {
  if (!startShippedRender(static_cast<float*>(synthOutput), nullptr)) return kSongRefused;
  uint32_t rendered = 0;
  while (renderSongAhead(synthOutput, kSongFrames, &rendered, nullptr) && rendered != 0) {
  }
  return kSongRendered;
}

void resetSynth() {
  shippedRenderGoing = false;
  clearVoiceState();
  std::memset(lineLengths, 0, sizeof lineLengths);
  std::memset(EnvelopeRecording, 0, sizeof EnvelopeRecording);
  publishSynthFrames(0);
}
