// The unit table: what each opcode's unit is called, how many parameter
// bytes it consumes, what it does to the value stack, and its entry in the
// byte-code machine.
#pragma once

#include <cstdint>

#include "synth/opcodes.h"
#include "synth/voice_state.h"

// A unit of the byte-code machine, called with its record and its own
// workspace; it reads its parameters, the value stack and the machine's
// cursors from the machine's program-wide state.
using UnitFunction = void (*)(VoiceRecord& record, float* workspace);

// Values a unit takes from the value stack, values it leaves there, and the
// most values it holds on the stack at once while it works (its inputs and
// outputs included): the stack has room for 8 at every moment.
struct StackEffect {
  uint8_t pops;
  uint8_t pushes;
  uint8_t held;
};

struct UnitEntry {
  const char* name;
  uint8_t paramCount;
  StackEffect stack;  // for stack operations: see stackOperationEffect
  UnitFunction run;
};

// Indexed by opcode; entry 0 ends a program and is never called.
extern const UnitEntry unitTable[kOpcodeCount];

// The stack effect of a stack operation unit, by its operation byte 1..8.
extern const StackEffect stackOperationEffect[9];

inline constexpr uint32_t kValueStackSize = 8;
inline constexpr uint32_t kParamScratchSize = 16;
