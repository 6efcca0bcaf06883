// The five building exports, called as the host calls them: whole written
// files against their expected text, the library's state after each call,
// and hostile input.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "api/korvaifc.h"
#include "objdb/design.h"
#include "objdb/interface.h"
#include "support/ifc_file_test.h"

namespace korva {
namespace {

// The host's arrays.  Element 0 of every per-element array is 99, which no
// expected file contains: index 0 must never be read.
struct Model {
  std::vector<double> elevation, x, y;
  std::vector<int> start[4], points[4], storey[4];
  std::vector<double> depth, location[3], axis[3], reference[3];
  int count[4] = {0, 0, 0, 0};
  int storeys = 0;

  // Two storeys; a square column (storey 1), a triangular beam along X and a
  // triangular slab (storey 2).
  static Model Tower() {
    Model m;
    m.storeys = 2;
    m.elevation = {99, 0.0, 3.5};
    m.x = {99, 0, 0.4, 0.4, 0, 0, 0.3, 0.3, 0, 6, 6};
    m.y = {99, 0, 0, 0.4, 0.4, 0, 0, 0.5, 0, 0, 4};
    m.kind(0, {1}, {4}, {1});
    m.kind(1, {5}, {3}, {2});
    m.kind(2, {8}, {3}, {2});
    m.depth = {99, 3, 6, 0.25};
    m.location[0] = {99, 1, 0, 0};
    m.location[1] = {99, 2, 0, 0};
    m.location[2] = {99, 0, 3, 3.5};
    m.axis[0] = {99, 0, 1, 0};
    m.axis[1] = {99, 0, 0, 0};
    m.axis[2] = {99, 1, 0, 1};
    m.reference[0] = {99, 1, 0, 1};
    m.reference[1] = {99, 0, 0, 0};
    m.reference[2] = {99, 0, 1, 0};
    return m;
  }

  // As Tower, with a first beam of no points (skipped, but it keeps its
  // running number 2, whose values are all 77) and a wall in storey 1.
  static Model TowerWithWall() {
    Model m = Tower();
    m.x.insert(m.x.end(), {0, 5, 5, 0});
    m.y.insert(m.y.end(), {0, 0, 0.2, 0.2});
    m.kind(1, {5, 5}, {0, 3}, {1, 2});
    m.kind(3, {11}, {4}, {1});
    m.depth = {99, 3, 77, 6, 0.25, 2.8};
    m.location[0] = {99, 1, 77, 0, 0, 0};
    m.location[1] = {99, 2, 77, 0, 0, 5};
    m.location[2] = {99, 0, 77, 3, 3.5, 0};
    m.axis[0] = {99, 0, 77, 1, 0, 0};
    m.axis[1] = {99, 0, 77, 0, 0, 0};
    m.axis[2] = {99, 1, 77, 0, 1, 1};
    m.reference[0] = {99, 1, 77, 0, 1, 1};
    m.reference[1] = {99, 0, 77, 0, 0, 0};
    m.reference[2] = {99, 0, 77, 1, 0, 0};
    return m;
  }

