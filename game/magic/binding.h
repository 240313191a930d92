// Binding: at start-up every spell record gets its effect handler and, by its target kind, its
// target test, and every ability record its handler, each found by the record's internal name.
// Nothing changes them afterwards.
#pragma once
#include <cstdint>

#include "game/model/catalogue.h"

struct SpellBinding {
    const char* name;                   // internal name of the spell record
    SpellHandler handler;
};
struct AbilityBinding {
    const char* name;
    AbilityHandler handler;
};

extern const SpellBinding spellbindings[];      // in binding order
extern const int32_t spellbindingcount;         // 60
extern const AbilityBinding abilitybindings[];  // in binding order ("Explosive" and "Unstable" share one)
extern const int32_t abilitybindingcount;       // 31

// What a record holds before it is bound, or when no binding names it.
bool DefaultSpell(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);        // nothing; true
int32_t DefaultAbility(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);   // nothing; 0

// Start-up step 10: fills the defaults into every record, then binds every spell and ability of the
// tables above. A name no record bears costs a log line. Always false (success).
bool CreateSpells();
// The first spell record named exactly name gets handler and the test of its target kind; true (and
// a log line) when no record has that name.
bool BindSpell(const char* name, SpellHandler handler);
bool BindAbility(const char* name, AbilityHandler handler);   // the same for the ability records
