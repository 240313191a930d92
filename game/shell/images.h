// The image set: every picture of the game as a global surface, loaded from the two image modules in a
// fixed order behind a progress bar, with the dimmed and grey copies of the terrain and unit sheets made
// by worker threads while the rest loads; freed and loaded again around every loss of the screen.
#pragma once
#include <cstdint>
#include <mutex>
#include <vector>

#include "game/shell/surface.h"

struct Module;

enum : int32_t {
    LOADSTEPS = 41,                 // 34 images after the bar's own two, 3 blanks and 4 workers
    LOADBARX = 200, LOADBARY = 250, LOADBARWIDTH = 420, LOADBARHEIGHT = 100,
    TINTCOLOUR = 0x808080,          // the dimmed sheets: every channel halved
    BORDERPIECES = 7, BUTTONFACES = 6,
};

enum { IMAGES_VISTORN, IMAGES_BRACKWEL };     // index into imagemodules
// The pieces of imgborder, by index.
enum { BORDER_TOP, BORDER_BOTTOM, BORDER_LEFT, BORDER_RIGHT, BORDER_METERBOTTOM, BORDER_METERMIDDLE, BORDER_UNIT };

extern Surface imgload, imgloadfade;                        // the progress bar, filled and empty
extern Surface imgterrain, imgterraintint, imgterraingrey;  // terrain sheet, dimmed and grey
extern Surface imgunits, imgunitstint, imgunitsgrey;        // unit sheet, dimmed and grey
extern Surface imgboard;                                    // blank 800 x 520: the board image
extern Surface imgspellanim, imgspellicon;                  // effect animations, spell and ability icons
extern Surface imgunithealth, imgback, imgblueline, imgmenuicons, imgicons, imgshop;
extern Surface imgborder[BORDERPIECES];                     // top, bottom, left, right, meter bottom and middle, unit
extern Surface imgline;
extern Surface imgbuttons[BUTTONFACES];                     // up and down in three looks
extern Surface imgmeters, imgnewback, imgworld, imgworldfade, imghelp, imglogo;
extern Surface imgscreen;                                   // blank 800 x 600: whole-screen work image
extern Surface imgminimap;                                  // blank 402 x 402: the minimap

extern Module* imagemodules[2];             // "Vistorn.dll" and "Brackwel.dll"
extern std::vector<Surface*> loadedimages;  // every surface loaded from a module, in load order
extern int32_t loadcount;                   // progress steps done
extern int32_t loadtotal;                   // progress steps expected
extern std::mutex loaderlock;               // guards the progress count, which the workers advance too

bool DDrawGo();             // start-up step "initialize the video hardware": display, mode, modules; true on failure
bool LoadImages();          // loads the whole set in order with its progress bar; true on failure
void FreeImages();          // releases every image (the view's unit pictures, made from them, are freed by the caller)
bool DDrawStop();           // shutdown: closes the modules, frees the images, closes the display; false
// Loads name from one module into surface, logging it; on success lists the surface and, when
// progress is set, counts a step. True on failure.
bool LoadVistornImage(Surface& surface, const char* name, bool progress);
bool LoadBrackwelImage(Surface& surface, const char* name, bool progress);
bool UpdateLoadProgress();  // counts a step of the loading thread and shows the bar; false
