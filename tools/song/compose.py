#!/usr/bin/env python3
"""Working sheet of the song's music.

The build uses synth/song_music.cpp, which is the source of truth. This script
is the composer's sheet from which that file was written: it holds the same
patterns and orders in a form that is easier to edit, checks the counts and
the harmony, and prints the C++ file.

    python3 tools/song/compose.py            # check and print a summary
    python3 tools/song/compose.py --write    # also rewrite synth/song_music.cpp
"""

import collections
import pathlib
import sys

ROWS = 16
POSITIONS = 93
TRACKS = 12
PATTERNS = 68

NAMES = {38: "D1", 41: "F1", 43: "G1", 46: "Bb1", 50: "D2", 53: "F2", 55: "G2",
         56: "Ab2", 58: "Bb2", 61: "C#3", 62: "D3", 65: "F3", 67: "G3",
         69: "A3", 70: "Bb3", 72: "C4", 74: "D4", 77: "F4", 79: "G4", 81: "A4",
         82: "Bb4", 86: "D5", 122: "D8"}

# ---------------------------------------------------------------------------
# Patterns: number -> (sixteen values, role). "." is a release (0), "-" a
# hold (1), a number a note.
# ---------------------------------------------------------------------------

P = {}


def pat(n, text, role):
    vals = []
    for tok in text.split():
        vals.append(0 if tok == "." else 1 if tok == "-" else int(tok))
    assert len(vals) == ROWS, (n, len(vals))
    assert n not in P, n
    P[n] = (vals, role)


pat(0, ". . . . . . . . . . . . . . . .", "silence")

# track 0: hi-hat (noise burst, high-pass, echo two rows later)
pat(1, "62 - . . 62 . . . 62 . . . 62 - . .", "hat: quarters, the echo fills the off-beats")
pat(2, "62 . . 62 . . 62 . 62 . . 62 . . . .", "hat: tresillo answer bar")
pat(3, "62 . . . . . . . . . . . . . . .", "hat: one hit on the downbeat, then the break")

# track 1: kick (sine with a falling pitch; 65 sits on D2 once the drop has settled)
pat(4, "65 . . . 65 . . . 65 . . . 65 . . .", "kick: four to the floor")
pat(5, "65 . . . 65 . . . 65 . . . 65 . 65 .", "kick: four to the floor with a pickup")
pat(6, "65 - - - - - - - - - - - - - - -", "kick: held boom on D")
pat(7, "- - - - - - - - - - - - - - - -", "hold through the bar")
pat(8, "65 . . . . . . . 65 . . . . . . .", "kick: half time")
pat(9, "65 . . . 65 . 65 . 65 . . . 65 . 65 .", "kick: build with pushes")
pat(10, "65 . . . 65 . . . 65 . . 65 . 65 65 65", "kick: fill into the next section")

# track 2: snare (its level drives the camera shake); track 8 shares 13
pat(11, ". . . . 74 - . . . . . . 74 - . .", "snare: backbeat")
pat(12, "74 - . . . . . . . . . . . . . .", "snare: one hit on the downbeat of a break")
pat(13, ". . . . 74 - . . . . . 74 74 . . .", "snare/clap: backbeat with a push before four")
pat(14, ". . . . 74 . . . 74 . 74 . 74 . 74 74", "snare: roll into the next section")

