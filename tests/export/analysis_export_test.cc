// The analysis-model export driven through its exported functions, as the
// host calls them: whole files compared line by line, node positions, the
// end of the export at close or at a shutdown, and calls out of order.
#include "api/korvaifc.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "export/analysis_export.h"
#include "objdb/design.h"
#include "objdb/interface.h"
#include "support/ifc_file_test.h"

namespace korva {
namespace test {
namespace {

// The model of FrameModel below.  Types appear in the order their first
// instance was made; GlobalIds are masked.  Attributes the export leaves
// alone keep their defaults: references, strings and aggregates `$`,
// integers 0, reals 0. (the site's and building's elevations, the owner
// history's LastModifiedDate, SupportedLength, Thickness).
const char kFrameData[] =
    "#10=IFCPERSON($,'Tester','Tester',$,$,$,$,$);\n"
    "#11=IFCORGANIZATION($,'Korva Ltd',$,$,$);\n"
    "#12=IFCPERSONANDORGANIZATION(#10,#11,$);\n"
    "#13=IFCAPPLICATION(#11,'9.0','KORVA Analysis','KORVA');\n"
    "#14=IFCOWNERHISTORY(#12,#13,$,.NOCHANGE.,0,$,$,11223344);\n"
    "#15=IFCSIUNIT(*,.LENGTHUNIT.,.MILLI.,.METRE.);\n"
    "#16=IFCSIUNIT(*,.AREAUNIT.,.MILLI.,.SQUARE_METRE.);\n"
    "#17=IFCUNITASSIGNMENT((#15,#16));\n"
    "#18=IFCDIRECTION((1.,0.,0.));\n"
    "#19=IFCDIRECTION((0.,1.,0.));\n"
    "#20=IFCDIRECTION((0.,0.,1.));\n"
    "#21=IFCDIRECTION((0.,1.));\n"
    "#22=IFCDIRECTION((0.,0.,1.));\n"
    "#23=IFCDIRECTION((1.,0.,0.));\n"
    "#24=IFCDIRECTION((0.,0.,1.));\n"
    "#25=IFCDIRECTION((1.,0.,0.));\n"
    "#26=IFCDIRECTION((0.,0.,1.));\n"
    "#27=IFCDIRECTION((1.,0.,0.));\n"
    "#28=IFCDIRECTION((0.,0.,1.));\n"
    "#29=IFCDIRECTION((1.,0.,0.));\n"
    "#30=IFCDIRECTION((0.,0.,1.));\n"
    "#31=IFCDIRECTION((1.,0.,0.));\n"
    "#32=IFCDIRECTION((0.,0.,1.));\n"
    "#33=IFCDIRECTION((1.,0.,0.));\n"
    "#34=IFCDIRECTION((0.,0.,1.));\n"
    "#35=IFCDIRECTION((1.,0.,0.));\n"
    "#36=IFCDIRECTION((0.,0.,1.));\n"
    "#37=IFCDIRECTION((1.,0.,0.));\n"
    "#38=IFCDIRECTION((0.,0.,1.));\n"
    "#39=IFCDIRECTION((1.,0.,0.));\n"
    "#40=IFCCARTESIANPOINT((0.,0.,0.));\n"
    "#41=IFCCARTESIANPOINT((0.,0.,0.));\n"
    "#42=IFCCARTESIANPOINT((0.,0.,0.));\n"
    "#43=IFCCARTESIANPOINT((0.,0.,0.));\n"
    "#44=IFCCARTESIANPOINT((6.,0.,0.));\n"
    "#45=IFCCARTESIANPOINT((0.,0.,0.));\n"
    "#46=IFCCARTESIANPOINT((0.,0.,3.5));\n"
    "#47=IFCCARTESIANPOINT((0.,0.,0.));\n"
    "#48=IFCCARTESIANPOINT((6.,0.,3.5));\n"
    "#49=IFCCARTESIANPOINT((0.,0.,0.));\n"
    "#50=IFCCARTESIANPOINT((0.,0.,0.));\n"
    "#51=IFCCARTESIANPOINT((0.,0.,3.5));\n"
    "#52=IFCCARTESIANPOINT((0.,0.,0.));\n"
    "#53=IFCCARTESIANPOINT((0.,0.,3.5));\n"
    "#54=IFCCARTESIANPOINT((6.,0.,3.5));\n"
    "#55=IFCCARTESIANPOINT((0.,0.,0.));\n"
    "#56=IFCCARTESIANPOINT((0.,0.,0.));\n"
    "#57=IFCCARTESIANPOINT((6.,0.,0.));\n"
    "#58=IFCCARTESIANPOINT((6.,0.,3.5));\n"
    "#59=IFCCARTESIANPOINT((0.,0.,3.5));\n"
    "#60=IFCCARTESIANPOINT((0.,0.,0.));\n"
    "#61=IFCCARTESIANPOINT((3.,0.,0.));\n"
    "#62=IFCCARTESIANPOINT((0.,0.,0.));\n"
    "#63=IFCCARTESIANPOINT((6.,0.,0.));\n"
    "#64=IFCCARTESIANPOINT((3.,0.,0.));\n"
    "#65=IFCAXIS2PLACEMENT3D(#40,#20,#18);\n"
    "#66=IFCAXIS2PLACEMENT3D(#41,#22,#23);\n"
    "#67=IFCAXIS2PLACEMENT3D(#43,#24,#25);\n"
    "#68=IFCAXIS2PLACEMENT3D(#45,#26,#27);\n"
    "#69=IFCAXIS2PLACEMENT3D(#47,#28,#29);\n"
    "#70=IFCAXIS2PLACEMENT3D(#49,#30,#31);\n"
    "#71=IFCAXIS2PLACEMENT3D(#52,#32,#33);\n"
    "#72=IFCAXIS2PLACEMENT3D(#55,#34,#35);\n"
    "#73=IFCAXIS2PLACEMENT3D(#60,#36,#37);\n"
    "#74=IFCAXIS2PLACEMENT3D(#62,#38,#39);\n"
    "#75=IFCLOCALPLACEMENT($,#65);\n"
    "#76=IFCLOCALPLACEMENT(#75,#66);\n"
    "#77=IFCLOCALPLACEMENT(#75,#67);\n"
    "#78=IFCLOCALPLACEMENT(#75,#68);\n"
    "#79=IFCLOCALPLACEMENT(#75,#69);\n"
    "#80=IFCLOCALPLACEMENT(#75,#70);\n"
    "#81=IFCLOCALPLACEMENT(#75,#71);\n"
    "#82=IFCLOCALPLACEMENT(#75,#72);\n"
    "#83=IFCLOCALPLACEMENT(#75,#73);\n"
    "#84=IFCLOCALPLACEMENT(#75,#74);\n"
    "#85=IFCGEOMETRICREPRESENTATIONCONTEXT('Plan','Design',3,1.E-05,#65,#21);\n"
    "#86=IFCPROJECT('<guid>',#14,'Default Project',$,$,\n"
    "'Project Vkt','1234',(#85),#17);\n"
    "#87=IFCSITE('<guid>',#14,'Default Site',$,$,#75,$,$,.ELEMENT.,\n"
    "$,$,0.,$,$);\n"
    "#88=IFCBUILDING('<guid>',#14,'Default Building',$,$,#75,\n"
    "$,$,.ELEMENT.,0.,0.,$);\n"
    "#89=IFCBUILDINGSTOREY('<guid>',#14,'Stroy1',' ',' ',#75,\n"
    "$,' ',.ELEMENT.,0.);\n"
    "#90=IFCBUILDINGSTOREY('<guid>',#14,'Stroy2',' ',' ',#75,\n"
    "$,' ',.ELEMENT.,3.5);\n"
    "#91=IFCRELCONTAINEDINSPATIALSTRUCTURE('<guid>',#14,\n"
    "'StroyStructure1',$,(#95,#96,#129,#99,#131),#89);\n"
    "#92=IFCRELCONTAINEDINSPATIALSTRUCTURE('<guid>',#14,\n"
    "'StroyStructure2',$,(#97,#98,#130,#143),#90);\n"
    "#93=IFCSTRUCTURALANALYSISMODEL('<guid>',#14,'Frame',\n"
    "'Two storeys',$,.LOADING_3D.,#65,$,$);\n"
    "#94=IFCRELASSIGNSTOGROUP('<guid>',#14,$,\n"
    "'Structural Analysis Model',(#95,#96,#97,#98,#129,#130,#143,#99,#131),.NOTDEFINED.,\n"
    "#93);\n"
    "#95=IFCSTRUCTURALPOINTCONNECTION('<guid>',#14,'N1',$,$,#76,\n"
    "#120,$);\n"
    "#96=IFCSTRUCTURALPOINTCONNECTION('<guid>',#14,'N2',$,$,#77,\n"
    "#121,$);\n"
    "#97=IFCSTRUCTURALPOINTCONNECTION('<guid>',#14,'N3',$,$,#78,\n"
    "#122,$);\n"
    "#98=IFCSTRUCTURALPOINTCONNECTION('<guid>',#14,'N4',$,$,#79,\n"
    "#123,$);\n"
    "#99=IFCSTRUCTURALPOINTCONNECTION('<guid>',#14,'N5',$,$,#83,\n"
    "#127,$);\n"
    "#100=IFCVERTEXPOINT(#42);\n"
    "#101=IFCVERTEXPOINT(#44);\n"
    "#102=IFCVERTEXPOINT(#46);\n"
    "#103=IFCVERTEXPOINT(#48);\n"
    "#104=IFCVERTEXPOINT(#50);\n"
    "#105=IFCVERTEXPOINT(#51);\n"
    "#106=IFCVERTEXPOINT(#53);\n"
    "#107=IFCVERTEXPOINT(#54);\n"
    "#108=IFCVERTEXPOINT(#61);\n"
    "#109=IFCVERTEXPOINT(#63);\n"
    "#110=IFCVERTEXPOINT(#64);\n"
    "#111=IFCTOPOLOGYREPRESENTATION(#85,$,'Vertex',(#100));\n"
    "#112=IFCTOPOLOGYREPRESENTATION(#85,$,'Vertex',(#101));\n"
    "#113=IFCTOPOLOGYREPRESENTATION(#85,$,'Vertex',(#102));\n"
    "#114=IFCTOPOLOGYREPRESENTATION(#85,$,'Vertex',(#103));\n"
    "#115=IFCTOPOLOGYREPRESENTATION(#85,$,'Edge',(#132));\n"
    "#116=IFCTOPOLOGYREPRESENTATION(#85,$,'Edge',(#133));\n"
    "#117=IFCTOPOLOGYREPRESENTATION(#85,$,'Face',(#146));\n"
    "#118=IFCTOPOLOGYREPRESENTATION(#85,$,'Vertex',(#108));\n"
    "#119=IFCTOPOLOGYREPRESENTATION(#85,$,'Edge',(#134));\n"
    "#120=IFCPRODUCTREPRESENTATION($,$,(#111));\n"
    "#121=IFCPRODUCTREPRESENTATION($,$,(#112));\n"
    "#122=IFCPRODUCTREPRESENTATION($,$,(#113));\n"
    "#123=IFCPRODUCTREPRESENTATION($,$,(#114));\n"
    "#124=IFCPRODUCTREPRESENTATION($,$,(#115));\n"
    "#125=IFCPRODUCTREPRESENTATION($,$,(#116));\n"
    "#126=IFCPRODUCTREPRESENTATION($,$,(#117));\n"
    "#127=IFCPRODUCTREPRESENTATION($,$,(#118));\n"
    "#128=IFCPRODUCTREPRESENTATION($,$,(#119));\n"
    "#129=IFCSTRUCTURALCURVEMEMBER('<guid>',#14,'C1',$,$,#80,\n"
    "#124,.NOTDEFINED.);\n"
    "#130=IFCSTRUCTURALCURVEMEMBER('<guid>',#14,'B1',$,$,#81,\n"
    "#125,.NOTDEFINED.);\n"
    "#131=IFCSTRUCTURALCURVEMEMBER('<guid>',#14,'C2',$,$,#84,\n"
    "#128,.NOTDEFINED.);\n"
    "#132=IFCEDGE(#104,#105);\n"
    "#133=IFCEDGE(#106,#107);\n"
    "#134=IFCEDGE(#109,#110);\n"
    "#135=IFCRELCONNECTSSTRUCTURALMEMBER('<guid>',#14,'1',$,#129,\n"
    "#95,$,$,0.,$);\n"
    "#136=IFCRELCONNECTSSTRUCTURALMEMBER('<guid>',#14,'2',$,#129,\n"
    "#97,$,$,0.,$);\n"
    "#137=IFCRELCONNECTSSTRUCTURALMEMBER('<guid>',#14,'1',$,#130,\n"
    "#97,$,$,0.,$);\n"
    "#138=IFCRELCONNECTSSTRUCTURALMEMBER('<guid>',#14,'2',$,#130,\n"
    "#98,$,$,0.,$);\n"
    "#139=IFCRELCONNECTSSTRUCTURALMEMBER('<guid>',#14,' 1',$,\n"
    "#143,#95,$,$,0.,$);\n"
    "#140=IFCRELCONNECTSSTRUCTURALMEMBER('<guid>',#14,' 2',$,\n"
    "#143,#96,$,$,0.,$);\n"
    "#141=IFCRELCONNECTSSTRUCTURALMEMBER('<guid>',#14,' 3',$,\n"
    "#143,#98,$,$,0.,$);\n"
    "#142=IFCRELCONNECTSSTRUCTURALMEMBER('<guid>',#14,' 4',$,\n"
    "#143,#97,$,$,0.,$);\n"
    "#143=IFCSTRUCTURALSURFACEMEMBER('<guid>',#14,'S1',$,$,#82,\n"
    "#126,.NOTDEFINED.,0.);\n"
    "#144=IFCPOLYLOOP((#56,#57,#58,#59));\n"
    "#145=IFCFACEOUTERBOUND(#144,.T.);\n"
    "#146=IFCFACE((#145));\n"
    "#147=IFCRELAGGREGATES('<guid>',#14,'Building Container',\n"
    "$,#88,(#89,#90));\n"
    "#148=IFCRELAGGREGATES('<guid>',#14,'Site Container',$,#87,\n"
    "(#88));\n"
    "#149=IFCRELAGGREGATES('<guid>',#14,'Project Container',$,\n"
    "#86,(#87));\n"
    "ENDSEC;\n"
    "END-ISO-10303-21;\n";

class AnalysisExportTest : public IfcFileTest {
 protected:
  void Open(const char* fileName) {
    EXPECT_EQ(ExportAnalysisModelOpenFile(S(fileName), nullptr, S("Analysis model"), S("KORVA 9"), S("Tester"),
                                          S("Korva Ltd"), S("none"), S("KORVA Analysis"), 10, 15),
              -1);
    ASSERT_NE(analysis_export::Current(), nullptr) << Messages();
  }
  void Close(const char* fileName) {
    EXPECT_EQ(ExportAnalysisModelCloseFile(S(fileName), S(dir_.path())), -1);
    Capture();
  }
  // Two storeys, four nodes at the corners of a frame, a column, a beam, a
  // wall panel over the four nodes, a fifth node and a member whose node
  // references name a member and a missing storey.
  void FrameModel() {
    Open("frame.ifc");
    double elevations[] = {99.0, 0.0, 3.5};
    EXPECT_EQ(ExportAnalysisModelBuidling(2, elevations), -1);
    EXPECT_EQ(ExportAnalysisModelAddAnalysisModel(S("Frame"), S("Two storeys")), -1);
    EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("N1"), 1, 0.0, 0.0, 0.0), 1);
    EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("N2"), 1, 6.0, 0.0, 0.0), 2);
    EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("N3"), 2, 0.0, 0.0, 3.5), 1);
    EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("N4"), 2, 6.0, 0.0, 3.5), 2);
    EXPECT_EQ(ExportAnalysisModelAddOneCurveMember(S("C1"), 1, 1, 2, 1, 1, 0.0, 0.0, 0.0, 0.0, 0.0, 3.5), -1);
    EXPECT_EQ(ExportAnalysisModelAddOneCurveMember(S("B1"), 2, 2, 2, 1, 2, 0.0, 0.0, 3.5, 6.0, 0.0, 3.5), -1);
    int storeys[] = {1, 1, 2, 2};
    int positions[] = {1, 2, 2, 1};
    double xs[] = {0.0, 6.0, 6.0, 0.0}, ys[] = {0.0, 0.0, 0.0, 0.0}, zs[] = {0.0, 0.0, 3.5, 3.5};
    EXPECT_EQ(ExportAnalysisModelAddOneSurfaceMember(S("S1"), 2, 4, storeys, positions, xs, ys, zs), -1);
    EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("N5"), 1, 3.0, 0.0, 0.0), 4);
    EXPECT_EQ(ExportAnalysisModelAddOneCurveMember(S("C2"), 1, 1, 3, 3, 1, 6.0, 0.0, 0.0, 3.0, 0.0, 0.0), -1);
    Close("frame.ifc");
  }
};

