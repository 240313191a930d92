// The install record's folder of values.
#include "installer/record.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "common/strutil.h"
#include "installer/paths.h"
#include "platform/files.h"

namespace fs = std::filesystem;

namespace {

// A value's name as a file name: one safe part.
bool IsValueName(const char* name)
{
    return name && IsBareFileName(name);
}

// The key's parts below the store: '\' or '/' between them, a leading "Software" dropped.
std::string KeyPath(const std::string& key)
{
    std::string path = key;
    for (char& c : path)
        if (c == '\\')
            c = '/';
    while (!path.empty() && path.back() == '/')
        path.pop_back();
    const std::string lower = ToLowerString(path);
    if (lower == "software")
        return "";
    if (lower.compare(0, 9, "software/") == 0)
        path.erase(0, 9);
    return IsSafeRelativePath(path) ? path : "";
}

// The values the installer keeps under a key: the only files a delete removes.
const char* const ownvalues[] = {"installed", "files", "directories", "resolved", "journal", "configfolders"};
// The folders above the store's own that writing the record made (~/.config, say), one full path a
// line: they go with the record when nothing else is kept in them.
constexpr char VALUE_CONFIGFOLDERS[] = "configfolders";

// True when the store's folder or a folder of the key below it is a link: what it leads to is not the
// record's, and is never read, written or deleted as if it were.
bool ThroughLink(const std::string& root, const std::string& path)
{
    std::string at = root;
    for (size_t start = 0;;) {
        std::error_code error;
        if (fs::symlink_status(at, error).type() == fs::file_type::symlink)
            return true;
        if (start > path.size())
            return false;
        const size_t slash = path.find('/', start);
        at += "/" + path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        start = slash == std::string::npos ? path.size() + 1 : slash + 1;
    }
}

// The folders from the key up that do not exist yet, deepest first.
std::vector<fs::path> MissingFolders(const std::string& dir)
{
    std::vector<fs::path> missing;
    std::error_code error;
    for (fs::path at = dir; !at.empty() && at != at.root_path() && !fs::exists(fs::symlink_status(at, error));
         at = at.parent_path())
        missing.push_back(at);
    return missing;
}

} // namespace

std::string RecordRoot()
{
    const char* const config = getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/')
        return std::string(config) + "/gorvanel";
    const char* const home = getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + "/.config/gorvanel";
    return "";
}

std::string RecordKeyDir(const std::string& key)
{
    const std::string root = RecordRoot();
    const std::string path = KeyPath(key);
    return root.empty() || path.empty() || ThroughLink(root, path) ? "" : root + "/" + path;
}

int RecordKeyError(const std::string& key)
{
    const std::string root = RecordRoot();
    const std::string path = KeyPath(key);
    if (root.empty() || path.empty())
        return RECORD_NOKEY;
    if (ThroughLink(root, path))
        return RECORD_LINKED;
    return RecordKeyExists(key) ? 0 : RECORD_MISSING;
}

bool RecordKeyExists(const std::string& key)
{
    const std::string dir = RecordKeyDir(key);
    std::error_code error;
    return !dir.empty() && fs::is_directory(dir, error);
}

bool ReadRecordValue(const std::string& key, const char* name, std::string* value)
{
    const std::string dir = RecordKeyDir(key);
    if (dir.empty() || !IsValueName(name))
        return true;
    std::ifstream in(dir + "/" + name, std::ios::binary);
    if (!in)
        return true;
    std::ostringstream all;
    all << in.rdbuf();
    if (in.bad())
        return true;
    *value = all.str();
    return false;
}

