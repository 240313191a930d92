// The small window: its frame, its painting and its loop.
#include "winkit/smallwindow.h"

#include "platform/font.h"
#include "platform/surface.h"
#include "winkit/controls.h"

namespace {

SysSurface* frame = nullptr;
GdiDC* framedc = nullptr;
GdiFont* kitfont = nullptr;     // the font in use: ownfont, or one made from filefont's file
GdiFont* ownfont = nullptr;     // the kit's default, made at opening
GdiFont* filefont = nullptr;
std::string fontfile;           // the font file added for filefont
KitPainter painter = nullptr;
bool invalid = false;

} // namespace

bool OpenSmallWindow(const char* caption, int width, int height, WindowProc proc, KitPainter paint, bool framed)
{
    if (frame || width <= 0 || height <= 0)
        return true;
    frame = CreateSysSurface(width, height, 0);
    framedc = OpenSurfaceDC(frame);
    if (!framedc || CreateSmallWindow(caption, width, height, proc, framed)) {
        CloseDC(framedc);
        DestroySysSurface(frame);
        framedc = nullptr;
        frame = nullptr;
        return true;
    }
    ownfont = MakeFont(-13, "DejaVu Sans");
    kitfont = ownfont;
    painter = paint;
    invalid = true;
    return false;
}

void CloseSmallWindow()
{
    DestroyAllButtons();
    DestroyAllEdits();
    DestroyMainWindow();
    CloseDC(framedc);
    DestroySysSurface(frame);
    FreeFont(ownfont);
    FreeFont(filefont);
    if (!fontfile.empty())
        RemoveFontFile(fontfile.c_str());
    fontfile.clear();
    framedc = nullptr;
    frame = nullptr;
    kitfont = ownfont = filefont = nullptr;
    painter = nullptr;
    invalid = false;
}

GdiDC* SmallWindowDC()
{
    return framedc;
}

GdiFont* SmallWindowFont()
{
    return kitfont;
}

bool UseSmallWindowFontFile(const char* file, int32_t height)
{
    if (!frame || !fontfile.empty() || AddFontFile(file) == 0)
        return true;
    fontfile = file;
    filefont = MakeFont(height, file);
    if (!filefont)
        return true;
    kitfont = filefont;
    invalid = true;
    return false;
}

void InvalidateSmallWindow()
{
    invalid = true;
}

void PaintSmallWindow()
{
    invalid = false;
    if (!framedc || !MainWindowExists())
        return;
    FillSurface(frame, nullptr, 0);
    if (painter)
        painter(framedc);
    DrawButtons(framedc);
    DrawEdits(framedc);
    PresentFrame(frame->pixels, frame->width, frame->height);
}

bool PumpSmallWindow(int* exitcode)
{
    SysMsg msg;
    while (PeekSysMessage(&msg)) {
        if (msg.message == SYS_QUIT) {
            *exitcode = (int)(intptr_t)msg.wparam;
            return true;
        }
        const bool buttonchanged = HandleButtonMessage(msg);
        const bool editchanged = HandleEditMessage(msg);
        if (buttonchanged || editchanged || msg.message == SYS_PAINT)
            invalid = true;
        DispatchSysMessage(&msg);
    }
    if (invalid)
        PaintSmallWindow();
    return false;
}

int RunSmallWindow()
{
    int code = 0;
    while (!PumpSmallWindow(&code))
        WaitWindowMessage();
    return code;
}
