#!/usr/bin/env python3
"""Three players on three desktops: a host and two clients, each a real Gorvanel program with its SDL
window on its own virtual X server and in its own folder, as on three machines of a LAN. They are
played only by X input (xdotool: keys, mouse moves and clicks) from the splash through the name, hosting
and joining by 127.0.0.1, lobby chat, the money, the map, warlords, the shop and deployment to the
first turns, where the host moves and attacks by clicking. Every stage is photographed from the X
server and the picture checked for what that screen must show; the pictures stay in the output folder.

    desktop.py <game directory> <output folder> <gorvpack> <manifest of the string module>

The games host and join on a free port of the test's own: each folder holds a copy of the string module
packed with that port, so a game running on this machine meanwhile is never in the way.

Every wait is for something the driver can see (a screen, a line of a log, whose turn it is), all of
them under one overall deadline. Every step rests on what cannot change under it: the logs say first
whose turn it is and whether that player's game deploys or takes his units, and the screen is checked
in a picture taken after that; a button that leaves a screen is pressed again only once a picture
showed the screen left, and a key is pressed once: the game reads every key in the order it came, so
a key whose effect does not come fails the run. A wait that can no longer end well (a game ended, a turn whose game takes no
unit, no square left to deploy on) fails at once. Exit code 0 when every stage was reached and every
picture held what it must; otherwise the state waited for, what was seen instead, the three screens
(desktop-<player>-failed.png) and the programs' logs.
"""
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time

sys.dont_write_bytecode = True
from pictures import *  # noqa: E402,F401,F403  (the screens and their checks)

OVERALL = 1700          # seconds for the whole run; the test runner allows 1800
POLL = 0.1              # seconds between two looks at a state that does not hold yet
STEP = 0.02             # seconds a held game runs between two pictures of its start
STR_PORT = 50003        # the string module's TCP port
SPLASHLINES = 6         # "Loading Image" lines in the log when the loading bar is about to show


class Failure(Exception):
    pass


deadline = 0.0
out = None
games = []              # every desk: a wait ends at once when one of their games has ended


def wait_until(what, look):
    """Asks look() until it answers None, meaning the state holds; otherwise it answers what it sees.
    A look that sees the state can no longer come raises Failure itself; a game that ended ends the
    wait at once; at the overall deadline the run ends, saying what it waited for and what it saw."""
    while True:
        seen = look()
        if seen is None:
            return
        for d in games:
            if d.game:
                d.running()
        if time.time() > deadline:
            raise Failure('waited for %s; saw %s' % (what, seen))
        time.sleep(POLL)