int WriteRecordValue(const std::string& key, const char* name, const std::string& value)
{
    if (const int code = RecordKeyError(key); code == RECORD_NOKEY || code == RECORD_LINKED)
        return code;
    const std::string dir = RecordKeyDir(key);
    if (!IsValueName(name))
        return RECORD_NOKEY;
    // A value that cannot be written leaves no empty folders behind: those made for it go again.
    const std::vector<fs::path> made = MissingFolders(dir);
    const auto failed = [&made](int code) {
        for (const fs::path& folder : made) {
            std::error_code ignored;
            fs::remove(folder, ignored);    // only when empty
        }
        return code;
    };
    std::error_code error;
    fs::create_directories(dir, error);
    if (error)
        return failed(error.value());
    // Written beside its place, then moved over it: a reader sees the old value or the new one.
    const std::string path = dir + "/" + name;
    const std::string temporary = path + ".new";
    if (fs::symlink_status(temporary, error).type() == fs::file_type::regular)
        fs::remove(temporary, error);
    if (const int code = WriteNewFile(temporary, value.data(), value.size(), false))
        return failed(code);
    fs::rename(temporary, path, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return failed(error.value());
    }
    // The folders made above the store are noted in the record, so that they go with it.
    std::vector<std::string> above;
    const std::string root = RecordRoot();
    for (const fs::path& folder : made)
        if (root.compare(0, folder.string().size() + 1, folder.string() + "/") == 0)
            above.push_back(folder.string());
    if (!above.empty()) {
        std::vector<std::string> noted;
        ReadRecordList(key, VALUE_CONFIGFOLDERS, &noted);
        noted.insert(noted.end(), above.begin(), above.end());
        WriteRecordList(key, VALUE_CONFIGFOLDERS, noted);
    }
    return 0;
}

bool ReadRecordList(const std::string& key, const char* name, std::vector<std::string>* lines)
{
    std::string value;
    if (ReadRecordValue(key, name, &value))
        return true;
    lines->clear();
    for (size_t start = 0; start < value.size();) {
        size_t end = value.find('\n', start);
        if (end == std::string::npos)
            end = value.size();
        if (end > start)
            lines->push_back(value.substr(start, end - start));
        start = end + 1;
    }
    return false;
}

int WriteRecordList(const std::string& key, const char* name, const std::vector<std::string>& lines)
{
    std::string value;
    for (const std::string& line : lines)
        value += line + '\n';
    return WriteRecordValue(key, name, value);
}

int DeleteRecordValue(const std::string& key, const char* name)
{
    if (const int code = RecordKeyError(key); code == RECORD_NOKEY || code == RECORD_LINKED)
        return code;
    if (!IsValueName(name))
        return RECORD_NOKEY;
    const std::string path = RecordKeyDir(key) + "/" + name;
    std::error_code error;
    for (const std::string& file : {path, path + ".new"})
        if (fs::symlink_status(file, error).type() == fs::file_type::regular && !fs::remove(file, error) && error)
            return error.value();
    return 0;
}

int DeleteRecordKey(const std::string& key)
{
    if (const int code = RecordKeyError(key); code == RECORD_NOKEY || code == RECORD_LINKED)
        return code;
    const std::string dir = RecordKeyDir(key);
    std::error_code error;
    if (!fs::exists(fs::symlink_status(dir, error)))
        return 0;
    std::vector<std::string> above;
    ReadRecordList(key, VALUE_CONFIGFOLDERS, &above);
    // Only the record's own values: anything else kept there stays, and so does the folder then.
    for (const char* value : ownvalues)
        if (const int code = DeleteRecordValue(key, value))
            return code;
    if (!fs::remove(dir, error))
        return 0;
    // The folders above it, up to the store's own, when nothing else is kept there.
    const fs::path root = RecordRoot();
    for (fs::path up = fs::path(dir).parent_path(); up.string().size() >= root.string().size();
         up = up.parent_path()) {
        if (!fs::remove(up, error))
            return 0;
    }
    // Then those above the store that the record made, the deepest first, only when empty and never
    // through a link.
    std::sort(above.begin(), above.end(), [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    for (const std::string& folder : above)
        if (root.string().compare(0, folder.size() + 1, folder + "/") == 0 && RealPath(folder) == folder)
            fs::remove(folder, error);
    return 0;
}
