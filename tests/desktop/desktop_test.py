#!/usr/bin/env python3
"""The desktop test: the library on real display servers, driven with real input (QTest's synthetic events
would bypass the window system, which is what is under test here).

    desktop_test.py APP [--x11] [--wayland] [--only GROUP]     (without a server option: both)

X11 is an Xvfb with openbox and xcompmgr, Wayland weston's X11 backend in another Xvfb; each gets a free
display number and a private runtime directory, and everything started is stopped again, also on failure.
APP (tests/desktop/zb_desktop_app) runs there; xdotool moves, clicks and types; xwininfo and xprop measure
on X11, screenshots on Wayland (a Wayland client cannot learn its own position); pyatspi reads what an X11
screen reader is told. Each check prints PASS, FAIL or SKIP; the last line counts them.
"""
import json
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

PARK = (1010, 740)  # pointer rest, outside every window
SHOTS = os.environ.get('ZB_DESKTOP_SHOTS')  # a folder: the last screenshot before each failure goes there
results = []
only = None
last_image = None


def check(name, ok, detail=''):
    results.append(bool(ok))
    print(('PASS ' if ok else 'FAIL ') + name + ('' if ok else ': ' + str(detail)), flush=True)
    if not ok and SHOTS and last_image:
        with open(os.path.join(SHOTS, name.replace(' ', '-') + '.ppm'), 'wb') as f:
            f.write(b'P6\n%d %d\n255\n' % (last_image.width, last_image.height) + last_image.data)
    return ok


def wait_for(what, timeout=5.0, step=0.05):
    end = time.time() + timeout
    while True:
        value = what()
        if value or time.time() > end:
            return value
        time.sleep(step)


