// gorvpack: builds a data module from a manifest.
//
//   gorvpack <manifest> <output>
//
// Manifest: one directive a line; blank lines and lines starting with '#' are ignored.
//   strings <file>                   a string table file (several allowed; an id may appear only once)
//   resource <TYPE> <name> <file>    the bytes of <file> as resource <name> of type <TYPE>
//   number <TYPE> <name> <value>     a decimal value of 0..4294967295 as four bytes, least significant first
//   text <TYPE> <name> <text>        the rest of the line, with the string tables' escapes, in CP1252 and
//                                    NUL-ended
//   textfile <TYPE> <name> <file>    the UTF-8 text of <file> (no escapes; CR line ends dropped), in CP1252
//                                    and NUL-ended
// TYPE and name are single words taken literally, so a name written .\Sound\GSOK.wav is the name the game
// asks for as ".\\Sound\\GSOK.wav"; they are compared case-insensitively, so two resources may not differ
// in case only. <file> is the rest of the line, relative to the manifest's directory.
//
// String table file: UTF-8 text, one entry a line, "<id><TAB><text>"; the id is decimal (0..4294967295),
// the text is everything after the first TAB, with the escapes \n, \t and \\. Blank lines and lines
// starting with '#' are ignored; a byte-order mark and CR line ends are accepted. Texts are stored in
// CP1252: a character it cannot encode is an error (in a text or textfile resource too).
//
// Any error is reported as "file:line: message" and ends the program with status 1, leaving the output
// as it was; the output is written to a temporary file that then replaces it.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "common/module.h"
#include "platform/cp1252.h"

namespace fs = std::filesystem;

namespace {

struct Resource {
    std::string type;
    std::string name;
    std::vector<uint8_t> data;
    std::string origin;     // "file:line" of the directive, for messages
};

std::map<uint32_t, std::string> strings;     // id -> CP1252 text
std::vector<Resource> resources;

bool Fail(const std::string& where, const std::string& message)
{
    fprintf(stderr, "gorvpack: %s: %s\n", where.c_str(), message.c_str());
    return true;
}

std::string Where(const fs::path& file, const int line)
{
    return file.string() + ":" + std::to_string(line);
}

// Reads a whole file; true on failure.
bool ReadFile(const fs::path& path, std::string& out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return true;
    std::ostringstream all;
    all << in.rdbuf();
    out = all.str();
    return in.bad();
}

// Splits text into lines, dropping a CR before each LF.
std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

bool IsBlank(const std::string& line)
{
    return line.find_first_not_of(" \t") == std::string::npos;
}

// Decodes one UTF-8 character at text[at], advancing at; true when the bytes are not valid UTF-8.
bool DecodeUtf8(const std::string& text, size_t& at, uint32_t& code)
{
    const auto byte = [&](const size_t i) { return (uint8_t)text[i]; };
    const uint8_t lead = byte(at);
    int extra;
    uint32_t least;
    if (lead < 0x80) {
        code = lead;
        at++;
        return false;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1, code = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2, code = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3, code = lead & 0x07, least = 0x10000;
    } else {
        return true;
    }
    if (at + extra >= text.size())
        return true;
    for (int i = 1; i <= extra; i++) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return true;
        code = code << 6 | (byte(at + i) & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return true;
    at += extra + 1;
    return false;
}

// The CP1252 byte of a character; true when CP1252 has none.
bool EncodeCp1252(const uint32_t code, uint8_t& out)
{
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
        out = (uint8_t)code;
        return false;
    }
    // The C1 controls stand for CP1252's five unused bytes: no text means them.
    if (code <= 0x9F)
        return true;
    for (unsigned byte = 0x80; byte <= 0x9F; byte++) {
        if (Cp1252ToUnicode((uint8_t)byte) == code) {
            out = (uint8_t)byte;
            return false;
        }
    }
    return true;
}

// Turns UTF-8 text, with its escapes when escapes is set, into CP1252; true on failure (reported).
bool ConvertText(const std::string& text, const std::string& where, std::string& out, const bool escapes = true)
{
    out.clear();
    size_t at = 0;
    while (at < text.size()) {
        if (escapes && text[at] == '\\') {
            if (at + 1 >= text.size())
                return Fail(where, "a lone '\\' ends the text (write \\\\ for a backslash)");
            const char escaped = text[at + 1];
            if (escaped == 'n')
                out += '\n';
            else if (escaped == 't')
                out += '\t';
            else if (escaped == '\\')
                out += '\\';
            else
                return Fail(where, std::string("unknown escape \\") + escaped + " (known: \\n \\t \\\\)");
            at += 2;
            continue;
        }
        const size_t start = at;
        uint32_t code;
        if (DecodeUtf8(text, at, code))
            return Fail(where, "invalid UTF-8 at byte " + std::to_string(start + 1) + " of the text");
        if (code == 0)
            return Fail(where, "a NUL character in the text");
        uint8_t byte;
        if (EncodeCp1252(code, byte)) {
            char name[16];
            snprintf(name, sizeof name, "U+%04X", (unsigned)code);
            return Fail(where, std::string("character ") + name + " has no CP1252 encoding");
        }
        out += (char)byte;
    }
    return false;
}

// Parses a decimal id of 0..4294967295; true when it is not one.
bool ParseId(const std::string& digits, uint32_t& id)
{
    if (digits.empty() || digits.size() > 10)
        return true;
    uint64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return true;
        value = value * 10 + (uint64_t)(c - '0');
    }
    if (value > UINT32_MAX)
        return true;
    id = (uint32_t)value;
    return false;
}

