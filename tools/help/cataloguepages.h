// The pages made from the catalogue, one per unit type, warlord, guard, summoned creature, spell and
// ability, in catalogue order.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "manual.h"
#include "pages.h"

enum TypeKind { TYPE_NONE, TYPE_UNIT, TYPE_WARLORD, TYPE_GUARD, TYPE_SUMMONED };

TypeKind KindOfType(int32_t type);                  // TYPE_NONE for a nameless row (a warlord's bonus rows)
std::string SpellDisplayName(int32_t index);        // of an index of spells
std::string AbilityDisplayName(int32_t index);      // of an index of abilities

// The pages of every type of that kind; false when one lacks its text in creatures.txt.
bool CreaturePages(TypeKind kind, const Manual& manual, std::vector<HelpPage>& pages, std::string& error);
void SpellPages(std::vector<HelpPage>& pages);      // one per spell
void AbilityPages(std::vector<HelpPage>& pages);    // one per ability
