#include "import/building_import.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "import/analysis_import.h"
#include "import/analysis_reading.h"
#include "import/building_domains.h"
#include "import/profile_outline.h"
#include "objdb/design.h"
#include "objdb/extent_walk.h"
#include "objdb/interface.h"

namespace korva {
namespace {

const char* TypeName(TarnExtent* e) {
  const char* name = e->domain() != nullptr ? e->domain()->name() : nullptr;
  return name != nullptr ? name : "";
}

bool IsEntity(TarnObject* o) { return o->typePtr()->nodeType() == kNodeStructure; }

// Which record dimension each bounding-box dimension feeds.
enum class BoxAxes {
  kBeam,  // XDim -> Height, YDim -> Length, ZDim -> Width (beams, columns, slabs)
  kWall,  // XDim -> Width, YDim -> Height, ZDim -> Length (walls, proxies)
};

// Solids nest in booleans and mapped representations; a file whose items
// refer to each other in a circle stops here.
constexpr int kMaxItemDepth = 16;

// What a wall's or slab's body gives: the extrusion depth and the outline.
// The outline is the polyline of the last "Body" swept solid whose area is
// bounded by one; where no such solid exists, the first outline the other
// profile rules find in a "Body" representation (profile_outline.h), also
// through mapped items and the first operand of booleans.
struct WallBody {
  bool hasDepth = false;
  double depth = 0.0;
  bool hasPolyline = false;
  ListValue polyline;  // its points (none: an unset list)
  std::vector<OutlinePoint> profile;  // the outline by the other rules

  void clear() {
    hasDepth = hasPolyline = false;
    polyline = ListValue();
    profile.clear();
  }
  int count() const {
    if (hasPolyline) return static_cast<int>(polyline.count());
    return static_cast<int>(profile.size());
  }
};

// Reads building elements of one design late-bound, by the domains of the
// design's own schema: the same code reads IFC2x2 and IFC2X3 instances.
// Lives for one pass.
class ElementReader {
 public:
  explicit ElementReader(TarnDesign* design) : d_(design), outlines_(d_, design) {}

  const BuildingDomains& domains() const { return d_; }

  // --- Placements.

  PlacementFrame placement(TarnObject* objectPlacement, bool skipWithoutAxis) {
    if (!IsA(objectPlacement, d_.localPlacement)) return PlacementFrame();
    // The ancestors from the nearest to the farthest, then the placement
    // itself, so that its own Axis and RefDirection are the ones kept.  The
    // elements of a storey share its chain: the ancestors' part is
    // composed once per chain (a chain that loops depends on where it is
    // entered and is not kept).
    TarnObject* first = parent(objectPlacement);
    std::unordered_map<TarnObject*, PlacementFrame>& chains = chains_[skipWithoutAxis ? 1 : 0];
    PlacementFrame frame;
    auto known = first != nullptr ? chains.find(first) : chains.end();
    if (known != chains.end()) {
      frame = known->second;
    } else {
      const size_t length = chainLength(objectPlacement);
      TarnObject* p = first;
      for (size_t i = 1; i < length && p != nullptr; ++i, p = parent(p)) applyRelative(p, skipWithoutAxis, &frame);
      if (first != nullptr && p == nullptr) chains.emplace(first, frame);
    }
    applyRelative(objectPlacement, skipWithoutAxis, &frame);
    return frame;
  }

  TarnObject* objectPlacement(TarnObject* product) { return ReadRef(product, objectPlacement_); }

  // --- Representations.

  // Calls visit(representation, type) for every IfcShapeRepresentation of
  // the product's IfcProductDefinitionShape that has a RepresentationType.
  template <class Visit>
  void forEachShapeRepresentation(TarnObject* product, Visit visit) {
    TarnObject* shape = ReadRef(product, representation_);
    if (!IsA(shape, d_.productDefinitionShape)) return;
    const ListValue list = ReadList(shape, representations_);
    for (uint32_t i = 0; i < list.count(); ++i) {
      TarnObject* r = list.object(i);
      if (!IsA(r, d_.shapeRepresentation)) continue;
      const char* type = ReadText(r, representationType_);
      if (type != nullptr) visit(r, type);
    }
  }

