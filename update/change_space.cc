#include "update/change_space.h"

#include <string>

#include "api/library_state.h"
#include "ifc2x2/schema.h"
#include "objdb/interface.h"

namespace korva {
namespace update {

bool HoldsIfc2x2(TarnDesign* design) {
  return design != nullptr && IfcSchemaOf(design) == LoadIfcSchema();
}

ChangeSpace::ChangeSpace(TarnDesign* design) : design_(design) {
  if (HoldsIfc2x2(design)) {
    build_ = design;
    return;
  }
  TarnDesign* schema = LoadIfcSchema();
  if (design == nullptr || schema == nullptr) return;
  LibraryState& state = LibraryState::get();
  HeldDesign& kept = state.updateScratch();
  if (!state.holds(kept)) {
    TarnDesign* current = TARN().design();
    // A session's scratch design keeps its name until the trash is
    // emptied: each gets its own.
    static unsigned made = 0;
    const std::string name = std::string(design->name() != nullptr ? design->name() : "unnamed") + "_change" +
                             std::to_string(++made);
    kept = state.hold(TARN().newDesign(name.c_str(), schema));
    TARN().useDesign(current);
  }
  build_ = kept.design;
  scratch_ = build_ != nullptr;
}

ChangeSpace::~ChangeSpace() {
  // What was built went into the update design or is not wanted: the
  // scratch design is left empty for the next change.
  if (scratch_) build_->emptyYourself();
}

void DeleteScratch() {
  LibraryState& state = LibraryState::get();
  if (state.holds(state.updateScratch())) {
    TarnDesign* scratch = state.updateScratch().design;
    scratch->emptyYourself();
    TARN().deleteDesign(scratch);
  }
  state.updateScratch() = HeldDesign();
}

TarnObject* ChangeSpace::standIn(TarnObject* existing) {
  if (existing == nullptr || build_ == nullptr) return nullptr;
  if (!scratch_) return existing;
  auto found = standIns_.find(existing);
  if (found != standIns_.end()) return found->second;
  TarnObject* made = build_->newInstance(existing->domainName());
  standIns_.emplace(existing, made);
  if (made != nullptr) known_.emplace_back(made, existing);
  return made;
}

bool ChangeSpace::commit(const char* call) {
  if (!scratch_) return build_ != nullptr;
  InstancePairs made;
  ConversionReport report;
  const bool complete = CarryInstances(build_, design_, known_, &made, &report);
  for (const auto& pair : made) carried_.emplace(pair.first, pair.second);
  if (!complete) {
    TARN().warning("Update: %s: the change cannot be carried into %s", call, report.to.c_str());
    for (const std::string& line : report.lossLines()) TARN().warning("Update: %s", line.c_str());
  }
  return complete;
}

TarnObject* ChangeSpace::inUpdate(TarnObject* built) const {
  if (built == nullptr) return nullptr;
  if (!scratch_) return built;
  auto found = carried_.find(built);
  return found != carried_.end() ? found->second : nullptr;
}

}  // namespace update
}  // namespace korva
