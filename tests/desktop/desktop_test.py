#!/usr/bin/env python3
"""desktop_test.py APP [--x11] [--wayland] [--only GROUP]: xdotool drives APP on X11 (two RandR monitors) and Wayland."""
import collections, contextlib, ctypes, os, select, shutil, signal, subprocess, sys, tempfile, threading, time  # noqa: E401

PARK = (1010, 740)  # pointer rest, outside every window
results, only = [], ''


def check(name, ok, detail=''):
    results.append(bool(ok))
    print(('PASS ' if ok else 'FAIL ') + name + ('' if ok else ': ' + str(detail)), flush=True)


def wait_for(what, timeout=5.0, step=0.05):
    end = time.time() + timeout
    while not (value := what()) and time.time() < end:
        time.sleep(step)
    return value


def stop(proc, sig=signal.SIGKILL):  # the process's group, killed where sig has not ended it in 3 seconds
    for sig in (sig, signal.SIGKILL):
        if proc.poll() is None:
            os.killpg(proc.pid, sig)
        if wait_for(lambda: proc.poll() is not None, 3):
            return


class Session(contextlib.AbstractContextManager):  # Xvfb, helpers and the application, stopped where the with ends

    def __init__(self, size):
        self.tmp = tempfile.mkdtemp(prefix='zb-desktop-')  # mode 0700: the private runtime directory
        self.procs, self.app, self.lines, self.env = [], None, [], dict(os.environ)
        read, write = os.pipe()
        self.spawn(['Xvfb', '-displayfd', str(write), '-screen', '0', size + 'x24', '-nolisten', 'tcp'], pass_fds=(write,))
        os.close(write)
        with os.fdopen(read) as f:  # the display's number, or nothing where Xvfb ends
            number = f.readline().strip() if select.select([f], [], [], 15)[0] else ''
        if not number:
            raise RuntimeError('Xvfb did not start')
        self.env = {k: v for k, v in self.env.items() if k not in ('WAYLAND_DISPLAY', 'QT_QPA_PLATFORM', 'QT_SCALE_FACTOR')}
        self.env.update(DISPLAY=':' + number, XDG_RUNTIME_DIR=self.tmp)

    def __exit__(self, *error):
        for proc in reversed(self.procs):  # the clients before their display server
            stop(proc, signal.SIGTERM)
        shutil.rmtree(self.tmp, ignore_errors=True)

    def spawn(self, argv, env=None, **kw):
        proc = subprocess.Popen(argv, env=env or self.env, stdin=subprocess.DEVNULL, start_new_session=True,
                                stdout=kw.pop('stdout', subprocess.DEVNULL), stderr=kw.pop('stderr', None), **kw)
        self.procs.append(proc)
        return proc

    def helper(self, argv, ready, **kw):  # a window manager or compositor; openbox now and then exits at once
        for attempt in range(3):
            proc = self.spawn(argv, **kw)
            if wait_for(lambda: ready() or proc.poll() is not None, 10) and ready():
                return
            stop(proc)
        raise RuntimeError(argv[0] + ' did not start')

    def tool(self, *argv):
        return subprocess.run(argv, env=self.env, capture_output=True, text=True, timeout=20).stdout

    def xdo(self, *args):
        return self.tool('xdotool', *[str(a) for a in args])

    def start_app(self, app, args=(), env=None):  # and waits until its main window has faded in
        if self.app:
            stop(self.app, signal.SIGTERM)
        self.xdo('mousemove', *PARK)
        self.lines, self.stderr = [], open(os.path.join(self.tmp, 'app.err'), 'w+')
        self.app = self.spawn([app, *args], {**self.env, **(env or {})}, stdout=subprocess.PIPE, stderr=self.stderr, text=1)
        threading.Thread(target=lambda: [self.lines.append(line.split()) for line in self.app.stdout], daemon=True).start()
        if not wait_for(lambda: ['ready'] in self.lines, 15):
            raise RuntimeError('the application did not come up')
        self.minimum = tuple(map(int, self.said('minimum')[1:3]))
        self.screens = [tuple(map(int, w[1:5])) for w in self.lines if w[0] == 'screen']
        self.main = None if 'WAYLAND_DISPLAY' in self.env else self.find('zb-main')  # its X window
        return self

    def said(self, *words, timeout=3.0):  # the application's latest line that starts with words
        found = wait_for(lambda: [w for w in self.lines if w[:len(words)] == list(words)], timeout)
        return found[-1] if found else None

    def at(self, name, timeout=3.0):  # the latest place (x, y, w, h) that the application reported for name
        return (lambda w: w and tuple(map(int, w[2:6])))(self.said('at', name, timeout=timeout))

    def drag(self, x, y, dx, dy, steps=4, start=True, rest=0.15):  # a press at (x, y) after a rest, moved, released
        cmd = ['mousemove', x - 1, y, 'sleep', 0.1, 'mousemove', x, y, 'sleep', rest] if start else []
        self.xdo(*cmd, 'mousedown', 1, 'sleep', 0.1, *[a for i in range(1, steps + 1) for a in (
            'mousemove', x + dx * i // steps, y + dy * i // steps, 'sleep', 0.06)], 'sleep', 0.2, 'mouseup', 1, 'sleep', 0.4)

    def click(self, *points):  # each in turn
        self.xdo(*[a for p in points for a in ('mousemove', *p, 'sleep', 0.15, 'click', 1, 'sleep', 0.3)])

    def screenshot(self):
        magic, size, depth, data = subprocess.run(['import', '-window', 'root', '-depth', '8', 'ppm:-'], env=self.env,
                                                  capture_output=True, timeout=20).stdout.split(b'\n', 3)
        return Image(*map(int, size.split()), data)

    def find(self, name=None, timeout=3.0):  # the window of that name, else one but main
        args = ['search', '--onlyvisible'] + (['--name', '^%s$' % name] if name else ['--class', 'zb_desktop_app'])
        found = wait_for(lambda: [w for w in map(int, self.xdo(*args).split()) if name or w != self.main], timeout)
        return found[0] if found else None

    def geometry(self, wid):
        info = dict(ln.strip().split(':', 1) for ln in self.tool('xwininfo', '-id', str(wid)).split('\n') if ':' in ln)
        return tuple(int(info[k]) for k in ('Absolute upper-left X', 'Absolute upper-left Y', 'Width', 'Height'))

    def prop(self, wid, name):
        out = self.tool('xprop', '-id', str(wid), name)
        return out.split('=', 1)[1].strip() if ' = ' in out else out.strip()

    def opacities(self, wid, action, seconds=0.8):  # every opacity wid takes while action runs and seconds after
        spy = self.spawn(['xprop', '-spy', '-id', str(wid), '_NET_WM_WINDOW_OPACITY'], stdout=subprocess.PIPE, text=True)
        time.sleep(0.2)
        action()
        time.sleep(seconds)
        stop(spy)
        return [opacity(line) for line in spy.stdout]  # xprop writes each change as it comes


def opacity(value):  # from xprop's answer: 1.0 where none is set
    value = value.split('=')[-1].strip()
    return int(value) / 0xffffffff if value.isdigit() else 1.0


class Image(collections.namedtuple('Image', 'width height data')):
    def box(self, colour, tolerance=0):
        # (x, y, w, h) around every pixel of colour (hex), or None; with a tolerance, of 2 by 2 blocks (no text or lines).
        pattern, stride, spans, previous = bytes.fromhex(colour), 3 * self.width, [], []
        for y in range(self.height - 1):
            row = self.data[y * stride:(y + 1) * stride]
            near = [close_to(row[i:i + 3], pattern, tolerance) for i in range(0, stride, 3)] if tolerance else [
                row[i:i + 3] == pattern for i in range(0, stride, 3)] if pattern in row else []
            hits = [x for x in range(len(near) - bool(tolerance)) if near[x] and (not tolerance or near[x + 1] and previous
                                                                                  and previous[x] and previous[x + 1])]
            spans += [(hits[0], hits[-1] + bool(tolerance), y - bool(tolerance), y)] if hits else []
            previous = near
        if spans:
            left, right, top, bottom = (f(s[i] for s in spans) for i, f in enumerate((min, max, min, max)))
            return (left, top, right - left + 1, bottom - top + 1)


def close_to(a, b, tolerance=12):
    return a is not None and all(abs(p - q) <= tolerance for p, q in zip(a, b))


def outwards(region, d):  # the drag (dx, dy) that moves the edges of region ('left', 'top-right', ...) outward by d
    return (('right' in region) - ('left' in region)) * d, (('bottom' in region) - ('top' in region)) * d


def outward(rect, region, d):  # rect with the edges of region moved outward by d (inward where d < 0)
    (x, y, w, h), (dx, dy), left, top = rect, outwards(region, d), 'left' in region, 'top' in region
    return x + dx * left, y + dy * top, w - dx if left else w + dx, h - dy if top else h + dy


def grip(rect, region, inset=2):  # a point inset pixels inside the edges of region, halfway along the others
    x, y, w, h = rect
    return (x + inset if 'left' in region else x + w - 1 - inset if 'right' in region else x + w // 2,
            y + inset if 'top' in region else y + h - 1 - inset if 'bottom' in region else y + h // 2)


# Right and bottom first: weston 10 shifts a window resized by its left or top edge before its size first changed.
REGIONS = ['right', 'bottom', 'left', 'top', 'bottom-right', 'top-left', 'top-right', 'bottom-left']


def button(s, g, name):  # a title bar button's centre; it keeps its distance from its side (the left one mirrored)
    b, width = s.at(name + 'BUTTON'), s.at('window')[2]
    x = g[0] + b[0] + b[2] // 2 if b[0] < width // 2 else g[0] + g[2] - (width - b[0] - b[2] // 2)
    return x, g[1] + b[1] + b[3] // 2


def centred(outer, size, dx=0, dy=0):  # the top-left corner of a window of size (w, h) centred in outer, moved
    return outer[0] + outer[2] // 2 - size[0] // 2 + dx, outer[1] + outer[3] // 2 - size[1] // 2 + dy


def title_drag(s, g, area=None, rest=0.15, steps=4):  # by (73, 41), or to the middle of area; returns where to
    dx, dy = (d if abs(d) > 40 else d + 80 for d in (c - p for c, p in zip(centred(area, g[2:]), g))) if area else (73, 41)
    s.drag(g[0] + s.at('title')[2] // 3, g[1] + s.at('title')[3] // 2, dx, dy, steps, rest=rest)
    return (g[0] + dx, g[1] + dy, g[2], g[3])


def frame_checks(s, tag, geometry, area=None, full=None, what=''):
    # Title drag, edges and corners (again at once from where a drag ended), the minimum size, maximise and restore.
    expected = title_drag(s, geometry(), area)
    check(tag + ' title drag moves by exactly the drag', geometry() == expected, (expected, geometry()))
    for region in REGIONS:
        (x, y), (dx, dy) = grip(geometry(), region), outwards(region, 24)
        for again, drag, d in (('', (x, y, dx, dy), 24), (' pressed again at once', (x + dx, y + dy, dx // 2, dy // 2), 12)):
            g = geometry()
            s.drag(*drag, start=not again)
            check('%s %s edge%s resizes exactly' % (tag, region, again), geometry() == outward(g, region, d), g)
    g = geometry()  # the left edge dragged far inward
    s.drag(*grip(g, 'left'), *outwards('left', -500))
    check(tag + ' left edge stops at the minimum width', geometry() == outward(g, 'left', s.minimum[0] - g[2]), geometry())
    if full:
        maximise_checks(s, tag, geometry, full, what)


def maximise_checks(s, tag, geometry, full, what):
    g = geometry()
    s.click(button(s, g, 'MAXIMIZE'))
    check('%s maximise fills %s' % (tag, what), wait_for(lambda: geometry() == full, 2), (full, geometry()))
    s.click(button(s, full, 'MAXIMIZE'))  # the restore button stands where maximise stood
    check(tag + ' restore returns the exact geometry', wait_for(lambda: geometry() == g, 2), (g, geometry()))


def combo_checks(s, tag, g, list_at):
    # list_at(still): the list's top-left corner, or None; still: the pointer stays over the current row, off the pixel.
    press = (g[0] + (combo := s.at('combo'))[0] + combo[2] - 20, g[1] + combo[1] + combo[3] // 2)
    s.click(press)
    at = wait_for(lambda: list_at(True), 3)
    check(tag + ' the combo list opens over the combo box', at == (g[0] + combo[0], g[1] + combo[1]), (at, g, combo))
    row = lambda: at and (lambda i: i.data[3 * (i.width * (at[1] + 3) + at[0] + 3):][:3])(s.screenshot())
    check(tag + ' the current row of the open list keeps the selection colour',
          wait_for(lambda: close_to(row(), (0x2f, 0x62, 0xd6)), 2), row())
    s.click((g[0] + g[2] - 40, g[1] + g[3] - 40))
    check(tag + ' a click outside closes the combo list', wait_for(lambda: not list_at(False), 2))


def quit_checks(s, tag, g, child_shows):  # closing the main window at g with its child window shown quits
    s.click((g[0] + g[2] // 2, g[1] + g[3] - 30))
    s.xdo('key', 'w')
    check(tag + ' the child window shows', child_shows())
    s.click(button(s, g, 'CLOSE'))
    check(tag + ' closing the main window with a child window open quits', wait_for(lambda: s.app.poll() is not None, 5))


def run_groups(s, app, tag, groups):
    for group in [g for g in groups if only in g.__name__]:
        try:
            group(s, app)
        except Exception as error:  # a group that cannot go on counts as one failure
            check('%s %s' % (tag, group.__name__), False, repr(error))


MONITORS = [(0, 0, 1280, 1024), (1280, 0, 1024, 768)]  # side by side, of different sizes


class XMonitor(ctypes.Structure):  # XRRMonitorInfo
    _fields_ = [('name', ctypes.c_ulong)] + [(n, ctypes.c_int) for n in 'primary automatic outputs x y w h mw mh'.split()]
    _fields_ += [('output', ctypes.POINTER(ctypes.c_ulong))]


def set_monitors(display):
    """MONITORS as RandR 1.5 monitors (what xrandr --setmonitor sets), through libXrandr; the first takes the
    server's output, whose automatic monitor would otherwise cover the whole screen."""
    x11, randr, ulong = ctypes.CDLL('libX11.so.6'), ctypes.CDLL('libXrandr.so.2'), ctypes.c_ulong
    x11.XOpenDisplay.restype = randr.XRRGetScreenResourcesCurrent.restype = ctypes.c_void_p
    x11.XInternAtom.restype = x11.XDefaultRootWindow.restype = ulong
    dpy = ctypes.c_void_p(x11.XOpenDisplay(display.encode()))
    root, version = ulong(x11.XDefaultRootWindow(dpy)), (ctypes.c_int(), ctypes.c_int())
    randr.XRRQueryVersion(dpy, *map(ctypes.byref, version))  # the server takes monitors from clients of 1.5 or later
    resources = ctypes.cast(randr.XRRGetScreenResourcesCurrent(dpy, root), ctypes.POINTER(ulong))
    outputs = ctypes.cast(resources[5], ctypes.POINTER(ulong))  # after two times, the crtcs and a count
    for i, (x, y, w, h) in enumerate(MONITORS):
        monitor = XMonitor(x11.XInternAtom(dpy, b'ZB%d' % i, 0), i == 0, 0, i == 0, x, y, w, h, w // 4, h // 4, outputs)
        randr.XRRSetMonitor(dpy, root, ctypes.byref(monitor))
    x11.XCloseDisplay(dpy)  # which sends what is queued


def x11_frame(s, app):
    frame_checks(s.start_app(app), 'x11', lambda: s.geometry(s.main), None, MONITORS[0], 'its monitor')
    s.xdo('mousemove', *button(s, s.geometry(s.main), 'MINIMIZE'), 'sleep', 0.15, 'click', 1, 'mousemove', *PARK)
    wait_for(lambda: 'Iconic' in s.prop(s.main, 'WM_STATE'), 2)
    s.xdo('windowactivate', s.main)
    restored = lambda: opacity(s.prop(s.main, '_NET_WM_WINDOW_OPACITY')) == 1.0
    check('x11 a restored window comes back at full opacity', wait_for(restored, 3))
    frame_checks(s.start_app(app, ['--own']), 'x11 own arithmetic:', lambda: s.geometry(s.main))


def dialog_checks(s, tag, g, screen):
    # The dialog over its parent at g, the message box on the pointer's screen: modal, frameless, the dialog transient.
    for key, name, over, end in (('d', 'dialog', (g, 'its parent'), 'Escape'),
                                 ('m', 'message box', (screen, 'the screen'), 'Return')):
        s.xdo('key', key)
        d = (wid := s.find('zb-' + name.split()[0])) and s.geometry(wid)
        check('%s the %s is centred over %s' % (tag, name, over[1]), d and d[:2] == centred(over[0], d[2:], -10, -40), d)
        state = wid and (key == 'm' or s.prop(wid, 'WM_TRANSIENT_FOR').split()[-1] == hex(s.main), '_NET_WM_STATE_MODAL'
                         in s.prop(wid, '_NET_WM_STATE'), s.prop(wid, '_NET_FRAME_EXTENTS'))
        check('%s the %s is modal and without a frame' % (tag, name), state == (True, True, '0, 0, 0, 0'), state)
        s.xdo('key', end)
        s.said(name.split()[0])  # once it has ended


def x11_windows(s, app):
    # Combo list and dialogs; on the second monitor maximise, dialogs and the combo list at its bottom.
    g = s.start_app(app).geometry(s.main)
    combo_checks(s, 'x11', g, lambda still: (lambda l: l and s.geometry(l)[:2])(s.find(timeout=3 if still else 0)))
    dialog_checks(s, 'x11', g, s.screens[0])
    if len(s.screens) < 2:
        return print('SKIP x11 two screens: Qt sees one (Qt 5 reads no RandR monitors)', flush=True)
    (left, right), move = s.screens, lambda px, py: s.xdo('windowmove', s.main, px, py, 'sleep', 0.4)
    move(right[0] + 150, right[1] + 120)
    g = s.geometry(s.main)
    maximise_checks(s, 'x11 second screen:', lambda: s.geometry(s.main), right, 'the second screen')
    s.xdo('mousemove', right[0] + 40, right[1] + 40)
    dialog_checks(s, 'x11 second screen:', g, right)
    combo, cx = s.at('combo'), right[0] + 99  # the combo box just above the second screen's bottom
    move(cx - combo[0], (cy := right[3] - combo[3] - 9) - combo[1])
    s.click((cx + combo[2] - 20, cy + combo[3] // 2))
    at = (shown := s.find()) and s.geometry(shown)
    check('x11 at the second screen\'s bottom the combo list stays on it', at and at[:2] == (cx, right[3] - at[3]), at)


def x11_rtl(s, app):
    # Right to left the title bar buttons are mirrored; Qt keeps the layout's margins, so they shift by their difference.
    ltr, rtl = ([s.start_app(app, args).at(n) for n in ('CLOSEBUTTON', 'MAXIMIZEBUTTON', 'MINIMIZEBUTTON', 'window')]
                for args in ([], ['-reverse']))
    mirrored = [r and (ltr[3][2] - r[0] - r[2],) + r[1:] for r in ltr[:3]]
    shift = rtl[0][0] - mirrored[0][0]
    check('x11 right to left the title bar buttons are mirrored',
          abs(shift) <= 10 and rtl[:3] == [r and (r[0] + shift,) + r[1:] for r in mirrored], (ltr, rtl))


def x11_motion(s, app):
    # With the animation hint on, the child window fades in and out; off, it shows and goes at once, at full opacity.
    for args, fades, tag, shows, goes in (([], True, 'x11 animated', 'fades in', 'fades out'),
                                          (['--still'], False, 'x11 without animations', 'shows at once', 'closes at once')):
        g = s.start_app(app, args).geometry(s.main)
        s.xdo('mousemove', g[0] + g[2] // 2, g[1] + g[3] - 30, 'sleep', 0.15, 'click', 1, 'sleep', 0.3, 'key', 'w')
        shown = (child := s.find('zb-child')) and s.opacities(child, lambda: None, 1.8)
        check('%s the child window %s' % (tag, shows), bool(shown) and (shown[0] < 1.0, min(shown) < 1.0, shown[-1]) == (
            fades, fades, 1.0), shown)
        closed = child and s.opacities(child, lambda: s.click(button(s, s.geometry(child), 'CLOSE')))
        check('%s the child window %s' % (tag, goes), closed is not None and (any(0 < o < 1 for o in closed), s.find(
            'zb-child', timeout=0)) == (fades, None), closed)


def x11_quit(s, app):
    # The outermost pixel grips at scale 2; at 1.5 the library's own arithmetic keeps the opposite edges.
    for scale, args, inset, regions in (('2', (), 0, ('right', 'bottom')), ('1.5', ['--own'], 2, ('left', 'top'))):
        s.start_app(app, args, env={'QT_SCALE_FACTOR': scale})
        for region in regions:
            g = s.geometry(s.main)
            s.drag(*grip(g, region, inset), *outwards(region, 30))
            check('x11 at scale %s a drag of the %s edge moves it alone' % (scale, region),
                  s.geometry(s.main) == outward(g, region, 30), (g, s.geometry(s.main)))
    quit_checks(s, 'x11', s.start_app(app).geometry(s.main), lambda: s.find('zb-child'))


def x11(app):
    with Session('%dx%d' % (MONITORS[1][0] + MONITORS[1][2], MONITORS[0][3])) as s:
        s.helper(['openbox', '--sm-disable'], lambda: '0x' in s.tool('xprop', '-root', '_NET_SUPPORTING_WM_CHECK'))
        set_monitors(s.env['DISPLAY'])  # with a client connected: the last one to leave would reset the server
        s.spawn(['xcompmgr'])
        time.sleep(0.5)
        run_groups(s, app, 'x11', (x11_frame, x11_windows, x11_rtl, x11_motion, x11_quit))


OUTPUT = (1000, 740)  # weston's output inside the Xvfb screen, at its top-left corner
CORNER = (OUTPUT[0] - 1, OUTPUT[1] - 1)  # the pointer's rest: weston draws its sprite into every screenshot


def shot(s):  # with the pointer at rest
    s.xdo('mousemove', *CORNER, 'sleep', 0.3)
    return s.screenshot()


def wl_main(s):  # from the green content and where it sits; the pointer's sprite hides too little of it
    green, c, window = s.screenshot().box('20c040'), s.at('content'), s.at('window')
    return green and (green[0] - c[0], green[1] - c[1], green[2] + window[2] - c[2], green[3] + window[3] - c[3])


def wl_frame(s, app):
    frame_checks(s.start_app(app), 'wayland', lambda: wl_main(s), (0, 0) + OUTPUT, (0, 0) + OUTPUT, 'the output')


def wl_repeat(s, app):  # ten fresh windows, which weston places anywhere, each dragged slowly to the middle
    moved = [title_drag(s, wl_main(s.start_app(app)), (0, 0) + OUTPUT, 1.0, 24) == wl_main(s) for run in range(10)]
    check('wayland a title drag in a fresh window works 10 times out of 10', moved == [True] * 10, moved)


def wl_windows(s, app):
    g = wl_main(s.start_app(app))
    combo_checks(s, 'wayland', g, lambda still: ((s.screenshot() if still else shot(s)).box('2f62d6', 40) or ())[:2] or None)
    s.click((g[0] + g[2] // 2, g[1] + g[3] - 30))
    s.xdo('key', 'p')
    size, mark = s.at('popup') or (0, 0, 0, 0), s.at('mark') or (0, 0)
    found = wait_for(lambda: shot(s).box('f0e020'), 2)
    centre, placed = centred((g[0], g[1], g[2] - 1, g[3] - 1), size[2:]), found and (found[0] - mark[0], found[1] - mark[1])
    check('wayland the text popup is centred in its parent', placed == centre, (placed, centre))
    quit_checks(s, 'wayland', wl_main(s.start_app(app)), lambda: wait_for(lambda: shot(s).box('c04020'), 3))
    s.stderr.seek(0)
    warnings = [line for line in s.stderr if 'opacity' in line]
    check('wayland fades warn about nothing', not warnings, '%d warnings' % len(warnings))


def wayland(app):
    with Session('%dx%d' % (OUTPUT[0] + 24, OUTPUT[1] + 28)) as s:
        with open(ini := os.path.join(s.tmp, 'weston.ini'), 'w') as f:  # a black desktop without panel or animations
            f.write('[shell]\nbackground-color=0xff000000\npanel-position=none\nanimation=none\n'
                    'close-animation=none\nstartup-animation=none\nfocus-animation=none\n')
        socket = 'zb-wayland-%d' % os.getpid()
        s.helper(['weston', '--backend=x11-backend.so', '--use-pixman', '--width=%d' % OUTPUT[0],
                  '--height=%d' % OUTPUT[1], '--socket=' + socket, '--idle-time=0', '--config=' + ini],
                 lambda: os.path.exists(os.path.join(s.tmp, socket)), stderr=open(os.path.join(s.tmp, 'weston.log'), 'w'))
        s.env.update(WAYLAND_DISPLAY=socket, QT_QPA_PLATFORM='wayland')
        time.sleep(1.0)
        s.xdo('mousemove', OUTPUT[0] // 2, OUTPUT[1] // 2, 'sleep', 0.1, 'mousemove', *CORNER)
        run_groups(s, app, 'wayland', (wl_frame, wl_repeat, wl_windows))


def main():
    global only
    argv = sys.argv[1:]
    only = argv[argv.index('--only') + 1] if '--only' in argv else ''
    for server in [a for a in argv[1:] if a in ('--x11', '--wayland')] or ['--x11', '--wayland']:
        {'--x11': x11, '--wayland': wayland}[server](os.path.abspath(argv[0]))
    print('desktop: %d passed, %d failed' % (results.count(True), results.count(False)), flush=True)
    return 1 if False in results or not results else 0


if __name__ == '__main__':
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(2))  # so that every session is closed
    sys.exit(main())
