// The picture sheets of 40 x 40 cells, composed by cut lists from the tile atlases and by procedures.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "tools/art/image.h"

using Args = std::vector<std::string>;

// The tile atlases by their cut-list names ("player", "floor", ...).
extern std::map<std::string, Image> atlases;

// Loads the atlases named in a list of "atlas <name> <file> <sha256>" lines from a directory, checking
// each file's digest; true on failure, with the reason printed.
bool LoadAtlases(const std::string& list, const std::string& dir);

// A procedural cell layer, drawn over what the cell holds so far (cells are 40 x 40).
bool RunCellProcedure(Image& cell, const Args& args, std::string& error);    // true on failure

// One sheet read from a cut list, with the name of each filled cell for the contact sheet.
struct Sheet {
    std::string file;
    int columns = 16, rows = 16, cellw = 40, cellh = 40;
    Image image;
    std::map<int, std::string> names;
};

bool ComposeSheet(const std::string& cutlist, Sheet& out);    // true on failure, with "file:line: ..." printed
Image CellOf(const Sheet& sheet, int cell);                   // a cell's pixels, for contact sheets
void PutCell(Sheet& sheet, int cell, const Image& pixels);
