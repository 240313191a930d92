// The game's listener to the rules: what they announce, shown through the view, the sounds and the
// screens (game/model/announce.h).
#pragma once

void ShowRulesOnScreen();               // from now on the rules' announcements are shown and heard
