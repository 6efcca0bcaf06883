// The building import of files that other tools write: IFC2X3 files read
// as IFC2x2 files are, and the outlines of walls and slabs whose swept area
// is no polyline (rectangles, circles, composite and trimmed curves), also
// under mapped items and booleans.  The model is one text, written under
// either schema name.
#include <cmath>
#include <string>
#include <vector>

#include "import/building_text_fixture.h"
#include "import/profile_outline.h"
#include "objdb/interface.h"

namespace korva {
namespace {

// Shared by every element: world and storey placements, directions, the
// project with its plane angle unit in degrees.
const char kFrame[] =
    "#1=IFCCARTESIANPOINT((0.,0.,0.));\n"
    "#2=IFCDIRECTION((0.,0.,1.));\n"
    "#3=IFCDIRECTION((1.,0.,0.));\n"
    "#4=IFCAXIS2PLACEMENT3D(#1,#2,#3);\n"
    "#5=IFCLOCALPLACEMENT($,#4);\n"
    "#6=IFCCARTESIANPOINT((0.,2.,0.));\n"
    "#7=IFCAXIS2PLACEMENT3D(#6,#2,#3);\n"
    "#8=IFCLOCALPLACEMENT(#5,#7);\n"
    "#9=IFCDIRECTION((1.,0.));\n"
    "#10=IFCDIRECTION((0.,1.));\n"
    "#11=IFCSIUNIT(*,.PLANEANGLEUNIT.,$,.RADIAN.);\n"
    "#12=IFCDIMENSIONALEXPONENTS(0,0,0,0,0,0,0);\n"
    "#13=IFCMEASUREWITHUNIT(IFCPLANEANGLEMEASURE(0.0174532925199433),#11);\n"
    "#14=IFCCONVERSIONBASEDUNIT(#12,.PLANEANGLEUNIT.,'DEGREE',#13);\n"
    "#15=IFCUNITASSIGNMENT((#14));\n"
    "#16=IFCPROJECT('0Pxxxxxxxxxxxxxxxxxxxx',$,'P',$,$,$,$,$,#15);\n"
    "#17=IFCLOCALPLACEMENT(#8,#4);\n";

// W0: a polyline outline as our own exports write it, a bounding box, a
// beam and a column with swept solids, a proxy with a brep.
const char kToday[] =
    "#20=IFCCARTESIANPOINT((0.,0.));\n"
    "#21=IFCCARTESIANPOINT((4.,0.));\n"
    "#22=IFCCARTESIANPOINT((4.,0.3));\n"
    "#23=IFCCARTESIANPOINT((0.,0.3));\n"
    "#24=IFCPOLYLINE((#20,#21,#22,#23,#20));\n"
    "#25=IFCARBITRARYCLOSEDPROFILEDEF(.AREA.,$,#24);\n"
    "#26=IFCEXTRUDEDAREASOLID(#25,#4,#2,3.);\n"
    "#27=IFCSHAPEREPRESENTATION($,'Body','SweptSolid',(#26));\n"
    "#28=IFCBOUNDINGBOX(#1,0.5,6.,0.3);\n"
    "#29=IFCSHAPEREPRESENTATION($,'Box','BoundingBox',(#28));\n"
    "#30=IFCPRODUCTDEFINITIONSHAPE($,$,(#27,#29));\n"
    "#31=IFCWALLSTANDARDCASE('0W0xxxxxxxxxxxxxxxxxxx',$,'W0',$,$,#17,#30,$);\n"
    "#40=IFCCARTESIANPOINT((0.5,0.));\n"
    "#41=IFCAXIS2PLACEMENT2D(#40,#9);\n"
    "#42=IFCRECTANGLEPROFILEDEF(.AREA.,$,#41,0.3,0.5);\n"
    "#43=IFCAXIS2PLACEMENT3D(#1,#3,#2);\n"
    "#44=IFCEXTRUDEDAREASOLID(#42,#43,#2,6.);\n"
    "#45=IFCSHAPEREPRESENTATION($,'Body','SweptSolid',(#44));\n"
    "#46=IFCPRODUCTDEFINITIONSHAPE($,$,(#45,#29));\n"
    "#47=IFCBEAM('0B1xxxxxxxxxxxxxxxxxxx',$,'B1',$,$,#17,#46,$);\n"
    "#48=IFCCOLUMN('0C1xxxxxxxxxxxxxxxxxxx',$,'C1',$,$,#17,#46,$);\n"
    "#50=IFCCARTESIANPOINT((1.,0.,0.));\n"
    "#51=IFCCARTESIANPOINT((0.,1.,0.));\n"
    "#52=IFCPOLYLOOP((#1,#50,#51));\n"
    "#53=IFCFACEOUTERBOUND(#52,.T.);\n"
    "#54=IFCFACE((#53));\n"
    "#55=IFCCLOSEDSHELL((#54));\n"
    "#56=IFCFACETEDBREP(#55);\n"
    "#57=IFCSHAPEREPRESENTATION($,'Body','Brep',(#56));\n"
    "#58=IFCPRODUCTDEFINITIONSHAPE($,$,(#57,#29));\n"
    "#59=IFCBUILDINGELEMENTPROXY('0X1xxxxxxxxxxxxxxxxxxx',$,'X1',$,$,#17,#58,$,$);\n";

// W1: a rectangle 4 x 2 centred on (1, 1), its X axis along Y.
const char kRectangle[] =
    "#60=IFCCARTESIANPOINT((1.,1.));\n"
    "#61=IFCAXIS2PLACEMENT2D(#60,#10);\n"
    "#62=IFCRECTANGLEPROFILEDEF(.AREA.,$,#61,4.,2.);\n"
    "#63=IFCEXTRUDEDAREASOLID(#62,#4,#2,2.5);\n"
    "#64=IFCSHAPEREPRESENTATION($,'Body','SweptSolid',(#63));\n"
    "#65=IFCPRODUCTDEFINITIONSHAPE($,$,(#64));\n"
    "#66=IFCWALLSTANDARDCASE('0W1xxxxxxxxxxxxxxxxxxx',$,'W1',$,$,#17,#65,$);\n";

// S1: a circle of radius 2 around (5, 5).
const char kCircle[] =
    "#70=IFCCARTESIANPOINT((5.,5.));\n"
    "#71=IFCAXIS2PLACEMENT2D(#70,#9);\n"
    "#72=IFCCIRCLEPROFILEDEF(.AREA.,$,#71,2.);\n"
    "#73=IFCEXTRUDEDAREASOLID(#72,#4,#2,0.2);\n"
    "#74=IFCSHAPEREPRESENTATION($,'Body','SweptSolid',(#73));\n"
    "#75=IFCPRODUCTDEFINITIONSHAPE($,$,(#74));\n"
    "#76=IFCSLAB('0S1xxxxxxxxxxxxxxxxxxx',$,'S1',$,$,#17,#75,$,.FLOOR.);\n";

// S2: a composite curve: a polyline (0,0)-(4,0); a half circle around
// (4,1) trimmed by parameters 270 and 90 (degrees); a polyline
// (4,2)-(0,2); a line trimmed by points, run against the curve's sense, so
// (0,2) back to (0,0).
const char kComposite[] =
    "#80=IFCCARTESIANPOINT((0.,0.));\n"
    "#81=IFCCARTESIANPOINT((4.,0.));\n"
    "#82=IFCPOLYLINE((#80,#81));\n"
    "#83=IFCCOMPOSITECURVESEGMENT(.CONTINUOUS.,.T.,#82);\n"
    "#84=IFCCARTESIANPOINT((4.,1.));\n"
    "#85=IFCAXIS2PLACEMENT2D(#84,#9);\n"
    "#86=IFCCIRCLE(#85,1.);\n"
    "#87=IFCTRIMMEDCURVE(#86,(IFCPARAMETERVALUE(270.)),(IFCPARAMETERVALUE(90.)),.T.,.PARAMETER.);\n"
    "#88=IFCCOMPOSITECURVESEGMENT(.CONTINUOUS.,.T.,#87);\n"
    "#89=IFCCARTESIANPOINT((4.,2.));\n"
    "#90=IFCCARTESIANPOINT((0.,2.));\n"
    "#91=IFCPOLYLINE((#89,#90));\n"
    "#92=IFCCOMPOSITECURVESEGMENT(.CONTINUOUS.,.T.,#91);\n"
    "#93=IFCVECTOR(#10,1.);\n"
    "#94=IFCCARTESIANPOINT((0.,0.));\n"
    "#95=IFCLINE(#94,#93);\n"
    "#96=IFCCARTESIANPOINT((0.,2.));\n"
    "#97=IFCTRIMMEDCURVE(#95,(#94,IFCPARAMETERVALUE(0.)),(#96,IFCPARAMETERVALUE(2.)),.T.,.CARTESIAN.);\n"
    "#98=IFCCOMPOSITECURVESEGMENT(.CONTINUOUS.,.F.,#97);\n"
    "#99=IFCCOMPOSITECURVE((#83,#88,#92,#98),.F.);\n"
    "#100=IFCARBITRARYCLOSEDPROFILEDEF(.AREA.,$,#99);\n"
    "#101=IFCEXTRUDEDAREASOLID(#100,#4,#2,0.3);\n"
    "#102=IFCSHAPEREPRESENTATION($,'Body','SweptSolid',(#101));\n"
    "#103=IFCPRODUCTDEFINITIONSHAPE($,$,(#102));\n"
    "#104=IFCSLAB('0S2xxxxxxxxxxxxxxxxxxx',$,'S2',$,$,#17,#103,$,.FLOOR.);\n";

// S3: as Tekla writes slabs: the body is a mapped item whose mapped
// representation holds the rectangle's swept solid (of W1).
const char kMapped[] =
    "#110=IFCREPRESENTATIONMAP(#4,#64);\n"
    "#111=IFCCARTESIANTRANSFORMATIONOPERATOR3D($,$,#1,$,$);\n"
    "#112=IFCMAPPEDITEM(#110,#111);\n"
    "#113=IFCSHAPEREPRESENTATION($,'Body','MappedRepresentation',(#112));\n"
    "#114=IFCPRODUCTDEFINITIONSHAPE($,$,(#113));\n"
    "#115=IFCSLAB('0S3xxxxxxxxxxxxxxxxxxx',$,'S3',$,$,#17,#114,$,.FLOOR.);\n";

// W2: a clipped wall: a boolean result whose first operand is a clipping
// of W0's swept solid by a half space.
const char kClipped[] =
    "#120=IFCPLANE(#4);\n"
    "#121=IFCHALFSPACESOLID(#120,.F.);\n"
    "#122=IFCBOOLEANCLIPPINGRESULT(.DIFFERENCE.,#26,#121);\n"
    "#123=IFCBOOLEANRESULT(.DIFFERENCE.,#122,#121);\n"
    "#124=IFCSHAPEREPRESENTATION($,'Body','Clipping',(#123));\n"
    "#125=IFCPRODUCTDEFINITIONSHAPE($,$,(#124));\n"
    "#126=IFCWALLSTANDARDCASE('0W2xxxxxxxxxxxxxxxxxxx',$,'W2',$,$,#17,#125,$);\n";

// W3: only a brep: no outline.  W4: a polyline body and a second body
// mapped to a rectangle: the polyline stays the outline.
const char kUnchanged[] =
    "#130=IFCSHAPEREPRESENTATION($,'Body','Brep',(#56));\n"
    "#131=IFCPRODUCTDEFINITIONSHAPE($,$,(#130));\n"
    "#132=IFCWALLSTANDARDCASE('0W3xxxxxxxxxxxxxxxxxxx',$,'W3',$,$,#17,#131,$);\n"
    "#133=IFCPRODUCTDEFINITIONSHAPE($,$,(#113,#27));\n"
    "#134=IFCWALLSTANDARDCASE('0W4xxxxxxxxxxxxxxxxxxx',$,'W4',$,$,#17,#133,$);\n";

std::string Model() {
  return std::string(kFrame) + kToday + kRectangle + kCircle + kComposite + kMapped + kClipped + kUnchanged;
}

using XY = std::vector<std::vector<double>>;

class BuildingSchemasTest : public test::BuildingTextTest {
 protected:
  // The outline of wall or slab `i` through the getters.
  static XY Outline(int (*index)(int), int (*total)(int), double (*x)(int), double (*y)(int), int i) {
    XY points;
    for (int k = 0; k < total(i); ++k) points.push_back({x(index(i) + k), y(index(i) + k)});
    return points;
  }
  static XY Wall(int i) { return Outline(GetWallIndex, GetWallTotal, GetWallX, GetWallY, i); }
  static XY Slab(int i) { return Outline(GetSlabIndex, GetSlabTotal, GetSlabX, GetSlabY, i); }
  static void ExpectOutline(const XY& got, const XY& expected, const char* what) {
    ASSERT_EQ(got.size(), expected.size()) << what;
    for (size_t k = 0; k < got.size(); ++k) {
      EXPECT_NEAR(got[k][0], expected[k][0], 1e-9) << what << " point " << k;
      EXPECT_NEAR(got[k][1], expected[k][1], 1e-9) << what << " point " << k;
    }
  }
};

TEST_F(BuildingSchemasTest, AnIfc2x3BuildingReadsAsTheSameIfc2x2Building) {
  const std::string model = Model();
  ImportFile(Write("model_2x2.ifc", test::ExchangeText("IFC2X2_FINAL", model)));
  const std::string ifc2x2 = Listing();
  EXPECT_EQ(TARN().designInMemory("ifc2x3"), nullptr) << "an IFC2x2 import loaded the IFC2X3 dictionary";
  ShutDown();
  CaptureMessages();
  ImportFile(Write("model_2x3.ifc", test::ExchangeText("IFC2X3", model)));
  EXPECT_NE(TARN().designInMemory("ifc2x3"), nullptr) << out_.text();
  EXPECT_EQ(Listing(), ifc2x2);

  // Counts: 5 walls, 3 slabs; outline points 5 + 5 + 5 + 0 + 5 and
  // 17 + 5 + 5.
  EXPECT_EQ((std::vector<int>{GetTotalBeams(), GetTotalColumns(), GetTotalWalls(), GetTotalWallPoints(),
                              GetTotalSlabs(), GetTotalSlabPoints(), GetTotalGenerals()}),
            (std::vector<int>{0, 0, 4, 19, 2, 26, 0}));
  // Every kind of text getter hands out the file's text; points carry
  // none.
  const struct {
    void (*getter)(int, char*);
    int index;
    const char* text;
  } texts[] = {
      {GetWallName, 0, "W0"},   {GetWallGUID, 0, "0W0xxxxxxxxxxxxxxxxxxx"},   {GetBeamName, 0, "B1"},
      {GetBeamGUID, 0, "0B1xxxxxxxxxxxxxxxxxxx"},   {GetColumnName, 0, "C1"},
      {GetColumnGUID, 0, "0C1xxxxxxxxxxxxxxxxxxx"}, {GetSlabName, 2, "S3"},
      {GetSlabGUID, 2, "0S3xxxxxxxxxxxxxxxxxxx"},   {GetWallPointName, 0, " "},
      {GetWallPointGUID, 0, " "},                   {GetSlabPointName, 0, " "},
      {GetSlabPointGUID, 0, " "},
  };
  for (const auto& t : texts) EXPECT_EQ(Text(t.getter, t.index), t.text) << t.text;
  // Placement, box, swept solid, file numbers, brep points.
  EXPECT_EQ(GetWallFileID(0), 31);
  EXPECT_EQ(GetWallpointFileID(1), 21);
  EXPECT_EQ(GetGeneralTotal(0), 3);
  const double numbers[] = {GetWallStarty(0),       GetWallWidth(0),  GetWallExtrudedDepth(0),
                            GetBeamExtrudedDepth(0), GetBeamExtrudedPosAxis1(0), GetBeamHeight(0),
                            GetColumnLength(0),      GetGeneralY(2),   GetGeneralLength(0)};
  EXPECT_EQ(std::vector<double>(numbers, numbers + 9), (std::vector<double>{2, 0.5, 3, 6, 1, 0.5, 6, 1, 0.3}));
}

TEST_F(BuildingSchemasTest, OutlinesOfProfilesThatAreNoPolyline) {
  ImportFile(Write("profiles.ifc", test::ExchangeText("IFC2X3", Model())));
  ASSERT_EQ(GetTotalWalls(), 4);
  // Rectangle: corners (-2,-1), (2,-1), (2,1), (-2,1) turned a quarter and
  // moved to (1, 1), closed.
  const XY rectangle = {{2, -1}, {2, 3}, {0, 3}, {0, -1}, {2, -1}};
  ExpectOutline(Wall(1), rectangle, "rectangle");
  EXPECT_EQ(GetWallIndex(1), 5);
  EXPECT_DOUBLE_EQ(GetWallExtrudedDepth(1), 2.5);
  EXPECT_EQ(GetWallpointFileID(5), 0) << "a computed corner has no instance";

  // Circle: kCircleSegments corners from the X axis, closed.
  XY circle;
  for (int k = 0; k <= kCircleSegments; ++k) {
    const double a = 2 * 3.14159265358979323846 * k / kCircleSegments;
    circle.push_back({5 + 2 * std::cos(a), 5 + 2 * std::sin(a)});
  }
  ExpectOutline(Slab(0), circle, "circle");
  EXPECT_DOUBLE_EQ(GetSlabExtrudedDepth(0), 0.2);

  // Composite curve: the joints once, the parameters in degrees, the last
  // segment reversed; points that are instances keep their numbers.
  ExpectOutline(Slab(1), {{0, 0}, {4, 0}, {4, 2}, {0, 2}, {0, 0}}, "composite curve");
  EXPECT_EQ(GetSlabpointFileID(GetSlabIndex(1)), 80);
  EXPECT_EQ(GetSlabpointFileID(GetSlabIndex(1) + 2), 0) << "a point on the arc is computed";
  EXPECT_EQ(GetSlabpointFileID(GetSlabIndex(1) + 3), 90);
  EXPECT_EQ(GetSlabpointFileID(GetSlabIndex(1) + 4), 94);

  // Mapped item and boolean operands lead to the swept solid.
  ExpectOutline(Slab(2), rectangle, "mapped rectangle");
  EXPECT_DOUBLE_EQ(GetSlabExtrudedDepth(2), 2.5);
  ExpectOutline(Wall(2), {{0, 0}, {4, 0}, {4, 0.3}, {0, 0.3}, {0, 0}}, "clipped polyline");
  EXPECT_EQ(GetWallpointFileID(GetWallIndex(2) + 1), 21);
  EXPECT_DOUBLE_EQ(GetWallExtrudedDepth(2), 3.0);

  // A brep alone has no outline; where a polyline is found, it stays.
  EXPECT_EQ(GetWallTotal(3), 0);
  EXPECT_EQ(GetWallIndex(3), 0);
  ExpectOutline(Wall(4), Wall(0), "polyline beside a mapped rectangle");
  EXPECT_EQ(GetWallpointFileID(GetWallIndex(4)), 20);
}

TEST_F(BuildingSchemasTest, AnglesInRadiansAndCurvesWithoutOutline) {
  // With the radian as plane angle unit the trimming parameters are
  // radians.  A trimmed curve on a curve the rules do not know, and a
  // profile of type CURVE, give no outline, in the census as in the fill.
  std::string model = Model();
  model.replace(model.find("IFCUNITASSIGNMENT((#14))"), 24, "IFCUNITASSIGNMENT((#11))");
  model.replace(model.find("IFCPARAMETERVALUE(270.)"), 23, "IFCPARAMETERVALUE(4.71238898038469)");
  model.replace(model.find("IFCPARAMETERVALUE(90.)"), 22, "IFCPARAMETERVALUE(1.5707963267949)");
  model += "#140=IFCTRIMMEDCURVE(#82,(IFCPARAMETERVALUE(0.)),(IFCPARAMETERVALUE(1.)),.T.,.PARAMETER.);\n"
           "#141=IFCARBITRARYCLOSEDPROFILEDEF(.AREA.,$,#140);\n"
           "#142=IFCARBITRARYCLOSEDPROFILEDEF(.CURVE.,$,#99);\n"
           "#143=IFCEXTRUDEDAREASOLID(#141,#4,#2,1.);\n"
           "#144=IFCEXTRUDEDAREASOLID(#142,#4,#2,1.5);\n"
           "#145=IFCSHAPEREPRESENTATION($,'Body','CSG',(#143,#144));\n"
           "#146=IFCPRODUCTDEFINITIONSHAPE($,$,(#145));\n"
           "#147=IFCWALLSTANDARDCASE('0W5xxxxxxxxxxxxxxxxxxx',$,'W5',$,$,#17,#146,$);\n";
  std::string path = Write("radians.ifc", test::ExchangeText("IFC2X3", model));
  FindTotalObjects(&path[0]);
  EXPECT_EQ(GetTotalWallPoints(), 20);
  EXPECT_EQ(GetTotalSlabPoints(), 27);
  CheckNumber(0, &path[0]);
  ASSERT_EQ(GetTotalWalls(), 5);
  ExpectOutline(Slab(1), {{0, 0}, {4, 0}, {4, 2}, {0, 2}, {0, 0}}, "composite curve in radians");
  EXPECT_EQ(GetWallTotal(5), 0);
  EXPECT_DOUBLE_EQ(GetWallExtrudedDepth(5), 1.0) << "the depth of the first solid";
  EXPECT_EQ(GetTotalWallPoints(), 19);
}

}  // namespace
}  // namespace korva
