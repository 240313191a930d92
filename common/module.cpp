// Data modules: reading our module files.
//
// File format, every number a little-endian u32:
//   header      magic "GMOD", version 1, string count S, resource count R
//   strings     S entries of (id, offset, length), ids strictly increasing
//   resources   R entries of (type offset, type length, name offset, name length, data offset, data length),
//               strictly increasing by (type, name) compared case-insensitively (ASCII fold)
//   data        the texts (CP1252, no NUL, not NUL-ended), the type and name texts and the resource bytes,
//               anywhere after the tables; offsets count from the start of the file
// Types and names are 1..MODULE_MAXNAME bytes without NUL. Bytes after the last piece of data are ignored.
//
// Everything is checked when the module opens, so that lookups can trust the tables: each offset and
// length lies within the file (summed without overflow), the counts fit the file, the orders hold
// (which also rules out duplicates and lets lookups search by halves).
#include "common/module.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "platform/files.h"

namespace {

struct StringEntry {
    uint32_t id;
    uint32_t offset;
    uint32_t length;
};

struct Span {
    uint32_t offset;
    uint32_t length;
};

struct ResourceEntry {
    Span type;
    Span name;
    Span data;
};

}  // namespace

// A module file is mapped, not read: only the pages of what is looked up are ever read, and they stay
// the file's (the kernel may drop them again), so a module costs the program little memory.
struct Module {
    std::vector<uint8_t> owned;         // a module made from bytes in memory
    MappedFile mapped;                  // a module opened from a file
    const uint8_t* data;                // the module's bytes: owned's or mapped's
    size_t size;
    std::vector<StringEntry> strings;
    std::vector<ResourceEntry> resources;

    ~Module() { UnmapFile(&mapped); }
};

namespace {

uint32_t ReadU32(const uint8_t* bytes, size_t at)
{
    return (uint32_t)bytes[at] | (uint32_t)bytes[at + 1] << 8 | (uint32_t)bytes[at + 2] << 16 |
           (uint32_t)bytes[at + 3] << 24;
}

bool SpanInFile(const Span span, const size_t size)
{
    return (uint64_t)span.offset + span.length <= size;
}

unsigned char FoldAscii(const unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
}

// Orders two byte strings by their ASCII-folded bytes: negative, 0 or positive.
int CompareFolded(const uint8_t* a, const size_t alength, const uint8_t* b, const size_t blength)
{
    const size_t common = std::min(alength, blength);
    for (size_t i = 0; i < common; i++) {
        const int d = FoldAscii(a[i]) - FoldAscii(b[i]);
        if (d != 0)
            return d;
    }
    return alength < blength ? -1 : alength > blength ? 1 : 0;
}

// True when a type or name is unusable: outside the file, empty, too long or holding a NUL.
bool BadName(const Module& module, const Span span)
{
    return !SpanInFile(span, module.size) || span.length == 0 || span.length > MODULE_MAXNAME ||
           memchr(module.data + span.offset, 0, span.length) != nullptr;
}

int CompareResources(const Module& module, const ResourceEntry& a, const ResourceEntry& b)
{
    const uint8_t* const base = module.data;
    const int bytype = CompareFolded(base + a.type.offset, a.type.length, base + b.type.offset, b.type.length);
    if (bytype != 0)
        return bytype;
    return CompareFolded(base + a.name.offset, a.name.length, base + b.name.offset, b.name.length);
}

// Reads and checks the tables; true when the module is malformed.
bool ParseModule(Module& module)
{
    const uint8_t* const bytes = module.data;
    const size_t size = module.size;
    if (size < MODULE_HEADERSIZE || ReadU32(bytes, 0) != MODULE_MAGIC || ReadU32(bytes, 4) != MODULE_VERSION)
        return true;
    const uint32_t stringcount = ReadU32(bytes, 8);
    const uint32_t resourcecount = ReadU32(bytes, 12);
    const uint64_t tablesend = MODULE_HEADERSIZE + (uint64_t)stringcount * MODULE_STRINGENTRY +
                               (uint64_t)resourcecount * MODULE_RESOURCEENTRY;
    if (tablesend > size)
        return true;

    module.strings.reserve(stringcount);
    size_t at = MODULE_HEADERSIZE;
    for (uint32_t i = 0; i < stringcount; i++, at += MODULE_STRINGENTRY) {
        const StringEntry entry = {ReadU32(bytes, at), ReadU32(bytes, at + 4), ReadU32(bytes, at + 8)};
        if (i > 0 && entry.id <= module.strings.back().id)
            return true;
        if (!SpanInFile({entry.offset, entry.length}, size) ||
            memchr(bytes + entry.offset, 0, entry.length) != nullptr)
            return true;
        module.strings.push_back(entry);
    }

    module.resources.reserve(resourcecount);
    for (uint32_t i = 0; i < resourcecount; i++, at += MODULE_RESOURCEENTRY) {
        const ResourceEntry entry = {{ReadU32(bytes, at), ReadU32(bytes, at + 4)},
                                     {ReadU32(bytes, at + 8), ReadU32(bytes, at + 12)},
                                     {ReadU32(bytes, at + 16), ReadU32(bytes, at + 20)}};
        if (BadName(module, entry.type) || BadName(module, entry.name) || !SpanInFile(entry.data, size))
            return true;
        if (i > 0 && CompareResources(module, module.resources.back(), entry) >= 0)
            return true;
        module.resources.push_back(entry);
    }
    return false;
}

}  // namespace