class Session:
    """A display server with its helpers and the application; close() stops all of them."""

    def __init__(self, size):
        self.tmp = tempfile.mkdtemp(prefix='zb-desktop-')  # mode 0700: the private runtime directory
        self.procs = []
        self.app = None
        self.lines = []
        self.env = dict(os.environ)
        read, write = os.pipe()
        self.spawn(['Xvfb', '-displayfd', str(write), '-screen', '0', size + 'x24', '-nolisten', 'tcp'],
                   pass_fds=(write,))
        os.close(write)
        number = b''
        while not number.endswith(b'\n') and select.select([read], [], [], 15)[0]:
            chunk = os.read(read, 32)
            number += chunk
            if not chunk:
                break
        os.close(read)
        number = number.decode().strip()
        if not number:
            raise RuntimeError('Xvfb did not start')
        self.env.update(DISPLAY=':' + number, XDG_RUNTIME_DIR=self.tmp)
        for name in ('WAYLAND_DISPLAY', 'QT_QPA_PLATFORM', 'QT_SCALE_FACTOR'):
            self.env.pop(name, None)

    def spawn(self, argv, env=None, **kw):
        proc = subprocess.Popen(argv, env=env or self.env, stdin=subprocess.DEVNULL, start_new_session=True,
                                stdout=kw.pop('stdout', subprocess.DEVNULL), stderr=kw.pop('stderr', None), **kw)
        self.procs.append(proc)
        return proc

    def helper(self, argv, ready, **kw):
        """Starts a helper of the display server (window manager, compositor) and waits until ready()
        holds; an attempt that ends early (openbox now and then exits at once) is repeated."""
        for attempt in range(3):
            proc = self.spawn(argv, **kw)
            wait_for(lambda: ready() or proc.poll() is not None, 10)
            if ready():
                return
            if proc.poll() is None:
                os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()
        raise RuntimeError(argv[0] + ' did not start')

    def close(self):
        for proc in reversed(self.procs):  # the clients before their display server
            if proc.poll() is None:
                os.killpg(proc.pid, signal.SIGTERM)
            try:
                proc.wait(3)
            except subprocess.TimeoutExpired:
                os.killpg(proc.pid, signal.SIGKILL)
                proc.wait()
        shutil.rmtree(self.tmp, ignore_errors=True)

    def tool(self, *argv):
        return subprocess.run(argv, env=self.env, capture_output=True, text=True, timeout=20).stdout

    def xdo(self, *args):
        return self.tool('xdotool', *[str(a) for a in args])

    def start_app(self, app, extra_env=None, args=()):
        """Starts the application and waits until its main window has faded in; returns its layout."""
        if self.app and self.app.poll() is None:
            os.killpg(self.app.pid, signal.SIGTERM)
            self.app.wait(5)
        self.xdo('mousemove', *PARK)
        self.lines = []
        self.stderr = open(os.path.join(self.tmp, 'app.err'), 'w+')
        self.app = self.spawn([app, *args], dict(self.env, **(extra_env or {})), stdout=subprocess.PIPE,
                              stderr=self.stderr, text=True)
        threading.Thread(target=lambda out: [self.lines.append(line.split()) for line in out],
                         args=(self.app.stdout,), daemon=True).start()
        if not wait_for(lambda: ['ready'] in self.lines, 15):
            raise RuntimeError('the application did not come up')
        self.minimum = tuple(map(int, self.said('minimum')[1:3]))

    def at(self, name, timeout=3.0):
        """The latest place (x, y, w, h) that the application reported for name."""
        found = wait_for(lambda: [w for w in self.lines if w[:2] == ['at', name]], timeout)
        return tuple(map(int, found[-1][2:6])) if found else None

    def said(self, word, timeout=3.0):
        found = wait_for(lambda: [w for w in self.lines if w[0] == word], timeout)
        return found[-1] if found else None

    def drag(self, x, y, dx, dy, steps=4, start=True):
        """Presses at (x, y) after a hover there, moves by (dx, dy) in steps and releases."""
        cmd = ['mousemove', x - 1, y, 'sleep', 0.1, 'mousemove', x, y, 'sleep', 0.15] if start else []
        cmd += ['mousedown', 1, 'sleep', 0.1]
        for i in range(1, steps + 1):
            cmd += ['mousemove', x + dx * i // steps, y + dy * i // steps, 'sleep', 0.06]
        self.xdo(*cmd, 'sleep', 0.2, 'mouseup', 1, 'sleep', 0.4)

    def click(self, x, y):
        self.xdo('mousemove', x, y, 'sleep', 0.15, 'click', 1, 'sleep', 0.3)

    def screenshot(self):
        raw = subprocess.run(['import', '-window', 'root', '-depth', '8', 'ppm:-'], env=self.env,
                             capture_output=True, timeout=20).stdout
        global last_image
        magic, size, depth, data = raw.split(b'\n', 3)
        last_image = Image(*map(int, size.split()), data)
        return last_image


class Image:
    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.data[i:i + 3])

    def box(self, colour, tolerance=0):
        """(x, y, w, h) around every pixel of this colour (hex 'rrggbb'), or None. With a tolerance, only
        pixels that start a 2 by 2 block of close colours count, so that thin lines and text are left out."""
        pattern, stride, spans, previous = bytes.fromhex(colour), 3 * self.width, [], []
        for y in range(self.height - 1):
            row = self.data[y * stride:(y + 1) * stride]
            if not tolerance and pattern in row:
                hits = [x for x in range(self.width) if row[3 * x:3 * x + 3] == pattern]
                spans += [(hits[0], hits[-1], y, y)] if hits else []
            elif tolerance:
                near = [close_to(row[i:i + 3], pattern, tolerance) for i in range(0, stride, 3)]
                hits = [x for x in range(self.width - 1) if near[x] and near[x + 1] and previous and previous[x]
                        and previous[x + 1]] if any(near) else []
                spans += [(hits[0], hits[-1] + 1, y - 1, y)] if hits else []
                previous = near
        if not spans:
            return None
        left, right = min(s[0] for s in spans), max(s[1] for s in spans)
        top, bottom = min(s[2] for s in spans), max(s[3] for s in spans)
        return (left, top, right - left + 1, bottom - top + 1)


