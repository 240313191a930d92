#include "game/screens/frontlook.h"

#include <cmath>

#include "game/screens/states.h"
#include "game/shell/display.h"
#include "game/view/cursor.h"
#include "platform/clock.h"

namespace {

const char* const wordmark = "GORVANEL";
const char middledot = '\xB7';          // CP1252

enum : int32_t { SLIDESTEP = 20, SLIDEFRAMEMS = 13 };

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
