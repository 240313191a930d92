// Checks of received field values, shared by the handlers: each logs its "ERROR: " line on failure.
#pragma once
#include <cstdint>
#include <string>

#include "game/model/queries.h"

bool CheckPlayer(int32_t index, const char* error);         // true when index names a record in p
bool CheckUnit(int32_t id, UnitRef* found, const char* error); // true when some unit has that id
bool CheckSquare(int32_t x, int32_t y, const char* error);  // true when (x, y) lies on the map
bool CheckSpell(int32_t spell, const char* error);          // true when spell indexes the spell table
bool CheckUnitType(int32_t type, const char* error);        // true when type is a catalogue unit type
bool CheckFields(bool bad, const char* kind);               // true when every field could be read
std::string CleanName(const std::string& name);             // cut to a record's name field, unprintables as '?'
void NotBuiltYet(const char* what);                         // logs that the rule a message needs is still to come
std::string CleanChat(const std::string& line);             // control characters as '?'
