// A digest of the game state every machine of a game shares, to compare host and clients.
#pragma once
#include <cstdint>

// Covers the players and their units, the map squares and the game counters. Left out is what each
// machine keeps for itself: fog marks, range marks, pictures, sockets, record stamps, the shop, the
// ready flags, hotkeys, and the camp numbers and alerts of guards (the host's alone).
uint64_t GameStateDigest();
