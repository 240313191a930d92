#!/usr/bin/env python3
"""What a player waits for, measured on the real program: Gorvanel with its SDL window on a virtual X
server (Xvfb), beside a bare SDL program (baresdl) on the same server in the same run.

    player.py <game directory> <baresdl> <gorvpack> <manifest of the string module> <results> <pictures>

Every program runs as a player meets it: sound and music on, through SDL's dummy audio driver (a
virtual X server has no sound card; the dummy driver takes the mixed output in real time, so the
mixer and the synthesiser do all their work).

- FirstFrame: from exec to the loading bar's first frame (the log line the game writes right after
  presenting it; the game's log is a pipe read here, so each line is timed as it is written).
  BareSdlSoftwareFirstFrame: from exec to baresdl's one present (its line on standard output) on the
  software renderer and the window system's framebuffer, the game's own way: the like-for-like
  yardstick. BareSdlFirstFrame: the same with what SDL picks by default (GL under Xvfb), for
  comparison. Run in turn with the game, RUNS times each after one untimed run of all three; the
  medians are kept.
- SplashLogo: from exec to the splash logo's frame, the same way.
- CloseDuringSplash: SIGTERM while the splash waits for its mark, to the program's end; the end must
  come through the shutdown (exit code 0, the log deleted, the preferences written).
- PeakMemoryToUnitTurn: the game's peak resident set (VmHWM) from its start to its unit's turn, played
  by X input alone (xdotool) as a lone host.
- PeakMemoryOverDays: the peak resident set of a lone host who plays DAYS days, ending each turn at
  once. MemoryGrowthPerDay: how fast his resident set grows after day GROWTHFROM, in megabytes a day
  (the slope of a straight line fitted to the resident set at each day's summary).
- IdleCpuMenu, IdleCpuLobby: the game's processor time over IDLESECONDS at the main menu and in the
  lobby, as a share of one core. IdleCpuWaiting: the same while the host of a game of two waits for
  the other player (a second game program, without a window, driven through its control folder) to
  choose his warlord.

Each figure is appended to the results file of `make bench` (bench/results.h) as program "player",
with its value in its goal's unit (seconds, MB or per cent); a stage that fails writes an error for
the figures it did not reach. The pictures of the stages land in <pictures>. Exit code 0 when every
figure was measured.
"""
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'desktop'))
import desktop  # noqa: E402  (the desktop test's desks, waits and screens)
from pictures import (BOARD, INTRO, LETTERS, LOBBY, MENU, MONEY, NAME, NAMETYPED, SHOP, SUMMARY, WARLORDS,  # noqa: E402
                      all_of, holds, lobby_rows)  # noqa: E402

RUNS = 5                # timed start-ups of each program
IDLESECONDS = 10        # the span over which idle processor time is taken
SETTLE = 1.5            # seconds a screen is left to settle before its idle time is taken
OVERALL = 1200          # seconds for everything
DAYS = 20               # days a lone host plays for his memory
GROWTHFROM = 2          # the day from which the resident set should stay flat
FIRSTLINE = 'Loading bar shown.'
LOGOLINE = 'Splash shown.'
TICK = os.sysconf('SC_CLK_TCK')


class Failure(Exception):
    pass


class Desk(desktop.Desk):
    """The desktop test's desk (sound through SDL's dummy audio driver), with the preferences a fresh
    install makes: sound and music on."""

    def __init__(self, name, dist, work, module):
        super().__init__(name, dist, work, module)
        os.remove(os.path.join(self.dir, 'gorvanel.ini'))

    def env(self):
        e = super().env()
        e['SDL_AUDIODRIVER'] = 'dummy'
        e['ASAN_OPTIONS'] = 'detect_leaks=0'
        return e


class TimedLog:
    """The game's debug log as a pipe: a thread reads it, noting when each line arrived."""

    def __init__(self, folder):
        self.path = os.path.join(folder, 'debug.txt')
        if os.path.lexists(self.path):
            os.remove(self.path)
        os.mkfifo(self.path)
        self.lines = []                 # (seconds since the epoch of time.monotonic, line)
        self.thread = threading.Thread(target=self.read, daemon=True)
        self.thread.start()

    def read(self):
        with open(self.path, errors='replace') as f:
            for line in f:
                self.lines.append((time.monotonic(), line.rstrip('\n')))

    def when(self, text, limit):
        """When the first line starting with text arrived; None if it did not within limit seconds."""
        end = time.monotonic() + limit
        while time.monotonic() < end:
            for at, line in list(self.lines):
                if line.startswith(text):
                    return at
            time.sleep(0.002)
        return None

    def close(self):
        # A program that never opened its log leaves the reader waiting for a writer.
        if self.thread.is_alive():
            try:
                fd = os.open(self.path, os.O_WRONLY | os.O_NONBLOCK)
                os.close(fd)
            except OSError:
                pass
        self.thread.join(2)
        if os.path.lexists(self.path):
            os.remove(self.path)


