#!/usr/bin/env python3
"""Interactive resizing on a real X11 desktop, measured: the library's frameless editor window against a
QMainWindow with the window manager's decorations.

    resize_latency.py APP [--steps 50] [--runs 3]     (APP: the build's bench/zb_resize_app)

An Xvfb of 1280x800 with openbox and xcompmgr (the desktop test's session) runs APP three ways: the
library's window resized through the window manager, the same window with its own resize arithmetic
(--own), and the QMainWindow resized by openbox's own frame. Each run presses the bottom-right corner
and moves the pointer in STEPS motions of (6, 4) pixels, one at a time, through XTest (what xdotool
sends, without a process start per motion that would blur the time of the motion).

Latency: the time from sending a motion to the end of the event handling that painted the window at
the size that motion asked for. APP reports that moment on CLOCK_MONOTONIC, the clock this script reads,
after Qt has flushed the frame to the X server; both sides are measured at the same point, so the
compositor's own delay (the same for both) is left out.

Painting: after each step a screenshot of the root window must show the window at its new size with no
band (8 pixels in a row along its top, right or bottom edge lines) of black, the colour of a backing
store not painted yet, or of the root, which shows through where the window is transparent.

Frame work: the processor time APP spent on a frame, from the event that brought the new size to the end
of the painting; unlike the latency it does not grow when other programs keep the machine busy.

Also the time from starting APP to its first painted frame, and to the end of the library's fade-in.
Prints medians in milliseconds and the ratios ZB/Qt; a benchmark, not a test: nothing is asserted.
The whole session may run at a raised priority (nice -n -15) on a machine busy with other work.
"""
import ctypes
import os
import statistics
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'desktop'))
from desktop_test import Session, wait_for  # noqa: E402  (the desktop test's X11 session and screenshots)

SCREEN = (1280, 800)
STEP = (6, 4)
BAND = 8
SHOTS = os.environ.get('ZB_BENCH_SHOTS')  # a folder: the screenshots of steps with a band go there


class Input:
    """XTest on the session's display."""

    def __init__(self, display):
        self.x11 = ctypes.CDLL('libX11.so.6')
        self.xtst = ctypes.CDLL('libXtst.so.6')
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XFlush.argtypes = self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                                   ctypes.c_ulong]
        self.xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.dpy = self.x11.XOpenDisplay(display.encode())
        if not self.dpy:
            raise RuntimeError('cannot open ' + display)

    def move(self, x, y):
        self.xtst.XTestFakeMotionEvent(self.dpy, -1, x, y, 0)
        self.x11.XFlush(self.dpy)
        return time.monotonic() * 1e3

    def button(self, down):
        self.xtst.XTestFakeButtonEvent(self.dpy, 1, down, 0)
        self.x11.XFlush(self.dpy)

    def close(self):
        self.x11.XCloseDisplay(self.dpy)


class Run:
    """APP started in the session, its report lines collected with the time they arrived."""

    def __init__(self, s, app, args):
        self.s, self.lines = s, []
        self.started = time.monotonic() * 1e3
        self.proc = s.spawn([app, *args], stdout=subprocess.PIPE, text=True)
        threading.Thread(target=lambda out: [self.lines.append(line.split()) for line in out],
                         args=(self.proc.stdout,), daemon=True).start()

    def frames(self, since=0.0):
        return [(float(w[1]), int(w[2]), int(w[3]), float(w[4])) for w in list(self.lines)
                if w[0] == 'frame' and float(w[1]) >= since]

    def shown(self):
        found = [float(w[1]) for w in list(self.lines) if w[0] == 'shown']
        return found[0] if found else None

    def stop(self):
        self.proc.terminate()
        self.proc.wait(5)


def window_id(s):
    found = wait_for(lambda: s.xdo('search', '--onlyvisible', '--name', '^zb-resize$').split(), 10)
    return int(found[0]) if found else None


def client_rect(s, wid):
    info = dict(line.strip().split(':', 1) for line in s.tool('xwininfo', '-id', str(wid)).splitlines()
                if ':' in line)
    return tuple(int(info[k]) for k in ('Absolute upper-left X', 'Absolute upper-left Y', 'Width', 'Height'))


def extents(s, wid):
    """The window manager's frame round the client: left, right, top, bottom."""
    out = s.tool('xprop', '-id', str(wid), '_NET_FRAME_EXTENTS')
    return tuple(int(v) for v in out.split('=', 1)[1].split(',')) if '=' in out else (0, 0, 0, 0)


