#include "export/building_export.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "ifc2x2/geometry_builders.h"
#include "ifc2x2/new_entity.h"
#include "objdb/interface.h"

namespace korva {
namespace building {
namespace {

struct KindInfo {
  const char* entity;
  const char* fixedIdWord;  // "VKT_Column" + k in the older exports
  const char* noun;         // in messages
};
const KindInfo kKinds[kElementKinds] = {{"IfcColumn", "VKT_Column", "column"},
                                        {"IfcBeam", "VKT_Beam", "beam"},
                                        {"IfcSlab", "VKT_Slab", "slab"},
                                        {"IfcWallStandardCase", nullptr, "wall"}};  // walls only get new GlobalIds

int KindsWritten(BuildingForm form) {
  switch (form) {
    case BuildingForm::kWithSlabs: return 3;
    case BuildingForm::kWithWalls: return 4;
    default: return 2;
  }
}

// A count the host gave; negative ones are reported and read as 0.
int Count(const char* function, const char* what, int count) {
  if (count >= 0) return count;
  TARN().warning("%s: %s count %d is negative; taken as 0", function, what, count);
  return 0;
}

// Reports a null array that `count` items would read.
bool Present(const char* function, const void* array, const char* what, int count, const char* items) {
  if (array != nullptr || count <= 0) return true;
  TARN().warning("%s: no %s given for %d %s; no file written", function, what, count, items);
  return false;
}

bool NamesFile(const char* function, const HeaderArguments& args) {
  if (args.fileName == nullptr || args.fileName[0] == '\0') {
    TARN().warning("%s: no file name given; no file written", function);
    return false;
  }
  if (args.directory == nullptr) {
    TARN().warning("%s: no directory given; no file written", function);
    return false;
  }
  return true;
}

void CheckUnits(const char* function, const HeaderArguments& args) {
  if (!IsSIPrefix(args.prefix))
    TARN().warning("%s: SI prefix index %d is out of range; the units have no prefix", function, args.prefix);
  if (!IsSIUnitName(args.unitName))
    TARN().warning("%s: SI unit name index %d is out of range; METRE is used", function, args.unitName);
}

// Whether `count` items from index `first` (not negative) stay within the
// int range, checked before anything adds them.
bool FitsIndexRange(int first, int count) { return count <= INT_MAX - first; }

// The skeleton of the building exports: null texts written as empty ones,
// an unknown unit name as METRE.
SkeletonStyle Style(bool fixedIdentifiers) {
  SkeletonStyle style;
  style.fixedIdentifiers = fixedIdentifiers;
  style.nullTexts = NullTexts::kEmpty;
  style.unitNameFallback = UnitNameFallback::kMetre;
  return style;
}

// An IfcShapeRepresentation "Body" of `item` in `context` (null: none) and
// the IfcProductDefinitionShape holding it.
IfcProductDefinitionShape* NewBodyShape(TarnDesign* d, IfcRepresentationItem* item, const char* type,
                                        IfcRepresentationContext* context) {
  IfcShapeRepresentation* body = NewEntity<IfcShapeRepresentation>(d);
  if (body != nullptr) {
    body->RepresentationIdentifier("Body");
    body->RepresentationType(type);
    body->Items()->add(item);
    if (context != nullptr) body->ContextOfItems(context);
  }
  IfcProductDefinitionShape* shape = NewEntity<IfcProductDefinitionShape>(d);
  if (shape != nullptr) shape->Representations()->add(body);
  return shape;
}

// Writes columns, beams, slabs and walls (as many kinds as the form has)
// into the skeleton, each into the containment of its storey.
class ElementWriter {
 public:
  ElementWriter(const char* function, BuildingForm form, ProjectSkeleton* s, const ElementArrays& a)
      : function_(function), form_(form), s_(s), d_(s->design), a_(a) {}

  void writeAll() {
    int64_t e = 0;  // running number of the first element of a kind, minus one
    for (int kind = 0; kind < KindsWritten(form_); ++kind) {
      for (int k = 1; k <= a_.count[kind]; ++k) write(static_cast<ElementKind>(kind), k, e + k);
      e += a_.count[kind];
    }
  }

