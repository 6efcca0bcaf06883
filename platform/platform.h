// The platform layer: every operating-system service the library uses, behind
// one small interface.  platform_posix.cc implements it for Linux and other
// POSIX systems, platform_win32.cc for Windows.  Nothing outside this folder
// tests for the platform.
#ifndef KORVA_PLATFORM_PLATFORM_H
#define KORVA_PLATFORM_PLATFORM_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace korva {
namespace platform {

// A 128-bit GUID in the field order of the Windows GUID record.
struct Guid {
  uint32_t data1;
  uint16_t data2;
  uint16_t data3;
  uint8_t data4[8];
};

// Fills *guid from the platform's GUID service (Windows) or with a random
// version-4 GUID.  The result code of the service is not reported: callers
// detect failure by an all-zero GUID.
void CreateGuid(Guid* guid);

// Registry hives searched for configuration values.
enum class Hive { kCurrentUser, kLocalMachine };

// Whether `key` exists (can be opened for reading) in `hive`; false where
// the platform has no registry.
bool RegistryKeyExists(Hive hive, const char* key);

// Reads the string value `value` (empty name: the key's default value) under
// `key` in `hive`.  Returns false, leaving *out untouched, when the key or
// value is missing or the platform has no registry.
bool ReadRegistryString(Hive hive, const char* key, const char* value, std::string* out);

// Value of an environment variable, or null when it is not set.
const char* GetEnv(const char* name);

// Names of the entries of `dir` (files and folders, without "." and ".."),
// in the order the file system lists them.  False when it cannot be listed.
bool ListDirectory(const std::string& dir, std::vector<std::string>* names);

bool IsDirectory(const std::string& path);
bool IsRegularFile(const std::string& path);

// Moves the file `from` onto `to` in one step, replacing `to` when it
// exists (both in the same folder).  False, with both files as they were,
// when it cannot be done.
bool ReplaceFile(const std::string& from, const std::string& to);
// Removes a file; false when it cannot be removed.
bool RemoveFile(const std::string& path);

// The separator used to build paths ('/' or '\\').  Both characters are
// accepted as separators when paths are split, on every platform.
char PathSeparator();
inline bool IsPathSeparator(char c) { return c == '/' || c == '\\'; }

// Joins a folder and a name with one separator between them (none added when
// the folder is empty or already ends with a separator).
std::string JoinPath(const std::string& folder, const std::string& name);

// True when `path` is absolute on this platform (a leading separator, or a
// drive letter on Windows).
bool IsAbsolutePath(const std::string& path);

uint32_t ProcessId();

// Whether `stream` is attached to a terminal (progress displays use it).
bool IsTerminal(std::FILE* stream);

// Writes `bytes` bytes to `stream` as fwrite does, without taking the
// stream's lock where the system allows that: for many short writes from
// the one thread that uses the stream (the import's trace lines).
void WriteUnlocked(std::FILE* stream, const void* data, size_t bytes);

// Sends everything later written to the process's standard output (also by
// code that prints with printf) to the file `path` instead, e.g. NullDevice().
// Returns a stream on the former standard output, or null (nothing changed)
// when the redirection cannot be made.
std::FILE* DivertStandardOutput(const char* path);

// Ends a diversion: standard output goes where `former` (the result of
// DivertStandardOutput) writes, and `former` is closed.
void RestoreStandardOutput(std::FILE* former);

// The name of the device that discards what is written to it.
const char* NullDevice();

// Values that make object-identifier prefixes unique across hosts and runs.
uint32_t HostValue();
uint32_t NetworkValue();
uint32_t MachineValue();

// Broken-down local and universal time of `t`; false when the clock value
// cannot be converted.
bool LocalTime(std::time_t t, std::tm* out);
bool UtcTime(std::time_t t, std::tm* out);

// Asks the system to back the whole 2 MB pages inside [p, p + bytes) with
// large pages, which makes walking a big heap of small objects cheaper.
// Only advice: where the system offers no such thing it does nothing.
void AdviseLargePages(void* p, size_t bytes);

}  // namespace platform
}  // namespace korva

#endif  // KORVA_PLATFORM_PLATFORM_H
