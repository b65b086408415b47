#include "synth/song_validation.h"

#include <cstdarg>
#include <cstdio>

#include "synth/opcodes.h"
#include "synth/routing_units.h"
#include "synth/unit_table.h"

namespace {

bool fail(std::string* error, const char* format, ...) {
  if (error != nullptr) {
    va_list args;
    va_start(args, format);
    va_list measuring;
    va_copy(measuring, args);
    const int length = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    error->assign(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    std::vsnprintf(error->data(), error->size(), format, args);
    error->pop_back();
    va_end(args);
  }
  return false;
}

bool checkMusic(const SongData& song, std::string* error) {
  const size_t patternBytes = song.patterns.size();
  if (patternBytes == 0 || patternBytes % kRowsPerPattern != 0)
    return fail(error, "The pattern table holds %zu bytes, not a whole number of %u-row patterns.", patternBytes,
                kRowsPerPattern);
  const size_t patternCount = patternBytes / kRowsPerPattern;
  if (song.orders.size() != kTrackCount * kOrderLength)
    return fail(error, "The order table holds %zu entries instead of %u (%u for each of %u tracks).",
                song.orders.size(), kTrackCount * kOrderLength, kOrderLength, kTrackCount);
  for (uint32_t i = 0; i < song.orders.size(); ++i) {
    if (song.orders[i] >= patternCount)
      return fail(error, "Order entry %u of track %u names pattern %u, but the pattern table holds only %zu patterns.",
                  i % kOrderLength, i / kOrderLength, song.orders[i], patternCount);
  }
  return true;
}

// Units of the program starting at `at`, counted up to its 0 (or to the
// end of the table, or one past the limit).
uint32_t countUnits(std::span<const uint8_t> programs, size_t at) {
  uint32_t units = 0;
  while (at < programs.size() && programs[at] != kEndOfProgram && units <= kWorkspacesPerRecord) {
    ++at;
    ++units;
  }
  return units;
}

// Checks the raw parameters of one unit; `raw` points at its first byte.
bool checkUnitParams(const SongData& song, const UnitLayout& u, const uint8_t* raw, uint32_t programUnits,
                     std::string* error) {
  const uint32_t k = u.program;
  const uint32_t i = u.index;
  switch (u.opcode) {
    case kOscillator: {
      const uint32_t waves = raw[6] & kWaveBits;
      if (waves == 0 || (waves & (waves - 1)) != 0)
        return fail(error,
                    "Program %u, unit %u (oscillator): flags %u must set exactly one of the waveform bits %u, %u, %u and %u.",
                    k, i, raw[6], kWaveSine, kWaveTrisaw, kWavePulse, kWaveNoise);
      break;
    }
    case kDelay: {
      const uint32_t first = delayFirstLength(raw);
      const uint32_t count = delayLineCount(raw);
      if (count == 0) return fail(error, "Program %u, unit %u (delay): its line count is 0; a delay needs at least one line.", k, i);
      if (first + count > song.delayLengths.size())
        return fail(error, "Program %u, unit %u (delay): its lines take lengths %u to %u, but the delay length table holds %zu entries.",
                    k, i, first, first + count - 1, song.delayLengths.size());
      for (uint32_t j = first; j < first + count; ++j) {
        if (song.delayLengths[j] == 0)
          return fail(error, "Program %u, unit %u (delay): delay length %u is 0 samples; a line holds 1 to 65535.", k, i, j);
      }
      if (u.firstLine + count > kDelayLinesClaimable)
        return fail(error, "Program %u, unit %u (delay) would claim pool lines up to %u, but a sample may claim at most %u lines (one header must remain beyond the last).",
                    k, i, u.firstLine + count - 1, kDelayLinesClaimable);
      break;
    }
    case kStackOperation:
      if (raw[0] < kStackPop || raw[0] > kStackStereoAdd)
        return fail(error, "Program %u, unit %u (stack operation): operation %u is not one of 1 to 8.", k, i, raw[0]);
      break;
    case kStore: {
      const uint32_t target = storeTarget(raw);
      if (target / kSlotsPerWorkspace >= programUnits)
        return fail(error, "Program %u, unit %u (store): target slot %u lies in unit %u, but the program has only %u units.",
                    k, i, target, target / kSlotsPerWorkspace, programUnits);
      break;
    }
    case kAccumulate:
      if (raw[0] != kAccumulateMain && raw[0] != kAccumulateAux)
        return fail(error, "Program %u, unit %u (accumulate): pair %u is neither %u (main) nor %u (aux).", k, i, raw[0],
                    kAccumulateMain, kAccumulateAux);
      break;
    default:
      break;
  }
  return true;
}

bool checkStack(const UnitLayout& u, const uint8_t* raw, std::string* error) {
  const char* name = unitTable[u.opcode].name;
  const StackEffect effect = unitStackEffect(u.opcode, raw);
  if (u.depth < effect.pops)
    return fail(error, "Program %u, unit %u (%s) takes %u values from a stack that holds %u.", u.program, u.index, name,
                effect.pops, u.depth);
  const uint32_t held = u.depth - effect.pops + effect.held;
  if (held > kValueStackSize)
    return fail(error, "Program %u, unit %u (%s) would hold %u values on the value stack, which has room for %u.",
                u.program, u.index, name, held, kValueStackSize);
  return true;
}

}  // namespace

bool analyseSong(const SongData& song, SongLayout& layout, std::string* error) {
  if (!checkMusic(song, error)) return false;
  layout.unitCount = 0;
  size_t at = 0;
  LayoutCursor cursor{};
  for (uint32_t k = 0; k < kProgramCount; ++k) {
    const uint32_t units = countUnits(song.programs, at);
    if (units > kWorkspacesPerRecord)
      return fail(error, "Program %u has more than %u units.", k, kWorkspacesPerRecord);
    layout.programUnits[k] = units;
    for (uint32_t i = 0; i < units; ++i, ++at) {
      const uint8_t opcode = song.programs[at];
      if (opcode >= kOpcodeCount)
        return fail(error, "Program %u, unit %u: opcode %u is not a unit (opcodes run from 0 to %u).", k, i, opcode,
                    kOpcodeCount - 1);
      const UnitEntry& entry = unitTable[opcode];
      if (k != kMasterProgram && i == 0 && opcode != kEnvelope)
        return fail(error, "Program %u, the instrument of track %u, begins with %s %s instead of an envelope.", k, k,
                    opcode == kOscillator || opcode == kOut || opcode == kAccumulate ? "an" : "a", entry.name);
      if (cursor.param + entry.paramCount > song.params.size())
        return fail(error, "Program %u, unit %u (%s) needs %u parameter bytes from offset %u, but the parameter table holds only %zu.",
                    k, i, entry.name, entry.paramCount, cursor.param, song.params.size());
      const UnitLayout u = unitAt(cursor, k, i, opcode);
      const uint8_t* raw = song.params.data() + cursor.param;
      if (!checkUnitParams(song, u, raw, units, error)) return false;
      if (!checkStack(u, raw, error)) return false;
      layout.units[layout.unitCount++] = u;
      moveCursorPast(cursor, opcode, raw);
    }
    if (at >= song.programs.size())
      return fail(error, "The program table ends inside program %u, before its terminating 0.", k);
    ++at;  // the terminating 0
    if (k != kMasterProgram && units == 0)
      return fail(error, "Program %u, the instrument of track %u, has no units; it must begin with an envelope.", k, k);
    if (cursor.depth != 0)
      return fail(error, "Program %u ends with %u value%s on the value stack instead of none.", k, cursor.depth,
                  cursor.depth == 1 ? "" : "s");
  }
  layout.linesClaimed = cursor.line;
  if (at != song.programs.size())
    return fail(error, "The program table holds %zu bytes after the end of the master program.",
                song.programs.size() - at);
  if (cursor.param != song.params.size())
    return fail(error, "The programs consume %u parameter bytes, but the parameter table holds %zu.", cursor.param,
                song.params.size());
  return true;
}

bool validateSongData(const SongData& song, std::string* error) {
  SongLayout layout;
  return analyseSong(song, layout, error);
}
