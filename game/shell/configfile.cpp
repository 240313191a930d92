#include "game/shell/configfile.h"

#include <fstream>
#include <sstream>

#include "common/strutil.h"
#include "platform/files.h"

namespace {

bool IsAlnum(const unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Printable and not white space (the C locale's isgraph).
bool IsGraph(const unsigned char c)
{
    return c > 0x20 && c < 0x7F;
}

// A key-value line: a letter or digit before its first '=', something printable after it.
bool IsKeyLine(const std::string& line, size_t* equals)
{
    const size_t at = line.find('=');
    if (at == std::string::npos)
        return false;
    bool key = false;
    for (size_t i = 0; i < at && !key; i++)
        key = IsAlnum((unsigned char)line[i]);
    bool value = false;
    for (size_t i = at + 1; i < line.size() && !value; i++)
        value = IsGraph((unsigned char)line[i]);
    *equals = at;
    return key && value;
}

} // namespace

uint32_t ConfigHash(const std::string& name)
{
    uint32_t h = 0;
    for (const char c : name) {
        // Bytes count as signed, so text past 0x7F hashes as it always has.
        h = (h + (uint32_t)(int32_t)(signed char)c) * 2049u;
        h ^= h >> 6;
    }
    return h;
}

namespace {

size_t BucketOf(const std::string& name)
{
    return ConfigHash(name) % CONFIGBUCKETS;
}

// Sections in the section table and keys in a section's key table alike: the entry of that name in
// its bucket's chain, or null.
template <typename Buckets>
auto FindNamed(Buckets& buckets, const std::string& name) -> decltype(&buckets[0][0])
{
    for (auto& entry : buckets[BucketOf(name)])
        if (entry.name == name)
            return &entry;
    return nullptr;
}

// The entry of entry's name, appended at the end of its chain when it is new.
template <typename Entry>
Entry& AddNamed(std::vector<std::vector<Entry>>& buckets, Entry entry)
{
    if (Entry* const found = FindNamed(buckets, entry.name))
        return *found;
    std::vector<Entry>& chain = buckets[BucketOf(entry.name)];
    chain.push_back(std::move(entry));
    return chain.back();
}

} // namespace

std::string ConfigFile::SectionName(const std::string& name) const
{
    switch (sectionmode) {
    case SECTIONS_LOWERED: return ToLowerString(name);
    case SECTIONS_MERGED: return std::string();
    default: return name;
    }
}

std::string ConfigFile::KeyName(const std::string& name) const
{
    return (namemode & KEEPKEYCASE) ? name : ToLowerString(name);
}

std::string ConfigFile::ValueText(const std::string& value) const
{
    return (namemode & KEEPVALUECASE) ? value : ToLowerString(value);
}

ConfigFile::Section& ConfigFile::AddTo(Table& table, const std::string& name)
{
    return AddNamed(table, Section{ name, std::vector<std::vector<Key>>(CONFIGBUCKETS) });
}

ConfigFile::Key& ConfigFile::AddKey(Section& section, const std::string& name)
{
    return AddNamed(section.keys, Key{ name, std::string() });
}

bool ConfigFile::HasContent() const
{
    return store != nullptr;
}

bool ConfigFile::SetSectionMode(const int32_t mode)
{
    if (store || mode < SECTIONS_KEPT || mode > SECTIONS_MERGED)
        return false;
    sectionmode = mode;
    return true;
}

bool ConfigFile::SetNameMode(const int32_t mode)
{
    if (store || mode < 0 || mode > (KEEPKEYCASE | KEEPVALUECASE))
        return false;
    namemode = mode;
    return true;
}

bool ConfigFile::HasSection(std::string section) const
{
    return store && FindNamed(*store, SectionName(section));
}

bool ConfigFile::HasKey(std::string section, std::string key) const
{
    const Section* const s = store ? FindNamed(*store, SectionName(section)) : nullptr;
    return s && FindNamed(s->keys, KeyName(key));
}

bool ConfigFile::AddSection(std::string section)
{
    if (!store)
        store = std::make_unique<Table>(CONFIGBUCKETS);
    const std::string name = SectionName(section);
    if (FindNamed(*store, name))
        return false;
    AddTo(*store, name);
    return true;
}

std::string ConfigFile::GetValue(std::string section, std::string key) const
{
    const Section* const s = store ? FindNamed(*store, SectionName(section)) : nullptr;
    const Key* const k = s ? FindNamed(s->keys, KeyName(key)) : nullptr;
    return k ? k->value : std::string();
}

bool ConfigFile::SetValue(std::string section, std::string key, std::string value)
{
    Section* const s = store ? FindNamed(*store, SectionName(section)) : nullptr;
    if (!s)
        return false;
    AddKey(*s, KeyName(key)).value = ValueText(value);
    return true;
}

std::string& ConfigFile::Query(std::string section, std::string key)
{
    if (!store)
        store = std::make_unique<Table>(CONFIGBUCKETS);
    return AddKey(AddTo(*store, SectionName(section)), KeyName(key)).value;
}

bool ConfigFile::Load(std::string name)
{
    std::ifstream in(ResolvePath(name.c_str()), std::ios::binary);
    if (!in)
        return false;
    return ParseStream(in);
}

bool ConfigFile::ParseStream(std::istream& in)
{
    auto table = std::make_unique<Table>(CONFIGBUCKETS);
    Section* current = nullptr;         // none until the first header
    std::string line;
    bool overlong = false;
    while (ReadLine(in, line, CONFIGMAXLINE, &overlong)) {
        line = Trim(line);              // a carriage return before the line feed goes too
        if (line.empty() || line[0] == ';')
            continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            current = &AddTo(*table, SectionName(line.substr(1, line.size() - 2)));
            continue;
        }
        size_t equals = 0;
        if (!current || !IsKeyLine(line, &equals))
            return false;
        AddKey(*current, KeyName(Trim(line.substr(0, equals)))).value = ValueText(Trim(line.substr(equals + 1)));
    }
    if (overlong)
        return false;
    store = std::move(table);
    return true;
}

bool ConfigFile::Save(std::string name) const
{
    std::ostringstream text;
    WriteStream(text);
    return !WriteFileReplacing(name.c_str(), text.str());
}

bool ConfigFile::WriteStream(std::ostream& out) const
{
    if (!store)
        return true;
    for (const std::vector<Section>& chain : *store) {
        for (const Section& section : chain) {
            if (sectionmode != SECTIONS_MERGED)
                out << '[' << section.name << "]\n\n" << std::flush;
            bool anykey = false;
            for (const std::vector<Key>& keys : section.keys) {
                for (const Key& key : keys) {
                    out << key.name << " = " << key.value << '\n' << std::flush;
                    anykey = true;
                }
            }
            if (anykey)
                out << '\n' << std::flush;
        }
    }
    return true;
}