def bare_run(baresdl, env, *args):
    """Seconds from exec to baresdl's present."""
    start = time.monotonic()
    proc = subprocess.Popen([baresdl] + list(args), env=env, stdout=subprocess.PIPE, text=True)
    line = proc.stdout.readline()
    at = time.monotonic()
    proc.wait(10)
    if line.strip() != 'presented':
        raise Failure('baresdl presented nothing (exit code %s)' % proc.returncode)
    return at - start


def game_run(desk):
    """Seconds from exec to the loading bar's first frame, to the splash logo, and from SIGTERM during
    the splash to the program's end."""
    log = TimedLog(desk.dir)
    try:
        start = time.monotonic()
        desk.start_game()
        first = log.when(FIRSTLINE, 30)
        logo = log.when(LOGOLINE, 30)
        if first is None or logo is None:
            desk.game.kill()
            raise Failure('the game logged no "%s" or "%s": %s' % (FIRSTLINE, LOGOLINE,
                                                                   [l for _, l in log.lines][-5:]))
        # The splash waits for its mark, seconds away: the end must not wait for it.
        time.sleep(0.2)
        asked = time.monotonic()
        desk.game.send_signal(signal.SIGTERM)
        try:
            code = desk.game.wait(15)
        except subprocess.TimeoutExpired:
            desk.game.kill()
            raise Failure('SIGTERM during the splash did not end the game within 15 s')
        ended = time.monotonic()
        if code != 0:
            raise Failure('SIGTERM during the splash ended the game with exit code %d' % code)
        if os.path.lexists(log.path):
            raise Failure('SIGTERM during the splash left the debug log: no shutdown ran')
        # A fresh install's preferences say "sound=1"; the game saves them as "sound = 1".
        with open(os.path.join(desk.dir, 'gorvanel.ini')) as f:
            if 'sound = ' not in f.read():
                raise Failure('SIGTERM during the splash saved no preferences')
        os.remove(os.path.join(desk.dir, 'gorvanel.ini'))
        return first - start, logo - start, ended - asked
    finally:
        log.close()


def startups(desk, baresdl, results):
    env = desk.env()
    bare, software, first, logo, close = [], [], [], [], []
    for n in range(RUNS + 1):
        b = bare_run(baresdl, env)
        sw = bare_run(baresdl, env, 'software')
        f, lg, c = game_run(desk)
        print('run %d: baresdl %.3f s, with the software renderer %.3f s; game first frame %.3f s, logo %.3f s, '
              'SIGTERM to end %.3f s' % (n, b, sw, f, lg, c), flush=True)
        if n == 0:
            continue            # every program's files come from the disk cache from now on
        bare.append(b)
        software.append(sw)
        first.append(f)
        logo.append(lg)
        close.append(c)
    results['BareSdlFirstFrame'] = statistics.median(bare)
    results['BareSdlSoftwareFirstFrame'] = statistics.median(software)
    results['FirstFrame'] = statistics.median(first)
    results['SplashLogo'] = statistics.median(logo)
    results['CloseDuringSplash'] = max(close)