TEST_F(AnalysisExportTest, WritesTheFrameModelLineByLine) {
  FrameModel();
  std::vector<std::string> ids;
  EXPECT_EQ(Masked("frame.ifc", &ids),
                        ExpectedHeader("frame", "Analysis model", "Tester") + "DATA;\n" + kFrameData);
  // Project, site, building, 2 storeys, 2 containments, model, group, 5
  // nodes, 4 members, 8 connections, 3 aggregations: each its own GlobalId.
  EXPECT_EQ(ids.size(), 29u);
  EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), ids.size());
  EXPECT_EQ(Occurrences("warning"), 0) << Messages();
}

TEST_F(AnalysisExportTest, PositionsCountEveryElementOfTheStorey) {
  Open("positions.ifc");
  ExportAnalysisModelBuidlingOneStory(S("Ground"), 0.0);
  ExportAnalysisModelBuidlingOneStory(S("Roof"), 4.0);
  ExportAnalysisModelAddAnalysisModel(S("M"), S("D"));
  EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("A"), 1, 0, 0, 0), 1);
  EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("B"), 1, 1, 0, 0), 2);
  EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("C"), 1, 2, 0, 0), 3);
  EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("R"), 2, 0, 0, 4), 1);
  ExportAnalysisModelAddOneCurveMember(S("AB"), 1, 1, 1, 1, 2, 0, 0, 0, 1, 0, 0);  // position 4
  EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("D"), 1, 3, 0, 0), 5);
  // A member whose start names the member AB (position 4) and whose end
  // names itself (position 6 once added) gets no relationship.
  ExportAnalysisModelAddOneCurveMember(S("X"), 1, 1, 1, 4, 6, 0, 0, 0, 3, 0, 0);
  EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("E"), 1, 4, 0, 0), 7);
  // Storeys that do not exist: the node is written, contained nowhere.
  EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("Lost"), 0, 9, 9, 9), 0);
  EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("Lost"), 3, 9, 9, 9), 0);
  EXPECT_EQ(Occurrences("contained in no storey"), 2) << Messages();
  // The storey's next position is unchanged by them.
  EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("F"), 1, 5, 0, 0), 8);
  // A surface over A, D and R; its corners from index 0.
  int storeys[] = {1, 1, 2};
  int positions[] = {1, 5, 1};
  double xs[] = {0, 3, 0}, ys[] = {0, 0, 0}, zs[] = {0, 0, 4};
  ExportAnalysisModelAddOneSurfaceMember(S("P"), 2, 3, storeys, positions, xs, ys, zs);
  EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("R2"), 2, 1, 0, 4), 3);
  Close("positions.ifc");

  const std::map<int, std::string> records = DataRecords(Masked("positions.ifc"));
  // AB: "1", "2"; X: none; P: " 1" to " 3".
  ExpectRecords(records, "IFCRELCONNECTSSTRUCTURALMEMBER",
                {",#14,'1',$,", ",#14,'2',$,", ",#14,' 1',$,", ",#14,' 2',$,", ",#14,' 3',$,"});
  EXPECT_EQ(RecordsOfType(records, "IFCSTRUCTURALPOINTCONNECTION").size(), 10u);
  ExpectRecords(records, "IFCBUILDINGSTOREY", {"'Ground',' ',' ',", ",.ELEMENT.,4.)"});
  ExpectRecords(records, "IFCRELCONTAINEDINSPATIALSTRUCTURE", {"'StroyStructure1'", "'StroyStructure2'"});
}

