// Files, directories and programs under the Windows-style names the game uses.
//
// Names may use '\' and any letter case: "tessarine.dll" finds "Tessarine.dll". Every call that takes
// a name resolves it first.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

std::string ResolvePath(const char* name);     // the path of a Windows-style name: '\' to '/', a leading ".\" dropped, each missing part matched ignoring case
std::string ProgramPath(const char* name);     // the executable for a program name: quotes and ".exe" dropped, "update"/"Gorvanel" in our spelling, same directory
bool StartProgram(const char* name);           // starts that program detached, without waiting; true on failure
bool FileExists(const char* name);             // a regular file (or a link to one) exists
bool DirectoryExists(const char* name);        // a directory exists
// Reads a whole regular file of at most limit bytes into bytes; true on failure, with errno: the open's
// own error, EINVAL for anything but a regular file (a pipe or a device never blocks or floods the
// reader), EFBIG for a larger file.
bool ReadWholeFile(const char* name, size_t limit, std::vector<uint8_t>& bytes);
// A whole regular file of at most limit bytes mapped read-only: its pages are read from the disk cache
// as they are first touched and count as the file's, not the program's. The same checks and errors as
// ReadWholeFile; true on failure.
struct MappedFile {
    const uint8_t* data;        // null for an empty file
    size_t size;
};
bool MapWholeFile(const char* name, size_t limit, MappedFile* file);
void UnmapFile(MappedFile* file);               // releases the mapping; an empty one is allowed
void ReleaseFilePages(const MappedFile& file);  // its pages go back to the file: still readable, read again when touched
std::string GetCurrentDir();                   // the working directory ("" when it cannot be read)
bool SetCurrentDir(const char* name);          // changes the working directory; true on failure
// Creates the file at an exact path (not resolved; failing when anything has that name), writes all of
// bytes, forces them to the disk and closes it; mode 0755 when executable, else 0644 (less the umask).
// A file that fails part-way is removed. Returns 0, or the system's error code.
struct FileId;
int WriteNewFile(const std::string& path, const void* bytes, size_t size, bool executable, FileId* id = nullptr);
bool WriteFileReplacing(const char* name, const std::string& bytes); // writes a whole file beside it, flushed to disk, then renames it into place: the old file or the new one, never half; true on failure
int WriteAllSynced(int fd, const void* bytes, size_t size);  // writes all of bytes to an open file and forces them to the disk: 0 or the error code
bool SyncFile(FILE* file);                     // flushes a written file and forces its bytes to the disk; true on failure

// Which file a path names, to tell later whether it is still the same one.
struct FileId {
    uint64_t device = 0;
    uint64_t inode = 0;
    bool operator==(const FileId& other) const { return device == other.device && inode == other.inode; }
};
bool PathFileId(const std::string& path, FileId* id);   // lstat: the regular file at path itself (never a link's target); true when there is none
bool OpenFileId(FILE* file, FileId* id);                // fstat of an open file; true on failure
std::string SystemErrorText(int code);                  // strerror: the system's words for an error code ("No space left on device")
std::string RealPath(const std::string& path);          // realpath: every link and ".." resolved; "" (errno set) when it does not resolve
// Appends text to a file, creating it (0644) but never through a link (O_NOFOLLOW); true on failure.
bool AppendToFile(const std::string& path, const std::string& text, bool truncate);
// Which run of a program this is: the machine's boot, the process and its start. A run is alive when
// the same boot still has that process, started at that moment.
std::string RunIdentity();
bool IsRunAlive(const std::string& identity);
