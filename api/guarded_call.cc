#include "api/guarded_call.h"

#include <algorithm>
#include <string>

#include "api/library_state.h"
#include "objdb/design.h"
#include "objdb/interface.h"
#include "objdb/trash.h"

namespace korva {

void DesignsBefore::take() {
  generation_ = LibraryState::get().generation();
  designs_ = TARN().designs();
  taken_ = true;
}

void DesignsBefore::discardNewDesigns() const {
  TarnInterface& tarn = TARN();
  if (!taken_ || tarn.state() != TarnInterface::kInitialized) return;
  const bool sameInterface = LibraryState::get().isLive(generation_);
  // Initialisation makes the system design and then the interface object's
  // "unnamed" design; both come first in the list.
  std::vector<TarnDesign*> made = tarn.designs();
  made.erase(std::remove_if(made.begin(), made.end(),
                            [&](TarnDesign* d) {
                              return (sameInterface && std::find(designs_.begin(), designs_.end(), d) != designs_.end()) ||
                                     d == tarn.systemDesign() || d == ExistingTrashDesign() || d->isSchemaDesign();
                            }),
             made.end());
  if (!sameInterface && !made.empty() && made.front()->name() != nullptr &&
      std::string(made.front()->name()) == "unnamed")
    made.erase(made.begin());
  if (made.empty()) return;
  // Emptying the trash destroys every design marked by then: all are marked
  // before it is emptied once.
  for (TarnDesign* d : made) {
    d->setState(TarnDesign::kNormal);  // a design cut off while it was being read
    d->emptyYourself();
    tarn.deleteDesign(d);
  }
  tarn.emptyTrash();
}

void ReportFailedCall(const char* family, const char* call, const DesignsBefore& before) noexcept {
  try {
    TARN().warning("%s: %s failed: out of memory", family, call);
    before.discardNewDesigns();
  } catch (...) {
  }
}

}  // namespace korva
