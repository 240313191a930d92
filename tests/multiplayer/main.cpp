// A game process for the multi-process test, in place of the game program: the headless platform, the
// shipped catalogue, a seeded generator and a virtual clock; the game's own main-loop pass, with a
// scripted step in place of the screens' frame, until the game is over.
//
//   gorvanel_mp host <game dir> <port file> <digest file> <seed>
//   gorvanel_mp ann|bo <game dir> <port> <digest file> <seed>
//   gorvanel_mp lobby <game dir> <port file> <passes file> <seed>
//
// The host finds a free port and writes it to the port file once it listens. Each process writes one
// line "N digest" per checkpoint to its digest file, and "winner NAME" when the game has a winner, and
// beside it, in the digest file's name with ".wire" added, a digest of the bytes of every connection in
// each direction (its frames, bytes and FNV-1a hash). Exit code 0 when the game ran to its end here, 1
// otherwise.
//
// A lobby host only hosts its lobby, on the real clock, for players on the wire (tests/flood's driver):
// it keeps the number of passes it has run in its passes file, and ends once everybody who joined left.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <set>
#include <string>

#include "game/main/winmain.h"
#include "game/magic/binding.h"
#include "game/model/catalogue.h"
#include "game/model/digest.h"
#include "game/model/localplayer.h"
#include "game/model/state.h"
#include "game/model/turns.h"
#include "game/net/dispatch.h"
#include "game/net/link.h"
#include "game/net/lobby.h"
#include "game/net/routing.h"
#include "game/net/sendqueue.h"
#include "game/screens/listener.h"
#include "game/screens/states.h"
#include "game/shell/debuglog.h"
#include "game/shell/shell.h"
#include "game/shell/sound.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "platform/socket.h"
#include "platform/window.h"
#include "scripted.h"
#include "wire.h"

namespace {

enum { MAXPASSES = 400000, FRAMEMS = 16, AFTERWORDPASSES = 3000 };

std::ofstream digests;
const char* rolename = "host";
std::set<std::string> events;

void Usage()
{
    std::cerr << "usage: gorvanel_mp host <game dir> <port file> <digest file> <seed>\n"
                 "       gorvanel_mp ann|bo <game dir> <port> <digest file> <seed>\n"
                 "       gorvanel_mp lobby <game dir> <port file> <passes file> <seed>\n";
}

// The game's pass but for its pacing: the screens' frame waits for its slot; here a pass waits a little
// for the network unless frames wait to be sent. True when the program was told to end.
bool Pass(void (*frame)())
{
    PumpSockets(SendQueueEmpty() ? 1 : 0);
    int code = 0;
    if (MainLoopPass(frame, &code))
        return true;
    // The map search and the mines draw from the clock: time waiting for the others in the lobby, as
    // long as they take to join, does not count, so every run plays the same game.
    if (gs != GAME_LOBBY && gs != GAME_ENTERLOBBY)
        AdvanceClock(FRAMEMS);
    return false;
}

void NoFrame()
{
}

// The screens' frame of a scripted game: the host notes a player who left (the game goes on without
// him: a checkpoint), then the script's step.
void ScriptFrame()
{
    static int32_t players = 0;
    static std::string holder;      // the name of the player whose turn ran in the last pass
    if (ishost) {
        if ((int32_t)p.size() < players) {
            Note("a player left");
            bool stayed = false;
            for (const Player& player : p)
                stayed = stayed || holder == player.name;
            if (!holder.empty() && !stayed)
                RecordEvent("leftinturn");
            script.awaitdone = false;
            script.syncpending = true;
        }
        players = (int32_t)p.size();
        holder = IsValidPlayer(turnholder) ? p[turnholder].name : "";
    }
    if (!ishost && you != NOSTAMP && gs == GAME_CONNECTING) {
        gs = GAME_LOBBY;
        RecordEvent("joined");
    }
    ScriptStep();
}

bool Host(const std::string& portfile)
{
    // A free port: another test may hold the first one tried.
    for (int tries = 0; tries < 200; tries++) {
        netport = 20000 + (int)((GetTicks() / FRAMEMS + (uint32_t)tries * 7919u + (uint32_t)std::rand()) % 40000);
        if (!HostGame())
            break;
        netport = 0;
        gs = GAME_MAINMENU;
    }
    if (netport == 0)
        return true;
    std::ofstream out(portfile + ".tmp");
    out << netport << '\n';
    out.close();
    std::filesystem::rename(portfile + ".tmp", portfile);
    return false;
}

} // namespace

void Note(const std::string& line)
{
    std::cerr << "[" << rolename << " day " << daycount << " phase " << turncount << "] " << line << '\n';
}

void RecordCheckpoint(int32_t n)
{
    script.syncsseen++;
    digests << n << ' ' << std::hex << GameStateDigest() << std::dec << '\n';
    digests.flush();
}

void RecordEvent(const std::string& name)
{
    if (!events.insert(name).second)
        return;
    Note("event " + name);
    digests << "event " << name << '\n';
    digests.flush();
}

