// The receiving side without sockets: frames cut from the byte stream, the checks before any handler
// (kind, source, length), and a table of malformed messages per kind that must change nothing.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <sstream>

#include "game/magic/targets.h"
#include "game/model/catalogue.h"
#include "game/model/localplayer.h"
#include "game/model/sight.h"
#include "game/model/state.h"
#include "game/model/turns.h"
#include "game/net/dispatch.h"
#include "game/net/droplog.h"
#include "game/net/kinds.h"
#include "game/net/link.h"
#include "game/net/builders.h"
#include "game/net/frame.h"
#include "game/net/receive.h"
#include "game/net/sendqueue.h"
#include "game/model/mines.h"
#include "game/model/states.h"
#include "game/model/names.h"
#include "nettest.h"
#include "platform/clock.h"
#include "platform/socket.h"

namespace {

// Descriptor numbers no test opens: closing them does nothing.
enum { ANN = 9011, BO = 9012, NEWCOMER = 9013, STRANGER = 9099, HOSTLINK = 9021 };

// The game as the tests compare it; with queued, also how many frames wait to be sent.
std::string Digest(bool queued = true)
{
    std::ostringstream d;
    for (const Player& player : p) {
        d << player.name << ',' << player.gold << ',' << (int)player.ready << ',' << player.socket << ','
          << (int)player.hostplayer << ',' << (int)player.neutral << ',' << player.sizeattime << ':';
        for (const Unit& unit : player.units)
            d << unit.id << '@' << unit.x << '.' << unit.y << ' ';
        d << '|';
    }
    d << "gs" << gs << " sh" << shoppers << " names" << (int)shownames << " cp" << currplayer << " cu" << currunit
      << " th" << turnholder << " map" << mapsize << " you" << you << " q" << (queued ? QueuedFrameCount() : 0)
      << " pend" << pendingsockets.size() << " heard" << heard.size() << " dl" << deathlist.size() << " looks"
      << unreportedlooks.size() << " wl";
    for (const Player& player : p)
        d << player.warlordtype << ',';
    return d.str();
}

class DispatchTest : public NetTest {
protected:
    void TearDown() override
    {
        mainsocket = NO_SOCKET;
        pendingsockets.clear();
        NetTest::TearDown();
    }

    // Host, Ann (a unit 258 at 1,1; her turn), Bo (unit 513 at 2,2) on a 12 x 12 map.
    void MakeTable(bool host)
    {
        MakeTestMap(12);
        MakeTestCatalogue();
        AddTestPlayer("Host", NO_SOCKET, true);
        AddTestPlayer("Ann", host ? ANN : NO_SOCKET);
        AddTestPlayer("Bo", host ? BO : NO_SOCKET);
        AddUnitWithId(1, 258, 1, 1);
        AddUnitWithId(2, 513, 2, 2);
        // Ann's unit can attack Bo's (a neighbour) and cast both spells: the requests that should be
        // taken are legal in this world, so only their malformed twins are refused.
        Unit& ann = p[1].units[0];
        ann.hits = 2;
        ann.rocks = 1;
        ann.stat[STAT_RANGE] = 1;
        ann.spells[0] = 0;
        ann.spells[1] = 1;
        for (SpellInfo& spell : spells) {
            spell.test = TargetAny;
            spell.range = 5;
        }
        for (std::vector<MapSquare>& column : map)
            for (MapSquare& square : column)
                square.bits = 0xF;      // claimed by nobody
        p[1].startx = p[1].starty = 5;    // deploying next to her camp
        currplayer = 1;
        turnholder = 1;
        ishost = host;
        if (host) {
            you = p[0].sizeattime;
            pendingsockets = {NEWCOMER};
        } else {
            you = p[1].sizeattime;
            mainsocket = HOSTLINK;
        }
        DropLocalPlayerCache();
        ClearDrops();       // a new table: refusals of an earlier one are not repeats
        log.clear();
    }

    void Receive(int32_t socket, const std::string& bytes)
    {
        ReceiveBytes(socket, (const uint8_t*)bytes.data(), bytes.size());
    }
};

} // namespace

