#include "update/change_space.h"

#include <string>

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
  TarnDesign* current = TARN().design();
  // Scratch designs keep their names until the trash is emptied: each gets
  // its own.
  static unsigned made = 0;
  const std::string name = std::string(design->name() != nullptr ? design->name() : "unnamed") + "_change" +
                           std::to_string(++made);
  build_ = TARN().newDesign(name.c_str(), schema);
  TARN().useDesign(current);
  scratch_ = build_ != nullptr;
}

ChangeSpace::~ChangeSpace() {
  if (!scratch_) return;
  build_->emptyYourself();
  TARN().deleteDesign(build_);
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
