#include "game/net/dispatch.h"

#include "game/model/state.h"
#include "game/net/droplog.h"
#include "game/net/frame.h"
#include "game/net/handlers.h"
#include "game/net/kinds.h"
#include "game/net/link.h"
#include "game/shell/debuglog.h"
#include "platform/socket.h"

namespace {

enum { TEXTMAX = MAXBODY - 1 };         // a message's text: a frame without its length byte and ';'

MessageObserver observer = nullptr;

} // namespace

// clang-format off
const KindRule kindrules[] = {
    {MSG_CONNECT,         "CONNECT",         FROM_PENDING,            5, TEXTMAX, HandleConnect},
    {MSG_VERSION,         "VERSION",         FROM_HOST,               5, 5,       HandleVersion},
    {MSG_CREATEPLAYER,    "CREATEPLAYER",    FROM_HOST,               3, TEXTMAX, HandleCreatePlayer},
    {MSG_DROPPLAYER,      "DROPPLAYER",      FROM_HOST,               2, 2,       HandleDropPlayer},
    {MSG_CHAT,            "CHAT",            FROM_HOST | FROM_CLIENT, 3, TEXTMAX, HandleChat},
    {MSG_SETGS,           "SETGS",           FROM_HOST,               2, 2,       HandleSetGs},
    {MSG_STOP,            "STOP",            FROM_CLIENT,             1, 1,       HandleStop},
    {MSG_MAPDATA,         "MAPDATA",         FROM_HOST,               3, TEXTMAX, HandleMapData},
    {MSG_WORLDTYPE,       "WORLDTYPE",       FROM_HOST,               2, 2,       HandleWorldType},
    {MSG_WARLORDSELECTED, "WARLORDSELECTED", FROM_HOST | FROM_CLIENT, 5, 5,       HandleWarlordSelected},
    {MSG_CREATEUNIT,      "CREATEUNIT",      FROM_HOST,               7, 7,       HandleCreateUnit},
    {MSG_DEPLOYUNIT,      "DEPLOYUNIT",      FROM_HOST | FROM_CLIENT, 7, 7,       HandleDeployUnit},
    {MSG_BEGINNEXTTURN,   "BEGINNEXTTURN",   FROM_CLIENT,             2, 2,       HandleBeginNextTurn},
    {MSG_NEXTTURN,        "NEXTTURN",        FROM_HOST,               2, 2,       HandleNextTurn},
    {MSG_ADVANCEDAY,      "ADVANCEDAY",      FROM_HOST,               1, 1,       HandleAdvanceDay},
    {MSG_MOVEREQUEST,     "MOVEREQUEST",     FROM_CLIENT,             5, 5,       HandleMoveRequest},
    {MSG_MOVE,            "MOVE",            FROM_HOST,               5, 6,       HandleMove},
    {MSG_NEXTUNIT,        "NEXTUNIT",        FROM_HOST | FROM_CLIENT, 3, 3,       HandleNextUnit},
    {MSG_UPGRADEUNIT,     "UPGRADEUNIT",     FROM_HOST,               3, 3,       HandleUpgradeUnit},
    {MSG_ATTACKREQUEST,   "ATTACKREQUEST",   FROM_CLIENT,             5, 5,       HandleAttackRequest},
    {MSG_ATTACK,          "ATTACK",          FROM_HOST,               9, 9,       HandleAttack},
    {MSG_SPELLREQUEST,    "SPELLREQUEST",    FROM_CLIENT,             6, 7,       HandleSpellRequest},
    {MSG_CASTSPELL,       "CASTSPELL",       FROM_HOST,               7, 7,       HandleCastSpell},
    {MSG_RESIST,          "RESIST",          FROM_HOST,               6, 6,       HandleResist},
    {MSG_GAMESETTING,     "GAMESETTING",     FROM_HOST,               2, 2,       HandleGameSetting},
    {MSG_KILLUNIT,        "KILLUNIT",        FROM_HOST,               4, 4,       HandleKillUnit},
    {MSG_ADDEXPERIENCE,   "ADDEXPERIENCE",   FROM_HOST | FROM_CLIENT, 4, 4,       HandleAddExperience},
    {MSG_DONESHOPPING,    "DONESHOPPING",    FROM_HOST | FROM_CLIENT, 1, 1,       HandleDoneShopping},
    {MSG_WINNER,          "WINNER",          FROM_HOST | FROM_CLIENT, 2, 2,       HandleWinner},
    {MSG_SETMONEY,        "SETMONEY",        FROM_HOST,               2, 2,       HandleSetMoney},
    {MSG_FORCESETMONEY,   "FORCESETMONEY",   FROM_HOST,               3, 13,      HandleForceSetMoney},
};
// clang-format on
const size_t kindrulecount = sizeof kindrules / sizeof kindrules[0];