TEST_F(AnalysisExportTest, CloseSavesUnderItsOwnNameAndShutsTheInterfaceDown) {
  Open("opened.ifc");
  ExportAnalysisModelBuidlingOneStory(S("Only"), 2.5);
  EXPECT_EQ(ExportAnalysisModelCloseFile(S("closed.stp"), S(dir_.path())), -1);
  EXPECT_EQ(TARN().state(), TarnInterface::kUninitialized);
  EXPECT_EQ(analysis_export::Current(), nullptr);
  Capture();
  EXPECT_FALSE(FileExists(dir_.file("opened.ifc")));
  ASSERT_TRUE(FileExists(dir_.file("closed.stp")));
  const std::string text = Masked("closed.stp");
  // The header keeps the name the file was opened with.
  EXPECT_NE(text.find("/* name */ 'opened',"), std::string::npos);
  const std::map<int, std::string> records = DataRecords(text);
  ExpectRecords(records, "IFCRELAGGREGATES", {"'Building Container'", "'Site Container'", "'Project Container'"});
  // No model was added: no model, no group, nothing else.
  EXPECT_TRUE(RecordsOfType(records, "IFCSTRUCTURALANALYSISMODEL").empty());
  EXPECT_TRUE(RecordsOfType(records, "IFCRELASSIGNSTOGROUP").empty());

  // A second close has nothing to close.
  EXPECT_EQ(ExportAnalysisModelCloseFile(S("again.ifc"), S(dir_.path())), -1);
  EXPECT_FALSE(FileExists(dir_.file("again.ifc")));
  EXPECT_EQ(Occurrences("ExportAnalysisModelCloseFile ignored: no export is open"), 1) << Messages();
}

