#!/usr/bin/python3
"""Builds the show's TrueType font C64.ttf ("C64 Pro") from glyphs.txt.

Usage: /usr/bin/python3 make_c64_font.py GLYPHS_TXT OUTPUT_TTF [FAMILY]

The font is Glass Meridian's own, drawn for it in glyphs.txt and licensed
with the project. Every glyph is an 8 x 8 pixel cell; each run of ink pixels
becomes one clean contour (shared pixel edges cancel, collinear points are
dropped), outer contours clockwise and holes counter-clockwise, as TrueType
expects. The output is the same byte for byte on every run: the timestamps
are fixed and nothing else depends on the clock or the machine.

FAMILY defaults to "C64 Pro"; another name is only useful to build a font
the show must refuse.
"""

import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.misc.timeTools import timestampFromString
from fontTools.pens.ttGlyphPen import TTGlyphPen

CELL = 8                 # pixels per side of a character cell
PIXEL = 128              # font units per pixel
EM = CELL * PIXEL        # 1024 units: the cell is one em high and one em wide
DESCENT = PIXEL          # row 7 hangs below the baseline
ASCENT = EM - DESCENT
FIRST_CODE, LAST_CODE = 0x20, 0x7E
FAMILY = "C64 Pro"
# A fixed date keeps the file reproducible.
TIMESTAMP = timestampFromString("Mon Jan  1 00:00:00 2024")


def read_glyphs(path):
    """Returns {code: [8 strings of 8 cells]} from the glyph source."""
    glyphs = {}
    code = None
    rows = []
    with open(path, encoding="ascii") as source:
        for number, raw in enumerate(source, 1):
            line = raw.rstrip("\n")
            if not line or line == "#" or line.startswith("# "):
                continue
            if line.startswith("0x"):
                if code is not None:
                    raise SystemExit(f"{path}:{number}: glyph 0x{code:02X} has {len(rows)} rows, not {CELL}")
                code = int(line.split()[0], 16)
                if code in glyphs:
                    raise SystemExit(f"{path}:{number}: glyph 0x{code:02X} defined twice")
                rows = []
                continue
            if code is None or len(line) != CELL or set(line) - {"#", "."}:
                raise SystemExit(f"{path}:{number}: expected a row of {CELL} '#' or '.' cells")
            rows.append(line)
            if len(rows) == CELL:
                glyphs[code] = rows
                code = None
    if code is not None:
        raise SystemExit(f"{path}: glyph 0x{code:02X} is incomplete")
    missing = [c for c in range(FIRST_CODE, LAST_CODE + 1) if c not in glyphs]
    if missing:
        raise SystemExit(f"{path}: no glyph for " + ", ".join(f"0x{c:02X}" for c in missing))
    return glyphs


def pixel_edges(rows):
    """Directed edges of every ink pixel, clockwise with y up, in grid units.

    Grid y runs from 0 (bottom of the descender row) to 8 (top of row 0).
    An edge shared by two ink pixels appears once in each direction and is
    dropped, leaving only the outline of each ink region.
    """
    edges = set()
    for r, row in enumerate(rows):
        for x, cell in enumerate(row):
            if cell != "#":
                continue
            y = CELL - 1 - r
            corners = [(x, y), (x, y + 1), (x + 1, y + 1), (x + 1, y)]
            for i in range(4):
                edge = (corners[i], corners[(i + 1) % 4])
                reverse = (edge[1], edge[0])
                if reverse in edges:
                    edges.remove(reverse)
                else:
                    edges.add(edge)
    return edges


def turn_rank(incoming, outgoing):
    """Right turn first, then straight on, then left (clockwise contours).

    Where two ink pixels touch only at a corner, taking the right turn keeps
    their contours apart instead of joining them through the corner.
    """
    (ax, ay), (bx, by) = incoming
    (cx, cy), (dx, dy) = outgoing
    ux, uy = bx - ax, by - ay
    vx, vy = dx - cx, dy - cy
    cross = ux * vy - uy * vx
    if cross < 0:
        return 0
    if cross == 0:
        return 1
    return 2


def trace_contours(edges):
    """Chains the outline edges into closed contours of corner points."""
    outgoing = {}
    for edge in edges:
        outgoing.setdefault(edge[0], []).append(edge)
    remaining = set(edges)
    contours = []
    while remaining:
        start = min(remaining)
        contour = []
        edge = start
        while True:
            remaining.remove(edge)
            contour.append(edge[0])
            choices = [e for e in outgoing[edge[1]] if e in remaining]
            if not choices:
                break
            edge = min(choices, key=lambda e: (turn_rank(edge, e), e))
        contours.append(drop_collinear(contour))
    return contours


