// One frame's animated values, derived from the played position alone
// (plus the state carried from frame to frame, a ShowState). No platform
// code: the show and the offline capture share it.
#pragma once

#include <cstdint>

#include "host/show_state.h"
#include "visuals/effect_values.h"
#include "visuals/frame_inputs.h"

// Sine of a single-precision argument, single-precision result.
float sineF(float x);
float cosineF(float x);

// musicTime for a played position: P / 330688 rounded to single precision.
float musicTimeAt(uint32_t position);

// The row of the envelope recording that belongs to a played position.
uint32_t envelopeRowAt(uint32_t position);

// The rotation of yaw about y after pitch about x (roll 0), row-vector
// convention, upper 3x3 block as in the show's camera.
Matrix4 yawPitchMatrix(float yaw, float pitch);

// Steps of one frame before drawing: musicTime, the flash from track 2's
// recorded level (levelTrack2), the shake, the camera. Updates `state` and
// returns the effect's values.
EffectValues beginFrame(ShowState& state, uint32_t position, float levelTrack2);

// Reads track 2's level for the position from EnvelopeRecording, then beginFrame.
EffectValues beginFrameFromRecording(ShowState& state, uint32_t position);

// What the renderer is handed for the frame that beginFrame began: the
// effect values with the state's musicTime and previousMusicTime.
FrameInputs frameInputs(const ShowState& state, const EffectValues& values);

// After drawing: previousMusicTime = musicTime. Returns true when the song
// has played to its end (position at or past the last frame).
bool endFrame(ShowState& state, uint32_t position);
