// Bitmap: a picture loaded by name from a module's bitmaps, kept selected into its own memory device
// context so that it can be the source of a copy. The game copies it into a surface; the updater and
// the installer keep one as their window's background.
#pragma once
#include <cstdint>
#include <string>

struct GdiDC;
struct Module;
struct SysSurface;

class Bitmap {
public:
    Bitmap();
    ~Bitmap();
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    void Clear();                                   // zeroes every field without freeing anything
    bool Load(const Module* module, std::string name); // true when loaded; frees what it held first
    bool IsLoaded() const;
    GdiDC* GetMemDC() const;                        // the source of a copy (null when not loaded)
    int32_t GetWidth() const;
    int32_t GetHeight() const;
    void Release();                                 // frees the picture and its DC; nothing when not loaded

private:
    GdiDC* memdc;
    SysSurface* bitmap;
    SysSurface* oldobject;                          // what memdc held before the picture
    int32_t loaded;
    int32_t height;
    int32_t width;
};