  bool isBody(TarnObject* r, bool absentIsBody) {
    const char* id = ReadText(r, representationIdentifier_);
    return id != nullptr ? std::strcmp(id, "Body") == 0 : absentIsBody;
  }

  // The extruded solid that is the first item of a "Body" representation
  // (absent identifier counts as "Body" when `absentIsBody`), or null.
  TarnObject* bodySolid(TarnObject* r, bool absentIsBody) {
    if (!isBody(r, absentIsBody)) return nullptr;
    TarnObject* item = ReadList(r, items_).object(0);
    return IsA(item, d_.extrudedAreaSolid) ? item : nullptr;
  }

  void readBox(TarnObject* r, BoxAxes axes, BoxFields* box) {
    TarnObject* b = ReadList(r, items_).object(0);
    if (!IsA(b, d_.boundingBox)) return;
    readCoordinates(ReadRef(b, corner_), box->corner);
    ReadReal(b, xDim_, axes == BoxAxes::kBeam ? &box->height : &box->width);
    ReadReal(b, yDim_, axes == BoxAxes::kBeam ? &box->length : &box->height);
    ReadReal(b, zDim_, axes == BoxAxes::kBeam ? &box->width : &box->length);
  }

  // The swept solid of a beam or column.
  void readBeamSolid(TarnObject* solid, BeamRecord* r) {
    readRatios(ReadRef(solid, extrudedDirection_), r->ExtrudedAxis);
    ReadReal(solid, depth_, &r->ExtrudedDepth);
    TarnObject* position = ReadRef(solid, position_);
    if (position == nullptr) return;
    readCoordinates(ReadRef(position, location_), r->ExtrudedPos);
    if (TarnObject* axis = ReadRef(position, axis_)) readRatios(axis, r->ExtrudedPosAxis);
    if (TarnObject* ref = ReadRef(position, refDirection_)) readRatios(ref, r->ExtrudedPosRefAxis);
  }

  // The body of a wall or slab into `body`; with `box`, also its bounding
  // box.
  void readWallBody(TarnObject* element, WallBody* body, BoxAxes axes, BoxFields* box) {
    body->clear();
    bool otherBodies = false;
    forEachShapeRepresentation(element, [&](TarnObject* rep, const char* type) {
      if (std::strcmp(type, "SweptSolid") == 0) {
        otherBodies = true;
        TarnObject* solid = bodySolid(rep, false);
        if (solid == nullptr) return;
        if (ReadReal(solid, depth_, &body->depth)) body->hasDepth = true;
        if (TarnObject* line = outlines_.polylineOutline(ReadRef(solid, sweptArea_))) {
          body->hasPolyline = true;
          body->polyline = outlines_.polylinePoints(line);
        }
      } else if (std::strcmp(type, "BoundingBox") == 0) {
        if (box != nullptr) readBox(rep, axes, box);
      } else {
        otherBodies = true;
      }
    });
    if (body->hasPolyline || !otherBodies) return;
    // No polyline outline: the other profile rules, in every "Body"
    // representation whatever its type, through its items in order.
    forEachShapeRepresentation(element, [&](TarnObject* rep, const char* /*type*/) {
      if (!body->profile.empty() || !isBody(rep, false)) return;
      const ListValue items = ReadList(rep, items_);
      for (uint32_t i = 0; i < items.count() && body->profile.empty(); ++i) profileOutline(items.object(i), 0, body);
    });
  }

  // Reads the outline of the first solid under `item` that has one, by
  // the profile rules; the depth of the first solid met when none is known.
  // True once an outline is read.
  bool profileOutline(TarnObject* item, int depth, WallBody* body) {
    if (item == nullptr || depth > kMaxItemDepth) return false;
    if (IsA(item, d_.extrudedAreaSolid)) {
      if (!body->hasDepth && ReadReal(item, depth_, &body->depth)) body->hasDepth = true;
      return outlines_.read(ReadRef(item, sweptArea_), &body->profile);
    }
    if (IsA(item, d_.booleanResult)) return profileOutline(ReadRef(item, firstOperand_), depth + 1, body);
    if (IsA(item, d_.mappedItem)) {
      TarnObject* mapped = ReadRef(ReadRef(item, mappingSource_), mappedRepresentation_);
      const ListValue items = ReadList(mapped, items_);
      for (uint32_t i = 0; i < items.count(); ++i)
        if (profileOutline(items.object(i), depth + 1, body)) return true;
    }
    return false;
  }

