// The string module "Tessarine.dll" and the cache of its numbered strings. Every text read stays in
// the cache, at the same address, until the module is unloaded at shutdown.
#pragma once
#include <cstdint>

struct Module;

extern Module* stringmodule;            // null while not loaded

bool LoadStringModule();                // true on failure (logged)
void UnloadStringModule();              // frees every cached text and the module (logged)

const char* GetString(uint32_t id);     // text of string id, "" when the module lacks it; cut to 499 characters
int32_t GetResNumber(uint32_t id);      // the decimal number at the start of string id, 0 for none
const char* GetResString(uint32_t id);  // the same as GetString
