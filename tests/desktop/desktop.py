#!/usr/bin/env python3
"""Three players on three desktops: a host and two clients, each a real Gorvanel program with its SDL
window on its own virtual X server and in its own folder, as on three machines of a LAN. They are
played only by X input (xdotool: keys, mouse moves and clicks) from the splash through the name, hosting
and joining by 127.0.0.1, lobby chat, the money, the map, warlords, the shop and deployment to the
first turns, where the host moves and attacks by clicking. Every stage is photographed from the X
server and the picture checked for what that screen must show; the pictures stay in the output folder.

    desktop.py <game directory> <output folder>

Exit code 0 when every stage was reached and every picture held what it must; otherwise the stage
that failed, with what its picture lacked, and the programs' logs.
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

WIDTH, HEIGHT = 800, 600
SQUARE = 40                     # board squares on the screen
BOARDW, BOARDH = 20, 13         # squares of the board that show
MINIMAP = (645, 28, 795, 178)   # the minimap's box on the turn screens
BADGEEDGE = (0x20, 0x18, 0x0C)  # the badges' outline


class Failure(Exception):
    pass


class Picture:
    """A screenshot: rows of RGB triples."""

    def __init__(self, path):
        self.path = path
        raw = subprocess.run(['convert', path, '-depth', '8', 'rgb:-'], check=True,
                             stdout=subprocess.PIPE).stdout
        if len(raw) != WIDTH * HEIGHT * 3:
            raise Failure('%s is not %dx%d' % (path, WIDTH, HEIGHT))
        self.raw = raw

    def at(self, x, y):
        i = (y * WIDTH + x) * 3
        return self.raw[i], self.raw[i + 1], self.raw[i + 2]

    def pixels(self, box, step=2):
        left, top, right, bottom = box
        for y in range(top, bottom, step):
            for x in range(left, right, step):
                yield self.at(x, y)

    def mean(self, box):
        n, s = 0, [0, 0, 0]
        for px in self.pixels(box):
            n += 1
            for i in range(3):
                s[i] += px[i]
        return tuple(v / max(n, 1) for v in s)

    def share(self, box, test):
        """The part of the box whose pixels pass the test."""
        n = hits = 0
        for px in self.pixels(box):
            n += 1
            hits += 1 if test(px) else 0
        return hits / max(n, 1)

    def colours(self, box):
        """How many different colours the box holds (coarsely): a picture has many, a plain fill one."""
        return len({(r >> 4, g >> 4, b >> 4) for r, g, b in self.pixels(box)})


def bright(px):
    return sum(px) > 3 * 150


def near(px, colour, tolerance=24):
    return all(abs(a - b) <= tolerance for a, b in zip(px, colour))


# What each screen must show, as checks on its picture: each answers None when it holds, else what is
# missing.
def not_blank(pic):
    if pic.colours((0, 0, WIDTH, HEIGHT)) < 8:
        return 'the picture is blank'
    return None


def text_in(box, what, least=0.01):
    """Light letters somewhere in the box (the screens write in light colours on darker ground)."""
    def check(pic):
        if pic.share(box, bright) < least:
            return 'no text in %s (%s)' % (what, box)
        return None
    return check


def picture_in(box, what, least=12):
    def check(pic):
        if pic.colours(box) < least:
            return 'no picture in %s (%s)' % (what, box)
        return None
    return check


def all_of(*checks):
    def check(pic):
        for c in checks:
            why = c(pic)
            if why:
                return why
        return None
    return check


class Desk:
    """One player's machine: its X server, folder and program."""

    def __init__(self, name, dist, work):
        self.name = name
        self.dir = os.path.join(work, name)
        os.makedirs(self.dir)
        for f in os.listdir(dist):
            if f not in ('debug.txt', 'gorvanel.ini'):
                os.symlink(os.path.join(dist, f), os.path.join(self.dir, f))
        with open(os.path.join(self.dir, 'gorvanel.ini'), 'w') as ini:
            ini.write('[Gorvanel Preferences]\n\nmusic=0\nsound=0\ngrid=0\nminimap=1\n')
        self.xvfb = None
        self.game = None
        self.display = None

    def start_x(self):
        r, w = os.pipe()
        self.xvfb = subprocess.Popen(['Xvfb', '-displayfd', str(w), '-screen', '0', '%dx%dx24' % (WIDTH, HEIGHT),
                                      '-nolisten', 'tcp'], pass_fds=(w,), stderr=subprocess.DEVNULL)
        os.close(w)
        with os.fdopen(r) as f:
            number = f.readline().strip()
        if not number:
            raise Failure('Xvfb gave no display for %s' % self.name)
        self.display = ':' + number

    def env(self):
        e = dict(os.environ)
        e['DISPLAY'] = self.display
        e['SDL_AUDIODRIVER'] = 'dummy'
        for k in ('GORVANEL_HEADLESS', 'GORVANEL_CONTROL'):
            e.pop(k, None)
        return e

    def start_game(self):
        self.game = subprocess.Popen(['./Gorvanel'], cwd=self.dir, env=self.env(),
                                     stdout=open(os.path.join(self.dir, 'stdout.txt'), 'w'),
                                     stderr=open(os.path.join(self.dir, 'stderr.txt'), 'w'))

    def xdo(self, *args):
        if self.game.poll() is not None:
            raise Failure('%s: the game ended (exit code %d)' % (self.name, self.game.returncode))
        subprocess.run(['xdotool'] + [str(a) for a in args], env=self.env(), check=True)

    def click(self, x, y):
        self.xdo('mousemove', x, y, 'sleep', 0.15, 'click', 1)
        time.sleep(0.25)

    def key(self, *keys):
        self.xdo('key', '--delay', 80, *keys)
        time.sleep(0.2)

    def type(self, text):
        self.xdo('type', '--delay', 80, text)
        time.sleep(0.2)

    def log(self):
        try:
            with open(os.path.join(self.dir, 'debug.txt'), errors='replace') as f:
                return f.read()
        except OSError:
            return ''

    def count(self, text):
        return self.log().count(text)

    def stop(self):
        for proc in (self.game, self.xvfb):
            if proc and proc.poll() is None:
                proc.kill()
                proc.wait()


