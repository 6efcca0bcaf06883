#include "import/building_import.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "ifc2x2/ifc2x2.h"
#include "import/analysis_import.h"
#include "objdb/design.h"
#include "objdb/extent_walk.h"
#include "objdb/interface.h"

namespace korva {
namespace {

// ---------------------------------------------------------------------------
// The imported types.

enum class Kind { kNone, kBeam, kColumn, kWall, kSlab, kProxy };

// The kind of a type name, compared exactly (subtypes are other names).
Kind KindOf(const char* typeName) {
  static const struct {
    const char* typeName;
    Kind kind;
  } kKinds[] = {
      {"IfcBeam", Kind::kBeam},
      {"IfcColumn", Kind::kColumn},
      {"IfcWallStandardCase", Kind::kWall},
      {"IfcSlab", Kind::kSlab},
      {"IfcBuildingElementProxy", Kind::kProxy},
  };
  for (const auto& k : kKinds)
    if (std::strcmp(k.typeName, typeName) == 0) return k.kind;
  return Kind::kNone;
}

// Calls visit(extent, typeName) for every extent of the design's data
// sections, in the order the design keeps them: the order in which a walk
// over the design meets its instances.
template <class Visit>
void ForEachExtent(TarnDesign* design, Visit visit) {
  for (TarnSection* section : design->sections()) {
    if (section->kind() != TarnSection::kData) continue;
    for (TarnExtent* e = section->firstExtent(); e != nullptr; e = e->next()) {
      const char* typeName = e->domain() != nullptr ? e->domain()->name() : nullptr;
      visit(e, typeName != nullptr ? typeName : "");
    }
  }
}

bool IsEntity(TarnObject* o) { return o->typePtr()->nodeType() == kNodeStructure; }

// ---------------------------------------------------------------------------
// Reading the entity graph.

// The object as class T, or null when it is not one (without the warning
// that typecast gives).
template <class T>
T* As(TarnObject* o) {
  if (o == nullptr || !const_cast<TarnType*>(o->typePtr())->derivesFrom(&T::classType)) return nullptr;
  return typecast<T>(o);
}

// A real attribute's value into `field`, unless it is unset.
void SetReal(double value, double* field) {
  if (value != kUnsetReal) *field = value;
}

double Coordinate(IfcCartesianPoint* point, int i) {
  ListOfIfcLengthMeasure* c = point != nullptr ? point->Coordinates() : nullptr;
  return c != nullptr ? c->get(static_cast<uint32_t>(i)) : 0.0;
}

// Coordinates 0..2 of a point (0.0 for a missing point or coordinate).
void ReadCoordinates(IfcCartesianPoint* point, double (&out)[3]) {
  for (int i = 0; i < 3; ++i) out[i] = Coordinate(point, i);
}

// Direction ratios 0..2 (0.0 for a missing direction or ratio).
void ReadRatios(IfcDirection* direction, double (&out)[3]) {
  ListOfdouble* r = direction != nullptr ? direction->DirectionRatios() : nullptr;
  for (int i = 0; i < 3; ++i) out[i] = r != nullptr ? r->get(static_cast<uint32_t>(i)) : 0.0;
}

// --- Placements.

IfcLocalPlacement* Parent(IfcLocalPlacement* p) { return As<IfcLocalPlacement>(p->PlacementRelTo()); }

// Number of distinct placements on the PlacementRelTo chain that starts at
// `p` (p included).  A chain that loops back is counted up to its first
// repetition (Floyd's cycle detection; no allocation).
size_t ChainLength(IfcLocalPlacement* p) {
  IfcLocalPlacement* slow = p;
  IfcLocalPlacement* fast = p;
  while (fast != nullptr) {
    fast = Parent(fast);
    if (fast == nullptr) break;
    fast = Parent(fast);
    slow = Parent(slow);
    if (fast == slow) break;
  }
  if (fast == nullptr) {
    size_t n = 0;
    for (IfcLocalPlacement* q = p; q != nullptr; q = Parent(q)) ++n;
    return n;
  }
  size_t lead = 0;
  IfcLocalPlacement* a = p;
  IfcLocalPlacement* b = slow;
  while (a != b) {
    a = Parent(a);
    b = Parent(b);
    ++lead;
  }
  size_t loop = 1;
  for (b = Parent(a); b != a; b = Parent(b)) ++loop;
  return lead + loop;
}

void ApplyRelativePlacement(IfcLocalPlacement* p, bool skipWithoutAxis, PlacementFrame* frame) {
  IfcAxis2Placement* select = p->RelativePlacement();
  if (select == nullptr || !select->isIfcAxis2Placement3D()) return;
  IfcAxis2Placement3D* placement = select->_IfcAxis2Placement3D();
  if (placement == nullptr) return;
  IfcDirection* axis = placement->Axis();
  if (axis == nullptr && skipWithoutAxis) return;
  ReadRatios(axis, frame->axis);
  ReadRatios(placement->RefDirection(), frame->ref);
  double location[3];
  ReadCoordinates(placement->Location(), location);
  for (int i = 0; i < 3; ++i) frame->start[i] += location[i];
}

// --- Representations.

// Calls visit(representation, type) for every IfcShapeRepresentation of
// the product's IfcProductDefinitionShape that has a RepresentationType.
template <class Visit>
void ForEachShapeRepresentation(IfcProduct* product, Visit visit) {
  IfcProductDefinitionShape* shape = As<IfcProductDefinitionShape>(product->Representation());
  if (shape == nullptr) return;
  ListOfIfcRepresentation* list = shape->Representations();
  if (list == nullptr) return;
  for (uint32_t i = 0; i < list->count(); ++i) {
    IfcShapeRepresentation* r = As<IfcShapeRepresentation>(list->TarnPtrAggregate::get(i));
    if (r == nullptr) continue;
    const char* type = r->RepresentationType();
    if (type != nullptr) visit(r, type);
  }
}

TarnObject* FirstItem(IfcRepresentation* r) {
  SetOfIfcRepresentationItem* items = r->Items();
  return items != nullptr && items->count() > 0 ? items->TarnPtrAggregate::get(0) : nullptr;
}

bool IsBody(IfcRepresentation* r, bool absentIsBody) {
  const char* id = r->RepresentationIdentifier();
  return id != nullptr ? std::strcmp(id, "Body") == 0 : absentIsBody;
}

// The extruded solid of a "Body" representation (absent identifier counts
// as "Body" when `absentIsBody`), or null.
IfcExtrudedAreaSolid* BodySolid(IfcShapeRepresentation* r, bool absentIsBody) {
  return IsBody(r, absentIsBody) ? As<IfcExtrudedAreaSolid>(FirstItem(r)) : nullptr;
}

// The outline of an extruded wall or slab: the IfcPolyline bounding its
// area profile, or null.
IfcPolyline* Outline(IfcExtrudedAreaSolid* solid) {
  IfcProfileDef* area = solid->SweptArea();
  if (area == nullptr || area->ProfileType() != IfcProfileTypeEnum_AREA) return nullptr;
  IfcArbitraryClosedProfileDef* closed = As<IfcArbitraryClosedProfileDef>(area);
  return closed != nullptr ? As<IfcPolyline>(closed->OuterCurve()) : nullptr;
}

int PointCount(IfcPolyline* line) {
  ListOfIfcCartesianPoint* points = line->Points();
  return points != nullptr ? static_cast<int>(points->count()) : 0;
}

// The outline point count of a wall or slab: that of the last "Body"
// swept solid with a polyline outline.
int OutlinePointCount(TarnObject* element) {
  IfcProduct* product = As<IfcProduct>(element);
  if (product == nullptr) return 0;
  int n = 0;
  ForEachShapeRepresentation(product, [&](IfcShapeRepresentation* r, const char* type) {
    if (std::strcmp(type, "SweptSolid") != 0) return;
    if (IfcExtrudedAreaSolid* solid = BodySolid(r, false))
      if (IfcPolyline* line = Outline(solid)) n = PointCount(line);
  });
  return n;
}

// Which record dimension each bounding-box dimension feeds.
enum class BoxAxes {
  kBeam,  // XDim -> Height, YDim -> Length, ZDim -> Width (beams, columns, slabs)
  kWall,  // XDim -> Width, YDim -> Height, ZDim -> Length (walls, proxies)
};

void ReadBoundingBox(IfcShapeRepresentation* r, BoxAxes axes, BoxFields* box) {
  IfcBoundingBox* b = As<IfcBoundingBox>(FirstItem(r));
  if (b == nullptr) return;
  ReadCoordinates(b->Corner(), box->corner);
  double* x = axes == BoxAxes::kBeam ? &box->height : &box->width;
  double* y = axes == BoxAxes::kBeam ? &box->length : &box->height;
  double* z = axes == BoxAxes::kBeam ? &box->width : &box->length;
  SetReal(b->XDim(), x);
  SetReal(b->YDim(), y);
  SetReal(b->ZDim(), z);
}

// ---------------------------------------------------------------------------
// The fill pass.

class Filler {
 public:
  explicit Filler(BuildingTables& tables) : t_(tables) {}