namespace {

// Checks the module's tables and keeps it; null (errno EINVAL) when it is malformed.
Module* KeepModule(Module* const module)
{
    if (ParseModule(*module)) {
        delete module;
        errno = EINVAL;
        return nullptr;
    }
    return module;
}

}  // namespace

Module* OpenModuleFromBytes(std::vector<uint8_t> bytes)
{
    Module* const module = new Module{std::move(bytes), {nullptr, 0}, nullptr, 0, {}, {}};
    module->data = module->owned.data();
    module->size = module->owned.size();
    return KeepModule(module);
}

Module* OpenModule(const char* const name)
{
    if (name == nullptr) {
        errno = EINVAL;
        return nullptr;
    }
    MappedFile mapped;
    if (MapWholeFile(name, MODULE_MAXFILE, &mapped))
        return nullptr;
    Module* const module = new Module{{}, mapped, mapped.data, mapped.size, {}, {}};
    return KeepModule(module);
}

void CloseModule(Module* const module)
{
    delete module;
}

void ReleaseModulePages(const Module* const module)
{
    if (module)
        ReleaseFilePages(module->mapped);
}

int ModuleString(const Module* const module, const uint32_t id, char* const buf, const int size)
{
    if (buf == nullptr || size <= 0)
        return 0;
    buf[0] = '\0';
    if (module == nullptr)
        return 0;
    const auto found = std::lower_bound(module->strings.begin(), module->strings.end(), id,
                                        [](const StringEntry& e, const uint32_t key) { return e.id < key; });
    if (found == module->strings.end() || found->id != id)
        return 0;
    const size_t length = std::min<size_t>(found->length, (size_t)size - 1);
    memcpy(buf, module->data + found->offset, length);
    buf[length] = '\0';
    return (int)length;
}

bool FindModuleResource(const Module* const module, const char* const type, const char* const name,
                        ModuleData* const out)
{
    if (out != nullptr)
        *out = {nullptr, 0};
    if (module == nullptr || type == nullptr || name == nullptr || out == nullptr)
        return true;
    const auto* const wanttype = (const uint8_t*)type;
    const auto* const wantname = (const uint8_t*)name;
    const size_t typelength = strlen(type);
    const size_t namelength = strlen(name);
    const uint8_t* const base = module->data;
    // Compares an entry with the wanted (type, name).
    const auto compare = [&](const ResourceEntry& e) {
        const int bytype = CompareFolded(base + e.type.offset, e.type.length, wanttype, typelength);
        return bytype != 0 ? bytype : CompareFolded(base + e.name.offset, e.name.length, wantname, namelength);
    };
    const auto found = std::partition_point(module->resources.begin(), module->resources.end(),
                                            [&](const ResourceEntry& e) { return compare(e) < 0; });
    if (found == module->resources.end() || compare(*found) != 0)
        return true;
    *out = {base + found->data.offset, found->data.length};
    return false;
}
