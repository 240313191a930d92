// libFuzzer target: arbitrary bytes as the update manifest the server sends, against an installed
// version 1.2.0.15. A manifest taken as newer must hold only what the updater can safely act on: as
// many targets and sizes as its count, within the limit, each target a relative path inside the game
// directory that names no work file, no two alike in any case, and sizes of -1 or more.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "common/strutil.h"
#include "update/manifest.h"

namespace {

constexpr uint32_t installed = (1u << 24) + (2u << 16) + 15;

bool Safe(const UpdateInfo& info)
{
    if (info.count < 0 || info.count > MAXUPDATEFILES || info.targets.size() != (size_t)info.count ||
        info.sizes.size() != (size_t)info.count)
        return false;
    std::set<std::string> seen;
    for (int i = 0; i < info.count; i++) {
        const std::string& target = info.targets[i];
        std::string again, why;
        if (NormaliseTarget(target, &again, &why) || again != target || info.sizes[i] < -1)
            return false;
        // Seen part by part, apart from the normaliser: nothing that climbs out or starts at the root.
        size_t start = 0;
        for (size_t end; start <= target.size(); start = end + 1) {
            end = std::min(target.find('/', start), target.size());
            const std::string part = target.substr(start, end - start);
            if (part.empty() || part == "." || part == ".." || part.find('\\') != std::string::npos)
                return false;
        }
        if (!seen.insert(ToLowerString(target)).second)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const ManifestResult result = ParseManifest(std::string_view((const char*)data, size), installed);
    if (result.verdict == MANIFEST_NEWER && !Safe(result.info))
        abort();
    return 0;
}
