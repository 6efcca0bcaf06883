// Export then import through the exported functions: what the host writes
// with the building and analysis-model exports is what it reads back from
// the census and fill, element by element, in the export's order.
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "import/import_fixture.h"

namespace korva {
namespace {

// A text argument of the exported functions.
char* Arg(const char* s) { return const_cast<char*>(s); }

// The exports shut the library down at their end: the tests capture its
// messages again before they import.
class RoundTripTest : public test::ImportTest {
 protected:
  std::string file(const char* name) { return dir_.file(name); }
};

// Four kinds of element, each a closed outline extruded along its own axis
// at its own location; arrays from index 1, the running number e going
// through columns, beams, slabs, walls.
struct Building {
  int columns = 2, beams = 1, slabs = 1, walls = 2, storeys = 2;
  std::vector<double> elevation = {0, 0.0, 3.5};
  std::vector<double> x = {0, 0, 0.4, 0.4, 0, 0, 0.3, 0.3, 0, 0.3, 0.3, 0, 8, 8, 0, 0, 5, 5, 0, 4, 4};
  std::vector<double> y = {0, 0, 0, 0.4, 0.4, 0, 0, 0.5, 0, 0, 0.5, 0, 0, 6, 6, 0, 0, 0.2, 0, 0, 0.25};
  std::vector<int> columnStart = {0, 1, 5}, columnPoints = {0, 4, 3}, columnStorey = {0, 1, 2};
  std::vector<int> beamStart = {0, 8}, beamPoints = {0, 3}, beamStorey = {0, 2};
  std::vector<int> slabStart = {0, 11}, slabPoints = {0, 4}, slabStorey = {0, 2};
  std::vector<int> wallStart = {0, 15}, wallPoints = {0, 4}, wallStorey = {0, 1};
  // e = 1, 2 columns; 3 beam; 4 slab; 5, 6 walls (the second wall reuses
  // points 18..20 as a triangle).
  std::vector<double> depth = {0, 3.0, 3.5, 6.0, 0.25, 2.8, 2.7};
  std::vector<double> lx = {0, 1, 2, 0, 0, 0, 10}, ly = {0, 2, 3, 3, 0, 5, 11}, lz = {0, 0, 3.5, 6.5, 3.25, 0, 0.5};
  std::vector<double> ax = {0, 0, 0, 1, 0, 0, 0}, ay = {0, 0, 0, 0, 0, 0, 0}, az = {0, 1, 1, 0, 1, 1, 1};
  std::vector<double> rx = {0, 1, 0, 0, 1, 1, 0}, ry = {0, 0, 1, 1, 0, 0, 1}, rz = {0, 0, 0, 0, 0, 0, 0};