  void read(Kind kind, TarnObject* o) {
    switch (kind) {
      case Kind::kBeam:
        if (BeamRecord* r = t_.beams.next()) readBeam(o, r);
        break;
      case Kind::kColumn:
        if (ColumnRecord* r = t_.columns.next()) readBeam(o, r);
        break;
      case Kind::kWall:
        if (WallRecord* r = t_.walls.next()) readWall(o, BoxAxes::kWall, r, &t_.wallPoints);
        break;
      case Kind::kSlab:
        if (SlabRecord* r = t_.slabs.next()) readWall(o, BoxAxes::kBeam, r, &t_.slabPoints);
        break;
      case Kind::kProxy:
        if (GeneralElementRecord* r = t_.generals.next()) readProxy(o, r);
        break;
      case Kind::kNone:
        break;
    }
  }

 private:
  // FileID, GlobalId, Name and the placement; the product, or null when the
  // instance is not one.
  IfcProduct* readHead(TarnObject* o, ElementRecord* r) {
    r->FileID = static_cast<int>(o->instanceNumber());
    IfcProduct* product = As<IfcProduct>(o);
    if (product == nullptr) return nullptr;
    r->GUID = product->GlobalId();
    r->Name = product->Name();
    if (IfcObjectPlacement* placement = product->ObjectPlacement())
      r->Placement = ComposePlacement(placement, true);
    return product;
  }