  void kind(int k, std::vector<int> s, std::vector<int> p, std::vector<int> st) {
    count[k] = static_cast<int>(s.size());
    start[k] = {99};
    points[k] = {99};
    storey[k] = {99};
    start[k].insert(start[k].end(), s.begin(), s.end());
    points[k].insert(points[k].end(), p.begin(), p.end());
    storey[k].insert(storey[k].end(), st.begin(), st.end());
  }
};

// The faceted model: object 1 has no faces; object 2 a square and a
// triangle (its fourth index repeats the third) over five vertices.
struct Facets {
  int objects = 2;
  std::vector<double> x = {99, 0, 1, 1, 0, 0.5};
  std::vector<double> y = {99, 0, 0, 1, 1, 0.5};
  std::vector<double> z = {99, 0, 0, 0, 0, 1};
  std::vector<int> vertex[4] = {{99, 1, 1}, {99, 2, 2}, {99, 3, 5}, {99, 4, 5}};
  std::vector<int> first = {99, 1, 1};
  std::vector<int> count = {99, 0, 2};
};

// The host's texts (all null in None()).
struct Texts {
  const char *description = "KORVA model", *system = "KORVA 9", *author = "Lee", *organization = "Korva Ltd",
             *authorization = "none", *application = "KORVA Structural";
  static Texts None() { return {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}; }
  char* d() const { return const_cast<char*>(description); }
  char* s() const { return const_cast<char*>(system); }
  char* au() const { return const_cast<char*>(author); }
  char* o() const { return const_cast<char*>(organization); }
  char* az() const { return const_cast<char*>(authorization); }
  char* ap() const { return const_cast<char*>(application); }
};

const int kMilli = 10, kMetre = 15;

double* D(std::vector<double>& v) { return v.empty() ? nullptr : v.data(); }
int* I(std::vector<int>& v) { return v.empty() ? nullptr : v.data(); }
char* C(const char* s) { return const_cast<char*>(s); }

void CallFaceted(Facets& f, const char* name, const char* dir, Texts t = Texts()) {
  ExportOpenFile(C(name), C(dir), t.d(), t.s(), t.au(), t.o(), t.az(), t.ap(), kMilli, kMetre, 12345, f.objects,
                 D(f.x), D(f.y), D(f.z), I(f.vertex[0]), I(f.vertex[1]), I(f.vertex[2]), I(f.vertex[3]),
                 I(f.first), I(f.count));
}

void CallNew(Model& m, const char* name, const char* dir, Texts t = Texts()) {
  ExportOpenFileNew(C(name), C(dir), t.d(), t.s(), t.au(), t.o(), t.az(), t.ap(), kMilli, kMetre, m.count[0],
                    m.count[1], D(m.x), D(m.y), I(m.start[0]), I(m.points[0]), I(m.start[1]), I(m.points[1]),
                    D(m.depth), D(m.location[0]), D(m.location[1]), D(m.location[2]), D(m.axis[0]),
                    D(m.axis[1]), D(m.axis[2]), D(m.reference[0]), D(m.reference[1]), D(m.reference[2]));
}

void CallStoreys(Model& m, const char* name, const char* dir, Texts t = Texts()) {
  ExportOpenFileWithStoryes(C(name), C(dir), t.d(), t.s(), t.au(), t.o(), t.az(), t.ap(), kMilli, kMetre,
                            m.count[0], m.count[1], m.storeys, D(m.elevation), D(m.x), D(m.y), I(m.start[0]),
                            I(m.points[0]), I(m.storey[0]), I(m.start[1]), I(m.points[1]), I(m.storey[1]),
                            D(m.depth), D(m.location[0]), D(m.location[1]), D(m.location[2]), D(m.axis[0]),
                            D(m.axis[1]), D(m.axis[2]), D(m.reference[0]), D(m.reference[1]),
                            D(m.reference[2]));
}

void CallSlabs(Model& m, const char* name, const char* dir, Texts t = Texts()) {
  ExportOpenFileWithStoryesAndSlabs(
      C(name), C(dir), t.d(), t.s(), t.au(), t.o(), t.az(), t.ap(), kMilli, kMetre, m.count[0], m.count[1],
      m.storeys, m.count[2], D(m.elevation), D(m.x), D(m.y), I(m.start[0]), I(m.points[0]), I(m.storey[0]),
      I(m.start[1]), I(m.points[1]), I(m.storey[1]), I(m.start[2]), I(m.points[2]), I(m.storey[2]),
      D(m.depth), D(m.location[0]), D(m.location[1]), D(m.location[2]), D(m.axis[0]), D(m.axis[1]),
      D(m.axis[2]), D(m.reference[0]), D(m.reference[1]), D(m.reference[2]));
}

void CallWalls(Model& m, const char* name, const char* dir, Texts t = Texts(), int prefix = kMilli,
               int unit = kMetre) {
  ExportOpenFileWithStoryesAndSlabsWalls(
      C(name), C(dir), t.d(), t.s(), t.au(), t.o(), t.az(), t.ap(), prefix, unit, m.count[0], m.count[1],
      m.storeys, m.count[2], m.count[3], D(m.elevation), D(m.x), D(m.y), I(m.start[0]), I(m.points[0]),
      I(m.storey[0]), I(m.start[1]), I(m.points[1]), I(m.storey[1]), I(m.start[2]), I(m.points[2]),
      I(m.storey[2]), I(m.start[3]), I(m.points[3]), I(m.storey[3]), D(m.depth), D(m.location[0]),
      D(m.location[1]), D(m.location[2]), D(m.axis[0]), D(m.axis[1]), D(m.axis[2]), D(m.reference[0]),
      D(m.reference[1]), D(m.reference[2]));
}

// The header every test file shows, for the design `name`.
std::string Header(const std::string& name) { return test::ExpectedHeader(name, "KORVA model", "Lee"); }

const char kEnd[] = "ENDSEC;\nEND-ISO-10303-21;\n";

// Owner history, units and world placement of the four older exports, up to
// the directions of the world placement; the application comes first and
// carries its full name only.
const char kOlderHistoryAndUnits[] = R"(DATA;
#10=IFCAPPLICATION($,$,'KORVA Structural',$);
#11=IFCPERSONANDORGANIZATION(#12,#13,$);
#12=IFCPERSON($,'Lee','Lee',$,$,$,$,$);
#13=IFCORGANIZATION($,'Korva Ltd',$,$,$);
#14=IFCOWNERHISTORY(#11,#10,$,.NOCHANGE.,0,$,$,11223344);
#15=IFCSIUNIT(*,.LENGTHUNIT.,.MILLI.,.METRE.);
#16=IFCSIUNIT(*,.AREAUNIT.,.MILLI.,.SQUARE_METRE.);
#17=IFCUNITASSIGNMENT((#15,#16));
#18=IFCDIRECTION((1.,0.,0.));
#19=IFCDIRECTION((0.,1.,0.));
#20=IFCDIRECTION((0.,0.,1.));
#21=IFCDIRECTION((0.,1.));
)";

const char kFacetedData[] = R"(#22=IFCCARTESIANPOINT((0.,0.,0.));
#23=IFCCARTESIANPOINT((0.,0.,0.));
#24=IFCCARTESIANPOINT((1.,0.,0.));
#25=IFCCARTESIANPOINT((1.,1.,0.));
#26=IFCCARTESIANPOINT((0.,1.,0.));
#27=IFCCARTESIANPOINT((0.,0.,0.));
#28=IFCCARTESIANPOINT((1.,0.,0.));
#29=IFCCARTESIANPOINT((0.5,0.5,1.));
#30=IFCCARTESIANPOINT((0.5,0.5,1.));
#31=IFCAXIS2PLACEMENT3D(#22,#20,#18);
#32=IFCLOCALPLACEMENT($,#31);
#33=IFCGEOMETRICREPRESENTATIONCONTEXT('Plan','Design',3,1.E-05,#31,#21);
#34=IFCPROJECT('AAAAAAAAAAAAAAAAAAAAAA',#14,'Default Project',$,$,
'Project Vkt','1234',(#33),#17);
#35=IFCSITE('BBBBBBBBBBBBBBBBBBBBBB',#14,'Default Site',$,$,#32,$,$,.ELEMENT.,
$,$,0.,$,$);
#36=IFCBUILDING('CCCCCCCCCCCCCCCCCCCCCC',#14,'Default Building',$,$,#32,
$,$,.ELEMENT.,0.,0.,$);
#37=IFCBUILDINGSTOREY('DDDDDDDDDDDDDDDDDDDDDD',#14,'AB',' ',' ',#32,$,
' ',.ELEMENT.,0.);
#38=IFCRELCONTAINEDINSPATIALSTRUCTURE('EEEEEEEEEEEEEEEEEEEEEE',#14,'AA',
$,(#49),#37);
#39=IFCPOLYLOOP((#23,#24,#25,#26));
#40=IFCPOLYLOOP((#27,#28,#29,#30));
#41=IFCFACEOUTERBOUND(#39,.T.);
#42=IFCFACEOUTERBOUND(#40,.T.);
#43=IFCFACE((#41));
#44=IFCFACE((#42));
#45=IFCCLOSEDSHELL((#43,#44));
#46=IFCFACETEDBREP(#45);
#47=IFCSHAPEREPRESENTATION($,'Body','Brep',(#46));
#48=IFCPRODUCTDEFINITIONSHAPE($,$,(#47));
#49=IFCBUILDINGELEMENTPROXY('VKT_CHECK2',$,$,$,$,#32,#48,$,.ELEMENT.);
#50=IFCRELAGGREGATES('FFFFFFFFFFFFFFFFFFFFFF',#14,'Building Container',$,
#36,(#37));
#51=IFCRELAGGREGATES('GGGGGGGGGGGGGGGGGGGGGG',#14,'Site Container',$,#35,
(#36));
#52=IFCRELAGGREGATES('HHHHHHHHHHHHHHHHHHHHHH',#14,'Project Container',$,
#34,(#35));
)";

// ExportOpenFileNew and ExportOpenFileWithStoryes write the same element
// geometry: directions and points of the world placement, the column and
// the beam.
const char kColumnAndBeamGeometry[] = R"(#22=IFCDIRECTION((0.,0.,1.));
#23=IFCDIRECTION((0.,0.,1.));
#24=IFCDIRECTION((1.,0.,0.));
#25=IFCDIRECTION((0.,0.,1.));
#26=IFCDIRECTION((1.,0.,0.));
#27=IFCDIRECTION((0.,0.,1.));
#28=IFCDIRECTION((0.,0.,1.));
#29=IFCDIRECTION((1.,0.,0.));
#30=IFCDIRECTION((1.,0.,0.));
#31=IFCDIRECTION((0.,0.,1.));
#32=IFCCARTESIANPOINT((0.,0.,0.));
#33=IFCCARTESIANPOINT((0.,0.));
#34=IFCCARTESIANPOINT((0.4,0.));
#35=IFCCARTESIANPOINT((0.4,0.4));
#36=IFCCARTESIANPOINT((0.,0.4));
#37=IFCCARTESIANPOINT((0.,0.,0.));
#38=IFCCARTESIANPOINT((1.,2.,0.));
#39=IFCCARTESIANPOINT((0.,0.));
#40=IFCCARTESIANPOINT((0.3,0.));
#41=IFCCARTESIANPOINT((0.3,0.5));
#42=IFCCARTESIANPOINT((0.,0.,0.));
#43=IFCCARTESIANPOINT((0.,0.,3.));
#44=IFCAXIS2PLACEMENT3D(#32,#20,#18);
#45=IFCAXIS2PLACEMENT3D(#37,#23,#24);
#46=IFCAXIS2PLACEMENT3D(#38,#25,#26);
#47=IFCAXIS2PLACEMENT3D(#42,#28,#29);
#48=IFCAXIS2PLACEMENT3D(#43,#30,#31);
#49=IFCLOCALPLACEMENT($,#44);
#50=IFCLOCALPLACEMENT(#49,#46);
#51=IFCLOCALPLACEMENT(#49,#48);
#52=IFCGEOMETRICREPRESENTATIONCONTEXT('Plan','Design',3,1.E-05,#44,#21);
#53=IFCPROJECT('AAAAAAAAAAAAAAAAAAAAAA',#14,'Default Project',$,$,
'Project Vkt','1234',(#52),#17);
#54=IFCSITE('BBBBBBBBBBBBBBBBBBBBBB',#14,'Default Site',$,$,#49,$,$,.ELEMENT.,
$,$,0.,$,$);
#55=IFCBUILDING('CCCCCCCCCCCCCCCCCCCCCC',#14,'Default Building',$,$,#49,
$,$,.ELEMENT.,0.,0.,$);
)";

