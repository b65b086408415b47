// The default audio output of a web page: a Web Audio context that plays
// the block as buffers scheduled back to back on its own clock. Each query
// of the position schedules the buffers due within the next moments, as far
// as their frames are complete (a buffer whose time has come is scheduled
// as it stands: its unfinished frames play as silence). The played position
// is the context's clock since the first buffer's start. The context is
// made and resumed beforehand (prepareAudioOutput), while the viewer's
// click still counts, and closed with the output.
#include <emscripten/emscripten.h>

#include <algorithm>

#include "platform/audio_block.h"
#include "platform/audio_output.h"
#include "platform/web_page.h"

namespace {

constexpr uint32_t kBufferFrames = 8192;     // about 0.19 s at 44 100 frames a second
constexpr double kScheduleAheadSeconds = 2;  // buffers go to the context this far ahead
constexpr double kLastCallSeconds = 0.25;    // a buffer this close to its time goes as it stands

struct WebAudioOutput {
  AudioBlock block = {};
  bool open = false;
  uint32_t scheduledThrough = 0;  // frames handed to the context
  uint32_t lastPosition = 0;
  float buffer[kBufferFrames * 2] = {};
};

WebAudioOutput output;

using AudioReady = void (*)();

// A new context, resumed; `ready` is called once it plays or the browser
// has held it back for a moment (the click that started it may not count).
EM_JS(void, makeContext, (int sampleRate, AudioReady ready), {
  const audio = webAudioOutput;
  const answer = () => {
    try {
      getWasmTableEntry(ready)();
    } catch (failure) {
      if (failure !== "unwind") throw failure;
    }
  };
  if (audio.context) audio.context.close();
  audio.context = null;
  audio.problem = "";
  let context;
  try {
    context = new AudioContext({sampleRate: sampleRate, latencyHint: "playback"});
  } catch (failure) {
    audio.problem = String(failure);
    setTimeout(answer, 0);
    return;
  }
  audio.context = context;
  audio.sampleRate = sampleRate;
  const resumed = context.state === "running" ? Promise.resolve() : context.resume();
  Promise.race([resumed, new Promise(resolve => setTimeout(resolve, 300))]).catch(() => {}).then(answer);
});

// The prepared context starts playing now; false with the reason when it
// does not play.
EM_JS(bool, startContext, (char* problem, int capacity), {
  const audio = webAudioOutput;
  if (!audio.context || audio.context.state !== "running") {
    const reason = audio.problem || (audio.context ? "the browser holds sound back until the page gets a click or a key"
                                                   : "the page has no audio context");
    stringToUTF8(reason, problem, capacity);
    return false;
  }
  audio.startTime = audio.context.currentTime + 0.1;
  return true;
});

EM_JS(double, contextPosition, (), {
  const audio = webAudioOutput;
  return Math.max(0, Math.floor((audio.context.currentTime - audio.startTime) * audio.sampleRate));
});

EM_JS(void, scheduleBuffer, (const float* samples, int frames, int channels, int atFrame), {
  const audio = webAudioOutput;
  const buffer = audio.context.createBuffer(channels, frames, audio.sampleRate);
  const interleaved = HEAPF32.subarray(samples >> 2, (samples >> 2) + frames * channels);
  for (let channel = 0; channel < channels; ++channel) {
    const data = buffer.getChannelData(channel);
    for (let frame = 0; frame < frames; ++frame) data[frame] = interleaved[frame * channels + channel];
  }
  const source = audio.context.createBufferSource();
  source.buffer = buffer;
  source.connect(audio.context.destination);
  source.start(audio.startTime + atFrame / audio.sampleRate);
});

EM_JS(void, closeContext, (), {
  const audio = webAudioOutput;
  if (audio.context) audio.context.close();
  audio.context = null;
});

void scheduleDueBuffers(uint32_t played) {
  const AudioBlock& block = output.block;
  const uint32_t rate = block.format.sampleRate;
  const uint32_t horizon = played + static_cast<uint32_t>(kScheduleAheadSeconds * rate);
  const uint32_t lastCall = played + static_cast<uint32_t>(kLastCallSeconds * rate);
  while (output.scheduledThrough < block.frames && output.scheduledThrough < horizon) {
    const uint32_t from = output.scheduledThrough;
    const uint32_t frames = std::min(kBufferFrames, block.frames - from);
    const bool complete = !block.framesFinished || block.framesFinished() >= from + frames;
    if (!complete && from > lastCall) return;
    copyBlockFrames(block, from, output.buffer, frames);
    scheduleBuffer(output.buffer, static_cast<int>(frames), static_cast<int>(block.format.channels),
                   static_cast<int>(from));
    output.scheduledThrough = from + frames;
  }
}

}  // namespace

bool openAudioOutput(const AudioBlock& block, std::string* error) {
  if (output.open) {
    *error = webFailure("no sound", "the audio output is already open");
    return false;
  }
  if (!checkAudioBlock(block, error)) return false;
  char problem[256];
  if (!startContext(problem, sizeof problem)) {
    *error = webFailure("No sound in this page", problem);
    return false;
  }
  output.block = block;
  output.open = true;
  output.scheduledThrough = 0;
  output.lastPosition = 0;
  scheduleDueBuffers(0);
  return true;
}

uint32_t audioOutputPosition() {
  if (!output.open) return 0;
  const AudioBlock& block = output.block;
  const double reading = contextPosition();
  const uint32_t now = static_cast<uint32_t>(std::min<double>(reading, block.frames));
  output.lastPosition = std::max(output.lastPosition, now);
  scheduleDueBuffers(output.lastPosition);
  return output.lastPosition;
}

void prepareAudioOutput(uint32_t sampleRate, void (*ready)()) { makeContext(static_cast<int>(sampleRate), ready); }

void closeAudioOutput() {
  if (!output.open) return;
  closeContext();
  output.open = false;
}
