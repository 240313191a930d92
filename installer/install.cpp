// Installing: every file written whole beside its place, then all moved into place, then the record.
// Until the record is written nothing is final: a failure undoes every step taken, in reverse.
#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "installer/failure.h"
#include "installer/plan.h"
#include "installer/record.h"
#include "installer/walks.h"
#include "platform/files.h"

namespace fs = std::filesystem;

namespace {

struct Placed {
    std::string target;
    std::string backup;         // what stood there before, moved aside; "" when nothing did
};

// What the install has done so far.
struct InstallLog {
    std::vector<std::string> madedirs;      // full paths, in the order made
    std::vector<std::string> temporaries;   // per planned file: written and not yet placed ("" otherwise)
    std::vector<Placed> placed;
};

fs::file_type TypeOf(const std::string& path, bool followlinks)
{
    std::error_code error;
    return (followlinks ? fs::status(path, error) : fs::symlink_status(path, error)).type();
}

// A hidden name beside path: ".name.tag0", ".name.tag1", ...
std::string SpareName(const std::string& path, const char* tag, int n)
{
    const size_t slash = path.rfind('/');
    return path.substr(0, slash + 1) + "." + path.substr(slash + 1) + "." + tag + std::to_string(n);
}

// Makes the directory unless it is one; the directories on the way to the install directory may be
// links (the user chose them), those below it may not.
void MakeDirectory(const std::string& path, bool followlinks, const char* operation, InstallLog* log)
{
    const fs::file_type type = TypeOf(path, followlinks);
    if (type == fs::file_type::directory)
        return;
    if (type != fs::file_type::not_found)
        throw SUPEREXCEPTION{operation, ENOTDIR};
    std::error_code error;
    if (!fs::create_directory(path, error))
        throw SUPEREXCEPTION{operation, error ? error.value() : EEXIST};
    log->madedirs.push_back(path);
}

void MakeDirectories(const InstallPlan& plan, const std::string& dir, InstallLog* log)
{
    for (size_t slash = dir.find('/', 1); slash != std::string::npos; slash = dir.find('/', slash + 1))
        MakeDirectory(dir.substr(0, slash), true, OP_INSTALLDIR, log);
    for (const std::string& sub : plan.subdirs)
        MakeDirectory(dir + sub, false, OP_SUBDIR, log);
}

void WriteTemporaries(const InstallPlan& plan, const std::string& dir, InstallLog* log)
{
    log->temporaries.assign(plan.files.size(), "");
    for (size_t i = 0; i < plan.files.size(); i++) {
        const PlannedFile& file = plan.files[i];
        int code = EEXIST;
        for (int n = 0; code == EEXIST; n++) {
            const std::string temporary = SpareName(dir + file.path, "part", n);
            code = WriteNewFile(temporary, file.data, file.size, file.executable);
            if (code == 0)
                log->temporaries[i] = temporary;
        }
        if (code != 0)
            throw SUPEREXCEPTION{OP_WRITEFILE, code};
    }
}

// Moves one written file into its place, keeping what stood there aside.
void PlaceFile(const std::string& temporary, const std::string& target, InstallLog* log)
{
    const fs::file_type type = TypeOf(target, false);
    if (type == fs::file_type::directory)
        throw SUPEREXCEPTION{OP_PLACEFILE, EISDIR};
    Placed placed = {target, ""};
    std::error_code error;
    if (type != fs::file_type::not_found) {
        for (int n = 0; placed.backup.empty() || TypeOf(placed.backup, false) != fs::file_type::not_found; n++)
            placed.backup = SpareName(target, "previous", n);
        fs::rename(target, placed.backup, error);
        if (error)
            throw SUPEREXCEPTION{OP_PLACEFILE, error.value()};
    }
    fs::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        if (!placed.backup.empty())
            fs::rename(placed.backup, target, ignored);
        throw SUPEREXCEPTION{OP_PLACEFILE, error.value()};
    }
    log->placed.push_back(placed);
}

void PlaceFiles(const InstallPlan& plan, const std::string& dir, InstallLog* log)
{
    for (size_t i = 0; i < plan.files.size(); i++) {
        PlaceFile(log->temporaries[i], dir + plan.files[i].path, log);
        log->temporaries[i].clear();
    }
}

void AddMissing(std::vector<std::string>* list, const std::string& item)
{
    if (std::find(list->begin(), list->end(), item) == list->end())
        list->push_back(item);
}

// The record of this install. Installed again into the same directory, what the first install wrote
// stays listed: it is still ours to remove.
void WriteRecord(const InstallPlan& plan, const std::string& dir, const std::string& regkey, const InstallLog& log)
{
    std::vector<std::string> files;
    std::vector<std::string> dirs;
    std::string before;
    if (!ReadRecordValue(regkey, VALUE_INSTALLED, &before) && before == dir) {
        ReadRecordList(regkey, VALUE_FILES, &files);
        ReadRecordList(regkey, VALUE_DIRECTORIES, &dirs);
    }
    for (const PlannedFile& file : plan.files)
        AddMissing(&files, file.path);
    for (const std::string& made : log.madedirs)
        AddMissing(&dirs, made);
    // "installed" last: it is what says the install is there.
    int code = WriteRecordList(regkey, VALUE_DIRECTORIES, dirs);
    if (code == 0)
        code = WriteRecordList(regkey, VALUE_FILES, files);
    if (code == 0)
        code = WriteRecordValue(regkey, VALUE_INSTALLED, dir);
    if (code != 0)
        throw SUPEREXCEPTION{OP_WRITERECORD, code};
}

void Undo(const InstallLog& log)
{
    std::error_code ignored;
    for (auto it = log.placed.rbegin(); it != log.placed.rend(); ++it) {
        if (it->backup.empty())
            fs::remove(it->target, ignored);
        else
            fs::rename(it->backup, it->target, ignored);
    }
    for (const std::string& temporary : log.temporaries)
        if (!temporary.empty())
            fs::remove(temporary, ignored);
    for (auto it = log.madedirs.rbegin(); it != log.madedirs.rend(); ++it)
        fs::remove(*it, ignored);   // empty again by now
}

} // namespace

void InstallFiles(const InstallPlan& plan, const std::string& dir, const std::string& regkey)
{
    InstallLog log;
    try {
        MakeDirectories(plan, dir, &log);
        WriteTemporaries(plan, dir, &log);
        PlaceFiles(plan, dir, &log);
        WriteRecord(plan, dir, regkey, log);
    } catch (...) {
        Undo(log);
        throw;
    }
    std::error_code ignored;
    for (const Placed& placed : log.placed)
        if (!placed.backup.empty())
            fs::remove(placed.backup, ignored);
}
