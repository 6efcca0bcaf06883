// POSIX implementation of the platform layer.
#include "platform/platform.h"

#include <dirent.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>

namespace korva {
namespace platform {
namespace {

uint32_t Fnv1a(const char* data, size_t n) {
  uint32_t h = 2166136261u;
  for (size_t i = 0; i < n; ++i) {
    h ^= static_cast<unsigned char>(data[i]);
    h *= 16777619u;
  }
  return h;
}

}  // namespace

void CreateGuid(Guid* guid) {
  // One generator per process, seeded from the system's random source.  A
  // child made by fork() starts with a copy of its parent's generator, so the
  // generator is seeded again whenever the process id has changed; otherwise
  // parent and child would hand out the same identifiers.
  static std::mt19937_64 generator;
  static pid_t seededFor = -1;
  const pid_t pid = getpid();
  if (seededFor != pid) {
    try {
      std::random_device rd;
      std::seed_seq seed{rd(), rd(), rd(), rd(), rd(), rd(), rd(), rd()};
      generator.seed(seed);
      seededFor = pid;
    } catch (...) {
      return;  // no random source: the GUID stays as the caller set it
    }
  }
  uint8_t bytes[16];
  for (int i = 0; i < 16; i += 8) {
    uint64_t v = generator();
    std::memcpy(bytes + i, &v, 8);
  }
  std::memcpy(&guid->data1, bytes, 4);
  std::memcpy(&guid->data2, bytes + 4, 2);
  std::memcpy(&guid->data3, bytes + 6, 2);
  std::memcpy(guid->data4, bytes + 8, 8);
  guid->data3 = static_cast<uint16_t>((guid->data3 & 0x0FFF) | 0x4000);  // version 4
  guid->data4[0] = static_cast<uint8_t>((guid->data4[0] & 0x3F) | 0x80);  // RFC 4122 variant
}

bool RegistryKeyExists(Hive, const char*) { return false; }

bool ReadRegistryString(Hive, const char*, const char*, std::string*) { return false; }

const char* GetEnv(const char* name) { return std::getenv(name); }

bool ListDirectory(const std::string& dir, std::vector<std::string>* names) {
  DIR* d = opendir(dir.empty() ? "." : dir.c_str());
  if (d == nullptr) return false;
  while (struct dirent* e = readdir(d)) {
    if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
    names->emplace_back(e->d_name);
  }
  closedir(d);
  return true;
}

bool IsDirectory(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsRegularFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool ReplaceFile(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

bool RemoveFile(const std::string& path) { return std::remove(path.c_str()) == 0; }

char PathSeparator() { return '/'; }

bool IsAbsolutePath(const std::string& path) { return !path.empty() && IsPathSeparator(path[0]); }

uint32_t ProcessId() { return static_cast<uint32_t>(getpid()); }

void AdviseLargePages(void* p, size_t bytes) {
#ifdef MADV_HUGEPAGE
  constexpr uintptr_t kLarge = 2u << 20;
  const uintptr_t begin = (reinterpret_cast<uintptr_t>(p) + kLarge - 1) & ~(kLarge - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(p) + bytes) & ~(kLarge - 1);
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
  (void)p;
  (void)bytes;
#endif
}

bool IsTerminal(std::FILE* stream) { return stream != nullptr && isatty(fileno(stream)) == 1; }

void WriteUnlocked(std::FILE* stream, const void* data, size_t bytes) {
#if defined(__GLIBC__)
  fwrite_unlocked(data, 1, bytes, stream);
#else
  std::fwrite(data, 1, bytes, stream);
#endif
}

std::FILE* DivertStandardOutput(const char* path) {
  std::fflush(stdout);
  const int saved = dup(STDOUT_FILENO);
  if (saved < 0) return nullptr;
  std::FILE* former = fdopen(saved, "w");
  std::FILE* target = std::fopen(path, "w");
  if (former == nullptr || target == nullptr || dup2(fileno(target), STDOUT_FILENO) < 0) {
    if (target != nullptr) std::fclose(target);
    if (former != nullptr) std::fclose(former);
    else close(saved);
    return nullptr;
  }
  std::fclose(target);
  return former;
}

void RestoreStandardOutput(std::FILE* former) {
  if (former == nullptr) return;
  std::fflush(stdout);
  std::fflush(former);
  dup2(fileno(former), STDOUT_FILENO);
  std::fclose(former);
}

const char* NullDevice() { return "/dev/null"; }

uint32_t HostValue() { return static_cast<uint32_t>(gethostid()); }

uint32_t NetworkValue() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return 0;
  return Fnv1a(name, std::strlen(name));
}

uint32_t MachineValue() {
  std::ifstream in("/etc/machine-id");
  std::string id;
  if (in && std::getline(in, id)) return Fnv1a(id.data(), id.size());
  return NetworkValue() ^ 0x9E3779B9u;
}

bool LocalTime(std::time_t t, std::tm* out) { return localtime_r(&t, out) != nullptr; }

bool UtcTime(std::time_t t, std::tm* out) { return gmtime_r(&t, out) != nullptr; }

}  // namespace platform
}  // namespace korva
