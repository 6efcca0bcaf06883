// The frame of the exported export and update functions: nothing is thrown
// at the host.  When the work of a call throws (a failed allocation is the
// only way), the call reports "<family>: <call> failed: out of memory" as a
// warning through the error reporter, deletes the model designs it made
// (an export's design, a design read for an update), so that no half-built
// design stays in memory, and returns its neutral result.
#ifndef KORVA_API_GUARDED_CALL_H
#define KORVA_API_GUARDED_CALL_H

#include <vector>

namespace korva {

class TarnDesign;

// The designs in memory when a call starts.
class DesignsBefore {
 public:
  // Takes the list; may throw when memory runs out (then nothing is known
  // and nothing will be deleted).
  void take();
  // Deletes every design made since take() (in the same interface object,
  // or all of them after a new initialisation), also one the call had
  // marked for deletion but not yet destroyed, except the interface
  // object's own: the system design, the trash, schema designs and the
  // design made at initialisation.
  void discardNewDesigns() const;

 private:
  bool taken_ = false;
  unsigned generation_ = 0;
  std::vector<TarnDesign*> designs_;
};

// Reports the failure of `call` and discards what it made; throws nothing.
void ReportFailedCall(const char* family, const char* call, const DesignsBefore& before) noexcept;

template <typename Body>
int GuardedCall(const char* family, const char* call, int neutral, Body body) noexcept {
  DesignsBefore before;
  try {
    before.take();
    return body();
  } catch (...) {
    ReportFailedCall(family, call, before);
    return neutral;
  }
}

}  // namespace korva

#endif  // KORVA_API_GUARDED_CALL_H