const char kNewSpatialAndElements[] = R"(#56=IFCBUILDINGSTOREY('DDDDDDDDDDDDDDDDDDDDDD',#14,'AB',' ',' ',#49,$,
' ',.ELEMENT.,0.);
#57=IFCRELCONTAINEDINSPATIALSTRUCTURE('EEEEEEEEEEEEEEEEEEEEEE',#14,'AA',
$,(#68,#69),#56);
#58=IFCPOLYLINE((#33,#34,#35,#36,#33));
#59=IFCPOLYLINE((#39,#40,#41,#39));
#60=IFCARBITRARYCLOSEDPROFILEDEF(.AREA.,$,#58);
#61=IFCARBITRARYCLOSEDPROFILEDEF(.AREA.,$,#59);
#62=IFCEXTRUDEDAREASOLID(#60,#45,#22,3.);
#63=IFCEXTRUDEDAREASOLID(#61,#47,#27,6.);
#64=IFCSHAPEREPRESENTATION($,'Body','SweptSolid',(#62));
#65=IFCSHAPEREPRESENTATION($,'Body','SweptSolid',(#63));
#66=IFCPRODUCTDEFINITIONSHAPE($,$,(#64));
#67=IFCPRODUCTDEFINITIONSHAPE($,$,(#65));
#68=IFCCOLUMN('VKT_Column1',#14,$,$,$,#50,#66,$);
#69=IFCBEAM('VKT_Beam1',#14,$,$,$,#51,#67,$);
#70=IFCRELAGGREGATES('FFFFFFFFFFFFFFFFFFFFFF',#14,'Building Container',$,
#55,(#56));
#71=IFCRELAGGREGATES('GGGGGGGGGGGGGGGGGGGGGG',#14,'Site Container',$,#54,
(#55));
#72=IFCRELAGGREGATES('HHHHHHHHHHHHHHHHHHHHHH',#14,'Project Container',$,
#53,(#54));
)";

const char kStoreysSpatialAndElements[] = R"(#56=IFCBUILDINGSTOREY('DDDDDDDDDDDDDDDDDDDDDD',#14,'Stroy1',$,$,#49,$,$,
.ELEMENT.,0.);
#57=IFCBUILDINGSTOREY('DDDDDDDDDDDDDDDDDDDDDD',#14,'Stroy2',$,$,#49,$,$,
.ELEMENT.,3.5);
#58=IFCRELCONTAINEDINSPATIALSTRUCTURE('EEEEEEEEEEEEEEEEEEEEEE',#14,
'StroyStructure1',$,(#70),#56);
#59=IFCRELCONTAINEDINSPATIALSTRUCTURE('EEEEEEEEEEEEEEEEEEEEEE',#14,
'StroyStructure2',$,(#71),#57);
#60=IFCPOLYLINE((#33,#34,#35,#36,#33));
#61=IFCPOLYLINE((#39,#40,#41,#39));
#62=IFCARBITRARYCLOSEDPROFILEDEF(.AREA.,$,#60);
#63=IFCARBITRARYCLOSEDPROFILEDEF(.AREA.,$,#61);
#64=IFCEXTRUDEDAREASOLID(#62,#45,#22,3.);
#65=IFCEXTRUDEDAREASOLID(#63,#47,#27,6.);
#66=IFCSHAPEREPRESENTATION($,'Body','SweptSolid',(#64));
#67=IFCSHAPEREPRESENTATION($,'Body','SweptSolid',(#65));
#68=IFCPRODUCTDEFINITIONSHAPE($,$,(#66));
#69=IFCPRODUCTDEFINITIONSHAPE($,$,(#67));
#70=IFCCOLUMN('VKT_Column1',#14,$,$,$,#50,#68,$);
#71=IFCBEAM('VKT_Beam1',#14,$,$,$,#51,#69,$);
#72=IFCRELAGGREGATES('FFFFFFFFFFFFFFFFFFFFFF',#14,'Building Container',$,
#55,(#56,#57));
#73=IFCRELAGGREGATES('GGGGGGGGGGGGGGGGGGGGGG',#14,'Site Container',$,#54,
(#55));
#74=IFCRELAGGREGATES('HHHHHHHHHHHHHHHHHHHHHH',#14,'Project Container',$,
#53,(#54));
)";

// What the slabs export adds to the records of the storeys export: the
// slab's directions, points, placements, profile, solid, body and element,
// numbered among the column's and the beam's, in storey 2.  The rest of
// the file is that of the storeys export, renumbered.
const char* const kSlabRecords[] = {
    "\n#32=IFCDIRECTION((0.,0.,1.));\n#33=IFCDIRECTION((0.,0.,1.));\n#34=IFCDIRECTION((1.,0.,0.));\n"
    "#35=IFCDIRECTION((0.,0.,1.));\n#36=IFCDIRECTION((1.,0.,0.));\n#37=IFCCARTESIANPOINT((0.,0.,0.));\n",
    "\n#49=IFCCARTESIANPOINT((0.,0.));\n#50=IFCCARTESIANPOINT((6.,0.));\n#51=IFCCARTESIANPOINT((6.,4.));\n"
    "#52=IFCCARTESIANPOINT((0.,0.,0.));\n#53=IFCCARTESIANPOINT((0.,0.,3.5));\n#54=IFCAXIS2PLACEMENT3D(#37,#20,#18);\n",
    "\n#59=IFCAXIS2PLACEMENT3D(#52,#33,#34);\n#60=IFCAXIS2PLACEMENT3D(#53,#35,#36);\n#61=IFCLOCALPLACEMENT($,#54);\n",
    "\n#64=IFCLOCALPLACEMENT(#61,#60);\n#65=IFCGEOMETRICREPRESENTATIONCONTEXT('Plan','Design',3,1.E-05,#54,#21);\n",
    "'StroyStructure1',$,(#88),#69);\n",
    "'StroyStructure2',$,(#89,#90),#70);\n#73=IFCPOLYLINE((#38,#39,#40,#41,#38));\n",
    "\n#75=IFCPOLYLINE((#49,#50,#51,#49));\n",
    "\n#78=IFCARBITRARYCLOSEDPROFILEDEF(.AREA.,$,#75);\n",
    "\n#81=IFCEXTRUDEDAREASOLID(#78,#59,#32,0.25);\n",
    "\n#84=IFCSHAPEREPRESENTATION($,'Body','SweptSolid',(#81));\n",
    "\n#87=IFCPRODUCTDEFINITIONSHAPE($,$,(#84));\n#88=IFCCOLUMN('VKT_Column1',#14,$,$,$,#62,#85,$);\n"
    "#89=IFCBEAM('VKT_Beam1',#14,$,$,$,#63,#86,$);\n#90=IFCSLAB('VKT_Slab1',#14,$,$,$,#64,#87,$,$);\n"
    "#91=IFCRELAGGREGATES('FFFFFFFFFFFFFFFFFFFFFF',#14,'Building Container',$,\n#68,(#69,#70));\n"};

// The current export: person first, the full application, new GlobalIds
// (masked as <guid>), the body context and the wall.
const char kWallsData[] = R"(DATA;
#10=IFCPERSON($,'Lee','Lee',$,$,$,$,$);
#11=IFCORGANIZATION($,'Korva Ltd',$,$,$);
#12=IFCPERSONANDORGANIZATION(#10,#11,$);
#13=IFCAPPLICATION(#11,'9.0','KORVA Structural','KORVA');
#14=IFCOWNERHISTORY(#12,#13,$,.NOCHANGE.,0,$,$,11223344);
#15=IFCSIUNIT(*,.LENGTHUNIT.,.MILLI.,.METRE.);
#16=IFCSIUNIT(*,.AREAUNIT.,.MILLI.,.SQUARE_METRE.);
#17=IFCUNITASSIGNMENT((#15,#16));
#18=IFCDIRECTION((1.,0.,0.));
#19=IFCDIRECTION((0.,1.,0.));
#20=IFCDIRECTION((0.,0.,1.));
#21=IFCDIRECTION((0.,1.));
#22=IFCDIRECTION((0.,1.));
#23=IFCDIRECTION((0.,0.,1.));
#24=IFCDIRECTION((0.,0.,1.));
#25=IFCDIRECTION((1.,0.,0.));
#26=IFCDIRECTION((0.,0.,1.));
#27=IFCDIRECTION((1.,0.,0.));
#28=IFCDIRECTION((0.,0.,1.));
#29=IFCDIRECTION((0.,0.,1.));
#30=IFCDIRECTION((1.,0.,0.));
#31=IFCDIRECTION((1.,0.,0.));
#32=IFCDIRECTION((0.,0.,1.));
#33=IFCDIRECTION((0.,0.,1.));
#34=IFCDIRECTION((0.,0.,1.));
#35=IFCDIRECTION((1.,0.,0.));
#36=IFCDIRECTION((0.,0.,1.));
#37=IFCDIRECTION((1.,0.,0.));
#38=IFCDIRECTION((0.,0.,1.));
#39=IFCDIRECTION((0.,0.,1.));
#40=IFCDIRECTION((1.,0.,0.));
#41=IFCDIRECTION((0.,0.,1.));
#42=IFCDIRECTION((1.,0.,0.));
#43=IFCCARTESIANPOINT((0.,0.,0.));
#44=IFCCARTESIANPOINT((0.,0.));
#45=IFCCARTESIANPOINT((0.4,0.));
#46=IFCCARTESIANPOINT((0.4,0.4));
#47=IFCCARTESIANPOINT((0.,0.4));
#48=IFCCARTESIANPOINT((0.,0.,0.));
#49=IFCCARTESIANPOINT((1.,2.,0.));
#50=IFCCARTESIANPOINT((0.,0.));
#51=IFCCARTESIANPOINT((0.3,0.));
#52=IFCCARTESIANPOINT((0.3,0.5));
#53=IFCCARTESIANPOINT((0.,0.,0.));
#54=IFCCARTESIANPOINT((0.,0.,3.));
#55=IFCCARTESIANPOINT((0.,0.));
#56=IFCCARTESIANPOINT((6.,0.));
#57=IFCCARTESIANPOINT((6.,4.));
#58=IFCCARTESIANPOINT((0.,0.,0.));
#59=IFCCARTESIANPOINT((0.,0.,3.5));
#60=IFCCARTESIANPOINT((0.,0.));
#61=IFCCARTESIANPOINT((5.,0.));
#62=IFCCARTESIANPOINT((5.,0.2));
#63=IFCCARTESIANPOINT((0.,0.2));
#64=IFCCARTESIANPOINT((0.,0.,0.));
#65=IFCCARTESIANPOINT((0.,5.,0.));
#66=IFCAXIS2PLACEMENT3D(#43,#20,#18);
#67=IFCAXIS2PLACEMENT3D(#48,#24,#25);
#68=IFCAXIS2PLACEMENT3D(#49,#26,#27);
#69=IFCAXIS2PLACEMENT3D(#53,#29,#30);
#70=IFCAXIS2PLACEMENT3D(#54,#31,#32);
#71=IFCAXIS2PLACEMENT3D(#58,#34,#35);
#72=IFCAXIS2PLACEMENT3D(#59,#36,#37);
#73=IFCAXIS2PLACEMENT3D(#64,#39,#40);
#74=IFCAXIS2PLACEMENT3D(#65,#41,#42);
#75=IFCLOCALPLACEMENT($,#66);
#76=IFCLOCALPLACEMENT(#75,#68);
#77=IFCLOCALPLACEMENT(#75,#70);
#78=IFCLOCALPLACEMENT(#75,#72);
#79=IFCLOCALPLACEMENT(#75,#74);
#80=IFCGEOMETRICREPRESENTATIONCONTEXT('Plan','Design',3,1.E-05,#66,#21);
#81=IFCGEOMETRICREPRESENTATIONCONTEXT('Plan','Design',3,1.E-05,#66,#22);
#82=IFCPROJECT('<guid>',#14,'Default Project',$,$,
'Project Vkt','1234',(#80,#81),#17);
#83=IFCSITE('<guid>',#14,'Default Site',$,$,#75,$,$,.ELEMENT.,
$,$,0.,$,$);
#84=IFCBUILDING('<guid>',#14,'Default Building',$,$,#75,
$,$,.ELEMENT.,0.,0.,$);
#85=IFCBUILDINGSTOREY('<guid>',#14,'Stroy1',' ',' ',#75,
$,' ',.ELEMENT.,0.);
#86=IFCBUILDINGSTOREY('<guid>',#14,'Stroy2',' ',' ',#75,
$,' ',.ELEMENT.,3.5);
#87=IFCRELCONTAINEDINSPATIALSTRUCTURE('<guid>',#14,
'StroyStructure1',$,(#109,#112),#85);
#88=IFCRELCONTAINEDINSPATIALSTRUCTURE('<guid>',#14,
'StroyStructure2',$,(#110,#111),#86);
#89=IFCPOLYLINE((#44,#45,#46,#47,#44));
#90=IFCPOLYLINE((#50,#51,#52,#50));
#91=IFCPOLYLINE((#55,#56,#57,#55));
#92=IFCPOLYLINE((#60,#61,#62,#63,#60));
#93=IFCARBITRARYCLOSEDPROFILEDEF(.AREA.,$,#89);
#94=IFCARBITRARYCLOSEDPROFILEDEF(.AREA.,$,#90);
#95=IFCARBITRARYCLOSEDPROFILEDEF(.AREA.,$,#91);
#96=IFCARBITRARYCLOSEDPROFILEDEF(.AREA.,$,#92);
#97=IFCEXTRUDEDAREASOLID(#93,#67,#23,3.);
#98=IFCEXTRUDEDAREASOLID(#94,#69,#28,6.);
#99=IFCEXTRUDEDAREASOLID(#95,#71,#33,0.25);
#100=IFCEXTRUDEDAREASOLID(#96,#73,#38,2.8);
#101=IFCSHAPEREPRESENTATION(#81,'Body','SweptSolid',(#97));
#102=IFCSHAPEREPRESENTATION(#81,'Body','SweptSolid',(#98));
#103=IFCSHAPEREPRESENTATION(#81,'Body','SweptSolid',(#99));
#104=IFCSHAPEREPRESENTATION(#81,'Body','SweptSolid',(#100));
#105=IFCPRODUCTDEFINITIONSHAPE($,$,(#101));
#106=IFCPRODUCTDEFINITIONSHAPE($,$,(#102));
#107=IFCPRODUCTDEFINITIONSHAPE($,$,(#103));
#108=IFCPRODUCTDEFINITIONSHAPE($,$,(#104));
#109=IFCCOLUMN('<guid>',#14,$,$,$,#76,#105,$);
#110=IFCBEAM('<guid>',#14,$,$,$,#77,#106,$);
#111=IFCSLAB('<guid>',#14,$,$,$,#78,#107,$,$);
#112=IFCWALLSTANDARDCASE('<guid>',#14,$,$,$,#79,#108,$);
#113=IFCRELAGGREGATES('<guid>',#14,'Building Container',
$,#84,(#85,#86));
#114=IFCRELAGGREGATES('<guid>',#14,'Site Container',$,#83,
(#84));
#115=IFCRELAGGREGATES('<guid>',#14,'Project Container',$,
#82,(#83));
)";

class BuildingExportTest : public test::IfcFileTest {
 protected:
  const char* Dir() const { return dir_.path().c_str(); }
  // The messages since the last Capture() say each of `said`; the file
  // `name` holds each text of `present` and none of `absent`.
  void ExpectWritten(const std::string& name, std::vector<std::string> said, std::vector<std::string> present,
                     std::vector<std::string> absent) {
    const std::string text = Masked(name), log = Messages();
    for (const std::string& s : said) EXPECT_NE(log.find(s), std::string::npos) << s << "\n" << log;
    for (const std::string& p : present) EXPECT_NE(text.find(p), std::string::npos) << p << "\n" << text;
    for (const std::string& a : absent) EXPECT_EQ(text.find(a), std::string::npos) << a;
  }
  // The Tower as the slabs export writes it into `name`.ifc.
  void ExpectSlabsFile(const std::string& name) {
    const std::string text = Masked(name + ".ifc");
    EXPECT_EQ(text.rfind(Header(name) + kOlderHistoryAndUnits, 0), 0u) << text;
    for (const char* record : kSlabRecords) EXPECT_NE(text.find(record), std::string::npos) << record << text;
    const std::string tail =
        std::string("\n#93=IFCRELAGGREGATES('HHHHHHHHHHHHHHHHHHHHHH',#14,'Project Container',$,\n#66,(#67));\n") + kEnd;
    EXPECT_EQ(text.substr(text.size() - std::min(text.size(), tail.size())), tail);
  }
};

TEST_F(BuildingExportTest, ExportOpenFileWritesFacetedProxiesAndStaysInitialised) {
  Facets f;
  CallFaceted(f, "faceted.ifc", Dir());
  EXPECT_EQ(Masked("faceted.ifc"), Header("faceted") + kOlderHistoryAndUnits + kFacetedData + kEnd);
  EXPECT_EQ(TARN().state(), TarnInterface::kInitialized);
  // The export's design is gone; only the schemas and "unnamed" stay.
  for (TarnDesign* d : TARN().designs()) EXPECT_STRNE(d->name(), "faceted");
  EXPECT_EQ(TARN().designInMemory("faceted"), nullptr);
}

TEST_F(BuildingExportTest, ExportOpenFileNewPutsEverythingIntoOneStorey) {
  Model m = Model::Tower();
  m.count[2] = 1;  // slabs are not written by this export
  CallNew(m, "single.ifc", Dir());
  EXPECT_EQ(Masked("single.ifc"),
            Header("single") + kOlderHistoryAndUnits + kColumnAndBeamGeometry + kNewSpatialAndElements + kEnd);
  EXPECT_EQ(TARN().state(), TarnInterface::kUninitialized);
}

TEST_F(BuildingExportTest, ExportOpenFileWithStoryesWritesFixedIdentifiersPerStorey) {
  Model m = Model::Tower();
  CallStoreys(m, "storeys.ifc", Dir());
  EXPECT_EQ(Masked("storeys.ifc"), Header("storeys") + kOlderHistoryAndUnits + kColumnAndBeamGeometry +
                                          kStoreysSpatialAndElements + kEnd);
  EXPECT_EQ(TARN().state(), TarnInterface::kUninitialized);
}

TEST_F(BuildingExportTest, ExportOpenFileWithStoryesAndSlabsAddsSlabs) {
  Model m = Model::Tower();
  CallSlabs(m, "slabs.ifc", Dir());
  ExpectSlabsFile("slabs");
  EXPECT_EQ(TARN().state(), TarnInterface::kUninitialized);
}

TEST_F(BuildingExportTest, ExportOpenFileWithStoryesAndSlabsWallsWritesNewGlobalIds) {
  Model m = Model::TowerWithWall();
  std::vector<std::string> ids;
  CallWalls(m, "walls.ifc", Dir());
  EXPECT_EQ(Masked("walls.ifc", &ids), Header("walls") + kWallsData + kEnd);
  EXPECT_EQ(TARN().state(), TarnInterface::kUninitialized);
  // A second export in the same process: the same file but new identifiers.
  Capture();
  CallWalls(m, "walls2.ifc", Dir());
  EXPECT_EQ(Masked("walls2.ifc", &ids), Header("walls2") + kWallsData + kEnd);
  // Project, site, building, 2 storeys, 2 containments, 4 elements and 3
  // aggregations in each file: 28 identifiers, all different.
  EXPECT_EQ(ids.size(), 28u);
  EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), ids.size());
}