class Desk:
    """One player's machine: its X server, folder and program."""

    def __init__(self, name, dist, work, module):
        self.name = name
        self.dir = os.path.join(work, name)
        os.makedirs(self.dir)
        for f in os.listdir(dist):
            if f.lower() not in ('debug.txt', 'gorvanel.ini', 'tessarine.dll'):
                os.symlink(os.path.join(dist, f), os.path.join(self.dir, f))
        os.symlink(module, os.path.join(self.dir, 'Tessarine.dll'))
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

    def running(self):
        if self.game.poll() is not None:
            raise Failure('%s: the game ended (exit code %d)' % (self.name, self.game.returncode))

    def hold(self):
        """Stops the game where it is (all its threads), until release."""
        self.running()
        os.kill(self.game.pid, signal.SIGSTOP)
        pid, status = os.waitpid(self.game.pid, os.WUNTRACED)
        if pid and not os.WIFSTOPPED(status):
            self.game.returncode = os.waitstatus_to_exitcode(status)
            self.running()

    def release(self):
        if self.game.returncode is None:
            os.kill(self.game.pid, signal.SIGCONT)

    # Input, paced as a person's: the game reads it frame by frame, and a press lands where the
    # pointer was in the frame that reads it.
    def xdo(self, *args):
        self.running()
        subprocess.run(['xdotool'] + [str(a) for a in args], env=self.env(), check=True)

    def click(self, x, y):
        self.xdo('mousemove', x, y, 'sleep', 0.15, 'click', 1, 'sleep', 0.15)

    def point(self, x, y):
        self.xdo('mousemove', x, y, 'sleep', 0.15)

    def click_here(self):
        self.xdo('click', 1, 'sleep', 0.15)

    def key(self, *keys):
        self.xdo('key', '--delay', 80, *keys)

    def type(self, text):
        self.xdo('type', '--delay', 80, text)

    def snap(self):
        raw = subprocess.run(['import', '-display', self.display, '-window', 'root', '-depth', '8', 'rgb:-'],
                             check=True, env=self.env(), stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout
        return Picture(raw)

    def keep(self, pic, stage):
        pic.save(os.path.join(out, 'desktop-%s-%s.png' % (self.name, stage)))

    def lines(self):
        try:
            with open(os.path.join(self.dir, 'debug.txt'), errors='replace') as f:
                return f.read().splitlines()
        except OSError:
            return []

    def count(self, text):
        return sum(line.count(text) for line in self.lines())

    def stop(self):
        for proc in (self.game, self.xvfb):
            if proc and proc.returncode is None:
                proc.kill()
                proc.wait()


def await_screen(desk, stage, check, act=None):
    """Photographs the desk until its picture passes the check (acting on each other picture first when
    act is given); that picture is kept as the stage's."""
    found = []

    def look():
        pic = desk.snap()
        why = not_blank(pic) or check(pic)
        if not why:
            found.append(pic)
            return None
        if act:
            act(pic)
        return why
    wait_until('%s: the %s screen' % (desk.name, stage), look)
    desk.keep(found[0], stage)
    return found[0]


def click_away(desk, x, y, stage, check):
    """Clicks a button that leaves the screen, and waits until a picture shows the screen left: only
    then can a later picture of that screen be a new one, and not the last frame of this."""
    desk.click(x, y)

    def look():
        pic = desk.snap()
        return 'the %s screen, still' % stage if holds(pic, check) else None
    wait_until('%s: the %s screen left' % (desk.name, stage), look)


def await_log(desk, text, least=1, what=None):
    def look():
        n = desk.count(text)
        return None if n >= least else '"%s" %d times in its log' % (text, n)
    wait_until('%s: %s ("%s" %d times in its log)' % (desk.name, what or text, text, least), look)


# The port.

def free_port():
    """A TCP port nothing listens on now."""
    with socket.socket() as s:
        s.bind(('', 0))
        return s.getsockname()[1]


def pack_module(gorvpack, manifest, port, work):
    """The game's string module as the manifest packs it, with its TCP port moved to port."""
    base = os.path.dirname(os.path.abspath(manifest))
    lines, moved = [], 0
    with open(manifest, encoding='utf-8') as f:
        for line in f:
            words = line.split()
            # The manifest's files are found from its own folder: the copy names them in full.
            if words and words[0] in ('strings', 'resource', 'textfile'):
                head, name = line.rstrip('\n').rsplit(None, 1) if words[0] != 'strings' else ('strings', words[1])
                path = os.path.join(base, name)
                if words[0] == 'strings':
                    with open(path, encoding='utf-8') as table:
                        text, n = re.subn(r'(?m)^%d\t.*$' % STR_PORT, '%d\t%d' % (STR_PORT, port), table.read())
                    if n:
                        moved += n
                        path = os.path.join(work, 'port-' + os.path.basename(name))
                        with open(path, 'w', encoding='utf-8') as copy:
                            copy.write(text)
                line = '%s %s\n' % (head, path)
            lines.append(line)
    if moved != 1:
        raise Failure('%s: string %d found %d times' % (manifest, STR_PORT, moved))
    copy = os.path.join(work, 'tessarine.manifest')
    with open(copy, 'w', encoding='utf-8') as f:
        f.writelines(lines)
    module = os.path.join(work, 'Tessarine.dll')
    packed = subprocess.run([gorvpack, copy, module], stderr=subprocess.PIPE, text=True)
    if packed.returncode:
        raise Failure('gorvpack could not pack the test\'s string module: %s' % packed.stderr.strip())
    return module


# Whose turn it is, as the logs tell it. The host names each turn's player ("Found next player"); a
# client learns it ("It is now X's turn.") and logs "turncount=" when he ends his own.

def turn_holder(host):
    names = [line[len('Found next player: '):] for line in host.lines() if line.startswith('Found next player: ')]
    return names[-1] if names else None


def turn_start(pl):
    """The line that begins the player's turns in his own log."""
    return 'Found next player: %s' % pl.desk.name if pl.host else "It is now %s's turn." % pl.desk.name


def since_last(lines, start):
    """The lines after the last one equal to start, and how many such lines there are."""
    marks = [i for i, line in enumerate(lines) if line == start]
    return (lines[marks[-1] + 1:] if marks else []), len(marks)


def holds_turn(pl, host):
    """Whether the player holds the turn: the host gave it to him and he has not ended it."""
    if turn_holder(host) != pl.desk.name:
        return False
    if pl.host:
        return True
    after, n = since_last(pl.desk.lines(), turn_start(pl))
    return n > 0 and not any(line.startswith('turncount=') for line in after)


# What the player's own game is doing, as its log tells it. A deployment begins where the game shades
# the land round the camp; a client deploys at the start of his morning turn, the host before the day's
# first turn. The turn takes its units ("GAME_NEXTUNIT") only once the deployment is over.
SHADING = 'Shading map for player '
NEXTUNIT = 'GAME_NEXTUNIT'


def last_index(lines, test):
    return max((i for i, line in enumerate(lines) if test(line)), default=-1)


def deploying(lines):
    """A deployment begun, and no unit taken since."""
    return last_index(lines, lambda line: line.startswith(SHADING)) > last_index(lines, lambda line: line == NEXTUNIT)


def in_unit_turn(pl, host):
    """The player holds the turn and his game takes his units in it: any deployment of his is over, so
    his acting unit's keys are read (between its waits for the host)."""
    if not holds_turn(pl, host):
        return False
    lines = pl.desk.lines()
    begun = max(last_index(lines, lambda line: line == turn_start(pl)),
                last_index(lines, lambda line: line.startswith(SHADING)))
    return last_index(lines, lambda line: line == NEXTUNIT) > begun >= 0


def unit_turn_lost(pl, host):
    """Fails at once when the player holds the turn but his game deploys or has not yet begun taking
    units: no key of an acting unit can be read then, however long the driver waits."""
    if holds_turn(pl, host) and not in_unit_turn(pl, host):
        tail = ' | '.join(pl.desk.lines()[-6:])
        raise Failure('%s holds the turn, but his game takes no unit in it (%s); its log ends: %s'
                      % (pl.desk.name, 'deploying' if deploying(pl.desk.lines()) else 'no "%s" since the turn began'
                         % NEXTUNIT, tail))


# The stages, in the order a person meets them.

def watch_start(d, failures):
    """The splash and the logo of one desk. Each can last less than a picture takes on a busy machine,
    so once the log shows the loading is under way the game is held while its window is photographed,
    and let go on in short steps until the screen shows."""
    def step_until(stage, check, later):
        while True:
            d.hold()
            try:
                pic = d.snap()
                if holds(pic, check):
                    d.keep(pic, stage)
                    if stage == 'intro':
                        d.key('space')              # a key ends the logo
                    return
                if holds(pic, later):
                    d.keep(pic, stage)
                    raise Failure('%s: the %s screen passed before it was photographed' % (d.name, stage))
                if time.time() > deadline:
                    raise Failure('waited for %s: the %s screen; saw %s' % (d.name, stage, check(pic) or not_blank(pic)))
            finally:
                d.release()
            time.sleep(STEP)

    def log_shows(text, least):
        while d.count(text) < least:
            d.running()
            if time.time() > deadline:
                raise Failure('waited for %s: "%s" %d times in its log; saw %d' % (d.name, text, least, d.count(text)))
            time.sleep(0.01)
    try:
        log_shows('Loading Image', SPLASHLINES)
        step_until('splash', SPLASH, INTRO)
        log_shows('Total images:', 1)
        step_until('intro', INTRO, any_of(LETTERS, NAME))
    except Exception as e:   # noqa: BLE001  (handed to the main thread)
        failures.append(e)


def arrive(desks):
    """The splash and logo, the intro, the name, the main menu: each player at his own desk."""
    failures = []
    watchers = [threading.Thread(target=watch_start, args=(d, failures)) for d in desks]
    for w in watchers:
        w.start()
    for w in watchers:
        w.join()
    if failures:
        raise failures[0]
    for d in desks:
        ended = []

        def end_intro(pic, d=d, ended=ended):
            if not ended and holds(pic, LETTERS):
                d.key('space')                      # a key ends the intro
                ended.append(True)
        await_screen(d, 'name', NAME, act=end_intro)
        # A key that ended the intro as it was ending anyway may have reached the name.
        d.key(*['BackSpace'] * 10)
        d.type(d.name)
        await_screen(d, 'name-typed', NAMETYPED)
        d.click(695, 570)                           # "Accept"
        await_screen(d, 'menu', MENU)


def gather(desks, port):
    """The host opens a game; the others join it by address; they chat in the lobby."""
    host = desks[0]
    host.click(400, 100)                            # the host icon

    def hosting():
        log = host.lines()
        if 'Listening on port %d' % port in log:
            return None
        if any(line.startswith("ERROR: Couldn't bind") or line.startswith("ERROR: Couldn't listen") for line in log):
            raise Failure('port %d is in use: %s cannot host a game on it' % (port, host.name))
        return 'no "Listening on port %d" in its log' % port
    wait_until('%s hosting on port %d' % (host.name, port), hosting)
    await_screen(host, 'lobby', lobby_rows(1))
    for i, d in enumerate(desks[1:], 1):
        d.click(256, 156)                           # the join icon
        await_screen(d, 'address', ADDRESS)
        d.type('127.0.0.1')
        await_screen(d, 'address-typed', ADDRESSTYPED)
        d.key('Return')
        await_log(host, '%s has joined the game.' % d.name, what='%s at the host' % d.name)
        await_screen(d, 'lobby', lobby_rows(i + 1))
        await_screen(host, 'lobby', lobby_rows(i + 1))
    for d in desks[1:]:
        line = 'hello from %s' % d.name
        d.type(line)
        d.key('Return')
        await_log(host, 'Added message %s: %s' % (d.name, line), what='the chat line of %s at the host' % d.name)
    await_screen(host, 'lobby-chat', all_of(CHAT, lobby_rows(len(desks))))


def set_up(desks):
    """The host starts the game with $600 and sends the map; each chooses his warlord, a different one."""
    host = desks[0]
    host.click(695, 570)                            # "Start Game"
    await_screen(host, 'money', MONEY)
    host.click(400, 125)                            # "$600"
    await_screen(host, 'map', MAP)
    for d in desks:
        await_screen(d, 'warlords', WARLORDS)
    for i, d in enumerate(desks):
        d.click(100, 100 + 96 * i)                  # his warlord's name in the list
        await_screen(d, 'warlord-chosen', WARLORDS)
        d.click(625, 500)                           # "Select Warlord"
        await_screen(d, 'shop', SHOP)


def shop(desks):
    """Each buys two fliers, the quickest to reach the guards."""
    for d in desks:
        d.click(30, 330)                            # the flier's picture on the wheel
        d.click(690, 425)                           # "Buy This Unit", twice
        d.click(690, 425)
        await_screen(d, 'shop-bought', all_of(SHOP, picture_in((20, 530, 140, 590), 'the bought units', 8)))
        click_away(d, 690, 490, 'shop', SHOP)       # "Done"


class Player:
    """What the driver remembers of one desk while the game runs."""

    def __init__(self, desk, observer, host):
        self.desk = desk
        self.observer = observer        # another client, whose log shows what this one did
        self.host = host                # whether this desk is the host's
        self.colour = None              # his badges' colour, seen at deployment
        self.camp = None
        self.deployment = 0             # the deployments his log has begun, when the driver last looked
        self.spiral = 0                 # squares round the camp tried in this deployment
        self.placed = []                # the squares his units were placed on in it
        self.kept = set()               # the stages whose first picture is kept
        self.actions = 0
        self.refused = 0                # steps refused in a row
        self.moves = self.attacks = 0

    def seen(self):
        """What the observer saw of this player's turn: its lines since the turn began, and how many
        turns of his it has seen begin."""
        after, n = since_last(self.observer.lines(), "It is now %s's turn." % self.desk.name)
        return after, n

    def told(self, text):
        return sum(1 for line in self.seen()[0] if line == text)

    def first(self, stage, pic):
        if stage not in self.kept:
            self.kept.add(stage)
            self.desk.keep(pic, stage)


RING = [(dx, dy) for r in range(1, 4) for dx in range(-r, r + 1) for dy in range(-r, r + 1) if max(abs(dx), abs(dy)) == r]
PUT = 'Just put player '                # a unit placed: the host's at once, a client's until the host answers
PREPARED = 'Calling PrepareDeploy('     # the deployment looks for the next unit to place
PARK = (100, 460)                       # the pointer between two placements: far from the camp's squares


def placements(lines):
    return sum(1 for line in lines or [] if line.startswith(PUT))


def all_answered(lines):
    """Every placement answered, and the deployment back at choosing the next unit."""
    return last_index(lines, lambda line: line.startswith(PREPARED)) >= last_index(lines, lambda line: line.startswith(PUT))


def deployment(pl):
    """The lines of the player's current deployment, or None when his log shows none under way. A new
    one starts the driver's count of the squares tried and placed on afresh."""
    lines = pl.desk.lines()
    if not deploying(lines):
        return None
    begun = sum(1 for line in lines if line.startswith(SHADING))
    if begun != pl.deployment:
        pl.deployment, pl.spiral, pl.placed = begun, 0, []
    return lines[last_index(lines, lambda line: line.startswith(SHADING)):]


def deploy_ready(pl):
    """None when the next unit may be placed: the log shows a deployment under way and every placement
    answered and looked past (the game is back at choosing a unit), and a picture taken after that
    shows the deployment screen with the units placed in it. That picture cannot be the last frame
    before a placement, and none is drawn after the last one, so a click never outlives the
    deployment. Otherwise what it lacks."""
    lines = deployment(pl)
    if lines is None:
        return 'no deployment under way'
    if not all_answered(lines):
        return 'the last placement not yet answered'
    pic = pl.desk.snap()
    if not holds(pic, DEPLOY):
        return 'no deployment screen: %s' % (not_blank(pic) or DEPLOY(pic))
    if pl.colour is None:
        units = units_on_board(pic, skip=None)
        if not units:
            return 'no unit on the board'
        pl.camp = min(units, key=lambda t: abs(t[0] - CENTRE[0]) + abs(t[1] - CENTRE[1]))
        pl.colour = units[pl.camp]
    for tx, ty in pl.placed:
        colour = badge(pic, tx, ty)
        if not colour or not near(colour, pl.colour, 30):
            return 'the unit placed on square (%d, %d) not shown yet' % (tx, ty)
    pl.first('deploy', pic)
    return None


def deploy(pl):
    """Places the next unit on the next square round the warlord (the unit nearest the middle of the
    view, whose badge shows the player's colour). The pointer goes there first: the game marks the
    square under it, red where no unit may go and green where one may, and only a green one is clicked;
    the click is done once the log shows the placement and the game's answer to it (a client's may be
    refused by the host). The pointer then rests away from the camp, off the squares it must show."""
    d = pl.desk
    if pl.spiral == len(RING):
        raise Failure('%s: none of the %d squares round his camp took a unit (%d placed)'
                      % (d.name, len(RING), len(pl.placed)))
    dx, dy = RING[pl.spiral]
    pl.spiral += 1
    tx, ty = pl.camp[0] + dx, pl.camp[1] + dy
    # The cursor's picture is drawn from the pointer down and right: near the square's corner it
    # covers little of the square's marker.
    d.point(tx * SQUARE + SQUARE - 8, ty * SQUARE + SQUARE - 8)
    found = []

    def marked():
        found[:] = [deploy_marker(d.snap(), tx, ty)]
        return None if found[0] else 'no marker on square (%d, %d)' % (tx, ty)
    wait_until('%s: the marker under the pointer' % d.name, marked)
    if found[0] == 'legal':
        puts = placements(deployment(pl))
        d.click_here()

        def answered():
            lines = deployment(pl)
            if lines is None:
                return None         # the deployment is over: the placement was its last
            if placements(lines) <= puts:
                # A square marked red now, with still no placement logged after that picture: the click
                # was taken for one where no unit may go.
                if deploy_marker(d.snap(), tx, ty) == 'refused' and placements(deployment(pl)) <= puts:
                    return None
                return 'no placement in its log'
            return None if all_answered(lines) else 'the placement not yet answered'
        wait_until('%s: the unit placed on square (%d, %d)' % (d.name, tx, ty), answered)
        lines = deployment(pl)
        if lines is None:
            pl.placed.append((tx, ty))
        elif placements(lines) > puts:
            # The host places its own at once; a client's stands once the host sent it back.
            after = lines[last_index(lines, lambda line: line.startswith(PUT)):]
            if pl.host or 'ACTION: Deploy Unit' in after:
                pl.placed.append((tx, ty))
    d.point(*PARK)


def synced(pl):
    """None once the observer has seen this turn of the player begin and every unit he took in it
    ("Found unit:" in his log, "ACTION: Next Unit" in the observer's); else what it lacks."""
    mine, starts = since_last(pl.desk.lines(), turn_start(pl))
    theirs, turns = pl.seen()
    if turns < starts:
        return '%s has not seen the turn of %s begin' % (pl.observer.name, pl.desk.name)
    taken = sum(1 for line in mine if line.startswith('Found unit:'))
    told = sum(1 for line in theirs if line == 'ACTION: Next Unit')
    if told < taken:
        return '%s has seen %d of the %d units %s took' % (pl.observer.name, told, taken, pl.desk.name)
    return None


def await_synced(pl, host):
    def look():
        return None if not holds_turn(pl, host) else synced(pl)
    wait_until('%s: his turn so far seen by %s' % (pl.desk.name, pl.observer.name), look)


MISSED = "Couldn't find the unit called"    # a hot key without a living unit
READ = 60           # seconds a pressed key may take to show what it does; a key still without it was not read


def press(pl, host, key, what, done):
    """Presses a key of the acting unit once and waits until done() holds. The game reads every key
    pressed in its turn, in the order they came, so a key whose effect never comes was not read: that
    fails, and the key is never pressed again."""
    d = pl.desk
    d.key(key)
    end = time.time() + READ

    def look():
        if done():
            return None
        unit_turn_lost(pl, host)
        if time.time() > end:
            raise Failure('%s: the key %s pressed once, and in %d s no sign that the game read it (%s)'
                          % (d.name, key, READ, what))
        return 'the key %s pressed once, %s not yet' % (key, what)
    wait_until('%s: %s' % (d.name, what), look)


def turn_seen_over(pl, host):
    """The turn is not his, and the observer has seen it pass on, after everything he sent."""
    if holds_turn(pl, host):
        return False
    return any(line.startswith('It is now ') for line in pl.seen()[0])


def settle(pl, host, also=None):
    """Waits until what the player just did is in the observer's log. The turn goes on to the next unit
    ('w'): the others hear of it after everything the player sent before, and a refused step or attack
    sends nothing, so once the observer has seen it, what he did is there. Ends at once when also()
    holds, or when the turn passed on (no unit left), once the observer has seen that."""
    d = pl.desk
    found = d.count('Found unit:')

    def done():
        if (also and also()) or turn_seen_over(pl, host):
            return True
        return holds_turn(pl, host) and d.count('Found unit:') > found and synced(pl) is None
    press(pl, host, 'w', 'the next unit taken, and seen by %s' % pl.observer.name, done)


def unit_taken(pl):
    """His game has taken a unit since it last looked for one: it reads the unit's keys from then on."""
    lines = pl.desk.lines()
    return last_index(lines, lambda line: line.startswith('Found unit:')) > last_index(lines, lambda line: line == NEXTUNIT)


def ready(pl, host):
    """Waits until the player's game reads the keys of his acting unit: once it has taken a unit, an
    empty hot key ('0') pressed once is logged when the game reads it, after every key pressed before
    it. Also ends when the turn is not his."""
    d = pl.desk

    def taken():
        if not holds_turn(pl, host) or unit_taken(pl):
            return None
        unit_turn_lost(pl, host)
        return 'no unit taken since the last "%s"' % NEXTUNIT
    wait_until('%s: a unit taken' % d.name, taken)
    if not holds_turn(pl, host):
        return
    missed = d.count(MISSED)
    press(pl, host, '0', 'the keys of the acting unit read',
          lambda: not holds_turn(pl, host) or d.count(MISSED) > missed)


def centre(pl, host):
    """The view on the acting unit ('c'), done once the game has read its keys after it."""
    pl.desk.key('c')
    ready(pl, host)


def end_turn(pl, host):
    """The whole turn ends (Ctrl+Space)."""
    ready(pl, host)
    press(pl, host, 'ctrl+space', 'the turn ended', lambda: not holds_turn(pl, host))


def rest(pl, host):
    """This unit rests (space); the next one acts, or the turn ends."""
    found = pl.desk.count('Found unit:')
    press(pl, host, 'space', 'the unit rested',
          lambda: not holds_turn(pl, host) or pl.desk.count('Found unit:') > found)


def act(pl, host):
    """One step of the local turn: an attack by a click when an enemy stands next to the acting unit,
    else a step with the arrow keys towards the nearest enemy in sight or the nearest mine; a unit
    refused a step in every way rests; after enough the whole turn ends. Each is settled before the
    next. True once an attack was made."""
    d = pl.desk
    await_synced(pl, host)
    ready(pl, host)
    if not holds_turn(pl, host):
        return False
    centre(pl, host)
    pic = await_screen(d, 'now', MYTURN)
    pl.first('turn', pic)
    units = units_on_board(pic)
    enemies = [t for t, c in units.items() if pl.colour and not near(c, pl.colour, 30)]
    pl.actions += 1
    if pl.actions > 30:
        pl.actions = 0
        end_turn(pl, host)
        return False
    beside = [t for t in enemies if max(abs(t[0] - CENTRE[0]), abs(t[1] - CENTRE[1])) == 1]
    if beside:
        tx, ty = beside[0]
        before = pl.told('ACTION: Attack!')
        d.key('Tab')                                # attack mode: the squares in range are marked
        await_screen(d, 'attack-marked', MYTURN)
        own = d.count('ACTION: Attack!')
        d.click(tx * SQUARE + SQUARE // 2, ty * SQUARE + SQUARE // 2)
        if not pl.host:
            # A client's attack waits for the host's answer, and his keys do nothing meanwhile: the key
            # for the next unit comes once his log shows the answer, or once no attack went out.
            end = time.time() + READ
            wait_until('%s: the answer to his attack' % d.name,
                       lambda: None if d.count('ACTION: Attack!') > own or time.time() > end else 'none yet')
        settle(pl, host, also=lambda: pl.told('ACTION: Attack!') > before)
        if pl.told('ACTION: Attack!') > before:
            pl.attacks += 1
            await_screen(d, 'attack', WATCHING)
            return True
        return False
    if enemies:
        tx, ty = min(enemies, key=lambda t: abs(t[0] - CENTRE[0]) + abs(t[1] - CENTRE[1]))
        way = (tx - CENTRE[0], ty - CENTRE[1])
    else:
        way = mines_direction(pic) or (1, 0)
    if pl.refused == len(ARROWS):
        pl.refused = 0
        rest(pl, host)
        return False
    before = pl.told('ACTION: Move')
    d.key(ARROWS[steps_towards(*way)[pl.refused]])
    settle(pl, host)
    if pl.told('ACTION: Move') > before:
        pl.refused = 0
        pl.moves += 1
        if pl.moves == 1:
            await_screen(d, 'moved', WATCHING)
    else:
        pl.refused += 1
    return False


def play(desks):
    """Every player deploys and plays his turns until each has had a turn and one of them has attacked;
    the others' screens are watched and the day's screens passed. Each step rests on the logs first:
    a unit's turn is played only for the player who holds the turn and whose game takes his units in
    it, a unit placed only while his log shows his deployment under way; the screen is checked in a
    picture taken after that."""
    host, ann, bo = desks
    players = [Player(host, ann, True), Player(ann, bo, False), Player(bo, ann, False)]
    attacker = None

    def progress():
        nonlocal attacker
        for pl in players:
            d = pl.desk
            if in_unit_turn(pl, host):
                if not attacker and act(pl, host):
                    attacker = pl
                elif attacker:
                    if 'turn' not in pl.kept:
                        centre(pl, host)
                        pl.first('turn', await_screen(d, 'now', MYTURN))
                    end_turn(pl, host)      # enough seen: the whole turn ends
                continue
            if deploy_ready(pl) is None:
                deploy(pl)
                continue
            pic = d.snap()
            if holds(pic, SHOP):
                click_away(d, 690, 490, 'shop', SHOP)           # "Done": the next day's shopping
            elif holds(pic, SUMMARY):
                pl.first('summary', pic)
                click_away(d, 105, 570, 'summary', SUMMARY)     # "Done"
            elif holds(pic, WATCHING) and turn_holder(host) not in (None, d.name):
                pl.first('watching', pic)
        missing = [pl.desk.name for pl in players if 'turn' not in pl.kept]
        if attacker and not missing:
            return None
        if missing:
            return '%s without a turn yet (the turn is %s\'s)' % (' and '.join(missing), turn_holder(host))
        return 'no attack yet (%d moves made)' % sum(pl.moves for pl in players)
    wait_until('a turn for each player and an attack', progress)
    return attacker


def main():
    global out, deadline
    if len(sys.argv) != 5:
        print(__doc__)
        return 2
    dist = os.path.abspath(sys.argv[1])
    out = os.path.abspath(sys.argv[2])
    gorvpack, manifest = sys.argv[3], sys.argv[4]
    deadline = time.time() + OVERALL
    os.makedirs(out, exist_ok=True)
    for old in os.listdir(out):
        if old.startswith('desktop-') and old.endswith('.png'):
            os.remove(os.path.join(out, old))
    work = tempfile.mkdtemp(prefix='gorvanel-desktop-')
    # A test runner's timeout ends this with SIGTERM: the X servers and the games still go down with it.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    desks = []
    status = 0
    try:
        port = int(os.environ.get('GORVANEL_DESKTOP_PORT') or free_port())
        module = pack_module(gorvpack, manifest, port, work)
        print('port:', port, flush=True)
        desks = [Desk(name, dist, work, module) for name in ('Hal', 'Ann', 'Bo')]
        games[:] = desks
        for d in desks:
            d.start_x()
            d.start_game()
        arrive(desks)
        print('reached: arrive', flush=True)
        gather(desks, port)
        print('reached: gather', flush=True)
        for stage in (set_up, shop):
            stage(desks)
            print('reached:', stage.__name__, flush=True)
        pl = play(desks)
        print('%s moved %d times and attacked by a click' % (pl.desk.name, pl.moves))
        # The pictures the driver looked at on the way, not a stage's own.
        for name in os.listdir(out):
            if name.endswith('-now.png'):
                os.remove(os.path.join(out, name))
    except Failure as f:
        print('FAILED:', f)
        status = 1
        for d in desks:
            try:
                d.release()
                d.keep(d.snap(), 'failed')
                print('the screen of %s: %s' % (d.name, os.path.join(out, 'desktop-%s-failed.png' % d.name)))
            except (Failure, subprocess.CalledProcessError, ValueError) as e:
                print('no picture of %s: %s' % (d.name, e))
        for d in desks:
            print('=== %s: debug log (last lines)' % d.name)
            print('\n'.join(d.lines()[-30:]))
    finally:
        for d in desks:
            d.stop()
        shutil.rmtree(work, ignore_errors=True)
    return status


if __name__ == '__main__':
    sys.exit(main())
