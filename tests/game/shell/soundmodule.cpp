#include "tests/game/shell/soundmodule.h"

#include <algorithm>
#include <cctype>

#include "common/module.h"

namespace {

std::string Folded(const std::string& s)
{
    std::string out = s;
    for (char& c : out)
        c = (char)tolower((unsigned char)c);
    return out;
}

} // namespace

Bytes SoundModuleBytes(std::vector<TestResource> resources)
{
    // The reader wants the entries in order of type, then name, ignoring case.
    std::sort(resources.begin(), resources.end(), [](const TestResource& a, const TestResource& b) {
        return std::make_pair(Folded(a.type), Folded(a.name)) < std::make_pair(Folded(b.type), Folded(b.name));
    });
    Bytes out;
    PutLE(out, MODULE_MAGIC, 4);
    PutLE(out, MODULE_VERSION, 4);
    PutLE(out, 0, 4);
    PutLE(out, (uint32_t)resources.size(), 4);
    uint32_t offset = MODULE_HEADERSIZE + MODULE_RESOURCEENTRY * (uint32_t)resources.size();
    Bytes data;
    for (const TestResource& r : resources) {
        for (const std::string* piece : {&r.type, &r.name}) {
            PutLE(out, offset + (uint32_t)data.size(), 4);
            PutLE(out, (uint32_t)piece->size(), 4);
            data.insert(data.end(), piece->begin(), piece->end());
        }
        PutLE(out, offset + (uint32_t)data.size(), 4);
        PutLE(out, (uint32_t)r.bytes.size(), 4);
        data.insert(data.end(), r.bytes.begin(), r.bytes.end());
    }
    out.insert(out.end(), data.begin(), data.end());
    return out;
}