# track 3: crushed triangle an octave down; 19 and 23 are shared with the pad
pat(15, "62 - . 69 - . 74 - 77 - - - . . . .", "lo-fi riff on Dm")
pat(16, "58 - . 65 - . 70 - 74 - - - . . . .", "lo-fi riff on Bb")
pat(17, "67 - . 74 - . . . 69 - . 79 - . 61 -", "lo-fi riff on Gm, then A7 with C#")
pat(18, "74 - . 77 - . 86 - - - - - . . . .", "lo-fi riff on Dm, upper octave")
pat(19, "77 - - - - - - - - - - - - - - -", "long F (lo-fi line, pad)")
pat(20, "65 - . 72 - . 77 - 81 - - - . . . .", "lo-fi riff on F")
pat(21, "67 - . 74 - . 79 - 82 - - - . . . .", "lo-fi riff on Gm")
pat(22, "74 - . 72 - . 69 - - - - - . . . .", "lo-fi riff on Dm7, falling")
pat(23, "79 - - - - - - - - - - - - - - -", "long G (lo-fi line, pad)")
pat(24, "62 . . 74 . . 69 . . . 77 . . . . .", "lo-fi 3-3-4 figure on Dm")
pat(25, "62 - 74 79 . 81 . 86 - . . . . . 62 -", "arpeggio D G A D")
pat(26, "58 . . 70 . . 65 . . . 74 . . . . .", "lo-fi 3-3-4 figure on Bb")
pat(27, "67 . . 79 . . 74 . 69 . . . . . 61 .", "lo-fi 3-3-2 figure on Gm, then A7")
pat(28, "65 . . 77 . . 72 . . . 81 . . . . .", "lo-fi 3-3-4 figure on F")
pat(29, "67 . . 79 . . 74 . . . 82 . . . . .", "lo-fi 3-3-4 figure on Gm")
pat(30, "62 . . 74 . . 72 . . . 69 . . . . .", "lo-fi 3-3-4 figure on Dm7")

# track 4: slow pad (crushed triangle ring-modulated, auto-pan)
pat(31, "62 - - - - - - - - - - - - - - -", "pad: D")
pat(32, "58 - - - - - - - - - - - - - - -", "pad: Bb")
pat(33, "67 - - - - - - - 69 - - - - - - -", "pad: G, then A")

# tracks 5 and 11: pluck with three-row echo, pulse with two-row echo
pat(34, "74 . 81 . . 77 . . . . 86 . . . . .", "pluck: Dm")
pat(35, "70 . 77 . . 74 . . . . 81 . . . . .", "pluck: Bbmaj7")
pat(36, "77 . 81 . . 77 . . . . 81 . . . . .", "pluck: F and A (F, Gm9, Dm)")
pat(37, "79 . . . . 70 . . 81 . 79 . . . . .", "pluck: Gm, then A7")

# track 6: bass (distorted pulse)
pat(38, "46 . . 46 . . 46 . 46 . . 46 . . 58 .", "bass: Bb, tresillo")
pat(39, "55 . . 55 . . 55 . 61 . . 61 . . 61 .", "bass: G, then C# under A7")
pat(40, "38 - - - - - - - - - - - - - - -", "bass: low D for the break")
pat(41, "50 - - . . . . . 50 - - . . . . .", "bass: half time D")
pat(42, ". . . . . . . . 55 - - . 61 - - .", "bass: pickup G, C#")
pat(43, "50 . . . 50 . . . 50 . . . 50 . . .", "bass: quarters on D")
pat(44, "46 . . . 46 . . . 46 . . . 46 . . .", "bass: quarters on Bb")
pat(45, "53 . . 53 . . 53 . 53 . . 53 . . 41 .", "bass: F, tresillo")
pat(46, "43 . . 43 . . 43 . 43 . . 43 . . 55 .", "bass: G, tresillo")
pat(47, "50 . . 53 . . 55 56 . 55 . . 53 . 50 .", "bass: blues figure on D with Ab")
pat(48, "50 . 50 50 50 . 50 50 50 . 50 50 50 62 50 50", "bass: D")
pat(49, "46 . . 58 . . 46 . 46 . . 58 . . 46 .", "bass: Bb, octave jumps")
pat(50, "55 . . 55 . . 55 . 61 . . 61 . 61 61 .", "bass: G, then C# running into the final D")
pat(51, "38 - - - - - - - - - - - - - - .", "bass: final low D")

# track 7: metallic drone (D8 is a wind of aliased partials); 52 also leads
pat(52, "86 - - - - - - - - - - - - - - -", "long D: drone on track 7, lead note on track 10")
pat(53, "- - - - - - - - . . . . . . . .", "drone: hold half a bar, then stop")
pat(54, "122 - - - - - - - - - - - - - - -", "drone: the wind on D8")

