// One game process of the multi-process test: a host or a client, played by a script in place of the
// screens, that records the game state's digest at every checkpoint.
//
// Checkpoints: only the host starts one, as the chat line "#sync N", once the last confirmed action is
// complete on every machine (after its own action, after a client's "#done", after a player left, at
// the day's first turn); it records its digest as it sends the line, each client as the line arrives.
// A client that acted says "#done" once the host's answer is applied here; a player whose turn begins
// waits for the checkpoint before he acts, so no machine changes the state while one is under way.
//
// Events: each process also writes "event NAME" once for each event of the game it saw happen; the run
// requires these, and the script brings about those chance may not bring: "resist" (a cast resisted:
// until one was, the host's draws are set so a cast at a target that can resist does), "winrefused" (Ann claims
// the win at the start of a turn while others still have armies), "leftinturn" (Bo leaves during his own
// turn), "upgrade" and "kill".
#pragma once
#include <cstdint>
#include <string>

enum Role { ROLE_HOST = 0, ROLE_ANN = 1, ROLE_BO = 2 };

struct Script {
    Role role = ROLE_HOST;
    bool finished = false;          // the game ended for this process (victory seen, or it left)
    bool failed = false;
    // Checkpoints.
    int32_t synccount = 0;          // host: checkpoints started
    int32_t syncsseen = 0;          // checkpoints recorded here
    bool syncpending = false;       // host: start a checkpoint at the next pass
    bool awaitdone = false;         // host: a client ended his turn; his "#done" is still to come
    bool mustwaitsync = false;      // client: a turn or the day's end began; wait for its checkpoint
    bool awaitsync = false;         // client: said "#done"; wait for the checkpoint
    bool waitingconfirm = false;    // client: a request went out; its answer is still to come
    bool needdone = false;          // client: say "#done" once the answer is here
    int32_t confirmkind = 0;        // the message kind that answers the request
    int32_t confirmid = -1;         // ... and the unit it names ('#' and '_')
    int32_t chatsheard = 0;         // host: lobby chat lines from the clients; clients: Ann's
    bool chatted = false;
    int32_t moves = 0;              // steps the local player's units took
    bool victory = false;
    int32_t victorysync = -1;       // host: the last checkpoint, after the victory
    int32_t syncsatvictory = 0;     // checkpoints recorded here when the victory was seen
    std::string winner;
    bool resisted = false;          // a resisted cast was seen here
    bool claimed = false;           // Ann: she has made her false win claim
};

extern Script script;

void ScriptStep();                  // one pass of the scripted player: what the screens' frame would do
// Host: the generator's next draw becomes 1, which every resistance of 1 or more resists: until a cast
// was resisted, before each pass of a client's turn and before the host's own cast at such a target.
void NextDrawResists();
void ObserveMessage(const std::string& text, int32_t sender);  // every message applied here
void StartCheckpoint();             // host: records and sends the next "#sync N"
void RecordCheckpoint(int32_t n);   // writes "n digest" to the output
void RecordEvent(const std::string& name);  // writes "event name" to the output, once per name
void ObserveEvents(const std::string& text);    // notes the events a message applied here shows
void Note(const std::string& line); // a progress line on stderr, prefixed with the role
