#include "objdb/process_state.h"

namespace korva {
namespace {

bool g_processEnding = false;

// Destroys the state with the library's other static objects, unless the
// process is ending in the middle of an operation: then everything stays as
// it is (and reachable), and the system takes the memory back.
struct Holder {
  TarnProcessState* state;
  ~Holder() {
    if (!g_processEnding) delete state;
  }
};

}  // namespace

TarnProcessState& TarnProcessState::get() {
  static Holder holder{new TarnProcessState()};
  return *holder.state;
}

void TarnProcessState::processEnding() { g_processEnding = true; }

TarnProcessState::~TarnProcessState() { interface_.shutdown(); }

}  // namespace korva
