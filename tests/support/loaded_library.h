// A library loaded by name at run time, as a host loads it (dlopen), and
// unloaded again.
#ifndef KORVA_TESTS_SUPPORT_LOADED_LIBRARY_H
#define KORVA_TESTS_SUPPORT_LOADED_LIBRARY_H

#include <string>

namespace korva {
namespace test {

class LoadedLibrary {
 public:
  explicit LoadedLibrary(const std::string& path);
  ~LoadedLibrary();  // unloads a library still open
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  // Null when loading failed (error() says why) or after unload().
  void* handle() const { return handle_; }
  const std::string& error() const { return error_; }
  // The address of an exported name, or null.
  void* symbol(const char* name) const;

  // Unloads the library; true when it is gone from the process afterwards.
  bool unload();
  // Whether the library of `path` is in the process now.
  static bool IsLoaded(const std::string& path);

 private:
  std::string path_;
  void* handle_ = nullptr;
  std::string error_;
};

}  // namespace test
}  // namespace korva

#endif  // KORVA_TESTS_SUPPORT_LOADED_LIBRARY_H
