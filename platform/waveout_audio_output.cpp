// The audio output on the wave mapper: the whole block as one buffer,
// written once; the device plays it from memory while the song is still
// being rendered into it. The played position is the device's own,
// smoothed on the clock between the device's updates: each change of the
// reported position is a step from which playback runs on at the sample
// rate, for at most a tenth of a second until the next change.
#include <windows.h>
#include <mmreg.h>
#include <mmsystem.h>

#include <algorithm>
#include <optional>

#include "platform/audio_block.h"
#include "platform/audio_clock.h"
#include "platform/audio_output.h"
#include "platform/monotonic_clock.h"
#include "platform/win32_shared.h"

namespace {

struct WaveOutput {
  HWAVEOUT device = nullptr;
  WAVEHDR header = {};
  bool prepared = false;
  AudioBlock block = {};
  uint32_t bytesPerFrame = 0;
  uint32_t reported = 0;  // the device's latest position, in frames
  std::optional<AudioClock> clock;
};

WaveOutput output;

// Every failing wave call comes through here, with the device's own words.
bool refuse(std::string* error, const char* call, MMRESULT result) {
  char words[MAXERRORLENGTH] = {};
  waveOutGetErrorTextA(result, words, sizeof words);
  *error = failedCall(call, static_cast<long>(result), words);
  closeAudioOutput();
  return false;
}

// The device's position in frames; false when it gives none this time.
bool devicePosition(uint32_t& frames) {
  MMTIME time = {};
  time.wType = TIME_SAMPLES;
  if (waveOutGetPosition(output.device, &time, sizeof time) != MMSYSERR_NOERROR) return false;
  // A device may answer in another format than the one asked for.
  switch (time.wType) {
    case TIME_SAMPLES:
      frames = time.u.sample;
      return true;
    case TIME_BYTES:
      frames = time.u.cb / output.bytesPerFrame;
      return true;
    case TIME_MS:
      frames = static_cast<uint32_t>(uint64_t{time.u.ms} * output.block.format.sampleRate / 1000);
      return true;
    default:
      return false;
  }
}

}  // namespace

bool openAudioOutput(const AudioBlock& block, std::string* error) {
  closeAudioOutput();
  if (!checkAudioBlock(block, error)) return false;
  output.block = block;
  output.bytesPerFrame = block.format.channels * static_cast<uint32_t>(sizeof(float));
  WAVEFORMATEX format = {};
  format.wFormatTag = WAVE_FORMAT_IEEE_FLOAT;
  format.nChannels = static_cast<WORD>(block.format.channels);
  format.nSamplesPerSec = block.format.sampleRate;
  format.nAvgBytesPerSec = block.format.sampleRate * output.bytesPerFrame;
  format.nBlockAlign = static_cast<WORD>(output.bytesPerFrame);
  format.wBitsPerSample = 32;
  format.cbSize = 0;
  MMRESULT result = waveOutOpen(&output.device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL);
  if (result != MMSYSERR_NOERROR) {
    output.device = nullptr;
    return refuse(error, "waveOutOpen", result);
  }
  // The device only reads the block.
  output.header.lpData = reinterpret_cast<LPSTR>(const_cast<float*>(block.samples));
  output.header.dwBufferLength = static_cast<DWORD>(uint64_t{block.frames} * output.bytesPerFrame);
  result = waveOutPrepareHeader(output.device, &output.header, sizeof output.header);
  if (result != MMSYSERR_NOERROR) return refuse(error, "waveOutPrepareHeader", result);
  output.prepared = true;
  output.clock.emplace();
  clockStart(*output.clock, block.format.sampleRate);
  result = waveOutWrite(output.device, &output.header, sizeof output.header);
  if (result != MMSYSERR_NOERROR) return refuse(error, "waveOutWrite", result);
  return true;
}

uint32_t audioOutputPosition() {
  if (!output.device) return 0;
  const uint64_t now = monotonicNanoseconds();
  uint32_t frames = 0;
  if (devicePosition(frames) && frames > output.reported) {
    // Between two of the device's updates playback goes on at the sample
    // rate; a device that stalls is not run past by more than the window.
    const uint32_t window = output.block.format.sampleRate / 10;
    const auto reach = static_cast<uint32_t>(std::min<uint64_t>(uint64_t{frames} + window, output.block.frames));
    clockRecordPull(*output.clock, frames, reach, now);
    output.reported = frames;
  }
  return clockPosition(*output.clock, now, output.block.frames);
}

void closeAudioOutput() {
  if (output.device) {
    waveOutReset(output.device);
    if (output.prepared) waveOutUnprepareHeader(output.device, &output.header, sizeof output.header);
    waveOutClose(output.device);
  }
  output.device = nullptr;
  output.header = WAVEHDR{};
  output.prepared = false;
  output.reported = 0;
  output.clock.reset();
}
