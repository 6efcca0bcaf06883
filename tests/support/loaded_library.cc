#include "support/loaded_library.h"

#include <dlfcn.h>

namespace korva {
namespace test {

LoadedLibrary::LoadedLibrary(const std::string& path) : path_(path) {
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) error_ = dlerror();
}

LoadedLibrary::~LoadedLibrary() {
  if (handle_ != nullptr) dlclose(handle_);
}

void* LoadedLibrary::symbol(const char* name) const {
  return handle_ != nullptr ? dlsym(handle_, name) : nullptr;
}

bool LoadedLibrary::unload() {
  if (handle_ != nullptr) {
    if (dlclose(handle_) != 0) error_ = dlerror();
    handle_ = nullptr;
  }
  return !IsLoaded(path_);
}

bool LoadedLibrary::IsLoaded(const std::string& path) {
  void* again = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (again == nullptr) return false;
  dlclose(again);  // RTLD_NOLOAD still counts a reference
  return true;
}

}  // namespace test
}  // namespace korva