  void readBeam(TarnObject* o, BeamRecord* r) {
    IfcProduct* product = readHead(o, r);
    if (product == nullptr) return;
    ForEachShapeRepresentation(product, [&](IfcShapeRepresentation* rep, const char* type) {
      if (std::strcmp(type, "SweptSolid") == 0) {
        if (IfcExtrudedAreaSolid* solid = BodySolid(rep, true)) readBeamSolid(solid, r);
      } else if (std::strcmp(type, "BoundingBox") == 0) {
        ReadBoundingBox(rep, BoxAxes::kBeam, &r->Box);
      }
    });
  }

  static void readBeamSolid(IfcExtrudedAreaSolid* solid, BeamRecord* r) {
    ReadRatios(solid->ExtrudedDirection(), r->ExtrudedAxis);
    SetReal(solid->Depth(), &r->ExtrudedDepth);
    IfcAxis2Placement3D* position = solid->Position();
    if (position == nullptr) return;
    ReadCoordinates(position->Location(), r->ExtrudedPos);
    if (IfcDirection* axis = position->Axis()) ReadRatios(axis, r->ExtrudedPosAxis);
    if (IfcDirection* ref = position->RefDirection()) ReadRatios(ref, r->ExtrudedPosRefAxis);
  }

  // A wall or slab; its outline points go into `points` after the point
  // counter, which then advances past them.
  void readWall(TarnObject* o, BoxAxes axes, WallRecord* r, BuildingTable<OutlinePointRecord>* points) {
    IfcProduct* product = readHead(o, r);
    if (product == nullptr) return;
    int stored = 0;
    ForEachShapeRepresentation(product, [&](IfcShapeRepresentation* rep, const char* type) {
      if (std::strcmp(type, "SweptSolid") == 0) {
        IfcExtrudedAreaSolid* solid = BodySolid(rep, false);
        if (solid == nullptr) return;
        SetReal(solid->Depth(), &r->ExtrudedDepth);
        if (IfcPolyline* line = Outline(solid)) stored = storeOutline(line, r, points);
      } else if (std::strcmp(type, "BoundingBox") == 0) {
        ReadBoundingBox(rep, axes, &r->Box);
      }
    });
    points->setCounter(points->counter() + stored);
  }

