// The analysis-model export driven through its exported functions, as the
// host calls them: whole files compared line by line, node positions, the
// end of the export at close or at a shutdown, and calls out of order.
#include "api/korvaifc.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "export/analysis_export.h"
#include "objdb/design.h"
#include "objdb/interface.h"
#include "support/test_util.h"

namespace korva {
namespace {

char* S(const char* text) { return const_cast<char*>(text); }

const char kHeader[] =
    "ISO-10303-21;\n"
    "HEADER;\n"
    "/* Exchange file written by korvaifc (KS-BUILDER v10) */\n"
    "/* ISO 10303-21 clear text encoding of an EXPRESS-defined population, */\n"
    "/* header section first, then the data section(s). */\n"
    "\n"
    "FILE_DESCRIPTION(\n"
    "/* description */ ('Analysis model'),\n"
    "/* implementation_level */ '2;1');\n"
    "FILE_NAME(\n"
    "/* name */ 'frame',\n"
    "/* time_stamp */ '<stamp>',\n"
    "/* author */ ('Tester'),\n"
    "/* organization */ ('Korva Ltd'),\n"
    "/* preprocessor_version */ 'KS-BUILDER v10',\n"
    "/* originating_system */ 'KORVA 9',\n"
    "/* authorisation */ 'none');\n"
    "FILE_SCHEMA (('IFC2X2_FINAL'));\n"
    "ENDSEC;\n"
    "DATA;\n";

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

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t nl = text.find('\n', start);
    if (nl == std::string::npos) nl = text.size();
    lines.push_back(text.substr(start, nl - start));
    start = nl + 1;
  }
  return lines;
}

// The data records of a written file by instance number, line ends removed.
std::map<int, std::string> Records(const std::string& text) {
  std::map<int, std::string> records;
  size_t at = text.find("DATA;\n");
  const size_t end = text.find("ENDSEC;", at == std::string::npos ? 0 : at);
  if (at == std::string::npos || end == std::string::npos) return records;
  at += 6;
  while (at < end) {
    size_t stop = text.find(";\n", at);
    std::string record = text.substr(at, stop - at);
    record.erase(std::remove(record.begin(), record.end(), '\n'), record.end());
    records[std::stoi(record.substr(1))] = record.substr(record.find('=') + 1);
    at = stop + 2;
  }
  return records;
}

std::vector<std::string> OfType(const std::map<int, std::string>& records, const std::string& type) {
  std::vector<std::string> found;
  for (const auto& r : records)
    if (r.second.compare(0, type.size() + 1, type + "(") == 0) found.push_back(r.second);
  return found;
}

class AnalysisExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Capture();
    TARN().setSchemaPath(KORVA_SCHEMA_DIR);
  }
  void TearDown() override {
    TARN().shutdown();
    TARN().setSchemaPath(nullptr);
    TARN().reporter()->setStreams(stdout, stderr);
  }
  // Sends the messages of the current reporter (a new one after every
  // shutdown) to out_.
  void Capture() { TARN().reporter()->setStreams(out_.get(), err_.get()); }

  void Open(const char* fileName) {
    EXPECT_EQ(ExportAnalysisModelOpenFile(S(fileName), nullptr, S("Analysis model"), S("KORVA 9"), S("Tester"),
                                          S("Korva Ltd"), S("none"), S("KORVA Analysis"), 10, 15),
              -1);
    ASSERT_NE(analysis_export::Current(), nullptr) << out_.text();
  }
  void Close(const char* fileName) {
    EXPECT_EQ(ExportAnalysisModelCloseFile(S(fileName), S(dir_.path().c_str())), -1);
    Capture();
  }
  // A written file with its time stamp and GlobalIds masked.
  std::string Written(const std::string& fileName, std::vector<std::string>* ids = nullptr) {
    std::string text = test::ReadFile(dir_.file(fileName));
    const std::regex id("'([0-9A-Za-z_$]{22})'");
    if (ids != nullptr)
      for (std::sregex_iterator it(text.begin(), text.end(), id), end; it != end; ++it) ids->push_back((*it)[1]);
    text = std::regex_replace(text, id, "'<guid>'");
    return std::regex_replace(text, std::regex("'[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9:]{8}[-+][0-9]{2}:00'"),
                              "'<stamp>'");
  }
  int Warnings(const std::string& what) {
    const std::string text = out_.text();
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
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

  test::TempDir dir_;
  test::CapturedStream out_, err_;
};

