#include "host/frame_values.h"

#include <cmath>

#include "synth/shared_buffers.h"

namespace {
constexpr float kDegree = 0.017453292f;  // pi / 180 in single precision
constexpr float kFlashTrigger = 0.7f;
constexpr uint32_t kTrack2Column = 4;
}  // namespace

float sineF(float x) { return std::sin(x); }
float cosineF(float x) { return std::cos(x); }

float musicTimeAt(uint32_t position) {
  // Every position of the song is below 2^24, so the conversion is exact.
  return static_cast<float>(position) / static_cast<float>(kSamplesPerMusicUnit);
}

uint32_t envelopeRowAt(uint32_t position) { return position >> 8; }

Matrix4 yawPitchMatrix(float yaw, float pitch) {
  const float sy = sineF(yaw), cy = cosineF(yaw);
  const float sp = sineF(pitch), cp = cosineF(pitch);
  Matrix4 r = {};
  r.m[0][0] = cy;
  r.m[0][1] = 0.0f;
  r.m[0][2] = -sy;
  r.m[1][0] = sp * sy;
  r.m[1][1] = cp;
  r.m[1][2] = sp * cy;
  r.m[2][0] = cp * sy;
  r.m[2][1] = -sp;
  r.m[2][2] = cp * cy;
  r.m[3][3] = 1.0f;
  return r;
}

EffectValues beginFrame(ShowState& state, uint32_t position, float levelTrack2) {
  float& musicTime = state.musicTime;
  float& flashLevel = state.flashLevel;
  float& flashTime = state.flashTime;
  musicTime = musicTimeAt(position);

  if (levelTrack2 > kFlashTrigger) {
    flashLevel = 0.5f;
    flashTime = musicTime;
  } else if (flashLevel > 0.0f) {
    // flashTime stays at the trigger: each frame subtracts the whole time
    // since the peak, so the decay speeds up, and may overshoot below zero
    // for one frame.
    flashLevel = flashLevel - (musicTime - flashTime);
  } else {
    flashLevel = 0.0f;
  }

  EffectValues v = {};
  const float amplitude = flashLevel * 2.5f;
  v.e[0] = sineF(musicTime * 999.0f) * amplitude;

  const float T = musicTime;
  const float pitch = (25.0f * sineF(9.0f * T) + 10.0f * sineF(3.0f * T) + 5.0f * sineF(7.0f * T)) * kDegree;
  const float yaw = (25.0f * sineF(7.0f * T) + 10.0f * sineF(4.0f * T) + 5.0f * sineF(6.0f * T)) * kDegree;
  state.cameraMatrix = yawPitchMatrix(yaw, pitch);
  v.m = state.cameraMatrix;

  v.t = T * 10.0f;
  v.u = T * 0.5f;
  return v;
}

EffectValues beginFrameFromRecording(ShowState& state, uint32_t position) {
  uint32_t row = envelopeRowAt(position);
  if (row >= kEnvelopeRows) row = kEnvelopeRows - 1;  // a device position never passes the end
  return beginFrame(state, position, loadShared(EnvelopeRecording[row][kTrack2Column]));
}

FrameInputs frameInputs(const ShowState& state, const EffectValues& values) {
  return FrameInputs{values, state.musicTime, state.previousMusicTime};
}

bool endFrame(ShowState& state, uint32_t position) {
  state.previousMusicTime = state.musicTime;
  return position >= kSongFrames;
}
