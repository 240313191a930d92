// The image set: the globals, the load order and the freeing.
#include "game/shell/images.h"

#include "common/module.h"
#include "game/shell/debuglog.h"
#include "game/shell/display.h"
#include "game/shell/loader.h"

Surface imgload, imgloadfade;
Surface imgterrain, imgterraintint, imgterraingrey;
Surface imgunits, imgunitstint, imgunitsgrey;
Surface imgboard;
Surface imgspellanim, imgspellicon;
Surface imgunithealth, imgback, imgblueline, imgmenuicons, imgicons, imgshop;
Surface imgborder[BORDERPIECES];
Surface imgline;
Surface imgbuttons[BUTTONFACES];
Surface imgmeters, imgnewback, imgworld, imgworldfade, imghelp, imglogo;
Surface imgscreen;
Surface imgminimap;

Module* imagemodules[2];
std::vector<Surface*> loadedimages;

namespace {

bool LoadImage(const int which, Surface& surface, const char* const name, const bool progress)
{
    debuglog << "Loading Image " << name << std::endl;
    if (!surface.LoadBitmap(name, imagemodules[which], 0))
        return true;
    loadedimages.push_back(&surface);
    if (progress)
        UpdateLoadProgress();
    return false;
}

// One step of the load order: an image (module and name), a blank of a size, or a worker to start on
// the surface just loaded.
struct LoadStep {
    Surface* surface;
    int module;             // IMAGES_VISTORN or IMAGES_BRACKWEL; -1 for a blank
    const char* name;
    int32_t width, height;  // of a blank
    int worker;             // the worker to start once the image is in place; -1 for none
};

constexpr int V = IMAGES_VISTORN, B = IMAGES_BRACKWEL;

const LoadStep loadorder[] = {
    {&imgterrain, B, "terrain.bmp", 0, 0, -1},
    {&imgterraintint, B, "terrain.bmp", 0, 0, 0},
    {&imgunits, B, "units.bmp", 0, 0, -1},
    {&imgunitstint, B, "units.bmp", 0, 0, 1},
    {&imgboard, -1, nullptr, 800, 520, -1},
    {&imgspellanim, B, "spellanim.bmp", 0, 0, -1},
    {&imgspellicon, B, "spellicon.bmp", 0, 0, -1},
    {&imgunithealth, V, "unithealth.bmp", 0, 0, -1},
    {&imgback, V, "back.bmp", 0, 0, -1},
    {&imgblueline, V, "blueline.bmp", 0, 0, -1},
    {&imgmenuicons, V, "menu_icons.bmp", 0, 0, -1},
    {&imgicons, V, "icons.bmp", 0, 0, -1},
    {&imgshop, V, "shop.bmp", 0, 0, -1},
    {&imgborder[0], V, "B_Top.bmp", 0, 0, -1},
    {&imgborder[1], V, "B_Bottom.bmp", 0, 0, -1},
    {&imgborder[2], V, "B_Left.bmp", 0, 0, -1},
    {&imgborder[3], V, "B_Right.bmp", 0, 0, -1},
    {&imgborder[4], V, "B_Meterbottom.bmp", 0, 0, -1},
    {&imgborder[5], V, "B_Metermiddle.bmp", 0, 0, -1},
    {&imgborder[6], V, "B_Unit.bmp", 0, 0, -1},
    {&imgline, V, "line.bmp", 0, 0, -1},
    {&imgterraingrey, B, "terrain.bmp", 0, 0, 2},
    {&imgunitsgrey, B, "units.bmp", 0, 0, 3},
    {&imgbuttons[0], V, "buttonup.bmp", 0, 0, -1},
    {&imgbuttons[1], V, "buttondown.bmp", 0, 0, -1},
    {&imgbuttons[2], V, "buttonup2.bmp", 0, 0, -1},
    {&imgbuttons[3], V, "buttondown2.bmp", 0, 0, -1},
    {&imgbuttons[4], V, "buttonup3.bmp", 0, 0, -1},
    {&imgbuttons[5], V, "buttondown3.bmp", 0, 0, -1},
    {&imgmeters, V, "meters.bmp", 0, 0, -1},
    {&imgnewback, V, "newback.bmp", 0, 0, -1},
    {&imgworld, V, "world.bmp", 0, 0, -1},
    {&imgworldfade, V, "worldfade.bmp", 0, 0, -1},
    {&imghelp, V, "help.bmp", 0, 0, -1},
    {&imglogo, V, "logo.bmp", 0, 0, -1},
    {&imgscreen, -1, nullptr, 800, 600, -1},
    {&imgminimap, -1, nullptr, 402, 402, -1},
};

// The four workers, in the order they are described: tint terrain, tint units, grey terrain, grey units.
const WorkerJob workerjobs[4] = {
    {&imgterraintint, WORK_TINT}, {&imgunitstint, WORK_TINT}, {&imgterraingrey, WORK_GREY}, {&imgunitsgrey, WORK_GREY}};

} // namespace

