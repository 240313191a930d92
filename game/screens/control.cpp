#include "game/screens/control.h"

#include <chrono>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <thread>
#include <vector>

#include "game/model/state.h"
#include "game/net/link.h"
#include "game/screens/probe.h"
#include "game/screens/states.h"
#include "game/view/feed.h"
#include "game/view/frames.h"
#include "platform/clock.h"
#include "platform/headless.h"
#include "platform/inputscript.h"
#include "platform/window.h"

namespace {

enum : uint32_t { FRAMEMS = 16 };

struct Channel {
    bool open = false;
    std::string dir;
    std::streamoff read = 0;            // how far the commands file was read
    std::string partial;                // a line still being written
    std::deque<std::string> waiting;    // read, not yet run
    int32_t cursorx = 400, cursory = 300;   // where the scripted mouse has put the cursor
    int32_t framesuntil = -1;           // a "wait frames" under way: the frame count it waits for
};

Channel channel;

void Reply(const std::string& line)
{
    std::ofstream out(channel.dir + "/replies", std::ios::app);
    out << line << '\n';
}

// The complete lines appended to the commands file since the last look.
void ReadCommands()
{
    std::ifstream in(channel.dir + "/commands", std::ios::binary);
    if (!in)
        return;
    in.seekg(channel.read);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    channel.read += (std::streamoff)text.size();
    channel.partial += text;
    for (size_t end = channel.partial.find('\n'); end != std::string::npos; end = channel.partial.find('\n')) {
        std::string line = channel.partial.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        channel.partial.erase(0, end + 1);
        if (!line.empty())
            channel.waiting.push_back(line);
    }
}

bool FeedHolds(const std::string& text)
{
    for (const FeedMessage& m : messages)
        if (m.text.find(text) != std::string::npos)
            return true;
    return false;
}

// A wait's condition; true (answered) when it holds.
bool WaitDone(std::istringstream& args)
{
    std::string what, rest;
    args >> what;
    std::getline(args >> std::ws, rest);
    if (what == "gs" && std::atoi(rest.c_str()) == gs) {
        Reply("gs " + rest);
        return true;
    }
    if (what == "players" && std::atoi(rest.c_str()) == (int)p.size()) {
        Reply("players " + rest);
        return true;
    }
    if (what == "feed" && FeedHolds(rest)) {
        Reply("feed " + rest);
        return true;
    }
    if (what == "frames") {
        if (channel.framesuntil < 0)
            channel.framesuntil = framecount + std::atoi(rest.c_str());
        if (framecount < channel.framesuntil)
            return false;
        channel.framesuntil = -1;
        Reply("frames " + rest);
        return true;
    }
    return false;
}

void ScriptChord(std::istringstream& args)
{
    std::vector<uint8_t> codes;
    int reads = 1;
    std::string word;
    while (args >> word) {
        if (word[0] == 'x')
            reads = std::atoi(word.c_str() + 1);
        else
            codes.push_back((uint8_t)std::atoi(word.c_str()));
    }
    // The script takes a fixed list: a chord of up to four keys is all a player plays.
    codes.resize(4, 0);
    ScriptKeys({ codes[0], codes[1], codes[2], codes[3] }, reads);
}

void ScriptPointer(std::istringstream& args, bool press)
{
    int32_t x = 0, y = 0;
    args >> x >> y;
    ScriptMouse(x - channel.cursorx, y - channel.cursory, press ? 1 : 0, 1);
    channel.cursorx = x;
    channel.cursory = y;
}

// Runs one command; false when it is a wait that does not hold yet.
bool RunCommand(const std::string& line)
{
    std::istringstream args(line);
    std::string command;
    args >> command;
    std::string rest;
    if (command == "wait")
        return WaitDone(args);
    if (command == "keys") {
        ScriptChord(args);
    } else if (command == "move" || command == "click") {
        ScriptPointer(args, command == "click");
    } else if (command == "type") {
        std::getline(args >> std::ws, rest);
        InjectText(rest.c_str());
    } else if (command == "port") {
        args >> netport;
    } else if (command == "clock") {
        // The virtual clock moved on to a given time, so that what the host draws from it (the map's
        // seeds) is the same however long the driver took before.
        uint32_t at = 0;
        args >> at;
        if (at > GetTicks())
            AdvanceClock(at - GetTicks());
    } else if (command == "shot") {
        std::getline(args >> std::ws, rest);
        SaveLastFramePng(rest.c_str());
        Reply("shot " + rest);
    } else if (command == "probe") {
        std::getline(args >> std::ws, rest);
        Reply("probe " + rest + " " + ProbeLine());
    } else if (command == "say") {
        std::getline(args >> std::ws, rest);
        Reply(rest);
    } else if (command == "quit") {
        InjectCloseRequest();
    } else {
        Reply("error " + line);
    }
    return true;
}

} // namespace

bool OpenControl(const std::string& dir)
{
    channel = Channel{};
    channel.dir = dir;
    std::ofstream replies(dir + "/replies", std::ios::trunc);
    channel.open = (bool)replies;
    return !channel.open;
}

void PollControl()
{
    if (!channel.open)
        return;
    ReadCommands();
    while (!channel.waiting.empty() && RunCommand(channel.waiting.front()))
        channel.waiting.pop_front();
    // Several game processes share the machine: each gives the others a turn every frame.
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    // Time on the program's virtual clock passes as on a screen at 60 frames a second, so that what
    // waits for time between frames (the computer player's pace, a request's Cancel) sees it pass.
    AdvanceClock(FRAMEMS);
}

void CloseControl()
{
    channel = Channel{};
}