TEST_F(AnalysisExportTest, WritesTheFrameModelLineByLine) {
  FrameModel();
  std::vector<std::string> ids;
  const std::vector<std::string> got = Lines(Written("frame.ifc", &ids));
  const std::vector<std::string> want = Lines(std::string(kHeader) + kFrameData);
  for (size_t i = 0; i < std::min(got.size(), want.size()); ++i) EXPECT_EQ(got[i], want[i]) << "line " << i + 1;
  EXPECT_EQ(got.size(), want.size());
  // Project, site, building, 2 storeys, 2 containments, model, group, 5
  // nodes, 4 members, 8 connections, 3 aggregations: each its own GlobalId.
  EXPECT_EQ(ids.size(), 29u);
  EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), ids.size());
  for (const std::string& id : ids) EXPECT_NE(std::string("0123").find(id[0]), std::string::npos) << id;
  EXPECT_EQ(Warnings("warning"), 0) << out_.text();
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
  EXPECT_EQ(Warnings("contained in no storey"), 2) << out_.text();
  // The storey's next position is unchanged by them.
  EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("F"), 1, 5, 0, 0), 8);
  // A surface over A, D and R; its corners from index 0.
  int storeys[] = {1, 1, 2};
  int positions[] = {1, 5, 1};
  double xs[] = {0, 3, 0}, ys[] = {0, 0, 0}, zs[] = {0, 0, 4};
  ExportAnalysisModelAddOneSurfaceMember(S("P"), 2, 3, storeys, positions, xs, ys, zs);
  EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("R2"), 2, 1, 0, 4), 3);
  Close("positions.ifc");

  const std::map<int, std::string> records = Records(Written("positions.ifc"));
  const std::vector<std::string> rels = OfType(records, "IFCRELCONNECTSSTRUCTURALMEMBER");
  ASSERT_EQ(rels.size(), 5u);  // AB: "1", "2"; X: none; P: " 1" to " 3"
  const std::vector<std::string> names = {"'1'", "'2'", "' 1'", "' 2'", "' 3'"};
  for (size_t i = 0; i < rels.size(); ++i) EXPECT_NE(rels[i].find(",#14," + names[i] + ",$,"), std::string::npos) << rels[i];
  const std::vector<std::string> nodes = OfType(records, "IFCSTRUCTURALPOINTCONNECTION");
  EXPECT_EQ(nodes.size(), 10u);
  const std::vector<std::string> storeyRecords = OfType(records, "IFCBUILDINGSTOREY");
  ASSERT_EQ(storeyRecords.size(), 2u);
  EXPECT_NE(storeyRecords[0].find("'Ground',' ',' ',"), std::string::npos) << storeyRecords[0];
  EXPECT_NE(storeyRecords[1].find(",.ELEMENT.,4.)"), std::string::npos) << storeyRecords[1];
  const std::vector<std::string> containments = OfType(records, "IFCRELCONTAINEDINSPATIALSTRUCTURE");
  ASSERT_EQ(containments.size(), 2u);
  EXPECT_NE(containments[0].find("'StroyStructure1'"), std::string::npos);
  EXPECT_NE(containments[1].find("'StroyStructure2'"), std::string::npos);
}