TEST_F(AnalysisExportTest, CloseWithoutANameUsesTheOpenedName) {
  Open("kept.ifc");
  EXPECT_EQ(ExportAnalysisModelCloseFile(nullptr, S(dir_.path())), -1);
  EXPECT_TRUE(FileExists(dir_.file("kept.ifc")));
}

TEST_F(AnalysisExportTest, SecondExportInTheSameProcessStartsAfresh) {
  FrameModel();
  std::vector<std::string> ids;
  Masked("frame.ifc", &ids);

  Open("second.ifc");
  ExportAnalysisModelBuidlingOneStory(S("Ground"), 0.0);
  ExportAnalysisModelAddAnalysisModel(S("Again"), S("Second"));
  EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("A"), 1, 0, 0, 0), 1);
  Close("second.ifc");

  const std::string text = Masked("second.ifc", &ids);
  const std::map<int, std::string> records = DataRecords(text);
  ExpectRecords(records, "IFCRELCONTAINEDINSPATIALSTRUCTURE", {"'StroyStructure1'"});
  ExpectRecords(records, "IFCBUILDINGSTOREY", {"'Ground'"});
  ExpectRecords(records, "IFCSTRUCTURALPOINTCONNECTION", {"'A'"});
  EXPECT_EQ(records.begin()->first, 10);
  EXPECT_EQ(records.begin()->second, "IFCPERSON($,'Tester','Tester',$,$,$,$,$)");
  // 29 GlobalIds in the first file, 11 new ones in the second.
  EXPECT_EQ(ids.size(), 40u);
  EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), ids.size());
}

