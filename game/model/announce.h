// What the rules tell whoever shows the game: a feed line, a sound, an effect, a changed picture, a
// screen to go to. The rules say what happened and go on; how (and whether) it is shown, and any wait
// that showing it takes, is the listener's. The game's screens install theirs at start; until then, and
// in the rules' tests, a listener that does nothing (or one that records) hears it.
#pragma once
#include <cstdint>
#include <string>

enum : uint32_t { FEEDWHITE = 0xFFFFFF };   // colour of almost every feed line (COLORREF)

struct Announcer {
    // A line for a player's message feed; shown only to the local player.
    void (*feed)(int32_t player, const std::string& text, uint32_t colour, int32_t delay);
    void (*sound)(const std::string& name);         // a sound effect (".\\Sound\\GSGold.wav")
    // An effect animation: kind 3 or less plays on unit b of player a, 4 or more on square (a, b);
    // clipped stretches it to three squares across. Showing it holds the game until it is done.
    void (*effect)(int32_t a, int32_t b, int32_t kind, int32_t first, uint8_t reverse, uint8_t clipped);
    void (*damage)(int32_t player, int32_t unit, int32_t number);   // the damage figure over a unit, held a moment
    void (*pause)(uint32_t ms);                     // the game holds what is shown for a moment
    void (*picture)(int32_t player, int32_t unit);  // what the unit's picture shows changed
    void (*pictures)();                             // every unit's picture may have changed
    void (*unitgone)(int32_t id);                   // the unit with that id left the game
    void (*minimap)(int32_t viewer);                // the minimap's units or squares changed
    void (*board)();                                // squares on the board changed
    void (*centre)(int32_t x, int32_t y);           // the view moves to the square
    void (*follow)(int32_t x, int32_t y);           // the view follows the square, when the player lets it
    void (*commanddone)();                          // the local player's attack or spell is over
    void (*yourturn)();                             // the local player's turn began
    void (*error)(const std::string& title, const std::string& text, int32_t next);  // a failure to acknowledge
    void (*gameleft)();                             // the local player left the game
};

extern const Announcer* announcer;      // never null
extern const Announcer silentannouncer; // hears everything and does nothing

void ListenToRules(const Announcer* listener);  // null: the silent one

inline void AnnounceFeed(int32_t player, const std::string& text, uint32_t colour = FEEDWHITE, int32_t delay = 0)
{
    announcer->feed(player, text, colour, delay);
}
inline void AnnounceSound(const std::string& name) { announcer->sound(name); }
inline void AnnounceEffect(int32_t a, int32_t b, int32_t kind, int32_t first, uint8_t reverse = 0, uint8_t clipped = 0)
{
    announcer->effect(a, b, kind, first, reverse, clipped);
}
inline void AnnounceDamage(int32_t player, int32_t unit, int32_t number) { announcer->damage(player, unit, number); }
inline void AnnouncePause(uint32_t ms) { announcer->pause(ms); }
inline void AnnouncePicture(int32_t player, int32_t unit) { announcer->picture(player, unit); }
inline void AnnouncePictures() { announcer->pictures(); }
inline void AnnounceUnitGone(int32_t id) { announcer->unitgone(id); }
inline void AnnounceMinimap(int32_t viewer) { announcer->minimap(viewer); }
inline void AnnounceBoard() { announcer->board(); }
inline void AnnounceCentre(int32_t x, int32_t y) { announcer->centre(x, y); }
inline void AnnounceFollow(int32_t x, int32_t y) { announcer->follow(x, y); }
inline void AnnounceCommandDone() { announcer->commanddone(); }
inline void AnnounceYourTurn() { announcer->yourturn(); }
inline void AnnounceError(const std::string& title, const std::string& text, int32_t next)
{
    announcer->error(title, text, next);
}
inline void AnnounceGameLeft() { announcer->gameleft(); }
