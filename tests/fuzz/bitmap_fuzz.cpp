// libFuzzer target: arbitrary bytes as a picture of a data module, loaded the way the image set loads
// one (a "BITMAP" resource through Bitmap into a Surface of the picture's size) and then filtered, so
// that every decoded pixel is read and written.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "common/module.h"
#include "game/shell/surface.h"
#include "platform/log.h"
#include "tests/common/bmpfixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool quiet = [] {
        SetLogSink([](const char*) {});
        return true;
    }();
    (void)quiet;
    Module* const module =
        OpenModuleFromBytes(bmpfixture::MakeBitmapModule({{"picture.bmp", std::vector<uint8_t>(data, data + size)}}));
    if (!module)
        abort();    // the wrapping is ours and always valid
    Surface surface;
    if (surface.LoadBitmap("picture.bmp", module, 0)) {
        if (surface.width <= 0 || surface.height <= 0)
            abort();
        surface.MakeGrey();
    }
    CloseModule(module);
    return 0;
}
