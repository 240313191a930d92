// libFuzzer target: arbitrary text as the numbered strings of "Tessarine.dll", one "<id><TAB><text>"
// a line as content/strings/ writes them, from which start-up builds the catalogue: the unit-type
// lists, the spell and ability tables with their handlers bound by name, the tuning numbers; then
// every unit type's and upgrade's power list and the version text, as the game reads them later.
#include <cstddef>
#include <cstdint>
#include <string>

#include "game/magic/binding.h"
#include "game/model/catalogue.h"
#include "game/model/powers.h"
#include "game/model/version.h"
#include "tests/game/support/world.h"
#include "textparts.h"

namespace {

// The lines that hold a decimal id, a tab and a text; the others are left out.
TestStrings ReadStrings(const std::string& text)
{
    TestStrings strings;
    for (const std::string& line : SplitText(text, "\n")) {
        const size_t tab = line.find('\t');
        if (tab == 0 || tab == std::string::npos || tab > 10 ||
            line.find_first_not_of("0123456789") != tab)
            continue;
        const unsigned long long id = std::stoull(line.substr(0, tab));
        if (id <= UINT32_MAX)
            strings[(uint32_t)id] = line.substr(tab + 1);
    }
    return strings;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!LoadTestStrings(ReadStrings(std::string((const char*)data, size))) && !CreateSpells()) {
        int32_t spells[MAXSPELLS], powers[MAXABILITIES];
        for (int32_t type = 1; type <= unittypecount && type <= MAXCATALOGUEINDEX; type++) {
            GetUnitPowers(type, spells, powers);
            AddUnitPowers(type + 10000, spells, powers);
            AddUnitPowers(type + 20000, spells, powers);
        }
        GetVersionText();
    }
    UnloadTestStrings();
    return 0;
}
