// The structural analysis import on IFC2X3 files as other tools write them:
// a small frame written here as exchange-file text, read through the
// exported census and fill.  Each way of writing the geometry, the
// supports, the loads and the materials that another tool uses is read,
// and where a file also holds what the import read before (a labelled
// representation, a polygon loop, a relationship's support, a mechanical
// steel material) that value is the one reported.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "import/import_fixture.h"
#include "support/test_util.h"

namespace korva {
namespace {

// The frame: nodes #21 (0,0,0), #22 (4,0,0), #23 (4,3,0), #24 (0,3,0); a
// beam #40 from #21 to #22 and a column #41 from #22 to #23; a slab #50
// on the four nodes; an analysis model #90 grouping them.  The
// representation labels are the tool's; `extra` adds records (numbers
// from 200) that a test needs.
struct Frame {
  std::string vertexLabel = "Vertex", edgeLabel = "Edge", faceLabel = "Face";
  std::string slabBound = "#61";  // the slab's face bounds
  std::string beamShape = "(#42)";  // the beam's representations
  std::string nodeCondition = "$";  // node #21's own AppliedCondition
  std::string beamEndCondition = "$";  // the condition of the beam's connection to #21
  std::string extra;

  std::string text(const char* schema = "IFC2X3") const {
    auto node = [&](int n, const char* xyz) {
      const std::string i = std::to_string(n);
      return "#1" + i + "=IFCCARTESIANPOINT((" + xyz + "));\n#3" + i + "=IFCVERTEXPOINT(#1" + i + ");\n#4" + i +
             "1=IFCTOPOLOGYREPRESENTATION(#2,$,'" + vertexLabel + "',(#3" + i + "));\n#4" + i +
             "2=IFCPRODUCTDEFINITIONSHAPE($,$,(#4" + i + "1));\n#2" + i + "=IFCSTRUCTURALPOINTCONNECTION('node" + i +
             "',$,'N" + i + "',$,$,$,#4" + i + "2," + (n == 1 ? nodeCondition : std::string("$")) + ");\n";
    };
    std::string t = std::string("ISO-10303-21;\nHEADER;\nFILE_DESCRIPTION((''),'2;1');\n") +
                    "FILE_NAME('frame','2024-01-01T00:00:00',(''),(''),'','','');\nFILE_SCHEMA(('" + schema +
                    "'));\nENDSEC;\nDATA;\n#1=IFCAXIS2PLACEMENT3D(#3,$,$);\n#3=IFCCARTESIANPOINT((0.,0.,0.));\n"
                    "#2=IFCGEOMETRICREPRESENTATIONCONTEXT($,'Model',3,1.E-5,#1,$);\n";
    t += node(1, "0.,0.,0.") + node(2, "4.,0.,0.") + node(3, "4.,3.,0.") + node(4, "0.,3.,0.");
    t += "#43=IFCEDGE(#31,#32);\n#42=IFCTOPOLOGYREPRESENTATION(#2,$,'" + edgeLabel + "',(#43));\n";
    t += "#44=IFCPRODUCTDEFINITIONSHAPE($,$," + beamShape + ");\n";
    t += "#40=IFCSTRUCTURALCURVEMEMBER('beam',$,'B',$,$,$,#44,.RIGID_JOINED_MEMBER.);\n";
    t += "#46=IFCEDGE(#32,#33);\n#45=IFCTOPOLOGYREPRESENTATION(#2,$,'" + edgeLabel + "',(#46));\n";
    t += "#47=IFCPRODUCTDEFINITIONSHAPE($,$,(#45));\n";
    t += "#41=IFCSTRUCTURALCURVEMEMBER('column',$,'C',$,$,$,#47,.RIGID_JOINED_MEMBER.);\n";
    t += "#60=IFCPOLYLOOP((#11,#12,#13,#14));\n#61=IFCFACEOUTERBOUND(#60,.T.);\n";
    t += "#62=IFCFACE((" + slabBound + "));\n#63=IFCTOPOLOGYREPRESENTATION(#2,$,'" + faceLabel + "',(#62));\n";
    t += "#64=IFCPRODUCTDEFINITIONSHAPE($,$,(#63));\n";
    t += "#50=IFCSTRUCTURALSURFACEMEMBER('slab',$,'S',$,$,$,#64,.SHELL.,0.2);\n";
    t += "#70=IFCRELCONNECTSSTRUCTURALMEMBER('r1',$,$,$,#40,#21," + beamEndCondition + ",$,$,$);\n";
    t += "#71=IFCRELCONNECTSSTRUCTURALMEMBER('r2',$,$,$,#40,#22,$,$,$,$);\n";
    t += "#72=IFCRELCONNECTSSTRUCTURALMEMBER('r3',$,$,$,#41,#22,$,$,$,$);\n";
    t += "#73=IFCRELCONNECTSSTRUCTURALMEMBER('r4',$,$,$,#41,#23,$,$,$,$);\n";
    t += "#90=IFCSTRUCTURALANALYSISMODEL('model',$,'M',$,$,.LOADING_3D.,$,$,$);\n";
    t += "#91=IFCRELASSIGNSTOGROUP('g',$,$,$,(#40,#41,#50,#21,#22,#23,#24),$,#90);\n";
    return t + extra + "ENDSEC;\nEND-ISO-10303-21;\n";
  }
};

class Ifc2x3AnalysisTest : public test::ImportTest {
 protected:
  // Writes the frame, runs the census and the fill of its model.
  void Import(const Frame& frame, const char* schema = "IFC2X3") {
    path_ = dir_.file(std::string("frame") + std::to_string(++files_) + ".ifc");
    dir_.write(path_.substr(dir_.path().size() + 1), frame.text(schema));
    std::vector<char> file(path_.begin(), path_.end());
    file.push_back('\0');
    FindTotalAnaModels(file.data());
    ASSERT_EQ(GetAnaModelFileID(0), 90) << out_.text();
    Traced([&] { CheckAnaModel(0, 90, file.data()); });
  }
  // The index of the curve member, point connection or surface member with
  // FileID `id` among the filled records, -1 when it is not there.
  static int Index(int (*fileId)(int), int count, int id) {
    for (int i = 0; i < count; ++i)
      if (fileId(i) == id) return i;
    return -1;
  }
  static int Member(int id) { return Index(GetStrCurveMemberFileID, 2, id); }
  static int Node(int id) { return Index(GetStrPointConnectionFileID, 4, id); }