  // The outline points of a body, the polyline's included, into `out`.
  void outlinePoints(const WallBody& body, std::vector<OutlinePoint>* out) {
    out->clear();
    if (!body.hasPolyline) {
      out->assign(body.profile.begin(), body.profile.end());
    } else if (body.polyline) {
      outlines_.listPoints(body.polyline, out);
    }
  }

  // --- Proxies.

  // Every point of every poly loop of a faceted brep's outer shell, in
  // order, to `add(x, y, z)` while it returns true.
  template <class Add>
  void forEachBrepPoint(TarnObject* brep, Add add) {
    if (!IsA(brep, d_.facetedBrep)) return;
    const ListValue faces = ReadList(ReadRef(brep, outer_), cfsFaces_);
    for (uint32_t f = 0; f < faces.count(); ++f) {
      TarnObject* face = faces.object(f);
      const ListValue bounds = IsA(face, d_.face) ? ReadList(face, bounds_) : ListValue();
      for (uint32_t b = 0; b < bounds.count(); ++b) {
        TarnObject* bound = bounds.object(b);
        TarnObject* loop = IsA(bound, d_.faceBound) ? ReadRef(bound, bound_) : nullptr;
        const ListValue polygon = IsA(loop, d_.polyLoop) ? ReadList(loop, polygon_) : ListValue();
        for (uint32_t i = 0; i < polygon.count(); ++i) {
          TarnObject* point = polygon.object(i);
          if (!IsA(point, d_.cartesianPoint)) point = nullptr;
          double xyz[3];
          readCoordinates(point, xyz);
          if (!add(xyz[0], xyz[1], xyz[2])) return;
        }
      }
    }
  }

  TarnObject* firstItem(TarnObject* r) { return ReadList(r, items_).object(0); }

  // Identity of a product.
  NamedAttribute globalId_{"GlobalId"}, name_{"Name"};

 private:
  TarnObject* parent(TarnObject* p) {
    TarnObject* up = ReadRef(p, placementRelTo_);
    return IsA(up, d_.localPlacement) ? up : nullptr;
  }

  // Number of distinct placements on the PlacementRelTo chain that starts
  // at `p` (p included).  A chain that loops back is counted up to its
  // first repetition (Floyd's cycle detection; no allocation).
  size_t chainLength(TarnObject* p) {
    TarnObject* slow = p;
    TarnObject* fast = p;
    while (fast != nullptr) {
      fast = parent(fast);
      if (fast == nullptr) break;
      fast = parent(fast);
      slow = parent(slow);
      if (fast == slow) break;
    }
    if (fast == nullptr) {
      size_t n = 0;
      for (TarnObject* q = p; q != nullptr; q = parent(q)) ++n;
      return n;
    }
    size_t lead = 0;
    TarnObject* a = p;
    TarnObject* b = slow;
    while (a != b) {
      a = parent(a);
      b = parent(b);
      ++lead;
    }
    size_t loop = 1;
    for (b = parent(a); b != a; b = parent(b)) ++loop;
    return lead + loop;
  }

  void applyRelative(TarnObject* p, bool skipWithoutAxis, PlacementFrame* frame) {
    TarnObject* placement = ReadRef(p, relativePlacement_);
    if (!IsA(placement, d_.axis2Placement3D)) return;
    TarnObject* axis = ReadRef(placement, axis_);
    if (axis == nullptr && skipWithoutAxis) return;
    readRatios(axis, frame->axis);
    readRatios(ReadRef(placement, refDirection_), frame->ref);
    double location[3];
    readCoordinates(ReadRef(placement, location_), location);
    for (int i = 0; i < 3; ++i) frame->start[i] += location[i];
  }

  // Coordinates 0..2 of a point, ratios 0..2 of a direction (0.0 for a
  // missing object or element).
  void readCoordinates(TarnObject* point, double (&out)[3]) {
    ReadList(point, coordinates_).reals(out, 3);
  }
  void readRatios(TarnObject* direction, double (&out)[3]) {
    ReadList(direction, directionRatios_).reals(out, 3);
  }

