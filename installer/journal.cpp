// Writing, reading and acting on the install's journal.
#include "installer/journal.h"

#include <filesystem>
#include <regex>
#include <sstream>

#include "installer/paths.h"
#include "installer/record.h"
#include "installer/walks.h"
#include "platform/files.h"

namespace fs = std::filesystem;

namespace {

fs::file_type TypeOf(const std::string& path)
{
    std::error_code error;
    return fs::symlink_status(path, error).type();
}

bool IsFullNormalPath(const std::string& path)
{
    return !path.empty() && path[0] == '/' && fs::path(path).lexically_normal().string() == path;
}

// The staging folder is one of ours only when it is a real folder directly in the install directory,
// under our name.
bool IsOurStaging(const InstallJournal& j)
{
    static const std::regex tag("[0-9a-f]{16}");
    const std::string prefix = j.dir + STAGING_PREFIX;
    return j.staging.compare(0, prefix.size(), prefix) == 0 && std::regex_match(j.staging.substr(prefix.size()), tag)
           && TypeOf(j.staging) == fs::file_type::directory;
}

// Puts back what the journal's install changed: the files it replaced, then it removes the files it
// added, its work files and the directories it made.
void UndoJournal(const InstallJournal& j)
{
    const bool staging = IsOurStaging(j);
    for (size_t i = j.files.size(); i-- > 0;) {
        const JournalFile& file = j.files[i];
        std::error_code error;
        if (staging && TypeOf(BackupName(j, i)) == fs::file_type::regular)
            fs::rename(BackupName(j, i), j.dir + file.path, error);
        else if (!file.existed)
            RemoveFileBeneath(j.dir, file.path);    // never through a link
    }
    RemoveStaging(j);
    for (auto it = j.newdirs.rbegin(); it != j.newdirs.rend(); ++it) {
        std::error_code error;
        if (TypeOf(*it) == fs::file_type::directory)
            fs::remove(*it, error);     // only when empty
    }
}

} // namespace

std::string FormatJournal(const InstallJournal& j)
{
    std::string text = "dir\t" + j.dir + "\nstaging\t" + j.staging + "\nfresh\t" + (j.fresh ? "1" : "0") + "\n";
    for (const std::string& dir : j.newdirs)
        text += "mkdir\t" + dir + "\n";
    for (const JournalFile& file : j.files)
        text += std::string("file\t") + (file.existed ? "1" : "0") + "\t" + file.path + "\n";
    if (j.committed)
        text += "committed\n";
    return text;
}

bool ParseJournal(const std::string& text, InstallJournal* j)
{
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const size_t tab = line.find('\t');
        const std::string kind = line.substr(0, tab);
        const std::string rest = tab == std::string::npos ? "" : line.substr(tab + 1);
        if (kind == "dir")
            j->dir = rest;
        else if (kind == "staging")
            j->staging = rest;
        else if (kind == "fresh")
            j->fresh = rest == "1";
        else if (kind == "mkdir" && IsFullNormalPath(rest))
            j->newdirs.push_back(rest);
        else if (kind == "file" && rest.size() > 2 && rest[1] == '\t' && IsSafeRelativePath(rest.substr(2)))
            j->files.push_back({rest.substr(2), rest[0] == '1'});
        else if (kind == "committed")
            j->committed = true;
        else
            return true;
    }
    return j->dir.empty() || ExpandInstallDir(j->dir, nullptr) != j->dir || j->staging.empty();
}

std::string StagedName(const InstallJournal& j, size_t i)
{
    return j.staging + "/" + std::to_string(i);
}

std::string BackupName(const InstallJournal& j, size_t i)
{
    return StagedName(j, i) + ".previous";
}

void RemoveStaging(const InstallJournal& j)
{
    if (!IsOurStaging(j))
        return;
    static const std::regex workname("[0-9]+(\\.previous)?");
    std::error_code error;
    std::vector<fs::path> work;
    for (fs::directory_iterator it(j.staging, error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        if (std::regex_match(it->path().filename().string(), workname)
            && it->symlink_status(ignored).type() == fs::file_type::regular)
            work.push_back(it->path());
    }
    for (const fs::path& file : work)
        fs::remove(file, error);
    fs::remove(j.staging, error);
}

void RecoverInterruptedInstall(const std::string& regkey)
{
    std::string text;
    if (ReadRecordValue(regkey, VALUE_JOURNAL, &text))
        return;
    InstallJournal j;
    // A journal that cannot be trusted is dropped: acting on it could touch what is not ours.
    const bool malformed = ParseJournal(text, &j);
    if (!malformed && !j.committed)
        UndoJournal(j);
    else if (!malformed)
        RemoveStaging(j);
    DeleteRecordValue(regkey, VALUE_JOURNAL);
    if (!malformed && j.fresh && !j.committed)
        DeleteRecordKey(regkey);
}
