// The install record's folder of values.
#include "installer/record.h"

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
    return root.empty() || path.empty() ? "" : root + "/" + path;
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
    const std::string dir = RecordKeyDir(key);
    if (dir.empty() || !IsValueName(name))
        return RECORD_NOKEY;
    std::error_code error;
    fs::create_directories(dir, error);
    if (error)
        return error.value();
    // Written beside its place, then moved over it: a reader sees the old value or the new one.
    const std::string path = dir + "/" + name;
    const std::string temporary = path + ".new";
    fs::remove(temporary, error);
    if (const int code = WriteNewFile(temporary, value.data(), value.size(), false))
        return code;
    fs::rename(temporary, path, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return error.value();
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

int DeleteRecordKey(const std::string& key)
{
    const std::string dir = RecordKeyDir(key);
    if (dir.empty())
        return RECORD_NOKEY;
    std::error_code error;
    if (!fs::exists(fs::symlink_status(dir, error)))
        return 0;
    std::vector<fs::path> values;
    for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        if (it->symlink_status(ignored).type() == fs::file_type::regular)
            values.push_back(it->path());
    }
    for (const fs::path& value : values)
        if (!error)
            fs::remove(value, error);
    if (error)
        return error.value();
    fs::remove(dir, error);
    if (error)
        return error.value();
    // The folders above it, up to the store's own, when nothing else is kept there.
    const fs::path root = RecordRoot();
    for (fs::path up = fs::path(dir).parent_path(); up.string().size() >= root.string().size();
         up = up.parent_path()) {
        if (!fs::remove(up, error))
            break;
    }
    return 0;
}
