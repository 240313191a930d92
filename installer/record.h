// The install record: what the registry keeps on the system the game was first written for, kept here
// as a folder of small files under the user's configuration directory ($XDG_CONFIG_HOME/gorvanel/, or
// ~/.config/gorvanel/). A key such as "Software\Thornquill\Gorvanel" is the folder
// Thornquill/Gorvanel/ there; each value is one file of that folder, replaced whole when written.
#pragma once
#include <string>
#include <vector>

// Error codes of its own.
enum : int {
    RECORD_NOKEY = -1,      // the key cannot be a folder, or no home is known
    RECORD_LINKED = -3,     // a folder of the key is a link: refused
    RECORD_MISSING = -4,    // there is no such key
};

std::string RecordRoot();                           // the store's folder; "" when no home is known
std::string RecordKeyDir(const std::string& key);   // the key's folder; "" when the key or the root is unusable
bool RecordKeyExists(const std::string& key);
int RecordKeyError(const std::string& key);         // 0 when the key is there to use, else why not
// Reads a value into *value; true when the key or the value is missing.
bool ReadRecordValue(const std::string& key, const char* name, std::string* value);
// Writes a value, making the key when needed; 0, or the error code.
int WriteRecordValue(const std::string& key, const char* name, const std::string& value);
// The same for a list of lines (each without a line end; empty lines are dropped when read).
bool ReadRecordList(const std::string& key, const char* name, std::vector<std::string>* lines);
int WriteRecordList(const std::string& key, const char* name, const std::vector<std::string>& lines);
int DeleteRecordValue(const std::string& key, const char* name);    // 0 (a missing value too), or the error code
// Removes the record's own values under the key (installed, files, directories, resolved, journal),
// then the key's folder and the store's folders above it when that leaves them empty; 0, or the error
// code (a missing key is no error).
int DeleteRecordKey(const std::string& key);