  BuildingDomains d_;
  ProfileOutlineReader outlines_;
  // The composed ancestors of placement chains by their first placement,
  // for placements that skip those without Axis [1] and that do not [0].
  std::unordered_map<TarnObject*, PlacementFrame> chains_[2];
  NamedAttribute objectPlacement_{"ObjectPlacement"}, placementRelTo_{"PlacementRelTo"};
  NamedAttribute relativePlacement_{"RelativePlacement"}, location_{"Location"}, axis_{"Axis"};
  NamedAttribute refDirection_{"RefDirection"}, coordinates_{"Coordinates"}, directionRatios_{"DirectionRatios"};
  NamedAttribute representation_{"Representation"}, representations_{"Representations"};
  NamedAttribute representationType_{"RepresentationType"}, representationIdentifier_{"RepresentationIdentifier"};
  NamedAttribute items_{"Items"}, corner_{"Corner"}, xDim_{"XDim"}, yDim_{"YDim"}, zDim_{"ZDim"};
  NamedAttribute sweptArea_{"SweptArea"}, position_{"Position"}, extrudedDirection_{"ExtrudedDirection"};
  NamedAttribute depth_{"Depth"}, firstOperand_{"FirstOperand"};
  NamedAttribute mappingSource_{"MappingSource"}, mappedRepresentation_{"MappedRepresentation"};
  NamedAttribute outer_{"Outer"}, cfsFaces_{"CfsFaces"}, bounds_{"Bounds"}, bound_{"Bound"}, polygon_{"Polygon"};
};

// ---------------------------------------------------------------------------
// The fill pass.

class Filler {
 public:
  Filler(BuildingTables& tables, ElementReader& reader) : t_(tables), e_(reader) {}

  void read(ElementKind kind, TarnObject* o) {
    switch (kind) {
      case ElementKind::kBeam:
        if (BeamRecord* r = t_.beams.next()) readBeam(o, r);
        break;
      case ElementKind::kColumn:
        if (ColumnRecord* r = t_.columns.next()) readBeam(o, r);
        break;
      case ElementKind::kWall:
        if (WallRecord* r = t_.walls.next()) readWall(o, BoxAxes::kWall, r, &t_.wallPoints);
        break;
      case ElementKind::kSlab:
        if (SlabRecord* r = t_.slabs.next()) readWall(o, BoxAxes::kBeam, r, &t_.slabPoints);
        break;
      case ElementKind::kProxy:
        if (GeneralElementRecord* r = t_.generals.next()) readProxy(o, r);
        break;
      case ElementKind::kNone:
        break;
    }
  }

 private:
  // FileID, GlobalId, Name and the placement; false when the instance is no
  // product.
  bool readHead(TarnObject* o, ElementRecord* r) {
    r->FileID = static_cast<int>(o->instanceNumber());
    if (!IsA(o, e_.domains().product)) return false;
    if (e_.globalId_.of(o) != nullptr) r->GUID = ReadText(o, e_.globalId_);
    if (e_.name_.of(o) != nullptr) r->Name = ReadText(o, e_.name_);
    if (TarnObject* placement = e_.objectPlacement(o)) r->Placement = e_.placement(placement, true);
    return true;
  }

  void readBeam(TarnObject* o, BeamRecord* r) {
    if (!readHead(o, r)) return;
    e_.forEachShapeRepresentation(o, [&](TarnObject* rep, const char* type) {
      if (std::strcmp(type, "SweptSolid") == 0) {
        if (TarnObject* solid = e_.bodySolid(rep, true)) e_.readBeamSolid(solid, r);
      } else if (std::strcmp(type, "BoundingBox") == 0) {
        e_.readBox(rep, BoxAxes::kBeam, &r->Box);
      }
    });
  }

  // A wall or slab; its outline points go into `points` after the point
  // counter, which then advances past them.
  void readWall(TarnObject* o, BoxAxes axes, WallRecord* r, BuildingTable<OutlinePointRecord>* points) {
    if (!readHead(o, r)) return;
    e_.readWallBody(o, &body_, axes, &r->Box);
    if (body_.hasDepth) r->ExtrudedDepth = body_.depth;
    if (!body_.hasPolyline && body_.profile.empty()) return;
    e_.outlinePoints(body_, &outline_);
    points->setCounter(points->counter() + storeOutline(r, points));
  }

