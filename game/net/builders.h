// One builder per message kind: each returns the whole body (kind character, fields, ';') ready for
// SendToPlayer, or "" when a field cannot travel (a zero byte, a number out of its coding's range),
// which SendToPlayer then refuses. Ids are unit ids, x and y squares on the map, players indexes in p.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum { NAMECHARS = 10 };                    // longest player name on the wire
enum : uint8_t { COMPUTERNAME = 0xFF };     // the name field of the computer player's '*'

std::string BuildConnect(const int32_t version[4], const std::string& name);
std::string BuildVersion(const int32_t version[4]);
std::string BuildCreatePlayer(int32_t newest, int32_t created, const std::string& name);
std::string BuildCreateComputerPlayer(int32_t newest, int32_t created);
std::string BuildDropPlayer(int32_t player);
std::string BuildChat(int32_t from, int32_t to, const std::string& line);   // line cut to fit one frame
std::string BuildSetGs(int32_t state);
std::string BuildStop();
std::string BuildMapData(int32_t size, int32_t row, const std::vector<uint8_t>& squares); // row 0-based; square bytes 1..255
std::string BuildWorldType(int32_t type);
std::string BuildWarlordSelected(int32_t player, int32_t warlord, int32_t id);
std::string BuildCreateUnit(int32_t player, int32_t type, int32_t id, int32_t x, int32_t y);
std::string BuildDeployUnit(int32_t player, int32_t type, int32_t id, int32_t x, int32_t y);
std::string BuildBeginNextTurn(int32_t player);
std::string BuildNextTurn(int32_t player);
std::string BuildAdvanceDay();
std::string BuildMoveRequest(int32_t id, int32_t x, int32_t y);
std::string BuildMove(int32_t id, int32_t x, int32_t y);
std::string BuildMoveWithExperience(int32_t id, int32_t x, int32_t y, int32_t experience); // experience clamped to 0..205; unread
std::string BuildNextUnit(int32_t id);
std::string BuildUpgradeUnit(int32_t id);
std::string BuildAttackRequest(int32_t attacker, int32_t target);
std::string BuildAttack(int32_t attacker, int32_t target, const int32_t masks[4]);  // masks 0..31
std::string BuildSpellRequestAtUnit(int32_t caster, int32_t target, int32_t spell); // spell: index in spells
std::string BuildSpellRequestAtSquare(int32_t caster, int32_t x, int32_t y, int32_t spell);
std::string BuildCastSpellAtUnit(int32_t caster, int32_t target, int32_t spell, int32_t kind);
std::string BuildCastSpellAtSquare(int32_t caster, int32_t x, int32_t y, int32_t spell, int32_t kind);
std::string BuildResist(int32_t target, int32_t caster, int32_t spell);
std::string BuildGameSetting(bool shownames);
std::string BuildKillUnit(int32_t id, int32_t killer);
std::string BuildAddExperience(int32_t id, int32_t amount);    // amount 0..127 (larger gains go in several)
std::string BuildDoneShopping();
std::string BuildWinner(int32_t player);
std::string BuildSetMoney(int32_t fifths);  // the starting money / 5, 1..255
std::string BuildForceSetMoney(int32_t player, int32_t gold);