out = None


def snap(desk, stage):
    path = os.path.join(out, 'desktop-%s-%s.png' % (desk.name, stage))
    subprocess.run(['import', '-display', desk.display, '-window', 'root', path], check=True,
                   env=desk.env(), stderr=subprocess.DEVNULL)
    return Picture(path)


def keep(pic, desk, stage):
    """A picture that passed its screen's check, kept as the stage's."""
    shutil.copy(pic.path, os.path.join(out, 'desktop-%s-%s.png' % (desk.name, stage)))


def await_screen(desk, stage, check, seconds=60, act=None):
    """Photographs the desk until its picture passes the check (acting on each picture first when act
    is given); the last picture stays as the stage's."""
    end = time.time() + seconds
    why = None
    while True:
        pic = snap(desk, stage)
        why = not_blank(pic) or check(pic)
        if not why:
            return pic
        if time.time() > end:
            raise Failure('%s: the %s screen did not appear: %s (see %s)' % (desk.name, stage, why, pic.path))
        if act:
            act(pic)
        time.sleep(0.5)


def await_log(desk, text, least=1, seconds=60, what=None):
    end = time.time() + seconds
    while desk.count(text) < least:
        if time.time() > end:
            raise Failure('%s: %s never came ("%s" %d times in its log)' % (desk.name, what or text, text, least))
        time.sleep(0.3)


# The screens, by what their pictures hold.
def blue_letters(px):
    return px[2] > 90 and px[0] < 70 and px[1] < 70


def ebony(px):
    return max(px) < 48 and px[0] >= px[2]


def stone(px):
    return px[2] > px[0] + 8 and 30 < px[2] < 140


def yellow(px):
    return px[0] > 200 and px[1] > 200 and px[2] < 90


def red(px):
    return px[0] > 90 and px[0] > px[1] + 50 and px[0] > px[2] + 50


def parchment(px):
    return px[0] > 170 and px[1] > 150 and px[2] > 100 and px[0] >= px[2]


def green(px):
    return px[1] > 120 and px[1] > px[0] + 60 and px[1] > px[2] + 60


def share_of(box, test, least, what):
    def check(pic):
        if pic.share(box, test) < least:
            return 'no %s in %s' % (what, box)
        return None
    return check


def dark_box(box, what):
    def check(pic):
        if max(pic.mean(box)) > 20:
            return '%s %s is not dark' % (what, box)
        return None
    return check


