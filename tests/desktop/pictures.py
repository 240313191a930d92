"""What the desktop test sees: screenshots of the game's 800 x 600 window, the checks that tell its
screens apart, and where the board's units and mines are on a picture."""
import struct
import zlib

WIDTH, HEIGHT = 800, 600
SQUARE = 40                     # board squares on the screen
BOARDW, BOARDH = 20, 13         # squares of the board that show
MINIMAP = (645, 28, 795, 178)   # the minimap's box on the turn screens
BADGEEDGE = (0x20, 0x18, 0x0C)  # the badges' outline


class Picture:
    """A screenshot: rows of RGB triples."""

    def __init__(self, raw):
        if len(raw) != WIDTH * HEIGHT * 3:
            raise ValueError('a picture of %d bytes is not %dx%d' % (len(raw), WIDTH, HEIGHT))
        self.raw = raw

    def save(self, path):
        """Writes the picture as a PNG (8-bit RGB, each row unfiltered)."""
        rows = b''.join(b'\0' + self.raw[y * WIDTH * 3:(y + 1) * WIDTH * 3] for y in range(HEIGHT))

        def chunk(kind, data):
            return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
        with open(path, 'wb') as f:
            f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', WIDTH, HEIGHT, 8, 2, 0, 0, 0))
                    + chunk(b'IDAT', zlib.compress(rows, 1)) + chunk(b'IEND', b''))

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


# The screens, by what their pictures hold.
def blue_letters(px):
    return px[2] > 90 and px[0] < 70 and px[1] < 70


def ebony(px):
    # The dark buttons' face: dark, warm, but never the black of an empty screen.
    return 4 < max(px) < 48 and px[0] >= px[2]


def stone(px):
    return px[2] > px[0] + 8 and 30 < px[2] < 140


def yellow(px):
    return px[0] > 200 and px[1] > 200 and px[2] < 90


def red(px):
    return px[0] > 90 and px[0] > px[1] + 50 and px[0] > px[2] + 50


def parchment(px):
    return px[0] > 170 and px[1] > 150 and px[2] > 100 and px[0] >= px[2]


def any_of(*checks):
    def check(pic):
        whys = [c(pic) for c in checks]
        return None if None in whys else ' and '.join(whys)
    return check


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


def deploy_marker(pic, tx, ty):
    """The mark the deployment screen draws on the square under the pointer: 'refused' (a red ring),
    'legal' (a green cross-hair), or None while the square shows neither."""
    box = (tx * SQUARE, ty * SQUARE, (tx + 1) * SQUARE, (ty + 1) * SQUARE)
    if pic.share(box, lambda px: px[0] > 170 and px[1] < 90 and px[2] < 90) >= 0.05:
        return 'refused'
    if pic.share(box, lambda px: px[1] > 180 and px[0] < 110 and px[2] < 110) >= 0.03:
        return 'legal'
    return None


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


def no_quit(pic):
    if pic.share((10, 550, 200, 590), ebony) >= 0.5:
        return 'the ebony Quit button: the name screen'
    return None


# The intro's word mark, its letters brightened, before the name screen.
LETTERS = all_of(share_of((0, 25, 800, 80), blue_letters, 0.02, 'the word mark\'s blue letters'), no_quit)
