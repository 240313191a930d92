#include "game/model/localplayer.h"

#include <cstddef>

#include "game/model/state.h"
#include "game/shell/debuglog.h"

int32_t you = NOSTAMP;
std::string playername;

namespace {

// The cached answer holds only while p keeps the size it was found for, and a found index only while
// its record still carries the stamp: an erase or an append through any path cannot leave it stale.
int32_t cachedindex = -1;
size_t cachedsize = 0;
bool cachedmatch = false;

bool CacheHolds()
{
    if (cachedindex == -1 || p.size() != cachedsize)
        return false;
    if (!cachedmatch)
        return true;
    return static_cast<size_t>(cachedindex) < p.size() && p[cachedindex].sizeattime == you;
}

} // namespace

void DropLocalPlayerCache()
{
    cachedindex = -1;
}

int32_t YouToInt(const bool force, const bool reset)
{
    if (reset)
        cachedindex = -1;
    if (you == NOSTAMP)
        return 0;
    if (force)
        cachedindex = -1;
    if (CacheHolds())
        return cachedindex;

    debuglog << "YouToInt(): prev==-1\np.size() = " << p.size() << '\n';
    cachedsize = p.size();
    for (size_t i = 0; i < p.size(); i++) {
        debuglog << "you->sizeattime = " << you << " | p[prev].sizeattime = " << p[i].sizeattime << '\n';
        if (p[i].sizeattime == you) {
            debuglog << "Match!\n";
            cachedindex = static_cast<int32_t>(i);
            cachedmatch = true;
            return cachedindex;
        }
    }
    debuglog << "Couldn't find a match.\n";
    cachedindex = 0;
    cachedmatch = false;
    return 0;
}