  void write(const std::string& folder) {
    wallStart.push_back(18);
    wallPoints.push_back(3);
    wallStorey.push_back(2);
    ExportOpenFileWithStoryesAndSlabsWalls(
        Arg("building.ifc"), Arg(folder.c_str()), Arg("d"), Arg("o"), Arg("a"), Arg("org"), Arg("auth"),
        Arg("app"), -1, 15, columns, beams, storeys, slabs, walls, elevation.data(), x.data(), y.data(),
        columnStart.data(), columnPoints.data(), columnStorey.data(), beamStart.data(), beamPoints.data(),
        beamStorey.data(), slabStart.data(), slabPoints.data(), slabStorey.data(), wallStart.data(),
        wallPoints.data(), wallStorey.data(), depth.data(), lx.data(), ly.data(), lz.data(), ax.data(), ay.data(),
        az.data(), rx.data(), ry.data(), rz.data());
  }
};

TEST_F(RoundTripTest, BuildingComesBackElementByElement) {
  Building b;
  b.write(dir_.path());
  std::string path = file("building.ifc");
  ASSERT_TRUE(test::FileExists(path));
  CaptureMessages();
  const size_t exported = out_.text().size();  // the export's own messages
  FindTotalObjects(&path[0]);
  EXPECT_EQ(GetTotalColumns(), 2);
  EXPECT_EQ(GetTotalBeams(), 1);
  EXPECT_EQ(GetTotalSlabs(), 1);
  EXPECT_EQ(GetTotalWalls(), 2);
  CheckNumber(0, &path[0]);
  ASSERT_EQ(GetTotalColumns(), 1);  // after the fill: records - 1
  ASSERT_EQ(GetTotalBeams(), 0);
  ASSERT_EQ(GetTotalSlabs(), 0);
  ASSERT_EQ(GetTotalWalls(), 1);
  // The fill found the census's design in memory: the file was read once.
  const std::string log = out_.text().substr(exported);
  EXPECT_NE(log.find("Reading: " + path), std::string::npos) << log;
  EXPECT_EQ(log.find("Reading: " + path), log.rfind("Reading: " + path)) << log;
  EXPECT_EQ(log.find("warning"), std::string::npos) << log;

  struct Getters {
    double (*x)(int), (*y)(int), (*z)(int), (*a1)(int), (*a2)(int), (*a3)(int), (*r1)(int), (*r2)(int), (*r3)(int);
    double (*depth)(int);
  };
  const Getters column = {GetColumnStartx, GetColumnStarty, GetColumnStartz, GetColumnAxis1, GetColumnAxis2,
                          GetColumnAxis3,  GetColumnRef1,   GetColumnRef2,   GetColumnRef3,  GetColumnExtrudedDepth};
  const Getters beam = {GetBeamStartx, GetBeamStarty, GetBeamStartz, GetBeamAxis1, GetBeamAxis2,
                        GetBeamAxis3,  GetBeamRef1,   GetBeamRef2,   GetBeamRef3,  GetBeamExtrudedDepth};
  const Getters slab = {GetSlabStartx, GetSlabStarty, GetSlabStartz, GetSlabAxis1, GetSlabAxis2,
                        GetSlabAxis3,  GetSlabRef1,   GetSlabRef2,   GetSlabRef3,  GetSlabExtrudedDepth};
  const Getters wall = {GetWallStartx, GetWallStarty, GetWallStartz, GetWallAxis1, GetWallAxis2,
                        GetWallAxis3,  GetWallRef1,   GetWallRef2,   GetWallRef3,  GetWallExtrudedDepth};
  // (getters, record index, running number e)
  const std::vector<std::tuple<const Getters*, int, int>> elements = {
      {&column, 0, 1}, {&column, 1, 2}, {&beam, 0, 3}, {&slab, 0, 4}, {&wall, 0, 5}, {&wall, 1, 6}};
  for (const auto& [g, i, e] : elements) {
    SCOPED_TRACE("element e=" + std::to_string(e));
    EXPECT_DOUBLE_EQ(g->x(i), b.lx[e]);
    EXPECT_DOUBLE_EQ(g->y(i), b.ly[e]);
    EXPECT_DOUBLE_EQ(g->z(i), b.lz[e]);
    EXPECT_DOUBLE_EQ(g->a1(i), b.ax[e]);
    EXPECT_DOUBLE_EQ(g->a2(i), b.ay[e]);
    EXPECT_DOUBLE_EQ(g->a3(i), b.az[e]);
    EXPECT_DOUBLE_EQ(g->r1(i), b.rx[e]);
    EXPECT_DOUBLE_EQ(g->r2(i), b.ry[e]);
    EXPECT_DOUBLE_EQ(g->r3(i), b.rz[e]);
    EXPECT_DOUBLE_EQ(g->depth(i), b.depth[e]);
  }

  // Outlines of slabs and walls: the host's points, closed by repeating the
  // first one.
  auto outline = [&](int (*index)(int), int (*total)(int), double (*px)(int), double (*py)(int), int record,
                     int start, int count) {
    SCOPED_TRACE("outline from host point " + std::to_string(start));
    ASSERT_EQ(total(record), count + 1);
    const int first = index(record);
    for (int p = 0; p <= count; ++p) {
      const int host = start + (p % count);
      EXPECT_DOUBLE_EQ(px(first + p), b.x[host]) << p;
      EXPECT_DOUBLE_EQ(py(first + p), b.y[host]) << p;
    }
  };
  outline(GetSlabIndex, GetSlabTotal, GetSlabX, GetSlabY, 0, 11, 4);
  outline(GetWallIndex, GetWallTotal, GetWallX, GetWallY, 0, 15, 4);
  outline(GetWallIndex, GetWallTotal, GetWallX, GetWallY, 1, 18, 3);
}

TEST_F(RoundTripTest, AnalysisModelComesBackNodeByNodeAndMemberByMember) {
  ExportAnalysisModelOpenFile(Arg("frame.ifc"), Arg(""), Arg("d"), Arg("o"), Arg("a"), Arg("org"),
                              Arg("auth"), Arg("app"), -1, 15);
  std::vector<double> elevations = {0, 0.0, 3.0};
  ExportAnalysisModelBuidling(2, elevations.data());
  ExportAnalysisModelAddAnalysisModel(Arg("Frame A"), Arg("two storeys"));
  struct Node { int storey; double x, y, z; int position; };
  std::vector<Node> nodes = {{1, 0, 0, 0, 0}, {1, 6, 0, 0, 0}, {2, 0, 0, 3, 0}, {2, 6, 0, 3, 0}, {2, 6, 4, 3, 0}};
  for (Node& n : nodes) n.position = ExportAnalysisModelAddOnePointConnection(Arg("N"), n.storey, n.x, n.y, n.z);
  // Two columns and a beam (index into nodes of start and end).
  const std::vector<std::pair<int, int>> members = {{0, 2}, {1, 3}, {2, 3}};
  for (const auto& [s, t] : members)
    ExportAnalysisModelAddOneCurveMember(Arg("M"), nodes[t].storey, nodes[s].storey, nodes[t].storey,
                                         nodes[s].position, nodes[t].position, nodes[s].x, nodes[s].y, nodes[s].z,
                                         nodes[t].x, nodes[t].y, nodes[t].z);
  const int corner[3] = {2, 3, 4};
  int storeys[3], positions[3];
  double xs[3], ys[3], zs[3];
  for (int i = 0; i < 3; ++i) {
    const Node& n = nodes[corner[i]];
    storeys[i] = n.storey;
    positions[i] = n.position;
    xs[i] = n.x;
    ys[i] = n.y;
    zs[i] = n.z;
  }
  ExportAnalysisModelAddOneSurfaceMember(Arg("S"), 2, 3, storeys, positions, xs, ys, zs);
  ExportAnalysisModelCloseFile(Arg("frame.ifc"), Arg(dir_.path().c_str()));

  std::string path = file("frame.ifc");
  ASSERT_TRUE(test::FileExists(path));
  CaptureMessages();
  FindTotalAnaModels(&path[0]);
  ASSERT_EQ(GetAnaModelAvailable(), -1);
  ASSERT_EQ(GetTotalAnaModels(), 0);  // one record
  EXPECT_EQ(Text(GetAnaModelName, 0), "Frame A");
  CheckAnaModel(0, GetAnaModelFileID(0), &path[0]);
  ASSERT_EQ(GetNumberStrPointConnections(), 4);
  ASSERT_EQ(GetNumberStrCurveMembers(), 2);
  ASSERT_EQ(GetNumberStrSurfaceMembers(), 0);

  // Nodes in export order, at the host's coordinates.
  std::map<int, int> nodeOfFileId;
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE("node " + std::to_string(i));
    EXPECT_DOUBLE_EQ(GetStrPointConnectionVertexX1(i), nodes[i].x);
    EXPECT_DOUBLE_EQ(GetStrPointConnectionVertexY1(i), nodes[i].y);
    EXPECT_DOUBLE_EQ(GetStrPointConnectionVertexZ1(i), nodes[i].z);
    nodeOfFileId[GetStrPointConnectionFileID(i)] = i;
  }
  ASSERT_EQ(nodeOfFileId.size(), 5u);
  // Members: their edge ends and the nodes their connections name.
  for (int m = 0; m < 3; ++m) {
    SCOPED_TRACE("member " + std::to_string(m));
    const Node& s = nodes[members[m].first];
    const Node& t = nodes[members[m].second];
    EXPECT_DOUBLE_EQ(GetStrCurveMemberEdgeX1(m), s.x);
    EXPECT_DOUBLE_EQ(GetStrCurveMemberEdgeY1(m), s.y);
    EXPECT_DOUBLE_EQ(GetStrCurveMemberEdgeZ1(m), s.z);
    EXPECT_DOUBLE_EQ(GetStrCurveMemberEdgeX2(m), t.x);
    EXPECT_DOUBLE_EQ(GetStrCurveMemberEdgeY2(m), t.y);
    EXPECT_DOUBLE_EQ(GetStrCurveMemberEdgeZ2(m), t.z);
    ASSERT_EQ(GetStrCurveMemberNumberStructuralConnection(m), 1);  // the last entry's index
    EXPECT_EQ(nodeOfFileId[GetStrCurveMemberStructuralConnection(m, 0)], members[m].first);
    EXPECT_EQ(nodeOfFileId[GetStrCurveMemberStructuralConnection(m, 1)], members[m].second);
  }
  // The surface member: its corners and the nodes they are tied to.
  ASSERT_EQ(GetStrSurfaceMemberNumberStructuralConnection(0), 2);
  ASSERT_GE(GetStrSurfaceMemberNumberPts(0), 3);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE("corner " + std::to_string(i));
    EXPECT_DOUBLE_EQ(GetStrSurfaceMemberPx(0, i), xs[i]);
    EXPECT_DOUBLE_EQ(GetStrSurfaceMemberPy(0, i), ys[i]);
    EXPECT_DOUBLE_EQ(GetStrSurfaceMemberPz(0, i), zs[i]);
    EXPECT_EQ(nodeOfFileId[GetStrSurfaceMemberStructuralConnection(0, i)], corner[i]);
  }
}