TEST_F(BuildingExportTest, ExportsFollowOneAnotherInOneProcess) {
  // ExportOpenFile leaves the library initialised, the others shut it down;
  // every order works and writes the same files again.
  Facets f;
  Model m = Model::Tower();
  CallFaceted(f, "a.ifc", Dir());
  CallFaceted(f, "b.ifc", Dir());
  CallSlabs(m, "c.ifc", Dir());
  Capture();
  CallFaceted(f, "d.ifc", Dir());
  CallStoreys(m, "e.ifc", Dir());
  for (const char* name : {"a", "b", "d"})
    EXPECT_EQ(Masked(std::string(name) + ".ifc"), Header(name) + kOlderHistoryAndUnits + kFacetedData + kEnd);
  ExpectSlabsFile("c");
  EXPECT_EQ(Masked("e.ifc"), Header("e") + kOlderHistoryAndUnits + kColumnAndBeamGeometry +
                                    kStoreysSpatialAndElements + kEnd);
}

TEST_F(BuildingExportTest, FileNameWithoutExtensionIsSavedAsStp) {
  Model m = Model::Tower();
  CallStoreys(m, "plain", Dir());
  EXPECT_TRUE(test::FileExists(File("plain.stp")));
}

// --- hostile input ------------------------------------------------------