# track 8: sustained snare with wobbling filters (panned right)
pat(55, "62 - - - - - - - . . . . . . . .", "noise swell on D, half a bar")
pat(56, "69 - - - - - - - 69 - - - - - - -", "noise swell on A, retriggered")

# track 9: the intro pulse with an echo one beat later
pat(57, "74 - . 81 - . 77 - . . 74 - - - . .", "pulse: Dm")
pat(58, "70 - . 77 - . 74 - . . 70 - - - . .", "pulse: Bb")
pat(59, "67 - . 74 - . 70 - 69 - . 79 - . 81 .", "pulse: Gm, then A7 falling back to A")
pat(60, "72 - . 81 - . 77 - . . 72 - - - . .", "pulse: F")
pat(61, "70 - . 79 - . 74 - . . 70 - - - . .", "pulse: Gm")
pat(62, "86 - . 81 - . 77 - . . 74 - - - . .", "pulse: Dm from the top")

# track 10: lead
pat(63, "81 - - - - - 79 - 77 - - - 74 - 77 -", "lead: A, G, F, D, F (Dm, F held into Bb)")
pat(64, "72 - - - - - 81 - - - 79 - 77 - - -", "lead: C, A, G, F (F, F held into Bb)")
pat(65, "79 - - - 82 - - - 86 - - - 81 - 82 -", "lead: G, Bb, D, A, Bb (Gm, Bb held into Bb)")
pat(66, "86 - - - - - 81 - - - 77 - 72 - 74 -", "lead: D, A, F, C, D falling")
pat(67, "79 - - - - - - - 81 - - - 82 - 81 .", "lead: G, then A Bb A over A7")

assert sorted(P) == list(range(PATTERNS)), sorted(set(range(PATTERNS)) - set(P))

# ---------------------------------------------------------------------------
# Form. Track 9 fixes the phrase: groups of eight bars, plain (N) or with the
# harmonic variation (V) at 48-63 and 72-87.
#   N: Dm  Bb  Dm  Bb  Dm  Bb  Dm     Gm|A7
#   V: Dm  Bb  F   Bb  Gm  Bb  Dm(b5) Gm|A7
# ---------------------------------------------------------------------------

N_CHORDS = ["Dm", "Bb", "Dm", "Bb", "Dm", "Bb", "Dm", "T"]
V_CHORDS = ["Dm", "Bb", "F", "Bb", "Gm", "Bb", "Db", "T"]


def chord_at(pos):
    if pos >= 88:
        return "Dm"
    group = pos // 8
    table = V_CHORDS if pos in range(48, 64) or pos in range(72, 88) else N_CHORDS
    return table[pos % 8]


O = [[0] * POSITIONS for _ in range(TRACKS)]


def put(track, start, seq):
    for i, p in enumerate(seq):
        O[track][start + i] = p


def by_chord(track, start, end, mapping):
    for pos in range(start, end):
        O[track][pos] = mapping[chord_at(pos)]


# track 0: hi-hat (given)
put(0, 8, [1, 2] * 12 + [3])
put(0, 40, [1, 2] * 12 + [3])
put(0, 72, [1, 2] * 8 + [3])

# track 9: intro pulse (given)
put(9, 0, [57, 58, 57, 58, 57, 58, 57, 59] * 6)
put(9, 48, [57, 58, 60, 58, 61, 58, 62, 59] * 2)
put(9, 64, [57, 58, 57, 58, 57, 58, 57, 59])
put(9, 72, [57, 58, 60, 58, 61, 58, 62, 59] * 2)

# track 1: kick
put(1, 16, [4] * 7 + [5] + [4] * 7 + [5])
put(1, 32, [6, 7])
put(1, 40, [8, 8, 8, 8, 4, 4, 9, 10])
put(1, 48, [4] * 7 + [5] + [4] * 7 + [5])
put(1, 64, [6, 7])
put(1, 70, [8, 10])
put(1, 72, [4] * 7 + [5] + [4] * 7 + [10])
put(1, 88, [6])

