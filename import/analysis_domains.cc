#include "import/analysis_domains.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "exchange/schema_conversion.h"
#include "objdb/design.h"
#include "objdb/dictionary_binding.h"
#include "objdb/domain.h"
#include "objdb/interface.h"

namespace korva {
namespace {

const char* const kNames[static_cast<int>(Entity::kCount)] = {
    "IfcStructuralAnalysisModel",
    "IfcGeneralMaterialProperties",
    "IfcMechanicalSteelMaterialProperties",
    "IfcMechanicalConcreteMaterialProperties",
    "IfcMechanicalMaterialProperties",
    "IfcExtendedMaterialProperties",
    "IfcStructuralProfileProperties",
    "IfcStructuralCurveMember",
    "IfcStructuralSurfaceMember",
    "IfcStructuralPointConnection",
    "IfcStructuralLoadGroup",
    "IfcStructuralPointAction",
    "IfcStructuralLinearAction",
    "IfcStructuralLinearActionVarying",
    "IfcProject",
    "IfcRelAssignsToGroup",
    "IfcRelConnectsStructuralMember",
    "IfcRelAssociatesProfileProperties",
    "IfcRelAssociatesMaterial",
    "IfcRelConnectsStructuralActivity",
    "IfcRepresentation",
    "IfcAxis2Placement2D",
    "IfcAxis2Placement3D",
    "IfcCartesianPoint",
    "IfcVertexPoint",
    "IfcEdge",
    "IfcOrientedEdge",
    "IfcFace",
    "IfcFaceBound",
    "IfcPolyLoop",
    "IfcEdgeLoop",
    "IfcMaterial",
    "IfcBoundaryNodeCondition",
    "IfcStructuralLoadSingleForce",
    "IfcStructuralLoadLinearForce",
    "IfcPropertySingleValue",
    "IfcIShapeProfileDef",
    "IfcLShapeProfileDef",
    "IfcUShapeProfileDef",
    "IfcCShapeProfileDef",
    "IfcZShapeProfileDef",
    "IfcTShapeProfileDef",
    "IfcTrapeziumProfileDef",
    "IfcRectangleProfileDef",
    "IfcCircleProfileDef",
    "IfcNamedUnit",
    "IfcSIUnit",
    "IfcConversionBasedUnit",
    "IfcDerivedUnit",
};

// The tables made since the interface object was last initialised, by
// dictionary.  A shutdown destroys the dictionaries, and with them every
// domain a table points to: a new generation starts afresh.
struct Tables {
  unsigned generation = 0;
  std::vector<std::pair<TarnDesign*, std::unique_ptr<AnalysisDomains>>> bySchema;
};

}  // namespace

AnalysisDomains::AnalysisDomains(TarnDesign* schema) {
  for (int e = 0; e < static_cast<int>(Entity::kCount); ++e) {
    TarnDomain* d = FindDomainInSchema(schema, kNames[e]);
    domains_[e] = d != nullptr && d->isActiveQuiet() ? d : nullptr;
  }
}

const AnalysisDomains& AnalysisDomains::Of(TarnDesign* design) {
  static const AnalysisDomains kEmpty;
  static Tables tables;
  // The dictionary of an instance is its domain's design; a data design's
  // is its IFC schema.
  TarnDesign* schema = design != nullptr && design->isSchemaDesign() ? design : IfcSchemaOf(design);
  if (schema == nullptr) return kEmpty;
  const unsigned generation = TARN().generation();
  if (tables.generation != generation) {
    tables.bySchema.clear();
    tables.generation = generation;
  }
  for (const auto& entry : tables.bySchema)
    if (entry.first == schema) return *entry.second;
  tables.bySchema.emplace_back(schema, std::unique_ptr<AnalysisDomains>(new AnalysisDomains(schema)));
  return *tables.bySchema.back().second;
}

const AnalysisDomains& AnalysisDomains::Of(TarnObject* instance) {
  TarnDomain* domain = instance != nullptr ? instance->domain() : nullptr;
  return Of(domain != nullptr ? domain->design() : nullptr);
}

bool AnalysisDomains::isExactly(TarnObject* object, Entity entity) const {
  TarnDomain* wanted = domain(entity);
  return object != nullptr && wanted != nullptr && object->domain() == wanted;
}

bool AnalysisDomains::domainIsA(TarnDomain* d, Entity entity) const {
  TarnDomain* wanted = domain(entity);
  if (d == nullptr || wanted == nullptr) return false;
  if (d == wanted) return true;
  if (!d->isActiveQuiet()) return false;
  const std::vector<TarnDomain*>& supers = d->allSupers();
  return std::find(supers.begin(), supers.end(), wanted) != supers.end();
}

bool AnalysisDomains::isA(TarnObject* object, Entity entity) const {
  return object != nullptr && domainIsA(object->domain(), entity);
}

}  // namespace korva
