// The shipped string module, loaded once through the game's own catalogue code, and what the
// checks of the content need to read it: raw texts, strict numbers, and which kind each type is.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

// Loads ${GORV_DIST}/Tessarine.dll with LoadGameText (once per program); false when it failed.
bool LoadShippedCatalogue();
const std::string& CatalogueLoadLog();      // the debug-log lines written while loading

std::string RawString(uint32_t id);         // the whole text of string id, not cut; "" when missing
bool HasString(uint32_t id);                // the module holds a non-empty string id
// The number in string id; a text that is not exactly a decimal integer fails the running test.
int32_t StrictNumber(uint32_t id);

// The names of a power list (without checking them against the tables); 'ended' tells whether a ';'
// closed it.
std::vector<std::string> PowerNames(const std::string& list, bool* ended);

// What each unit type 1..N is, by the catalogue's lists and flags.
enum TypeKind { KIND_BUYABLE, KIND_WARLORD, KIND_WARLORDROW, KIND_NEUTRAL, KIND_SUMMONED, KIND_SETUPFORM, KIND_UNKNOWN };
TypeKind KindOfType(int32_t type);
bool IsRealType(int32_t type);              // a type units can be made of (not a warlord's bonus row)
std::vector<int32_t> RealTypes();
bool IsSummonFlag(char c);

int32_t SpellNamed(const std::string& name);    // table index, -1 when none
int32_t AbilityNamed(const std::string& name);  // table index, -1 when none
bool TypeHasPower(int32_t type, const char* name);  // the list string type+900 names it

// The names the game's handlers are bound to, and the abilities only the unit panel looks up.
extern const std::vector<std::string> boundspellnames;
extern const std::vector<std::string> boundabilitynames;
extern const std::vector<std::string> panelabilitynames;
// The creature names the summoning spells create by.
extern const std::vector<std::string> summonednames;

// Every check of the content starts from the loaded catalogue.
class Shipped : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(LoadShippedCatalogue()) << CatalogueLoadLog(); }
};