# track 2: snare
put(2, 16, [12] + [11] * 6 + [13] + [11] * 7 + [13])
put(2, 32, [12])
put(2, 44, [11, 11, 13, 14])
put(2, 48, [11] * 7 + [13] + [11] * 7 + [14])
put(2, 64, [12])
put(2, 71, [14])
put(2, 72, [11] * 7 + [13] + [11] * 7 + [14])

# track 3: lo-fi line
put(3, 8, [15, 16, 15, 16, 18, 16, 15, 17])
put(3, 16, [15, 16, 15, 16, 18, 16, 15, 17])
put(3, 24, [24, 26, 24, 26, 25, 26, 24, 27])
put(3, 32, [0, 0, 25, 0, 0, 0, 25, 23])
put(3, 40, [24, 26, 24, 26, 25, 26, 24, 27])
by_chord(3, 48, 64, {"Dm": 15, "Bb": 16, "F": 20, "Gm": 21, "Db": 22, "T": 17})
put(3, 64, [25, 0, 25, 19, 25, 0, 25, 23])
by_chord(3, 72, 88, {"Dm": 24, "Bb": 26, "F": 28, "Gm": 29, "Db": 30, "T": 27})

# track 4: pad
by_chord(4, 0, 48, {"Dm": 31, "Bb": 32, "T": 33})
# in the climaxes the pad marks the chord changes and leaves the Bb bars to
# the lead's held notes
by_chord(4, 48, 64, {"Dm": 31, "Bb": 0, "F": 19, "Gm": 23, "Db": 31, "T": 33})
by_chord(4, 64, 72, {"Dm": 31, "Bb": 32, "T": 33})
by_chord(4, 72, 88, {"Dm": 31, "Bb": 0, "F": 19, "Gm": 23, "Db": 31, "T": 33})
put(4, 88, [31, 19, 31])

# tracks 5 and 11: plucks
pluck = {"Dm": 34, "Bb": 35, "F": 36, "Gm": 36, "Db": 36, "T": 37}
by_chord(5, 16, 32, pluck)
by_chord(5, 40, 64, pluck)
by_chord(5, 68, 88, pluck)
O[11] = O[5]

# track 6: bass
put(6, 24, [48, 38, 48, 38, 48, 38, 48, 39])
put(6, 32, [40])
put(6, 39, [42])
put(6, 40, [41, 44, 41, 44, 43, 44, 43, 39])
by_chord(6, 48, 64, {"Dm": 48, "Bb": 38, "F": 45, "Gm": 46, "Db": 47, "T": 39})
put(6, 64, [40])
put(6, 70, [43, 42])
by_chord(6, 72, 80, {"Dm": 48, "Bb": 38, "F": 45, "Gm": 46, "Db": 47, "T": 39})
by_chord(6, 80, 88, {"Dm": 48, "Bb": 49, "F": 45, "Gm": 46, "Db": 47, "T": 50})
put(6, 88, [51])

# track 7: drone
put(7, 8, [54] + [7] * 6 + [53])
put(7, 32, [52] + [7] * 6 + [53])
put(7, 44, [54, 7, 7, 53])
put(7, 64, [52] + [7] * 6 + [53])
put(7, 80, [54] + [7] * 6 + [53])
put(7, 88, [54, 7, 7, 7])

# track 8: right-hand snare layer and swells
put(8, 16, [55, 0, 0, 0, 0, 0, 0, 13])
put(8, 46, [55, 56])
put(8, 48, [0, 0, 0, 13, 0, 0, 0, 13] * 2)
put(8, 70, [55, 56])
put(8, 72, [0, 0, 0, 13, 0, 0, 0, 13] * 2)

# track 10: lead
put(10, 32, [52, 7, 63, 7, 66, 7, 52, 67])
put(10, 48, [63, 7, 64, 7, 65, 7, 66, 67, 63, 7, 64, 7, 65, 7, 52, 67])
put(10, 64, [52, 7])
put(10, 72, [63, 7, 64, 7, 65, 7, 66, 67, 63, 7, 64, 7, 65, 7, 52, 67])

