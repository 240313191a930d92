#include "game/shell/commandscript.h"

#include "common/strutil.h"
#include "game/shell/debuglog.h"
#include "game/shell/prefs.h"
#include "platform/files.h"

CommandScript::CommandScript()
{
    AddCommand("dir", CmdDir);
    AddCommand("fil", CmdFil);
    AddCommand("rem", CmdRem);
    AddCommand("stp", CmdStp);
    AddCommand("chd", CmdChd);
    AddCommand("exe", CmdExe);
}

void CommandScript::AddCommand(const std::string& name, const ScriptHandler handler)
{
    commands.push_back(ScriptCommand{ name, handler });
}

void CommandScript::CopyCommands(const CommandScript& other)
{
    commands = other.commands;
}

// The runner says which line failed: the player sees only "unable to locate all necessary game
// files", and the log that survives a failed start-up tells him which.
bool CommandScript::Run(const std::string& file)
{
    if (in.is_open())
        in.close();
    in.clear();
    if (depth == 1)
        ran = 0;
    if (depth > MAXSCRIPTDEPTH) {
        debuglog << "ERROR: " << file << ": scripts run one another more than " << MAXSCRIPTDEPTH << " deep\n";
        return true;
    }
    // Only a regular file: opening a pipe would wait for a writer.
    if (FileExists(file.c_str()))
        in.open(ResolvePath(file.c_str()), std::ios::binary);
    if (!in.is_open()) {
        debuglog << "ERROR: Couldn't open the script " << file << '\n';
        return true;
    }
    std::string line;
    bool overlong = false;
    while (ReadLine(in, line, MAXSCRIPTLINE, &overlong)) {
        std::string argument = Trim(line);
        if (argument.empty())
            continue;
        // A name cut short at a NUL byte would test some other file.
        if (argument.find('\0') != std::string::npos) {
            debuglog << "ERROR: " << file << ": a line holds a NUL byte\n";
            return true;
        }
        std::string command;
        SplitToken(command, argument);
        command = ToLowerString(command);
        const ScriptCommand* found = nullptr;
        for (const ScriptCommand& c : commands) {
            if (c.name == command) {
                found = &c;
                break;
            }
        }
        if (!found) {
            debuglog << "ERROR: " << file << ": unknown command \"" << command << "\"\n";
            return true;
        }
        if (++ran > MAXSCRIPTCOMMANDS) {
            debuglog << "ERROR: " << file << ": more than " << MAXSCRIPTCOMMANDS << " commands in one run\n";
            return true;
        }
        const int32_t result = found->handler(argument, *this);
        if (result == SCRIPT_GOON)
            continue;
        if (result == SCRIPT_STOP)
            return false;
        debuglog << "ERROR: " << file << ": \"" << command << ' ' << argument << "\" failed\n";
        return true;
    }
    if (overlong)
        debuglog << "ERROR: " << file << ": a line longer than " << MAXSCRIPTLINE << " characters\n";
    else
        debuglog << "ERROR: " << file << " ends without \"stp\"\n";
    return true;
}

// "dir": the directory exists. It is looked at, not entered, so the working directory stays.
int32_t CmdDir(const std::string& argument, CommandScript&)
{
    return DirectoryExists(argument.c_str()) ? SCRIPT_GOON : SCRIPT_FAIL;
}

// "fil": a file (not a directory) that can be opened for reading.
int32_t CmdFil(const std::string& argument, CommandScript&)
{
    if (!FileExists(argument.c_str()))
        return SCRIPT_FAIL;
    std::ifstream file(ResolvePath(argument.c_str()), std::ios::binary);
    return file.is_open() ? SCRIPT_GOON : SCRIPT_FAIL;
}

int32_t CmdRem(const std::string&, CommandScript&)
{
    return SCRIPT_GOON;
}

int32_t CmdStp(const std::string&, CommandScript&)
{
    return SCRIPT_STOP;
}

int32_t CmdChd(const std::string& argument, CommandScript&)
{
    return SetCurrentDir(argument.c_str()) ? SCRIPT_FAIL : SCRIPT_GOON;
}

// "exe": another script with every command of this one ("ini" too); its "stp" ends only itself.
int32_t CmdExe(const std::string& argument, CommandScript& script)
{
    CommandScript nested;
    nested.CopyCommands(script);
    nested.depth = script.depth + 1;
    nested.ran = script.ran;
    const bool failed = nested.Run(argument);
    script.ran = nested.ran;
    return failed ? SCRIPT_FAIL : SCRIPT_GOON;
}

bool CheckGameFiles()
{
    CommandScript script;
    script.AddCommand("ini", EnsureIniFile);
    return script.Run("startup.dat");
}
