// The audio output on SDL 2: the device's callback pulls the block's frames
// at a cursor, and the clock estimates the played position from its pulls.
#include <SDL.h>

#include "platform/audio_block.h"
#include "platform/audio_clock.h"
#include "platform/audio_output.h"
#include "platform/failure_text.h"
#include "platform/monotonic_clock.h"
#include "platform/sdl_shared.h"

namespace {

struct SdlAudio {
  SDL_AudioDeviceID device = 0;
  AudioBlock playing = {};
  uint32_t cursor = 0;  // the next frame to hand out; the device thread's alone while it runs
  AudioClock playClock;
};

SdlAudio state;

void SDLCALL fill(void*, Uint8* stream, int bytes) {
  const uint32_t frames = static_cast<uint32_t>(bytes) / (state.playing.format.channels * uint32_t{sizeof(float)});
  const uint32_t before = state.cursor;
  state.cursor = copyBlockFrames(state.playing, before, reinterpret_cast<float*>(stream), frames);
  clockRecordPull(state.playClock, before, state.cursor, monotonicNanoseconds());
}

void forget() {
  state.playing = {};
  state.cursor = 0;
  clockStart(state.playClock, 0);
}

}  // namespace

bool openAudioOutput(const AudioBlock& block, std::string* error) {
  if (state.device != 0) {
    *error = platformFailure("the audio output is already open");
    return false;
  }
  if (!checkAudioBlock(block, error)) return false;
  if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    *error = sdlFailure("no audio system");
    return false;
  }
  state.playing = block;
  state.cursor = 0;
  clockStart(state.playClock, block.format.sampleRate);
  SDL_AudioSpec wanted = {};
  wanted.freq = static_cast<int>(block.format.sampleRate);
  wanted.format = AUDIO_F32SYS;
  wanted.channels = static_cast<Uint8>(block.format.channels);
  wanted.samples = 1024;
  wanted.callback = fill;
  // No changes allowed: SDL converts to whatever the device takes, so every
  // pull is in the block's own format.
  SDL_AudioSpec got = {};
  state.device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &got, 0);
  if (state.device == 0) {
    *error = sdlFailure("no audio device");
    forget();
    return false;
  }
  // Until now the device was paused and may have played silence already;
  // the clock counts from the first pull, which hands out frame 0.
  SDL_PauseAudioDevice(state.device, 0);
  return true;
}

uint32_t audioOutputPosition() {
  return clockPosition(state.playClock, monotonicNanoseconds(), state.playing.frames);
}

void closeAudioOutput() {
  if (state.device != 0) SDL_CloseAudioDevice(state.device);
  state.device = 0;
  forget();
  // The next open starts the audio system afresh, with the driver of that moment.
  if (SDL_WasInit(SDL_INIT_AUDIO)) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
