#include "support/host_calls.h"

#include "support/loaded_library.h"

namespace korva {
namespace test {

std::vector<std::string> HostCalls::missing() const {
  std::vector<std::string> names;
#define KORVA_HOST_CALL_MISSING(name) \
  if (name == nullptr) names.push_back(#name);
  KORVA_HOST_CALLS(KORVA_HOST_CALL_MISSING)
#undef KORVA_HOST_CALL_MISSING
  return names;
}

HostCalls BindLoadedCalls(const LoadedLibrary& library) {
  HostCalls calls;
#define KORVA_HOST_CALL_BIND(name) \
  calls.name = reinterpret_cast<decltype(calls.name)>(library.symbol(#name));
  KORVA_HOST_CALLS(KORVA_HOST_CALL_BIND)
#undef KORVA_HOST_CALL_BIND
  return calls;
}

}  // namespace test
}  // namespace korva