# ---------------------------------------------------------------------------
# Facts the data must satisfy.
# ---------------------------------------------------------------------------

NOTE_SET = {38, 41, 43, 46, 50, 53, 55, 56, 58, 61, 62, 65, 67, 69, 70, 72,
            74, 77, 79, 81, 82, 86, 122}
TRACK_PATTERNS = {
    0: ({1, 2, 3}, 8, 88),
    1: (set(range(4, 11)), 16, 88),
    2: (set(range(11, 15)), 16, 87),
    3: (set(range(15, 31)), 8, 87),
    4: ({19, 23, 31, 32, 33}, 0, 90),
    5: (set(range(34, 38)), 16, 87),
    6: (set(range(38, 52)), 24, 88),
    7: ({7, 52, 53, 54}, 8, 91),
    8: ({13, 55, 56}, 16, 87),
    9: (set(range(57, 63)), 0, 87),
    10: ({7, 52} | set(range(63, 68)), 32, 87),
    11: (set(range(34, 38)), 16, 87),
}


def check_facts():
    problems = []
    values = [v for n in range(PATTERNS) for v in P[n][0]]
    zeros = values.count(0)
    ones = values.count(1)
    notes = [v for v in values if v > 1]
    print(f"values: {zeros} zeros (492), {ones} ones (344), {len(notes)} notes (252)")
    if (zeros, ones, len(notes)) != (492, 344, 252):
        problems.append("counts")
    if set(notes) != NOTE_SET:
        problems.append(f"note set: extra {set(notes) - NOTE_SET}, missing {NOTE_SET - set(notes)}")
    for k, (allowed, first, last) in TRACK_PATTERNS.items():
        row = O[k]
        used = set(row) - {0}
        if used != allowed:
            problems.append(f"track {k} uses {sorted(used)} not {sorted(allowed)}")
        nz = [i for i, p in enumerate(row) if p]
        if nz[0] != first or nz[-1] != last:
            problems.append(f"track {k} spans {nz[0]}..{nz[-1]} not {first}..{last}")
    if O[5] != O[11]:
        problems.append("tracks 5 and 11 differ")
    for k in (4, 9):
        if P[O[k][0]][0][0] < 2:
            problems.append(f"track {k} silent at frame 0")
    return problems


# ---------------------------------------------------------------------------
# Harmony: what each pitched track sounds against the chord of its tick.
# ---------------------------------------------------------------------------

PC = {"C": 0, "C#": 1, "D": 2, "Eb": 3, "E": 4, "F": 5, "F#": 6, "G": 7,
      "Ab": 8, "A": 9, "Bb": 10, "B": 11}
ALLOWED = {
    "Dm": {"D", "F", "A", "C", "G"},
    "Bb": {"Bb", "D", "F", "A", "C", "G"},
    "F": {"F", "A", "C", "D", "G"},
    "Gm": {"G", "Bb", "D", "F", "A", "C"},
    "A7": {"A", "C#", "G", "Bb", "F"},
    "Db": {"D", "F", "A", "C", "G", "Ab"},
}