TEST_F(AnalysisExportTest, CallsWithoutAnOpenExportAreIgnored) {
  double elevations[] = {0.0, 1.0};
  int ints[] = {1};
  double xyz[] = {0.0};
  EXPECT_EQ(ExportAnalysisModelBuidling(1, elevations), -1);
  EXPECT_EQ(ExportAnalysisModelBuidlingOneStory(S("S"), 1.0), -1);
  EXPECT_EQ(ExportAnalysisModelAddAnalysisModel(S("M"), S("D")), -1);
  EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("N"), 1, 0, 0, 0), 0);
  EXPECT_EQ(ExportAnalysisModelAddOneCurveMember(S("C"), 1, 1, 1, 1, 1, 0, 0, 0, 1, 1, 1), -1);
  EXPECT_EQ(ExportAnalysisModelAddOneSurfaceMember(S("F"), 1, 1, ints, ints, xyz, xyz, xyz), -1);
  EXPECT_EQ(ExportAnalysisModelCloseFile(S("none.ifc"), S(dir_.path())), -1);
  EXPECT_EQ(Occurrences("ignored: no export is open"), 7) << Messages();
  EXPECT_EQ(analysis_export::Current(), nullptr);
  EXPECT_FALSE(FileExists(dir_.file("none.ifc")));
}

