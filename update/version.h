// The installed version: four decimal strings in the string module, packed into one number.
#pragma once
#include <cstdint>
#include <string>

constexpr const char* VERSIONMODULE = "tessarine.dll";    // the string module that carries the version
constexpr uint32_t STR_VERSION = 63210;                    // the four parts, highest first

extern uint32_t currentversion;         // the installed version, packed
extern std::string currentversiontext;  // "Current Version:" and the four parts as written

int32_t LeadingInt(const std::string& text);                    // atoi's reading, saturated to 32 bits
uint32_t AddVersionPart(uint32_t version, int32_t part, int i); // adds part i (0: highest) shifted into place; carries
// Reads the version from the module: true on failure (missing or malformed module), leaving 0 and the bare caption.
bool LoadVersion(const char* modulename, uint32_t* version, std::string* text);
constexpr const char* MSG_REPAIR =
    "Error: Unable to initialize Tessarine engine.\n\nThe game's files are damaged: press Update to repair them.";
// Fills the two globals from VERSIONMODULE; a failure is shown (MSG_REPAIR), reads as 0.0.0.0 and is true.
bool ReadCurrentVersion();
