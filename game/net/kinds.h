// The 31 message kinds: the character that starts each body, who may send it, and how long it may be.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

enum : char {
    MSG_CONNECT = '{',
    MSG_VERSION = '$',
    MSG_CREATEPLAYER = '*',
    MSG_DROPPLAYER = '}',
    MSG_CHAT = 'a',
    MSG_SETGS = 'q',
    MSG_STOP = 'z',
    MSG_MAPDATA = '@',
    MSG_WORLDTYPE = '-',
    MSG_WARLORDSELECTED = 'w',
    MSG_CREATEUNIT = '/',
    MSG_DEPLOYUNIT = '_',
    MSG_BEGINNEXTTURN = '^',
    MSG_NEXTTURN = 'n',
    MSG_ADVANCEDAY = 'b',
    MSG_MOVEREQUEST = 'f',
    MSG_MOVE = '#',
    MSG_NEXTUNIT = '.',
    MSG_UPGRADEUNIT = '!',
    MSG_ATTACKREQUEST = '?',
    MSG_ATTACK = 'k',
    MSG_SPELLREQUEST = 'i',
    MSG_CASTSPELL = '[',
    MSG_RESIST = 'x',
    MSG_GAMESETTING = '1',
    MSG_KILLUNIT = '`',
    MSG_ADDEXPERIENCE = '%',
    MSG_DONESHOPPING = '&',
    MSG_WINNER = '(',
    MSG_SETMONEY = ')',
    MSG_FORCESETMONEY = 'e',
};

// Where a received message came from; each kind lists the sources it is taken from.
enum : uint8_t {
    FROM_HOST = 1,          // a client hears it from the host
    FROM_CLIENT = 2,        // the host hears it from a joined player
    FROM_PENDING = 4,       // the host hears it from a connection that has not joined yet
};

// A received message: its text from the kind character on (length byte and ';' removed) and its source.
struct Incoming {
    const std::string& text;
    int32_t socket;         // the connection it came on
    int32_t sender;         // host: index of the sending player, -1 for a pending connection; client: -1
};

typedef void (*MessageHandler)(const Incoming& in);

struct KindRule {
    char kind;
    const char* name;       // for the log
    uint8_t from;           // FROM_ sources taken
    uint8_t minlength;      // text length, kind character included
    uint8_t maxlength;
    MessageHandler handler;
};

extern const KindRule kindrules[];
extern const size_t kindrulecount;          // 31
const KindRule* FindKindRule(char kind);    // null for a character that names no kind