TEST_F(AnalysisExportTest, CloseSavesUnderItsOwnNameAndShutsTheInterfaceDown) {
  Open("opened.ifc");
  ExportAnalysisModelBuidlingOneStory(S("Only"), 2.5);
  EXPECT_EQ(ExportAnalysisModelCloseFile(S("closed.stp"), S(dir_.path().c_str())), -1);
  EXPECT_EQ(TARN().state(), TarnInterface::kUninitialized);
  EXPECT_EQ(analysis_export::Current(), nullptr);
  Capture();
  EXPECT_FALSE(test::FileExists(dir_.file("opened.ifc")));
  ASSERT_TRUE(test::FileExists(dir_.file("closed.stp")));
  const std::string text = Written("closed.stp");
  // The header keeps the name the file was opened with.
  EXPECT_NE(text.find("/* name */ 'opened',"), std::string::npos);
  const std::map<int, std::string> records = Records(text);
  const std::vector<std::string> aggregates = OfType(records, "IFCRELAGGREGATES");
  ASSERT_EQ(aggregates.size(), 3u);
  EXPECT_NE(aggregates[0].find("'Building Container'"), std::string::npos);
  // No model was added: no model, no group, nothing else.
  EXPECT_TRUE(OfType(records, "IFCSTRUCTURALANALYSISMODEL").empty());
  EXPECT_TRUE(OfType(records, "IFCRELASSIGNSTOGROUP").empty());

  // A second close has nothing to close.
  EXPECT_EQ(ExportAnalysisModelCloseFile(S("again.ifc"), S(dir_.path().c_str())), -1);
  EXPECT_FALSE(test::FileExists(dir_.file("again.ifc")));
  EXPECT_EQ(Warnings("ExportAnalysisModelCloseFile ignored: no export is open"), 1) << out_.text();
}

TEST_F(AnalysisExportTest, CloseWithoutANameUsesTheOpenedName) {
  Open("kept.ifc");
  EXPECT_EQ(ExportAnalysisModelCloseFile(nullptr, S(dir_.path().c_str())), -1);
  EXPECT_TRUE(test::FileExists(dir_.file("kept.ifc")));
}

TEST_F(AnalysisExportTest, SecondExportInTheSameProcessStartsAfresh) {
  FrameModel();
  std::vector<std::string> firstIds, secondIds;
  Written("frame.ifc", &firstIds);

  Open("second.ifc");
  ExportAnalysisModelBuidlingOneStory(S("Ground"), 0.0);
  ExportAnalysisModelAddAnalysisModel(S("Again"), S("Second"));
  EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("A"), 1, 0, 0, 0), 1);
  Close("second.ifc");

  const std::string text = Written("second.ifc", &secondIds);
  const std::map<int, std::string> records = Records(text);
  const std::vector<std::string> containments = OfType(records, "IFCRELCONTAINEDINSPATIALSTRUCTURE");
  ASSERT_EQ(containments.size(), 1u);
  EXPECT_NE(containments[0].find("'StroyStructure1'"), std::string::npos) << containments[0];
  EXPECT_EQ(OfType(records, "IFCBUILDINGSTOREY").size(), 1u);
  EXPECT_EQ(OfType(records, "IFCSTRUCTURALPOINTCONNECTION").size(), 1u);
  EXPECT_EQ(records.begin()->first, 10);
  EXPECT_EQ(records.begin()->second, "IFCPERSON($,'Tester','Tester',$,$,$,$,$)");
  ASSERT_FALSE(firstIds.empty());
  ASSERT_FALSE(secondIds.empty());
  EXPECT_NE(firstIds[0], secondIds[0]);  // the projects
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
  EXPECT_EQ(ExportAnalysisModelCloseFile(S("none.ifc"), S(dir_.path().c_str())), -1);
  EXPECT_EQ(Warnings("ignored: no export is open"), 7) << out_.text();
  EXPECT_EQ(analysis_export::Current(), nullptr);
  EXPECT_FALSE(test::FileExists(dir_.file("none.ifc")));
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
  EXPECT_EQ(ExportAnalysisModelCloseFile(S("interrupted.ifc"), S(dir_.path().c_str())), -1);
  EXPECT_EQ(Warnings("the export of 'interrupted' has ended unsaved"), 1) << out_.text();
  EXPECT_EQ(Warnings("ignored: no export is open"), 3) << out_.text();
  EXPECT_FALSE(test::FileExists(dir_.file("interrupted.ifc")));
  // A new export works as ever.
  Open("after.ifc");
  EXPECT_EQ(ExportAnalysisModelCloseFile(S("after.ifc"), S(dir_.path().c_str())), -1);
  EXPECT_TRUE(test::FileExists(dir_.file("after.ifc")));
}

TEST_F(AnalysisExportTest, DeletedDesignEndsTheExport) {
  Open("deleted.ifc");
  TarnDesign* design = analysis_export::Current()->design();
  TARN().deleteDesign(design);
  TARN().emptyTrash();
  EXPECT_EQ(analysis_export::Current(), nullptr);
  EXPECT_EQ(ExportAnalysisModelAddAnalysisModel(S("M"), S("D")), -1);
  EXPECT_EQ(Warnings("ExportAnalysisModelAddAnalysisModel ignored: no export is open"), 1) << out_.text();
  EXPECT_EQ(Warnings("the export of 'deleted' has ended unsaved"), 1) << out_.text();
  EXPECT_EQ(TARN().state(), TarnInterface::kInitialized);
}