def cpu_seconds(pid):
    with open('/proc/%d/stat' % pid) as f:
        fields = f.read().rsplit(')', 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICK     # utime and stime


def status_megabytes(pid, field):
    with open('/proc/%d/status' % pid) as f:
        for line in f:
            if line.startswith(field + ':'):
                return int(line.split()[1]) / 1024
    raise Failure('no %s for process %d' % (field, pid))


def peak_megabytes(pid):
    return status_megabytes(pid, 'VmHWM')


def idle_share(desk, stage, check):
    """The game's processor time over IDLESECONDS on a screen, as per cent of one core; the screen is
    photographed before and after, and must still show."""
    time.sleep(SETTLE)
    desk.running()
    before, t0 = cpu_seconds(desk.game.pid), time.monotonic()
    time.sleep(IDLESECONDS)
    after, t1 = cpu_seconds(desk.game.pid), time.monotonic()
    desk.running()
    pic = desk.snap()
    if not holds(pic, check):
        desk.keep(pic, stage + '-left')
        raise Failure('the %s screen did not stay while its idle time was taken' % stage)
    share = 100 * (after - before) / (t1 - t0)
    print('%s: %.1f%% of one core' % (stage, share), flush=True)
    return share


def arrive_at_menu(desk):
    """From the splash through the intro and the name to the main menu."""
    desktop.await_log(desk, 'Start-up finished.')
    ended = []

    def end_intro(pic):
        if not ended and (holds(pic, INTRO) or holds(pic, LETTERS)):
            desk.key('space')
            ended.append(True)
    desktop.await_screen(desk, 'name', NAME, act=end_intro)
    desk.key(*['BackSpace'] * 10)
    desk.type('Hal')
    desktop.await_screen(desk, 'name-typed', NAMETYPED)
    desk.click(695, 570)                            # "Accept"
    desktop.await_screen(desk, 'menu', MENU)


def shop_done(desk):
    """The host, once the game begins: the money, his warlord, and out of the shop buying nothing."""
    desktop.await_screen(desk, 'money', MONEY)
    desk.click(400, 125)                            # "$600"
    desktop.await_screen(desk, 'warlords', WARLORDS)
    desk.click(100, 100)                            # the first warlord
    desk.click(625, 500)                            # "Select Warlord"
    desktop.await_screen(desk, 'shop', SHOP)
    desk.click(690, 490)                            # "Done"


def play(desk, results):
    """From the start to the main menu, the lobby as host, and alone through the set-up to a unit's turn."""
    desk.start_game()
    arrive_at_menu(desk)
    results['IdleCpuMenu'] = idle_share(desk, 'menu', MENU)

    desk.click(400, 100)                            # the host icon
    desktop.await_log(desk, 'Listening on port', what='hosting')
    desktop.await_screen(desk, 'lobby', LOBBY)
    results['IdleCpuLobby'] = idle_share(desk, 'lobby', LOBBY)

    # Alone: F9 held lets the host begin without others.
    desk.xdo('keydown', 'F9', 'mousemove', 695, 570, 'sleep', 0.15, 'click', 1, 'sleep', 0.15, 'keyup', 'F9')
    shop_done(desk)
    desktop.await_log(desk, 'Found unit:', what='a unit\'s turn')
    desk.keep(desk.snap(), 'turn')
    results['PeakMemoryToUnitTurn'] = peak_megabytes(desk.game.pid)
    print('peak resident set to a unit\'s turn: %.1f MB' % results['PeakMemoryToUnitTurn'], flush=True)


def days(desk, results):
    """A lone host through the set-up, then DAYS days: each of his turns ended at once, each day's
    summary and shop passed; his resident set taken at each summary."""
    desk.start_game()
    arrive_at_menu(desk)
    desk.click(400, 100)                            # the host icon
    desktop.await_log(desk, 'Listening on port', what='hosting')
    desktop.await_screen(desk, 'lobby', LOBBY)
    desk.xdo('keydown', 'F9', 'mousemove', 695, 570, 'sleep', 0.15, 'click', 1, 'sleep', 0.15, 'keyup', 'F9')
    shop_done(desk)
    desk.name = 'Hal'                               # the logs name the turn's player by the name typed
    host = desktop.Player(desk, desk, True)
    resident = []                                   # megabytes at each day's summary, day 1 first

    def progress():
        if desktop.in_unit_turn(host, desk):
            desktop.end_turn(host, desk)
            return 'day %d: a turn ended' % (len(resident) + 1)
        pic = desk.snap()
        if holds(pic, SUMMARY):
            resident.append(status_megabytes(desk.game.pid, 'VmRSS'))
            print('day %d: %.1f MB resident' % (len(resident), resident[-1]), flush=True)
            if len(resident) == DAYS:
                desk.keep(pic, 'summary-%d' % DAYS)
                return None
            desktop.click_away(desk, 105, 570, 'summary', SUMMARY)     # "Done"
        elif holds(pic, SHOP):
            desktop.click_away(desk, 690, 490, 'shop', SHOP)           # "Done"
        return 'day %d under way' % (len(resident) + 1)
    desktop.wait_until('%d days played' % DAYS, progress)
    results['PeakMemoryOverDays'] = peak_megabytes(desk.game.pid)
    later = resident[GROWTHFROM - 1:]
    results['MemoryGrowthPerDay'] = statistics.linear_regression(range(len(later)), later).slope
    print('peak resident set over %d days: %.1f MB; growth after day %d: %.2f MB a day'
          % (DAYS, results['PeakMemoryOverDays'], GROWTHFROM, results['MemoryGrowthPerDay']), flush=True)


class Client(desktop.Desk):
    """A second player: the game program without a window (GORVANEL_HEADLESS), played through its control
    folder (game/screens/control.h), in a folder of its own as the desktop test makes one."""

    def __init__(self, dist, work, module):
        super().__init__('client', dist, work, module)
        os.makedirs(os.path.join(self.dir, 'ctl'))
        self.commands = os.path.join(self.dir, 'ctl', 'commands')
        open(self.commands, 'w').close()
        env = dict(os.environ, GORVANEL_HEADLESS='1', GORVANEL_CONTROL=os.path.join(self.dir, 'ctl'),
                   ASAN_OPTIONS='detect_leaks=0')
        self.game = subprocess.Popen(['./Gorvanel'], cwd=self.dir, env=env, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)

    def send(self, *lines):
        with open(self.commands, 'a') as f:
            f.write(''.join(line + '\n' for line in lines))

    def expect(self, reply):
        def look():
            if self.game.poll() is not None:
                raise Failure('the second player ended (exit code %d)' % self.game.returncode)
            try:
                with open(os.path.join(self.dir, 'ctl', 'replies')) as f:
                    return None if reply in f.read().splitlines() else 'no "%s" from it yet' % reply
            except OSError:
                return 'no replies from it yet'
        desktop.wait_until('the second player: %s' % reply, look)



def waiting(desk, results, work, module, dist):
    """Host of a game of two, with a second player who joins and then lets him wait: through the set-up
    to his own shop's Done, after which the host waits for the other."""
    desk.start_game()
    arrive_at_menu(desk)
    desk.click(400, 100)                            # the host icon
    desktop.await_log(desk, 'Listening on port', what='hosting')
    client = Client(dist, work, module)
    try:
        client.send('wait gs 60', 'keys 57 x5', 'wait gs 7', 'type Ann', 'say typed')
        client.expect('typed')
        client.send('click 695 570', 'wait gs 3', 'click 256 156', 'wait gs 8', 'type 127.0.0.1', 'say address')
        client.expect('address')
        client.send('keys 28', 'wait gs 1')
        client.expect('gs 1')
        desktop.await_screen(desk, 'lobby-two', lobby_rows(2))
        desk.click(695, 570)                        # "Start Game"
        shop_done(desk)                             # the other has not chosen yet
        desktop.await_screen(desk, 'waiting', all_of(BOARD, lambda pic: None if not holds(pic, SHOP) else 'the shop'))
        results['IdleCpuWaiting'] = idle_share(desk, 'waiting', BOARD)
    finally:
        client.stop()


def write(path, results, errors):
    with open(path, 'a') as f:
        for name in ('BareSdlFirstFrame', 'BareSdlSoftwareFirstFrame', 'FirstFrame', 'SplashLogo',
                     'CloseDuringSplash', 'IdleCpuMenu', 'IdleCpuLobby', 'IdleCpuWaiting', 'PeakMemoryToUnitTurn',
                     'PeakMemoryOverDays', 'MemoryGrowthPerDay'):
            if name in results:
                f.write('player\t%s\t%.9g\t\n' % (name, results[name]))
            else:
                f.write('player\t%s\t0\t%s\n' % (name, errors.get(name, 'not measured')))


def main():
    if len(sys.argv) != 7:
        print(__doc__)
        return 2
    dist, baresdl, gorvpack, manifest, resultpath, pictures = [os.path.abspath(a) for a in sys.argv[1:]]
    os.makedirs(pictures, exist_ok=True)
    desktop.out = pictures
    desktop.deadline = time.time() + OVERALL
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    work = tempfile.mkdtemp(prefix='gorvanel-player-')
    results, errors = {}, {}
    desks = []
    try:
        module = desktop.pack_module(gorvpack, manifest, desktop.free_port(), work)
        stages = ((startups, ('BareSdlFirstFrame', 'BareSdlSoftwareFirstFrame', 'FirstFrame', 'SplashLogo',
                              'CloseDuringSplash'), lambda desk: startups(desk, baresdl, results)),
                  (play, ('IdleCpuMenu', 'IdleCpuLobby', 'PeakMemoryToUnitTurn'), lambda desk: play(desk, results)),
                  (days, ('PeakMemoryOverDays', 'MemoryGrowthPerDay'), lambda desk: days(desk, results)),
                  (waiting, ('IdleCpuWaiting',), lambda desk: waiting(desk, results, work, module, dist)))
        for stage, names, run in stages:
            desk = Desk(stage.__name__, dist, work, module)
            desks.append(desk)
            try:
                desk.start_x()
                run(desk)
            except (Failure, desktop.Failure, subprocess.SubprocessError, OSError) as e:
                print('FAILED:', e, flush=True)
                for name in names:
                    errors[name] = str(e)
                try:
                    if desk.game and desk.game.poll() is None:
                        desk.keep(desk.snap(), 'failed')
                except (subprocess.SubprocessError, ValueError):
                    pass
            finally:
                desk.stop()
    finally:
        for desk in desks:
            desk.stop()
        write(resultpath, results, errors)
        shutil.rmtree(work, ignore_errors=True)
    return 1 if errors else 0


if __name__ == '__main__':
    sys.exit(main())
