// One frame's animated values, derived from the played position alone
// (plus the flash carried from frame to frame). No platform code: the show
// and the offline capture share it.
#pragma once

#include <cstdint>

struct Matrix4 {
  float m[4][4];  // m[row][column], row-vector convention: v' = v * M
};

// Frame-loop state, program-wide, all 0 at start.
extern float musicTime;
extern float previousMusicTime;
extern float flashLevel;
extern float flashTime;
extern Matrix4 cameraMatrix;

// What the frame loop sets on the effect before drawing.
struct EffectValues {
  float e[4];  // shake: only x is read by the passes
  Matrix4 m;   // camera rotation
  float t;     // musicTime * 10
  float u;     // musicTime * 0.5
};

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
// recorded level (levelTrack2), the shake, the camera. Updates the
// program-wide state and returns the effect's values.
EffectValues beginFrame(uint32_t position, float levelTrack2);

// Reads track 2's level for the position from EnvelopeRecording, then beginFrame.
EffectValues beginFrameFromRecording(uint32_t position);

// After drawing: previousMusicTime = musicTime. Returns true when the song
// has played to its end (position at or past the last frame).
bool endFrame(uint32_t position);

// Back to the state at program start (tests and repeated offline captures).
void resetFrameState();
