// Census and fill of building elements on IFC designs built in memory, read
// back through the exported counters and getters; the exported census and
// fill by design name and by file name; hostile call orders and inputs.
#include "import/building_import.h"

#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "ifc2x2/schema.h"
#include "import/import_fixture.h"

namespace korva {
namespace {

using test::Id;

using Points = std::vector<std::vector<double>>;

// The building elements' parts, on top of the shared entities.
class Builder : public test::IfcBuilder {
 public:
  using IfcBuilder::IfcBuilder;
  IfcAxis2Placement3D* upright(const std::vector<double>& at) {
    return axes(at, direction({0, 0, 1}), direction({1, 0, 0}));
  }
  IfcShapeRepresentation* rep(const char* identifier, const char* type, TarnObject* item) {
    IfcShapeRepresentation* r = entity<IfcShapeRepresentation>("IfcShapeRepresentation");
    if (identifier != nullptr) r->RepresentationIdentifier(identifier);
    r->RepresentationType(type);
    r->Items()->add(item);
    return r;
  }
  IfcProductDefinitionShape* shape(std::initializer_list<IfcShapeRepresentation*> reps) {
    IfcProductDefinitionShape* s = entity<IfcProductDefinitionShape>("IfcProductDefinitionShape");
    for (IfcShapeRepresentation* r : reps) s->Representations()->add(r);
    return s;
  }
  IfcShapeRepresentation* box(const std::vector<double>& corner, double x, double y, double z) {
    IfcBoundingBox* b = entity<IfcBoundingBox>("IfcBoundingBox");
    b->Corner(point(corner));
    b->XDim(x);
    b->YDim(y);
    b->ZDim(z);
    return rep("Box", "BoundingBox", b);
  }
  IfcExtrudedAreaSolid* solid(IfcProfileDef* area, IfcAxis2Placement3D* position, IfcDirection* along, double depth) {
    IfcExtrudedAreaSolid* s = entity<IfcExtrudedAreaSolid>("IfcExtrudedAreaSolid");
    s->SweptArea(area);
    s->Position(position);
    s->ExtrudedDirection(along);
    s->Depth(depth);
    return s;
  }
  IfcProfileDef* rectangle() {
    IfcRectangleProfileDef* r = entity<IfcRectangleProfileDef>("IfcRectangleProfileDef");
    r->ProfileType(IfcProfileTypeEnum_AREA);
    return r;
  }
  IfcProfileDef* outline(const Points& points, int32_t profileType = IfcProfileTypeEnum_AREA) {
    IfcPolyline* line = entity<IfcPolyline>("IfcPolyline");
    for (const auto& p : points) line->Points()->add(point(p));
    IfcArbitraryClosedProfileDef* profile = entity<IfcArbitraryClosedProfileDef>("IfcArbitraryClosedProfileDef");
    profile->ProfileType(profileType);
    profile->OuterCurve(line);
    return profile;
  }
  // A body swept along Z from a flat position.
  IfcShapeRepresentation* body(const char* identifier, IfcProfileDef* area, double depth) {
    return rep(identifier, "SweptSolid", solid(area, upright({0, 0, 0}), direction({0, 0, 1}), depth));
  }
  // A faceted brep body with one poly loop per face.
  IfcShapeRepresentation* brep(const char* identifier, const std::vector<Points>& faces) {
    IfcClosedShell* shell = entity<IfcClosedShell>("IfcClosedShell");
    for (const Points& points : faces) {
      IfcPolyLoop* polygon = loop(points);
      IfcFaceBound* bound = entity<IfcFaceBound>("IfcFaceBound");
      bound->Bound(polygon);
      IfcFace* face = entity<IfcFace>("IfcFace");
      face->Bounds()->add(bound);
      shell->CfsFaces()->add(face);
    }
    IfcFacetedBrep* b = entity<IfcFacetedBrep>("IfcFacetedBrep");
    b->Outer(shell);
    return rep(identifier, "Brep", b);
  }
  IfcProduct* element(const char* type, const char* name, const char* guid, IfcLocalPlacement* placement,
                      IfcProductDefinitionShape* shape) {
    IfcProduct* e = entity<IfcProduct>(type);
    if (name != nullptr) e->Name(name);
    if (guid != nullptr) e->GlobalId(guid);
    if (placement != nullptr) e->ObjectPlacement(placement);
    if (shape != nullptr) e->Representation(shape);
    return e;
  }
};

const char kB1Guid[] = "0B1xxxxxxxxxxxxxxxxxxx";

// Beams, columns, walls, slabs and proxies in two storeys.
//   counters after the census {beams, columns, walls, wall points, slabs,
//   slab points, proxies}
const std::vector<int> kCensus = {2, 1, 4, 9, 2, 4, 2};
const std::vector<int> kFilled = {1, 0, 3, 8, 1, 3, 1};

class BuildingImportTest : public test::ImportTest {
 protected:
  void SetUp() override {
    ImportTest::SetUp();
    design_ = NewIfcDesign("storeys.ifc", dir_.path().c_str());
    ASSERT_NE(design_, nullptr) << out_.text();
  }