struct Refusal {
  const char* what;
  void (*call)(const char* dir);
  const char* message;
};

const Refusal kRefusals[] = {
    {"null file name", [](const char* dir) { Model m = Model::Tower(); CallStoreys(m, nullptr, dir); },
     "warning: ExportOpenFileWithStoryes: no file name given; no file written"},
    {"empty file name", [](const char* dir) { Facets f; CallFaceted(f, "", dir); },
     "warning: ExportOpenFile: no file name given; no file written"},
    {"null directory", [](const char*) { Model m; CallNew(m, "refused.ifc", nullptr); },
     "warning: ExportOpenFileNew: no directory given; no file written"},
    {"null elevations",
     [](const char* dir) {
       Model m = Model::Tower();
       m.elevation.clear();
       CallSlabs(m, "refused.ifc", dir);
     },
     "warning: ExportOpenFileWithStoryesAndSlabs: no storey elevations given for 2 storeys; no file written"},
    {"null beam point counts",
     [](const char* dir) {
       Model m = Model::Tower();
       m.points[1].clear();
       CallNew(m, "refused.ifc", dir);
     },
     "warning: ExportOpenFileNew: no beam point counts given for 1 elements; no file written"},
    {"null wall storeys",
     [](const char* dir) {
       Model m = Model::TowerWithWall();
       m.storey[3].clear();
       CallWalls(m, "refused.ifc", dir);
     },
     "warning: ExportOpenFileWithStoryesAndSlabsWalls: no wall storey numbers given for 1 elements; no file "
     "written"},
    {"null reference Z",
     [](const char* dir) {
       Model m = Model::TowerWithWall();
       m.reference[2].clear();
       CallWalls(m, "refused.ifc", dir);
     },
     "warning: ExportOpenFileWithStoryesAndSlabsWalls: no reference Z values given for 5 elements; no file "
     "written"},
    {"null vertex index array",
     [](const char* dir) {
       Facets f;
       f.vertex[3].clear();
       CallFaceted(f, "refused.ifc", dir);
     },
     "warning: ExportOpenFile: no fourth vertex indices given for 2 objects; no file written"},
};