def grass(px):
    return px[1] > px[0] + 25 and px[1] > px[2] + 25


def blue(px):
    return px[2] > px[0] + 40 and px[2] > 80


INTRO = all_of(share_of((330, 90, 470, 240), red, 0.15, 'the emblem\'s red'),
               share_of((330, 90, 470, 240), blue, 0.15, 'the emblem\'s blue'),
               dark_box((0, 0, 800, 20), 'the top'))
BOARD = share_of((0, 40, 640, 500), grass, 0.1, 'the board\'s grass')
NAME = all_of(share_of((0, 25, 800, 80), blue_letters, 0.02, 'the title\'s blue letters'),
              share_of((10, 550, 200, 590), ebony, 0.5, 'the ebony Quit button'))
NAMETYPED = all_of(NAME, share_of((250, 270, 550, 335), lambda px: sum(px) > 300, 0.03, 'the typed name'),
                   share_of((600, 550, 790, 590), ebony, 0.5, 'the ebony Accept button'))
MENU = all_of(share_of((200, 130, 600, 520), yellow, 0.004, 'the star\'s yellow lines'),
              share_of((20, 200, 180, 280), stone, 0.5, 'the stone wall'),
              picture_in((350, 78, 450, 124), 'the Host icon', 12))
LOBBY = all_of(share_of((10, 300, 440, 520), stone, 0.5, 'the stone wall'),
               dark_box((460, 90, 790, 440), 'the chat box'))


def lobby_rows(n):
    """The lobby lists n players, one row each."""
    rows = [share_of((48, 124 + 30 * i, 320, 146 + 30 * i), lambda px: max(px) > 150, 0.02,
                     'player row %d' % (i + 1)) for i in range(n)]
    return all_of(LOBBY, *rows)


CHAT = all_of(LOBBY, text_in((455, 440, 790, 497), 'the chat lines'))
ADDRESS = all_of(text_in((140, 5, 660, 50), 'the title', 0.05), dark_box((190, 340, 610, 370), 'the address field'))
ADDRESSTYPED = all_of(text_in((140, 5, 660, 50), 'the title', 0.05),
                      text_in((182, 332, 618, 378), 'the typed address', 0.02))
MONEY = all_of(text_in((150, 0, 650, 50), 'the title', 0.05),
               *[share_of((310, 108 + 100 * i, 490, 142 + 100 * i), ebony, 0.5, 'money button %d' % (i + 1))
                 for i in range(5)])
def gold(px):
    return px[0] > 150 and px[1] > 100 and px[2] < 90 and px[0] > px[2] + 80


SPLASH = all_of(share_of((220, 298, 330, 322), gold, 0.5, 'the gold of the loading bar'),
                text_in((220, 255, 580, 285), 'the loading caption', 0.02),
                dark_box((0, 0, 800, 200), 'the top'))
def not_money(pic):
    return None if MONEY(pic) else 'the money buttons, still'


MAP = all_of(picture_in((200, 70, 580, 350), 'the map', 30), not_money,
             share_of((20, 100, 170, 470), stone, 0.5, 'the stone wall'),
             share_of((0, 0, 800, 3), gold, 0.2, 'the gold edge'),
             text_in((190, 480, 600, 545), 'the map\'s caption'))
WARLORDS = all_of(share_of((60, 50, 760, 540), parchment, 0.4, 'the parchment'),
                  share_of((0, 40, 40, 560), red, 0.3, 'the red banners'),
                  picture_in((240, 80, 320, 150), 'the warlord\'s picture', 10))
SHOP = all_of(share_of((600, 30, 800, 140), yellow, 0.04, 'the name and gold in yellow'),
              share_of((120, 200, 350, 340), red, 0.3, 'the recruiting wheel'),
              text_in((200, 0, 600, 30), 'the title'))
def no_day_line(pic):
    if pic.share((5, 2, 120, 28), bright) > 0.02:
        return 'the day line at the top: a turn, not deployment'
    return None


DEPLOY = all_of(text_in((230, 0, 570, 28), 'the call to deploy'), no_day_line,
                share_of((200, 530, 330, 590), stone, 0.5, 'the stone panel below'), BOARD)
MYTURN = all_of(picture_in((8, 32, 42, 148), 'the command buttons', 30),
                text_in((0, 0, 300, 30), 'the day and turn line', 0.05), BOARD)