TEST_F(AnalysisExportTest, WithoutTheSchemaNothingOpens) {
  test::TempDir empty;
  TARN().setSchemaPath(empty.path().c_str());
  // The schema's errors end the process under the default exit level.
  TARN().reporter()->setExitLevel(4);
  EXPECT_EQ(ExportAnalysisModelOpenFile(S("noschema.ifc"), nullptr, S("d"), S("o"), S("a"), S("g"), S("z"), S("p"),
                                        10, 15),
            -1);
  EXPECT_EQ(analysis_export::Current(), nullptr);
  EXPECT_NE(out_.text().find("TARN: error: Couldn't open schema 'ifc2x2_final'"), std::string::npos) << out_.text();
  EXPECT_EQ(Warnings("'noschema.ifc' not opened: the IFC2x2 schema cannot be loaded"), 1) << out_.text();
  EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("N"), 1, 0, 0, 0), 0);
  EXPECT_EQ(ExportAnalysisModelCloseFile(S("noschema.ifc"), S(dir_.path().c_str())), -1);
  EXPECT_FALSE(test::FileExists(dir_.file("noschema.ifc")));
}

TEST_F(AnalysisExportTest, OpenWhileOpenDiscardsTheUnfinishedExport) {
  Open("abandoned.ifc");
  double elevations[] = {0.0, 0.0, 3.0};
  ExportAnalysisModelBuidling(2, elevations);
  Open("kept.ifc");
  EXPECT_EQ(Warnings("the unfinished export of 'abandoned' is discarded"), 1) << out_.text();
  EXPECT_EQ(TARN().designInMemory("abandoned"), nullptr);
  EXPECT_EQ(analysis_export::Current()->storeyCount(), 0);
  Close("kept.ifc");
  EXPECT_FALSE(test::FileExists(dir_.file("abandoned.ifc")));
  const std::map<int, std::string> records = Records(Written("kept.ifc"));
  EXPECT_TRUE(OfType(records, "IFCBUILDINGSTOREY").empty());
  // No storey: the building's aggregation has no members at all.
  int building = 0;
  for (const auto& r : records)
    if (r.second.compare(0, 12, "IFCBUILDING(") == 0) building = r.first;
  const std::vector<std::string> aggregates = OfType(records, "IFCRELAGGREGATES");
  ASSERT_EQ(aggregates.size(), 3u);
  EXPECT_NE(aggregates[0].find("'Building Container',$,#" + std::to_string(building) + ",$)"), std::string::npos)
      << aggregates[0];
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

  const std::map<int, std::string> records = Records(Written("storeys.ifc"));
  const std::vector<std::string> storeys = OfType(records, "IFCBUILDINGSTOREY");
  ASSERT_EQ(storeys.size(), 5u);  // Old, Stroy1, Stroy2, Top, Stroy1
  EXPECT_NE(storeys[0].find("'Old'"), std::string::npos);
  EXPECT_NE(storeys[3].find("'Top'"), std::string::npos);
  EXPECT_NE(storeys[4].find("'Stroy1'"), std::string::npos);
  const std::vector<std::string> containments = OfType(records, "IFCRELCONTAINEDINSPATIALSTRUCTURE");
  ASSERT_EQ(containments.size(), 5u);
  EXPECT_NE(containments[3].find("'StroyStructure3'"), std::string::npos) << containments[3];
  EXPECT_NE(containments[4].find("'StroyStructure1'"), std::string::npos) << containments[4];
  // Only the last list is aggregated into the building.
  int lastStorey = 0;
  for (const auto& r : records)
    if (r.second.compare(0, 18, "IFCBUILDINGSTOREY(") == 0) lastStorey = r.first;
  const std::string building = OfType(records, "IFCRELAGGREGATES")[0];
  EXPECT_NE(building.find(",(#" + std::to_string(lastStorey) + "))"), std::string::npos) << building;
}

