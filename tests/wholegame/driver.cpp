// The player at three keyboards: drives a host and two clients, each a real game program on the
// headless back end, through their screens with scripted keys and clicks (the control channel of
// game/screens/control.h), from the intro to the victory screen. It reads each program's state by the
// channel's probe to decide where to click, as a person reads the screen, and never changes the game
// in any other way.
//
// Whenever the programs still in the game are all quiet (each watching, waiting or in a unit turn the
// driver has not acted in yet, nothing left to send), their state digests must be equal.
//
//   wholegame_driver <shots folder> <host folder> <client folder> <client folder>
//
// Each folder holds the program's control files in ctl/. Exit code 0 when the game ran to its victory
// screen with every digest equal, 1 otherwise.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

enum { MAPCLOCK = 100000000 };   // ms on the host's clock when the map is made
enum { REPLYSECONDS = 240, QUIETROUNDS = 3, UNEQUALROUNDS = 40, MAXROUNDS = 40000, ACTIONSPERTURN = 12, AFTERWINROUNDS = 200, LASTDAY = 6 };

// The screen states the driver acts in or waits on.
enum {
    GS_ERROR = 2, GS_MAINMENU = 3, GS_NAME = 7, GS_ENTERIP = 8, GS_LOBBY = 1, GS_WARLORD = 15, GS_SHOP = 17,
    GS_DEPLOY = 20, GS_UNITTURN = 24, GS_WATCH = 25, GS_WAITPLAYERS = 26, GS_COMPTURN = 32, GS_COMPUNIT = 33,
    GS_MENU = 37, GS_OPTIONS = 43, GS_VICTORYSCREEN = 48, GS_SELECTMONEY = 50, GS_ENDTURNCONFIRM = 57,
    GS_DAYSUMMARY = 64, GS_INTRO = 60,
};
// Key codes.
enum { KEY_ESCAPE = 1, KEY_TAB = 15, KEY_RETURN = 28, KEY_LCONTROL = 29, KEY_SPACE = 57, KEY_G = 34, KEY_P = 25 };

struct Probe {
    std::map<std::string, std::string> fields;
    int Num(const std::string& key, int fallback = -1) const
    {
        const auto it = fields.find(key);
        return it == fields.end() || it->second.empty() ? fallback : std::atoi(it->second.c_str());
    }
    std::string Text(const std::string& key) const
    {
        const auto it = fields.find(key);
        return it == fields.end() ? std::string() : it->second;
    }
    // A field "x,y": false when missing.
    bool Point(const std::string& key, int* x, int* y) const
    {
        const std::string t = Text(key);
        return !t.empty() && std::sscanf(t.c_str(), "%d,%d", x, y) == 2;
    }
};

struct Peer {
    std::string name;
    std::string dir;
    std::streamoff read = 0;
    std::string partial;
    std::deque<std::string> replies;
    int seq = 0;
    bool ingame = true;                 // still playing (has not left)
    Probe last;
    int actions = 0;                    // actions this turn
    int turnday = -1, turnphase = -1;
    bool bought = false;                // the shop's purchases of this day are made
    int shopday = -1;
};

std::string shots;
std::vector<Peer> peers;

[[noreturn]] void Fail(const std::string& why)
{
    std::cout << "FAILED: " << why << std::endl;
    for (const Peer& p : peers)
        std::cout << "  " << p.name << ": last probe gs=" << p.last.Text("gs") << " day=" << p.last.Text("day")
                  << " phase=" << p.last.Text("phase") << std::endl;
    std::exit(1);
}

void Send(Peer& p, const std::string& line)
{
    std::ofstream out(p.dir + "/ctl/commands", std::ios::app);
    out << line << '\n';
}

void ReadReplies(Peer& p)
{
    std::ifstream in(p.dir + "/ctl/replies", std::ios::binary);
    if (!in)
        return;
    in.seekg(p.read);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    p.read += (std::streamoff)text.size();
    p.partial += text;
    for (size_t end = p.partial.find('\n'); end != std::string::npos; end = p.partial.find('\n')) {
        p.replies.push_back(p.partial.substr(0, end));
        p.partial.erase(0, end + 1);
    }
}

