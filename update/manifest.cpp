// Reading and checking the update manifest: a pure function from text to a verdict.
#include "update/manifest.h"

#include <climits>
#include <cstdio>
#include <set>

#include "common/strutil.h"
#include "update/version.h"

namespace {

// The manifest's lines, each without its line end ("\n" or "\r\n"); reading past the end gives none.
class LineReader {
public:
    explicit LineReader(std::string_view text) : rest(text) {}
    bool Next(std::string* line)
    {
        if (rest.empty())
            return false;
        const size_t end = rest.find('\n');
        std::string_view l = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (!l.empty() && l.back() == '\r')
            l.remove_suffix(1);
        *line = std::string(l);
        return true;
    }

private:
    std::string_view rest;
};

// A whole line that is one decimal number in the 32-bit range (blanks around it allowed); false when not.
bool ParseWholeInt(const std::string& line, int32_t* value)
{
    const std::string s = Trim(line);
    size_t i = 0;
    const bool negative = i < s.size() && s[i] == '-';
    if (negative || (i < s.size() && s[i] == '+'))
        i++;
    if (i == s.size() || s.size() - i > 10)
        return false;
    int64_t v = 0;
    for (; i < s.size(); i++) {
        if (s[i] < '0' || s[i] > '9')
            return false;
        v = v * 10 + (s[i] - '0');
    }
    v = negative ? -v : v;
    if (v < INT_MIN || v > INT_MAX)
        return false;
    *value = (int32_t)v;
    return true;
}

ManifestResult Malformed(const std::string& why)
{
    ManifestResult r;
    r.verdict = MANIFEST_MALFORMED;
    r.detail = "Malformed manifest list." + (why.empty() ? std::string() : " " + why);
    return r;
}

} // namespace

std::string PackageName(int index)
{
    char name[16];
    snprintf(name, sizeof name, "PKG.%03d", index);
    return name;
}

bool IsWorkFileName(const std::string& name)
{
    const std::string lower = ToLowerString(name);
    return lower.compare(0, 11, "ftplist.txt") == 0 || lower.compare(0, 4, "pkg.") == 0 || lower == UPDATELOG_NAME;
}

bool NormaliseTarget(const std::string& raw, std::string* target, std::string* why)
{
    std::string path = raw;
    for (char& c : path) {
        if (c == '\\')
            c = '/';
        if ((unsigned char)c < 0x20 || c == 0x7F) {
            *why = "a control character";
            return true;
        }
    }
    while (path.compare(0, 2, "./") == 0)
        path.erase(0, 2);
    if (path.empty()) {
        *why = "an empty name";
        return true;
    }
    if (path.size() > MAXTARGETLENGTH) {
        *why = "a name too long";
        return true;
    }
    if (path[0] == '/') {
        *why = "an absolute path";
        return true;
    }
    if (path.size() >= 2 && path[1] == ':' && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
        *why = "a drive";
        return true;
    }
    size_t start = 0;
    for (;;) {
        const size_t end = path.find('/', start);
        const std::string part = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (part.empty() || part == "." || part == "..") {
            *why = "a path that leaves its directory or has an empty part";
            return true;
        }
        if (start == 0 && IsWorkFileName(part)) {
            *why = "the name of a work file";
            return true;
        }
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    *target = path;
    return false;
}

ManifestResult ParseManifest(std::string_view text, uint32_t current)
{
    LineReader reader(text);
    std::string line;
    if (!reader.Next(&line) || line != MANIFEST_MAGIC)
        return Malformed("");

    ManifestResult r;
    UpdateInfo& info = r.info;
    std::string parts[4];
    if (!reader.Next(&info.text1) || !reader.Next(&info.text2))
        return Malformed("The header ends early.");
    for (int i = 0; i < 4; i++) {
        if (!reader.Next(&parts[i]))
            return Malformed("The version ends early.");
        info.version = AddVersionPart(info.version, LeadingInt(parts[i]), i);
    }
    if (!(current < info.version)) {
        r.verdict = MANIFEST_NOTNEWER;
        r.detail = "Version " + parts[0] + "." + parts[1] + "." + parts[2] + "." + parts[3]
                   + " lower than current version.";
        return r;
    }

    int32_t count = 0;
    if (!reader.Next(&line) || !ParseWholeInt(line, &count))
        return Malformed("No file count.");
    if (count > MAXUPDATEFILES)
        return Malformed("Too many files: " + line);
    // A count below 0 is an update of no files, as 0 is.
    info.count = count < 0 ? 0 : count;

    std::set<std::string> seen;     // lower-cased, since a target may match an existing file in any case
    for (int i = 0; i < info.count; i++) {
        std::string rawtarget;
        std::string sizeline;
        if (!reader.Next(&rawtarget) || !reader.Next(&sizeline))
            return Malformed("Fewer files than the count.");
        std::string target;
        std::string why;
        if (NormaliseTarget(rawtarget, &target, &why))
            return Malformed("File " + std::to_string(i) + " \"" + rawtarget + "\": " + why + ".");
        if (!seen.insert(ToLowerString(target)).second)
            return Malformed("File " + std::to_string(i) + " \"" + rawtarget + "\" twice.");
        int32_t size = 0;
        if (!ParseWholeInt(sizeline, &size) || size < -1)
            return Malformed("File " + std::to_string(i) + " has the size \"" + sizeline + "\".");
        // The string module is checked byte for byte against its size: an error page never replaces it.
        if (size < 0 && ToLowerString(target) == VERSIONMODULE)
            return Malformed("The string module " + target + " is listed without its size.");
        info.targets.push_back(target);
        info.sizes.push_back(size);
    }
    // A file where another needs a directory could never be installed.
    for (const std::string& t : seen) {
        for (size_t slash = t.find('/'); slash != std::string::npos; slash = t.find('/', slash + 1))
            if (seen.count(t.substr(0, slash)))
                return Malformed("\"" + t.substr(0, slash) + "\" is both a file and a directory.");
    }
    r.verdict = MANIFEST_NEWER;
    return r;
}
