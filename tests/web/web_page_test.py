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
  web_page_test.py PAGE_DIR digest SONG_DIGEST
      ?autostart in a 320x180 window names the native song digest within
      60 s of loading the page.
  web_page_test.py PAGE_DIR fallback SONG_DIGEST
      a page whose worker is refused says so once and still completes the
      song, rendered by the frame loop.
  web_page_test.py PAGE_DIR again SONG_DIGEST
      two shows in one page load (START by touch, then by Enter) both name
      the native digest; a still drawn after them in the same page load
      equals a fresh page's still.
  web_page_test.py PAGE_DIR nowebgl
      a browser without WebGL 2 gets the page's WebGL 2 message.
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


def missing_programs(*programs):
    missing = [program for program in programs if not os.access(program, os.X_OK)]
    return ['no native program %s: build the release preset first' % ', '.join(missing)] if missing else []


def native_song_digest(song_digest):
    return subprocess.run([song_digest], check=True, capture_output=True, text=True).stdout.split()[1]


def check_stills(folder, capture, song_digest):
    missing = missing_programs(capture, song_digest)
    if missing:
        return missing
    native_digest = native_song_digest(song_digest)
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


# The played position by the page's audio clock, in frames.
POSITION = ('(typeof webAudioOutput === "object" && webAudioOutput.context ? Math.max(0, (webAudioOutput.context.currentTime'
            ' - webAudioOutput.startTime) * 44100) : 0)')
PANEL_SHOWN = '!document.getElementById("panel").hidden'
PLAYING = '!document.getElementById("stage").hidden && %s > 0' % POSITION


def check_show(folder):
    page = Page(folder, 960, 540)
    try:
        page.call('Page.navigate', url=page.url('?autostart'))
        page.wait_for(lambda: page.evaluate(POSITION) > 0, 120, 'the show to play')
        # Both clocks read in one turn of the page, which may answer late
        # while it draws a frame.
        reading = '[%s, performance.now()]' % POSITION
        first, first_ms = page.evaluate(reading)
        time.sleep(4)
        last, last_ms = page.evaluate(reading)
        seconds = (last_ms - first_ms) / 1000
        ratio = (last - first) / 44100 / seconds
        print('the audio clock ran %.3f x wall time over %.1f s' % (ratio, seconds))
        page.press_escape()
        back = PANEL_SHOWN + ' && !location.search.includes("autostart")'
        page.wait_for(lambda: page.evaluate(back), 120, 'Escape to bring the start panel back')
        print('Escape ended the show; the start panel is back')
        return [] if ratio >= 0.9 else ['the audio clock ran at %.3f x wall time only' % ratio]
    finally:
        page.close()


def wait_for_digests(page, count, timeout):
    page.wait_for(lambda: len(page.console_lines('song digest: ')) >= count, timeout, 'song digest %d' % count)
    return page.console_lines('song digest: ')[count - 1]


def check_digest(folder, song_digest, refuse_worker=False):
    missing = missing_programs(song_digest)
    if missing:
        return missing
    expected = 'song digest: ' + native_song_digest(song_digest)
    page = Page(folder, 320, 180)
    try:
        if refuse_worker:
            page.call('Page.addScriptToEvaluateOnNewDocument',
                      source='window.Worker = function () { throw new DOMException("refused", "SecurityError"); };')
        start = time.time()
        page.call('Page.navigate', url=page.url('?autostart'))
        digest = wait_for_digests(page, 1, 600 if refuse_worker else 120)
        # When the page wrote it: the test itself may hear of it late from a
        # page busy drawing.
        seconds = page.console_times[page.console.index(digest)] - start
        print('%s after %.1f s (%s)' % (digest, seconds, page.console_line('song rendered in')))
        failures = [] if digest == expected else ['the page made %r, the native build %r' % (digest, expected)]
        if not refuse_worker and seconds > 60:
            failures.append('the song digest came %.1f s after the page began to load, not within 60 s' % seconds)
        if refuse_worker:
            said = [line for line in page.console if 'the frame loop renders it' in line]
            if len(said) != 1:
                failures.append('the console told of the fallback %d times: %r' % (len(said), said))
        return failures
    finally:
        page.close()


def still_shot(page, query, timeout):
    page.wait_for(lambda: page.evaluate('document.title') == 'still ready', timeout, 'the still ' + query)
    return page.screenshot_rgb()


def check_again(folder, song_digest):
    missing = missing_programs(song_digest)
    if missing:
        return missing
    expected = 'song digest: ' + native_song_digest(song_digest)
    still = 'still=30.05&size=640x360'
    failures = []
    page = Page(folder, 640, 360)
    try:
        page.call('Page.navigate', url=page.url(''))
        page.wait_for(lambda: page.evaluate(PANEL_SHOWN), 60, 'the start panel')
        page.tap('#start')
        page.wait_for(lambda: page.evaluate(PLAYING), 60, 'the show started by a touch')
        digests = [wait_for_digests(page, 1, 120)]
        page.press_escape()
        page.wait_for(lambda: page.evaluate(PANEL_SHOWN), 60, 'the panel after the first show')
        for kind in ('rawKeyDown', 'keyUp'):
            page.call('Input.dispatchKeyEvent', type=kind, key='Enter', code='Enter', windowsVirtualKeyCode=13)
        page.wait_for(lambda: page.evaluate(PLAYING), 60, 'the second show started by Enter')
        digests.append(wait_for_digests(page, 2, 120))
        print('two shows in one page load: %s' % digests)
        failures += ['show %d made %r, the native build %r' % (n + 1, d, expected)
                     for n, d in enumerate(digests) if d != expected]
        page.evaluate('location.hash = %r' % still)
        after_show = still_shot(page, still, 300)
    finally:
        page.close()
    page = Page(folder, 640, 360)
    try:
        page.call('Page.navigate', url=page.url('?' + still))
        fresh = still_shot(page, still, 300)
    finally:
        page.close()
    differing = (sum(1 for i in range(0, len(fresh[2]), 3) if after_show[2][i:i + 3] != fresh[2][i:i + 3])
                 if after_show[:2] == fresh[:2] else len(fresh[2]) // 3)
    print('the still after two shows differs from a fresh page\'s on %d pixels' % differing)
    if differing:
        failures.append('the still after the shows differs from a fresh page\'s on %d pixels' % differing)
    return failures


def check_no_webgl(folder):
    page = Page(folder, 640, 360, ['--disable-3d-apis'])
    try:
        page.call('Page.navigate', url=page.url(''))
        page.wait_for(lambda: page.evaluate('document.title') == 'Glass Meridian needs WebGL 2', 60,
                      'the page to say it needs WebGL 2')
        message = page.evaluate('document.getElementById("message").hidden ? "" :'
                                ' document.getElementById("message").textContent')
        print('without WebGL 2 the page says: %r' % message)
        return [] if 'WebGL 2' in message else ['the page shows no WebGL 2 message']
    finally:
        page.close()


CASES = {
    'stills': check_stills,
    'show': check_show,
    'digest': check_digest,
    'fallback': lambda folder, song_digest: check_digest(folder, song_digest, refuse_worker=True),
    'again': check_again,
    'nowebgl': check_no_webgl,
}


def main():
    folder, case = sys.argv[1], sys.argv[2]
    failures = CASES[case](folder, *sys.argv[3:])
    for failure in failures:
        print('FAIL:', failure)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