TEST_F(AnalysisExportTest, ShutDownInBetweenEndsTheExportUnsaved) {
  Open("interrupted.ifc");
  double elevations[] = {0.0, 0.0};
  ExportAnalysisModelBuidling(1, elevations);
  ExportAnalysisModelAddAnalysisModel(S("M"), S("D"));
  EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("N"), 1, 0, 0, 0), 1);
  EXPECT_EQ(ShutDown(), -1);
  Capture();
  // The interface object starts again with designs of its own; the export's
  // handles belong to the old one and are not touched.
  TARN().initialize();
  TARN().newDesign("other");
  EXPECT_EQ(analysis_export::Current(), nullptr);
  EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("N"), 1, 0, 0, 0), 0);
  EXPECT_EQ(ExportAnalysisModelAddOneCurveMember(S("C"), 1, 1, 1, 1, 1, 0, 0, 0, 1, 1, 1), -1);
  EXPECT_EQ(ExportAnalysisModelCloseFile(S("interrupted.ifc"), S(dir_.path())), -1);
  EXPECT_EQ(Occurrences("the export of 'interrupted' has ended unsaved"), 1) << Messages();
  EXPECT_EQ(Occurrences("ignored: no export is open"), 3) << Messages();
  EXPECT_FALSE(FileExists(dir_.file("interrupted.ifc")));
  // A new export works as ever.
  Open("after.ifc");
  EXPECT_EQ(ExportAnalysisModelCloseFile(S("after.ifc"), S(dir_.path())), -1);
  EXPECT_TRUE(FileExists(dir_.file("after.ifc")));
}

