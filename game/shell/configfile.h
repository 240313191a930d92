// The key-value file: sections of key-value texts, loaded from and saved to an INI-style text file.
//
// Parsing is strict: one line that is neither blank, a ';' comment, a "[section]" header nor a
// "key = value" line (a letter or digit before the first '=', something printable after it) rejects
// the whole file and keeps what the store held; so does a line past CONFIGMAXLINE bytes. Sections and keys sit in fixed tables of 100 hash
// buckets, and a save writes them in bucket order, so the order of a saved file follows the names.
// Unlike the game's other functions, these return true on success.
#pragma once
#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

enum { CONFIGBUCKETS = 100 };
enum { CONFIGMAXLINE = 4096 };          // a longer line is a bad line

// Section modes: how a section name is stored.
enum { SECTIONS_KEPT = 0, SECTIONS_LOWERED = 1, SECTIONS_MERGED = 2 };
// Name-mode bits: set keeps the text as written, clear lowers it.
enum { KEEPKEYCASE = 1, KEEPVALUECASE = 2 };

uint32_t ConfigHash(const std::string& name);  // the bucket-order hash of a name (bucket = hash mod 100)

class ConfigFile {
public:
    ConfigFile() = default;
    ConfigFile(const ConfigFile&) = delete;
    ConfigFile& operator=(const ConfigFile&) = delete;

    bool HasContent() const;                                // a table exists (something was added or loaded)
    bool SetSectionMode(int32_t mode);                      // refused while there is content or for a bad mode
    bool SetNameMode(int32_t mode);                         // the same for 0..3
    bool HasSection(std::string section) const;
    bool HasKey(std::string section, std::string key) const;
    bool AddSection(std::string section);                   // false when it was there already
    std::string GetValue(std::string section, std::string key) const;  // "" when missing
    bool SetValue(std::string section, std::string key, std::string value); // false without the section
    std::string& Query(std::string section, std::string key); // the value, made (empty) as needed
    bool Load(std::string name);                            // false when the file cannot be read or parsed
    bool ParseStream(std::istream& in);                     // false on the first bad line, store unchanged
    bool Save(std::string name) const;                      // written whole or not at all; false on failure
    bool WriteStream(std::ostream& out) const;              // the saved form; always true

private:
    struct Key {
        std::string name;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<std::vector<Key>> keys;                 // CONFIGBUCKETS chains
    };
    typedef std::vector<std::vector<Section>> Table;        // CONFIGBUCKETS chains

    std::string SectionName(const std::string& name) const;
    std::string KeyName(const std::string& name) const;
    std::string ValueText(const std::string& value) const;
    static Section& AddTo(Table& table, const std::string& name);     // the section, made when new
    static Key& AddKey(Section& section, const std::string& name);    // the key, made (empty) when new

    std::unique_ptr<Table> store;                           // null while empty
    int32_t sectionmode = SECTIONS_KEPT;
    int32_t namemode = KEEPKEYCASE | KEEPVALUECASE;
};