def bands(image, rect, root):
    """The edge lines of rect (x, y, w, h) that hold a run of BAND unpainted pixels, and whether the
    window reaches past rect's right or bottom edge."""
    x, y, w, h = rect
    bad = {(0, 0, 0), root}
    lines = {'top': [(x + i, y + 1) for i in range(w)], 'title': [(x + i, y + 3) for i in range(w)],
             'right': [(x + w - 2, y + j) for j in range(h)], 'bottom': [(x + i, y + h - 2) for i in range(w)]}
    found = []
    for name, points in lines.items():
        run = 0
        for px, py in points:
            run = run + 1 if 0 <= px < image.width and 0 <= py < image.height and image.pixel(px, py) in bad else 0
            if run >= BAND:
                found.append(name)
                break
    beyond = [(x + w + 2, y + h // 2), (x + w // 2, y + h + 2)]
    if any(p[0] < image.width and p[1] < image.height and image.pixel(*p) not in bad for p in beyond):
        found.append('larger')
    return found


def resize_run(s, app, args, steps):
    """One run: latencies and processor time per frame in ms, steps without a frame at the new size, steps with a band, first frame
    and fully shown in ms from the start."""
    run = Run(s, app, args)
    try:
        wid = window_id(s)
        if not wid or not wait_for(lambda: run.shown() and run.frames(), 10):
            raise RuntimeError('the window did not come up')
        first = run.frames()[0][0] - run.started
        # The library's window fades in; a QMainWindow is shown with its first frame.
        shown = run.shown() - run.started if '--zb' in args else first
        time.sleep(0.5)
        left, right, top, bottom = extents(s, wid)
        cx, cy, cw, ch = client_rect(s, wid)
        root = s.screenshot().pixel(SCREEN[0] - 2, SCREEN[1] - 2)
        # The outermost corner pixels: openbox's grip, and the library's resize band.
        gx, gy = cx + cw + right - 3, cy + ch + bottom - 3
        xi = Input(s.env['DISPLAY'])
        try:
            xi.move(gx - 1, gy)
            time.sleep(0.15)
            xi.move(gx, gy)
            time.sleep(0.3)
            xi.button(True)
            time.sleep(0.2)
            latencies, work, missed, banded = [], [], 0, 0
            for i in range(1, steps + 1):
                want = (cw + STEP[0] * i, ch + STEP[1] * i)
                sent = xi.move(gx + STEP[0] * i, gy + STEP[1] * i)
                got = wait_for(lambda: [f for f in run.frames(sent) if f[1:3] == want], 2.0, 0.001)
                if not got:
                    missed += 1
                    if SHOTS:
                        print('missed', args, i, want, run.frames(sent)[:3], flush=True)
                    continue
                latencies.append(got[0][0] - sent)
                work.append(got[0][3])
                image = s.screenshot()
                rect = (cx - left, cy - top, want[0] + left + right, want[1] + top + bottom)
                found = bands(image, rect, root)
                if found:
                    banded += 1
                    if SHOTS:
                        with open(os.path.join(SHOTS, '%s-%d.ppm' % ('-'.join(args), i)), 'wb') as f:
                            f.write(b'P6\n%d %d\n255\n' % (image.width, image.height) + image.data)
                        print('bands', args, i, rect, found, flush=True)
            xi.button(False)
        finally:
            xi.close()
        return latencies, work, missed, banded, first, shown
    finally:
        run.stop()


def main():
    argv = sys.argv[1:]
    steps = int(argv[argv.index('--steps') + 1]) if '--steps' in argv else 50
    runs = int(argv[argv.index('--runs') + 1]) if '--runs' in argv else 3
    app = os.path.abspath(argv[0])
    s = Session('%dx%d' % SCREEN)
    sides = [('ZB, window manager', ['--zb']), ('ZB, own arithmetic', ['--zb', '--own']),
             ('Qt, native frame', ['--qt'])]
    results = {}
    try:
        s.helper(['openbox', '--sm-disable'], lambda: '0x' in s.tool('xprop', '-root', '_NET_SUPPORTING_WM_CHECK'))
        s.spawn(['xcompmgr'])
        time.sleep(0.5)
        for _ in range(runs):  # the sides alternate, so that a slow moment of the machine hits all of them
            for name, args in sides:
                latencies, work, missed, banded, first, shown = resize_run(s, app, args, steps)
                r = results.setdefault(name, {'lat': [], 'work': [], 'missed': 0, 'banded': 0, 'first': [],
                                              'shown': []})
                r['lat'] += latencies
                r['work'] += work
                r['missed'] += missed
                r['banded'] += banded
                r['first'].append(first)
                r['shown'].append(shown)
    finally:
        s.close()
    qt = results['Qt, native frame']
    med = statistics.median

    def p90(values):
        return sorted(values)[int(len(values) * 0.9)] if values else float('nan')

    print('%d runs of %d resize steps each, %dx%d, openbox + xcompmgr, load average %.1f' % (
        runs, steps, SCREEN[0], SCREEN[1], os.getloadavg()[0]))
    print('%-19s | %-25s | %-17s | %-13s | %-17s | %s' % (
        'side', 'motion to frame: median p90', 'frame work  ZB/Qt', 'missed banded', 'first frame ZB/Qt',
        'fully shown ZB/Qt'))
    for name, r in results.items():
        print('%-19s | %8.2f ms %8.2f ms %5.2f | %7.2f ms %6.2f | %6d %6d | %8.1f ms %6.2f | %8.1f ms %6.2f' % (
            name, med(r['lat']), p90(r['lat']), med(r['lat']) / med(qt['lat']), med(r['work']),
            med(r['work']) / med(qt['work']), r['missed'], r['banded'], med(r['first']),
            med(r['first']) / med(qt['first']), med(r['shown']), med(r['shown']) / med(qt['shown'])))
    return 0


if __name__ == '__main__':
    sys.exit(main())