// A model of some thousands of items, read through every table, twice in a
// row without a new census (the sanitizer build catches any overrun).
TEST_F(RoundTripTest, LargeAnalysisModelFillsEveryTableAndRefills) {
  const int storeys = 8, perStorey = 250, across = 25;
  ExportAnalysisModelOpenFile(Arg("large.ifc"), Arg(""), Arg("d"), Arg("o"), Arg("a"), Arg("org"),
                              Arg("auth"), Arg("app"), -1, 15);
  std::vector<double> elevations(storeys + 1);
  for (int s = 1; s <= storeys; ++s) elevations[s] = 3.0 * s;
  ExportAnalysisModelBuidling(storeys, elevations.data());
  ExportAnalysisModelAddAnalysisModel(Arg("large"), Arg(""));
  std::vector<std::vector<int>> position(storeys + 1, std::vector<int>(perStorey));
  for (int s = 1; s <= storeys; ++s)
    for (int n = 0; n < perStorey; ++n)
      position[s][n] = ExportAnalysisModelAddOnePointConnection(Arg("N"), s, n % across, n / across, elevations[s]);
  int curves = 0, surfaces = 0;
  for (int s = 1; s <= storeys; ++s)
    for (int n = 0; n + across < perStorey; ++n) {
      const double x = n % across, y = n / across, z = elevations[s];
      ExportAnalysisModelAddOneCurveMember(Arg("B"), s, s, s, position[s][n], position[s][n + across], x, y, z, x,
                                           y + 1, z);
      ++curves;
      if (n % 5 == 0 && n % across + 1 < across) {
        int st[4] = {s, s, s, s};
        int pos[4] = {position[s][n], position[s][n + 1], position[s][n + across + 1], position[s][n + across]};
        double xs[4] = {x, x + 1, x + 1, x}, ys[4] = {y, y, y + 1, y + 1}, zs[4] = {z, z, z, z};
        ExportAnalysisModelAddOneSurfaceMember(Arg("S"), s, 4, st, pos, xs, ys, zs);
        ++surfaces;
      }
    }
  ExportAnalysisModelCloseFile(Arg("large.ifc"), Arg(dir_.path().c_str()));

  std::string path = file("large.ifc");
  CaptureMessages();
  FindTotalAnaModels(&path[0]);
  ASSERT_EQ(GetTotalAnaModels(), 0);
  EXPECT_EQ(GetNumberStrPointConnections(), storeys * perStorey);
  EXPECT_EQ(GetNumberStrCurveMembers(), curves);
  EXPECT_EQ(GetNumberStrSurfaceMembers(), surfaces);
  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE("fill " + std::to_string(pass + 1));
    CheckAnaModel(0, GetAnaModelFileID(0), &path[0]);
    ASSERT_EQ(GetNumberStrPointConnections(), storeys * perStorey - 1);
    ASSERT_EQ(GetNumberStrCurveMembers(), curves - 1);
    ASSERT_EQ(GetNumberStrSurfaceMembers(), surfaces - 1);
    const int last = GetNumberStrCurveMembers();
    EXPECT_DOUBLE_EQ(GetStrCurveMemberEdgeY2(last), (perStorey - 1) / across);
    EXPECT_EQ(GetStrCurveMemberNumberStructuralConnection(last), 1);
    const int s = GetNumberStrSurfaceMembers();
    EXPECT_EQ(GetStrSurfaceMemberNumberStructuralConnection(s), 3);
    EXPECT_DOUBLE_EQ(GetStrSurfaceMemberPz(s, 3), elevations[storeys]);
    EXPECT_DOUBLE_EQ(GetStrPointConnectionVertexZ1(storeys * perStorey - 1), elevations[storeys]);
  }
}

}  // namespace
}  // namespace korva