 private:
  void write(ElementKind kind, int k, int64_t e) {
    const int first = a_.start[kind][k];
    const int n = a_.points[kind][k];
    if (n <= 0) return;
    if (first < 0) {
      TARN().warning("%s: %s %d starts at point %d; it is skipped", function_, kKinds[kind].noun, k, first);
      return;
    }
    if (!FitsIndexRange(first, n)) {
      TARN().warning("%s: %s %d has %d points from point %d, past the largest index; it is skipped", function_,
                     kKinds[kind].noun, k, n, first);
      return;
    }

    // Closed plan polygon: the first point stands again at the end.
    IfcPolyline* outline = NewEntity<IfcPolyline>(d_);
    if (outline != nullptr) {
      ListOfIfcCartesianPoint* points = outline->Points();
      for (int j = first; j < first + n; ++j) points->add(NewPoint(d_, a_.x[j], a_.y[j]));
      points->add(points->first());
    }
    IfcArbitraryClosedProfileDef* profile = NewEntity<IfcArbitraryClosedProfileDef>(d_);
    if (profile != nullptr) {
      profile->ProfileType(IfcProfileTypeEnum_AREA);
      profile->OuterCurve(outline);
    }

    // Extruded along the element's own Z axis.
    IfcExtrudedAreaSolid* solid = NewEntity<IfcExtrudedAreaSolid>(d_);
    if (solid != nullptr) {
      solid->ExtrudedDirection(NewDirection(d_, 0.0, 0.0, 1.0));
      solid->Depth(a_.depth[e]);
      solid->SweptArea(profile);
      solid->Position(NewOriginAxes(d_));
    }
    IfcProductDefinitionShape* shape = NewBodyShape(d_, solid, "SweptSolid", s_->bodyContext);

    IfcBuildingElement* element = typecast<IfcBuildingElement>(d_->newInstance(kKinds[kind].entity));
    if (element == nullptr) return;
    char id[32];
    const bool fixedId = form_ != BuildingForm::kWithWalls;
    if (fixedId) std::snprintf(id, sizeof id, "%s%d", kKinds[kind].fixedIdWord, k);
    SetRoot(element, s_->ownerHistory, fixedId ? id : nullptr);
    element->Representation(shape);

    // Placed by the host's axes, unchanged, relative to the shared placement.
    const double location[3] = {a_.location[0][e], a_.location[1][e], a_.location[2][e]};
    const double axis[3] = {a_.axis[0][e], a_.axis[1][e], a_.axis[2][e]};
    const double reference[3] = {a_.reference[0][e], a_.reference[1][e], a_.reference[2][e]};
    element->ObjectPlacement(NewLocalPlacement(d_, NewAxes(d_, location, axis, reference), s_->sharedPlacement));

    if (IfcRelContainedInSpatialStructure* rel = containment(kind, k)) rel->RelatedElements()->add(element);
  }

  IfcRelContainedInSpatialStructure* containment(ElementKind kind, int k) {
    if (form_ == BuildingForm::kNew) return s_->containments.empty() ? nullptr : s_->containments[0];
    const int storey = a_.storey[kind][k];
    if (storey < 1 || static_cast<size_t>(storey) > s_->containments.size()) {
      TARN().warning("%s: %s %d names storey %d of %d; it is in no storey", function_, kKinds[kind].noun, k,
                     storey, static_cast<int>(s_->containments.size()));
      return nullptr;
    }
    return s_->containments[static_cast<size_t>(storey) - 1];
  }