TEST_F(AnalysisExportTest, WithoutTheSchemaNothingOpens) {
  TempDir empty;
  TARN().setSchemaPath(empty.path().c_str());
  // The schema's errors end the process under the default exit level.
  TARN().reporter()->setExitLevel(4);
  EXPECT_EQ(ExportAnalysisModelOpenFile(S("noschema.ifc"), nullptr, S("d"), S("o"), S("a"), S("g"), S("z"), S("p"),
                                        10, 15),
            -1);
  EXPECT_EQ(analysis_export::Current(), nullptr);
  EXPECT_NE(Messages().find("TARN: error: Couldn't open schema 'ifc2x2_final'"), std::string::npos) << Messages();
  EXPECT_EQ(Occurrences("'noschema.ifc' not opened: the IFC2x2 schema cannot be loaded"), 1) << Messages();
  EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("N"), 1, 0, 0, 0), 0);
  EXPECT_EQ(ExportAnalysisModelCloseFile(S("noschema.ifc"), S(dir_.path())), -1);
  EXPECT_FALSE(FileExists(dir_.file("noschema.ifc")));
}

TEST_F(AnalysisExportTest, OpenWhileOpenDiscardsTheUnfinishedExport) {
  Open("abandoned.ifc");
  double elevations[] = {0.0, 0.0, 3.0};
  ExportAnalysisModelBuidling(2, elevations);
  Open("kept.ifc");
  EXPECT_EQ(Occurrences("the unfinished export of 'abandoned' is discarded"), 1) << Messages();
  EXPECT_EQ(TARN().designInMemory("abandoned"), nullptr);
  EXPECT_EQ(analysis_export::Current()->storeyCount(), 0);
  Close("kept.ifc");
  EXPECT_FALSE(FileExists(dir_.file("abandoned.ifc")));
  const std::map<int, std::string> records = DataRecords(Masked("kept.ifc"));
  EXPECT_TRUE(RecordsOfType(records, "IFCBUILDINGSTOREY").empty());
  // No storey: the building's aggregation has no members at all.
  const int building = LastNumberOf(records, "IFCBUILDING(");
  ExpectRecords(records, "IFCRELAGGREGATES",
                {"'Building Container',$,#" + std::to_string(building) + ",$)", "'Site Container'", "'Project"});
}

TEST_F(AnalysisExportTest, StoreyCallsReplaceOrExtendTheList) {
  Open("storeys.ifc");
  ExportAnalysisModelBuidlingOneStory(S("Old"), 0.0);
  double elevations[] = {0.0, 1.0, 2.0};
  ExportAnalysisModelBuidling(2, elevations);  // replaces "Old"
  ExportAnalysisModelBuidlingOneStory(S("Top"), 3.0);  // third
  EXPECT_EQ(analysis_export::Current()->storeyCount(), 3);
  ExportAnalysisModelAddAnalysisModel(S("M"), S("D"));
  EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("T"), 3, 0, 0, 3), 1);
  ExportAnalysisModelBuidling(-4, elevations);  // no storeys at all
  EXPECT_EQ(analysis_export::Current()->storeyCount(), 0);
  ExportAnalysisModelBuidling(1, elevations);
  Close("storeys.ifc");

  const std::map<int, std::string> records = DataRecords(Masked("storeys.ifc"));
  ExpectRecords(records, "IFCBUILDINGSTOREY", {"'Old'", "'Stroy1'", "'Stroy2'", "'Top'", "'Stroy1'"});
  ExpectRecords(records, "IFCRELCONTAINEDINSPATIALSTRUCTURE",
                {"'StroyStructure1'", "'StroyStructure1'", "'StroyStructure2'", "'StroyStructure3'",
                 "'StroyStructure1'"});
  // Only the last list is aggregated into the building.
  const int lastStorey = LastNumberOf(records, "IFCBUILDINGSTOREY(");
  const std::string building = RecordsOfType(records, "IFCRELAGGREGATES")[0];
  EXPECT_NE(building.find(",(#" + std::to_string(lastStorey) + "))"), std::string::npos) << building;
}

