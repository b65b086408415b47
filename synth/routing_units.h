// The units that route signals: stack operation (opcode 6), store (7),
// pan (8), out (9) and accumulate (10). They keep no state of their own and
// run whatever the voice's note. A stereo pair on the value stack has the
// left value on top.
#pragma once

#include <cstdint>

#include "synth/opcodes.h"
#include "synth/voice_state.h"

// Applies a stack operation to the values stack[0..depth-1] (top last) and
// returns the new depth. The caller guarantees the depth each one needs.
inline uint32_t stackOperation(uint8_t operation, double* stack, uint32_t depth) {
  double* top = stack + depth - 1;
  switch (operation) {
    case kStackPop:
      return depth - 1;
    case kStackAdd:
      top[-1] = top[-1] + top[0];
      return depth - 1;
    case kStackMultiply:
      top[-1] = top[-1] * top[0];
      return depth - 1;
    case kStackDuplicate:
      top[1] = top[0];
      return depth + 1;
    case kStackSwap: {
      const double a = top[0];
      top[0] = top[-1];
      top[-1] = a;
      return depth;
    }
    case kStackAddKeep:
      top[0] = top[0] + top[-1];
      return depth;
    case kStackMultiplyKeep:
      top[0] = top[0] * top[-1];
      return depth;
    case kStackStereoAdd:
      top[-3] = top[-3] + top[-1];
      top[-2] = top[-2] + top[0];
      return depth - 2;
    default:
      return depth;
  }
}

// The store's factor for its amount value p: 2p - 1.
constexpr double storeFactor(double amount) { return 2.0 * amount - 1.0; }

// Writes the scaled top value into voice slot `target` of the same record.
inline void storeStep(double factor, uint8_t target, double top, VoiceRecord& voice) {
  voiceSlot(voice, target) = static_cast<float>(factor * top);
}

struct StereoPair {
  double right;
  double left;
};

// Slot 0: position modulation (see plusSlot for Live).
template <uint8_t Live = kAllSlotsLive>
inline StereoPair panStep(double position, const float* ws, double x) {
  const double pos = plusSlot<Live, 0>(position, ws);
  const double right = x * pos;
  return StereoPair{right, x - right};
}

// Slot 1: gain modulation (see plusSlot for Live).
template <uint8_t Live = kAllSlotsLive>
inline void outStep(double gain, double auxGain, const float* ws, double left, double right, VoiceRecord& voice) {
  const double g = plusSlot<Live, 1>(gain, ws);
  voice.auxLeft = static_cast<float>(left * auxGain);
  voice.auxRight = static_cast<float>(right * auxGain);
  voice.mainLeft = static_cast<float>(left * g);
  voice.mainRight = static_cast<float>(right * g);
}

// Sums one pair of the twelve track records' out areas.
inline StereoPair accumulateStep(uint8_t pair, const VoiceRecord* tracks) {
  double left = 0.0;
  double right = 0.0;
  if (pair == kAccumulateAux) {
    for (uint32_t k = 0; k < kTrackCount; ++k) {
      left += tracks[k].auxLeft;
      right += tracks[k].auxRight;
    }
  } else {
    for (uint32_t k = 0; k < kTrackCount; ++k) {
      left += tracks[k].mainLeft;
      right += tracks[k].mainRight;
    }
  }
  return StereoPair{right, left};
}
