// Windows implementation of the platform layer.
#include "platform/platform.h"

#include <objbase.h>
#include <windows.h>
// <windows.h> maps ReplaceFile to ReplaceFileA; ours is the platform function.
#undef ReplaceFile

#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace korva {
namespace platform {

void CreateGuid(Guid* guid) {
  GUID g;
  std::memset(&g, 0, sizeof g);
  CoCreateGuid(&g);  // failure leaves the all-zero GUID, which callers detect
  guid->data1 = g.Data1;
  guid->data2 = g.Data2;
  guid->data3 = g.Data3;
  std::memcpy(guid->data4, g.Data4, 8);
}

namespace {

HKEY RootOf(Hive hive) { return hive == Hive::kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

}  // namespace

bool RegistryKeyExists(Hive hive, const char* key) {
  HKEY k;
  if (RegOpenKeyExA(RootOf(hive), key, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

bool ReadRegistryString(Hive hive, const char* key, const char* value, std::string* out) {
  HKEY root = RootOf(hive);
  HKEY k;
  if (RegOpenKeyExA(root, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  const char* name = (value != nullptr && *value != '\0') ? value : nullptr;
  DWORD type = 0, size = 0;
  bool ok = false;
  if (RegQueryValueExA(k, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ)) {
    std::string buf(size + 1, '\0');  // one byte more than reported
    DWORD len = size + 1;
    if (RegQueryValueExA(k, name, nullptr, &type, reinterpret_cast<BYTE*>(&buf[0]), &len) ==
        ERROR_SUCCESS) {
      buf.resize(std::strlen(buf.c_str()));
      *out = buf;
      ok = true;
    }
  }
  RegCloseKey(k);
  return ok;
}

const char* GetEnv(const char* name) { return std::getenv(name); }

bool ListDirectory(const std::string& dir, std::vector<std::string>* names) {
  std::string pattern = JoinPath(dir.empty() ? std::string(".") : dir, "*.*");
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA(pattern.c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return false;
  do {
    if (std::strcmp(fd.cFileName, ".") == 0 || std::strcmp(fd.cFileName, "..") == 0) continue;
    names->emplace_back(fd.cFileName);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return true;
}

bool IsDirectory(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsRegularFile(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool ReplaceFile(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

char PathSeparator() { return '\\'; }

bool IsAbsolutePath(const std::string& path) {
  if (!path.empty() && IsPathSeparator(path[0])) return true;
  return path.size() >= 3 && path[1] == ':' && IsPathSeparator(path[2]);
}

uint32_t ProcessId() { return static_cast<uint32_t>(GetCurrentProcessId()); }

void AdviseLargePages(void*, size_t) {}

bool IsTerminal(std::FILE* stream) { return stream != nullptr && _isatty(_fileno(stream)) != 0; }

// The system's C library has no unlocked write.
void WriteUnlocked(std::FILE* stream, const void* data, size_t bytes) { std::fwrite(data, 1, bytes, stream); }

std::FILE* DivertStandardOutput(const char* path) {
  std::fflush(stdout);
  const int saved = _dup(_fileno(stdout));
  if (saved < 0) return nullptr;
  std::FILE* former = _fdopen(saved, "w");
  std::FILE* target = std::fopen(path, "w");
  if (former == nullptr || target == nullptr || _dup2(_fileno(target), _fileno(stdout)) != 0) {
    if (target != nullptr) std::fclose(target);
    if (former != nullptr) std::fclose(former);
    else _close(saved);
    return nullptr;
  }
  std::fclose(target);
  return former;
}

void RestoreStandardOutput(std::FILE* former) {
  if (former == nullptr) return;
  std::fflush(stdout);
  std::fflush(former);
  _dup2(_fileno(former), _fileno(stdout));
  std::fclose(former);
}

const char* NullDevice() { return "NUL"; }

uint32_t HostValue() {
  DWORD serial = 0;
  GetVolumeInformationA("C:\\", nullptr, 0, &serial, nullptr, nullptr, nullptr, 0);
  return serial;
}

uint32_t NetworkValue() {
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD n = sizeof name;
  if (!GetComputerNameA(name, &n)) return 0;
  uint32_t h = 2166136261u;
  for (DWORD i = 0; i < n; ++i) {
    h ^= static_cast<unsigned char>(name[i]);
    h *= 16777619u;
  }
  return h;
}

uint32_t MachineValue() { return HostValue() ^ NetworkValue() ^ 0x9E3779B9u; }

bool LocalTime(std::time_t t, std::tm* out) { return localtime_s(out, &t) == 0; }

bool UtcTime(std::time_t t, std::tm* out) { return gmtime_s(out, &t) == 0; }

}  // namespace platform
}  // namespace korva
