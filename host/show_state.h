// The show's carried state: everything the frame loop keeps from one frame
// to the next, in one record. The show owns one (showState, host/show.h);
// an offline render that starts late steps a copy of its own through the
// frames before its first (host/frame_replay.h).
#pragma once

#include "visuals/effect_values.h"
#include "visuals/text_layout.h"

struct ShowState {
  float musicTime = 0.0f;          // this frame's: played position / 330688
  float previousMusicTime = 0.0f;  // the previous frame's, stored after drawing; 0 during the first frame
  float flashLevel = 0.0f;         // amplitude of the shake, 0.5 at a peak of track 2, then decaying
  float flashTime = 0.0f;          // musicTime of the latest frame with a peak
  Matrix4 cameraMatrix = {};       // this frame's camera rotation ("m")
  TextPageState textPageState;     // the text page shown and its countdown, stepped by the text layer
};
// A default-made ShowState is the state at the show's start.
