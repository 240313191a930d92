// What the computer player remembers between the steps of a neutral unit's turn. The host plays the
// neutral side one step a frame, so the unit's choices so far are kept here.
#pragma once
#include <cstdint>
#include <vector>

// compaction: the attack, a spell slot 0..4 of the unit, or nothing the unit can do.
enum : int32_t { ACTION_ATTACK = -1, ACTION_NONE = -2 };
// Between two steps that found targets at least this long passes, while anybody watches.
enum : uint32_t { COMPSTEPMS = 250 };
// No unit takes more steps in one turn: a safety net (a unit usually needs a dozen).
enum : int32_t { MAXUNITSTEPS = 64 };

extern std::vector<int32_t> blockedtargets; // ids the acting unit gave up on this turn
extern int32_t compplayer, compunit;        // the acting unit (player index, unit index); -1, -1 none
extern int32_t compunitid;                  // its id: it is found again by it after units were removed
extern std::vector<int32_t> compearlier;    // ids of the units before it in its side's list, at its last step
extern uint8_t compactive;                  // its turn is under way
extern int32_t comptarget;                  // the remembered random target's id; -1 none
extern int32_t compaction;                  // the action chosen at the last step
extern uint8_t compwaiting;                 // a step found targets: the next waits COMPSTEPMS
extern uint32_t compsteptime;               // the tick of that step
extern int32_t pureactionrange;             // the chosen action's reach without moving
extern int32_t compsteps;                   // steps the acting unit took this turn
extern uint32_t refusedactions;             // bit 2^slot: that spell was refused this turn

// The turn states hand the computer player its next unit: what it remembered of the last one is
// forgotten (the pacing carries over).
void BeginComputerUnit();
void ResetComputerPlayer();                 // everything back to its start value (tests)

// The acting unit gives up on the target (a unit id): it is not chosen again this turn.
void BlockTarget(int32_t id);
// The acting unit's turn is over: the turn states pick the next unit.
void EndComputerUnit();