  // Writes the polyline's points after the point counter, as many as the
  // table has room for; sets Index and Total and returns Total.
  int storeOutline(IfcPolyline* line, WallRecord* r, BuildingTable<OutlinePointRecord>* points) {
    ListOfIfcCartesianPoint* list = line->Points();
    const int n = list != nullptr ? static_cast<int>(list->count()) : 0;
    const int first = points->counter() + 1;
    const int room = points->capacity() - first;
    const int stored = n < room ? n : (room > 0 ? room : 0);
    r->Index = first;
    r->Total = stored;
    for (int j = 0; j < stored; ++j) {
      OutlinePointRecord* p = points->at(first + j);
      *p = OutlinePointRecord();
      IfcCartesianPoint* point = list->get(static_cast<uint32_t>(j));
      if (point == nullptr) continue;
      p->X = Coordinate(point, 0);
      p->Y = Coordinate(point, 1);
      p->FileID = static_cast<int>(point->instanceNumber());
      readPointIdentity(point, p);
    }
    return stored;
  }

  // GlobalId and Name of a point, for point entities that have them.  The
  // attributes are looked up once per domain met.
  void readPointIdentity(TarnObject* point, OutlinePointRecord* p) {
    TarnDomain* domain = point->domain();
    if (domain != pointDomain_) {
      pointDomain_ = domain;
      pointGuid_ = domain != nullptr ? domain->findAttribute("GlobalId") : nullptr;
      pointName_ = domain != nullptr ? domain->findAttribute("Name") : nullptr;
    }
    if (pointGuid_ != nullptr) p->GUID = point->getString(pointGuid_);
    if (pointName_ != nullptr) p->Name = point->getString(pointName_);
  }

  // A proxy: placement (without skipping placements that lack an Axis),
  // bounding box and brep points appended to the pool.
  void readProxy(TarnObject* o, GeneralElementRecord* r) {
    r->Index = t_.generalPoints.counter() + 1;
    if (IfcProduct* product = As<IfcProduct>(o)) {
      if (IfcObjectPlacement* placement = product->ObjectPlacement())
        r->Placement = ComposePlacement(placement, false);
      ForEachShapeRepresentation(product, [&](IfcShapeRepresentation* rep, const char* type) {
        if (std::strcmp(type, "BoundingBox") == 0) {
          ReadBoundingBox(rep, BoxAxes::kWall, &r->Box);
        } else if (std::strcmp(type, "Brep") == 0 && IsBody(rep, false)) {
          appendBrepPoints(As<IfcFacetedBrep>(FirstItem(rep)));
        }
      });
    }
    r->Total = t_.generalPoints.counter() + 1 - r->Index;
  }

  // Every point of every poly loop of the brep's outer shell, in order,
  // while the pool has room.
  void appendBrepPoints(IfcFacetedBrep* brep) {
    IfcClosedShell* shell = brep != nullptr ? brep->Outer() : nullptr;
    SetOfIfcFace* faces = shell != nullptr ? shell->CfsFaces() : nullptr;
    if (faces == nullptr) return;
    for (uint32_t f = 0; f < faces->count(); ++f) {
      IfcFace* face = As<IfcFace>(faces->TarnPtrAggregate::get(f));
      SetOfIfcFaceBound* bounds = face != nullptr ? face->Bounds() : nullptr;
      if (bounds == nullptr) continue;
      for (uint32_t b = 0; b < bounds->count(); ++b) {
        IfcFaceBound* bound = As<IfcFaceBound>(bounds->TarnPtrAggregate::get(b));
        IfcPolyLoop* loop = bound != nullptr ? As<IfcPolyLoop>(bound->Bound()) : nullptr;
        ListOfIfcCartesianPoint* polygon = loop != nullptr ? loop->Polygon() : nullptr;
        if (polygon == nullptr) continue;
        for (uint32_t i = 0; i < polygon->count(); ++i) {
          GeneralPointRecord* p = t_.generalPoints.next();
          if (p == nullptr) return;  // the pool is full
          IfcCartesianPoint* point = As<IfcCartesianPoint>(polygon->TarnPtrAggregate::get(i));
          p->X = Coordinate(point, 0);
          p->Y = Coordinate(point, 1);
          p->Z = Coordinate(point, 2);
        }
      }
    }
  }

