// The authored help: the manual's folders and pages (manual.txt) and the short texts about each
// creature (creatures.txt), as written in content/help.
//
// manual.txt, one directive a line ('#' lines are comments):
//   @folder <name>                 a new folder (a tab of the help screen)
//   @page <title>                  a new page in it; the lines up to the next directive are its text
//   @picture <sheet> <cell>        its picture: sheet units, spells or terrain, and a cell number
//   @picture unit <type name>      ... the picture of that unit type, from the catalogue
//   @picture spell <spell name>    ... the icon of that spell (or "ability <name>"), from the catalogue
//   @catalogue <kind>              the folder's pages are made from the catalogue: units, warlords,
//                                  guards, summoned, spells or abilities
//   @title <name> = <title>        in such a folder: the page of <name> is titled <title> (a name too
//                                  long for the title's line)
// Text lines are joined with blanks; an empty line starts a new paragraph. "{string N}" in a text is
// replaced by the catalogue's string N, so that a number the rules read is the number the page says.
//
// creatures.txt: "@about <type name>" and the lines of its text, for every unit type, guard and
// summoned creature (a warlord's text is the catalogue's own); "@she <warlord name>" for a warlord
// drawn as a woman, whose page then says she and her.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

struct AuthoredPage {
    std::string title;
    std::string text;                   // with "{string N}" not yet replaced
    std::string sheet;                  // units, spells, terrain, or unit, spell, ability by name
    std::string cell;                   // a number, or the name
    std::string origin;                 // "file:line" of its @page
};

struct AuthoredFolder {
    std::string name;
    std::string catalogue;              // the kind its pages come from; empty for authored pages
    std::map<std::string, std::string> titles;  // a catalogue page's name -> its title, where they differ
    std::vector<AuthoredPage> pages;
    std::string origin;
};

struct Manual {
    std::vector<AuthoredFolder> folders;
    std::map<std::string, std::string> about;   // creature name -> its text
    std::set<std::string> she;                  // warlords drawn as women
};

// Reads both files of the folder; false with a "file:line: message" in error on failure.
bool ReadManual(const std::string& folder, Manual& manual, std::string& error);
