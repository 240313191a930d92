// A digest of the game state every machine of a game shares, to compare host and clients.
#pragma once
#include <cstdint>

// Covers the players and their units, the map squares and the game counters. Left out is what each
// machine keeps for itself: fog marks, range marks, pictures, sockets, record stamps, the shop, the
// ready flags, hotkeys, and the camp numbers and alerts of guards (the host's alone); and the acting
// unit, which each machine chooses its own way. A player's gold counts the units he bought and has not
// deployed yet (his machine has charged them, the others have not), and the day phase counts the
// host's "day over" (-1) as morning.
uint64_t GameStateDigest();
