// The display device behind the main window: opening it, its mode, and showing a frame.
//
// Surfaces live in memory, so nothing is ever lost and every mode works; the test hooks make the
// failures the game handles happen on purpose.
#pragma once
#include <cstdint>

struct SysSurface;

bool OpenDisplay();                                         // the display of the main window; true on failure
void CloseDisplay();                                        // closing a closed display does nothing
bool DisplayIsOpen();                                       // between OpenDisplay and CloseDisplay
bool SetDisplayMode(int32_t width, int32_t height, int32_t bpp); // true when the mode is refused
int32_t DisplayDepth();                                     // bits per pixel of the last mode set (0 before)
bool RestoreAllSurfaces();                                  // memory surfaces are never lost; true on failure
// Shows the frame in the main window (PresentFrame): true when presented, rows *top..*bottom changed.
bool PresentSurface(const SysSurface* frame, int* top = nullptr, int* bottom = nullptr);
// PresentSurface when only rows from..to-1 can differ from the frame last shown (PresentFrameRows).
bool PresentSurfaceRows(const SysSurface* frame, int from, int to, int* top, int* bottom);
// Copies a frame into a texture's upload buffer of pitch bytes per row (the present path's one copy).
void CopyFrameToUpload(void* upload, int32_t pitch, const uint32_t* pixels, int32_t width, int32_t height);

// Test hooks.
void RefuseDisplayOpen(bool refuse);                        // OpenDisplay fails while set
void RefuseDisplayDepth(int32_t bpp, bool refuse);          // SetDisplayMode refuses that depth while set
void ResetDisplayHooks();                                   // refuses nothing