def close_to(a, b, tolerance=12):
    return a is not None and all(abs(p - q) <= tolerance for p, q in zip(a, b))


def outward(rect, region, d):
    """rect with the edges of region ('left', 'top-right', ...) moved outward by d."""
    x, y, w, h = rect
    if 'left' in region:
        x, w = x - d, w + d
    if 'right' in region:
        w += d
    if 'top' in region:
        y, h = y - d, h + d
    if 'bottom' in region:
        h += d
    return (x, y, w, h)


def grip(rect, region, inset=2):
    """A point inset pixels inside the edges of region, halfway along the others."""
    x, y, w, h = rect
    px = x + inset if 'left' in region else x + w - 1 - inset if 'right' in region else x + w // 2
    py = y + inset if 'top' in region else y + h - 1 - inset if 'bottom' in region else y + h // 2
    return px, py


def outwards(region, d):
    """The drag (dx, dy) that moves the edges of region outward by d."""
    return (-d if 'left' in region else d if 'right' in region else 0,
            -d if 'top' in region else d if 'bottom' in region else 0)


# Right and bottom first: weston 10 moves a window resized by its left or top edge by the size change
# since the last frame it saw after the first, which a window that has not changed size since it
# appeared lacks; it then jumps by its whole width (any client does).
REGIONS = ['right', 'bottom', 'left', 'top', 'bottom-right', 'top-left', 'top-right', 'bottom-left']


