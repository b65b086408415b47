// Where each unit of the programs works: its record and workspace, its
// parameter bytes, the stack depth it starts at and the delay pool lines
// it claims. The validator lays out song data this way as it checks it;
// the unrolled render lays out the shipped programs the same way when it
// is built.
#pragma once

#include <cstdint>

#include "synth/delay_unit.h"
#include "synth/song_instruments.h"
#include "synth/unit_table.h"
#include "synth/voice_state.h"

// One unit of the walk over all programs.
struct UnitLayout {
  uint8_t program;
  uint8_t index;       // its workspace number in the record
  uint8_t opcode;
  uint8_t depth;       // values on the stack when it starts
  uint16_t param;      // offset of its first parameter byte
  uint16_t firstLine;  // delay units: the first pool line they claim
};

struct SongLayout {
  UnitLayout units[kProgramCount * kWorkspacesPerRecord];
  uint32_t unitCount;
  uint32_t programUnits[kProgramCount];  // units per program
  uint32_t linesClaimed;                 // delay lines claimed per sample
};

// The walk's position: past the units laid out so far.
struct LayoutCursor {
  uint32_t param;  // offset of the next unit's first parameter byte
  uint32_t depth;  // values on the stack
  uint32_t line;   // delay pool lines claimed
};

// Unit `index` of program `program` with this opcode, at the cursor.
constexpr UnitLayout unitAt(const LayoutCursor& c, uint32_t program, uint32_t index, uint8_t opcode) {
  return UnitLayout{static_cast<uint8_t>(program), static_cast<uint8_t>(index), opcode, static_cast<uint8_t>(c.depth),
                    static_cast<uint16_t>(c.param), static_cast<uint16_t>(c.line)};
}

// Moves the cursor past unit `opcode` whose raw parameter bytes start at
// `raw`: its parameters, its stack effect and its delay lines.
constexpr void moveCursorPast(LayoutCursor& c, uint8_t opcode, const uint8_t* raw) {
  const StackEffect effect = unitStackEffect(opcode, raw);
  c.depth = c.depth - effect.pops + effect.pushes;
  c.param += unitTable[opcode].paramCount;
  if (opcode == kDelay) c.line += delayLineCount(raw);
}
