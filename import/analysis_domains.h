// The entities the analysis, material, profile and unit import test
// instances against, resolved to the domains of one dictionary.
//
// An instance is an instance of its own schema's domains (IFC2x2 or
// IFC2X3, whichever dictionary the file was read with), so the import
// compares an instance's domain with the domain of the same name in that
// dictionary: names are looked up once per dictionary, and each test
// afterwards compares pointers ("exactly": the domain itself) or walks the
// instance's supertypes ("is a": the domain or one of its subtypes).
#ifndef KORVA_IMPORT_ANALYSIS_DOMAINS_H
#define KORVA_IMPORT_ANALYSIS_DOMAINS_H

namespace korva {

class TarnDesign;
class TarnDomain;
class TarnObject;

enum class Entity {
  // The kinds the census counts.
  kStructuralAnalysisModel,
  kGeneralMaterialProperties,
  kMechanicalSteelMaterialProperties,
  kMechanicalConcreteMaterialProperties,
  kMechanicalMaterialProperties,
  kExtendedMaterialProperties,
  kStructuralProfileProperties,
  kStructuralCurveMember,
  kStructuralSurfaceMember,
  kStructuralPointConnection,
  kStructuralLoadGroup,
  kStructuralPointAction,
  kStructuralLinearAction,
  kStructuralLinearActionVarying,
  kProject,
  // Relationships.
  kRelAssignsToGroup,
  kRelConnectsStructuralMember,
  kRelAssociatesProfileProperties,
  kRelAssociatesMaterial,
  kRelConnectsStructuralActivity,
  // Geometry, topology and representations.
  kRepresentation,
  kAxis2Placement2D,
  kAxis2Placement3D,
  kCartesianPoint,
  kVertexPoint,
  kEdge,
  kOrientedEdge,
  kFace,
  kFaceBound,
  kPolyLoop,
  kEdgeLoop,
  // Values the members, nodes and actions refer to.
  kMaterial,
  kBoundaryNodeCondition,
  kStructuralLoadSingleForce,
  kStructuralLoadLinearForce,
  kPropertySingleValue,
  // Profile definitions.
  kIShapeProfileDef,
  kLShapeProfileDef,
  kUShapeProfileDef,
  kCShapeProfileDef,
  kZShapeProfileDef,
  kTShapeProfileDef,
  kTrapeziumProfileDef,
  kRectangleProfileDef,
  kCircleProfileDef,
  // Units.
  kNamedUnit,
  kSIUnit,
  kConversionBasedUnit,
  kDerivedUnit,
  kCount
};

// The domains of every Entity in one dictionary; null for an entity the
// dictionary lacks (no instance is then of it).
class AnalysisDomains {
 public:
  // The table of the dictionary `design` reads its IFC instances with.
  // Tables are kept per dictionary until the interface object is shut
  // down, so asking again costs two comparisons.
  static const AnalysisDomains& Of(TarnDesign* design);
  // The table of the dictionary of the instance's own domain (an empty
  // table for null or an instance without domain).
  static const AnalysisDomains& Of(TarnObject* instance);

  TarnDomain* domain(Entity entity) const { return domains_[static_cast<int>(entity)]; }
  // The instance's domain is the entity's own (subtypes differ).
  bool isExactly(TarnObject* object, Entity entity) const;
  // The instance's domain is the entity's or one of its subtypes.
  bool isA(TarnObject* object, Entity entity) const;
  bool domainIsA(TarnDomain* domain, Entity entity) const;

 private:
  explicit AnalysisDomains(TarnDesign* schema);
  AnalysisDomains() = default;
  TarnDomain* domains_[static_cast<int>(Entity::kCount)] = {};
};

}  // namespace korva

#endif  // KORVA_IMPORT_ANALYSIS_DOMAINS_H