const KindRule* FindKindRule(char kind)
{
    for (const KindRule& rule : kindrules)
        if (rule.kind == kind)
            return &rule;
    return nullptr;
}

namespace {

// The rule of a message its source may send, at that length; null when refused (and logged).
const KindRule* CheckMessage(const std::string& text, int32_t socket, int32_t* sender)
{
    const std::string what = " g=" + LogText(text) + '\n';
    const KindRule* const rule = text.empty() ? nullptr : FindKindRule(text[0]);
    if (!rule) {
        LogDrop(socket, "unknown kind", "ERROR: Couldn't interpret this message." + what);
        return nullptr;
    }
    // The first thing a joining client hears is the join's answer; until then nothing else counts.
    if (!ishost && !joinanswered) {
        if (rule->kind != MSG_CREATEPLAYER && rule->kind != MSG_VERSION) {
            LogDrop(socket, "early", std::string("ERROR: ") + rule->name + " message before the answer to the join; ignored." + what);
            return nullptr;
        }
        joinanswered = 1;
    }
    uint8_t source = 0;
    *sender = -1;
    if (!ishost) {
        if (socket != NO_SOCKET && socket == mainsocket)
            source = FROM_HOST;
    } else if ((*sender = PlayerOfSocket(socket)) >= 0) {
        source = FROM_CLIENT;
    } else if (IsPendingSocket(socket)) {
        source = FROM_PENDING;
    }
    if (!(rule->from & source)) {
        LogDrop(socket, std::string(rule->name) + " sender",
                std::string("ERROR: ") + rule->name + " message from a sender that may not send it (socket "
                    + std::to_string(socket) + "); ignored." + what);
        return nullptr;
    }
    if (text.size() < rule->minlength || text.size() > rule->maxlength) {
        LogDrop(socket, std::string(rule->name) + " length",
                std::string("ERROR: ") + rule->name + " message of " + std::to_string(text.size()) + " bytes; expected "
                    + std::to_string(rule->minlength) + ".." + std::to_string(rule->maxlength) + ". Ignored." + what);
        return nullptr;
    }
    return rule;
}

void RunMessage(const KindRule& rule, const std::string& text, int32_t socket, int32_t sender)
{
    EndDrops(socket);       // a run of refusals ends with a message taken
    debuglog << "ProcessMessage: g=" << LogText(text) << '\n';
    rule.handler(Incoming{text, socket, sender});
    if (observer)
        observer(text, sender);
}

} // namespace

void DoMessage(const std::string& frame, int32_t socket, intptr_t)
{
    const char* why = nullptr;
    if (!FrameIsSound(frame, &why)) {
        // The length byte cut the frame, so a frame not ending in ';' means the sender is broken:
        // whatever its fields say cannot be trusted.
        LogDrop(socket, "broken frame",
                std::string("ERROR: Incomplete message or data stream!  Possible instability ahead. (") + why
                    + ") g=" + LogText(frame) + '\n');
        return;
    }
    // Only frames that are taken are traced: a peer repeating a refused one adds nothing to the log.
    const std::string text = frame.substr(1, frame.size() - 2);
    int32_t sender = -1;
    if (const KindRule* const rule = CheckMessage(text, socket, &sender)) {
        debuglog << "DoMessage: g=" << LogText(frame) << '\n';
        RunMessage(*rule, text, socket, sender);
    }
}

void ProcessMessage(const std::string& text, int32_t socket, intptr_t)
{
    int32_t sender = -1;
    if (const KindRule* const rule = CheckMessage(text, socket, &sender))
        RunMessage(*rule, text, socket, sender);
}

void SetMessageObserver(MessageObserver watch)
{
    observer = watch;
}
