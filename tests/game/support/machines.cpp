#include "tests/game/support/machines.h"

#include "game/model/ids.h"
#include "game/model/localplayer.h"
#include "game/model/state.h"
#include "game/model/turns.h"
#include "game/net/dispatch.h"
#include "game/net/link.h"
#include "game/model/names.h"
#include "game/model/states.h"
#include "tests/game/support/heard.h"
#include "tests/game/support/world.h"

MachineState SaveMachine()
{
    MachineState s;
    s.players = p;
    s.currplayer = currplayer;
    s.currunit = currunit;
    s.ishost = ishost;
    s.map = map;
    s.mapsize = mapsize;
    s.turncount = turncount;
    s.daycount = daycount;
    s.shoppers = shoppers;
    s.playersleft = playersleft;
    s.nextsizeattime = nextsizeattime;
    s.needredraw = needredraw;
    s.autofocus = autofocus;
    s.shownames = shownames;
    s.deathlist = deathlist;
    s.upgradequeue = upgradequeue;
    s.you = you;
    s.unitidhigh = unitidhigh;
    s.unitidlow = unitidlow;
    s.turnholder = turnholder;
    s.gs = gs;
    s.returngs = returngs;
    s.mainsocket = mainsocket;
    s.sendqueues = sendqueues;
    s.heard = heard;
    return s;
}

void LoadMachine(const MachineState& s)
{
    p = s.players;
    currplayer = s.currplayer;
    currunit = s.currunit;
    ishost = s.ishost;
    map = s.map;
    mapsize = s.mapsize;
    turncount = s.turncount;
    daycount = s.daycount;
    shoppers = s.shoppers;
    playersleft = s.playersleft;
    nextsizeattime = s.nextsizeattime;
    needredraw = s.needredraw;
    autofocus = s.autofocus;
    shownames = s.shownames;
    deathlist = s.deathlist;
    upgradequeue = s.upgradequeue;
    you = s.you;
    unitidhigh = s.unitidhigh;
    unitidlow = s.unitidlow;
    turnholder = s.turnholder;
    gs = s.gs;
    returngs = s.returngs;
    mainsocket = s.mainsocket;
    sendqueues = s.sendqueues;
    heard = s.heard;
    DropLocalPlayerCache();
}

std::vector<SentFrame> TakeSentFrames()
{
    std::vector<SentFrame> frames;
    for (const OutgoingMessage& m : QueuedMessages())
        frames.push_back(SentFrame{ m.frame, m.socket });
    ClearSendQueue();
    return frames;
}

void DeliverToClient(const std::vector<SentFrame>& frames, int32_t player)
{
    for (const SentFrame& f : frames)
        if (f.socket == TESTSOCKETBASE + player)
            DoMessage(f.frame, mainsocket, 0);
}

void DeliverToHost(const std::vector<SentFrame>& frames, int32_t player)
{
    for (const SentFrame& f : frames)
        DoMessage(f.frame, p[player].socket, 0);
}

HostAndClient::HostAndClient(int32_t player) : clientplayer(player)
{
    BecomeClient(player);
    client = SaveMachine();
    BecomeHost(0);
    host = SaveMachine();
}

void HostAndClient::UseHost()
{
    if (onhost)
        return;
    client = SaveMachine();
    LoadMachine(host);
    onhost = true;
}

void HostAndClient::UseClient()
{
    if (!onhost)
        return;
    host = SaveMachine();
    LoadMachine(client);
    onhost = false;
}

std::vector<SentFrame> HostAndClient::HostToClient()
{
    UseHost();
    const std::vector<SentFrame> frames = TakeSentFrames();
    UseClient();
    DeliverToClient(frames, clientplayer);
    return frames;
}

std::vector<SentFrame> HostAndClient::ClientToHost()
{
    UseClient();
    const std::vector<SentFrame> frames = TakeSentFrames();
    UseHost();
    DeliverToHost(frames, clientplayer);
    return frames;
}
