#include "game/screens/frontlook.h"

#include <algorithm>
#include <cmath>

#include "game/screens/states.h"
#include "game/shell/display.h"
#include "game/shell/images.h"
#include "game/view/cursor.h"
#include "game/view/frames.h"
#include "platform/clock.h"

namespace {

const char* const wordmark = "GORVANEL";
const char middledot = '\xB7';          // CP1252

enum : int32_t { SLIDESTEP = 20, SLIDEFRAMEMS = 13 };
// A clean stretch of the help book's page (inside its frames, below its rule).
constexpr PixelRect parchment = { 150, 160, 750, 240 };
// A clean stretch of the warlord hall's list paper (inside its frames, left of its rule).
constexpr PixelRect paper = { 60, 60, 180, 548 };
constexpr uint32_t bandedge = 0x6E4C16, fieldface = 0x141822, fieldedge = 0xD4A848;

void Outline(const PixelRect& r, const uint32_t colour)
{
    const PixelRect sides[4] = { { r.left, r.top, r.right, r.top + 1 }, { r.left, r.bottom - 1, r.right, r.bottom },
                                 { r.left, r.top, r.left + 1, r.bottom }, { r.right - 1, r.top, r.right, r.bottom } };
    for (const PixelRect& side : sides)
        FillSurface(backbuffer, &side, colour);
}

} // namespace

std::string WordMarkLetter(int32_t k)
{
    if (k < 0 || k >= WORDMARKLETTERS)
        return "";
    std::string letter = { middledot, ' ', wordmark[k] };
    if (k == WORDMARKLETTERS - 1)
        letter += std::string{ ' ', middledot };
    return letter;
}

std::string WordMarkLine()
{
    return DottedWord(wordmark);
}

std::string DottedWord(const char* word)
{
    std::string line;
    for (const char* c = word; *c; c++)
        line += std::string{ middledot, ' ', *c, ' ' };
    return line + middledot;
}

uint32_t PulseColour()
{
    const int32_t blue = (int32_t)(std::sin(framecount * 0.03) * 32 + 64);
    return (uint32_t)blue << 16 | 0x20 << 8 | 0x20;
}

void DrawParchmentBand(const PixelRect& r)
{
    const int32_t height = std::min(r.bottom - r.top, parchment.bottom - parchment.top);
    for (int32_t x = r.left; x < r.right; x += parchment.right - parchment.left) {
        const int32_t width = std::min(r.right - x, parchment.right - parchment.left);
        BltFastKeyed(x, r.top, imghelp.GetSurface(),
                     { parchment.left, parchment.top, parchment.left + width, parchment.top + height });
    }
    Outline(r, bandedge);
}

void DrawPaperPage(const PixelRect& r)
{
    if (backbuffer && imgnewback.IsCreated())
        StretchSurfaceKeyed(backbuffer, r, imgnewback.GetSurface(), paper);
    Outline(r, bandedge);
}

void DrawEntryField(const PixelRect& r)
{
    FillSurface(backbuffer, &r, fieldface);
    Outline(r, fieldedge);
    Outline({ r.left + 2, r.top + 2, r.right - 2, r.bottom - 2 }, bandedge);
}

void EndFrame()
{
    DrawCursor(0);
    FlipScreen();
}

void SlideFrame(int32_t next, void (*draw)(int32_t offset))
{
    const uint32_t t0 = GetTicks();
    screencounter += SLIDESTEP;
    if (screencounter >= SCREENWIDTH) {
        gs = next;
        return;
    }
    draw(screencounter);
    FlipScreen();
    while (GetTicks() - t0 < SLIDEFRAMEMS)
        SleepMs(1);
}
