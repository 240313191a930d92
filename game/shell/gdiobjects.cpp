// The shared pens, brushes and work buffers.
#include "game/shell/gdiobjects.h"

#include <cstdlib>

#include "platform/gdi.h"

char* scratch = nullptr;
uint8_t* recvbuffer = nullptr;
uint8_t* messagebuffer = nullptr;

GdiPen* dotpen = nullptr;
GdiPen* graphframepen = nullptr;
GdiPen* lightbluepen = nullptr;
GdiPen* greenpen = nullptr;
GdiPen* yellowpen = nullptr;
GdiPen* graphpens[5] = {};
GdiBrush* navybrush = nullptr;
GdiBrush* darkgreybrush = nullptr;
GdiBrush* palecyanbrush = nullptr;
std::vector<GdiBrush*> terrainbrushes;
std::vector<GdiBrush*> playerbrushes;

namespace {

const uint32_t playercolours[5] = {
    MakeColour(255, 0, 0), MakeColour(0, 255, 0), MakeColour(0, 255, 255), MakeColour(255, 128, 0),
    MakeColour(255, 0, 255),
};

const uint32_t terraincolours[11] = {
    MakeColour(32, 128, 32), MakeColour(0, 92, 0),     MakeColour(128, 128, 128), MakeColour(250, 210, 0),
    MakeColour(0, 255, 0),   MakeColour(240, 220, 0),  MakeColour(128, 64, 0),    MakeColour(0, 0, 192),
    MakeColour(128, 128, 255), MakeColour(128, 255, 128), MakeColour(32, 32, 32),
};

const uint32_t playerbrushcolours[6] = {
    MakeColour(255, 32, 32), MakeColour(0, 255, 0),   MakeColour(0, 255, 255),
    MakeColour(255, 128, 0), MakeColour(255, 0, 255), MakeColour(128, 128, 128),
};

// Makes one pen or brush into its global; true when it came back null.
bool Make(GdiPen*& into, const PenStyle style, const int32_t width, const uint32_t colour)
{
    into = MakePen(style, width, colour);
    return into == nullptr;
}

bool Make(GdiBrush*& into, const uint32_t colour)
{
    into = MakeBrush(colour);
    return into == nullptr;
}

bool Append(std::vector<GdiBrush*>& list, const uint32_t colour)
{
    GdiBrush* const brush = MakeBrush(colour);
    if (!brush)
        return true;
    list.push_back(brush);
    return false;
}

} // namespace

bool CreateBuffers()
{
    scratch = static_cast<char*>(calloc(SCRATCHSIZE, 1));
    recvbuffer = static_cast<uint8_t*>(calloc(RECVBUFFERSIZE, 1));
    messagebuffer = static_cast<uint8_t*>(calloc(MESSAGEBUFFERSIZE, 1));
    return !scratch || !recvbuffer || !messagebuffer;
}

void DestroyBuffers()
{
    free(scratch);
    free(recvbuffer);
    free(messagebuffer);
    scratch = nullptr;
    recvbuffer = nullptr;
    messagebuffer = nullptr;
}

bool CreateGdiObjects()
{
    if (Make(dotpen, PEN_DOT, 0, MakeColour(0, 0, 0)) || Make(graphframepen, PEN_SOLID, 0, MakeColour(0, 64, 128)) ||
        Make(lightbluepen, PEN_SOLID, 0, MakeColour(128, 128, 255)) ||
        Make(greenpen, PEN_SOLID, 0, MakeColour(0, 255, 0)) || Make(yellowpen, PEN_SOLID, 1, MakeColour(255, 255, 0)))
        return true;
    // The graph pens are not checked: a missing one draws nothing.
    for (int i = 0; i < 5; i++)
        graphpens[i] = MakePen(PEN_SOLID, 0, playercolours[i]);
    if (Make(navybrush, MakeColour(0, 0, 128)) || Make(darkgreybrush, MakeColour(32, 32, 32)) ||
        Make(palecyanbrush, MakeColour(127, 255, 255)))
        return true;
    for (const uint32_t colour : terraincolours)
        if (Append(terrainbrushes, colour))
            return true;
    for (const uint32_t colour : playerbrushcolours)
        if (Append(playerbrushes, colour))
            return true;
    return false;
}

void DeleteGdiObjects()
{
    for (GdiPen** pen : {&dotpen, &graphframepen, &lightbluepen, &greenpen, &yellowpen}) {
        FreePen(*pen);
        *pen = nullptr;
    }
    for (GdiBrush** brush : {&navybrush, &darkgreybrush, &palecyanbrush}) {
        FreeBrush(*brush);
        *brush = nullptr;
    }
    for (GdiPen*& pen : graphpens) {
        FreePen(pen);
        pen = nullptr;
    }
    for (GdiBrush* brush : terrainbrushes)
        FreeBrush(brush);
    terrainbrushes.clear();
    for (GdiBrush* brush : playerbrushes)
        FreeBrush(brush);
    playerbrushes.clear();
}
