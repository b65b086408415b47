#!/usr/bin/env python3
"""scene_lit.py SCREEN.rgb: a 1280x720 RGB screenshot of the show shows the
scene when more than 2 % of the left part of the screen is lit (the logo
stands on the right). Says how much is lit; fails when too little is."""
import sys

rgb = open(sys.argv[1], 'rb').read()
w, h = 1280, 720
lit = 0
for y in range(0, h, 4):
    row = rgb[3 * w * y:3 * w * (y + 1)]
    for x in range(0, w * 6 // 10, 4):
        if max(row[3 * x:3 * x + 3]) > 24:
            lit += 1
share = lit / ((h // 4) * (w * 6 // 10 // 4))
if share < 0.02:
    sys.exit('the screenshot is black where the scene should be (%.4f lit)' % share)
print('the scene lights %.1f %% of the left part of the screen' % (100 * share))
