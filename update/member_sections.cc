#include "update/member_sections.h"

#include "ifc2x2/geometry_builders.h"
#include "ifc2x2/new_entity.h"
#include "ifc2x2/owner_history.h"
#include "ifc2x2/schema.h"
#include "objdb/cursor.h"
#include "objdb/interface.h"
#include "update/globalid_search.h"
#include "update/update_state.h"
#include "update/update_support.h"

namespace korva {
namespace update {

namespace {

// The first profile association among the referrers of `member`.
IfcRelAssociatesProfileProperties* ProfileAssociation(TarnDesign* design, TarnObject* member) {
  const TarnReferrers referrers = Referrers(design, member);
  for (uint32_t i = 0; i < referrers.size(); ++i)
    if (auto* r = As<IfcRelAssociatesProfileProperties>(referrers.get(i))) return r;
  return nullptr;
}

// The association of the first member named `memberId` that has one.
IfcRelAssociatesProfileProperties* FindAssociation(TarnDesign* design, const char* memberId) {
  IfcRelAssociatesProfileProperties* found = nullptr;
  FindByGlobalId(design, "IfcStructuralCurveMember", memberId, [&](TarnObject* member) {
    found = ProfileAssociation(design, member);
    return found != nullptr;
  });
  return found;
}

void Associate(IfcRelAssociatesProfileProperties* r, IfcStructuralProfileProperties* properties,
               IfcOwnerHistory* history) {
  if (properties == nullptr) return;
  r->RelatingProfileProperties(properties);
  SetRoot(r, history);
}

// Renames the profile properties numbered `fileId` in `design`.
void Rename(TarnDesign* design, int fileId, const char* newName) {
  TarnCursor cursor(design);
  if (!cursor.domain("IfcStructuralProfileProperties")) return;
  while (TarnObject* o = cursor.next()) {
    TraceVisit(o);
    if (fileId <= 0 || o->instanceNumber() != static_cast<uint32_t>(fileId)) continue;
    if (auto* properties = As<IfcStructuralProfileProperties>(o)) properties->ProfileName(newName);
  }
}

}  // namespace

int ReplaceWithISection(const char* memberId, const char* sectionName, const ISection& section) {
  TarnDesign* d;
  IfcOwnerHistory* history;
  if (!RequireUpdate("UpdateOneCurveMemberISection", &d, &history)) return -1;
  IfcRelAssociatesProfileProperties* r = FindAssociation(d, memberId);
  if (r == nullptr) return -1;

  IfcIShapeProfileDef* shape = NewEntity<IfcIShapeProfileDef>(d);
  IfcAxis2Placement2D* position = NewEntity<IfcAxis2Placement2D>(d);
  IfcCartesianPoint* origin = NewPoint(d, 0.0, 0.0);
  IfcDirection* along = NewDirection(d, 1.0, 0.0);
  if (position != nullptr) {
    position->Location(origin);
    position->RefDirection(along);
  }
  if (shape != nullptr) {
    shape->ProfileType(IfcProfileTypeEnum_AREA);
    shape->ProfileName(sectionName);
    shape->OverallWidth(section.overallWidth);
    shape->OverallDepth(section.overallDepth);
    shape->WebThickness(section.webThickness);
    shape->FlangeThickness(section.flangeThickness);
    shape->FilletRadius(section.filletRadius);
    shape->Position(position);
  }
  IfcStructuralProfileProperties* properties = NewEntity<IfcStructuralProfileProperties>(d);
  if (properties != nullptr) {
    properties->ProfileName(sectionName);
    properties->ProfileDefinition(shape);
  }
  Associate(r, properties, history);
  return -1;
}

int ReplaceWithGeneralSection(const char* memberId, const char* sectionName,
                              const double v[kGeneralSectionValues]) {
  TarnDesign* d;
  IfcOwnerHistory* history;
  if (!RequireUpdate("UpdateOneCurveMemberGeneralSection", &d, &history)) return -1;
  IfcRelAssociatesProfileProperties* r = FindAssociation(d, memberId);
  if (r == nullptr) return -1;

  IfcStructuralProfileProperties* p = NewEntity<IfcStructuralProfileProperties>(d);
  if (p != nullptr) {
    p->ProfileName(sectionName);
    p->TorsionalConstantX(v[0]);
    p->MomentOfInertiaYZ(v[1]);
    p->MomentOfInertiaY(v[2]);
    p->MomentOfInertiaZ(v[3]);
    p->WarpingConstant(v[4]);
    p->ShearCentreZ(v[5]);
    p->ShearCentreY(v[6]);
    p->ShearDeformationAreaY(v[7]);
    p->ShearDeformationAreaZ(v[8]);
    p->MaximumSectionModulusY(v[9]);
    p->MinimumSectionModulusY(v[10]);
    p->MaximumSectionModulusZ(v[11]);
    p->MinimumSectionModulusZ(v[12]);
    p->TorsionalSectionModulus(v[13]);
  }
  Associate(r, p, history);
  return -1;
}

int RenameSection(int fileId, const char* newName) {
  TarnDesign* d;
  IfcOwnerHistory* history;
  if (RequireUpdate("UpdateOneCurveMemberSectionName", &d, &history)) Rename(d, fileId, newName);
  return -1;
}

int RenameSectionInFile(int fileId, const char* inputFile, const char* newName, const char* outputFile,
                        const char* outputDirectory) {
  TarnDesign* d = FindDesignToUpdate(inputFile);
  if (d == nullptr) return -1;
  Rename(d, fileId, newName);
  SaveIfcDesignAs(d, outputFile, outputDirectory, true, SaveSchema::kOwn);
  DiscardIfcDesign(d);
  TARN().shutdown();
  return -1;
}

}  // namespace update
}  // namespace korva
