// Buttons: the screens declare their buttons anew in every frame; all a button keeps between frames is
// its byte in buttonstates (or a byte of its screen's own), 1 while the left mouse button went down on
// it and has not yet been let go.
#pragma once
#include <cstdint>
#include <string_view>

enum { BUTTONCOUNT = 200 };
enum : int32_t { BUTTONWIDTH = 200, BUTTONHEIGHT = 50 };

// The fixed bytes of buttonstates. Screens that are never shown together share bytes.
enum : int32_t {
    BUTTON_CREDITSRETURN = 0,
    BUTTON_ERROROK = 9,
    BUTTON_MENU = 24,                   // the in-game menu's three buttons, 24..26
    BUTTON_OPTIONS = 24,                // the options' six buttons, 24..29
    BUTTON_NAMEQUIT = 26,
    BUTTON_PREFERENCES = 33,
    BUTTON_ENDTURN = 45,
    BUTTON_ENDTURNCANCEL = 46,
    BUTTON_SHOWNAMES = 55,
    BUTTON_NAMEACCEPT = 62,
    BUTTON_WAITCANCEL = 91,
    BUTTON_STARTGAME = 94,
    BUTTON_LEAVE = 120,                 // the lobby's "Cancel" / "Leave Game", the address entry's and the connecting screen's "Cancel"
    BUTTON_DIALOGTOP = 143,             // the update dialog's "Continue", the quit dialog's "Quit"
    BUTTON_DIALOGBOTTOM = 144,          // both dialogs' "Cancel"
    BUTTON_MONEY = 162,                 // the five starting-money buttons, 162..166
    BUTTON_CONNECT = 187,
    BUTTON_VICTORYOK = 199,
};

// Looks: a pair of button pictures and a pair of caption colours (normal, under the mouse).
enum : int32_t { BUTTONLOOKS = 3 };

// A button's action: (a1, a2) as the screen gave them. True would stop the screen's drawing for this
// frame; every callback of the game returns false.
typedef bool (*ButtonCallback)(int32_t, int32_t);

extern uint8_t buttonstates[BUTTONCOUNT];

bool CreateButtons();                       // start-up: every button idle; false

// One frame of a 200 x 50 text button at (x, y) in look 0..2 (another look is drawn as look 0). A press
// inside it plays "GSButton" once and shows it pressed; a release inside it plays "GSOK" and calls
// callback(a1, a2) before the screen goes on, then waits for the mouse button to be up; a release
// outside cancels the click. state is the button's byte. True only when the callback returned true
// (nothing is drawn then).
bool DrawTextButton(int32_t x, int32_t y, std::string_view text, ButtonCallback callback, int32_t a1, int32_t a2,
                    uint8_t& state, int32_t look);
