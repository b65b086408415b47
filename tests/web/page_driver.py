"""Headless Chromium on a page served from a folder by a plain static server
on 127.0.0.1, driven over the DevTools protocol on a pipe: console lines,
script evaluation, keys and screenshots."""
import base64
import functools
import http.server
import json
import os
import shutil
import subprocess
import tempfile
import threading
import time
import zlib


class Page:
    def __init__(self, folder, width, height, browser_args=()):
        handler = functools.partial(QuietHandler, directory=folder)
        self.server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.profile = tempfile.mkdtemp(prefix='gm-web-test-')
        to_browser_read, self.to_browser = os.pipe()
        self.from_browser, from_browser_write = os.pipe()
        self.process = subprocess.Popen(
            [os.environ.get('GM_CHROMIUM', 'chromium'), '--headless=new', '--no-sandbox',
             '--enable-unsafe-swiftshader', '--autoplay-policy=no-user-gesture-required',
             '--remote-debugging-pipe', '--user-data-dir=' + self.profile, '--no-first-run',
             '--window-size=%d,%d' % (width, height), *browser_args, 'about:blank'],
            close_fds=False, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=lambda: pipe_ends_at_3_and_4(to_browser_read, from_browser_write))
        os.close(to_browser_read)
        os.close(from_browser_write)
        self.pending = b''
        self.next_id = 0
        self.console = []
        self.console_times = []  # when the page wrote each line, seconds since the epoch
        self.session = None
        target = next(t for t in self.call('Target.getTargets')['targetInfos'] if t['type'] == 'page')
        self.session = self.call('Target.attachToTarget', targetId=target['targetId'], flatten=True)['sessionId']
        self.call('Runtime.enable')
        self.call('Page.enable')
        self.call('Emulation.setDeviceMetricsOverride', width=width, height=height, deviceScaleFactor=1,
                  mobile=False)

    def url(self, query):
        return 'http://127.0.0.1:%d/glass-meridian.html%s' % (self.server.server_address[1], query)

    def call(self, method, **params):
        self.next_id += 1
        message = {'id': self.next_id, 'method': method, 'params': params}
        if self.session:
            message['sessionId'] = self.session
        os.write(self.to_browser, json.dumps(message).encode() + b'\0')
        while True:
            answer = self.receive()
            if answer.get('id') == self.next_id:
                if 'error' in answer:
                    raise RuntimeError('%s: %s' % (method, answer['error']))
                return answer['result']

    def receive(self):
        while b'\0' not in self.pending:
            chunk = os.read(self.from_browser, 1 << 20)
            if not chunk:
                raise RuntimeError('the browser closed its pipe')
            self.pending += chunk
        text, self.pending = self.pending.split(b'\0', 1)
        message = json.loads(text)
        if message.get('method') == 'Runtime.consoleAPICalled':
            self.console.append(' '.join(str(a.get('value', '')) for a in message['params']['args']))
            self.console_times.append(message['params']['timestamp'] / 1000)
        elif message.get('method') == 'Runtime.exceptionThrown':
            details = message['params']['exceptionDetails']
            self.console.append('exception: ' + details.get('exception', {}).get('description', details['text']))
            self.console_times.append(time.time())
        return message

    def evaluate(self, expression):
        return self.call('Runtime.evaluate', expression=expression, returnByValue=True,
                         awaitPromise=True)['result'].get('value')

    def wait_for(self, condition, timeout, what):
        """Polls condition() (events keep arriving meanwhile) until it is true;
        a page that is loading afresh answers nothing yet."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            try:
                value = condition()
            except RuntimeError:
                value = None
            if value:
                return value
            time.sleep(0.2)
        raise AssertionError('timed out after %d s waiting for %s' % (timeout, what))

    def console_line(self, prefix):
        return next(iter(self.console_lines(prefix)), None)

    def console_lines(self, prefix):
        self.evaluate('0')  # takes in the events that came meanwhile
        return [line for line in self.console if line.startswith(prefix)]

    def tap(self, element):
        """A touch on the middle of the element (a CSS selector), as a finger gives it."""
        box = self.evaluate('(() => { const r = document.querySelector(%s).getBoundingClientRect();'
                            ' return [r.x + r.width / 2, r.y + r.height / 2]; })()' % json.dumps(element))
        self.call('Emulation.setTouchEmulationEnabled', enabled=True)
        point = [{'x': box[0], 'y': box[1]}]
        self.call('Input.dispatchTouchEvent', type='touchStart', touchPoints=point)
        self.call('Input.dispatchTouchEvent', type='touchEnd', touchPoints=[])

    def press_escape(self):
        for kind in ('rawKeyDown', 'keyUp'):
            self.call('Input.dispatchKeyEvent', type=kind, key='Escape', code='Escape',
                      windowsVirtualKeyCode=27)

    def screenshot_rgb(self):
        png = base64.b64decode(self.call('Page.captureScreenshot', format='png')['data'])
        return read_png_rgb(png)

    def close(self):
        self.process.kill()
        self.process.wait()
        self.server.shutdown()
        os.close(self.to_browser)
        os.close(self.from_browser)
        shutil.rmtree(self.profile, ignore_errors=True)


def pipe_ends_at_3_and_4(reading, writing):
    """The protocol pipe's ends where the browser looks for them."""
    reading, writing = os.dup(reading), os.dup(writing)
    os.dup2(reading, 3)
    os.dup2(writing, 4)


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def read_png_rgb(data):
    """(width, height, RGB bytes) of an 8-bit RGB or RGBA PNG without interlace."""
    at, chunks, width, height, channels = 8, [], 0, 0, 0
    while at < len(data):
        length = int.from_bytes(data[at:at + 4], 'big')
        kind, body = data[at + 4:at + 8], data[at + 8:at + 8 + length]
        at += 12 + length
        if kind == b'IHDR':
            width, height = int.from_bytes(body[0:4], 'big'), int.from_bytes(body[4:8], 'big')
            if body[8] != 8 or body[9] not in (2, 6) or body[12] != 0:
                raise ValueError('only 8-bit RGB or RGBA PNG files without interlace')
            channels = 3 if body[9] == 2 else 4
        elif kind == b'IDAT':
            chunks.append(body)
    raw = zlib.decompress(b''.join(chunks))
    stride = width * channels
    previous = bytearray(stride)
    rgb = bytearray()
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        previous = line
        if channels == 3:
            rgb += line
        else:
            for x in range(width):
                rgb += line[4 * x:4 * x + 3]
    return width, height, bytes(rgb)
