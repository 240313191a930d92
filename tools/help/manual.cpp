#include "manual.h"

#include <fstream>
#include <sstream>

namespace {

std::vector<std::string> ReadLines(const std::string& path, bool& missing)
{
    std::ifstream in(path, std::ios::binary);
    missing = !in;
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string Trim(const std::string& s)
{
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Splits "@word rest" into word and rest.
void SplitDirective(const std::string& line, std::string& word, std::string& rest)
{
    const size_t blank = line.find_first_of(" \t");
    word = line.substr(1, blank == std::string::npos ? std::string::npos : blank - 1);
    rest = blank == std::string::npos ? "" : Trim(line.substr(blank));
}

// Adds a text line to a text: blanks between lines, a paragraph break for each empty line.
void AddTextLine(std::string& text, const std::string& line, bool& paragraph)
{
    const std::string words = Trim(line);
    if (words.empty()) {
        paragraph = !text.empty();
        return;
    }
    if (!text.empty())
        text += paragraph ? "\n\n" : " ";
    paragraph = false;
    text += words;
}

bool Fail(std::string& error, const std::string& where, const std::string& message)
{
    error = where + ": " + message;
    return false;
}

// Reads a file of directives and text: '#' lines are left out, each "@word rest" line goes to
// directive(word, rest, where, text), which answers what is wrong with it ("" when nothing) and may
// point text at the text the following lines add to; a text line with nowhere to go is an error.
template <typename Directive>
bool ReadDirectives(const std::string& path, const char* stray, std::string& error, Directive directive)
{
    bool missing = false;
    const std::vector<std::string> lines = ReadLines(path, missing);
    if (missing)
        return Fail(error, path, "cannot be read");
    std::string* text = nullptr;
    bool paragraph = false;
    for (size_t n = 0; n < lines.size(); n++) {
        const std::string& line = lines[n];
        const std::string where = path + ":" + std::to_string(n + 1);
        if (!line.empty() && line[0] == '#')
            continue;
        if (line.empty() || line[0] != '@') {
            if (text)
                AddTextLine(*text, line, paragraph);
            else if (!Trim(line).empty())
                return Fail(error, where, stray);
            continue;
        }
        std::string word, rest;
        SplitDirective(line, word, rest);
        const std::string problem = directive(word, rest, where, text);
        if (!problem.empty())
            return Fail(error, where, problem);
        paragraph = false;
    }
    return true;
}

bool ReadPages(const std::string& path, Manual& manual, std::string& error)
{
    AuthoredPage* page = nullptr;
    auto directive = [&](const std::string& word, const std::string& rest, const std::string& where,
                         std::string*& text) -> std::string {
        AuthoredFolder* folder = manual.folders.empty() ? nullptr : &manual.folders.back();
        if (word == "folder") {
            if (rest.empty())
                return "a folder needs a name";
            manual.folders.push_back(AuthoredFolder{ rest, "", {}, {}, where });
            page = nullptr;
        } else if (word == "page") {
            if (!folder || !folder->catalogue.empty())
                return "a page needs a folder of its own";
            if (rest.empty())
                return "a page needs a title";
            folder->pages.push_back(AuthoredPage{ rest, "", "", "", where });
            page = &folder->pages.back();
        } else if (word == "picture") {
            std::string sheet, cell;
            SplitDirective("@" + rest, sheet, cell);
            if (!page)
                return "a picture belongs to a page";
            if (sheet != "units" && sheet != "spells" && sheet != "terrain" && sheet != "unit" && sheet != "spell"
                && sheet != "ability")
                return "unknown sheet \"" + sheet + "\"";
            if (cell.empty())
                return "a picture needs a cell";
            page->sheet = sheet;
            page->cell = cell;
        } else if (word == "catalogue") {
            if (!folder || !folder->pages.empty())
                return "a catalogue needs a folder of its own";
            folder->catalogue = rest;
            page = nullptr;
        } else if (word == "title") {
            const size_t equals = rest.find('=');
            if (!folder || folder->catalogue.empty() || equals == std::string::npos)
                return "expected @title <name> = <title> in a catalogue's folder";
            folder->titles[Trim(rest.substr(0, equals))] = Trim(rest.substr(equals + 1));
        } else {
            return "unknown directive @" + word;
        }
        text = page ? &page->text : nullptr;
        return "";
    };
    return ReadDirectives(path, "text outside a page", error, directive);
}

bool ReadAbout(const std::string& path, Manual& manual, std::string& error)
{
    auto directive = [&](const std::string& word, const std::string& rest, const std::string&,
                         std::string*& text) -> std::string {
        if (word == "she" && !rest.empty()) {
            manual.she.insert(rest);
            text = nullptr;
            return "";
        }
        if (word != "about" || rest.empty())
            return "expected @about <type name> or @she <warlord name>";
        if (manual.about.count(rest))
            return "\"" + rest + "\" is described twice";
        text = &manual.about[rest];
        return "";
    };
    return ReadDirectives(path, "text before the first @about", error, directive);
}

} // namespace

bool ReadManual(const std::string& folder, Manual& manual, std::string& error)
{
    return ReadPages(folder + "/manual.txt", manual, error) && ReadAbout(folder + "/creatures.txt", manual, error);
}