def button(s, g, name):
    """The centre of a title bar button of the window at g: the buttons keep their distance from the right."""
    b, width = s.at(name), s.at('window')[2]
    return g[0] + g[2] - (width - b[0] - b[2] // 2), g[1] + b[1] + b[3] // 2


def centred(outer, size, dx=0, dy=0):
    """The top-left corner of a window of size (w, h) centred in outer (x, y, w, h), moved by (dx, dy)."""
    return outer[0] + outer[2] // 2 - size[0] // 2 + dx, outer[1] + outer[3] // 2 - size[1] // 2 + dy


def frame_checks(s, tag, geometry, full=None, what=''):
    """Title drag, every edge and corner (and a press again at once where a drag left the pointer), the
    minimum size, and with a full geometry (what it fills) maximise and restore: the same on both display
    servers, with geometry() measuring the window."""
    g = geometry()
    title = s.at('title')
    s.drag(g[0] + title[2] // 3, g[1] + title[3] // 2, 73, 41)
    check(tag + ' title drag moves by exactly the drag', geometry() == (g[0] + 73, g[1] + 41, g[2], g[3]),
          (g, geometry()))
    for region in REGIONS:
        g = geometry()
        (x, y), (dx, dy) = grip(g, region), outwards(region, 24)
        s.drag(x, y, dx, dy)
        check(tag + ' %s edge resizes exactly' % region, geometry() == outward(g, region, 24), (g, geometry()))
        g = geometry()
        s.drag(x + dx, y + dy, dx // 2, dy // 2, start=False)
        check(tag + ' %s edge pressed again at once resizes' % region, geometry() == outward(g, region, 12),
              (g, geometry()))
    for region in ('left', 'top'):
        g = geometry()
        s.drag(*grip(g, region), *outwards(region, -500))
        x, y = g[0] + g[2] - s.minimum[0], g[1] + g[3] - s.minimum[1]
        expected = (x, g[1], s.minimum[0], g[3]) if region == 'left' else (g[0], y, g[2], s.minimum[1])
        check(tag + ' %s edge stops at the minimum size' % region, geometry() == expected, (g, geometry()))
    if full:
        g = geometry()
        s.click(*button(s, g, 'maximize'))
        check('%s maximise fills %s' % (tag, what), wait_for(lambda: geometry() == full, 2), geometry())
        s.click(*button(s, full, 'maximize'))  # the restore button stands where maximise stood
        check(tag + ' restore returns the exact geometry', wait_for(lambda: geometry() == g, 2), (g, geometry()))


def combo_checks(s, tag, g, list_at, while_open=lambda: None):
    """The combo list opens over the combo box and keeps its current row in the selection colour; Escape and
    a click outside close it. list_at(still) finds the list's top-left corner, None while it is closed;
    still: without moving the pointer, which stays over the current row, away from the pixel looked at."""
    combo = s.at('combo')
    press = (g[0] + combo[0] + combo[2] - 20, g[1] + combo[1] + combo[3] // 2)
    s.click(*press)
    at = wait_for(lambda: list_at(True), 3)
    check(tag + ' the combo list opens over the combo box', at == (g[0] + combo[0], g[1] + combo[1]), (at, g, combo))
    while_open()
    row = lambda: at and s.screenshot().pixel(at[0] + 3, at[1] + 3)
    check(tag + ' the current row of the open list keeps the selection colour',
          wait_for(lambda: close_to(row(), (0x2f, 0x62, 0xd6)), 2), row())
    s.xdo('key', 'Escape')
    check(tag + ' Escape closes the combo list', wait_for(lambda: not list_at(False), 2))
    s.click(*press)
    s.click(g[0] + g[2] - 40, g[1] + g[3] - 40)
    check(tag + ' a click outside closes the combo list', wait_for(lambda: not list_at(False), 2))


def quit_checks(s, tag, g, child_shows):
    """Closing the main window at g while its child window shows quits the application."""
    s.click(g[0] + g[2] // 2, g[1] + g[3] - 30)
    s.xdo('key', 'w')
    check(tag + ' the child window shows', child_shows())
    s.click(*button(s, g, 'close'))
    check(tag + ' closing the main window with a child window open quits', wait_for(lambda: s.app.poll() is not None, 5))


def run_groups(s, app, tag, groups):
    for group in groups:
        if only and only not in group.__name__:
            continue
        try:
            group(s, app)
        except Exception as error:  # a group that cannot go on counts as one failure
            check('%s %s' % (tag, group.__name__), False, repr(error))


# ---- X11 ------------------------------------------------------------------------------------------------

class X11:
    def __init__(self, s, app=None, args=(), env=None):
        """With app: starts it with args and env and finds its main window."""
        self.s = s
        if app:
            s.start_app(app, env, args)
            self.main = self.window('zb-main')

    def windows(self, name=None):
        args = ['search', '--onlyvisible'] + (['--name', '^%s$' % name] if name else ['--class', 'zb_desktop_app'])
        return [int(w) for w in self.s.xdo(*args).split()]

    def window(self, name, timeout=3.0):
        found = wait_for(lambda: self.windows(name), timeout)
        return found[0] if found else None

    def geometry(self, wid):
        info = dict(line.strip().split(':', 1) for line in self.s.tool('xwininfo', '-id', str(wid)).splitlines()
                    if ':' in line)
        return tuple(int(info[k]) for k in ('Absolute upper-left X', 'Absolute upper-left Y', 'Width', 'Height'))

    def prop(self, wid, name):
        out = self.s.tool('xprop', *(['-root'] if wid is None else ['-id', str(wid)]), name)
        return out.split('=', 1)[1].strip() if ' = ' in out else out.strip()

    def ids(self, wid, name):
        return [int(v.strip(','), 16) for v in self.prop(wid, name).split() if v.startswith('0x')]

    def opaque(self, wid):
        value = self.prop(wid, '_NET_WM_WINDOW_OPACITY')
        return 'not found' in value or value == '4294967295'

    def work_area(self):
        return tuple(int(v) for v in self.prop(None, '_NET_WORKAREA').split(',')[:4])

    def other(self, size=None, timeout=3.0):
        """A shown window of the application other than main, of the given size if one is given."""
        found = wait_for(lambda: [w for w in self.windows() if w != self.main and
                                  (size is None or self.geometry(w)[2:] == size)], timeout)
        return found[0] if found else None

    def task_bars(self, wid):
        """Whether wid is shown, whether task bars and Alt+Tab list it, and the active window's id in a list."""
        return bool(wid), wid in self.ids(None, '_NET_CLIENT_LIST'), self.ids(None, '_NET_ACTIVE_WINDOW')


def x11_frame(s, app):
    x = X11(s, app)
    main = x.main
    check('x11 fade-in reaches the X server with the pointer still', wait_for(lambda: x.opaque(main), 2),
          x.prop(main, '_NET_WM_WINDOW_OPACITY'))
    frame_checks(s, 'x11', lambda: x.geometry(main), x.work_area(), 'the work area')
    s.click(*button(s, x.geometry(main), 'minimize'))
    s.xdo('mousemove', *PARK)
    check('x11 minimise iconifies', wait_for(lambda: 'Iconic' in x.prop(main, 'WM_STATE'), 2), x.prop(main, 'WM_STATE'))
    s.xdo('windowactivate', main)
    check('x11 a restored window comes back at full opacity',
          wait_for(lambda: x.opaque(main) and 'Normal' in x.prop(main, 'WM_STATE'), 3),
          x.prop(main, '_NET_WM_WINDOW_OPACITY'))


def x11_own(s, app):
    x = X11(s, app, ['--own'])
    frame_checks(s, 'x11 own arithmetic:', lambda: x.geometry(x.main))


def x11_windows(s, app):
    x = X11(s, app)
    main, g = x.main, x.geometry(x.main)
    listed = lambda still: (lambda l: l and x.geometry(l)[:2])(x.other(None, 3 if still else 0))

    def while_open():
        shown, listed_in_bars, active = x.task_bars(x.other())
        check('x11 the combo list is not in task bars and Alt+Tab', shown and not listed_in_bars)
        check('x11 the combo list leaves the main window active', active == [main], active)
    combo_checks(s, 'x11', g, listed, while_open)

    s.xdo('key', 'd')
    dialog = x.window('zb-dialog')
    d = dialog and x.geometry(dialog)
    centre = d and centred(g, d[2:], -10, -40)
    check('x11 the dialog is centred over its parent', d and d[:2] == centre, (d, centre))
    check('x11 the dialog is transient for its parent', dialog and x.ids(dialog, 'WM_TRANSIENT_FOR') == [main])
    check('x11 the dialog is modal', dialog and '_NET_WM_STATE_MODAL' in x.prop(dialog, '_NET_WM_STATE'))
    extents = dialog and x.prop(dialog, '_NET_FRAME_EXTENTS')
    check('x11 the dialog has no window manager frame', extents == '0, 0, 0, 0', extents)
    s.xdo('key', 'Escape')
    check('x11 Escape rejects the dialog', s.said('dialog') == ['dialog', '0'])

    s.xdo('key', 'm')
    box = x.window('zb-message')
    b = box and x.geometry(box)
    centre = b and centred(x.work_area(), b[2:], -10, -40)
    check('x11 a message box without a top-level widget is centred on the screen', b and b[:2] == centre, (b, centre))
    s.xdo('key', 'Return')
    check('x11 Return presses the default button', s.said('message') == ['message', '1024'])

    s.xdo('mousemove', *PARK, 'sleep', 0.2, 'key', 'p')
    size = s.at('popup')
    popup = size and x.other(size[2:])
    p = popup and x.geometry(popup)
    centre = size and centred((g[0], g[1], g[2] - 1, g[3] - 1), size[2:])  # rounded down from the middle pixel
    check('x11 the text popup is centred in its parent', p and p[:2] == centre, (p, centre))
    shown, listed_in_bars, active = x.task_bars(popup)
    check('x11 the text popup is not in task bars and Alt+Tab', shown and not listed_in_bars)
    check('x11 the text popup leaves the main window active', active == [main])
    check('x11 the text popup shows at full opacity with the pointer still',
          popup and wait_for(lambda: x.opaque(popup), 2), popup and x.prop(popup, '_NET_WM_WINDOW_OPACITY'))


def x11_keys(s, app):
    """The area's next, previous and close keys pressed on the keyboard with the focus in a document, once
    alone and once beside the application's own Next and Previous actions on the same keys."""
    for args in ([], ['--actions']):
        x = X11(s, app, args)
        s.xdo('key', 't')
        documents = x.window('zb-documents')
        g = documents and x.geometry(documents)
        s.click(g[0] + 270, g[1] + 190)  # into the text of doc3, the active one
        activated = lambda: [w[1] for w in s.lines if w[0] == 'active']
        for keys, expected in (('ctrl+Tab', 'doc2'), ('ctrl+Tab', 'doc1'), ('ctrl+Tab', 'doc3'),
                               ('ctrl+shift+Tab', 'doc1'), ('ctrl+w', 'doc3')):
            before = len(activated())
            s.xdo('key', keys)
            wait_for(lambda: activated()[before:], 2)
            time.sleep(0.2)  # a second activation from the same press would come by now
            check('x11 %s%s activates %s once' % (keys, ' beside actions' if args else '', expected),
                  activated()[before:] == [expected], activated()[before:])


def x11_quit(s, app):
    x = X11(s, app)
    quit_checks(s, 'x11', x.geometry(x.main), lambda: x.window('zb-child'))


def x11_scaled(s, app):
    x = X11(s, app, env={'QT_SCALE_FACTOR': '2'})
    for region in ('right', 'bottom'):
        g = x.geometry(x.main)
        s.drag(*grip(g, region, 0), *outwards(region, 30))
        check('x11 at scale 2 the outermost pixel of the %s edge resizes' % region,
              x.geometry(x.main) == outward(g, region, 30), (g, x.geometry(x.main)))


# The application's accessibility tree as AT-SPI hands it to a screen reader, as nested dictionaries.
# Run by Debian's interpreter, the one python3-pyatspi is installed for.
ATSPI_TREE = """
import json, pyatspi
def node(a):
    return dict(role=a.getRoleName(), name=a.name, description=a.description, children=[node(c) for c in a],
                states=[pyatspi.stateToString(s) for s in a.getState().getStates()])
print(json.dumps([node(a) for a in pyatspi.Registry.getDesktop(0) if a and a.name == 'zb_desktop_app']))
"""


def x11_atspi(s, app):
    """What a screen reader is told, through at-spi2-core on a private session bus with Qt's bridge on.
    Runs last: while its bus runs, the accessibility bus's address stays on the X root window, where every
    Qt application would find it."""
    bus = os.path.join(s.tmp, 'bus')
    log = open(os.path.join(s.tmp, 'atspi.log'), 'w')
    try:  # the accessibility bus and the registry it starts go with it
        s.helper(['dbus-daemon', '--session', '--nofork', '--address=unix:path=' + bus], lambda: os.path.exists(bus),
                 stdout=log, stderr=log)
    except (OSError, RuntimeError) as error:
        print('SKIP x11 AT-SPI: no session bus could be started (%s)' % error, flush=True)
        return
    bus_env = {'DBUS_SESSION_BUS_ADDRESS': 'unix:path=' + bus, 'QT_LINUX_ACCESSIBILITY_ALWAYS_ON': '1'}
    env = dict(s.env, **bus_env)
    # Qt's bridge waits for the accessibility bus but does not start it.
    subprocess.run(['dbus-send', '--session', '--print-reply', '--dest=org.a11y.Bus', '/org/a11y/bus',
                    'org.a11y.Bus.GetAddress'], env=env, capture_output=True, timeout=20)
    s.start_app(app, bus_env)

    def sees(name, look, expected):
        """Reads the tree until look(windows) gives what is expected."""
        last = [None]

        def now():
            out = subprocess.run(['/usr/bin/python3', '-c', ATSPI_TREE], env=env, capture_output=True, text=True,
                                 timeout=20).stdout
            last[0] = look(json.loads(out)[0]['children']) if out.startswith('[{') else 'no tree'
            return last[0] == expected
        check('x11 AT-SPI: ' + name, wait_for(now, 10), last[0])

    def nodes(node):
        return [node] + [n for child in node['children'] for n in nodes(child)]

    # The window's first part is its title bar, named by the title; the hidden Restore button is not showing.
    sees('the title bar and its buttons are named', lambda windows: [
        (bar['name'], [(b['name'], 'showing' in b['states']) for b in nodes(bar) if b['role'] == 'push button'])
        for bar in [w['children'][0] for w in windows if w['name'] == 'zb-main' and w['children']]],
        [('zb-main', [('Close', True), ('Restore', False), ('Maximize', True), ('Minimize', True)])])
    sees('the combo box lists its items, the current one selected', lambda windows: [
        [(item['name'], 'selected' in item['states']) for item in box['children'][0]['children']]
        for w in windows if w['name'] == 'zb-main' for box in nodes(w) if box['role'] == 'combo box' and box['children']],
        [[('Item 1', True), ('Item 2', False), ('Item 3', False)]])
    s.xdo('key', 'm')
    sees('the message box is an alert with its title and text', lambda windows: [
        (w['role'], w['name'], w['description']) for w in windows if w['name'] == 'zb-message'],
        [('alert', 'zb-message', 'A short text.')])
    s.xdo('key', 'Return')
    s.said('message')


def x11(app):
    s = Session('1280x1024')
    try:
        s.helper(['openbox', '--sm-disable'], lambda: '0x' in s.tool('xprop', '-root', '_NET_SUPPORTING_WM_CHECK'))
        s.spawn(['xcompmgr'])
        time.sleep(0.5)
        run_groups(s, app, 'x11', (x11_frame, x11_own, x11_windows, x11_keys, x11_quit, x11_scaled, x11_atspi))
    finally:
        s.close()


# ---- Wayland ----------------------------------------------------------------------------------------------

OUTPUT = (1000, 740)  # weston's output inside the Xvfb screen, at its top-left corner
CORNER = (OUTPUT[0] - 1, OUTPUT[1] - 1)  # the pointer's rest: weston draws its sprite into every screenshot


class Wayland:
    def __init__(self, s, app, args=()):
        self.s = s
        s.start_app(app, args=args)

    def shot(self):
        self.s.xdo('mousemove', *CORNER, 'sleep', 0.3)
        return self.s.screenshot()

    def main(self):
        """The main window's rectangle, from its green content and where the content sits in it. The
        pointer stays where it is: its sprite hides too little of the content to change the box."""
        green = self.s.screenshot().box('20c040')
        c, window = self.s.at('content'), self.s.at('window')
        return green and (green[0] - c[0], green[1] - c[1], green[2] + window[2] - c[2], green[3] + window[3] - c[3])


def wl_frame(s, app):
    frame_checks(s, 'wayland', Wayland(s, app).main, (0, 0) + OUTPUT, 'the output')


def wl_own(s, app):
    w = Wayland(s, app, ['--own'])
    g = w.main()
    s.drag(*grip(g, 'left'), -80, 0)
    check('wayland own arithmetic: the left edge adds exactly the drag, in place', w.main() == (g[0], g[1], g[2] + 80, g[3]),
          (g, w.main()))


def wl_windows(s, app):
    w = Wayland(s, app)
    g = w.main()
    combo_checks(s, 'wayland', g, lambda still: (lambda b: b and b[:2])(
        (s.screenshot() if still else w.shot()).box('2f62d6', 40)))

    # Over a maximised main window, a click anywhere beside a dialog activates the main window.
    s.click(*button(s, g, 'maximize'))
    for key, colour, name, said in (('d', 'd020d0', 'dialog', 'dialog'), ('m', 'a0e0f0', 'message box', 'message')):
        s.xdo('key', key)
        box = wait_for(lambda: w.shot().box(colour), 3)
        check('wayland the %s shows' % name, box)
        if box:
            s.click(box[0] + box[2] + 40 if box[0] < OUTPUT[0] // 2 else box[0] - 40, box[1] + box[3] // 2)
            check('wayland the %s stays over its parent' % name, w.shot().box(colour) == box, box)
        s.xdo('key', 'Escape')
        s.said(said)
    s.click(*button(s, (0, 0) + OUTPUT, 'maximize'))
    wait_for(lambda: w.main() == g, 2)

    s.click(g[0] + g[2] // 2, g[1] + g[3] - 30)
    s.xdo('key', 'p')
    size, mark = s.at('popup') or (0, 0, 0, 0), s.at('mark') or (0, 0)
    found = wait_for(lambda: w.shot().box('f0e020'), 2)
    centre = centred((g[0], g[1], g[2] - 1, g[3] - 1), size[2:])
    placed = found and (found[0] - mark[0], found[1] - mark[1])
    check('wayland the text popup is centred in its parent', placed == centre, (placed, centre))


def wl_quit(s, app):
    w = Wayland(s, app)
    quit_checks(s, 'wayland', w.main(), lambda: wait_for(lambda: w.shot().box('c04020'), 3))
    s.stderr.seek(0)
    warnings = [line for line in s.stderr if 'opacity' in line]
    check('wayland fades warn about nothing', not warnings, '%d warnings' % len(warnings))


def wayland(app):
    s = Session('%dx%d' % (OUTPUT[0] + 24, OUTPUT[1] + 28))
    try:
        ini = os.path.join(s.tmp, 'weston.ini')
        with open(ini, 'w') as f:  # a black desktop without panel or animations
            f.write('[shell]\nbackground-color=0xff000000\npanel-position=none\nanimation=none\n'
                    'close-animation=none\nstartup-animation=none\nfocus-animation=none\n')
        socket = 'zb-wayland-%d' % os.getpid()
        s.helper(['weston', '--backend=x11-backend.so', '--use-pixman', '--width=%d' % OUTPUT[0],
                  '--height=%d' % OUTPUT[1], '--socket=' + socket, '--idle-time=0', '--config=' + ini],
                 lambda: os.path.exists(os.path.join(s.tmp, socket)), stderr=open(os.path.join(s.tmp, 'weston.log'), 'w'))
        s.env.update(WAYLAND_DISPLAY=socket, QT_QPA_PLATFORM='wayland')
        time.sleep(1.0)
        s.xdo('mousemove', OUTPUT[0] // 2, OUTPUT[1] // 2, 'sleep', 0.1, 'mousemove', *CORNER)
        run_groups(s, app, 'wayland', (wl_frame, wl_own, wl_windows, wl_quit))
    finally:
        s.close()


def main():
    global only
    argv = sys.argv[1:]
    if '--only' in argv:
        only = argv.pop(argv.index('--only') + 1)
        argv.remove('--only')
    app = os.path.abspath(argv[0])
    servers = [a for a in argv[1:] if a in ('--x11', '--wayland')] or ['--x11', '--wayland']
    for server in servers:
        (x11 if server == '--x11' else wayland)(app)
    failed = results.count(False)
    print('desktop: %d passed, %d failed' % (len(results) - failed, failed), flush=True)
    return 1 if failed or not results else 0


if __name__ == '__main__':
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(2))  # so that every session is closed
    sys.exit(main())
