// libFuzzer target: arbitrary bytes as a key-value file (byte 0 picks the section and name modes).
// A file that parses must be saved in a form that parses again to the same store: saving that gives
// the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "game/shell/configfile.h"

namespace {

// The saved form of text parsed under the modes; false when it does not parse. A merged file is saved
// without headers, so it is read back under one.
bool Reparse(const std::string& text, int32_t sections, int32_t names, std::string* saved)
{
    ConfigFile file;
    file.SetSectionMode(sections);
    file.SetNameMode(names);
    std::istringstream in(text);
    if (!file.ParseStream(in))
        return false;
    file.HasKey("", "name");
    file.GetValue("Gorvanel Preferences", "volume");
    std::ostringstream out;
    if (sections == SECTIONS_MERGED)
        out << "[]\n";
    file.WriteStream(out);
    *saved = out.str();
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const int32_t sections = data[0] % 3;
    const int32_t names = data[0] / 3 % 4;
    std::string saved, again;
    if (!Reparse(std::string((const char*)data + 1, size - 1), sections, names, &saved))
        return 0;
    if (!Reparse(saved, sections, names, &again) || again != saved)
        abort();
    return 0;
}
