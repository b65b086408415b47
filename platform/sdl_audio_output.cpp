#include <SDL.h>

#include "platform/audio_output.h"

namespace {

SDL_AudioDeviceID device = 0;
AudioPull pullFrames = nullptr;
void* pullUser = nullptr;

void SDLCALL fill(void*, Uint8* stream, int bytes) {
  pullFrames(reinterpret_cast<float*>(stream), static_cast<uint32_t>(bytes) / 8u, pullUser);
}

}  // namespace

bool openAudioOutput(AudioPull pull, void* user, std::string& reason) {
  if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    reason = std::string("no audio system: ") + SDL_GetError();
    return false;
  }
  pullFrames = pull;
  pullUser = user;
  SDL_AudioSpec wanted = {};
  wanted.freq = 44100;
  wanted.format = AUDIO_F32SYS;
  wanted.channels = 2;
  wanted.samples = 1024;
  wanted.callback = fill;
  SDL_AudioSpec got = {};
  device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &got, 0);
  if (device == 0) {
    reason = std::string("no audio device: ") + SDL_GetError();
    return false;
  }
  SDL_PauseAudioDevice(device, 0);
  return true;
}

void closeAudioOutput() {
  if (device != 0) SDL_CloseAudioDevice(device);
  device = 0;
  // The next open starts the audio system afresh, with the driver of that moment.
  if (SDL_WasInit(SDL_INIT_AUDIO)) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
