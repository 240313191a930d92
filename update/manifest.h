// The update manifest: what the server says the newest version is and which files make it.
//
// Text, one value per line: "GORV_MRV_DATA", two free texts, the four version parts (highest first),
// the file count, then for each file its target path and its size in bytes (-1: not given). The count
// and the pairs are read only when the version is newer than the installed one; anything after the
// pairs is ignored. Everything in it comes from the network, so the whole list is checked before a
// single file is fetched: a target that could reach outside the game directory refuses the manifest.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr const char* MANIFEST_MAGIC = "GORV_MRV_DATA";
constexpr int MAXUPDATEFILES = 1000;          // the work files are numbered with three digits
constexpr size_t MAXMANIFESTBYTES = 64 * 1024;
constexpr size_t MAXTARGETLENGTH = 1024;

struct UpdateInfo {
    std::string text1, text2;       // lines 2 and 3, not used
    uint32_t version = 0;           // packed like the installed version
    int32_t count = 0;              // files in the update
    std::vector<std::string> targets;   // for each file the path it replaces, '/'-separated, inside the game directory
    std::vector<int32_t> sizes;         // for each file its size in bytes, -1 when not given
};

enum ManifestVerdict {
    MANIFEST_NEWER,       // a newer version, every line checked: info holds it
    MANIFEST_MALFORMED,   // not a manifest, or one that cannot be trusted
    MANIFEST_NOTNEWER,    // the same or an older version
};

struct ManifestResult {
    ManifestVerdict verdict = MANIFEST_MALFORMED;
    UpdateInfo info;
    std::string detail;     // why, for the log
};

ManifestResult ParseManifest(std::string_view text, uint32_t currentversion);
// A target as written in a manifest, made a safe relative path: '\' to '/', leading "./" dropped. True
// when refused (absolute, a drive, "." or ".." or empty parts, control characters, too long, or the
// name of one of the updater's own work files), with why.
bool NormaliseTarget(const std::string& raw, std::string* target, std::string* why);
constexpr const char* UPDATELOG_NAME = "update.log";   // the updater's log, beside the game's files
bool IsWorkFileName(const std::string& name);   // "ftplist.txt*", "PKG.*" or the log, in any case
std::string PackageName(int index);             // "PKG.000": the downloaded file for entry index
