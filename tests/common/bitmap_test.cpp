// Bitmap: loading by name from a module, reloading, releasing.
#include "common/bitmap.h"

#include <gtest/gtest.h>

#include <memory>

#include "bmpfixture.h"
#include "common/module.h"
#include "platform/gdi.h"
#include "platform/log.h"

namespace {

struct ModuleCloser {
    void operator()(Module* m) const { CloseModule(m); }
};
using ModulePtr = std::unique_ptr<Module, ModuleCloser>;

void Quiet(const char*)
{
}

ModulePtr Pictures()
{
    using bmpfixture::MakeBmp;
    return ModulePtr(OpenModuleFromBytes(bmpfixture::MakeBitmapModule({
        {"small.bmp", MakeBmp(2, 1, 24, false, {0xFF0000, 0x00FF00})},
        {"Wide.bmp", MakeBmp(5, 3, 24, true, std::vector<uint32_t>(15, 0x336699))},
        {"broken.bmp", {'B', 'M', 1, 2, 3}},
    })));
}

TEST(Bitmap, LoadsByNameIgnoringCase)
{
    const ModulePtr module = Pictures();
    ASSERT_NE(module, nullptr);
    Bitmap bitmap;
    EXPECT_FALSE(bitmap.IsLoaded());
    EXPECT_EQ(bitmap.GetMemDC(), nullptr);
    ASSERT_TRUE(bitmap.Load(module.get(), "SMALL.BMP"));
    EXPECT_TRUE(bitmap.IsLoaded());
    EXPECT_EQ(bitmap.GetWidth(), 2);
    EXPECT_EQ(bitmap.GetHeight(), 1);
    // The memory DC holds the picture, ready to be copied from.
    EXPECT_EQ(ReadDCPixel(bitmap.GetMemDC(), 0, 0), MakeColour(255, 0, 0));
    EXPECT_EQ(ReadDCPixel(bitmap.GetMemDC(), 1, 0), MakeColour(0, 255, 0));
}

TEST(Bitmap, MissingOrBrokenLeavesItEmpty)
{
    SetLogSink(Quiet);
    const ModulePtr module = Pictures();
    Bitmap bitmap;
    for (const char* name : {"absent.bmp", "broken.bmp", ""}) {
        EXPECT_FALSE(bitmap.Load(module.get(), name)) << name;
        EXPECT_FALSE(bitmap.IsLoaded());
        EXPECT_EQ(bitmap.GetWidth(), 0);
        EXPECT_EQ(bitmap.GetHeight(), 0);
        EXPECT_EQ(bitmap.GetMemDC(), nullptr);
    }
    EXPECT_FALSE(bitmap.Load(nullptr, "small.bmp"));
    SetLogSink(nullptr);
}

TEST(Bitmap, ReloadReplacesAndReleaseTwiceIsHarmless)
{
    const ModulePtr module = Pictures();
    Bitmap bitmap;
    ASSERT_TRUE(bitmap.Load(module.get(), "small.bmp"));
    ASSERT_TRUE(bitmap.Load(module.get(), "wide.bmp"));
    EXPECT_EQ(bitmap.GetWidth(), 5);
    EXPECT_EQ(bitmap.GetHeight(), 3);
    EXPECT_EQ(ReadDCPixel(bitmap.GetMemDC(), 4, 2), MakeColour(0x33, 0x66, 0x99));
    bitmap.Release();
    EXPECT_FALSE(bitmap.IsLoaded());
    EXPECT_EQ(bitmap.GetWidth(), 0);
    bitmap.Release();
    Bitmap never;
    never.Release();
    EXPECT_FALSE(never.IsLoaded());
}

TEST(Bitmap, NoMemoryDCNoLoad)
{
    const ModulePtr module = Pictures();
    Bitmap bitmap;
    FailGdiCreation(GDIOBJECT_DC, 1);
    EXPECT_FALSE(bitmap.Load(module.get(), "small.bmp"));
    EXPECT_FALSE(bitmap.IsLoaded());
    EXPECT_TRUE(bitmap.Load(module.get(), "small.bmp"));
}

} // namespace
