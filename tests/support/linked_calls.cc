#include "support/host_calls.h"

namespace korva {
namespace test {

HostCalls LinkedCalls() {
  HostCalls calls;
#define KORVA_HOST_CALL_LINK(name) calls.name = &::name;
  KORVA_HOST_CALLS(KORVA_HOST_CALL_LINK)
#undef KORVA_HOST_CALL_LINK
  return calls;
}

}  // namespace test
}  // namespace korva
