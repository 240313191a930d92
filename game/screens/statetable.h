// The screen states' frames: one function per state, found by the state's number.
//
// Each state draws and presents its own picture and handles its own input; the frames are kept in
// files by screen group (intro, menu, join, lobby, setup, warlord, shop, deploy, turn, summary,
// options, help, credits), and statetable.cpp holds the one table from number to frame.
#pragma once
#include <cstdint>

// One frame of a state. True when the frame ends at once: the Esc keys and the computer player's
// step are skipped this frame.
typedef bool (*StateFrame)();

StateFrame FrameOfState(int32_t state);     // null for a number without a case (and any outside 0..GAME_LASTSTATE)