  // Writes the outline's points after the point counter, as many as the
  // table has room for; sets Index and Total and returns Total.
  int storeOutline(WallRecord* r, BuildingTable<OutlinePointRecord>* points) {
    const int n = static_cast<int>(outline_.size());
    const int first = points->counter() + 1;
    const int room = points->capacity() - first;
    const int stored = n < room ? n : (room > 0 ? room : 0);
    r->Index = first;
    r->Total = stored;
    for (int j = 0; j < stored; ++j) {
      OutlinePointRecord* p = points->at(first + j);
      *p = OutlinePointRecord();
      const OutlinePoint& point = outline_[static_cast<size_t>(j)];
      p->X = point.x;
      p->Y = point.y;
      if (point.source == nullptr) continue;
      p->FileID = static_cast<int>(point.source->instanceNumber());
      readPointIdentity(point.source, p);
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
    if (IsA(o, e_.domains().product)) {
      if (TarnObject* placement = e_.objectPlacement(o)) r->Placement = e_.placement(placement, false);
      e_.forEachShapeRepresentation(o, [&](TarnObject* rep, const char* type) {
        if (std::strcmp(type, "BoundingBox") == 0) {
          e_.readBox(rep, BoxAxes::kWall, &r->Box);
        } else if (std::strcmp(type, "Brep") == 0 && e_.isBody(rep, false)) {
          e_.forEachBrepPoint(e_.firstItem(rep), [&](double x, double y, double z) {
            GeneralPointRecord* p = t_.generalPoints.next();
            if (p == nullptr) return false;  // the pool is full
            p->X = x;
            p->Y = y;
            p->Z = z;
            return true;
          });
        }
      });
    }
    r->Total = t_.generalPoints.counter() + 1 - r->Index;
  }

  BuildingTables& t_;
  ElementReader& e_;
  WallBody body_;
  std::vector<OutlinePoint> outline_;
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
  void add(size_t n) { waiting_ += n; }
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
  if (objectPlacement == nullptr) return PlacementFrame();
  ElementReader reader(objectPlacement->design());
  return reader.placement(objectPlacement, skipWithoutAxis);
}

void CountImportObjects(TarnDesign* design) {
  int beams = 0, columns = 0, walls = 0, wallPoints = 0, slabs = 0, slabPoints = 0, proxies = 0;
  if (design != nullptr) {
    ElementReader reader(design);
    WallBody body;
    ForEachDataExtent(design, [&](TarnExtent* extent) {
      const ElementKind kind = reader.domains().kindOf(extent->domain());
      if (kind == ElementKind::kNone) return;
      for (TarnObject* o = extent->first(); o != nullptr; o = o->nextInExtent()) {
        if (!IsEntity(o)) continue;
        switch (kind) {
          case ElementKind::kBeam: ++beams; break;
          case ElementKind::kColumn: ++columns; break;
          case ElementKind::kWall:
            ++walls;
            reader.readWallBody(o, &body, BoxAxes::kWall, nullptr);
            wallPoints += body.count();
            break;
          case ElementKind::kSlab:
            ++slabs;
            reader.readWallBody(o, &body, BoxAxes::kBeam, nullptr);
            slabPoints += body.count();
            break;
          case ElementKind::kProxy: ++proxies; break;
          case ElementKind::kNone: break;
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
    ElementReader reader(design);
    Filler filler(t, reader);
    TraceLines lines(trace);
    ForEachDataExtent(design, [&](TarnExtent* extent) {
      const ElementKind kind = reader.domains().kindOf(extent->domain());
      // The trace line is the same for every instance of the extent, and
      // an extent holds entity instances only or none.  Where nothing is
      // read, the lines of the extent are written together, uncounted.
      if (extent->first() == nullptr || !IsEntity(extent->first())) return;
      lines.start(TypeName(extent));
      if (kind == ElementKind::kNone) {
        lines.add(extent->count());
      } else {
        for (TarnObject* o = extent->first(); o != nullptr; o = o->nextInExtent()) {
          PrefetchFollowing(o);
          lines.add(1);
          lines.flush();
          filler.read(kind, o);
        }
      }
      lines.flush();
    });
  }
  FillAnalysisKinds(design);
}

}  // namespace korva
