#include "game/model/strings.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "common/module.h"
#include "game/shell/debuglog.h"

Module* stringmodule = nullptr;

namespace {

enum { STRINGBUFFER = 500 };            // longest text read, NUL included

// Ordered by id, so unloading logs the ids in ascending order. A node never moves, so the text of
// an entry keeps its address while the cache grows.
std::map<uint32_t, std::string> stringcache;

} // namespace

bool LoadStringModule()
{
    errno = 0;
    stringmodule = OpenModule("Tessarine.dll");
    if (stringmodule)
        return false;
    debuglog << "Failed to load Tessarine.dll\nError code:" << errno << '\n';
    return true;
}

void UnloadStringModule()
{
    debuglog << "Tessarine: Unloading\n";
    for (const auto& entry : stringcache)
        debuglog << "Tessarine: Unloading value " << entry.first << '\n';
    stringcache.clear();
    CloseModule(stringmodule);
    stringmodule = nullptr;
}

const char* GetString(const uint32_t id)
{
    const auto found = stringcache.find(id);
    if (found != stringcache.end())
        return found->second.c_str();
    // Nothing is cached before the module is there, so an early reader cannot pin an empty text.
    if (!stringmodule)
        return "";
    char buffer[STRINGBUFFER];
    // A missing id reads as "" rather than whatever an earlier read left in the buffer.
    if (ModuleString(stringmodule, id, buffer, sizeof buffer) <= 0)
        buffer[0] = '\0';
    return stringcache.emplace(id, buffer).first->second.c_str();
}

int32_t GetResNumber(const uint32_t id)
{
    // atoi's reading, without its undefined overflow: a number too large for 32 bits is clamped.
    const long long value = std::strtoll(GetString(id), nullptr, 10);
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

const char* GetResString(const uint32_t id)
{
    return GetString(id);
}