  void ExpectBeamFromTo(double x1, double x2) {
    const int beam = Member(40);
    ASSERT_GE(beam, 0);
    EXPECT_EQ(GetStrCurveMemberEdgeX1(beam), x1);
    EXPECT_EQ(GetStrCurveMemberEdgeX2(beam), x2);
  }
  std::vector<double> SlabCorners(int coordinate) {
    double (*const getters[3])(int, int) = {GetStrSurfaceMemberPx, GetStrSurfaceMemberPy, GetStrSurfaceMemberPz};
    std::vector<double> v;
    for (int j = 0; j < GetStrSurfaceMemberNumberPts(0); ++j) v.push_back(getters[coordinate](0, j));
    return v;
  }

  std::string path_;
  int files_ = 0;
};

TEST_F(Ifc2x3AnalysisTest, LabelledTopologyAsBefore) {
  Import(Frame());
  ExpectBeamFromTo(0.0, 4.0);
  const int column = Member(41);
  ASSERT_GE(column, 0);
  EXPECT_EQ(GetStrCurveMemberEdgeY2(column), 3.0);
  EXPECT_EQ(GetStrPointConnectionVertexX1(Node(22)), 4.0);
  EXPECT_EQ(GetStrPointConnectionVertexY1(Node(23)), 3.0);
  EXPECT_EQ(SlabCorners(0), (std::vector<double>{0, 4, 4, 0}));
  EXPECT_EQ(SlabCorners(1), (std::vector<double>{0, 0, 3, 3}));
  // Each member is connected to its two nodes.
  EXPECT_EQ(GetStrCurveMemberNumberStructuralConnection(Member(40)), 1);
  EXPECT_EQ(GetStrCurveMemberStructuralConnection(Member(40), 1), 22);
}

TEST_F(Ifc2x3AnalysisTest, TopologyWhateverItsLabel) {
  Frame frame;
  frame.vertexLabel = frame.edgeLabel = frame.faceLabel = "Undefined";
  Import(frame);
  ExpectBeamFromTo(0.0, 4.0);
  EXPECT_EQ(GetStrCurveMemberEdgeY2(Member(41)), 3.0);
  EXPECT_EQ(GetStrPointConnectionVertexX1(Node(22)), 4.0);
  EXPECT_EQ(GetStrPointConnectionVertexY1(Node(24)), 3.0);
  EXPECT_EQ(SlabCorners(1), (std::vector<double>{0, 0, 3, 3}));
}

TEST_F(Ifc2x3AnalysisTest, ALabelledRepresentationWinsOverAnUnlabelledEdge) {
  // The beam's first representation is an unlabelled edge from #23 to #24;
  // the labelled one after it is the one read.
  Frame frame;
  frame.beamShape = "(#201,#42)";
  frame.extra = "#200=IFCEDGE(#33,#34);\n#201=IFCTOPOLOGYREPRESENTATION(#2,$,'Undefined',(#200));\n";
  Import(frame);
  ExpectBeamFromTo(0.0, 4.0);
  // Without the label, the first edge met is taken.
  frame.edgeLabel = "Undefined";
  Import(frame);
  ExpectBeamFromTo(4.0, 0.0);
}

TEST_F(Ifc2x3AnalysisTest, EdgeLoopCornersFollowTheEdgeOrientation) {
  // A face surface bounded by four oriented edges; the second runs against
  // its edge (#203 from #23 to #22), so it starts at the edge's end.
  Frame frame;
  frame.slabBound = "#210";
  frame.extra =
      "#202=IFCEDGE(#31,#32);\n#203=IFCEDGE(#33,#32);\n#204=IFCEDGE(#33,#34);\n#205=IFCEDGE(#34,#31);\n"
      "#206=IFCORIENTEDEDGE(*,*,#202,.T.);\n#207=IFCORIENTEDEDGE(*,*,#203,.F.);\n"
      "#208=IFCORIENTEDEDGE(*,*,#204,.T.);\n#209=IFCORIENTEDEDGE(*,*,#205,.T.);\n"
      "#211=IFCEDGELOOP((#206,#207,#208,#209));\n#210=IFCFACEBOUND(#211,.T.);\n";
  Import(frame);
  ASSERT_EQ(GetStrSurfaceMemberNumberPts(0), 4);
  EXPECT_EQ(SlabCorners(0), (std::vector<double>{0, 4, 4, 0}));
  EXPECT_EQ(SlabCorners(1), (std::vector<double>{0, 0, 3, 3}));
  // A polygon loop among the bounds is read before any edge loop, even
  // after it: the corners are the polygon's (#212 runs the other way).
  frame.slabBound = "#210,#213";
  frame.extra += "#212=IFCPOLYLOOP((#14,#13,#12));\n#213=IFCFACEBOUND(#212,.T.);\n";
  Import(frame);
  EXPECT_EQ(SlabCorners(0), (std::vector<double>{0, 4, 4}));
  EXPECT_EQ(SlabCorners(1), (std::vector<double>{3, 3, 0}));
}

TEST_F(Ifc2x3AnalysisTest, SupportOfTheConnectionItselfWhenNoRelationshipBringsOne) {
  Frame frame;
  frame.nodeCondition = "#220";
  frame.beamEndCondition = "$";
  frame.extra = "#220=IFCBOUNDARYNODECONDITION('own',1.,2.,3.,4.,5.,6.);\n"
                "#221=IFCBOUNDARYNODECONDITION('rel',10.,20.,30.,40.,50.,60.);\n";
  Import(frame);
  const int node = Node(21);
  ASSERT_GE(node, 0);
  EXPECT_EQ(GetStrPointConnectionUX(node), 1.0);
  EXPECT_EQ(GetStrPointConnectionRZ(node), 6.0);
  EXPECT_EQ(GetStrPointConnectionUX(Node(22)), -1.0);  // no support anywhere: the default
  // The relationship's condition, when there is one, is read as before.
  frame.beamEndCondition = "#221";
  Import(frame);
  EXPECT_EQ(GetStrPointConnectionUX(Node(21)), 10.0);
  EXPECT_EQ(GetStrPointConnectionRZ(Node(21)), 60.0);
  EXPECT_EQ(GetStrCurveMemberStructuralConnectionDx(Member(40), 0), 10.0);
}

TEST_F(Ifc2x3AnalysisTest, EccentricConnectionsConnectLikeTheirSupertype) {
  // The column's connection to #23 is eccentric and brings a support.
  Frame frame;
  frame.extra = "#230=IFCBOUNDARYNODECONDITION('ecc',7.,8.,9.,0.,0.,0.);\n"
                "#231=IFCCONNECTIONPOINTECCENTRICITY(#31,$,0.5,$,$);\n"
                "#232=IFCRELCONNECTSWITHECCENTRICITY('e1',$,$,$,#41,#24,#230,$,$,$,#231);\n";
  Import(frame);
  const int column = Member(41);
  ASSERT_GE(column, 0);
  ASSERT_EQ(GetStrCurveMemberNumberStructuralConnection(column), 2);
  EXPECT_EQ(GetStrCurveMemberStructuralConnection(column, 2), 24);
  EXPECT_EQ(GetStrCurveMemberStructuralConnectionDx(column, 2), 7.0);
  EXPECT_EQ(GetStrPointConnectionUZ(Node(24)), 9.0);
}

TEST_F(Ifc2x3AnalysisTest, VaryingLinearActionsAreLinearActions) {
  Frame frame;
  frame.extra =
      "#240=IFCSTRUCTURALLOADLINEARFORCE('q',0.,0.,-5.,$,$,$);\n"
      "#241=IFCSTRUCTURALLOADLINEARFORCE('q2',0.,0.,-7.,$,$,$);\n"
      "#242=IFCSTRUCTURALLINEARACTION('a1',$,'plain',$,$,$,$,#240,.GLOBAL_COORDS.,.F.,$,.TRUE_LENGTH.);\n"
      "#243=IFCSTRUCTURALLINEARACTIONVARYING('a2',$,'varying',$,$,$,$,#241,.GLOBAL_COORDS.,.F.,$,"
      ".TRUE_LENGTH.,#244,(#241));\n#244=IFCSHAPEASPECT((#42),$,$,.T.,$);\n"
      "#245=IFCSTRUCTURALLOADGROUP('lg',$,'LG',$,$,.LOAD_CASE.,.PERMANENT_G.,.DEAD.,1.,$);\n"
      "#246=IFCRELASSIGNSTOGROUP('ga',$,$,$,(#242,#243),$,#245);\n";
  Import(frame);
  EXPECT_EQ(GetNumberStrLinearActions(), 1);  // two actions: last index
  EXPECT_EQ(GetStrLinearActionFileID(0), 242);
  EXPECT_EQ(GetStrLinearActionFz(0), -5.0);
  EXPECT_EQ(GetStrLinearActionFileID(1), 243);
  EXPECT_EQ(GetStrLinearActionFz(1), -7.0);
  EXPECT_EQ(GetStrLinearActionLoadGroupID(1), 245);
}

TEST_F(Ifc2x3AnalysisTest, MaterialValuesFromMechanicalAndExtendedProperties) {
  Frame frame;
  frame.extra =
      "#250=IFCMATERIAL('S355');\n#251=IFCMATERIAL('C30');\n#252=IFCMATERIAL('Timber');\n"
      "#253=IFCMATERIAL('Mech');\n"
      // Steel as a mechanical steel material: read as before.
      "#254=IFCMECHANICALSTEELMATERIALPROPERTIES(#250,$,210000.,$,0.3,$,355.,$,$,$,$,$,$);\n"
      // Steel, concrete and a general material as extended properties.
      "#255=IFCPROPERTYSINGLEVALUE('YoungModulus',$,IFCMODULUSOFELASTICITYMEASURE(200000.),$);\n"
      "#256=IFCPROPERTYSINGLEVALUE('YieldStress',$,IFCPRESSUREMEASURE(345.),$);\n"
      "#257=IFCPROPERTYSINGLEVALUE('ThermalExpansionCoefficient',$,"
      "IFCTHERMALEXPANSIONCOEFFICIENTMEASURE(1.2E-5),$);\n"
      "#258=IFCEXTENDEDMATERIALPROPERTIES(#250,(#255,#256,#257),$,'S355 extended');\n"
      "#259=IFCPROPERTYSINGLEVALUE('CompressiveStrength',$,IFCPRESSUREMEASURE(30.),$);\n"
      "#260=IFCEXTENDEDMATERIALPROPERTIES(#251,(#259,#255),$,'C30');\n"
      "#261=IFCPROPERTYSINGLEVALUE('MassDensity',$,IFCMASSDENSITYMEASURE(500.),$);\n"
      "#262=IFCEXTENDEDMATERIALPROPERTIES(#252,(#261),$,'Timber');\n"
      "#263=IFCMECHANICALMATERIALPROPERTIES(#253,$,11000.,$,0.2,8.E-6);\n";
  Import(frame);
  // The material counters are last indexes.
  ASSERT_EQ(GetNumberMechSteelMats(), 1);
  EXPECT_EQ(Text(GetMechSteelMatName, 0), "S355");
  EXPECT_EQ(GetMechSteelMatYoungModulus(0), 210000.0);
  EXPECT_EQ(GetMechSteelMatYieldStress(0), 355.0);
  EXPECT_EQ(GetMechSteelMatYoungModulus(1), 200000.0);
  EXPECT_EQ(GetMechSteelMatYieldStress(1), 345.0);
  EXPECT_EQ(GetMechSteelMatThermalExpansion(1), 1.2e-5);
  ASSERT_EQ(GetNumberMechConcMats(), 0);
  EXPECT_EQ(Text(GetMechConcMatName, 0), "C30");
  EXPECT_EQ(GetMechConcMatCompressiveStrength(0), 30.0);
  EXPECT_EQ(GetMechConcMatYoungModulus(0), 200000.0);
  ASSERT_EQ(GetNumberGeneralMaterials(), 1);
  std::vector<std::string> names = {Text(GetGeneralMaterialName, 0), Text(GetGeneralMaterialName, 1)};
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Mech", "Timber"}));
  const int timber = names[0] == Text(GetGeneralMaterialName, 0) ? 1 : 0;
  EXPECT_EQ(GetGeneralMaterialMassDensity(timber), 500.0);
}

TEST_F(Ifc2x3AnalysisTest, IfcTwoByTwoFileOfTheSameFrameReadsAlike) {
  Frame frame;
  frame.vertexLabel = frame.edgeLabel = frame.faceLabel = "Undefined";
  frame.nodeCondition = "#220";
  frame.extra = "#220=IFCBOUNDARYNODECONDITION('own',1.,2.,3.,4.,5.,6.);\n";
  Import(frame, "IFC2X2_FINAL");
  ExpectBeamFromTo(0.0, 4.0);
  EXPECT_EQ(SlabCorners(1), (std::vector<double>{0, 0, 3, 3}));
  EXPECT_EQ(GetStrPointConnectionUX(Node(21)), 1.0);
  EXPECT_EQ(GetStrCurveMemberStructuralConnection(Member(40), 1), 22);
}

// Files of other tools, by path beside the sources.
class CorpusAnalysisTest : public test::ImportTest {
 protected:
  // The census and the fill of the file's first model; false (after a
  // skip message) when the corpus folder is absent.
  bool Import(const std::string& name) {
    const std::string corpus = KORVA_CORPUS_DIR;
    if (corpus.empty() || !test::FileExists(corpus + "/" + name)) return false;
    std::string path = corpus + "/" + name;
    FindTotalAnaModels(&path[0]);
    EXPECT_NE(GetAnaModelFileID(0), 0) << name;
    Traced([&] { CheckAnaModel(0, GetAnaModelFileID(0), &path[0]); });
    return true;
  }
  // Every curve member has two distinct ends and at least one connection,
  // every surface member its corners, and `supported` point connections
  // have a support.
  void ExpectComplete(const std::string& name, int curves, int surfaces, int nodes, int supported) {
    // The counters are last indexes.
    ASSERT_EQ(GetNumberStrCurveMembers(), curves - 1) << name;
    ASSERT_EQ(GetNumberStrSurfaceMembers(), surfaces - 1) << name;
    ASSERT_EQ(GetNumberStrPointConnections(), nodes - 1) << name;
    for (int i = 0; i < curves; ++i) {
      const double ends[6] = {GetStrCurveMemberEdgeX1(i), GetStrCurveMemberEdgeY1(i), GetStrCurveMemberEdgeZ1(i),
                              GetStrCurveMemberEdgeX2(i), GetStrCurveMemberEdgeY2(i), GetStrCurveMemberEdgeZ2(i)};
      EXPECT_FALSE(ends[0] == ends[3] && ends[1] == ends[4] && ends[2] == ends[5]) << name << " member " << i;
      EXPECT_GE(GetStrCurveMemberNumberStructuralConnection(i), 0) << name << " member " << i;
      EXPECT_NE(GetStrCurveMemberStructuralConnection(i, 0), 0) << name << " member " << i;
    }
    for (int i = 0; i < surfaces; ++i) EXPECT_GE(GetStrSurfaceMemberNumberPts(i), 3) << name << " surface " << i;
    int withSupport = 0, placed = 0;
    for (int i = 0; i < nodes; ++i) {
      // Unsupported nodes keep -1 in all six (ETABS writes -1 for a fixed
      // translation, 0 for a free rotation).
      bool support = false;
      for (double (*g)(int) : {GetStrPointConnectionUX, GetStrPointConnectionUY, GetStrPointConnectionUZ,
                               GetStrPointConnectionRX, GetStrPointConnectionRY, GetStrPointConnectionRZ})
        support = support || g(i) != -1.0;
      withSupport += support ? 1 : 0;
      placed += GetStrPointConnectionVertexX1(i) != 0.0 || GetStrPointConnectionVertexY1(i) != 0.0 ||
                        GetStrPointConnectionVertexZ1(i) != 0.0
                    ? 1
                    : 0;
    }
    EXPECT_EQ(withSupport, supported) << name;
    EXPECT_GT(placed, nodes / 2) << name;  // a node may stand at the origin
  }
};

TEST_F(CorpusAnalysisTest, AxisTrussMembersNodesAndSupports) {
  if (!Import("axis_roof_truss.ifc")) GTEST_SKIP() << "no corpus folder beside the sources";
  // Every node carries its own boundary condition.
  ExpectComplete("axis_roof_truss.ifc", 13, 0, 12, 12);
  EXPECT_EQ(GetNumberGeneralMaterials(), 0);  // one: last index
}

TEST_F(CorpusAnalysisTest, EtabsBuildingMembersNodesAndMaterials) {
  if (!Import("etabs_building01_2x3.ifc")) GTEST_SKIP() << "no corpus folder beside the sources";
  // One boundary condition, the own AppliedCondition of the eight base nodes.
  ExpectComplete("etabs_building01_2x3.ifc", 32, 13, 40, 8);
  EXPECT_EQ(GetNumberStrLoadGroups(), 7);  // eight
  ASSERT_EQ(GetNumberMechSteelMats(), 0);  // one: last index
  EXPECT_GT(GetMechSteelMatYieldStress(0), 0.0);
  EXPECT_GT(GetMechSteelMatYoungModulus(0), 0.0);
  ASSERT_EQ(GetNumberMechConcMats(), 1);
  EXPECT_GT(GetMechConcMatCompressiveStrength(0), 0.0);
}

}  // namespace
}  // namespace korva
