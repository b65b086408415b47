// The units that route signals: stack operation (opcode 6), store (7),
// pan (8), out (9) and accumulate (10). They keep no state of their own and
// run whatever the voice's note. A stereo pair on the value stack has the
// left value on top.
#pragma once

#include <cstdint>

#include "synth/opcodes.h"
#include "synth/voice_state.h"

// Rearranges and combines the values below `s`, the stack's next free
// place (s[-1] is the top), by the raw operation byte 1..8; the results
// take the places of the operands from the lowest up.
[[gnu::always_inline]] inline void stackOperationUnit(uint8_t operation, double* s) {
  switch (operation) {
    case kStackAdd:
      s[-2] = s[-2] + s[-1];
      break;
    case kStackMultiply:
      s[-2] = s[-2] * s[-1];
      break;
    case kStackDuplicate:
      s[0] = s[-1];
      break;
    case kStackSwap: {
      const double a = s[-1];
      s[-1] = s[-2];
      s[-2] = a;
      break;
    }
    case kStackAddKeep:
      s[-1] = s[-1] + s[-2];
      break;
    case kStackMultiplyKeep:
      s[-1] = s[-1] * s[-2];
      break;
    case kStackStereoAdd:
      s[-4] = s[-4] + s[-2];
      s[-3] = s[-3] + s[-1];
      break;
    default:  // pop: nothing moves
      break;
  }
}

// The store's factor for its amount value p: 2p - 1.
constexpr double storeFactor(double amount) { return 2.0 * amount - 1.0; }

// Raw byte 1: the voice slot index the store writes.
constexpr uint8_t storeTarget(const uint8_t* raw) { return raw[1]; }

struct StoreParams {
  double factor;
  uint8_t target;
};

constexpr StoreParams decodeStore(const float* p, const uint8_t* raw) {
  return StoreParams{storeFactor(p[0]), storeTarget(raw)};
}

// Writes the scaled top value into voice slot `target` of the same record.
inline void storeStep(double factor, uint8_t target, double top, VoiceRecord& voice) {
  voiceSlot(voice, target) = static_cast<float>(factor * top);
}

// Stores the top value, which stays where it is.
[[gnu::always_inline]] inline void storeUnit(const StoreParams& st, VoiceRecord& voice, const double* s) {
  storeStep(st.factor, st.target, s[-1], voice);
}

struct StereoPair {
  double right;
  double left;
};

constexpr double decodePan(const float* p) { return p[0]; }

// Slot 0: position modulation (see plusSlot for Live).
template <uint8_t Live = kAllSlotsLive>
inline StereoPair panStep(double position, const float* ws, double x) {
  const double pos = plusSlot<Live, 0>(position, ws);
  const double right = x * pos;
  return StereoPair{right, x - right};
}

// Replaces the top value by its right share, then pushes the left.
template <uint8_t Live = kAllSlotsLive>
[[gnu::always_inline]] inline void panUnit(double position, const float* ws, double* s) {
  const StereoPair pair = panStep<Live>(position, ws, s[-1]);
  s[-1] = pair.right;
  s[0] = pair.left;
}

struct OutParams {
  double gain;
  double auxGain;
};

constexpr OutParams decodeOut(const float* p) { return OutParams{p[0], p[1]}; }

// Slot 1: gain modulation (see plusSlot for Live).
template <uint8_t Live = kAllSlotsLive>
inline void outStep(double gain, double auxGain, const float* ws, double left, double right, VoiceRecord& voice) {
  const double g = plusSlot<Live, 1>(gain, ws);
  voice.auxLeft = static_cast<float>(left * auxGain);
  voice.auxRight = static_cast<float>(right * auxGain);
  voice.mainLeft = static_cast<float>(left * g);
  voice.mainRight = static_cast<float>(right * g);
}

// Takes the pair on top (left on top) into the voice's out area.
template <uint8_t Live = kAllSlotsLive>
[[gnu::always_inline]] inline void outUnit(const OutParams& o, const float* ws, VoiceRecord& voice, const double* s) {
  outStep<Live>(o.gain, o.auxGain, ws, s[-1], s[-2], voice);
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

// Pushes the sums of the pair named by the raw byte, right then left.
[[gnu::always_inline]] inline void accumulateUnit(uint8_t pair, const VoiceRecord* tracks, double* s) {
  const StereoPair sums = accumulateStep(pair, tracks);
  s[0] = sums.right;
  s[1] = sums.left;
}
