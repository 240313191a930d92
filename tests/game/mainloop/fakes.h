// Stand-ins for the calls of the main loop and the window procedure, recording what was called.
#pragma once
#include <functional>
#include <string>
#include <vector>

extern std::vector<std::string> calls;          // names of the calls, in order
extern bool startfails;                         // StartGame reports failure
extern int modesthatfail;                       // how many display depths (from 32 down) fail
extern int localplayer;                         // what YouToInt answers
extern std::function<void(int)> onscreen;       // run by RunScreen with the pass number (1, 2, ...)
extern std::function<void()> onsocket;          // run by HandleSocketEvent

void ResetFakes();
