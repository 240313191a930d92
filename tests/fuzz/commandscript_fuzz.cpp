// libFuzzer target: arbitrary bytes as the start-up script "startup.dat" and two more scripts it may
// run ("a.dat" and "b.dat": the input's parts between lines "--"), in a directory holding a few of
// the game's files and folders. "ini" is taken as a command but writes nothing here, so that a script
// that changes directory cannot leave files behind outside the sandbox.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "game/shell/commandscript.h"
#include "sandbox.h"
#include "textparts.h"

namespace {

int32_t NoIni(const std::string&, CommandScript&)
{
    return SCRIPT_GOON;
}

const FuzzSandbox& Sandbox()
{
    static const FuzzSandbox sandbox("commandscript");
    static const bool filled = [] {
        std::filesystem::create_directories(sandbox.Path() / "Music");
        std::ofstream(sandbox.Path() / "Tessarine.dll") << "x";
        std::ofstream(sandbox.Path() / "Music" / "Load.mid") << "x";
        return true;
    }();
    (void)filled;
    return sandbox;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const FuzzSandbox& sandbox = Sandbox();
    const std::filesystem::path home = std::filesystem::current_path();
    sandbox.Enter();
    const std::vector<std::string> scripts = InputParts(std::string((const char*)data, size), 3);
    const char* const names[] = {"startup.dat", "a.dat", "b.dat"};
    for (size_t i = 0; i < scripts.size(); i++)
        std::ofstream(names[i], std::ios::binary | std::ios::trunc) << scripts[i];
    CommandScript script;
    script.AddCommand("ini", NoIni);
    script.Run("startup.dat");
    std::filesystem::current_path(home);
    return 0;
}
