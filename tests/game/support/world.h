// Test worlds for the rules: a catalogue from numbered strings held in memory, players and units on a
// blank map, and one process playing a host and a client in turn (machines.h).
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "game/model/records.h"

typedef std::map<uint32_t, std::string> TestStrings;

// A small catalogue to start from (tests add or change entries):
//   type 1 "Soldier": attack 3, life 10, moves 3, range 1, actions 2, mana 1, stealth 0, resist 0;
//     threshold 100; its upgrade (10001 "Veteran Soldier") adds 2, 5, 1, 0, 1, 1, 0, 1 and "Tough";
//     the next one (20001 "Elite Soldier") adds 1 to each stat.
//   type 2 "Warlord" (flag '~'): life 20, moves 2, actions 2, threshold 50.
//   type 3 "Imp": life 4, moves 4, actions 1, threshold 30.
//   abilities 1 "Flying" (kind 4), 2 "Poison" (kind 1), 3 "Tough" (kind 7).
//   sight: day 30, night 20; exploration divisor 2; hurt sound of every type "Hurt3.wav".
TestStrings StandardTestStrings();
// Adds unit type type to the strings: its name, base stats, flag string and upgrade threshold, the
// picture cell of its number, no powers, hurt sound 3.
void AddTestType(TestStrings& s, int32_t type, const char* name, const int32_t (&stats)[NUMSTATS], int32_t threshold,
                 const char* flags);
// The strings as the bytes of a module file (the format of common/module.h).
std::vector<uint8_t> StringModuleBytes(const TestStrings& strings);
// Opens the strings as the string module and builds the catalogue from them; true on failure.
bool LoadTestStrings(const TestStrings& strings);
void UnloadTestStrings();               // the module, its cache and the catalogue gone

enum : int32_t { TESTHOSTSOCKET = 90, TESTSOCKETBASE = 100 };

// A fresh game state: humans players named "P0".."Pn" (player 0 hosts), the neutral "Unaligned" when
// neutral is set, a blank size x size map (open ground, no claims, no light overrides, nothing seen),
// this machine the host and player 0 its local player. Sound off, names shown, nothing queued.
void MakeWorld(int32_t humans, int32_t size, bool neutral = true);
// This machine as the host, playing local; the other humans reach it on TESTSOCKETBASE + index.
void BecomeHost(int32_t local);
// This machine as a client, playing local; the host is at TESTHOSTSOCKET.
void BecomeClient(int32_t local);
// A unit of type for player at (x, y), with its type's base stats (from the loaded strings), full
// moves, actions and life, a new id (its own experience receiver) and no camp. Its index.
int32_t AddTestUnit(int32_t player, int32_t x, int32_t y, int32_t type = 1);
