// The audio output on SDL 2: the device's callback copies the block's next
// finished frames (silence for frames not finished yet and past the end)
// and records each pull on the clock.
#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/audio_clock.h"
#include "platform/audio_output.h"
#include "platform/monotonic_clock.h"

namespace {

struct SdlAudioOutput {
  SDL_AudioDeviceID device = 0;
  AudioBlock block = {};
  uint32_t cursor = 0;  // touched by the device thread only
  std::optional<AudioClock> clock;
};

SdlAudioOutput output;

void SDLCALL fill(void*, Uint8* stream, int bytes) {
  const AudioBlock& block = output.block;
  const uint32_t channels = block.format.channels;
  const uint32_t frames = static_cast<uint32_t>(bytes) / (4u * channels);
  const uint32_t before = output.cursor;
  const uint32_t after = static_cast<uint32_t>(std::min<uint64_t>(uint64_t{before} + frames, block.frames));
  const uint32_t ready = std::max(before, std::min(block.framesFinished(), after));
  // Finished frames are never written again: a plain copy reads them whole.
  const size_t copied = size_t{ready - before} * channels;
  std::memcpy(stream, block.samples + size_t{before} * channels, copied * sizeof(float));
  std::memset(stream + copied * sizeof(float), 0, static_cast<size_t>(bytes) - copied * sizeof(float));
  output.cursor = after;
  clockRecordPull(*output.clock, before, after, monotonicNanoseconds());
}

bool refuse(std::string& reason, const char* what) {
  reason = std::string(what) + ": " + SDL_GetError();
  return false;
}

}  // namespace

bool openAudioOutput(const AudioBlock& block, std::string& reason) {
  if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return refuse(reason, "no audio system");
  output.block = block;
  output.cursor = 0;
  output.clock.emplace();
  output.clock->framesPerSecond = block.format.sampleRate;
  SDL_AudioSpec wanted = {};
  wanted.freq = static_cast<int>(block.format.sampleRate);
  wanted.format = AUDIO_F32SYS;
  wanted.channels = static_cast<Uint8>(block.format.channels);
  wanted.samples = 1024;
  wanted.callback = fill;
  SDL_AudioSpec got = {};
  output.device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &got, 0);
  if (output.device == 0) return refuse(reason, "no audio device");
  SDL_PauseAudioDevice(output.device, 0);
  return true;
}

uint32_t audioOutputPosition() {
  if (!output.clock) return 0;
  return clockPosition(*output.clock, monotonicNanoseconds(), output.block.frames);
}

void closeAudioOutput() {
  if (output.device != 0) SDL_CloseAudioDevice(output.device);
  output.device = 0;
  output.clock.reset();
  // The next open starts the audio system afresh, with the driver of that moment.
  if (SDL_WasInit(SDL_INIT_AUDIO)) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
