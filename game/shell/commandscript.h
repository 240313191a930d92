// The command script: a text file of one three-letter command per line, run line by line. The game's
// start-up script "startup.dat" checks that the game's files are in place and creates the preferences
// file; it succeeds only by reaching "stp".
//
// Base commands: "dir" (a directory exists), "fil" (a file can be read), "rem" (a remark), "stp" (stop:
// success), "chd" (change the working directory for good) and "exe" (run another script with the same
// commands). Commands are case-insensitive; arguments keep their case and may hold blanks.
#pragma once
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

class CommandScript;

// Handler results.
enum { SCRIPT_FAIL = 0, SCRIPT_GOON = 1, SCRIPT_STOP = 2 };
enum { MAXSCRIPTDEPTH = 8 };            // scripts run by "exe" within scripts, the first one included
enum { MAXSCRIPTLINE = 1024 };          // a longer line fails the script
// Commands of one run, the nested scripts' included: scripts that run one another many times over
// would otherwise take for ever.
enum { MAXSCRIPTCOMMANDS = 100000 };

typedef int32_t (*ScriptHandler)(const std::string& argument, CommandScript& script);

struct ScriptCommand {
    std::string name;
    ScriptHandler handler;
};

// Unlike the game's other functions, Run returns true on failure but the handlers return a result.
class CommandScript {
public:
    CommandScript();                    // the six base commands
    CommandScript(const CommandScript&) = delete;
    CommandScript& operator=(const CommandScript&) = delete;

    void AddCommand(const std::string& name, ScriptHandler handler);   // the first of equal names wins
    void CopyCommands(const CommandScript& other);                     // this table becomes a copy of other's
    bool Run(const std::string& file);  // runs a script file to its "stp"; true on failure

    int32_t depth = 1;                  // 1 for a script run by the game, one more for each "exe"
    int32_t ran = 0;                    // commands run so far in this run, the nested scripts' included

private:
    std::ifstream in;
    std::vector<ScriptCommand> commands;
};

int32_t CmdDir(const std::string& argument, CommandScript& script);
int32_t CmdFil(const std::string& argument, CommandScript& script);
int32_t CmdRem(const std::string& argument, CommandScript& script);
int32_t CmdStp(const std::string& argument, CommandScript& script);
int32_t CmdChd(const std::string& argument, CommandScript& script);
int32_t CmdExe(const std::string& argument, CommandScript& script);

bool CheckGameFiles();                  // start-up step 1: runs "startup.dat" with "ini" added; true on failure
