// The help module's pages, made from the authored manual and from the game's catalogue as the game
// itself loads it (LoadGameText has run).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "manual.h"

struct HelpPage {
    std::string title;
    std::string body;
    int32_t sheet;                      // HELPSHEET_
    int32_t cell;
    std::string origin;                 // where it was written or what made it, for messages
};

struct HelpFolderPages {
    std::string name;
    std::vector<HelpPage> pages;
    std::string origin;
};

// Every folder of the manual with its pages; false with a message in error on failure (an unknown
// catalogue kind or picture, a creature without its text, a "{string N}" the catalogue lacks).
bool BuildHelpPages(const Manual& manual, std::vector<HelpFolderPages>& folders, std::string& error);