WATCHING = all_of(text_in((0, 0, 300, 30), 'the day and turn line', 0.05), BOARD)

SUMMARY = all_of(share_of((0, 10, 470, 65), lambda px: px[2] > 200 and px[0] < 100, 0.05, 'the blue title'),
                 share_of((10, 550, 200, 590), stone, 0.3, 'the Done button'))


def holds(pic, check):
    return not_blank(pic) is None and check(pic) is None


# The stages, in the order a person meets them.

def arrive(desks):
    """The splash and intro, the name, the main menu: each player at his own desk."""
    # The splash and the intro go on by themselves: every desk is watched at once.
    for stage, check in (('splash', SPLASH), ('intro', INTRO)):
        waiting = list(desks)
        end = time.time() + 120
        while waiting:
            for d in list(waiting):
                pic = snap(d, 'now')
                if holds(pic, check):
                    keep(pic, d, stage)
                    waiting.remove(d)
                elif time.time() > end:
                    raise Failure('%s: the %s screen did not appear: %s' % (d.name, stage, check(pic) or not_blank(pic)))
    for d in desks:
        # A key ends the intro; the name screen then fades in.
        await_screen(d, 'name', NAME, 60, act=lambda pic, d=d: d.key('space'))
        time.sleep(1.5)
        d.key('BackSpace', 'BackSpace')
        d.type(d.name)
        await_screen(d, 'name-typed', NAMETYPED, 10)
        d.click(695, 570)                           # "Accept"
        await_screen(d, 'menu', MENU, 30)


def gather(desks):
    """The host opens a game; the others join it by address; they chat in the lobby."""
    host = desks[0]
    host.click(400, 100)                            # the host icon
    await_screen(host, 'lobby', lobby_rows(1), 30)
    for i, d in enumerate(desks[1:], 1):
        d.click(256, 156)                           # the join icon
        await_screen(d, 'address', ADDRESS, 30)
        d.type('127.0.0.1')
        await_screen(d, 'address-typed', ADDRESSTYPED, 10)
        d.key('Return')
        await_log(host, '%s has joined the game.' % d.name, what='%s at the host' % d.name)
        await_screen(d, 'lobby', lobby_rows(i + 1), 30)
        await_screen(host, 'lobby', lobby_rows(i + 1), 30)
    for d in desks[1:]:
        line = 'hello from %s' % d.name
        d.type(line)
        d.key('Return')
        await_log(host, 'Added message %s: %s' % (d.name, line), what='the chat line of %s at the host' % d.name)
    await_screen(host, 'lobby-chat', all_of(CHAT, lobby_rows(len(desks))), 10)


def set_up(desks):
    """The host starts the game with $600 and sends the map; each chooses his warlord, a different one."""
    host = desks[0]
    host.click(695, 570)                            # "Start Game"
    await_screen(host, 'money', MONEY, 30)
    host.click(400, 125)                            # "$600"
    await_screen(host, 'map', MAP, 30)
    for d in desks:
        await_screen(d, 'warlords', WARLORDS, 120)
    for i, d in enumerate(desks):
        d.click(100, 100 + 96 * i)                  # his warlord's name in the list
        await_screen(d, 'warlord-chosen', WARLORDS, 10)
        d.click(625, 500)                           # "Select Warlord"
        await_screen(d, 'shop', SHOP, 60)


def shop(desks):
    """Each buys two fliers, the quickest to reach the guards."""
    for d in desks:
        d.click(30, 330)                            # the flier's picture on the wheel
        d.click(690, 425)                           # "Buy This Unit", twice
        d.click(690, 425)
        await_screen(d, 'shop-bought', all_of(SHOP, picture_in((20, 530, 140, 590), 'the bought units', 8)), 10)
        d.click(690, 490)                           # "Done"


# The board: the acting unit sits on the middle square, the view following it.
CENTRE = (10, 6)
ARROWS = {(1, 0): 'Right', (-1, 0): 'Left', (0, 1): 'Down', (0, -1): 'Up'}


def badge(pic, tx, ty):
    """The colour of the player badge in the top left corner of square (tx, ty) of the screen, or None."""
    x, y = tx * SQUARE, ty * SQUARE
    if not all(near(pic.at(x + i, y), BADGEEDGE, 6) for i in range(1, 9)):
        return None
    if not near(pic.at(x + 9, y + 4), BADGEEDGE, 6):
        return None
    return pic.at(x + 4, y + 4)


