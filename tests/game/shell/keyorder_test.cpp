// The keys as the screens read them over the SDL back end (SDL's dummy video driver, events pushed as
// the system sends them): every press is read exactly once, in the order the presses came, whichever
// keys are held and used meanwhile.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "game/main/winmain.h"
#include "game/shell/input.h"
#include "platform/window.h"

namespace {

// The keys of the table, by the letter that names them there.
struct TableKey {
    char name;
    SDL_Scancode scancode;
    uint8_t code;
    bool used;          // the screens use its press (WaitKeyRelease), as the board keys'; a hot key they do not
};

const TableKey tablekeys[] = {
    {'g', SDL_SCANCODE_G, KEY_G, true},        {'c', SDL_SCANCODE_C, KEY_C, true},
    {'l', SDL_SCANCODE_LEFT, KEY_LEFT, true},  {'s', SDL_SCANCODE_SPACE, KEY_SPACE, true},
    {'^', SDL_SCANCODE_LCTRL, KEY_LCONTROL, true},
    {'0', SDL_SCANCODE_0, KEY_0, false},       {'1', SDL_SCANCODE_1, KEY_1, false},
    {'2', SDL_SCANCODE_2, KEY_2, false},       {'3', SDL_SCANCODE_3, KEY_3, false},
};

const TableKey& KeyNamed(char name)
{
    for (const TableKey& k : tablekeys)
        if (k.name == name)
            return k;
    ADD_FAILURE() << "no key named " << name;
    return tablekeys[0];
}

class KeyOrderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_FALSE(StartPlatform(BACKEND_SDL)) << "SDL's dummy video driver must start";
        ASSERT_FALSE(CreateMainWindow("Gorvanel", DefaultWindowProc));
        ASSERT_FALSE(DInputGo());
        PollKeyboard();
    }
    void TearDown() override
    {
        ReleaseInput();
        StopPlatform();
        unsetenv("SDL_VIDEODRIVER");
    }

    static void Push(const TableKey& key, bool down, bool repeat = false)
    {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.repeat = repeat ? 1 : 0;
        e.key.keysym.scancode = key.scancode;
        SDL_PushEvent(&e);
    }

    // A frame of a screen: the keyboard read, the keys it saw down (by name, "-" for none), and then
    // the press of each used key used up, or, in the intro, the press of every key down.
    static std::string Frame(bool intro)
    {
        PollKeyboard();
        std::string seen;
        for (const TableKey& k : tablekeys)
            if (IsKeyDown(k.code))
                seen += k.name;
        if (intro)
            UseKeysDown();
        else
            for (const TableKey& k : tablekeys)
                if (k.used && IsKeyDown(k.code))
                    WaitKeyRelease(k.code);
        return seen.empty() ? "-" : seen;
    }

    // Runs events: "g+" the key down, "g-" up, "g*" a repeat of the held key from the system, "|" a
    // frame. What each frame saw, separated by spaces. With intro, the frames are the intro's until
    // one of them sees a key, and then the next screen's.
    static std::string Run(const std::string& events, bool intro)
    {
        std::istringstream in(events);
        std::string word, seen;
        while (in >> word) {
            if (word == "|") {
                const std::string frame = Frame(intro);
                intro = intro && frame == "-";
                seen += (seen.empty() ? "" : " ") + frame;
                continue;
            }
            const TableKey& key = KeyNamed(word[0]);
            Push(key, word[1] != '-', word[1] == '*');
        }
        return seen;
    }
};

TEST_F(KeyOrderTest, EveryTapIsReadExactlyOnceInTheOrderItCame)
{
    struct Row {
        const char* what;
        const char* events;
        const char* seen;
        bool intro = false;
    };
    const Row rows[] = {
        {"a tap alone", "0+ 0- | |", "0 -"},
        {"G held, 0 tapped", "g+ | 0+ 0- | | g- |", "g 0 - -"},
        {"C held, 0 tapped", "c+ | | 0+ 0- | c- |", "c - 0 -"},
        {"an arrow held, 0 tapped", "l+ | 0+ | 0- | l- |", "l 0 - -"},
        {"rolled between two frames", "c+ 0+ 0- c- | |", "c0 -"},
        {"rolled across frames", "c+ | 0+ 0- c- | |", "c 0 -"},
        {"overlapping", "g+ | c+ | g- | c- |", "g c - -"},
        {"overlapping, both let go at once", "g+ c+ | g- c- | |", "gc - -"},
        {"two taps during one hold", "g+ | 1+ 1- 2+ 2- | | g- |", "g 12 - -"},
        {"the same key tapped twice during one hold", "g+ | 0+ 0- 0+ 0- | | g- |", "g 0 0 -"},
        {"taps in order, a second press to the next frame", "1+ 1- 2+ 2- 1+ 1- 3+ 3- | | |", "12 13 -"},
        {"a hot key held to the end of another's hold", "g+ | 0+ | g- | 0- |", "g 0 0 -"},
        {"a held key's press behind another key's second press", "1+ 1- 1+ 1- g+ | | | g- |", "1 g1 - -"},
        {"the used key let go and pressed again between frames", "g+ | g- g+ | g- |", "g g -"},
        {"the used key tapped twice between frames", "g+ g- g+ g- | | |", "g g -"},
        {"the system's repeats of a held key", "g+ | g* | g* 0+ 0- | g- |", "g - 0 -"},
        {"Ctrl held with Space, let go first", "^+ s+ | ^- | s- |", "s^ - -"},
        {"the intro's key held, a tap meanwhile", "s+ | 0+ 0- | | s- |", "s 0 - -", true},
        {"the intro ended by a tap", "| 0+ 0- | | |", "- 0 - -", true},
        {"the intro ended by two keys, one tapped again", "s+ 1+ | 1- 1+ 1- | s- |", "s1 1 -", true},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(Run(r.events, r.intro), r.seen) << r.what << ": " << r.events;
        // Every key up and read before the next row.
        for (const TableKey& k : tablekeys)
            Push(k, false);
        Frame(false);
        ASSERT_EQ(Frame(false), "-") << r.what;
    }
}

} // namespace
