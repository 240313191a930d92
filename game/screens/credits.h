// The credits: the back picture slides away, then who made the game and where its parts come from.
//
// The names under each role and the lines about the sources are content: numbered strings of the
// string module (content/strings/credits.txt).
#pragma once
#include <cstdint>

enum : uint32_t {
    STR_CREDITNAMES = 63300,            // + 100 x role + j: the j-th name under role 0..3
    STR_CREDITSOURCES = 63700,          // + j: the j-th line about the game's sources
};
enum : int32_t { CREDITROLES = 4, MAXCREDITNAMES = 7, MAXCREDITSOURCES = 4 };

bool CreditsOpenFrame();    // GAME_CREDITSOPEN: the slide begins
bool CreditsFadeFrame();    // GAME_CREDITSFADE: the back picture slides out to the right
bool CreditsFrame();        // GAME_CREDITS: the credits, and "Return"