// Adds the entries of a string table file; true on failure (reported).
bool LoadStringTable(const fs::path& path, const std::string& origin)
{
    std::string text;
    if (ReadFile(path, text))
        return Fail(origin, "cannot read string table " + path.string());
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);
    const std::vector<std::string> lines = SplitLines(text);
    for (size_t i = 0; i < lines.size(); i++) {
        const std::string& line = lines[i];
        const std::string where = Where(path, (int)i + 1);
        if (IsBlank(line) || line[0] == '#')
            continue;
        const size_t tab = line.find('\t');
        uint32_t id;
        if (tab == std::string::npos || ParseId(line.substr(0, tab), id))
            return Fail(where, "expected <id><TAB><text> with a decimal id of 0..4294967295");
        std::string converted;
        if (ConvertText(line.substr(tab + 1), where, converted))
            return true;
        if (!strings.emplace(id, std::move(converted)).second)
            return Fail(where, "string " + std::to_string(id) + " is defined twice");
    }
    return false;
}

// Splits off the first whitespace-delimited word of rest; the rest keeps what follows, trimmed.
std::string TakeWord(std::string& rest)
{
    const size_t start = rest.find_first_not_of(" \t");
    if (start == std::string::npos) {
        rest.clear();
        return "";
    }
    const size_t end = rest.find_first_of(" \t", start);
    std::string word = rest.substr(start, end == std::string::npos ? std::string::npos : end - start);
    rest = end == std::string::npos ? "" : rest.substr(end);
    const size_t first = rest.find_first_not_of(" \t");
    const size_t last = rest.find_last_not_of(" \t");
    rest = first == std::string::npos ? "" : rest.substr(first, last - first + 1);
    return word;
}

// True when two names are equal under the reader's ASCII fold.
bool SameFolded(const std::string& a, const std::string& b)
{
    const auto fold = [](const char c) { return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](const char x, const char y) { return fold(x) == fold(y); });
}

// The bytes of a resource directive's value (rest: what follows its name); true on failure (reported).
bool ReadResourceData(const std::string& directive, const std::string& rest, const fs::path& dir,
                      const std::string& where, std::vector<uint8_t>& data)
{
    if (directive == "number") {
        uint32_t value;
        if (ParseId(rest, value))
            return Fail(where, "expected a decimal value of 0..4294967295, not '" + rest + "'");
        data = {(uint8_t)value, (uint8_t)(value >> 8), (uint8_t)(value >> 16), (uint8_t)(value >> 24)};
        return false;
    }
    std::string bytes;
    if (directive != "text" && ReadFile(dir / rest, bytes))
        return Fail(where, "cannot read " + (dir / rest).string());
    if (directive == "resource") {
        data.assign(bytes.begin(), bytes.end());
        return false;
    }
    std::string converted;
    if (directive == "text") {
        if (ConvertText(rest, where, converted))
            return true;
    } else {
        if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
            bytes.erase(0, 3);
        std::string joined;
        for (const std::string& line : SplitLines(bytes))
            joined += line + '\n';
        if (!bytes.empty() && bytes.back() != '\n')
            joined.pop_back();
        if (ConvertText(joined, (dir / rest).string(), converted, false))
            return true;
    }
    data.assign(converted.begin(), converted.end());
    data.push_back(0);
    return false;
}

// Reads the manifest and everything it lists; true on failure (reported).
bool LoadManifest(const fs::path& manifest)
{
    std::string text;
    if (ReadFile(manifest, text))
        return Fail(manifest.string(), "cannot read the manifest");
    const fs::path dir = manifest.parent_path();
    const std::vector<std::string> lines = SplitLines(text);
    for (size_t i = 0; i < lines.size(); i++) {
        const std::string where = Where(manifest, (int)i + 1);
        if (IsBlank(lines[i]) || lines[i][0] == '#')
            continue;
        std::string rest = lines[i];
        const std::string directive = TakeWord(rest);
        if (directive == "strings") {
            if (rest.empty())
                return Fail(where, "expected: strings <file>");
            if (LoadStringTable(dir / rest, where))
                return true;
        } else if (directive == "resource" || directive == "number" || directive == "text" ||
                   directive == "textfile") {
            Resource resource;
            resource.type = TakeWord(rest);
            resource.name = TakeWord(rest);
            resource.origin = where;
            if (resource.type.empty() || resource.name.empty() || rest.empty())
                return Fail(where, "expected: " + directive + " <TYPE> <name> " +
                                       (directive == "number" ? "<value>" : directive == "text" ? "<text>" : "<file>"));
            if (resource.type.size() > MODULE_MAXNAME || resource.name.size() > MODULE_MAXNAME)
                return Fail(where, "a type or name is longer than " + std::to_string(MODULE_MAXNAME) + " bytes");
            for (const Resource& other : resources) {
                if (SameFolded(other.type, resource.type) && SameFolded(other.name, resource.name))
                    return Fail(where, "resource " + resource.type + " " + resource.name + " is already defined at " +
                                           other.origin + " (names ignore case)");
            }
            if (ReadResourceData(directive, rest, dir, where, resource.data))
                return true;
            resources.push_back(std::move(resource));
        } else {
            return Fail(where, "unknown directive '" + directive +
                                   "' (expected strings, resource, number, text or textfile)");
        }
    }
    return false;
}