def units_on_board(pic, skip=CENTRE):
    found = {}
    for ty in range(1, BOARDH):
        for tx in range(BOARDW):
            if (tx, ty) == skip or (tx < 2 and ty < 4):        # the acting unit; the command buttons
                continue
            colour = badge(pic, tx, ty)
            if colour:
                found[(tx, ty)] = colour
    return found


def mines_direction(pic):
    """From the view's middle towards the nearest mine on the minimap, or None."""
    box = MINIMAP
    frame = [(x, y) for y in range(box[1], box[3]) for x in range(box[0], box[2]) if min(pic.at(x, y)) > 235]
    mines = [(x, y) for y in range(box[1], box[3]) for x in range(box[0], box[2])
             if yellow(pic.at(x, y))]
    if not frame or not mines:
        return None
    cx = (min(x for x, _ in frame) + max(x for x, _ in frame)) / 2
    cy = (min(y for _, y in frame) + max(y for _, y in frame)) / 2
    mx, my = min(mines, key=lambda m: (m[0] - cx) ** 2 + (m[1] - cy) ** 2)
    return mx - cx, my - cy


def steps_towards(dx, dy):
    """The arrow steps that close a distance, the longer way first."""
    horizontal = [(1 if dx > 0 else -1, 0)] if dx else []
    vertical = [(0, 1 if dy > 0 else -1)] if dy else []
    first = horizontal + vertical if abs(dx) >= abs(dy) else vertical + horizontal
    rest = [s for s in ARROWS if s not in first]
    return first + rest


class Player:
    """What the driver remembers of one desk while the game runs."""

    def __init__(self, desk, observer):
        self.desk = desk
        self.observer = observer        # another client, whose log shows what this one did
        self.colour = None              # his badges' colour, seen at deployment
        self.camp = None
        self.spiral = 0
        self.actions = 0
        self.moves = self.attacks = 0

    def lines(self, text):
        return sum(1 for line in self.observer.log().splitlines() if line == text)

    def wait_line(self, text, before, seconds=4):
        end = time.time() + seconds
        while time.time() < end:
            if self.lines(text) > before:
                return True
            time.sleep(0.2)
        return False


