// One process playing the machines of a game in turn: the whole model state of each is saved and
// loaded, and the frames one sends are handed to the other through the real dispatcher.
#pragma once
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "game/model/records.h"
#include "game/net/sendqueue.h"

// Every global of the game state one machine holds.
struct MachineState {
    std::vector<Player> players;
    int32_t currplayer, currunit;
    uint8_t ishost;
    std::vector<std::vector<MapSquare>> map;
    int32_t mapsize, turncount, daycount, shoppers, playersleft, nextsizeattime;
    uint8_t needredraw, autofocus, shownames;
    std::vector<DeathEntry> deathlist;
    std::deque<int32_t> upgradequeue;
    int32_t you, unitidhigh, unitidlow;
    int32_t turnholder;
    int32_t gs, returngs;
    int32_t mainsocket;
    std::map<int32_t, ConnectionQueue> sendqueues;
    std::vector<std::string> heard;     // what the rules announced on it (tests/game/support/heard.h)
};

MachineState SaveMachine();
void LoadMachine(const MachineState& state);

struct SentFrame {
    std::string frame;                  // length byte, kind, payload, ';'
    int32_t socket;                     // where it was going
    std::string Body() const { return frame.size() > 1 ? frame.substr(1) : std::string(); }  // kind .. ';'
};

std::vector<SentFrame> TakeSentFrames();    // everything queued to send, oldest first; the queue is emptied
// Client: each frame the host queued for this client's player (socket TESTSOCKETBASE + player), through
// DoMessage as arriving from the host.
void DeliverToClient(const std::vector<SentFrame>& frames, int32_t player);
// Host: each frame, through DoMessage as arriving from player's connection.
void DeliverToHost(const std::vector<SentFrame>& frames, int32_t player);

// A host (player 0) and one client playing player clientplayer, made from the current world: both
// start from the same shared state. The current machine is the host afterwards.
class HostAndClient {
public:
    explicit HostAndClient(int32_t clientplayer);
    void UseHost();                     // saves the current machine and loads the host
    void UseClient();                   // the same for the client
    // From the host: what it queued goes to the client, which is current afterwards. The frames sent.
    std::vector<SentFrame> HostToClient();
    // From the client: what it queued goes to the host, which is current afterwards.
    std::vector<SentFrame> ClientToHost();
    const int32_t clientplayer;

private:
    MachineState host, client;
    bool onhost = true;
};