def drop_collinear(points):
    kept = []
    count = len(points)
    for i, point in enumerate(points):
        before = points[i - 1]
        after = points[(i + 1) % count]
        cross = (point[0] - before[0]) * (after[1] - point[1]) - (point[1] - before[1]) * (after[0] - point[0])
        if cross != 0:
            kept.append(point)
    return kept


def build_glyph(rows):
    """The TrueType glyph and its left side bearing in font units."""
    pen = TTGlyphPen(None)
    xs = []
    for contour in trace_contours(pixel_edges(rows)):
        units = [(x * PIXEL, y * PIXEL - DESCENT) for x, y in contour]
        pen.moveTo(units[0])
        for point in units[1:]:
            pen.lineTo(point)
        pen.closePath()
        xs.extend(x for x, _ in units)
    return pen.glyph(), (min(xs) if xs else 0)


def notdef_rows():
    """An empty box the height of a capital, for codes the font lacks."""
    rows = []
    for r in range(CELL):
        if r in (0, CELL - 2):
            rows.append(".######.")
        elif r < CELL - 2:
            rows.append(".#....#.")
        else:
            rows.append("........")
    return rows


def build_font(glyph_rows, family):
    names = [".notdef"] + [f"uni{code:04X}" for code in range(FIRST_CODE, LAST_CODE + 1)]
    sources = {".notdef": notdef_rows()}
    for code in range(FIRST_CODE, LAST_CODE + 1):
        sources[f"uni{code:04X}"] = glyph_rows[code]

    builder = FontBuilder(EM, isTTF=True)
    builder.updateHead(created=TIMESTAMP, modified=TIMESTAMP, fontRevision=1.0)
    builder.setupGlyphOrder(names)
    builder.setupCharacterMap({code: f"uni{code:04X}" for code in range(FIRST_CODE, LAST_CODE + 1)})

    glyphs = {}
    metrics = {}
    for name in names:
        glyphs[name], lsb = build_glyph(sources[name])
        metrics[name] = (EM, lsb)
    builder.setupGlyf(glyphs)
    builder.setupHorizontalMetrics(metrics)
    builder.setupHorizontalHeader(ascent=ASCENT, descent=-DESCENT, lineGap=0)

    postscript = family.replace(" ", "") + "-Regular"
    builder.setupNameTable({
        "copyright": "Part of Glass Meridian, licensed with the project.",
        "familyName": family,
        "styleName": "Regular",
        "uniqueFontIdentifier": f"Glass Meridian: {family} Regular 1.000",
        "fullName": family,
        "version": "Version 1.000",
        "psName": postscript,
        "description": "An 8 x 8 pixel face in the style of the classic home computers.",
        "licenseDescription": "Licensed with Glass Meridian, under the project's licence.",
    })
    builder.setupOS2(
        xAvgCharWidth=EM,
        usWeightClass=400,
        fsType=0,
        panose=monospaced_panose(),
        ulUnicodeRange1=1,            # Basic Latin
        ulCodePageRange1=1,           # Latin 1
        achVendID="GMER",
        fsSelection=0x40,             # regular
        usFirstCharIndex=FIRST_CODE,
        usLastCharIndex=LAST_CODE,
        sTypoAscender=ASCENT,
        sTypoDescender=-DESCENT,
        sTypoLineGap=0,
        usWinAscent=ASCENT,
        usWinDescent=DESCENT,
        sxHeight=5 * PIXEL,
        sCapHeight=7 * PIXEL,
        yStrikeoutSize=PIXEL,
        yStrikeoutPosition=3 * PIXEL,
    )
    builder.setupPost(keepGlyphNames=False, isFixedPitch=1,
                      underlinePosition=-DESCENT // 2, underlineThickness=PIXEL)
    return builder


def monospaced_panose():
    from fontTools.ttLib.tables.O_S_2f_2 import Panose
    panose = Panose()
    panose.bFamilyType = 2        # text and display
    panose.bSerifStyle = 0
    panose.bWeight = 5            # book
    panose.bProportion = 9        # monospaced
    panose.bContrast = 0
    panose.bStrokeVariation = 0
    panose.bArmStyle = 0
    panose.bLetterForm = 0
    panose.bMidline = 0
    panose.bXHeight = 0
    return panose


def main(argv):
    if len(argv) not in (3, 4):
        raise SystemExit("usage: make_c64_font.py GLYPHS_TXT OUTPUT_TTF [FAMILY]")
    family = argv[3] if len(argv) == 4 else FAMILY
    build_font(read_glyphs(argv[1]), family).save(argv[2])


if __name__ == "__main__":
    main(sys.argv)
