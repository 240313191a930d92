// The pens, brushes and work buffers the whole game shares for its lifetime.
#pragma once
#include <cstdint>
#include <vector>

struct GdiPen;
struct GdiBrush;

enum { SCRATCHSIZE = 500, RECVBUFFERSIZE = 2000, MESSAGEBUFFERSIZE = 2000 };

extern char* scratch;                   // shared text buffer for formatting, SCRATCHSIZE bytes
extern uint8_t* recvbuffer;             // socket receive buffer, RECVBUFFERSIZE bytes
extern uint8_t* messagebuffer;          // one framed message, MESSAGEBUFFERSIZE bytes

extern GdiPen* dotpen;                  // dotted black: board drawing
extern GdiPen* graphframepen;           // (0, 64, 128): screen and graph frames
extern GdiPen* lightbluepen;            // (128, 128, 255)
extern GdiPen* greenpen;                // (0, 255, 0)
extern GdiPen* yellowpen;               // (255, 255, 0), width 1: polygon frames
extern GdiPen* graphpens[5];            // the player colours: graphs
extern GdiBrush* navybrush;             // (0, 0, 128): polygon fills
extern GdiBrush* darkgreybrush;         // (32, 32, 32): minimap
extern GdiBrush* palecyanbrush;         // (127, 255, 255): minimap
extern std::vector<GdiBrush*> terrainbrushes;   // eleven, by terrain: minimap squares
extern std::vector<GdiBrush*> playerbrushes;    // the five player colours, then grey

bool CreateBuffers();                   // the zero-filled work buffers; true on failure
void DestroyBuffers();                  // frees them
bool CreateGdiObjects();                // every pen and brush, in order; true on failure (earlier ones kept)
void DeleteGdiObjects();                // frees the pens and brushes (for UnloadFonts)
