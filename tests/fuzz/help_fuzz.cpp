// libFuzzer target: arbitrary bytes as the help module "Lumeth.dll", loaded as at start-up. A module the
// loader takes must give what the help screen relies on: a folder count within its tabs, one folder
// record each, and pages whose texts, picture cells and sheets all read from inside the buffer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "game/screens/help.h"
#include "sandbox.h"

namespace {

const FuzzSandbox& Sandbox()
{
    static const FuzzSandbox sandbox("help");
    return sandbox;
}

void Expect(bool holds)
{
    if (!holds)
        abort();
}

// Every page of every folder as the screen turns to it, following its "next" numbers.
void ReadPages()
{
    Expect(helpfoldercount >= 1 && helpfoldercount <= MAXHELPFOLDERS);
    Expect(helpfolders.size() == (size_t)helpfoldercount);
    Expect(helptabheight > 0);
    for (int32_t f = 0; f < helpfoldercount; f++)
        for (int32_t page = 0; page < MAXHELPPAGES; page++) {
            const uint32_t base = HELP_FOLDERSTRIDE * (uint32_t)f + (uint32_t)page;
            Expect(strlen(LoadHelpString(base + HELP_TITLE)) < HELPBUFFERSIZE);
            Expect(strlen(LoadHelpString(base + HELP_BODY)) < HELPBUFFERSIZE);
            const int32_t cell = LoadHelpNumber(base + HELP_PICTURE);
            Expect(cell >= 0 && cell < HELPSHEETCELLS);
            LoadHelpNumber(base + HELP_SHEET);
            if (LoadHelpNumber(base + HELP_NEXT) == 0)
                break;
        }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const FuzzSandbox& sandbox = Sandbox();
    const std::filesystem::path home = std::filesystem::current_path();
    sandbox.Enter();
    std::ofstream("Lumeth.dll", std::ios::binary | std::ios::trunc).write((const char*)data, (std::streamsize)size);
    if (!LumethGo())
        ReadPages();
    UnloadHelpModule();
    std::filesystem::current_path(home);
    return 0;
}
