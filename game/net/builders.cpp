#include "game/net/builders.h"

#include <algorithm>

#include "game/net/codings.h"
#include "game/net/frame.h"
#include "game/net/kinds.h"

namespace {

enum { MAXMASK = 31, MAXSENTEXPERIENCE = 127 };

MsgWriter& Versions(MsgWriter& w, const int32_t version[4])
{
    for (int i = 0; i < 4; i++)
        w.Raw(version[i]);
    return w;
}

std::string Name(const std::string& name)
{
    return name.substr(0, NAMECHARS);
}

} // namespace

std::string BuildConnect(const int32_t version[4], const std::string& name)
{
    MsgWriter w(MSG_CONNECT);
    return Versions(w, version).Text(Name(name)).Finish();
}

std::string BuildVersion(const int32_t version[4])
{
    MsgWriter w(MSG_VERSION);
    return Versions(w, version).Finish();
}

std::string BuildCreatePlayer(int32_t newest, int32_t created, const std::string& name)
{
    return MsgWriter(MSG_CREATEPLAYER).Num(newest).Num(created).Text(Name(name)).Finish();
}

std::string BuildCreateComputerPlayer(int32_t newest, int32_t created)
{
    return MsgWriter(MSG_CREATEPLAYER).Num(newest).Num(created).Raw(COMPUTERNAME).Finish();
}

std::string BuildDropPlayer(int32_t player)
{
    return MsgWriter(MSG_DROPPLAYER).Num(player).Finish();
}

std::string BuildChat(int32_t from, int32_t to, const std::string& line)
{
    // Kind, two indexes and ';' leave the rest of a frame's body for the line.
    return MsgWriter(MSG_CHAT).Num(from).Num(to).Text(line.substr(0, MAXBODY - 4)).Finish();
}

std::string BuildSetGs(int32_t state)
{
    return MsgWriter(MSG_SETGS).Raw(state).Finish();
}

std::string BuildStop()
{
    return MsgWriter(MSG_STOP).Finish();
}

std::string BuildMapData(int32_t size, int32_t row, const std::vector<uint8_t>& squares)
{
    MsgWriter w(MSG_MAPDATA);
    w.Raw(size).Raw(row + 1);
    if (squares.size() != (size_t)std::max(size, 0) || squares.size() > MAXBODY - 4)
        w.bad = true;
    for (const uint8_t square : squares)
        w.Raw(square);
    return w.Finish();
}

std::string BuildWorldType(int32_t type)
{
    return MsgWriter(MSG_WORLDTYPE).Num(type).Finish();
}

std::string BuildWarlordSelected(int32_t player, int32_t warlord, int32_t id)
{
    return MsgWriter(MSG_WARLORDSELECTED).Num(player).Num(warlord).Id(id).Finish();
}

std::string BuildCreateUnit(int32_t player, int32_t type, int32_t id, int32_t x, int32_t y)
{
    return MsgWriter(MSG_CREATEUNIT).Num(player).Num(type).Id(id).Raw(x + 1).Raw(y + 1).Finish();
}

std::string BuildDeployUnit(int32_t player, int32_t type, int32_t id, int32_t x, int32_t y)
{
    return MsgWriter(MSG_DEPLOYUNIT).Num(player).Num(type).Id(id).Raw(x + 1).Raw(y + 1).Finish();
}

std::string BuildBeginNextTurn(int32_t player)
{
    return MsgWriter(MSG_BEGINNEXTTURN).Num(player).Finish();
}

std::string BuildNextTurn(int32_t player)
{
    return MsgWriter(MSG_NEXTTURN).Num(player).Finish();
}

std::string BuildAdvanceDay()
{
    return MsgWriter(MSG_ADVANCEDAY).Finish();
}

std::string BuildMoveRequest(int32_t id, int32_t x, int32_t y)
{
    return MsgWriter(MSG_MOVEREQUEST).Id(id).Num(x).Num(y).Finish();
}

std::string BuildMove(int32_t id, int32_t x, int32_t y)
{
    return MsgWriter(MSG_MOVE).Id(id).Num(x).Num(y).Finish();
}

std::string BuildMoveWithExperience(int32_t id, int32_t x, int32_t y, int32_t experience)
{
    return MsgWriter(MSG_MOVE).Id(id).Num(x).Num(y).Num(std::clamp(experience, 0, 255 - NUMOFFSET)).Finish();
}

std::string BuildNextUnit(int32_t id)
{
    return MsgWriter(MSG_NEXTUNIT).Id(id).Finish();
}

std::string BuildUpgradeUnit(int32_t id)
{
    return MsgWriter(MSG_UPGRADEUNIT).Id(id).Finish();
}

std::string BuildAttackRequest(int32_t attacker, int32_t target)
{
    return MsgWriter(MSG_ATTACKREQUEST).Id(attacker).Id(target).Finish();
}

std::string BuildAttack(int32_t attacker, int32_t target, const int32_t masks[4])
{
    MsgWriter w(MSG_ATTACK);
    w.Id(attacker).Id(target);
    for (int i = 0; i < 4; i++) {
        if (masks[i] < 0 || masks[i] > MAXMASK)
            w.bad = true;
        w.Num(masks[i]);
    }
    return w.Finish();
}

std::string BuildSpellRequestAtUnit(int32_t caster, int32_t target, int32_t spell)
{
    return MsgWriter(MSG_SPELLREQUEST).Id(caster).Id(target).Num(spell).Finish();
}

std::string BuildSpellRequestAtSquare(int32_t caster, int32_t x, int32_t y, int32_t spell)
{
    return MsgWriter(MSG_SPELLREQUEST).Id(caster).Num(x).Num(y).Num(spell).Finish();
}

std::string BuildCastSpellAtUnit(int32_t caster, int32_t target, int32_t spell, int32_t kind)
{
    return MsgWriter(MSG_CASTSPELL).Id(caster).Id(target).Num(spell).Num(kind).Finish();
}

std::string BuildCastSpellAtSquare(int32_t caster, int32_t x, int32_t y, int32_t spell, int32_t kind)
{
    return MsgWriter(MSG_CASTSPELL).Id(caster).Num(x).Num(y).Num(spell).Num(kind).Finish();
}

std::string BuildResist(int32_t target, int32_t caster, int32_t spell)
{
    return MsgWriter(MSG_RESIST).Id(target).Id(caster).Num(spell).Finish();
}

std::string BuildGameSetting(bool shownames)
{
    return MsgWriter(MSG_GAMESETTING).Num(shownames ? 5 : 0).Finish();
}

std::string BuildKillUnit(int32_t id, int32_t killer)
{
    return MsgWriter(MSG_KILLUNIT).Id(id).Num(killer).Finish();
}

std::string BuildAddExperience(int32_t id, int32_t amount)
{
    MsgWriter w(MSG_ADDEXPERIENCE);
    // Read back as a signed number: a larger gain would arrive negative.
    if (amount < 0 || amount > MAXSENTEXPERIENCE)
        w.bad = true;
    return w.Id(id).Num(amount).Finish();
}

std::string BuildDoneShopping()
{
    return MsgWriter(MSG_DONESHOPPING).Finish();
}

std::string BuildWinner(int32_t player)
{
    return MsgWriter(MSG_WINNER).Num(player).Finish();
}

std::string BuildSetMoney(int32_t fifths)
{
    return MsgWriter(MSG_SETMONEY).Raw(fifths).Finish();
}

std::string BuildForceSetMoney(int32_t player, int32_t gold)
{
    return MsgWriter(MSG_FORCESETMONEY).Num(player).Dec(gold).Finish();
}