TEST_F(AnalysisExportTest, HostileArgumentsWriteWhatCanBeWritten) {
  EXPECT_EQ(ExportAnalysisModelOpenFile(S("hostile.ifc"), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                        nullptr, 99, 77),
            -1);
  ASSERT_NE(analysis_export::Current(), nullptr);
  EXPECT_EQ(Warnings("unknown length unit name index 77"), 1) << out_.text();
  EXPECT_EQ(ExportAnalysisModelBuidling(3, nullptr), -1);
  EXPECT_EQ(Warnings("ExportAnalysisModelBuidling ignored: 3 storeys without elevations"), 1);
  EXPECT_EQ(analysis_export::Current()->storeyCount(), 0);
  ExportAnalysisModelBuidlingOneStory(nullptr, 1.0);
  // Before the model: written, but in no group.
  EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(nullptr, 1, 0, 0, 0), 1);
  EXPECT_EQ(Warnings("is in no analysis model"), 1) << out_.text();
  ExportAnalysisModelAddAnalysisModel(nullptr, nullptr);
  ExportAnalysisModelAddOneCurveMember(S("C"), 1, 0, 1, -5, 99, 0, 0, 0, 1, 1, 1);
  EXPECT_EQ(ExportAnalysisModelAddOneSurfaceMember(S("F"), 1, 3, nullptr, nullptr, nullptr, nullptr, nullptr), -1);
  EXPECT_EQ(Warnings("ExportAnalysisModelAddOneSurfaceMember ignored: 3 corners and a missing array"), 1);
  EXPECT_EQ(ExportAnalysisModelAddOneSurfaceMember(S("Empty"), 1, -1, nullptr, nullptr, nullptr, nullptr, nullptr),
            -1);
  int storeys[] = {1, 1};
  int positions[] = {2, 3};  // the curve member, then the empty surface
  double xs[] = {0, 1}, ys[] = {0, 0}, zs[] = {0, 0};
  ExportAnalysisModelAddOneSurfaceMember(S("Members"), 1, 2, storeys, positions, xs, ys, zs);
  EXPECT_EQ(ExportAnalysisModelCloseFile(S("hostile.ifc"), S(dir_.path().c_str())), -1);
  Capture();

  const std::string text = Written("hostile.ifc");
  EXPECT_NE(text.find("/* description */ (''),"), std::string::npos);
  EXPECT_NE(text.find("/* author */ (''),"), std::string::npos);
  const std::map<int, std::string> records = Records(text);
  EXPECT_EQ(records.at(10), "IFCPERSON($,$,$,$,$,$,$,$)");
  const std::vector<std::string> units = OfType(records, "IFCSIUNIT");
  ASSERT_EQ(units.size(), 2u);
  EXPECT_EQ(units[0], "IFCSIUNIT(*,.LENGTHUNIT.,$,$)");
  EXPECT_EQ(units[1], "IFCSIUNIT(*,.AREAUNIT.,$,.SQUARE_METRE.)");
  EXPECT_TRUE(OfType(records, "IFCRELCONNECTSSTRUCTURALMEMBER").empty());
  EXPECT_EQ(OfType(records, "IFCSTRUCTURALSURFACEMEMBER").size(), 2u);
  const std::vector<std::string> loops = OfType(records, "IFCPOLYLOOP");
  ASSERT_EQ(loops.size(), 2u);
  EXPECT_EQ(loops[0], "IFCPOLYLOOP(())");
  // The node added before the model is in its storey but not in the group.
  const std::vector<std::string> groups = OfType(records, "IFCRELASSIGNSTOGROUP");
  ASSERT_EQ(groups.size(), 1u);
  const std::vector<std::string> nodes = OfType(records, "IFCSTRUCTURALPOINTCONNECTION");
  ASSERT_EQ(nodes.size(), 1u);
  int node = 0;
  for (const auto& r : records)
    if (r.second == nodes[0]) node = r.first;
  EXPECT_EQ(groups[0].find("#" + std::to_string(node) + ","), std::string::npos) << groups[0];
  const std::string containment = OfType(records, "IFCRELCONTAINEDINSPATIALSTRUCTURE")[0];
  EXPECT_NE(containment.find("(#" + std::to_string(node) + ","), std::string::npos) << containment;
}

}  // namespace
}  // namespace korva