void PutU32(std::vector<uint8_t>& out, const size_t at, const uint32_t value)
{
    out[at] = (uint8_t)value;
    out[at + 1] = (uint8_t)(value >> 8);
    out[at + 2] = (uint8_t)(value >> 16);
    out[at + 3] = (uint8_t)(value >> 24);
}

// Appends bytes to the data area; returns their offset, or true in toolarge when the file outgrows 4 GiB.
uint32_t Append(std::vector<uint8_t>& out, const void* const data, const size_t length, bool& toolarge)
{
    const size_t offset = out.size();
    if ((uint64_t)offset + length > UINT32_MAX) {
        toolarge = true;
        return 0;
    }
    const auto* const bytes = (const uint8_t*)data;
    out.insert(out.end(), bytes, bytes + length);
    return (uint32_t)offset;
}

// Lays out the module (format in common/module.cpp); true when it does not fit the format.
bool BuildModule(std::vector<uint8_t>& out)
{
    // The reader wants resources ordered by folded type, then folded name.
    const auto fold = [](std::string s) {
        for (char& c : s)
            c = c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c;
        return s;
    };
    std::sort(resources.begin(), resources.end(), [&](const Resource& a, const Resource& b) {
        const std::string at = fold(a.type), bt = fold(b.type);
        return at != bt ? at < bt : fold(a.name) < fold(b.name);
    });

    const size_t tables = MODULE_HEADERSIZE + strings.size() * MODULE_STRINGENTRY +
                          resources.size() * MODULE_RESOURCEENTRY;
    bool toolarge = tables > UINT32_MAX;
    if (toolarge)
        return true;
    out.assign(tables, 0);
    PutU32(out, 0, MODULE_MAGIC);
    PutU32(out, 4, MODULE_VERSION);
    PutU32(out, 8, (uint32_t)strings.size());
    PutU32(out, 12, (uint32_t)resources.size());
    size_t at = MODULE_HEADERSIZE;
    for (const auto& [id, text] : strings) {
        PutU32(out, at, id);
        PutU32(out, at + 4, Append(out, text.data(), text.size(), toolarge));
        PutU32(out, at + 8, (uint32_t)text.size());
        at += MODULE_STRINGENTRY;
    }
    for (const Resource& resource : resources) {
        PutU32(out, at, Append(out, resource.type.data(), resource.type.size(), toolarge));
        PutU32(out, at + 4, (uint32_t)resource.type.size());
        PutU32(out, at + 8, Append(out, resource.name.data(), resource.name.size(), toolarge));
        PutU32(out, at + 12, (uint32_t)resource.name.size());
        PutU32(out, at + 16, Append(out, resource.data.data(), resource.data.size(), toolarge));
        PutU32(out, at + 20, (uint32_t)resource.data.size());
        at += MODULE_RESOURCEENTRY;
    }
    return toolarge;
}

// Writes bytes to a temporary file beside path and moves it into place; true on failure (reported).
bool WriteAtomically(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    const fs::path temporary = path.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write((const char*)bytes.data(), (std::streamsize)bytes.size());
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return Fail(temporary.string(), "cannot write");
        }
    }
    std::error_code error;
    fs::rename(temporary, path, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return Fail(path.string(), "cannot replace: " + error.message());
    }
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: gorvpack <manifest> <output>\n");
        return 2;
    }
    const fs::path manifest = argv[1];
    const fs::path output = argv[2];
    if (LoadManifest(manifest))
        return 1;
    std::vector<uint8_t> bytes;
    if (BuildModule(bytes)) {
        Fail(output.string(), "the module would be larger than 4 GiB");
        return 1;
    }
    // The game's reader must accept what we write: check it here rather than at the player's start-up.
    Module* const check = OpenModuleFromBytes(bytes);
    if (check == nullptr) {
        Fail(output.string(), "internal error: the packed module fails the reader's checks");
        return 1;
    }
    CloseModule(check);
    return WriteAtomically(output, bytes) ? 1 : 0;
}
