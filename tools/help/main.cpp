// gorvhelp: writes the string table of the help module "Lumeth.dll".
//
//   gorvhelp <help sources> <game directory> <output>
//
// Reads the authored manual from <help sources> (manual.h describes it), loads the game's catalogue
// from the string module in <game directory> with the game's own code, makes the pages and writes
// them as a string table file for gorvpack, under the numbers the help screen reads (game/screens/help.h).
// A page that the game could not show (too long a text, too many pages or folders, a picture cell
// outside its sheet) is an error. Errors end the program with status 1, leaving the output as it was.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "game/model/catalogue.h"
#include "game/screens/help.h"
#include "manual.h"
#include "pages.h"

namespace fs = std::filesystem;

namespace {

int Fail(const std::string& message)
{
    fprintf(stderr, "gorvhelp: %s\n", message.c_str());
    return 1;
}

// Characters of a UTF-8 text: each becomes one byte in the module.
size_t Characters(const std::string& text)
{
    size_t n = 0;
    for (const char c : text)
        if (((unsigned char)c & 0xC0) != 0x80)
            n++;
    return n;
}

std::string Escaped(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\\')
            out += "\\\\";
        else
            out += c;
    }
    return out;
}

// What the help screen cannot show; empty when the folders fit.
std::string CheckLimits(const std::vector<HelpFolderPages>& folders)
{
    if (folders.empty() || folders.size() > (size_t)MAXHELPFOLDERS)
        return "the manual has " + std::to_string(folders.size()) + " folders; 1 to " + std::to_string(MAXHELPFOLDERS) + " fit";
    for (const HelpFolderPages& folder : folders) {
        if (folder.pages.empty() || folder.pages.size() > (size_t)MAXHELPPAGES)
            return folder.origin + ": " + std::to_string(folder.pages.size()) + " pages; 1 to "
                + std::to_string(MAXHELPPAGES) + " fit";
        if (folder.name.empty() || Characters(folder.name) >= (size_t)HELPBUFFERSIZE)
            return folder.origin + ": the folder's name is empty or too long";
        for (const HelpPage& page : folder.pages) {
            if (page.title.empty() || Characters(page.title) >= (size_t)HELPBUFFERSIZE)
                return page.origin + ": the title is empty or too long";
            if (Characters(page.body) >= (size_t)HELPBUFFERSIZE)
                return page.origin + ": the text has " + std::to_string(Characters(page.body)) + " characters; at most "
                    + std::to_string(HELPBUFFERSIZE - 1) + " are read";
            if (page.cell < 0 || page.cell >= HELPSHEETCELLS)
                return page.origin + ": picture cell " + std::to_string(page.cell) + " lies outside its sheet";
        }
    }
    return "";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return Fail("usage: gorvhelp <help sources> <game directory> <output>");
    const fs::path sources = fs::absolute(argv[1]);
    const fs::path output = fs::absolute(argv[3]);
    Manual manual;
    std::string error;
    if (!ReadManual(sources.string(), manual, error))
        return Fail(error);

    std::error_code ec;
    fs::current_path(argv[2], ec);
    if (ec)
        return Fail(std::string(argv[2]) + ": " + ec.message());
    if (LoadGameText())
        return Fail(std::string(argv[2]) + ": the catalogue in Tessarine.dll would not load");

    std::vector<HelpFolderPages> folders;
    if (!BuildHelpPages(manual, folders, error))
        return Fail(error);
    const std::string limits = CheckLimits(folders);
    if (!limits.empty())
        return Fail(limits);

    const fs::path temporary = output.string() + ".tmp";
    std::ofstream out(temporary, std::ios::binary);
    out << "# The help module's strings, made by gorvhelp from content/help and the catalogue.\n";
    out << HELP_FOLDERCOUNT << '\t' << folders.size() << '\n';
    for (size_t f = 0; f < folders.size(); f++) {
        const HelpFolderPages& folder = folders[f];
        const uint32_t base = HELP_FOLDERSTRIDE * (uint32_t)f;
        out << HELP_FOLDERNAME + f << '\t' << Escaped(folder.name) << '\n';
        for (size_t p = 0; p < folder.pages.size(); p++) {
            const HelpPage& page = folder.pages[p];
            const uint32_t n = base + (uint32_t)p;
            out << n + HELP_TITLE << '\t' << Escaped(page.title) << '\n';
            out << n + HELP_BODY << '\t' << Escaped(page.body) << '\n';
            out << n + HELP_PICTURE << '\t' << page.cell << '\n';
            out << n + HELP_NEXT << '\t' << (p + 1 < folder.pages.size() ? 1 : 0) << '\n';
            out << n + HELP_SHEET << '\t' << page.sheet << '\n';
        }
    }
    out.close();
    if (!out)
        return Fail(temporary.string() + ": cannot be written");
    fs::rename(temporary, output, ec);
    if (ec)
        return Fail(output.string() + ": " + ec.message());
    return 0;
}
