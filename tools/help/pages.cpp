#include "pages.h"

#include <algorithm>
#include <cstdlib>

#include "cataloguepages.h"
#include "game/model/catalogue.h"
#include "game/model/records.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/screens/help.h"

namespace {

// Replaces every "{string N}" of the text by the catalogue's string N.
bool ExpandStrings(std::string& text, const std::string& origin, std::string& error)
{
    const std::string open = "{string ";
    for (size_t at = text.find(open); at != std::string::npos; at = text.find(open, at)) {
        const size_t close = text.find('}', at);
        char* end = nullptr;
        const unsigned long id = std::strtoul(text.c_str() + at + open.size(), &end, 10);
        if (close == std::string::npos || end != text.c_str() + close) {
            error = origin + ": a \"{string N}\" needs a number and its '}'";
            return false;
        }
        const std::string value = GetString((uint32_t)id);
        if (value.empty()) {
            error = origin + ": the catalogue has no string " + std::to_string(id);
            return false;
        }
        text.replace(at, close + 1 - at, value);
        at += value.size();
    }
    return true;
}

template <typename Info>
int32_t FindPicture(const std::vector<Info>& table, uint32_t titles, const std::string& name)
{
    for (const Info& info : table)
        if (name == GetString(titles + (uint32_t)info.number))
            return info.picture;
    return -1;
}

// The sheet and cell of an authored picture; false for one that names nothing.
bool ResolvePicture(const AuthoredPage& page, HelpPage& out, std::string& error)
{
    out.sheet = HELPSHEET_UNITS;
    out.cell = 0;
    if (page.sheet.empty())
        return true;
    if (page.sheet == "units" || page.sheet == "spells" || page.sheet == "terrain") {
        char* end = nullptr;
        out.cell = (int32_t)std::strtol(page.cell.c_str(), &end, 10);
        out.sheet = page.sheet == "units" ? HELPSHEET_UNITS : page.sheet == "spells" ? HELPSHEET_SPELLS : HELPSHEET_TERRAIN;
        if (*end == '\0')
            return true;
    } else if (page.sheet == "unit") {
        // A rank's picture lies PICTURESPERLEVEL cells on from its type's.
        for (int32_t t = 1; t <= unittypecount && t <= MAXCATALOGUEINDEX; t++)
            for (int32_t level = 0; level < 3; level++)
                if (page.cell == GetString((uint32_t)(STR_UNITNAME + t + level * TYPESPERLEVEL))) {
                    out.cell = GetResNumber((uint32_t)(STR_UNITPICTURE + t)) + level * PICTURESPERLEVEL;
                    return true;
                }
    } else {
        out.sheet = HELPSHEET_SPELLS;
        out.cell = page.sheet == "spell" ? FindPicture(spells, STR_SPELLTITLE, page.cell)
                                         : FindPicture(abilities, STR_ABILITYTITLE, page.cell);
        if (out.cell >= 0)
            return true;
    }
    error = page.origin + ": no picture \"" + page.sheet + " " + page.cell + "\"";
    return false;
}

bool CatalogueFolder(const AuthoredFolder& folder, const Manual& manual, std::vector<HelpPage>& pages, std::string& error)
{
    const std::string& kind = folder.catalogue;
    if (kind == "units")
        return CreaturePages(TYPE_UNIT, manual, pages, error);
    if (kind == "warlords")
        return CreaturePages(TYPE_WARLORD, manual, pages, error);
    if (kind == "guards")
        return CreaturePages(TYPE_GUARD, manual, pages, error);
    if (kind == "summoned")
        return CreaturePages(TYPE_SUMMONED, manual, pages, error);
    if (kind == "spells") {
        SpellPages(pages);
        return true;
    }
    if (kind == "abilities") {
        AbilityPages(pages);
        return true;
    }
    error = folder.origin + ": unknown catalogue \"" + kind + "\"";
    return false;
}

} // namespace

bool BuildHelpPages(const Manual& manual, std::vector<HelpFolderPages>& folders, std::string& error)
{
    for (const AuthoredFolder& folder : manual.folders) {
        HelpFolderPages out{ folder.name, {}, folder.origin };
        if (!folder.catalogue.empty() && !CatalogueFolder(folder, manual, out.pages, error))
            return false;
        for (const auto& [name, title] : folder.titles) {
            auto page = std::find_if(out.pages.begin(), out.pages.end(), [&](const HelpPage& p) { return p.title == name; });
            if (page == out.pages.end()) {
                error = folder.origin + ": no page \"" + name + "\" to retitle";
                return false;
            }
            page->title = title;
        }
        for (const AuthoredPage& page : folder.pages) {
            HelpPage made{ page.title, page.text, HELPSHEET_UNITS, 0, page.origin };
            if (!ExpandStrings(made.body, page.origin, error) || !ExpandStrings(made.title, page.origin, error)
                || !ResolvePicture(page, made, error))
                return false;
            out.pages.push_back(made);
        }
        folders.push_back(out);
    }
    return true;
}
