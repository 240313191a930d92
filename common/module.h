// Data modules: one file holding numbered strings and named resources of a type.
//
// A module comes from a file we may not have written, so the reader trusts no offset or length in
// it: a module that fails any check does not open.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct Module;

// The file format (described in module.cpp); the packer writes what the reader checks.
enum : uint32_t {
    MODULE_MAGIC = 0x444F4D47,      // "GMOD" as a little-endian u32
    MODULE_VERSION = 1,
    MODULE_HEADERSIZE = 16,         // magic, version, string count, resource count
    MODULE_STRINGENTRY = 12,        // id, offset, length
    MODULE_RESOURCEENTRY = 24,      // type offset and length, name offset and length, data offset and length
    MODULE_MAXNAME = 260,           // longest resource type or name, in bytes
};
enum : size_t { MODULE_MAXFILE = (size_t)256 << 20 };     // a larger file is refused unread

struct ModuleData {
    const uint8_t* data;
    size_t size;
};

// Opens a module by its (Windows-style) file name; null when missing or malformed, with errno saying
// why (the open's own error, EINVAL for a malformed module or one that is no regular file, EFBIG for
// one larger than MODULE_MAXFILE).
Module* OpenModule(const char* name);
Module* OpenModuleFromBytes(std::vector<uint8_t> bytes);    // the same over bytes in memory; null when malformed
void CloseModule(Module* module);                           // frees a module; null is allowed
// Gives the pages of a module opened from a file back to it, once what was looked up is copied: its
// bytes stay valid, and are read again from the file when looked at. Null is allowed.
void ReleaseModulePages(const Module* module);

// Copies string id into buf, cut to size - 1 bytes and NUL-ended; returns its length, 0 (and "") when missing.
int ModuleString(const Module* module, uint32_t id, char* buf, int size);
// Finds the resource of a type and a name (both compared case-insensitively); true on failure.
// The bytes stay valid until the module is closed.
bool FindModuleResource(const Module* module, const char* type, const char* name, ModuleData* out);