TEST_F(BuildingExportTest, MissingFileNameDirectoryOrNeededArraysWriteNoFile) {
  for (const Refusal& r : kRefusals) {
    SCOPED_TRACE(r.what);
    Capture();
    const size_t before = Messages().size();
    r.call(Dir());
    EXPECT_FALSE(test::FileExists(File("refused.ifc")));
    EXPECT_NE(Messages().find(r.message, before), std::string::npos) << Messages().substr(before);
    // The export ends as it always does; ExportOpenFile keeps the library.
    if (std::string(r.message).find("ExportOpenFile:") == std::string::npos) {
      EXPECT_EQ(TARN().state(), TarnInterface::kUninitialized);
    }
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir_.path()));
}

TEST_F(BuildingExportTest, NullArraysAreFineWhenCountsAreZero) {
  Model nothing;  // no counts, no arrays
  CallWalls(nothing, "empty.ifc", Dir(), Texts::None());
  // Null texts are written as empty ones.  No storey: the building
  // container has no related objects at all.
  ExpectWritten("empty.ifc", {},
                {"/* description */ (''),\n", "/* author */ (''),\n/* organization */ (''),\n",
                 "=IFCPERSON($,'','',$,$,$,$,$);\n", "=IFCAPPLICATION(#11,'9.0','','KORVA');\n",
                 "'Building Container',$,\n#30,$);\n"},
                {"IFCBUILDINGSTOREY"});
}