  void BuildTwoStoreys() {
    Builder b(design_);
    b.entity<IfcProject>("IfcProject");
    IfcLocalPlacement* world = b.local(nullptr, b.upright({1, 0, 0}));
    IfcLocalPlacement* storey1 = b.local(world, b.upright({0, 2, 0}));
    IfcLocalPlacement* storey2 = b.local(world, b.axes({0, 0, 3.5}, b.direction({0, 0, 1}), b.direction({0, 1, 0})));
    b.element("IfcBuildingStorey", "1", nullptr, storey1, nullptr);
    b.element("IfcBuildingStorey", "2", nullptr, storey2, nullptr);
    auto at = [&](IfcLocalPlacement* storey) { return b.local(storey, b.upright({0, 0, 0})); };

    // B1: placements (1,0,0), (0,2,0), (0,0,3), its own axes applied last.
    b1_ = b.element("IfcBeam", "B1", kB1Guid, b.local(storey1, b.axes({0, 0, 3}, b.direction({1, 0, 0}), b.direction({0, 1, 0}))),
                    b.shape({b.rep("Body", "SweptSolid",
                                   b.solid(b.rectangle(), b.axes({0.1, 0.2, 0.3}, b.direction({0, 1, 0}), b.direction({0, 0, 1})),
                                           b.direction({0, 0, 1}), 6.0)),
                             b.box({-0.1, -0.2, 0.05}, 0.5, 6.0, 0.3)}));
    // B2: own placement without Axis: passed over; storey 2 then the world
    // are applied, the world's axes stay.  No Name; the swept solid without
    // identifier counts as the body, its bare Position gives no axes.
    b.element("IfcBeam", nullptr, "0B2xxxxxxxxxxxxxxxxxxx", b.local(storey2, b.axes({5, 0, 0}, nullptr, nullptr)),
              b.shape({b.rep(nullptr, "SweptSolid",
                             b.solid(b.rectangle(), b.axes({0, 0, 0}, nullptr, nullptr), b.direction({1, 0, 0}), 4.0))}));
    // C1: its swept solid is not the body.
    b.element("IfcColumn", "C1", "0C1xxxxxxxxxxxxxxxxxxx", b.local(storey1, b.upright({2, 3, 0})),
              b.shape({b.body("Axis", b.rectangle(), 9.0), b.box({0, 0, 0}, 0.4, 3.0, 0.5)}));

    // W1 and W2: 5 and 4 outline points.  W3: a rectangle without
    // dimensions, depth only.  W4:
    // no identifier, nothing.  W5 is an IfcWall, not imported.
    w2_ = nullptr;
    b.element("IfcWallStandardCase", "W1", "0W1xxxxxxxxxxxxxxxxxxx", at(storey1),
              b.shape({b.body("Body", b.outline({{0, 0}, {4, 0}, {4, 0.3}, {0, 0.3}, {0, 0}}), 3.0),
                       b.box({0, 0, 0}, 0.5, 6.0, 0.3)}));
    w2_ = b.element("IfcWallStandardCase", "W2", nullptr, at(storey2),
                    b.shape({b.body("Body", b.outline({{0, 0}, {0, 5}, {0.2, 5}, {0.2, 0}}), 3.2)}));
    b.element("IfcWallStandardCase", "W3", nullptr, at(storey1), b.shape({b.body("Body", b.rectangle(), 2.5)}));
    b.element("IfcWallStandardCase", "W4", nullptr, at(storey1),
              b.shape({b.body(nullptr, b.outline({{0, 0}, {1, 0}, {1, 1}}), 2.7)}));
    b.element("IfcWall", "W5", nullptr, at(storey1), b.shape({b.body("Body", b.outline({{0, 0}, {1, 0}}), 2.8)}));

    // S1: 4 outline points.  S2: a curve profile has none.
    b.element("IfcSlab", "S1", nullptr, at(storey2),
              b.shape({b.body("Body", b.outline({{0, 0}, {6, 0}, {6, 4}, {0, 4}}), 0.25),
                       b.box({0, 0, 0}, 6.0, 4.0, 0.25)}));
    b.element("IfcSlab", "S2", nullptr, at(storey1),
              b.shape({b.body("Body", b.outline({{0, 0}, {1, 0}, {1, 1}}, IfcProfileTypeEnum_CURVE), 0.3)}));

    // P1: its own placement without axes adds its Location, applied last
    // with zero axes; 7 brep points.  P2: 3 more; a brep that is not the
    // body is passed over.
    b.element("IfcBuildingElementProxy", "P1", nullptr, b.local(storey1, b.axes({2, 2, 0}, nullptr, nullptr)),
              b.shape({b.brep("Body", {{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 0, 1}, {1, 0, 1}, {0, 1, 1}}}),
                       b.box({7, 8, 9}, 1.0, 2.0, 3.0)}));
    b.element("IfcBuildingElementProxy", "P2", nullptr, at(storey2),
              b.shape({b.brep("Body", {{{5, 5, 5}, {6, 5, 5}, {5, 6, 5}}}), b.brep("Outline", {{{9, 9, 9}}})}));
  }
  void Import() {
    CountImportObjects(design_);
    FillImportTables(design_, nullptr);
  }

