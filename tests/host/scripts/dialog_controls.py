"""Checks a screenshot of the setup dialog's client area: every control of
the template shows ink (text, frame or tick) in its rectangle, the rule is
one long line, and the space right of the list is empty.
Usage: dialog_controls.py PICTURE.gray WIDTH HEIGHT (8-bit grey, row by row)"""
import sys

path, width, height = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
pixels = open(path, "rb").read()
assert len(pixels) == width * height, "picture size"
unit_x, unit_y = width / 185.0, height / 65.0  # the template is 185 x 65 dialog units


def ink(x, y, w, h):
    """Dark pixels inside a rectangle given in dialog units."""
    left, top = int(x * unit_x), int(y * unit_y)
    right, bottom = int((x + w) * unit_x), int((y + h) * unit_y)
    return sum(1 for row in range(top, bottom) for col in range(left, right)
               if pixels[row * width + col] < 100)


controls = {
    "banner": (6, 5, 175, 8), "Resolution label": (7, 21, 65, 10), "mode list": (80, 20, 75, 12),
    "FullScreen label": (42, 35, 65, 10), "full-screen box": (112, 34, 9, 10),
    "START": (7, 47, 50, 14), "CANCEL": (128, 47, 50, 14),
}
failed = [name for name, rect in controls.items() if ink(*rect) < 10]
rule_rows = range(int(11 * unit_y), int(21 * unit_y))
longest = max(sum(1 for col in range(width) if pixels[row * width + col] < 100) for row in rule_rows)
if longest < width // 2:
    failed.append("rule")
if ink(158, 20, 27, 12) > 0:
    failed.append("nothing right of the list")
if failed:
    print("the dialog screenshot lacks: " + ", ".join(failed))
    sys.exit(1)
print("the dialog shows its %d controls and the rule" % len(controls))
