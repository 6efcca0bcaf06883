// Helpers shared by the tests: temporary folders, whole-file reads, captured
// reporter output and environment variables restored after a test.
#ifndef KORVA_TESTS_SUPPORT_TEST_UTIL_H
#define KORVA_TESTS_SUPPORT_TEST_UTIL_H

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace korva {
namespace test {

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  void write(const std::string& name, const std::string& contents) const;

 private:
  std::string path_;
};

std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);

// A temporary stream whose text can be read back.
class CapturedStream {
 public:
  CapturedStream() : file_(std::tmpfile()) {}
  ~CapturedStream() { if (file_) std::fclose(file_); }
  std::FILE* get() const { return file_; }
  std::string text() const;

 private:
  std::FILE* file_;
};

// Sets (or with null unsets) an environment variable and restores it later.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value);
  ~ScopedEnv();

 private:
  std::string name_, old_;
  bool had_;
};

}  // namespace test
}  // namespace korva

#endif  // KORVA_TESTS_SUPPORT_TEST_UTIL_H
