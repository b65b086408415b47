// Each unit kind as both render paths run it: how its parameters decode
// from the parameter values p (byte / 128, as loadParams leaves them) and
// the raw bytes, and its unit function on the value stack (unit_table.h).
// The byte-code machine decodes at every sample and picks the unit by its
// opcode as it walks the program; the unrolled render decodes when it is
// built and knows every unit's kind and place.
//
// Each UnitStep<opcode> has decode(p, raw) and run<Live, InRange>(params,
// at, s), `s` being the stack's next free place. Live has bit k set when
// modulation slot k of the unit's workspace may hold anything but +0 (see
// plusSlot); InRange tells an oscillator that its waveform value lies in
// [-1, 1]. Other units ignore what does not concern them.
#pragma once

#include <cstdint>

#include "synth/delay_unit.h"
#include "synth/opcodes.h"
#include "synth/routing_units.h"
#include "synth/shaping_units.h"
#include "synth/source_units.h"
#include "synth/voice_state.h"

// Where a unit works, besides its parameters.
struct UnitPlace {
  VoiceRecord* voice;       // the record of its program
  float* ws;                // its workspace there
  DelayLine* lines;         // delay: the first pool line it claims
  const uint16_t* lengths;  // delay: the song's delay length table
  PitchCache* pitch;        // oscillator: its pitch cache, or null
};

template <uint8_t Opcode>
struct UnitStep;

// The envelope's rates are powers of two, taken at run time.
template <>
struct UnitStep<kEnvelope> {
  static EnvelopeParams decode(const float* p, const uint8_t*) { return decodeEnvelope(p); }
  template <uint8_t Live = kAllSlotsLive, bool InRange = false>
  [[gnu::always_inline]] static void run(const EnvelopeParams& e, const UnitPlace& at, double* s) {
    envelopeUnit<Live>(e, *at.voice, at.ws, s);
  }
};

template <>
struct UnitStep<kOscillator> {
  static constexpr OscillatorParams decode(const float* p, const uint8_t* raw) { return decodeOscillator(p, raw); }
  template <uint8_t Live = kAllSlotsLive, bool InRange = false>
  [[gnu::always_inline]] static void run(const OscillatorParams& o, const UnitPlace& at, double* s) {
    oscillatorUnit<Live, InRange>(o, o.flags, *at.voice, at.ws, at.pitch, s);
  }
};

template <>
struct UnitStep<kFilter> {
  static constexpr FilterParams decode(const float* p, const uint8_t* raw) { return decodeFilter(p, raw); }
  template <uint8_t Live = kAllSlotsLive, bool InRange = false>
  [[gnu::always_inline]] static void run(const FilterParams& f, const UnitPlace& at, double* s) {
    filterUnit<Live>(f, f.type, *at.voice, at.ws, s);
  }
};

template <>
struct UnitStep<kDistortion> {
  static constexpr DistortionParams decode(const float* p, const uint8_t*) { return decodeDistortion(p); }
  template <uint8_t Live = kAllSlotsLive, bool InRange = false>
  [[gnu::always_inline]] static void run(const DistortionParams& d, const UnitPlace& at, double* s) {
    distortionUnit(d, *at.voice, at.ws, s);
  }
};

template <>
struct UnitStep<kDelay> {
  static constexpr DelayParams decode(const float* p, const uint8_t* raw) { return decodeDelay(p, raw); }
  template <uint8_t Live = kAllSlotsLive, bool InRange = false>
  [[gnu::always_inline]] static void run(const DelayParams& d, const UnitPlace& at, double* s) {
    delayUnit(d, d.lineCount, at.lines, at.lengths + d.firstLine, s);
  }
};

// The parameter is the raw operation byte.
template <>
struct UnitStep<kStackOperation> {
  static constexpr uint8_t decode(const float*, const uint8_t* raw) { return raw[0]; }
  template <uint8_t Live = kAllSlotsLive, bool InRange = false>
  [[gnu::always_inline]] static void run(uint8_t operation, const UnitPlace&, double* s) {
    stackOperationUnit(operation, s);
  }
};

template <>
struct UnitStep<kStore> {
  static constexpr StoreParams decode(const float* p, const uint8_t* raw) { return decodeStore(p, raw); }
  template <uint8_t Live = kAllSlotsLive, bool InRange = false>
  [[gnu::always_inline]] static void run(const StoreParams& st, const UnitPlace& at, double* s) {
    storeUnit(st, *at.voice, s);
  }
};

// The parameter is the position.
template <>
struct UnitStep<kPan> {
  static constexpr double decode(const float* p, const uint8_t*) { return decodePan(p); }
  template <uint8_t Live = kAllSlotsLive, bool InRange = false>
  [[gnu::always_inline]] static void run(double position, const UnitPlace& at, double* s) {
    panUnit<Live>(position, at.ws, s);
  }
};

template <>
struct UnitStep<kOut> {
  static constexpr OutParams decode(const float* p, const uint8_t*) { return decodeOut(p); }
  template <uint8_t Live = kAllSlotsLive, bool InRange = false>
  [[gnu::always_inline]] static void run(const OutParams& o, const UnitPlace& at, double* s) {
    outUnit<Live>(o, at.ws, *at.voice, s);
  }
};

// The parameter is the raw pair byte.
template <>
struct UnitStep<kAccumulate> {
  static constexpr uint8_t decode(const float*, const uint8_t* raw) { return raw[0]; }
  template <uint8_t Live = kAllSlotsLive, bool InRange = false>
  [[gnu::always_inline]] static void run(uint8_t pair, const UnitPlace&, double* s) {
    accumulateUnit(pair, voiceRecords, s);
  }
};

template <>
struct UnitStep<kNoOp> {
  struct Nothing {};
  static constexpr Nothing decode(const float*, const uint8_t*) { return {}; }
  template <uint8_t Live = kAllSlotsLive, bool InRange = false>
  [[gnu::always_inline]] static void run(Nothing, const UnitPlace&, double*) {}
};

// Calls f(UnitStep<opcode>{}) for a unit's opcode, 1 to 11.
template <class F>
[[gnu::always_inline]] inline void withUnitStep(uint8_t opcode, F&& f) {
  switch (opcode) {
    case kEnvelope: return f(UnitStep<kEnvelope>{});
    case kOscillator: return f(UnitStep<kOscillator>{});
    case kFilter: return f(UnitStep<kFilter>{});
    case kDistortion: return f(UnitStep<kDistortion>{});
    case kDelay: return f(UnitStep<kDelay>{});
    case kStackOperation: return f(UnitStep<kStackOperation>{});
    case kStore: return f(UnitStep<kStore>{});
    case kPan: return f(UnitStep<kPan>{});
    case kOut: return f(UnitStep<kOut>{});
    case kAccumulate: return f(UnitStep<kAccumulate>{});
    default: return f(UnitStep<kNoOp>{});
  }
}