TEST_F(DispatchTest, FramesJoinedAcrossReadsAndSplitWhenCoalesced)
{
    MakeTable(true);
    const std::string two = Frame("&") + Frame("&");
    Receive(ANN, two);
    EXPECT_EQ(shoppers, 2);

    // One frame a byte at a time: dispatched once, when its last byte arrives.
    const std::string chat = Frame(Bytes({'a', 51, 150, 'h', 'i'}));
    for (size_t i = 0; i + 1 < chat.size(); i++)
        Receive(ANN, chat.substr(i, 1));
    EXPECT_EQ(BufferedBytes(ANN), chat.size() - 1);
    EXPECT_FALSE(Logged("ACTION: Chat"));
    Receive(ANN, chat.substr(chat.size() - 1));
    EXPECT_TRUE(Logged("ACTION: Chat string \"hi\""));
    EXPECT_EQ(BufferedBytes(ANN), 0u);

    // Three frames cut at odd places.
    const std::string three = Frame("&") + chat + Frame("&");
    Receive(ANN, three.substr(0, 5));
    Receive(ANN, three.substr(5, 6));
    Receive(ANN, three.substr(11));
    EXPECT_EQ(shoppers, 4);

    Receive(ANN, "");
    EXPECT_EQ(shoppers, 4);
}

TEST_F(DispatchTest, EachConnectionKeepsItsOwnPartialFrame)
{
    MakeTable(true);
    const std::string f = Frame("&");
    Receive(ANN, f.substr(0, 2));
    Receive(BO, f.substr(0, 1));
    Receive(ANN, f.substr(2));
    EXPECT_EQ(shoppers, 1);
    Receive(BO, f.substr(1));
    EXPECT_EQ(shoppers, 2);
}

TEST_F(DispatchTest, LengthBytesBelowThreeBreakTheConnection)
{
    for (const int length : {0, 1, 2}) {
        MakeTable(true);
        const std::string before = Digest();
        Receive(ANN, Bytes({length, '&', ';'}) + Frame("&"));
        EXPECT_TRUE(Logged("ERROR: Sanity check failed on input stream!")) << length;
        EXPECT_EQ(shoppers, 0) << length;              // nothing after the break is read
        for (const Player& player : p)                  // the connection is gone, and with it Ann
            EXPECT_NE(player.socket, ANN) << length;
        EXPECT_EQ(p.size(), 2u) << length;
        EXPECT_NE(before, Digest());
        ResetGameState();
    }
}

TEST_F(DispatchTest, BrokenFramesAreRefused)
{
    MakeTable(true);
    DoMessage(Bytes({4, '&', '&', '&'}), ANN, 0);           // no ';'
    DoMessage(Bytes({5, 'a', 51, 0, ';'}), ANN, 0);          // a zero byte
    DoMessage(Bytes({6, '&', ';'}), ANN, 0);                 // length byte and size differ
    EXPECT_EQ(shoppers, 0);
    EXPECT_TRUE(Logged("ERROR: Incomplete message or data stream!  Possible instability ahead."));
    DoMessage(Frame("&"), ANN, 0);
    EXPECT_EQ(shoppers, 1);
}

TEST_F(DispatchTest, UnknownKindsAreLoggedAndDropped)
{
    MakeTable(true);
    const std::string before = Digest();
    for (const char kind : {'Z', 'y', '0', (char)0xFF, '~'})
        ProcessMessage(std::string(1, kind), ANN, 0);
    ProcessMessage("", ANN, 0);
    EXPECT_EQ(Digest(), before);
    EXPECT_TRUE(Logged("ERROR: Couldn't interpret this message."));
}

