#include "update/member_sections.h"

#include "ifc2x2/geometry_builders.h"
#include "ifc2x2/new_entity.h"
#include "ifc2x2/owner_history.h"
#include "ifc2x2/schema.h"
#include "import/analysis_reading.h"
#include "objdb/cursor.h"
#include "objdb/interface.h"
#include "update/change_space.h"
#include "update/globalid_search.h"
#include "update/update_state.h"
#include "update/update_support.h"

namespace korva {
namespace update {

namespace {

// The first profile association among the referrers of `member`.
TarnObject* ProfileAssociation(TarnDesign* design, TarnObject* member) {
  const TarnReferrers referrers = Referrers(design, member);
  for (uint32_t i = 0; i < referrers.size(); ++i)
    if (IsA(referrers.get(i), "IfcRelAssociatesProfileProperties")) return referrers.get(i);
  return nullptr;
}

// The association of the first member named `memberId` that has one.
TarnObject* FindAssociation(TarnDesign* design, const char* memberId) {
  TarnObject* found = nullptr;
  FindByGlobalId(design, "IfcStructuralCurveMember", memberId, [&](TarnObject* member) {
    found = ProfileAssociation(design, member);
    return found != nullptr;
  });
  return found;
}

// Carries the new profile properties into the update design and makes the
// association `r` refer to them.
void Associate(ChangeSpace& space, TarnObject* r, IfcStructuralProfileProperties* properties,
               TarnObject* history, const char* call) {
  if (properties == nullptr || !space.commit(call)) return;
  TarnObject* carried = space.inUpdate(properties);
  if (carried == nullptr) return;
  r->putObject(carried, "RelatingProfileProperties");
  SetUpdateRoot(r, history);
}

// Renames the profile properties numbered `fileId` in `design`.
void Rename(TarnDesign* design, int fileId, const char* newName) {
  TarnCursor cursor(design);
  if (!cursor.domain("IfcStructuralProfileProperties")) return;
  while (TarnObject* o = cursor.next()) {
    TraceVisit(o);
    if (fileId <= 0 || o->instanceNumber() != static_cast<uint32_t>(fileId)) continue;
    if (IsA(o, "IfcStructuralProfileProperties")) o->putString(newName, "ProfileName");
  }
}

}  // namespace

int ReplaceWithISection(const char* memberId, const char* sectionName, const ISection& section) {
  TarnDesign* d;
  TarnObject* history;
  if (!RequireUpdate("UpdateOneCurveMemberISection", &d, &history)) return -1;
  TarnObject* r = FindAssociation(d, memberId);
  if (r == nullptr) return -1;

  ChangeSpace space(d);
  TarnDesign* b = space.design();
  if (b == nullptr) return -1;
  IfcIShapeProfileDef* shape = NewEntity<IfcIShapeProfileDef>(b);
  IfcAxis2Placement2D* position = NewEntity<IfcAxis2Placement2D>(b);
  IfcCartesianPoint* origin = NewPoint(b, 0.0, 0.0);
  IfcDirection* along = NewDirection(b, 1.0, 0.0);
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
  IfcStructuralProfileProperties* properties = NewEntity<IfcStructuralProfileProperties>(b);
  if (properties != nullptr) {
    properties->ProfileName(sectionName);
    properties->ProfileDefinition(shape);
  }
  Associate(space, r, properties, history, "UpdateOneCurveMemberISection");
  return -1;
}

int ReplaceWithGeneralSection(const char* memberId, const char* sectionName,
                              const double v[kGeneralSectionValues]) {
  TarnDesign* d;
  TarnObject* history;
  if (!RequireUpdate("UpdateOneCurveMemberGeneralSection", &d, &history)) return -1;
  TarnObject* r = FindAssociation(d, memberId);
  if (r == nullptr) return -1;

  ChangeSpace space(d);
  if (space.design() == nullptr) return -1;
  IfcStructuralProfileProperties* p = NewEntity<IfcStructuralProfileProperties>(space.design());
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
  Associate(space, r, p, history, "UpdateOneCurveMemberGeneralSection");
  return -1;
}

int RenameSection(int fileId, const char* newName) {
  TarnDesign* d;
  TarnObject* history;
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