// Waits for a reply line that starts with prefix; the line.
std::string Expect(Peer& p, const std::string& prefix)
{
    const Clock::time_point end = Clock::now() + std::chrono::seconds(REPLYSECONDS);
    for (;;) {
        ReadReplies(p);
        while (!p.replies.empty()) {
            std::string line = p.replies.front();
            p.replies.pop_front();
            if (line.rfind("error", 0) == 0)
                Fail(p.name + " did not understand: " + line);
            if (line.rfind(prefix, 0) == 0)
                return line;
        }
        if (Clock::now() > end)
            Fail(p.name + " never answered \"" + prefix + "\"");
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void Await(Peer& p, const std::string& condition)
{
    Send(p, "wait " + condition);
    Expect(p, condition);
}

// The program's state after the frames already asked of it have run.
const Probe& Look(Peer& p)
{
    const std::string tag = "probe " + std::to_string(++p.seq);
    Send(p, "wait frames 2");
    Send(p, tag);
    std::istringstream words(Expect(p, tag + " ").substr(tag.size() + 1));
    p.last.fields.clear();
    std::string word;
    while (words >> word) {
        const size_t eq = word.find('=');
        if (eq != std::string::npos)
            p.last.fields[word.substr(0, eq)] = word.substr(eq + 1);
    }
    return p.last;
}

void Click(Peer& p, int x, int y)
{
    Send(p, "click " + std::to_string(x) + " " + std::to_string(y));
}

void Keys(Peer& p, const std::string& keys)
{
    Send(p, "keys " + keys);
}

// A picture of the player's screen, once for each name.
void Shot(Peer& p, const std::string& name)
{
    static std::set<std::string> taken;
    if (!taken.insert(p.name + name).second)
        return;
    const std::string path = shots + "/wholegame-" + p.name + "-" + name + ".png";
    Send(p, "shot " + path);
    Expect(p, "shot " + path);
}

Peer& Host()
{
    return peers[0];
}

// From the intro to the main menu, and into the lobby.
void Arrive()
{
    // The intro ends by itself after a while: each program is told at once to end it with a key, and
    // runs that in its own order, however long the driver takes over the others.
    for (Peer& p : peers) {
        Send(p, "wait gs " + std::to_string(GS_INTRO));
        Keys(p, std::to_string(KEY_SPACE) + " x5");
    }
    for (Peer& p : peers) {
        Expect(p, "gs " + std::to_string(GS_INTRO));
        Await(p, "gs " + std::to_string(GS_NAME));
        Send(p, "type " + p.name);
        Send(p, "wait frames 2");   // the typed letters are taken between frames
        Click(p, 695, 570);     // "Accept"
        Await(p, "gs " + std::to_string(GS_MAINMENU));
    }
    Click(Host(), 400, 100);    // the host icon
    Await(Host(), "gs " + std::to_string(GS_LOBBY));
    for (size_t i = 1; i < peers.size(); i++) {
        Peer& p = peers[i];
        Click(p, 256, 156);     // the join icon
        Await(p, "gs " + std::to_string(GS_ENTERIP));
        Send(p, "type 127.0.0.1");
        Send(p, "wait frames 2");
        Keys(p, std::to_string(KEY_RETURN));
        Await(p, "gs " + std::to_string(GS_LOBBY));
        Await(Host(), "players " + std::to_string(i + 1));
    }
}

// The host starts the game with $600; everybody chooses his warlord in table order.
void SetUp()
{
    Click(Host(), 695, 570);    // "Start Game"
    // The map and the mines are drawn from the host's clock: the same clock each run, the same land,
    // so that the armies meet what they are to fight within the days.
    Send(Host(), "wait gs " + std::to_string(GS_SELECTMONEY));
    Send(Host(), "clock " + std::to_string(MAPCLOCK));
    Click(Host(), 400, 125);    // "$600"
    Expect(Host(), "gs " + std::to_string(GS_SELECTMONEY));
    for (Peer& p : peers)
        Await(p, "gs " + std::to_string(GS_WARLORD));
    Shot(Host(), "warlords");
    for (size_t i = 0; i < peers.size(); i++) {
        Peer& p = peers[i];
        // A different warlord each: the next name in the list, then the button.
        const int rows = std::max(Look(p).Num("warlords", 1), 1);
        const int row = 490 / rows;
        Click(p, 100, 50 + row * (int)i + row / 2);
        Send(p, "wait frames 2");
        Click(p, 625, 500);     // "Select Warlord"
        // Wait until the host knows his warlord, so that the host numbers them in table order.
        for (int tries = 0; Look(p).Num("units", 0) < 1; tries++)
            if (tries > 500)
                Fail(p.name + "'s warlord never came");
    }
}

bool Quiet(const Probe& probe)
{
    const int gs = probe.Num("gs");
    return probe.Num("queue") == 0 && (gs == GS_UNITTURN || gs == GS_WATCH || gs == GS_WAITPLAYERS);
}

std::string Arrow(const std::string& dir)
{
    return dir == "L" ? "203" : dir == "R" ? "205" : dir == "U" ? "200" : "208";
}

int attacks = 0, casts = 0;     // made through the screens

// One decision in the local unit turn.
void ActInUnitTurn(Peer& p, const Probe& probe)
{
    if (probe.Num("day") != p.turnday || probe.Num("phase") != p.turnphase) {
        p.turnday = probe.Num("day");
        p.turnphase = probe.Num("phase");
        p.actions = 0;
    }
    int x, y;
    if (p.actions++ >= ACTIONSPERTURN) {
        Keys(p, std::to_string(KEY_LCONTROL) + " " + std::to_string(KEY_SPACE));   // the whole turn ends
        return;
    }
    if (probe.Point("spell", &x, &y)) {
        int tx, ty;
        probe.Point("spelltarget", &tx, &ty);
        casts++;
        Click(p, x, y);         // the spell's icon in the unit panel
        Send(p, "wait frames 3");
        Shot(p, "spell-aimed");
        Click(p, tx, ty);
        return;
    }
    if (probe.Point("target", &x, &y)) {
        attacks++;
        Keys(p, std::to_string(KEY_TAB));
        Send(p, "wait frames 3");
        Shot(p, "attack-marked");
        Click(p, x, y);
        return;
    }
    // The warlord keeps to his camp and strikes only what comes near: his fall would end the game.
    const std::string step = probe.Num("warlord", 0) ? std::string() : probe.Text("step");
    if (!step.empty()) {
        Keys(p, Arrow(step));
        return;
    }
    Keys(p, std::to_string(KEY_SPACE));     // this unit is done
}

void Shop(Peer& p, const Probe& probe)
{
    const int day = probe.Num("day");
    if (p.shopday != day) {
        p.shopday = day;
        p.bought = false;
    }
    int x, y;
    // Ann recruits casters, the others the cheapest soldiers.
    const bool found = p.name == "Ann" ? probe.Point("caster", &x, &y) || probe.Point("cheapest", &x, &y)
                                       : probe.Point("cheapest", &x, &y);
    if (!p.bought && found) {
        Click(p, x, y);
        Send(p, "wait frames 2");
        Click(p, 690, 425);     // "Buy This Unit"
        Send(p, "wait frames 2");
        if (p.name == "Hal")
            Shot(p, "shop");
        Click(p, 690, 425);
        p.bought = true;
        return;
    }
    Click(p, 690, 490);         // "Done"
}


// Leaving in the middle of the game: Esc, then the menu's "Quit Current Game".
void Leave(Peer& p)
{
    std::cout << p.name << " leaves the game" << std::endl;
    Keys(p, std::to_string(KEY_ESCAPE));
    Await(p, "gs " + std::to_string(GS_MENU));
    Shot(p, "menu");
    Click(p, 400, 150);
    Await(p, "gs " + std::to_string(GS_MAINMENU));
    p.ingame = false;
}

// Who leaves when: Bo on the second day, Ann after him, each while another player acts; the host,
// alone with the neutral side, then wins at the start of his next turn.
bool LeavesNow(const Peer& p, const Probe& probe)
{
    if (probe.Num("gs") != GS_WATCH || probe.Num("day") < 2)
        return false;
    return p.name == "Bo" || (p.name == "Ann" && !peers[2].ingame);
}

// The things a player does once in the game, to see that they work through the screens: the options
// by their key, the menu opened and closed, the end-turn box from the unit panel's button.
struct Sights {
    bool options = false, menu = false, endturnbox = false, summary = false, deploy = false;
};
Sights seen;

// Digests of the quiet programs: equal, or the game has gone apart.
int quietrounds = 0, unequalrounds = 0, checkpoints = 0;

bool CheckQuiet(const std::vector<Peer*>& playing)
{
    for (const Peer* p : playing)
        if (!Quiet(p->last))
            return quietrounds = 0, false;
    if (++quietrounds < QUIETROUNDS)
        return false;
    const std::string digest = playing.front()->last.Text("digest");
    for (const Peer* p : playing)
        if (p->last.Text("digest") != digest) {
            if (++unequalrounds >= UNEQUALROUNDS) {
                std::string all;
                for (const Peer* q : playing)
                    all += " " + q->name + "=" + q->last.Text("digest");
                Fail("the programs went apart:" + all);
            }
            return false;
        }
    unequalrounds = 0;
    checkpoints++;
    return true;
}

// One decision for a player whose screen waits for him; true when he did something.
bool Act(Peer& p, const Probe& probe, bool quiet)
{
    int x, y;
    switch (probe.Num("gs")) {
    case GS_ERROR:
        Click(p, 400, 550);     // "OK" of the error screen (a player left)
        return true;
    case GS_SHOP:
        Shop(p, probe);
        return true;
    case GS_DEPLOY:
        if (!probe.Point("legal", &x, &y))
            return false;
        if (!seen.deploy && p.name == "Hal") {
            seen.deploy = true;
            Send(p, "move " + std::to_string(x) + " " + std::to_string(y));
            Send(p, "wait frames 2");
            Shot(p, "deploy");
        }
        Click(p, x, y);
        return true;
    case GS_DAYSUMMARY:
        if (!seen.summary && p.name == "Hal") {
            seen.summary = true;
            Shot(p, "summary");
            Click(p, 105, 515);     // the graph's page button
            Send(p, "wait frames 2");
            Shot(p, "summary-kills");
        }
        Click(p, 105, 570);         // "Done"
        return true;
    case GS_ENDTURNCONFIRM:
        Shot(p, "endturn");
        Click(p, 400, 225);         // "End Turn"
        return true;
    case GS_MENU:
        Click(p, 400, 350);         // "Cancel"
        return true;
    case GS_OPTIONS:
        Click(p, 400, 255);         // the grid on
        Send(p, "wait frames 2");
        Shot(p, "options");
        Click(p, 400, 480);         // "Accept"
        return true;
    case GS_VICTORYSCREEN:
        return false;
    case GS_WATCH:
        return false;
    case GS_UNITTURN:
        if (!quiet)
            return false;
        if (!seen.menu && p.name == "Hal") {
            seen.menu = true;
            Keys(p, std::to_string(KEY_ESCAPE));
            return true;
        }
        if (!seen.endturnbox && p.name == "Ann") {
            seen.endturnbox = true;
            Click(p, 25, 130);      // the unit panel's "End Turn"
            return true;
        }
        ActInUnitTurn(p, probe);
        return true;
    default:
        return false;
    }
}

// What a watching player does while the others play: leaving the game, or a look at the options.
bool ActWhileWatching(Peer& p, const Probe& probe)
{
    if (probe.Num("gs") != GS_WATCH)
        return false;
    if (LeavesNow(p, probe)) {
        Leave(p);
        return true;
    }
    if (!seen.options && p.name == "Bo") {
        seen.options = true;
        Keys(p, std::to_string(KEY_P));
        return true;
    }
    return false;
}

// The players still in the game that see the victory screen acknowledge it; true when one did.
bool Victory(const std::vector<Peer*>& playing)
{
    bool any = false;
    for (Peer* p : playing) {
        if (p->last.Num("gs") != GS_VICTORYSCREEN)
            continue;
        std::cout << p->name << " sees the victory of " << p->last.Text("winner") << " after " << checkpoints
                  << " checkpoints" << std::endl;
        Shot(*p, "victory");
        Click(*p, 400, 560);    // "OK"
        Await(*p, "gs " + std::to_string(GS_MAINMENU));
        p->ingame = false;
        any = true;
    }
    return any;
}

void Play()
{
    bool won = false;
    int afterwin = 0;
    for (int round = 0; round < MAXROUNDS; round++) {
        std::vector<Peer*> playing;
        for (Peer& p : peers)
            if (p.ingame) {
                Look(p);
                playing.push_back(&p);
            }
        if (playing.empty())
            break;
        if (playing.front()->last.Num("day") > LASTDAY)
            Fail("the game went on past day " + std::to_string(LASTDAY));
        won = Victory(playing) || won;
        // Once won, everybody still in the game sees the victory soon.
        if (won && ++afterwin > AFTERWINROUNDS)
            Fail("a player still in the game never saw the victory");
        if (won)
            continue;
        const bool quiet = CheckQuiet(playing);
        bool acted = false;
        for (Peer* p : playing)
            if (!acted && (ActWhileWatching(*p, p->last) || Act(*p, p->last, quiet)))
                acted = true;       // one player acts at a time; everybody is looked at again
        if (acted)
            quietrounds = 0;
    }
    if (!won)
        Fail("the game did not end");
}

void Finish()
{
    if (checkpoints < 10)
        Fail("only " + std::to_string(checkpoints) + " checkpoints");
    // Within their days the armies meet the guards of the mines near their camps: the soldiers strike
    // them and Ann's casters cast at them, all by clicks.
    if (attacks < 1 || casts < 1)
        Fail("no attack or no spell was made through the screens");
    for (Peer& p : peers) {
        Await(p, "gs " + std::to_string(GS_MAINMENU));
        Send(p, "quit");
    }
    std::cout << "the game ended with " << checkpoints << " checkpoints, every digest equal; " << attacks
              << " attacks and " << casts << " spells cast by clicks" << std::endl;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::cerr << "usage: wholegame_driver <shots> <host dir> <client dir> <client dir>\n";
        return 2;
    }
    shots = argv[1];
    const char* names[3] = {"Hal", "Ann", "Bo"};
    for (int i = 0; i < 3; i++) {
        Peer p;
        p.name = names[i];
        p.dir = argv[2 + i];
        peers.push_back(p);
    }
    Arrive();
    SetUp();
    Play();
    Finish();
    return 0;
}