TEST_F(DispatchTest, HandlerThatClosesTheConnectionStopsItsStream)
{
    MakeTable(true);
    gs = GAME_SHOP;     // a join request outside the lobby is turned away
    Receive(NEWCOMER, Frame(Bytes({'{', 1, 2, 3, 4, 'C'})) + Frame(Bytes({'{', 1, 2, 3, 4, 'D'})));
    EXPECT_TRUE(pendingsockets.empty());
    EXPECT_EQ(p.size(), 3u);
    EXPECT_EQ(BufferedBytes(NEWCOMER), 0u);
    size_t count = 0;
    for (size_t at = log.find("DoMessage"); at != std::string::npos; at = log.find("DoMessage", at + 1))
        count++;
    EXPECT_EQ(count, 1u);
}

// A peer's chat is relayed at up to a line every 100 ms, with two seconds' worth at once; what comes
// faster is dropped, with a line in the log, and the others' chat is not held back by it.
TEST_F(DispatchTest, ChatFromOnePeerIsRateLimited)
{
    UseVirtualClock(1000);
    MakeTable(true);
    const auto say = [this](int32_t socket, int32_t from) {
        const std::string frame = Frame(Bytes({'a', 50 + from, 150}) + "hi");
        Receive(socket, frame);
    };
    const auto relayed = [] { return QueuedFrameCount() / 2; };     // each line goes to Ann and Bo
    for (int i = 0; i < 30; i++)
        say(ANN, 1);
    EXPECT_EQ(relayed(), 21u);
    EXPECT_TRUE(Logged("ERROR: Chat from player 1 comes too fast; the line is dropped."));
    say(BO, 2);                     // another player's line goes
    EXPECT_EQ(relayed(), 22u);
    AdvanceClock(250);              // two and a half lines' worth later
    for (int i = 0; i < 5; i++)
        say(ANN, 1);
    EXPECT_EQ(relayed(), 24u);
    UseRealClock();
}

// Each kind from each source: taken only from the sources the message table gives its direction
// (C to H: from a joined player; H to clients: from the host; a joined player's and a relayed kind:
// both), written out here so that a wrong row in the dispatcher's own table shows.
TEST_F(DispatchTest, SourcesEachKindIsTakenFrom)
{
    enum : uint8_t { H = FROM_HOST, C = FROM_CLIENT, P = FROM_PENDING };
    struct Row {
        char kind;
        uint8_t from;
    };
    const Row rows[] = {
        {'{', P},       // a connection that has not joined yet introduces itself
        {'$', H}, {'*', H}, {'}', H},
        {'a', C | H},   // to the host, relayed
        {'q', H},
        {'z', C},
        {'@', H}, {'-', H},
        {'w', C | H},   // to the host, then to all
        {'/', H},       // the host creates every unit; a client asking it to would create one for free
        {'_', C | H},   // to the host, then to all
        {'^', C}, {'n', H}, {'b', H}, {'f', C}, {'#', H},
        {'.', C | H},   // to the host relayed, or from it
        {'!', H}, {'?', C}, {'k', H}, {'i', C}, {'[', H}, {'x', H}, {'1', H}, {'`', H},
        {'%', C | H},   // to the host, which passes it on so that every machine counts it
        {'&', C | H}, {'(', C | H},
        {')', H}, {'e', H},
    };
    ASSERT_EQ(std::size(rows), 31u);
    struct Source {
        bool host;
        int32_t socket;
        uint8_t from;   // 0: no source may send anything
    };
    const Source sources[] = {
        {true, ANN, FROM_CLIENT}, {true, NEWCOMER, FROM_PENDING}, {true, STRANGER, 0},
        {false, HOSTLINK, FROM_HOST}, {false, STRANGER, 0},
    };
    for (const Row& r : rows)
        for (const Source& s : sources) {
            ResetGameState();
            MakeTable(s.host);
            // The kind alone: the sender is judged before the length.
            ProcessMessage(std::string(1, r.kind), s.socket, 0);
            const bool refused = Logged("from a sender that may not send it");
            EXPECT_EQ(refused, !(r.from & s.from)) << r.kind << " host=" << s.host << " socket=" << s.socket;
        }
}