TEST_F(BuildingExportTest, NegativeCountsAreReadAsZero) {
  Model m = Model::TowerWithWall();
  m.storeys = -2;
  m.count[0] = -1;
  CallWalls(m, "negative.ifc", Dir());
  // The running numbers start again with the beams: the second beam takes
  // depth[2] = 77 now.  Elements that name a storey hang in none.
  ExpectWritten("negative.ifc",
                {"warning: ExportOpenFileWithStoryesAndSlabsWalls: storey count -2 is negative; taken as 0",
                 "column count -1 is negative; taken as 0", "beam 2 names storey 2 of 0; it is in no storey"},
                {"IFCEXTRUDEDAREASOLID(#", ",77.);", "IFCBEAM(", "IFCWALLSTANDARDCASE("},
                {"IFCBUILDINGSTOREY", "IFCCOLUMN", "IFCRELCONTAINEDINSPATIALSTRUCTURE"});
}

TEST_F(BuildingExportTest, BadIndicesSkipOrUncontainElements) {
  Model m = Model::Tower();
  m.start[0][1] = -4;  // the column is skipped
  // Beam 1 names a storey that does not exist; beam 2's points would run
  // past INT_MAX.
  m.kind(1, {5, INT_MAX - 2}, {3, 3}, {3, 1});
  CallStoreys(m, "indices.ifc", Dir());
  ExpectWritten("indices.ifc",
                {"warning: ExportOpenFileWithStoryes: column 1 starts at point -4; it is skipped",
                 "warning: ExportOpenFileWithStoryes: beam 1 names storey 3 of 2; it is in no storey",
                 "warning: ExportOpenFileWithStoryes: beam 2 has 3 points from point 2147483645, past the largest "
                 "index; it is skipped"},
                // Neither storey contains anything.
                {"IFCBEAM('VKT_Beam1',", "'StroyStructure1',$,$,", "'StroyStructure2',$,$,"},
                {"IFCCOLUMN", "VKT_Beam2"});

  Capture();
  Facets f;
  f.vertex[2][2] = -1;  // the triangle of object 2
  f.count[1] = 1;       // object 1 now has the square
  f.objects = 3;        // object 3's two faces would run past INT_MAX
  f.first.push_back(INT_MAX - 1);
  f.count.push_back(2);
  CallFaceted(f, "faces.ifc", Dir());
  ExpectWritten("faces.ifc",
                {"warning: ExportOpenFile: object 2 has a negative face or vertex index; it is skipped",
                 "warning: ExportOpenFile: object 3 has 2 faces from face 2147483646, past the largest index; it "
                 "is skipped"},
                {"IFCBUILDINGELEMENTPROXY('VKT_CHECK1',"}, {"VKT_CHECK2", "VKT_CHECK3"});
}

TEST_F(BuildingExportTest, UnitIndicesOutOfRangeGiveMetresWithoutPrefix) {
  Model m = Model::TowerWithWall();
  CallWalls(m, "units.ifc", Dir(), Texts(), -1, 99);
  ExpectWritten("units.ifc",
                {"SI prefix index -1 is out of range; the units have no prefix",
                 "SI unit name index 99 is out of range; METRE is used"},
                {"#15=IFCSIUNIT(*,.LENGTHUNIT.,$,.METRE.);\n#16=IFCSIUNIT(*,.AREAUNIT.,$,.SQUARE_METRE.);"}, {});
}

}  // namespace
}  // namespace korva
