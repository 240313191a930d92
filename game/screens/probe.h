// What a test driving the headless program through its control channel may read of it, as a person
// reads the screen: one line of "key=value" words. Only reads; nothing here changes the game.
//
//   gs, you, cp, cu, holder, phase, day     the screen state, the local player's index, the current
//                                           player and unit, the turn holder, the day phase and count
//   players, units, gold, warlords          records in p, the local player's units and gold, warlord types
//   digest, queue                           the game state's digest (hex), frames waiting to be sent
//   winner                                  the winner's name (victory screen)
// and where a player would click or which key he would press (screen pixels, "x,y"):
//   cheapest                                the shop: the cheapest unit type he can pay for
//   legal                                   deployment: a square the selected unit may be placed on
//   target                                  unit turn: an enemy the acting unit may attack
//   spell, spelltarget                      unit turn: a usable spell's icon, and an enemy it may take
//   step                                    unit turn: L, R, U or D towards the nearest enemy army
//   warlord                                 unit turn: 1 when the acting unit is the warlord
#pragma once
#include <string>

std::string ProbeLine();