namespace {

struct Case {
    const char* what;
    bool host;              // the machine under test hosts
    int32_t socket;
    std::string text;       // kind character first, no ';'
    bool valid;
    std::function<void()> prepare = nullptr;   // the world changed for this case
    std::string answer = "";                    // a refusal's only answer (its body), if any
};

// The phase of a game where the request makes sense, or not.
void BetweenDays()
{
    turnholder = -1;        // nobody holds a turn: the day's summary, the shop
}

void InTheLobby()
{
    map.clear();            // nothing made yet: nothing to answer
    mapsize = 0;
    gs = GAME_LOBBY;
}

void WarlordSelection()
{
    AddNeutralRecord();     // the guards are in place, the warlords still to choose
    minelist.clear();
    p[1].units.clear();
}

std::string U(int id)
{
    return Bytes({id >> 8, id & 0xFF});
}

std::string T(char kind, const std::string& rest)
{
    return std::string(1, kind) + rest;
}

std::vector<Case> Cases()
{
    const std::string row12(12, (char)0x10);
    return {
        {"CONNECT", true, NEWCOMER, T('{', Bytes({1, 2, 3, 4}) + "Cy"), true},
        {"CONNECT truncated", true, NEWCOMER, T('{', Bytes({1, 2, 3})), false},
        {"CONNECT zero part", true, NEWCOMER, T('{', Bytes({1, 0, 3, 4}) + "Cy"), false},
        {"CONNECT from a joined player", true, ANN, T('{', Bytes({1, 2, 3, 4}) + "Cy"), false},
        {"VERSION", false, HOSTLINK, T('$', Bytes({1, 2, 3, 5})), true},
        {"VERSION truncated", false, HOSTLINK, T('$', Bytes({1, 2, 3})), false},
        {"VERSION overlong", false, HOSTLINK, T('$', Bytes({1, 2, 3, 5, 6})), false},
        {"VERSION to the host", true, ANN, T('$', Bytes({1, 2, 3, 5})), false},
        {"CREATEPLAYER", false, HOSTLINK, T('*', Bytes({53, 53}) + "Cy"), true},
        {"CREATEPLAYER out of order", false, HOSTLINK, T('*', Bytes({55, 55}) + "Cy"), false},
        {"CREATEPLAYER truncated", false, HOSTLINK, T('*', Bytes({53})), false},
        {"CREATEPLAYER to the host", true, ANN, T('*', Bytes({53, 53}) + "Cy"), false},
        {"DROPPLAYER", false, HOSTLINK, T('}', Bytes({52})), true},
        {"DROPPLAYER nobody", false, HOSTLINK, T('}', Bytes({57})), false},
        {"DROPPLAYER the local player", false, HOSTLINK, T('}', Bytes({51})), false},
        {"DROPPLAYER overlong", false, HOSTLINK, T('}', Bytes({52, 52})), false},
        {"CHAT", true, ANN, T('a', Bytes({51, 150}) + "hi"), true},
        {"CHAT forged sender", true, ANN, T('a', Bytes({52, 150}) + "hi"), false},
        {"CHAT sender nobody", false, HOSTLINK, T('a', Bytes({57, 150}) + "hi"), false},
        {"CHAT truncated", true, ANN, T('a', Bytes({51})), false},
        {"CHAT too fast", true, ANN, T('a', Bytes({51, 150}) + "hi"), false, [] { p[1].chatdue = GetTicks() + 5000; }},
        {"SETGS", false, HOSTLINK, T('q', Bytes({GAME_WATCH})), true},
        {"SETGS no such state", false, HOSTLINK, T('q', Bytes({200})), false},
        {"SETGS a screen the host sends nobody to", false, HOSTLINK, T('q', Bytes({GAME_UNITTURN})), false},
        {"SETGS a number without a screen", false, HOSTLINK, T('q', Bytes({12})), false},
        {"SETGS overlong", false, HOSTLINK, T('q', Bytes({24, 24})), false},
        {"SETGS from a client", true, ANN, T('q', Bytes({GAME_UNITTURN})), false},
        {"STOP", true, ANN, T('z', ""), true},
        {"STOP overlong", true, ANN, T('z', "z"), false},
        {"STOP to a client", false, HOSTLINK, T('z', ""), false},
        {"MAPDATA", false, HOSTLINK, T('@', Bytes({12, 1}) + row12), true},
        {"MAPDATA small map", false, HOSTLINK, T('@', Bytes({5, 1}) + row12.substr(0, 5)), false},
        {"MAPDATA other size", false, HOSTLINK, T('@', Bytes({13, 1}) + row12), false},
        {"MAPDATA row off the map", false, HOSTLINK, T('@', Bytes({12, 13}) + row12), false},
        {"MAPDATA unknown terrain", false, HOSTLINK, T('@', Bytes({12, 1}) + row12.substr(0, 11) + Bytes({0x50})), false},
        {"MAPDATA overlong", false, HOSTLINK, T('@', Bytes({12, 1}) + row12 + Bytes({0x10})), false},
        {"MAPDATA truncated", false, HOSTLINK, T('@', Bytes({12})), false},
        {"WORLDTYPE", false, HOSTLINK, T('-', Bytes({53})), true},
        {"WORLDTYPE overlong", false, HOSTLINK, T('-', Bytes({53, 53})), false},
        {"WORLDTYPE from a client", true, ANN, T('-', Bytes({53})), false},
        {"WARLORDSELECTED", false, HOSTLINK, T('w', Bytes({50, 53}) + U(1025)), true},
        {"WARLORDSELECTED to the host", true, ANN, T('w', Bytes({51, 53}) + U(258)), true, WarlordSelection},
        {"WARLORDSELECTED in the lobby", true, ANN, T('w', Bytes({51, 53}) + U(258)), false, [] { p[1].units.clear(); }},
        {"WARLORDSELECTED while the guards are placed", true, ANN, T('w', Bytes({51, 53}) + U(258)), false,
         [] { WarlordSelection(); minelist = {MineSquare{4, 4}}; }},
        {"WARLORDSELECTED by a fallen player", true, ANN, T('w', Bytes({51, 53}) + U(258)), false,
         [] { WarlordSelection(); p[1].warlordtype = 3; }},
        {"WARLORDSELECTED not a warlord type", true, ANN, T('w', Bytes({51, 52}) + U(258)), false},
        {"WARLORDSELECTED a second one", true, ANN, T('w', Bytes({51, 53}) + U(258)), false},
        {"WARLORDSELECTED forged player", true, ANN, T('w', Bytes({52, 52}) + U(258)), false},
        {"WARLORDSELECTED no such type", true, ANN, T('w', Bytes({51, 59}) + U(258)), false},
        {"WARLORDSELECTED truncated", true, ANN, T('w', Bytes({51, 52, 1})), false},
        {"CREATEUNIT", false, HOSTLINK, T('/', Bytes({51, 52}) + U(1025) + Bytes({5, 5})), true},
        {"CREATEUNIT id in use", false, HOSTLINK, T('/', Bytes({51, 52}) + U(258) + Bytes({5, 5})), false},
        {"CREATEUNIT off the map", false, HOSTLINK, T('/', Bytes({51, 52}) + U(1025) + Bytes({13, 5})), false},
        {"CREATEUNIT no such type", false, HOSTLINK, T('/', Bytes({51, 54}) + U(1025) + Bytes({5, 5})), false},
        {"CREATEUNIT from a client", true, ANN, T('/', Bytes({51, 52}) + U(1025) + Bytes({5, 5})), false},
        {"DEPLOYUNIT", true, ANN, T('_', Bytes({51, 52}) + U(1025) + Bytes({5, 5})), true},
        {"DEPLOYUNIT forged player", true, ANN, T('_', Bytes({52, 52}) + U(1025) + Bytes({5, 5})), false},
        {"DEPLOYUNIT off the map", false, HOSTLINK, T('_', Bytes({51, 52}) + U(1025) + Bytes({5, 200})), false},
        {"DEPLOYUNIT truncated", true, ANN, T('_', Bytes({51, 52}) + U(1025) + Bytes({5})), false},
        {"DEPLOYUNIT before the day, the first player", true, ANN, T('_', Bytes({51, 52}) + U(1025) + Bytes({5, 5})), true,
         BetweenDays},
        {"DEPLOYUNIT before the day, once he is done", true, ANN, T('_', Bytes({51, 52}) + U(1025) + Bytes({5, 5})), false,
         [] { BetweenDays(); p[1].shopped = 1; }, BuildSetGs(GAME_PREPAREDEPLOY)},
        {"DEPLOYUNIT between days, not the first player", true, BO, T('_', Bytes({52, 52}) + U(1025) + Bytes({5, 5})), false,
         [] { BetweenDays(); p[2].startx = p[2].starty = 5; }, BuildSetGs(GAME_PREPAREDEPLOY)},
        {"DEPLOYUNIT in another's turn", true, BO, T('_', Bytes({52, 52}) + U(1025) + Bytes({5, 5})), false,
         [] { p[2].startx = p[2].starty = 5; }, BuildSetGs(GAME_PREPAREDEPLOY)},
        {"BEGINNEXTTURN", true, ANN, T('^', Bytes({51})), true},
        {"BEGINNEXTTURN not his turn", true, BO, T('^', Bytes({52})), false},
        {"BEGINNEXTTURN forged", true, BO, T('^', Bytes({51})), false},
        {"BEGINNEXTTURN between days", true, ANN, T('^', Bytes({51})), false, BetweenDays},
        {"NEXTTURN", false, HOSTLINK, T('n', Bytes({52})), true},
        {"NEXTTURN nobody", false, HOSTLINK, T('n', Bytes({57})), false},
        {"NEXTTURN truncated", false, HOSTLINK, T('n', ""), false},
        {"ADVANCEDAY", false, HOSTLINK, T('b', ""), true},
        {"ADVANCEDAY overlong", false, HOSTLINK, T('b', "b"), false},
        {"ADVANCEDAY from a client", true, ANN, T('b', ""), false},
        {"MOVEREQUEST", true, ANN, T('f', U(258) + Bytes({53, 53})), true},
        {"MOVEREQUEST another's unit", true, ANN, T('f', U(513) + Bytes({53, 53})), false},
        {"MOVEREQUEST off the map", true, ANN, T('f', U(258) + Bytes({62, 53})), false},
        {"MOVEREQUEST unknown unit", true, ANN, T('f', U(0x0909) + Bytes({53, 53})), false},
        {"MOVEREQUEST between days", true, ANN, T('f', U(258) + Bytes({53, 53})), false, BetweenDays},
        {"MOVEREQUEST in another's turn", true, BO, T('f', U(513) + Bytes({53, 52})), false},
        {"MOVE", false, HOSTLINK, T('#', U(258) + Bytes({53, 53})), true},
        {"MOVE with experience", false, HOSTLINK, T('#', U(258) + Bytes({53, 53, 60})), true},
        {"MOVE overlong", false, HOSTLINK, T('#', U(258) + Bytes({53, 53, 60, 60})), false},
        {"MOVE negative square", false, HOSTLINK, T('#', U(258) + Bytes({49, 53})), false},
        {"NEXTUNIT", false, HOSTLINK, T('.', U(258)), true},
        {"NEXTUNIT not the current player's", false, HOSTLINK, T('.', U(513)), false},
        {"NEXTUNIT another's unit", true, BO, T('.', U(258)), false},
        {"NEXTUNIT between days", true, ANN, T('.', U(258)), false, BetweenDays},
        {"UPGRADEUNIT", false, HOSTLINK, T('!', U(258)), true},
        {"UPGRADEUNIT unknown unit", false, HOSTLINK, T('!', U(0x0909)), false},
        {"ATTACKREQUEST", true, ANN, T('?', U(258) + U(513)), true},
        {"ATTACKREQUEST another's attacker", true, ANN, T('?', U(513) + U(258)), false},
        {"ATTACKREQUEST truncated", true, ANN, T('?', U(258) + Bytes({2})), false},
        {"ATTACKREQUEST between days", true, ANN, T('?', U(258) + U(513)), false, BetweenDays},
        {"ATTACKREQUEST at a dying unit", true, ANN, T('?', U(258) + U(513)), false,
         [] { deathlist.push_back(DeathEntry{513, 1}); }},
        {"ATTACK", false, HOSTLINK, T('k', U(258) + U(513) + Bytes({50, 60, 81, 50})), true},
        {"ATTACK mask out of range", false, HOSTLINK, T('k', U(258) + U(513) + Bytes({50, 82, 50, 50})), false},
        {"ATTACK truncated", false, HOSTLINK, T('k', U(258) + U(513) + Bytes({50, 50, 50})), false},
        {"SPELLREQUEST at a unit", true, ANN, T('i', U(258) + U(513) + Bytes({50})), true},
        {"SPELLREQUEST at a square", true, ANN, T('i', U(258) + Bytes({53, 53, 51})), true},
        {"SPELLREQUEST with its kind byte", true, ANN, T('i', U(258) + Bytes({53, 53, 51, 54})), true},
        {"SPELLREQUEST no such spell", true, ANN, T('i', U(258) + U(513) + Bytes({52})), false},
        {"SPELLREQUEST square off the map", true, ANN, T('i', U(258) + Bytes({90, 53, 51})), false},
        {"SPELLREQUEST unknown target", true, ANN, T('i', U(258) + U(0x0909) + Bytes({50})), false},
        {"SPELLREQUEST between days", true, ANN, T('i', U(258) + Bytes({53, 53, 51})), false, BetweenDays},
        {"SPELLREQUEST at a dying unit", true, ANN, T('i', U(258) + U(513) + Bytes({50})), false,
         [] { deathlist.push_back(DeathEntry{513, 1}); }},
        {"CASTSPELL", false, HOSTLINK, T('[', U(258) + U(513) + Bytes({50, 51})), true},
        {"CASTSPELL bad spell", false, HOSTLINK, T('[', U(258) + U(513) + Bytes({150, 51})), false},
        {"RESIST", false, HOSTLINK, T('x', U(513) + U(258) + Bytes({51})), true},
        {"RESIST bad spell", false, HOSTLINK, T('x', U(513) + U(258) + Bytes({52})), false},
        {"GAMESETTING", false, HOSTLINK, T('1', Bytes({50})), true},
        {"GAMESETTING from a client", true, ANN, T('1', Bytes({50})), false},
        {"KILLUNIT", false, HOSTLINK, T('`', U(513) + Bytes({51})), true},
        {"KILLUNIT killer nobody", false, HOSTLINK, T('`', U(513) + Bytes({57})), false},
        {"ADDEXPERIENCE", true, ANN, T('%', U(258) + Bytes({60})), true, [] { unreportedlooks[258] = {10}; }},
        {"ADDEXPERIENCE negative", true, ANN, T('%', U(258) + Bytes({40})), false, [] { unreportedlooks[258] = {10}; }},
        {"ADDEXPERIENCE with no look", true, ANN, T('%', U(258) + Bytes({60})), false},
        {"ADDEXPERIENCE more than the look earns", true, ANN, T('%', U(258) + Bytes({61})), false,
         [] { unreportedlooks[258] = {10}; }},
        {"DONESHOPPING", true, ANN, T('&', ""), true},
        {"DONESHOPPING in the lobby", true, ANN, T('&', ""), false, InTheLobby},
        {"STOP", true, ANN, T('z', ""), true},
        {"STOP in the lobby", true, ANN, T('z', ""), false, InTheLobby},
        {"DONESHOPPING overlong", true, ANN, T('&', "&"), false},
        {"DONESHOPPING from a joining connection", true, NEWCOMER, T('&', ""), false},
        {"WINNER", true, ANN, T('(', Bytes({51})), true},
        {"WINNER forged", true, ANN, T('(', Bytes({52})), false},
        {"WINNER before the first turn", true, ANN, T('(', Bytes({51})), false,
         [] { BetweenDays(); p[2].units.clear(); }},
        {"WINNER in another's turn", true, ANN, T('(', Bytes({51})), false, [] { turnholder = 2; p[2].units.clear(); }},
        {"WINNER out of the game", true, ANN, T('(', Bytes({51})), false, [] { p[1].units.clear(); p[2].units.clear(); }},
        {"SETMONEY", false, HOSTLINK, T(')', Bytes({150})), true},
        {"SETMONEY from a client", true, ANN, T(')', Bytes({150})), false},
        {"FORCESETMONEY", false, HOSTLINK, T('e', Bytes({52}) + "750"), true},
        {"FORCESETMONEY bad number", false, HOSTLINK, T('e', Bytes({52}) + "7x"), false},
        {"FORCESETMONEY too large", false, HOSTLINK, T('e', Bytes({52}) + "99999999999"), false},
        {"FORCESETMONEY nobody", false, HOSTLINK, T('e', Bytes({57}) + "750"), false},
        {"anything from a stranger", true, STRANGER, T('&', ""), false},
        {"anything from another socket", false, STRANGER, T('b', ""), false},
    };
}

} // namespace