  const char* function_;
  BuildingForm form_;
  ProjectSkeleton* s_;
  TarnDesign* d_;
  const ElementArrays& a_;
};

// Whether the arrays the counts call for are there; `a` holds counts that
// are no longer negative.
bool ElementArraysPresent(const char* function, BuildingForm form, const ElementArrays& a) {
  int64_t sum = 0;
  for (int kind = 0; kind < KindsWritten(form); ++kind) {
    const int n = a.count[kind];
    sum += n;
    const char* noun = kKinds[kind].noun;
    char what[64];
    std::snprintf(what, sizeof what, "%s start indices", noun);
    if (!Present(function, a.start[kind], what, n, "elements")) return false;
    std::snprintf(what, sizeof what, "%s point counts", noun);
    if (!Present(function, a.points[kind], what, n, "elements")) return false;
    if (form != BuildingForm::kNew) {
      std::snprintf(what, sizeof what, "%s storey numbers", noun);
      if (!Present(function, a.storey[kind], what, n, "elements")) return false;
    }
  }
  const int total = sum > INT_MAX ? INT_MAX : static_cast<int>(sum);
  static const char* const kAxes[3] = {"X", "Y", "Z"};
  if (!Present(function, a.x, "X coordinates", total, "elements") ||
      !Present(function, a.y, "Y coordinates", total, "elements") ||
      !Present(function, a.depth, "depths", total, "elements"))
    return false;
  for (int i = 0; i < 3; ++i) {
    char what[64];
    std::snprintf(what, sizeof what, "location %s values", kAxes[i]);
    if (!Present(function, a.location[i], what, total, "elements")) return false;
    std::snprintf(what, sizeof what, "axis %s values", kAxes[i]);
    if (!Present(function, a.axis[i], what, total, "elements")) return false;
    std::snprintf(what, sizeof what, "reference %s values", kAxes[i]);
    if (!Present(function, a.reference[i], what, total, "elements")) return false;
  }
  return true;
}

// The one storey "AB" and its containment "AA" of ExportOpenFile and
// ExportOpenFileNew.
void AddSingleStorey(ProjectSkeleton* s) {
  IfcBuildingStorey* storey = AddStorey(s, "AB", nullptr, true);
  AddStoreyContainment(s, storey, "AA");
}

}  // namespace

void ExportExtrudedBuilding(const char* function, BuildingForm form, const HeaderArguments& args,
                            int storeyCount, const double* elevations, const ElementArrays& elements) {
  ElementArrays a = elements;
  bool ready = NamesFile(function, args);
  if (ready) {
    if (form != BuildingForm::kNew) storeyCount = Count(function, "storey", storeyCount);
    for (int kind = 0; kind < KindsWritten(form); ++kind)
      a.count[kind] = Count(function, kKinds[kind].noun, a.count[kind]);
    for (int kind = KindsWritten(form); kind < kElementKinds; ++kind) a.count[kind] = 0;
    ready = (form == BuildingForm::kNew || Present(function, elevations, "storey elevations", storeyCount,
                                                    "storeys")) &&
            ElementArraysPresent(function, form, a);
  }
  ProjectSkeleton s;
  if (ready) CheckUnits(function, args);
  const bool current = form == BuildingForm::kWithWalls;
  if (ready && StartProjectSkeleton(args, Style(!current), &s)) {
    if (form == BuildingForm::kNew) {
      AddSingleStorey(&s);
    } else {
      // Every storey shares the placement; its height is only its elevation.
      AddNumberedStoreys(&s, storeyCount, elevations, current);
      if (current) AddBodyContext(&s);
    }
    ElementWriter(function, form, &s, a).writeAll();
    AggregateSpatialStructure(&s);
    FinishProjectSkeleton(&s, nullptr, nullptr, true);
    return;
  }
  TARN().shutdown();
}

void ExportFacetedBuilding(const HeaderArguments& args, const FacetArrays& facets) {
  const char* const function = "ExportOpenFile";
  if (!NamesFile(function, args)) return;
  const int objects = Count(function, "object", facets.objectCount);
  const char* const kArrays[] = {"vertex X coordinates", "vertex Y coordinates", "vertex Z coordinates",
                                 "first vertex indices", "second vertex indices", "third vertex indices",
                                 "fourth vertex indices", "first faces", "face counts"};
  const void* const arrays[] = {facets.x,         facets.y,         facets.z,
                                facets.vertex[0], facets.vertex[1], facets.vertex[2],
                                facets.vertex[3], facets.firstFace, facets.faceCount};
  for (size_t i = 0; i < sizeof arrays / sizeof arrays[0]; ++i)
    if (!Present(function, arrays[i], kArrays[i], objects, "objects")) return;
  CheckUnits(function, args);

  ProjectSkeleton s;
  if (!StartProjectSkeleton(args, Style(true), &s)) return;
  AddSingleStorey(&s);
  TarnDesign* d = s.design;
  for (int k = 1; k <= objects; ++k) {
    const int first = facets.firstFace[k];
    const int count = facets.faceCount[k];
    if (count <= 0) continue;
    if (first >= 0 && !FitsIndexRange(first, count)) {
      TARN().warning("%s: object %d has %d faces from face %d, past the largest index; it is skipped", function, k,
                     count, first);
      continue;
    }
    bool indicesValid = first >= 0;
    for (int j = first; indicesValid && j < first + count; ++j)
      for (const int* index : facets.vertex) indicesValid = indicesValid && index[j] >= 0;
    if (!indicesValid) {
      TARN().warning("%s: object %d has a negative face or vertex index; it is skipped", function, k);
      continue;
    }

    // Four new points per face, even where faces share a vertex.
    std::vector<IfcFace*> faces;
    for (int j = first; j < first + count; ++j) {
      std::vector<IfcCartesianPoint*> corners;
      for (const int* index : facets.vertex) {
        const int v = index[j];
        corners.push_back(NewPoint(d, facets.x[v], facets.y[v], facets.z[v]));
      }
      faces.push_back(NewFace(d, corners));
    }
    IfcClosedShell* shell = NewEntity<IfcClosedShell>(d);
    if (shell != nullptr)
      for (IfcFace* f : faces) shell->CfsFaces()->add(f);
    IfcFacetedBrep* brep = NewEntity<IfcFacetedBrep>(d);
    if (brep != nullptr) brep->Outer(shell);
    IfcProductDefinitionShape* shape = NewBodyShape(d, brep, "Brep", nullptr);

    IfcBuildingElementProxy* proxy = NewEntity<IfcBuildingElementProxy>(d);
    if (proxy == nullptr) continue;
    char id[32];
    std::snprintf(id, sizeof id, "VKT_CHECK%d", k);
    proxy->CompositionType(IfcElementCompositionEnum_ELEMENT);
    proxy->GlobalId(id);
    proxy->ObjectPlacement(s.sharedPlacement);
    proxy->Representation(shape);
    if (IfcRelContainedInSpatialStructure* rel = s.containments[0]) rel->RelatedElements()->add(proxy);
  }
  AggregateSpatialStructure(&s);
  FinishProjectSkeleton(&s, nullptr, nullptr, false);
}

}  // namespace building
}  // namespace korva
