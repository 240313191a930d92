// The help module: loaded at start-up, read into folders, freed at shutdown. Every number the module
// gives (the folder count, each folder's pages, each picture cell) is checked here, once, so that the
// help screen can trust what it reads.
#include "game/screens/help.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>

#include "common/module.h"
#include "game/shell/debuglog.h"

std::vector<HelpFolder> helpfolders;
int32_t helpfoldercount = 0;
int32_t helptabheight = HELPTABSHEIGHT;
int32_t helpfolder = 0;
int32_t helpshownfolder = -1;
int32_t helpshownpage = -1;
std::string helptitle;
std::string helpbody;
int32_t helppicture = 0;
int32_t helppictureset = HELPSHEET_UNITS;

namespace {

Module* helpmodule = nullptr;
char* helpbuffer = nullptr;

// Every page of folder f, from 0 while its next flag is set, has a cell within its sheet and the
// folder ends within MAXHELPPAGES pages. True, with an "ERROR: " line, when not.
bool CheckFolderPages(int32_t f)
{
    const uint32_t base = HELP_FOLDERSTRIDE * (uint32_t)f;
    for (int32_t page = 0; page < MAXHELPPAGES; page++) {
        const int32_t cell = LoadHelpNumber(base + HELP_PICTURE + (uint32_t)page);
        if (cell < 0 || cell >= HELPSHEETCELLS) {
            debuglog << "ERROR: Help page " << page << " of folder " << f << " shows cell " << cell
                     << ", outside its sheet.\n";
            return true;
        }
        if (LoadHelpNumber(base + HELP_NEXT + (uint32_t)page) == 0)
            return false;
    }
    debuglog << "ERROR: Help folder " << f << " has more than " << MAXHELPPAGES << " pages.\n";
    return true;
}

} // namespace

bool AllocHelpBuffer()
{
    if (!helpbuffer)
        helpbuffer = new (std::nothrow) char[HELPBUFFERSIZE]();
    return helpbuffer == nullptr;
}

bool LoadLumethModule()
{
    errno = 0;
    helpmodule = OpenModule("Lumeth.dll");
    if (helpmodule)
        return false;
    debuglog << "Failed to load Lumeth.dll\nError code:" << errno << '\n';
    return true;
}

const char* LoadHelpString(uint32_t id)
{
    if (!helpbuffer)
        return "";
    // A missing string reads as "", not as whatever the last read left in the buffer.
    if (ModuleString(helpmodule, id, helpbuffer, HELPBUFFERSIZE) <= 0)
        helpbuffer[0] = '\0';
    return helpbuffer;
}

const char* SetHelpText(const char* text)
{
    if (!helpbuffer)
        return "";
    strncpy(helpbuffer, text ? text : "", HELPBUFFERSIZE - 1);
    helpbuffer[HELPBUFFERSIZE - 1] = '\0';
    return helpbuffer;
}

int32_t LoadHelpNumber(uint32_t id)
{
    return (int32_t)strtol(LoadHelpString(id), nullptr, 10);
}

bool CreateHelpFolders()
{
    helpfolders.clear();
    helpfoldercount = LoadHelpNumber(HELP_FOLDERCOUNT);
    debuglog << "There are " << helpfoldercount << " total folders.\n";
    if (helpfoldercount < 1 || helpfoldercount > MAXHELPFOLDERS) {
        if (helpfoldercount > MAXHELPFOLDERS)
            debuglog << "ERROR: The help module names " << helpfoldercount << " folders; at most " << MAXHELPFOLDERS
                     << " fit.\n";
        return true;
    }
    for (int32_t f = 0; f < helpfoldercount; f++) {
        const std::string name = LoadHelpString(HELP_FOLDERNAME + (uint32_t)f);
        debuglog << "Created help folder " << name << '\n';
        if (CheckFolderPages(f))
            return true;
        helpfolders.push_back(HelpFolder{ name, 0 });
    }
    helptabheight = HELPTABSHEIGHT / (int32_t)std::max<size_t>(helpfolders.size(), 1);
    return false;
}

bool LumethGo()
{
    debuglog << "LumethGo called\n";
    return AllocHelpBuffer() || LoadLumethModule() || CreateHelpFolders();
}

void UnloadHelpModule()
{
    delete[] helpbuffer;
    helpbuffer = nullptr;
    CloseModule(helpmodule);
    helpmodule = nullptr;
}