TEST_F(DispatchTest, MalformedMessagesChangeNothing)
{
    for (const Case& c : Cases()) {
        ResetGameState();
        ClearSendQueue();
        ClearHeard();
        unreportedlooks.clear();
        MakeTable(c.host);
        if (c.prepare)
            c.prepare();
        const std::string before = Digest(c.answer.empty());
        // Through the whole receive path, as the bytes would arrive.
        std::string frame = Frame(c.text);
        ReceiveBytes(c.socket, (const uint8_t*)frame.data(), frame.size());
        const bool refused = Logged("ERROR");
        EXPECT_EQ(refused, !c.valid) << c.what << "\n" << log;
        if (c.valid) {
            EXPECT_TRUE(Logged("ACTION") || Logged("Someone won the game!")) << c.what;
        } else {
            EXPECT_EQ(Digest(c.answer.empty()), before) << c.what;
        }
        if (!c.answer.empty()) {
            const std::vector<OutgoingMessage> sent = QueuedMessages();
            ASSERT_EQ(sent.size(), 1u) << c.what;
            EXPECT_EQ(sent[0].frame, BuildFrame(c.answer)) << c.what;
        }
    }
}

// A player who leaves the lobby is a line of its chat on every machine; in a game he is the notice.
TEST_F(DispatchTest, AClientHearsOfALeaverInTheLobbyAsAChatLine)
{
    for (const bool lobby : {true, false}) {
        ResetGameState();
        ClearHeard();
        MakeTable(false);
        gs = lobby ? GAME_LOBBY : GAME_WATCH;
        const std::string frame = Frame(T('}', Bytes({52})));
        ReceiveBytes(HOSTLINK, (const uint8_t*)frame.data(), frame.size());
        ASSERT_EQ(p.size(), 2u);
        EXPECT_EQ(LastHeardError().title, lobby ? "" : "Bo has left the game.") << lobby;
        const std::vector<std::string> feed = HeardFeed(YouToInt());
        EXPECT_EQ(!feed.empty() && feed.back() == "Bo has left the game.", lobby) << lobby;
    }
}

// A peer repeating a refused frame costs the log one line and a count, not a line a frame.
TEST_F(DispatchTest, RepeatedRefusalsFromOnePeerAreLoggedOnceWithACount)
{
    MakeTable(true);
    std::string flood;
    for (int i = 0; i < 1000; i++)
        flood += Frame(T('q', Bytes({60})));   // SETGS, which only the host sends
    ReceiveBytes(ANN, (const uint8_t*)flood.data(), flood.size());
    const std::string chat = Frame(T('a', Bytes({51, 150}) + "hi"));
    ReceiveBytes(ANN, (const uint8_t*)chat.data(), chat.size());
    auto count = [&](const std::string& text) {
        size_t n = 0;
        for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1))
            n++;
        return n;
    };
    EXPECT_EQ(count("SETGS message from a sender that may not send it"), 1u) << log.substr(0, 2000);
    EXPECT_EQ(count("came 999 more times"), 1u);
    EXPECT_LT(log.size(), 2000u);
    EXPECT_TRUE(Logged("ACTION: Chat string \"hi\""));
}