def deploy(pl, pic):
    """One click on the next square round the warlord: the unit nearest the middle of the view, whose
    badge shows the player's colour."""
    if pl.colour is None:
        units = units_on_board(pic, skip=None)
        if not units:
            return
        pl.camp = min(units, key=lambda t: abs(t[0] - CENTRE[0]) + abs(t[1] - CENTRE[1]))
        pl.colour = units[pl.camp]
    ring = [(dx, dy) for r in range(1, 4) for dx in range(-r, r + 1) for dy in range(-r, r + 1)
            if max(abs(dx), abs(dy)) == r]
    dx, dy = ring[pl.spiral % len(ring)]
    pl.spiral += 1
    pl.desk.click((pl.camp[0] + dx) * SQUARE + SQUARE // 2, (pl.camp[1] + dy) * SQUARE + SQUARE // 2)
    time.sleep(0.4)


def act(pl, pic):
    """One step of the local turn: an attack by a click when an enemy stands next to the acting unit,
    else a step with the arrow keys towards the nearest enemy in sight or the nearest mine; a unit
    that cannot step rests; after enough the whole turn ends. True once an attack was made."""
    d = pl.desk
    units = units_on_board(pic)
    enemies = [t for t, c in units.items() if pl.colour and not near(c, pl.colour, 30)]
    pl.actions += 1
    if pl.actions > 30:
        pl.actions = 0
        d.key('ctrl+space')                         # the whole turn ends
        return False
    beside = [t for t in enemies if max(abs(t[0] - CENTRE[0]), abs(t[1] - CENTRE[1])) == 1]
    if beside:
        tx, ty = beside[0]
        before = pl.lines('ACTION: Attack!')
        d.key('Tab')                                # attack mode: the squares in range are marked
        await_screen(d, 'attack-marked', MYTURN, 10)
        d.click(tx * SQUARE + SQUARE // 2, ty * SQUARE + SQUARE // 2)
        if pl.wait_line('ACTION: Attack!', before):
            pl.attacks += 1
            time.sleep(1)
            await_screen(d, 'attack', MYTURN, 10)
            return True
        d.key('Tab')                                # back to moving
        return False
    if enemies:
        tx, ty = min(enemies, key=lambda t: abs(t[0] - CENTRE[0]) + abs(t[1] - CENTRE[1]))
        way = (tx - CENTRE[0], ty - CENTRE[1])
    else:
        way = mines_direction(pic) or (1, 0)
    for step in steps_towards(*way):
        before = pl.lines('ACTION: Move')
        d.key(ARROWS[step])
        if pl.wait_line('ACTION: Move', before, 2):
            pl.moves += 1
            if pl.moves == 1:
                await_screen(d, 'moved', MYTURN, 10)
            d.key('c')                              # the view on the acting unit again
            return False
    d.key('space')                                  # this unit rests; the next one acts
    return False


def play(desks, seconds=480):
    """Every player deploys and plays his turns until each has had a turn and one of them has attacked;
    the others' screens are watched and the day's screens passed."""
    host, ann, bo = desks
    players = [Player(host, ann), Player(ann, bo), Player(bo, ann)]
    end = time.time() + seconds
    seen = set()
    attacker = None
    while time.time() < end:
        for pl in players:
            d = pl.desk
            pic = snap(d, 'now')
            if holds(pic, SHOP):
                d.click(690, 490)                   # "Done": the next day's shopping
            elif holds(pic, DEPLOY):
                if (d.name, 'deploy') not in seen:
                    seen.add((d.name, 'deploy'))
                    keep(pic, d, 'deploy')
                deploy(pl, pic)
            elif holds(pic, MYTURN):
                if (d.name, 'turn') not in seen:
                    seen.add((d.name, 'turn'))
                    keep(pic, d, 'turn')
                if attacker:
                    d.key('ctrl+space')             # enough seen: the whole turn ends
                    continue
                d.key('c')
                if act(pl, snap(d, 'now')):
                    attacker = pl
            elif holds(pic, SUMMARY):
                if (d.name, 'summary') not in seen:
                    seen.add((d.name, 'summary'))
                    keep(pic, d, 'summary')
                d.click(105, 570)                   # "Done"
            elif holds(pic, WATCHING):
                if (d.name, 'watch') not in seen:
                    seen.add((d.name, 'watch'))
                    keep(pic, d, 'watching')
            else:
                snap(d, 'other')
        if attacker and all((pl.desk.name, 'turn') in seen for pl in players):
            return attacker
    missing = [pl.desk.name for pl in players if (pl.desk.name, 'turn') not in seen]
    if missing:
        raise Failure('%s never had a turn in %d s' % (' and '.join(missing), seconds))
    raise Failure('no attack was made in %d s (%d moves made)' % (seconds, sum(pl.moves for pl in players)))


def main():
    global out
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    dist = os.path.abspath(sys.argv[1])
    out = os.path.abspath(sys.argv[2])
    os.makedirs(out, exist_ok=True)
    for old in os.listdir(out):
        if old.startswith('desktop-') and old.endswith('.png'):
            os.remove(os.path.join(out, old))
    work = tempfile.mkdtemp(prefix='gorvanel-desktop-')
    # A test runner's timeout ends this with SIGTERM: the X servers and the games still go down with it.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    desks = [Desk(name, dist, work) for name in ('Hal', 'Ann', 'Bo')]
    status = 0
    try:
        for d in desks:
            d.start_x()
            d.start_game()
        for stage in (arrive, gather, set_up, shop):
            stage(desks)
            print('reached:', stage.__name__, flush=True)
        pl = play(desks)
        print('%s moved %d times and attacked by a click' % (pl.desk.name, pl.moves))
        # The pictures the driver looked at on the way, not a stage's own.
        for name in os.listdir(out):
            if name.endswith('-now.png') or name.endswith('-other.png'):
                os.remove(os.path.join(out, name))
    except Failure as f:
        print('FAILED:', f)
        status = 1
        for d in desks:
            print('=== %s: debug log (last lines)' % d.name)
            print('\n'.join(d.log().splitlines()[-30:]))
    finally:
        for d in desks:
            d.stop()
        shutil.rmtree(work, ignore_errors=True)
    return status


if __name__ == '__main__':
    sys.exit(main())