  TarnDesign* design_ = nullptr;
  IfcProduct *b1_ = nullptr, *w2_ = nullptr;
};

std::vector<int> Counters() {
  return {GetTotalBeams(), GetTotalColumns(), GetTotalWalls(), GetTotalWallPoints(),
          GetTotalSlabs(), GetTotalSlabPoints(), GetTotalGenerals()};
}

TEST_F(BuildingImportTest, CensusCountsExactTypesAndOutlinePoints) {
  BuildTwoStoreys();
  CountImportObjects(design_);
  EXPECT_EQ(Counters(), kCensus);
  FillImportTables(design_, nullptr);
  EXPECT_EQ(Counters(), kFilled);
  EXPECT_EQ(BuildingImport().generalPoints.capacity(), 2 * kProxyPointsPerElement);
}

TEST_F(BuildingImportTest, BeamAndColumnRecords) {
  BuildTwoStoreys();
  Import();
  const struct {
    const char* name;
    double (*beam)(int);
    double (*column)(int);
    double b1, c1;
  } fields[] = {
      {"Startx", GetBeamStartx, GetColumnStartx, 1.0, 3.0},
      {"Starty", GetBeamStarty, GetColumnStarty, 2.0, 5.0},
      {"Startz", GetBeamStartz, GetColumnStartz, 3.0, 0.0},
      {"Axis1", GetBeamAxis1, GetColumnAxis1, 1.0, 0.0},
      {"Axis2", GetBeamAxis2, GetColumnAxis2, 0.0, 0.0},
      {"Axis3", GetBeamAxis3, GetColumnAxis3, 0.0, 1.0},
      {"Ref1", GetBeamRef1, GetColumnRef1, 0.0, 1.0},
      {"Ref2", GetBeamRef2, GetColumnRef2, 1.0, 0.0},
      {"Ref3", GetBeamRef3, GetColumnRef3, 0.0, 0.0},
      {"Height", GetBeamHeight, GetColumnHeight, 0.5, 0.4},  // XDim
      {"Width", GetBeamWidth, GetColumnWidth, 0.3, 0.5},     // ZDim
      {"Length", GetBeamLength, GetColumnLength, 6.0, 3.0},  // YDim
      {"CornerPointX", GetBeamCornerPointX, GetColumnCornerPointX, -0.1, 0.0},
      {"CornerPointY", GetBeamCornerPointY, GetColumnCornerPointY, -0.2, 0.0},
      {"CornerPointZ", GetBeamCornerPointZ, GetColumnCornerPointZ, 0.05, 0.0},
      {"ExtrudedDepth", GetBeamExtrudedDepth, GetColumnExtrudedDepth, 6.0, 0.0},
      {"ExtrudedAxis1", GetBeamExtrudedAxis1, GetColumnExtrudedAxis1, 0.0, 0.0},
      {"ExtrudedAxis2", GetBeamExtrudedAxis2, GetColumnExtrudedAxis2, 0.0, 0.0},
      {"ExtrudedAxis3", GetBeamExtrudedAxis3, GetColumnExtrudedAxis3, 1.0, 0.0},
      {"ExtrudedPosX", GetBeamExtrudedPosX, GetColumnExtrudedPosX, 0.1, 0.0},
      {"ExtrudedPosY", GetBeamExtrudedPosY, GetColumnExtrudedPosY, 0.2, 0.0},
      {"ExtrudedPosZ", GetBeamExtrudedPosZ, GetColumnExtrudedPosZ, 0.3, 0.0},
      {"ExtrudedPosAxis1", GetBeamExtrudedPosAxis1, GetColumnExtrudedPosAxis1, 0.0, 0.0},
      {"ExtrudedPosAxis2", GetBeamExtrudedPosAxis2, GetColumnExtrudedPosAxis2, 1.0, 0.0},
      {"ExtrudedPosAxis3", GetBeamExtrudedPosAxis3, GetColumnExtrudedPosAxis3, 0.0, 0.0},
      {"ExtrudedPosRefAxis1", GetBeamExtrudedPosRefAxis1, GetColumnExtrudedPosRefAxis1, 0.0, 0.0},
      {"ExtrudedPosRefAxis2", GetBeamExtrudedPosRefAxis2, GetColumnExtrudedPosRefAxis2, 0.0, 0.0},
      {"ExtrudedPosRefAxis3", GetBeamExtrudedPosRefAxis3, GetColumnExtrudedPosRefAxis3, 1.0, 0.0},
  };
  for (const auto& f : fields) {
    EXPECT_DOUBLE_EQ(f.beam(0), f.b1) << "GetBeam" << f.name;
    EXPECT_DOUBLE_EQ(f.column(0), f.c1) << "GetColumn" << f.name;
  }
  // No step writes the 2D fields.
  for (auto get : {GetBeam2DHeight, GetBeam2DWidth, GetBeam2DOffset1, GetBeam2DOffset2, GetBeam2DDirectionAxis1,
                   GetBeam2DDirectionAxis2, GetColumn2DHeight, GetColumn2DDirectionAxis2})
    EXPECT_EQ(get(0), 0.0);
  EXPECT_EQ(Text(GetBeamName, 0), "B1");
  EXPECT_EQ(Text(GetBeamGUID, 0), kB1Guid);
  EXPECT_EQ(Text(GetColumnName, 0), "C1");
  EXPECT_EQ(Text(GetColumnGUID, 0), "0C1xxxxxxxxxxxxxxxxxxx");
  EXPECT_EQ(Text(GetBeamName, 1), kUntouched);  // Name unset
  EXPECT_EQ(Text(GetBeamGUID, 1), "0B2xxxxxxxxxxxxxxxxxxx");
  const double b2[] = {GetBeamStartx(1), GetBeamStarty(1), GetBeamStartz(1), GetBeamAxis3(1), GetBeamRef1(1),
                       GetBeamRef2(1), GetBeamExtrudedDepth(1), GetBeamExtrudedAxis1(1),
                       GetBeamExtrudedPosAxis3(1), GetBeamExtrudedPosRefAxis1(1)};
  EXPECT_EQ(std::vector<double>(b2, b2 + 10), (std::vector<double>{1, 0, 3.5, 1, 1, 0, 4, 1, 0, 0}));
  EXPECT_EQ(GetBeamFileID(0), Id(b1_));
}

TEST_F(BuildingImportTest, WallAndSlabRecordsWithOutlinePoints) {
  BuildTwoStoreys();
  Import();
  const struct {
    const char* name;
    double (*wall)(int);
    double (*slab)(int);
    double w1, s1;
  } fields[] = {
      {"Startx", GetWallStartx, GetSlabStartx, 1.0, 1.0},
      {"Starty", GetWallStarty, GetSlabStarty, 2.0, 0.0},
      {"Startz", GetWallStartz, GetSlabStartz, 0.0, 3.5},
      {"Axis1", GetWallAxis1, GetSlabAxis1, 0.0, 0.0},
      {"Axis2", GetWallAxis2, GetSlabAxis2, 0.0, 0.0},
      {"Axis3", GetWallAxis3, GetSlabAxis3, 1.0, 1.0},
      {"Ref1", GetWallRef1, GetSlabRef1, 1.0, 1.0},
      {"Ref2", GetWallRef2, GetSlabRef2, 0.0, 0.0},
      {"Ref3", GetWallRef3, GetSlabRef3, 0.0, 0.0},
      // X, Y, Z of the box: width, height, length of walls; height, length,
      // width of slabs.
      {"Height", GetWallHeight, GetSlabHeight, 6.0, 6.0},
      {"Width", GetWallWidth, GetSlabWidth, 0.5, 0.25},
      {"Length", GetWallLength, GetSlabLength, 0.3, 4.0},
      {"CornerPointX", GetWallCornerPointX, GetSlabCornerPointX, 0.0, 0.0},
      {"CornerPointY", GetWallCornerPointY, GetSlabCornerPointY, 0.0, 0.0},
      {"CornerPointZ", GetWallCornerPointZ, GetSlabCornerPointZ, 0.0, 0.0},
      {"ExtrudedDepth", GetWallExtrudedDepth, GetSlabExtrudedDepth, 3.0, 0.25},
  };
  for (const auto& f : fields) {
    EXPECT_DOUBLE_EQ(f.wall(0), f.w1) << "GetWall" << f.name;
    EXPECT_DOUBLE_EQ(f.slab(0), f.s1) << "GetSlab" << f.name;
  }
  EXPECT_EQ(Text(GetWallName, 1), "W2");
  EXPECT_EQ(Text(GetWallGUID, 0), "0W1xxxxxxxxxxxxxxxxxxx");
  EXPECT_EQ(Text(GetSlabName, 0), "S1");
  EXPECT_EQ(Text(GetWallGUID, 1), kUntouched);  // GlobalId unset
  // Index/Total: W1 0/5, W2 5/4, W3 and W4 none (W3's depth is read).
  const int walls[] = {GetWallIndex(0), GetWallTotal(0), GetWallIndex(1), GetWallTotal(1),
                       GetWallIndex(2), GetWallTotal(2), GetWallIndex(3), GetWallTotal(3)};
  EXPECT_EQ(std::vector<int>(walls, walls + 8), (std::vector<int>{0, 5, 5, 4, 0, 0, 0, 0}));
  EXPECT_DOUBLE_EQ(GetWallExtrudedDepth(2), 2.5);
  EXPECT_DOUBLE_EQ(GetWallExtrudedDepth(3), 0.0);
  std::vector<double> w2;
  for (int k = 0; k < GetWallTotal(1); ++k) {
    w2.push_back(GetWallX(GetWallIndex(1) + k));
    w2.push_back(GetWallY(GetWallIndex(1) + k));
  }
  EXPECT_EQ(w2, (std::vector<double>{0, 0, 0, 5, 0.2, 5, 0.2, 0}));
  EXPECT_DOUBLE_EQ(GetWallX(2), 4.0);
  EXPECT_DOUBLE_EQ(GetWallY(2), 0.3);
  // A point carries no GlobalId or Name: the blank default.
  EXPECT_EQ(Text(GetWallPointGUID, 3), " ");
  EXPECT_EQ(Text(GetWallPointName, 3), " ");
  EXPECT_EQ(Text(GetSlabPointGUID, 0), " ");
  EXPECT_EQ(Text(GetSlabPointName, 0), " ");
  const int slabs[] = {GetSlabIndex(0), GetSlabTotal(0), GetSlabIndex(1), GetSlabTotal(1)};
  EXPECT_EQ(std::vector<int>(slabs, slabs + 4), (std::vector<int>{0, 4, 0, 0}));
  EXPECT_DOUBLE_EQ(GetSlabExtrudedDepth(1), 0.3);
  EXPECT_DOUBLE_EQ(GetSlabX(2), 6.0);
  EXPECT_DOUBLE_EQ(GetSlabY(2), 4.0);
}

TEST_F(BuildingImportTest, ProxyElementsWithBrepPoints) {
  BuildTwoStoreys();
  Import();
  // P1: storey (0,2,0), world (1,0,0), its own (2,2,0) with zero axes.
  double (*const p1[])(int) = {GetGeneralStartx, GetGeneralStarty, GetGeneralStartz, GetGeneralAxis3,
                               GetGeneralRef1, GetGeneralWidth, GetGeneralHeight, GetGeneralLength,
                               GetGeneralCornerPointX, GetGeneralCornerPointY, GetGeneralCornerPointZ};
  std::vector<double> values;
  for (auto get : p1) values.push_back(get(0));
  EXPECT_EQ(values, (std::vector<double>{3, 4, 0, 0, 0, 1, 2, 3, 7, 8, 9}));
  const int index[] = {GetGeneralIndex(0), GetGeneralTotal(0), GetGeneralIndex(1), GetGeneralTotal(1)};
  EXPECT_EQ(std::vector<int>(index, index + 4), (std::vector<int>{0, 7, 7, 3}));
  EXPECT_DOUBLE_EQ(GetGeneralStartz(1), 3.5);
  EXPECT_DOUBLE_EQ(GetGeneralAxis3(1), 1.0);
  // Points in face and loop order, the rest of the pool zero.
  const double points[] = {GetGeneralX(2), GetGeneralY(2), GetGeneralZ(4), GetGeneralX(5),
                           GetGeneralY(9), GetGeneralZ(9), GetGeneralX(10)};
  EXPECT_EQ(std::vector<double>(points, points + 7), (std::vector<double>{1, 1, 1, 1, 6, 5, 0}));
}

TEST_F(BuildingImportTest, FileIdsAreInstanceNumbersAndTraceNamesEveryEntity) {
  Builder b(design_);
  b.element("IfcBeam", "first", nullptr, nullptr, nullptr);
  b.point({1, 2});
  b.element("IfcBeam", "second", nullptr, nullptr, nullptr);
  b.select<IfcAxis2Placement>("IfcAxis2Placement")->_IfcAxis2Placement3D(b.axes({0, 0}, nullptr, nullptr));
  ASSERT_TRUE(design_->save()) << out_.text();  // numbers the instances from 10
  test::CapturedStream trace;
  CountImportObjects(design_);
  FillImportTables(design_, trace.get());
  // Extent by extent, each in creation order; no line for the select.
  EXPECT_EQ(trace.text(),
            "Name: IfcBeam\nName: IfcBeam\nName: IfcCartesianPoint\nName: IfcCartesianPoint\n"
            "Name: IfcAxis2Placement3D\n");
  EXPECT_EQ(GetBeamFileID(0), 10);
  EXPECT_EQ(GetBeamFileID(1), 11);
  EXPECT_EQ(Text(GetBeamName, 1), "second");
  EXPECT_EQ(Text(GetBeamGUID, 1), kUntouched);
}

TEST_F(BuildingImportTest, PlacementChains) {
  Builder b(design_);
  // Nearest to farthest, then the placement itself; a placement without
  // Axis adds nothing unless the proxy rule applies.
  IfcLocalPlacement* root = b.local(nullptr, b.upright({10, 0, 0}));
  IfcLocalPlacement* bare = b.local(root, b.axes({0, 20, 0}, nullptr, nullptr));
  IfcLocalPlacement* own = b.local(bare, b.axes({0, 0, 30}, b.direction({0, 1, 0}), nullptr));
  auto frame = [](const PlacementFrame& f) {
    return std::vector<double>{f.start[0], f.start[1], f.start[2], f.axis[0], f.axis[1], f.axis[2],
                               f.ref[0],   f.ref[1],   f.ref[2]};
  };
  EXPECT_EQ(frame(ComposePlacement(own, true)), (std::vector<double>{10, 0, 30, 0, 1, 0, 0, 0, 0}));
  EXPECT_EQ(frame(ComposePlacement(own, false)), (std::vector<double>{10, 20, 30, 0, 1, 0, 0, 0, 0}));
  // A chain that loops back is followed once around.
  IfcLocalPlacement* a = b.local(nullptr, b.upright({1, 0, 0}));
  IfcLocalPlacement* c = b.local(a, b.upright({0, 1, 0}));
  IfcLocalPlacement* d = b.local(c, b.upright({0, 0, 1}));
  a->PlacementRelTo(c);
  EXPECT_EQ(frame(ComposePlacement(d, true)), (std::vector<double>{1, 1, 1, 0, 0, 1, 1, 0, 0}));
  d->PlacementRelTo(d);
  EXPECT_EQ(frame(ComposePlacement(d, true)), (std::vector<double>{0, 0, 1, 0, 0, 1, 1, 0, 0}));
  // Not a local placement, or a 2D relative placement: nothing, silently.
  EXPECT_EQ(ComposePlacement(b.point({1, 1, 1}), false).start[0], 0.0);
  IfcAxis2Placement2D* flat = b.entity<IfcAxis2Placement2D>("IfcAxis2Placement2D");
  flat->Location(b.point({4, 4}));
  IfcLocalPlacement* p2 = b.entity<IfcLocalPlacement>("IfcLocalPlacement");
  p2->RelativePlacement(b.select<IfcAxis2Placement>("IfcAxis2Placement"));
  p2->RelativePlacement()->_IfcAxis2Placement2D(flat);
  EXPECT_EQ(ComposePlacement(p2, false).start[0], 0.0);
  EXPECT_EQ(out_.text().find("Cannot typecast"), std::string::npos) << out_.text();
}

TEST_F(BuildingImportTest, ExportedCensusAndFillByDesignName) {
  BuildTwoStoreys();
  std::string name = "storeys";
  EXPECT_EQ(FindTotalObjects(&name[0]), -1);
  EXPECT_EQ(ImportDesign(), design_);
  EXPECT_EQ(Counters(), kCensus);
  const std::string lines = Traced([&] { EXPECT_EQ(CheckNumber(12345, &name[0]), -1); });
  EXPECT_EQ(Counters(), kFilled);
  EXPECT_EQ(Text(GetWallName, 1), "W2");
  size_t count = 0, beams = 0, entities = 0;
  for (size_t at = lines.find("Name: "); at != std::string::npos; at = lines.find("Name: ", at + 1)) {
    ++count;
    beams += lines.compare(at, 14, "Name: IfcBeam\n") == 0;
  }
  for (TarnExtent* e = design_->dflt_section()->firstExtent(); e != nullptr; e = e->next())
    if (e->domain()->isEntity()) entities += e->count();
  EXPECT_EQ(count, entities);
  EXPECT_EQ(beams, 2u);

  EXPECT_EQ(ReadAllTogether(7, -7), -1);
  EXPECT_EQ(Counters(), kFilled);
  // Numbers outlive a shutdown; the text of the released design is no
  // longer handed out, the blank default still is.
  EXPECT_EQ(ShutDown(), -1);
  EXPECT_EQ(Text(GetWallName, 1), kUntouched);
  EXPECT_EQ(Text(GetWallPointGUID, 0), " ");
  EXPECT_DOUBLE_EQ(GetWallStartz(1), 3.5);
}

TEST_F(BuildingImportTest, AnalysisKindsFollowTheBuildingPasses) {
  BuildTwoStoreys();
  Builder b(design_);
  b.entity<IfcStructuralCurveMember>("IfcStructuralCurveMember");
  b.entity<IfcStructuralCurveMember>("IfcStructuralCurveMember");
  std::string name = "storeys";
  FindTotalObjects(&name[0]);
  EXPECT_EQ(GetTotalBeams(), 2);
  EXPECT_EQ(GetNumberStrCurveMembers(), 2);
  CheckNumber(0, &name[0]);
  EXPECT_EQ(GetTotalBeams(), 1);  // after a fill: records - 1
  EXPECT_EQ(GetNumberStrCurveMembers(), 1);
  // A file that cannot be had empties both kinds of table.
  FindTotalObjects(nullptr);
  CheckNumber(0, nullptr);
  EXPECT_EQ(GetTotalBeams(), -1);
  EXPECT_EQ(GetNumberStrCurveMembers(), -1);
  // The analysis-model calls: census, then the fill of one model.
  Import();
  ResetBuildingCounters(0);
  EXPECT_EQ(Counters(), std::vector<int>(7, 0));
  EXPECT_DOUBLE_EQ(GetBeamStartz(0), 3.0);  // the tables stay
  ResetBuildingCounters(-1);
  EXPECT_EQ(Counters(), std::vector<int>(7, -1));
  EXPECT_DOUBLE_EQ(GetBeamStartz(0), 0.0);
}

TEST_F(BuildingImportTest, CallsOutOfOrderMissingFilesAndFullTables) {
  // Getters before any fill: zeros, buffers untouched.
  EXPECT_DOUBLE_EQ(GetBeamStartx(0), 0.0);
  EXPECT_DOUBLE_EQ(GetGeneralZ(5), 0.0);
  EXPECT_EQ(GetWallTotal(0), 0);
  EXPECT_EQ(Text(GetSlabName, 0), kUntouched);
  Import();  // nothing in the design yet
  EXPECT_EQ(Counters(), std::vector<int>(7, -1));

  BuildTwoStoreys();
  CountImportObjects(design_);
  std::string missing = dir_.file("no_such_model.ifc");
  for (char* file : {static_cast<char*>(nullptr), &missing[0]}) {
    EXPECT_EQ(FindTotalObjects(file), -1);
    EXPECT_EQ(Counters(), std::vector<int>(7, 0));
    EXPECT_EQ(CheckNumber(0, file), -1);
    EXPECT_EQ(Counters(), std::vector<int>(7, -1));
  }
  // A second fill without a census takes its capacities from counters that
  // now hold last indices: the last record of each kind is dropped (W2 gets
  // the 3 points left), and no counter passes its table's end.
  Import();
  FillImportTables(design_, nullptr);
  EXPECT_EQ(Counters(), (std::vector<int>{0, -1, 2, 7, 0, 2, 0}));
  EXPECT_EQ(Text(GetBeamName, 0), "B1");
  EXPECT_EQ(GetWallTotal(1), 3);
  EXPECT_EQ(GetGeneralTotal(0), 7);

  // A third proxy with a brep of 400 points: the pool of 3 * 128 takes
  // what is left after the 10 points of P1 and P2.
  Points many;
  for (int i = 0; i < 400; ++i) many.push_back({1.0 * i, 0, 0});
  Builder b(design_);
  b.element("IfcBuildingElementProxy", nullptr, nullptr, nullptr, b.shape({b.brep("Body", {many})}));
  Import();
  EXPECT_EQ(GetTotalGenerals(), 2);
  EXPECT_EQ(GetGeneralTotal(2), 3 * kProxyPointsPerElement - 10);
  EXPECT_DOUBLE_EQ(GetGeneralX(3 * kProxyPointsPerElement - 1), 3 * kProxyPointsPerElement - 11.0);
  EXPECT_DOUBLE_EQ(GetGeneralX(3 * kProxyPointsPerElement), 0.0);
}

// A model written as an .ifc file and imported through the exported calls
// by its file name.
TEST_F(BuildingImportTest, ImportsAWrittenFileByName) {
  BuildTwoStoreys();
  ASSERT_TRUE(design_->save()) << out_.text();
  const int b1 = Id(b1_);
  const int w2 = Id(w2_);
  IfcExtrudedAreaSolid* solid = typecast<IfcExtrudedAreaSolid>(
      typecast<IfcShapeRepresentation>(w2_->Representation()->Representations()->get(0))->Items()->get(0));
  IfcPolyline* outline = typecast<IfcPolyline>(typecast<IfcArbitraryClosedProfileDef>(solid->SweptArea())->OuterCurve());
  const int w2Point = Id(outline->Points()->get(0));
  std::string path = WriteAndForget(design_);
  EXPECT_EQ(FindTotalObjects(&path[0]), -1);
  ASSERT_NE(ImportDesign(), nullptr) << out_.text();
  EXPECT_EQ(Counters(), kCensus);
  EXPECT_NE(Traced([&] { EXPECT_EQ(CheckNumber(0, &path[0]), -1); }).find("Name: IfcWallStandardCase\n"),
            std::string::npos);
  EXPECT_EQ(Counters(), kFilled);
  EXPECT_EQ(GetBeamFileID(0), b1);
  EXPECT_EQ(GetWallFileID(1), w2);
  EXPECT_EQ(GetWallpointFileID(5), w2Point);
  EXPECT_EQ(Text(GetBeamName, 0), "B1");
  EXPECT_EQ(Text(GetBeamGUID, 0), kB1Guid);
  EXPECT_EQ(Text(GetBeamName, 1), kUntouched);
  const double values[] = {GetBeamStartz(0), GetBeamHeight(0), GetWallY(6), GetGeneralStartx(0), GetSlabLength(0)};
  EXPECT_EQ(std::vector<double>(values, values + 5), (std::vector<double>{3, 0.5, 5, 3, 4}));
  EXPECT_EQ(GetGeneralTotal(0), 7);
}

}  // namespace
}  // namespace korva