  BuildingTables& t_;
  TarnDomain* pointDomain_ = nullptr;
  TarnAttribute* pointGuid_ = nullptr;
  TarnAttribute* pointName_ = nullptr;
};

// The fill pass's trace: one line "Name: <type>" per entity instance,
// written in blocks of many lines when several wait.
class TraceLines {
 public:
  explicit TraceLines(std::FILE* out) : out_(out) {}
  // The lines that follow name `typeName`.
  void start(const char* typeName) {
    flush();
    line_.assign("Name: ").append(typeName).push_back('\n');
    block_.clear();
  }
  void add() { ++waiting_; }
  // Writes the lines that wait.
  void flush() {
    if (out_ == nullptr || waiting_ == 0) {
      waiting_ = 0;
      return;
    }
    if (waiting_ == 1) {
      std::fwrite(line_.data(), 1, line_.size(), out_);
    } else {
      const size_t perBlock = std::max<size_t>(1, kBlock / line_.size());
      while (block_.size() < std::min(waiting_, perBlock) * line_.size()) block_ += line_;
      for (size_t left = waiting_; left > 0;) {
        const size_t n = std::min(left, block_.size() / line_.size());
        std::fwrite(block_.data(), 1, n * line_.size(), out_);
        left -= n;
      }
    }
    waiting_ = 0;
  }

 private:
  static constexpr size_t kBlock = 64 * 1024;
  std::FILE* out_;
  std::string line_, block_;
  size_t waiting_ = 0;
};

void AllocateTables(BuildingTables& t) {
  t.beams.allocate();
  t.columns.allocate();
  t.walls.allocate();
  t.wallPoints.allocate();
  t.generals.allocate();
  t.generalPoints.allocate(static_cast<long long>(kProxyPointsPerElement) * t.generals.capacity());
  t.slabs.allocate();
  t.slabPoints.allocate();
}

}  // namespace

PlacementFrame ComposePlacement(TarnObject* objectPlacement, bool skipWithoutAxis) {
  PlacementFrame frame;
  IfcLocalPlacement* own = As<IfcLocalPlacement>(objectPlacement);
  if (own == nullptr) return frame;
  // The ancestors from the nearest to the farthest, then the placement
  // itself, so that its own Axis and RefDirection are the ones kept.
  const size_t length = ChainLength(own);
  IfcLocalPlacement* p = Parent(own);
  for (size_t i = 1; i < length && p != nullptr; ++i, p = Parent(p))
    ApplyRelativePlacement(p, skipWithoutAxis, &frame);
  ApplyRelativePlacement(own, skipWithoutAxis, &frame);
  return frame;
}

void CountImportObjects(TarnDesign* design) {
  int beams = 0, columns = 0, walls = 0, wallPoints = 0, slabs = 0, slabPoints = 0, proxies = 0;
  if (design != nullptr) {
    ForEachExtent(design, [&](TarnExtent* extent, const char* typeName) {
      const Kind kind = KindOf(typeName);
      if (kind == Kind::kNone) return;
      for (TarnObject* o = extent->first(); o != nullptr; o = o->nextInExtent()) {
        if (!IsEntity(o)) continue;
        switch (kind) {
          case Kind::kBeam: ++beams; break;
          case Kind::kColumn: ++columns; break;
          case Kind::kWall:
            ++walls;
            wallPoints += OutlinePointCount(o);
            break;
          case Kind::kSlab:
            ++slabs;
            slabPoints += OutlinePointCount(o);
            break;
          case Kind::kProxy: ++proxies; break;
          case Kind::kNone: break;
        }
      }
    });
  }
  BuildingTables& t = BuildingImport();
  t.beams.setCounter(beams);
  t.columns.setCounter(columns);
  t.walls.setCounter(walls);
  t.wallPoints.setCounter(wallPoints);
  t.slabs.setCounter(slabs);
  t.slabPoints.setCounter(slabPoints);
  t.generals.setCounter(proxies);
  t.generalPoints.setCounter(0);
  CountAnalysisKinds(design);
}

void FillImportTables(TarnDesign* design, std::FILE* trace) {
  BuildingTables& t = BuildingImport();
  AllocateTables(t);
  if (design != nullptr) {
    Filler filler(t);
    TraceLines lines(trace);
    ForEachExtent(design, [&](TarnExtent* extent, const char* typeName) {
      const Kind kind = KindOf(typeName);
      // The trace line is the same for every instance of the extent.  Where
      // nothing is read, the lines of the extent are written together.
      lines.start(typeName);
      for (TarnObject* o = extent->first(); o != nullptr; o = o->nextInExtent()) {
        PrefetchFollowing(o);
        if (!IsEntity(o)) continue;
        lines.add();
        if (kind == Kind::kNone) continue;
        lines.flush();
        filler.read(kind, o);
      }
      lines.flush();
    });
  }
  FillAnalysisKinds(design);
}

}  // namespace korva
