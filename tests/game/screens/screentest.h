// What the screen tests share: the headless platform with the game's window, display, fonts, string
// and help modules (the game directory's own), the scripted keyboard and mouse, a virtual clock, and
// the screen globals back at their start.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tests/game/support/pixels.h"

class ScreenTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Scripted input, seen by the next device reads. The fixture follows where the cursor will be.
    void MoveTo(int32_t x, int32_t y);              // the mouse moves there, no button down
    void Press(int32_t x, int32_t y, int reads = 1); // moves there with the left button down for that many reads
    void Click(int32_t x, int32_t y);               // a press there, released at the next read
    void Tap(uint8_t key, int reads = 1);           // the key down for that many reads
    void Frames(int n = 1);                         // n frames of the screen machine
    // Frames until gs is state; the number run, or -1 when limit frames did not get there.
    int FramesUntil(int32_t state, int limit = 1000);
    // The last presented frame and the texts of the frame that drew it, compared with golden fixture
    // `name` (tests/game/support/golden.h); the frame is written as <test binary dir>/<name>.png.
    void ExpectGoldenScreen(const std::string& name);
    static bool Played(const char* sound);          // the sound was asked for since SetUp

    int32_t cursorx = 400, cursory = 300;
    bool recordingtexts = false;                    // a test records the texts itself: no golden texts
    std::string olddir;
};