TEST_F(AnalysisExportTest, HostileArgumentsWriteWhatCanBeWritten) {
  EXPECT_EQ(ExportAnalysisModelOpenFile(S("hostile.ifc"), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                        nullptr, 99, 77),
            -1);
  ASSERT_NE(analysis_export::Current(), nullptr);
  EXPECT_EQ(Occurrences("unknown length unit name index 77"), 1) << Messages();
  EXPECT_EQ(ExportAnalysisModelBuidling(3, nullptr), -1);
  EXPECT_EQ(Occurrences("ExportAnalysisModelBuidling ignored: 3 storeys without elevations"), 1);
  EXPECT_EQ(analysis_export::Current()->storeyCount(), 0);
  ExportAnalysisModelBuidlingOneStory(nullptr, 1.0);
  // Before the model: written, but in no group.
  EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(nullptr, 1, 0, 0, 0), 1);
  EXPECT_EQ(Occurrences("is in no analysis model"), 1) << Messages();
  ExportAnalysisModelAddAnalysisModel(nullptr, nullptr);
  ExportAnalysisModelAddOneCurveMember(S("C"), 1, 0, 1, -5, 99, 0, 0, 0, 1, 1, 1);
  EXPECT_EQ(ExportAnalysisModelAddOneSurfaceMember(S("F"), 1, 3, nullptr, nullptr, nullptr, nullptr, nullptr), -1);
  EXPECT_EQ(Occurrences("ExportAnalysisModelAddOneSurfaceMember ignored: 3 corners and a missing array"), 1);
  EXPECT_EQ(ExportAnalysisModelAddOneSurfaceMember(S("Empty"), 1, -1, nullptr, nullptr, nullptr, nullptr, nullptr),
            -1);
  int storeys[] = {1, 1};
  int positions[] = {2, 3};  // the curve member, then the empty surface
  double xs[] = {0, 1}, ys[] = {0, 0}, zs[] = {0, 0};
  ExportAnalysisModelAddOneSurfaceMember(S("Members"), 1, 2, storeys, positions, xs, ys, zs);
  EXPECT_EQ(ExportAnalysisModelCloseFile(S("hostile.ifc"), S(dir_.path())), -1);
  Capture();

  const std::string text = Masked("hostile.ifc");
  EXPECT_NE(text.find("/* description */ (''),"), std::string::npos);
  EXPECT_NE(text.find("/* author */ (''),"), std::string::npos);
  const std::map<int, std::string> records = DataRecords(text);
  EXPECT_EQ(records.at(10), "IFCPERSON($,$,$,$,$,$,$,$)");
  ExpectRecords(records, "IFCSIUNIT", {"IFCSIUNIT(*,.LENGTHUNIT.,$,$)", "IFCSIUNIT(*,.AREAUNIT.,$,.SQUARE_METRE.)"});
  EXPECT_TRUE(RecordsOfType(records, "IFCRELCONNECTSSTRUCTURALMEMBER").empty());
  ExpectRecords(records, "IFCSTRUCTURALSURFACEMEMBER", {"'Empty'", "'Members'"});
  ExpectRecords(records, "IFCPOLYLOOP", {"IFCPOLYLOOP(())", "IFCPOLYLOOP((#"});
  // The node added before the model is in its storey but not in the group.
  const std::string node = "#" + std::to_string(LastNumberOf(records, "IFCSTRUCTURALPOINTCONNECTION("));
  ExpectRecords(records, "IFCSTRUCTURALPOINTCONNECTION", {"',#14,$,"});
  const std::vector<std::string> groups = ExpectRecords(records, "IFCRELASSIGNSTOGROUP", {"(#"});
  EXPECT_EQ(groups.at(0).find(node + ","), std::string::npos) << groups[0];
  ExpectRecords(records, "IFCRELCONTAINEDINSPATIALSTRUCTURE", {"(" + node + ","});
}

}  // namespace
}  // namespace test
}  // namespace korva
