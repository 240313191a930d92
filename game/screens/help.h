// The help module "Lumeth.dll" and the help screen: the game's manual as numbered strings, read into
// folders at start-up and shown a page at a time, one tab per folder.
//
// String numbers for folder f (0-based) and page p: HELP_FOLDERCOUNT the number of folders (decimal),
// HELP_FOLDERNAME + f its tab caption, and HELP_FOLDERSTRIDE x f + the HELP_ offsets below for each
// page. The module is data: every count, page and cell in it is checked before it is used.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum : uint32_t {
    HELP_FOLDERCOUNT = 60000,
    HELP_FOLDERNAME = 61000,            // + f
    HELP_FOLDERSTRIDE = 1000,           // x f, plus one of:
    HELP_TITLE = 0,                     // + p: the page's title
    HELP_BODY = 100,                    // + p: its text
    HELP_PICTURE = 200,                 // + p: its picture cell (decimal)
    HELP_NEXT = 400,                    // + p: non-zero when page p + 1 exists (decimal)
    HELP_SHEET = 500,                   // + p: the picture's sheet (decimal, HELPSHEET_)
};

// The picture sheets a page may name; any other number shows unit pictures.
enum : int32_t { HELPSHEET_UNITS = 0, HELPSHEET_SPELLS = 1, HELPSHEET_TERRAIN = 2 };

enum : int32_t {
    HELPBUFFERSIZE = 1000,              // every help text is read into the buffer cut to 999 characters
    MAXHELPFOLDERS = 59,                // folder 60 would read the folder count's own number
    MAXHELPPAGES = 100,                 // page 100 would read page 0's text as its title
    HELPSHEETCELLS = 256,               // every sheet is 16 x 16 cells
    HELPTABSHEIGHT = 480,               // the tabs share this height
};

struct HelpFolder {
    std::string name;
    int32_t page;                       // the page shown; kept while the program runs
};

extern std::vector<HelpFolder> helpfolders;
extern int32_t helpfoldercount;
extern int32_t helptabheight;           // HELPTABSHEIGHT / the number of folders
extern int32_t helpfolder;              // the folder selected; 0 each time the help opens
extern int32_t helpshownfolder;         // the folder and page whose texts are loaded; -1 forces a reload
extern int32_t helpshownpage;
extern std::string helptitle;           // the texts of the page shown, each its own copy
extern std::string helpbody;
extern int32_t helppicture;             // its picture cell
extern int32_t helppictureset;          // and sheet (HELPSHEET_)

bool LumethGo();            // start-up: the buffer, the module and its folders, each page checked; true on failure
bool AllocHelpBuffer();     // the zero-filled text buffer; true on failure
bool LoadLumethModule();    // opens "Lumeth.dll"; true on failure (logged with the error code)
// The folders from the module: true, with an "ERROR: " line, for a folder count outside 1..MAXHELPFOLDERS,
// a folder of more than MAXHELPPAGES pages or a picture cell outside its sheet.
bool CreateHelpFolders();
const char* LoadHelpString(uint32_t id);    // string id of the module in the buffer; "" when missing
const char* SetHelpText(const char* text);  // the text copied into the buffer (cut to fit)
int32_t LoadHelpNumber(uint32_t id);        // the decimal number at the start of string id; 0 for none
void UnloadHelpModule();    // shutdown: frees the buffer and the module; again does nothing

bool HelpOpenFrame();       // GAME_HELPOPEN: folder 0, on to the help screen
bool HelpFrame();           // GAME_HELP: one frame of the help screen
void DrawHelpScreen();      // the background, the arrows, the tabs and the page
