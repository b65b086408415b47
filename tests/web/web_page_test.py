#!/usr/bin/env python3
"""The web page in headless Chromium, served by a plain static server.

  web_page_test.py PAGE_DIR stills CAPTURE SONG_DIGEST
      stills at three times of the show (the title text, the camera shake
      of the flash at 30 s, late in the song), on the post and the direct
      path, match the capture tool's stills of the same size and path: at
      least 98 % of the pixels within 8 levels (on the direct path, of the
      native pixel or one of its eight neighbours); the page names the song
      digest the native song_digest program prints.
  web_page_test.py PAGE_DIR show
      ?autostart plays: the audio clock advances at least 0.9x wall time
      over four seconds; Escape ends the show and the start panel returns.
"""
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from page_driver import Page, read_png_rgb  # noqa: E402

WIDTH, HEIGHT = 1280, 720
STILL_TIMES = ('8', '30.05', '165')
# How far, in pixels, a page pixel may lie from the native pixel it matches.
# The direct path draws the scene's silhouettes and its step-count bands
# straight to the frame, unblurred; the two software GPUs' float arithmetic
# moves some of those edges by a pixel.
PATH_REACH = (('post', 0), ('direct', 1))


def share_within(native, page, levels, reach):
    """The share of page pixels within `levels` of the native pixel at the
    same place or, with reach 1, of one of its eight neighbours."""
    def close(i, j):
        return max(abs(page[i] - native[j]), abs(page[i + 1] - native[j + 1]),
                   abs(page[i + 2] - native[j + 2])) <= levels

    matched = 0
    for i in range(0, len(page), 3):
        if close(i, i):
            matched += 1
            continue
        x, y = i // 3 % WIDTH, i // 3 // WIDTH
        matched += any(close(i, 3 * (ny * WIDTH + nx))
                       for ny in range(max(0, y - reach), min(HEIGHT, y + reach + 1))
                       for nx in range(max(0, x - reach), min(WIDTH, x + reach + 1)))
    return matched / (len(page) // 3)


def check_stills(folder, capture, song_digest):
    missing = [program for program in (capture, song_digest) if not os.access(program, os.X_OK)]
    if missing:
        return ['no native program %s: build the release preset first' % ', '.join(missing)]
    native_digest = subprocess.run([song_digest], check=True, capture_output=True, text=True).stdout.split()[1]
    failures = []
    with tempfile.TemporaryDirectory(prefix='gm-web-stills-') as scratch:
        for seconds, path, reach in ((s, p, r) for p, r in PATH_REACH for s in STILL_TIMES):
            png = os.path.join(scratch, 'still.png')
            subprocess.run([capture, '--still', seconds, '--png', png, '--size', '%dx%d' % (WIDTH, HEIGHT),
                            '--path', path], check=True, capture_output=True)
            native = read_png_rgb(open(png, 'rb').read())
            page = Page(folder, WIDTH, HEIGHT)
            try:
                query = '?still=%s&size=%dx%d&path=%s' % (seconds, WIDTH, HEIGHT, path)
                page.call('Page.navigate', url=page.url(query))
                page.wait_for(lambda: page.evaluate('document.title') == 'still ready', 300, 'the still')
                shot = page.screenshot_rgb()
                speed = page.console_line('song rendered in')
                digest = page.console_line('song digest: ')
            finally:
                page.close()
            share = share_within(native[2], shot[2], 8, reach) if shot[:2] == native[:2] else 0.0
            print('%s still at %s s: %.2f %% of pixels within 8 levels (%s)' % (path, seconds, 100 * share, speed))
            if share < 0.98:
                failures.append('the %s still at %s s matches on %.2f %% of pixels only' % (path, seconds, 100 * share))
            if digest != 'song digest: ' + native_digest:
                failures.append('the page made the song %r, the native build %s' % (digest, native_digest))
    return failures


def check_show(folder):
    page = Page(folder, 960, 540)
    try:
        page.call('Page.navigate', url=page.url('?autostart'))
        playing = 'Module.webAudio !== undefined && Module.webAudio.position() > 0'
        page.wait_for(lambda: page.evaluate(playing), 120, 'the show to play')
        # Both clocks read in one turn of the page, which may answer late
        # while it draws a frame.
        reading = '[Module.webAudio.position(), performance.now()]'
        first, first_ms = page.evaluate(reading)
        time.sleep(4)
        last, last_ms = page.evaluate(reading)
        seconds = (last_ms - first_ms) / 1000
        ratio = (last - first) / 44100 / seconds
        print('the audio clock ran %.3f x wall time over %.1f s' % (ratio, seconds))
        page.press_escape()
        back = '!document.getElementById("panel").hidden && !location.search.includes("autostart")'
        page.wait_for(lambda: page.evaluate(back), 120, 'Escape to bring the start panel back')
        print('Escape ended the show; the start panel is back')
        return [] if ratio >= 0.9 else ['the audio clock ran at %.3f x wall time only' % ratio]
    finally:
        page.close()


def main():
    folder, case = sys.argv[1], sys.argv[2]
    failures = check_stills(folder, *sys.argv[3:5]) if case == 'stills' else check_show(folder)
    for failure in failures:
        print('FAIL:', failure)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