bool LoadVistornImage(Surface& surface, const char* const name, const bool progress)
{
    return LoadImage(IMAGES_VISTORN, surface, name, progress);
}

bool LoadBrackwelImage(Surface& surface, const char* const name, const bool progress)
{
    return LoadImage(IMAGES_BRACKWEL, surface, name, progress);
}

bool DDrawGo()
{
    debuglog << "DDrawGo" << std::endl;
    if (CreateDirectDraw())
        return true;
    bool moded = false;
    for (const int bpp : {32, 24, 16, 8})
        if (!SetScreenMode(SCREENWIDTH, SCREENHEIGHT, bpp)) {
            moded = true;
            break;
        }
    if (!moded)
        return true;
    CreatePrimarySurface();
    ClearBackBuffer();
    // Not checked here: a missing module shows up as the first image that fails to load.
    imagemodules[IMAGES_VISTORN] = OpenModule("Vistorn.dll");
    imagemodules[IMAGES_BRACKWEL] = OpenModule("Brackwel.dll");
    return false;
}

bool LoadImages()
{
    BeginLoadProgress();
    // The bar itself is not counted: it is what shows the count.
    if (LoadVistornImage(imgload, "load.bmp", false) || LoadVistornImage(imgloadfade, "loadfade.bmp", false))
        return true;
    Workers workers;
    for (const LoadStep& step : loadorder) {
        if (step.module < 0) {
            step.surface->CreateBlank(step.width, step.height, 0);
            UpdateLoadProgress();
        } else if (LoadImage(step.module, *step.surface, step.name, true)) {
            // The workers already started still hold their surfaces: wait for them before giving up.
            workers.JoinAll();
            return true;
        }
        if (step.worker >= 0)
            workers.Start(workerjobs[step.worker]);
    }
    workers.JoinAll();
    // Every picture is decoded into its surface: the modules' bytes would only hold memory.
    ReleaseModulePages(imagemodules[IMAGES_VISTORN]);
    ReleaseModulePages(imagemodules[IMAGES_BRACKWEL]);
    debuglog << "Total images:" << loadcount << std::endl;
    return false;
}

void FreeImages()
{
    while (!loadedimages.empty()) {
        loadedimages.front()->Release();
        loadedimages.erase(loadedimages.begin());
    }
    for (Surface* s : {&imgscreen, &imgminimap, &imgboard, &imgterraintint, &imgterraingrey, &imgunitstint, &imgload,
                       &imgloadfade})
        s->Release();
}

bool DDrawStop()
{
    CloseModule(imagemodules[IMAGES_BRACKWEL]);
    CloseModule(imagemodules[IMAGES_VISTORN]);
    imagemodules[IMAGES_BRACKWEL] = imagemodules[IMAGES_VISTORN] = nullptr;
    FreeImages();
    ReleaseDirectDraw();
    return false;
}