def chord_at_tick(tick):
    c = chord_at(tick // ROWS)
    if c == "T":
        return "Gm" if tick % ROWS < 8 else "A7"
    return c


def pitch_class(note):
    return (note - 81 + 9) % 12  # note 81 is A4


PITCHED = {3: 0, 4: 0, 5: 0, 6: 0, 9: 0, 10: 0, 11: 0, 7: 0}


def check_harmony():
    problems = []
    names = {v: k for k, v in PC.items()}
    for k in PITCHED:
        sounding = 0
        for tick in range(POSITIONS * ROWS):
            v = P[O[k][tick // ROWS]][0][tick % ROWS]
            if v >= 2:
                sounding = v
            elif v == 0:
                sounding = 0
            if not sounding or sounding == 122:
                continue
            chord = chord_at_tick(tick)
            if names[pitch_class(sounding)] not in ALLOWED[chord]:
                problems.append(f"track {k} pos {tick // ROWS} row {tick % ROWS}: "
                                f"{NAMES[sounding]} against {chord}")
    return problems


# ---------------------------------------------------------------------------
# Output.
# ---------------------------------------------------------------------------

TRACK_NAMES = {
    0: "hi-hat", 1: "kick", 2: "snare (drives the camera shake)",
    3: "lo-fi line, an octave down", 4: "slow pad", 5: "pluck with echo",
    6: "bass", 7: "metallic drone and wind", 8: "right-hand snare layer and swells",
    9: "intro pulse with echo", 10: "lead", 11: "pulse, doubling the plucks",
}


def emit():
    out = []
    out.append("// The song's music: patterns and the order of patterns per track.")
    out.append("//")
    out.append("// D minor at 128 BPM: a row is a sixteenth, a pattern a bar of four beats.")
    out.append("// Eight-bar phrases; the harmony of a phrase, bar by bar:")
    out.append("//   plain      Dm  Bb  Dm  Bb  Dm  Bb  Dm         Gm | A7")
    out.append("//   varied     Dm  Bb  F   Bb  Gm  Bb  Dm (blue)  Gm | A7")
    out.append("// The varied phrase plays at positions 48-63 and 72-87, the plain one elsewhere.")
    out.append("//")
    out.append("// Form (order positions):")
    out.append("//    0-7   intro: pad and pulse")
    out.append("//    8-15  hi-hat, lo-fi line and the wind join")
    out.append("//   16-23  kick, snare and plucks")
    out.append("//   24-31  bass")
    out.append("//   32-39  break: drums stop on a boom, the lead enters over the drone")
    out.append("//   40-47  build: half-time kick, bass in quarters, snare roll")
    out.append("//   48-63  first climax on the varied phrase")
    out.append("//   64-71  second break")
    out.append("//   72-87  second climax")
    out.append("//   88-92  last downbeat, the pad and the wind ring out")
    out.append("//")
    out.append("// Row values: 0 releases the sounding note, 1 holds it, 2..127 start a note")
    out.append("// (62 is D3, 81 is A4 = 440 Hz).")
    out.append('#include "synth/song_music.h"')
    out.append("")
    out.append("// clang-format off")
    out.append("const uint8_t patternTable[kPatternCount * kRowsPerPattern] = {")
    for n in range(PATTERNS):
        vals, role = P[n]
        cells = ", ".join(f"{v:3d}" for v in vals)
        out.append(f"    {cells},  // {n:2d} {role}")
    out.append("};")
    out.append("")
    out.append("// One row per track, 93 order positions, grouped in phrases of eight bars.")
    out.append("const uint8_t orderTable[kTrackCount * kOrderLength] = {")
    marks = "".join(f"{g * 8:2d}" + " " * 23 for g in range(12)).rstrip()
    out.append("    //       " + marks)
    for k in range(TRACKS):
        groups = []
        for g in range(0, POSITIONS, 8):
            groups.append("".join(f"{p:2d}," for p in O[k][g:g + 8]))
        out.append(f"    /* {k:2d} */ " + " ".join(groups) + f"  // {TRACK_NAMES[k]}")
    out.append("};")
    out.append("// clang-format on")
    return "\n".join(out) + "\n"


def main():
    problems = check_facts() + check_harmony()
    c = collections.Counter(v for n in range(PATTERNS) for v in P[n][0] if v > 1)
    print("note use:", " ".join(f"{NAMES[v]}x{c[v]}" for v in sorted(c)))
    for k in range(TRACKS):
        notes = sum(1 for p in set(O[k]) for v in P[p][0] if v > 1)
        print(f"track {k:2d}: notes in its patterns {notes}")
    for p in problems:
        print("PROBLEM:", p)
    if "--write" in sys.argv:
        path = pathlib.Path(__file__).resolve().parents[2] / "synth" / "song_music.cpp"
        path.write_text(emit())
        print("wrote", path)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