void StartCheckpoint()
{
    script.syncpending = false;
    const int32_t n = ++script.synccount;
    RecordCheckpoint(n);
    if (script.victory)
        script.victorysync = n;
    std::string line = "#sync " + std::to_string(n);
    SendChat(line, PUBLICCHAT);
}

namespace {

// The lobby host's passes: the count so far, rewritten in place after every pass.
void WritePasses(FILE* out, uint64_t passes)
{
    std::rewind(out);
    std::fprintf(out, "%20llu\n", (unsigned long long)passes);
    std::fflush(out);
}

int ServeLobby(const std::filesystem::path& passespath)
{
    FILE* const out = std::fopen(passespath.c_str(), "w");
    if (!out)
        return 1;
    gs = GAME_LOBBY;
    bool joined = false;
    uint64_t passes = 0;
    bool ended = false;
    while (!(joined && p.size() == 1) && !ended) {
        ended = Pass(NoFrame);
        WritePasses(out, ++passes);
        joined = joined || p.size() > 1;
    }
    std::fclose(out);
    Note(ended ? "told to end" : "everybody left");
    return ended ? 1 : 0;
}

int PlayGame()
{
    int32_t afterword = -1;
    bool ended = false;
    for (int pass = 0; pass < MAXPASSES && !ended; pass++) {
        if (ishost && !script.resisted && IsValidPlayer(turnholder) && !p[turnholder].hostplayer
            && !p[turnholder].neutral)
            NextDrawResists();
        ended = Pass(ScriptFrame);
        if (script.finished && script.role != ROLE_HOST)
            break;
        // After the victory: the host's last checkpoint goes out; every client records it.
        if (script.victory && afterword < 0 && (!ishost || script.victorysync > 0)) {
            afterword = pass;
            script.syncsatvictory = script.syncsseen;
        }
        if (afterword >= 0) {
            const bool settled = ishost ? SendQueueEmpty() : script.syncsseen > script.syncsatvictory;
            if ((settled && pass - afterword > 50) || pass - afterword > AFTERWORDPASSES || gs == GAME_LEAVEGAME)
                break;
        }
    }
    if (script.victory)
        digests << "winner " << script.winner << '\n';
    digests.close();
    const bool ok = !ended && (script.victory || script.finished);
    Note(std::string(ok ? "done" : "the game did not end") + " after " + std::to_string(script.moves) + " steps");
    // The host keeps the connections until the clients had their last checkpoint.
    if (ishost)
        for (int pass = 0; pass < AFTERWORDPASSES && !SendQueueEmpty() && !ended; pass++)
            ended = Pass(NoFrame);
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 6) {
        Usage();
        return 2;
    }
    // What the rules announce goes where it goes in the game program (an error screen sets the state).
    ShowRulesOnScreen();
    const std::string role = argv[1];
    const bool lobby = role == "lobby";
    script.role = role == "host" || lobby ? ROLE_HOST : role == "ann" ? ROLE_ANN : ROLE_BO;
    rolename = argv[1];
    if (role != "host" && role != "ann" && role != "bo" && !lobby) {
        Usage();
        return 2;
    }
    const std::string dist = argv[2];
    const std::filesystem::path digestpath = std::filesystem::absolute(argv[4]);
    const std::filesystem::path logpath = digestpath.string() + ".log";
    const std::string where = argv[3];
    const std::filesystem::path portpath = std::filesystem::absolute(where);

    std::filesystem::current_path(dist);
    if (!lobby)
        digests.open(digestpath);
    OpenDebugLog(logpath.c_str());
    if (LoadGameText() || CreateSpells()) {
        std::cerr << rolename << ": the catalogue would not load\n";
        return 1;
    }
    // The game's window procedure takes the pass's messages, on the headless back end.
    if (StartPlatform(BACKEND_HEADLESS) || CreateMainWindow("Gorvanel", GameWndProc)) {
        std::cerr << rolename << ": no headless window\n";
        return 1;
    }
    const uint32_t seed = (uint32_t)std::strtoul(argv[5], nullptr, 10);
    SeedRandom(seed);
    std::srand(std::random_device{}());
    if (!lobby)
        UseVirtualClock(seed);
    candraw = 0;
    appactive = 1;
    soundon = 0;
    playername = script.role == ROLE_HOST ? "Hal" : script.role == ROLE_ANN ? "Ann" : "Bo";
    SetMessageObserver(ObserveMessage);
    if (!lobby)
        CaptureWire();

    if (script.role == ROLE_HOST) {
        if (Host(portpath.string())) {
            std::cerr << "host: no free port\n";
            return 1;
        }
    } else {
        netport = std::atoi(where.c_str());
        gs = GAME_CONNECTING;
        if (JoinHost("127.0.0.1")) {
            std::cerr << rolename << ": could not start joining\n";
            return 1;
        }
    }
    Note("started");
    const int status = lobby ? ServeLobby(digestpath) : PlayGame();
    NetCleanup();
    if (!lobby && WriteWireDigest(digestpath.string() + ".wire")) {
        std::cerr << rolename << ": the wire digest could not be written\n";
        return 1;
    }
    CloseDebugLog();
    StopPlatform();
    return status;
}
