// Values read into entity and aggregate slots: every kind the reader stores
// itself (integers, reals, strings, enumerations, booleans and logicals,
// references, lists of them), unset and derived values, values it leaves to
// the generic path (typed selects, converted numbers), and the defects
// reported on the way.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/part21_read_fixture.h"
#include "ifc2x2/ifc2x2.h"
#include "objdb/interface.h"
#include "objdb/schema_builder.h"

namespace korva {
namespace {

using Part21ReaderValuesTest = test::Part21ReadTest;

TEST_F(Part21ReaderValuesTest, EveryKindLandsInItsSlot) {
  TarnDesign* d = ReadData(
      "#1=IFCCARTESIANPOINT((-1.5E-3,2.5E+2,0.));\n"
      "#2=IFCCARTESIANPOINT((1.,-2.));\n"
      "#3=IFCBEZIERCURVE(3,(#1,#2,#4),.POLYLINE_FORM.,.U.,.F.);\n"
      "#4=IFCCARTESIANPOINT((7.,8.,9.));\n"
      "#5=IFCBUILDINGSTOREY('0a1B',$,'it''s L1','',*,$,$,$,.ELEMENT.,-12.75);\n"
      "#6=IFCPOSTALADDRESS($,$,$,'Box',('line one','','\\X\\E9'),$,'Town',$,$,$);\n"
      "#7=IFCWALL('w1',$,$,$,$,$,$,$);\n"
      "#8=IFCWALL('w2',$,$,$,$,$,$,$);\n"
      "#9=IFCRELCONNECTSPATHELEMENTS('r',$,$,$,$,#7,#8,(1,-2,30000),(),.ATSTART.,.ATEND.);\n"
      "#10=IFCCOMPOSITECURVESEGMENT(.CONTINUOUS.,.T.,#3);\n"
      "#11=IFCBEZIERCURVE($,(),$,$,.T.);\n"
      "#12=IFCBUILDINGSTOREY('s2',$,$,$,$,$,$,$,$,$);\n"
      "#13=IFCPROPERTYSINGLEVALUE('p',$,IFCLABEL('x'),$);\n");
  ASSERT_NE(d, nullptr) << Messages();
  EXPECT_EQ(Messages().find("warning"), std::string::npos);

  IfcCartesianPoint* p1 = Get<IfcCartesianPoint>(d, 1);
  ASSERT_NE(p1, nullptr);
  ASSERT_EQ(p1->Coordinates()->count(), 3u);
  EXPECT_EQ(p1->Coordinates()->get(0), -1.5E-3);
  EXPECT_EQ(p1->Coordinates()->get(1), 250.0);
  EXPECT_EQ(p1->Coordinates()->get(2), 0.0);
  EXPECT_EQ(Get<IfcCartesianPoint>(d, 2)->Coordinates()->get(1), -2.0);

  IfcBezierCurve* curve = Get<IfcBezierCurve>(d, 3);
  ASSERT_NE(curve, nullptr);
  EXPECT_EQ(curve->Degree(), 3);
  ListOfIfcCartesianPoint* points = curve->ControlPointsList();
  ASSERT_EQ(points->count(), 3u);
  EXPECT_EQ(points->get(0), p1);
  EXPECT_EQ(points->get(1), Get<IfcCartesianPoint>(d, 2));
  EXPECT_EQ(points->get(2), Get<IfcCartesianPoint>(d, 4));  // read after the curve
  EXPECT_EQ(curve->CurveForm(), IfcBSplineCurveForm_POLYLINE_FORM);
  EXPECT_EQ(curve->ClosedCurve(), 2);  // unknown
  EXPECT_EQ(curve->SelfIntersect(), 0);

  IfcBuildingStorey* storey = Get<IfcBuildingStorey>(d, 5);
  ASSERT_NE(storey, nullptr);
  EXPECT_STREQ(storey->GlobalId(), "0a1B");
  EXPECT_EQ(storey->OwnerHistory(), nullptr);
  EXPECT_STREQ(storey->Name(), "it's L1");
  ASSERT_NE(storey->Description(), nullptr);  // empty, not unset
  EXPECT_STREQ(storey->Description(), "");
  EXPECT_TRUE(storey->isUnset("ObjectType"));  // '*'
  EXPECT_EQ(storey->CompositionType(), IfcElementCompositionEnum_ELEMENT);
  EXPECT_EQ(storey->Elevation(), -12.75);
  EXPECT_FALSE(storey->isUnset("Elevation"));
  EXPECT_NE(storey->Name(), Get<IfcBuildingStorey>(d, 12)->GlobalId());

  IfcPostalAddress* address = Get<IfcPostalAddress>(d, 6);
  ASSERT_NE(address, nullptr);
  EXPECT_TRUE(address->isUnset("Purpose"));
  EXPECT_STREQ(address->InternalLocation(), "Box");
  ASSERT_EQ(address->AddressLines()->count(), 3u);
  EXPECT_STREQ(address->AddressLines()->get(0), "line one");
  EXPECT_STREQ(address->AddressLines()->get(1), "");
  EXPECT_STREQ(address->AddressLines()->get(2), "\xE9");
  EXPECT_EQ(address->PostalBox(), nullptr);
  EXPECT_STREQ(address->Town(), "Town");

  IfcRelConnectsPathElements* rel = Get<IfcRelConnectsPathElements>(d, 9);
  ASSERT_NE(rel, nullptr);
  EXPECT_EQ(rel->RelatingElement(), typecast<IfcElement>(Get<IfcWall>(d, 7)));
  EXPECT_EQ(rel->RelatedElement(), typecast<IfcElement>(Get<IfcWall>(d, 8)));
  ASSERT_EQ(rel->RelatingPriorities()->count(), 3u);
  EXPECT_EQ(rel->RelatingPriorities()->get(0), 1);
  EXPECT_EQ(rel->RelatingPriorities()->get(1), -2);
  EXPECT_EQ(rel->RelatingPriorities()->get(2), 30000);
  ASSERT_NE(rel->RelatedPriorities(), nullptr);
  EXPECT_EQ(rel->RelatedPriorities()->count(), 0u);
  EXPECT_EQ(rel->RelatedConnectionType(), IfcConnectionTypeEnum_ATSTART);
  EXPECT_EQ(rel->RelatingConnectionType(), IfcConnectionTypeEnum_ATEND);

  // A reference held as the class of the slot (IfcCurve), not as the
  // referenced instance's own class.
  IfcCompositeCurveSegment* segment = Get<IfcCompositeCurveSegment>(d, 10);
  ASSERT_NE(segment, nullptr);
  EXPECT_EQ(segment->Transition(), IfcTransitionCode_CONTINUOUS);
  EXPECT_EQ(segment->SameSense(), 1);
  EXPECT_EQ(segment->ParentCurve(), typecast<IfcCurve>(curve));
  EXPECT_EQ(segment->getObject("ParentCurve"), static_cast<TarnObject*>(curve));

  IfcBezierCurve* unset = Get<IfcBezierCurve>(d, 11);
  ASSERT_NE(unset, nullptr);
  for (const char* name : {"Degree", "CurveForm", "ClosedCurve"}) EXPECT_TRUE(unset->isUnset(name)) << name;
  EXPECT_EQ(unset->Degree(), kUnsetInteger);
  EXPECT_EQ(unset->ControlPointsList()->count(), 0u);
  EXPECT_EQ(unset->SelfIntersect(), 1);
  IfcBuildingStorey* bare = Get<IfcBuildingStorey>(d, 12);
  for (const char* name : {"Name", "CompositionType", "Elevation", "OwnerHistory"})
    EXPECT_TRUE(bare->isUnset(name)) << name;

  IfcPropertySingleValue* property = Get<IfcPropertySingleValue>(d, 13);
  ASSERT_NE(property, nullptr);
  ASSERT_NE(property->NominalValue(), nullptr);
  ASSERT_NE(property->NominalValue()->_IfcSimpleValue(), nullptr);
  EXPECT_STREQ(property->NominalValue()->_IfcSimpleValue()->_IfcLabel(), "x");
}

// Long lists, references read before and after their list, and lists that
// hold a value of another form part-way through.
TEST_F(Part21ReaderValuesTest, LongAndMixedLists) {
  std::string data;
  const int n = 1000;
  for (int i = 1; i <= n / 2; ++i) data += "#" + std::to_string(i) + "=IFCCARTESIANPOINT((" + std::to_string(i) + ".,0.));\n";
  std::string list, weights;
  for (int i = 1; i <= n; ++i) {
    list += (i > 1 ? ",#" : "#") + std::to_string(i);
    weights += (i > 1 ? "," : "") + std::to_string(i) + ".5E-1";
  }
  data += "#5000=IFCPOLYLINE((" + list + "));\n";
  data += "#5001=IFCRATIONALBEZIERCURVE(2,(#1,#2),.UNSPECIFIED.,.F.,.F.,(" + weights + "));\n";
  for (int i = n / 2 + 1; i <= n; ++i) data += "#" + std::to_string(i) + "=IFCCARTESIANPOINT((" + std::to_string(i) + ".,1.));\n";
  data += "#6000=IFCCARTESIANPOINT((1.,2,3.));\n";         // an integer converted
  data += "#6001=IFCCARTESIANPOINT((1.,$,3.));\n";         // '$' passed over
  data += "#6002=IFCDIRECTION((0.,1.));\n";
  data += "#6003=IFCPOLYLINE((#1,#6002,#2));\n";           // an incompatible element is skipped
  data += "#6004=IFCPOLYLINE((#1,#2,#6002));\n";           // ... or nothing at the end
  data += "#6005=IFCPOLYLINE((#1,#7000,#2));\n";           // a forward reference in the middle
  data += "#7000=IFCCARTESIANPOINT((5.,5.));\n";
  data += "#6006=IFCCARTESIANPOINT((1. 2.));\n";           // a missing comma
  TarnDesign* d = ReadData(data, "lists");
  ASSERT_NE(d, nullptr) << Messages();
  const std::string m = Messages();

  IfcPolyline* line = Get<IfcPolyline>(d, 5000);
  ASSERT_NE(line, nullptr);
  ASSERT_EQ(line->Points()->count(), static_cast<uint32_t>(n));
  for (int i = 1; i <= n; ++i) {
    IfcCartesianPoint* p = line->Points()->get(static_cast<uint32_t>(i - 1));
    ASSERT_NE(p, nullptr) << i;
    ASSERT_EQ(p->instanceNumber(), static_cast<uint32_t>(i));
    ASSERT_EQ(p->Coordinates()->get(0), static_cast<double>(i));
  }
  IfcRationalBezierCurve* rational = Get<IfcRationalBezierCurve>(d, 5001);
  ASSERT_NE(rational, nullptr);
  ASSERT_EQ(rational->WeightsData()->count(), static_cast<uint32_t>(n));
  for (int i = 1; i <= n; ++i)
    ASSERT_EQ(rational->WeightsData()->get(static_cast<uint32_t>(i - 1)), std::stod(std::to_string(i) + ".5E-1")) << i;

  ListOfIfcLengthMeasure* converted = Get<IfcCartesianPoint>(d, 6000)->Coordinates();
  ASSERT_EQ(converted->count(), 3u);
  EXPECT_EQ(converted->get(0), 1.0);
  EXPECT_EQ(converted->get(1), 2.0);
  EXPECT_EQ(converted->get(2), 3.0);
  EXPECT_NE(m.find("in.ifc(1010): warning: Attribute 'Coordinates': Converting 'integer' value to 'real'."),
            std::string::npos) << m;
  ListOfIfcLengthMeasure* skipped = Get<IfcCartesianPoint>(d, 6001)->Coordinates();
  ASSERT_EQ(skipped->count(), 2u);
  EXPECT_EQ(skipped->get(1), 3.0);

  ListOfIfcCartesianPoint* refused = Get<IfcPolyline>(d, 6003)->Points();
  ASSERT_EQ(refused->count(), 2u);
  EXPECT_EQ(refused->get(0)->instanceNumber(), 1u);
  EXPECT_EQ(refused->get(1)->instanceNumber(), 2u);
  EXPECT_EQ(Get<IfcPolyline>(d, 6004)->Points()->count(), 2u);
  for (const char* line : {"1013", "1014"})
    EXPECT_NE(m.find(std::string("in.ifc(") + line +
                     "): error: Reference to #6002 is IfcDirection, not compatible with IfcCartesianPoint."),
              std::string::npos) << m;
  ListOfIfcCartesianPoint* forward = Get<IfcPolyline>(d, 6005)->Points();
  ASSERT_EQ(forward->count(), 3u);
  EXPECT_EQ(forward->get(1), Get<IfcCartesianPoint>(d, 7000));
  EXPECT_EQ(forward->get(2)->instanceNumber(), 2u);
  EXPECT_NE(m.find("in.ifc(1017): warning: Unknown delimiter after element 0 in attribute Coordinates"),
            std::string::npos) << m;
  EXPECT_EQ(Get<IfcCartesianPoint>(d, 6006)->Coordinates()->count(), 1u);
}

// An element that cannot be stored is skipped and reported with the
// instance's attribute: the list is shorter, nothing is put in its place.
TEST_F(Part21ReaderValuesTest, BadElementsAreSkipped) {
  TarnDesign* d = ReadData(
      "#1=IFCCARTESIANPOINT((1.,'x',3.));\n"
      "#2=IFCCARTESIANPOINT((0.,*,0.,$));\n"
      "#3=IFCPOLYLINE((#2,'x',#4,.T.));\n"
      "#4=IFCCARTESIANPOINT((5.,5.));\n"
      "#5=IFCPOSTALADDRESS($,$,$,$,('a',7,'b'),$,$,$,$,$);\n"
      "#6=IFCWALL('w',$,$,$,$,$,$,$);\n"
      "#7=IFCRELCONNECTSPATHELEMENTS('r',$,$,$,$,#6,#6,(1,'x',3),(.T.),.ATSTART.,.ATEND.);\n"
      "#8=IFCPROPERTYLISTVALUE('p',$,(IFCREAL(1.),IFCREAL('x'),IFCLABEL('y'),IFCREAL(*),IFCNOSUCH(2),#4),$);\n");
  ASSERT_NE(d, nullptr) << Messages();
  const std::string m = Messages();
  ExpectContains(m, {"in.ifc(8): warning: Problems reading real in attribute 'Coordinates'.",
                     "in.ifc(10): warning: Problems reading entity in attribute 'Points'.",
                     "in.ifc(12): warning: Problems reading string in attribute 'AddressLines'.",
                     "in.ifc(14): warning: Problems reading integer in attribute 'RelatingPriorities'.",
                     "in.ifc(14): warning: Problems reading integer in attribute 'RelatedPriorities'.",
                     "in.ifc(15): warning: Problems reading real in attribute 'ListValues'."});
  EXPECT_EQ(m.find("'element'"), std::string::npos) << m;

  ListOfIfcLengthMeasure* reals = Get<IfcCartesianPoint>(d, 1)->Coordinates();
  ASSERT_EQ(reals->count(), 2u);
  EXPECT_EQ(reals->get(1), 3.0);
  EXPECT_EQ(Get<IfcCartesianPoint>(d, 2)->Coordinates()->count(), 2u);
  ListOfIfcCartesianPoint* points = Get<IfcPolyline>(d, 3)->Points();
  ASSERT_EQ(points->count(), 2u);
  EXPECT_EQ(points->get(0), Get<IfcCartesianPoint>(d, 2));
  EXPECT_EQ(points->get(1), Get<IfcCartesianPoint>(d, 4));
  ListOfIfcLabel* lines = Get<IfcPostalAddress>(d, 5)->AddressLines();
  ASSERT_EQ(lines->count(), 2u);
  EXPECT_STREQ(lines->get(1), "b");
  IfcRelConnectsPathElements* rel = Get<IfcRelConnectsPathElements>(d, 7);
  ASSERT_EQ(rel->RelatingPriorities()->count(), 2u);
  EXPECT_EQ(rel->RelatingPriorities()->get(1), 3);
  EXPECT_EQ(rel->RelatedPriorities()->count(), 0u);
  // Typed values in a list: a select goes in only with its value.
  ListOfIfcValue* values = Get<IfcPropertyListValue>(d, 8)->ListValues();
  ASSERT_EQ(values->count(), 2u);
  ASSERT_NE(values->get(0)->_IfcSimpleValue(), nullptr);
  EXPECT_EQ(values->get(0)->_IfcSimpleValue()->_IfcReal(), 1.0);
  ASSERT_NE(values->get(1)->_IfcSimpleValue(), nullptr);
  EXPECT_STREQ(values->get(1)->_IfcSimpleValue()->_IfcLabel(), "y");

  const std::string text = Written(d);
  ExpectContains(text, {"IFCCARTESIANPOINT((1.,3.))", "(1,3),(),.ATSTART.", ",(IFCREAL(1.),IFCLABEL('y')),$)"});
}

// In nested lists a bad element is skipped at its own level: an inner
// list loses the element, the outer list a member that is no list.
TEST_F(Part21ReaderValuesTest, BadElementsOfNestedLists) {
  SchemaBuilder b("korva_grid");
  b.aggregate("ListOfFloat", AggregateKind::kList, "Float");
  b.aggregate("ListOfListOfFloat", AggregateKind::kList, "ListOfFloat");
  b.attribute(b.entity("TGrid"), "Rows", "ListOfListOfFloat");
  ASSERT_NE(b.finish(), nullptr);
  const std::string header = "FILE_DESCRIPTION((''),'2;1');\nFILE_NAME('g','t',(''),(''),'','','');\n"
                             "FILE_SCHEMA(('KORVA_GRID'));\n";
  TarnDesign* d = ReadText(File("#1=TGRID(((1.,'x',2.),'y',(3.),$,(4.,#1,5.)));\n", header), "grid");
  ASSERT_NE(d, nullptr) << Messages();
  const std::string m = Messages();
  ExpectContains(m, {"in.ifc(8): warning: Problems reading real in attribute 'Rows'.",
                     "in.ifc(8): warning: Problems reading aggregate in attribute 'Rows'."});
  ListOfTarnObject grids;
  d->findObjects(&grids, d->findDomain("TGrid"), false);
  ASSERT_EQ(grids.count(), 1u);
  TarnAggregate* rows = dynamic_cast<TarnAggregate*>(grids.get(0)->getObject("Rows"));
  ASSERT_NE(rows, nullptr);
  ASSERT_EQ(rows->count(), 3u);
  const std::vector<std::vector<double>> expected = {{1.0, 2.0}, {3.0}, {4.0, 5.0}};
  for (uint32_t i = 0; i < 3; ++i) {
    TarnAggregate* row = dynamic_cast<TarnAggregate*>(rows->getObject(static_cast<int>(i)));
    ASSERT_NE(row, nullptr) << i;
    std::vector<double> values;
    for (uint32_t k = 0; k < row->count(); ++k) values.push_back(row->getDouble(static_cast<int>(k)));
    EXPECT_EQ(values, expected[i]) << i;
  }
}

// Values of the wrong form for their slot are reported as before and leave
// the slot unset or untouched.
TEST_F(Part21ReaderValuesTest, WrongFormsAreReported) {
  TarnDesign* d = ReadData(
      "#1=IFCBUILDINGSTOREY('s',$,$,$,$,$,$,$,.NOSUCH.,'high');\n"
      "#2=IFCCOMPOSITECURVESEGMENT(.CONTINUOUS.,.X.,#3);\n"
      "#3=IFCBEZIERCURVE(2.7,(),.POLYLINE_FORM.,.T.,.F.);\n"
      "#4=IFCCOMPOSITECURVESEGMENT(.CONTINUOUS.,1,#5);\n"
      "#5=IFCBUILDINGSTOREY(12,$,$,$,$,$,$,$,$,3);\n");
  ASSERT_NE(d, nullptr) << Messages();
  const std::string m = Messages();
  EXPECT_NE(m.find("in.ifc(8): error: Unknown enum 'NOSUCH' for IfcElementCompositionEnum in attribute "
                   "'CompositionType'."), std::string::npos) << m;
  EXPECT_NE(m.find("in.ifc(8): warning: Problems reading real in attribute 'Elevation'."), std::string::npos) << m;
  EXPECT_NE(m.find("in.ifc(9): error: Unknown enum 'X' for boolean in attribute 'SameSense'."), std::string::npos)
      << m;
  EXPECT_NE(m.find("in.ifc(10): warning: Attribute 'Degree': Converting 'real' value to 'integer'."),
            std::string::npos) << m;
  EXPECT_NE(m.find("in.ifc(11): warning: Attribute 'SameSense': Converting 'integer' value to 'boolean'."),
            std::string::npos) << m;
  EXPECT_NE(m.find("in.ifc(12): error: Reference to #5 on line 11 is IfcBuildingStorey, not compatible with IfcCurve."),
            std::string::npos) << m;
  EXPECT_NE(m.find("in.ifc(12): warning: Problems reading string in attribute 'GlobalId'."), std::string::npos) << m;
  IfcBuildingStorey* storey = Get<IfcBuildingStorey>(d, 1);
  EXPECT_TRUE(storey->isUnset("CompositionType"));
  // A value of the wrong form leaves the slot as a new instance has it.
  IfcBuildingStorey* fresh = typecast<IfcBuildingStorey>(d->newInstance("IfcBuildingStorey"));
  EXPECT_EQ(storey->Elevation(), fresh->Elevation());
  EXPECT_EQ(Get<IfcCompositeCurveSegment>(d, 2)->SameSense(), kUnsetBoolean);
  EXPECT_EQ(Get<IfcBezierCurve>(d, 3)->Degree(), 2);
  EXPECT_EQ(Get<IfcCompositeCurveSegment>(d, 4)->SameSense(), 1);
  EXPECT_EQ(Get<IfcCompositeCurveSegment>(d, 4)->ParentCurve(), nullptr);
  EXPECT_EQ(Get<IfcBuildingStorey>(d, 5)->GlobalId(), nullptr);
  EXPECT_EQ(Get<IfcBuildingStorey>(d, 5)->Elevation(), 3.0);
}

// Instance numbers far apart (below and above the limit of the paged
// nodes) resolve as near ones do; those never read are reported in order.
TEST_F(Part21ReaderValuesTest, NumbersFarApart) {
  TarnDesign* d = ReadData(
      "#16000000=IFCPOLYLINE((#3,#70000,#16777300,#9000000,#20000000));\n"
      "#3=IFCCARTESIANPOINT((3.,0.));\n"
      "#70000=IFCCARTESIANPOINT((7.,0.));\n"
      "#16777300=IFCCARTESIANPOINT((16.,0.));\n");
  ASSERT_NE(d, nullptr) << Messages();
  const std::string m = Messages();
  ListOfIfcCartesianPoint* points = Get<IfcPolyline>(d, 16000000)->Points();
  ASSERT_EQ(points->count(), 5u);
  EXPECT_EQ(points->get(0)->instanceNumber(), 3u);
  EXPECT_EQ(points->get(1)->instanceNumber(), 70000u);
  EXPECT_EQ(points->get(2)->instanceNumber(), 16777300u);
  EXPECT_EQ(points->get(3), nullptr);
  EXPECT_EQ(points->get(4), nullptr);
  const size_t first = m.find("warning: Unresolved reference to instance #9000000.\n");
  const size_t second = m.find("warning: Unresolved reference to instance #20000000.\n");
  ASSERT_NE(first, std::string::npos) << m;
  ASSERT_NE(second, std::string::npos) << m;
  EXPECT_LT(first, second);
  EXPECT_EQ(m.find("instance #3."), std::string::npos) << m;
}

// Numbers beyond the largest instance number are reported, and the
// statement that declares or uses one is dropped with everything made for
// it; no two such numbers meet in one instance.
TEST_F(Part21ReaderValuesTest, NumbersThatDoNotFit) {
  TarnDesign* d = ReadData(
      "#1=IFCCARTESIANPOINT((1.,1.));\n"
      "#4294967296=IFCCARTESIANPOINT((2.,2.));\n"
      "#4294967297=IFCCARTESIANPOINT((3.,3.));\n"
      "#2147483648=IFCCARTESIANPOINT((4.,4.));\n"
      "#2147483647=IFCCARTESIANPOINT((5.,5.));\n"
      "#5=IFCPOLYLINE((#1,#2147483647));\n"
      "#6=IFCPOLYLINE((#1,#99999999999,#30));\n"
      "#7=IFCAXIS2PLACEMENT3D(#31,$,#2147483648);\n"
      "#8=IFCLOCALPLACEMENT(#4294967296,#32);\n"
      "#9=IFCPROPERTYSINGLEVALUE('p',$,IFCLABEL('x'),$);\n"
      "#10=IFCLOCALPLACEMENT(#8,$);\n");
  ASSERT_NE(d, nullptr) << Messages();
  const std::string m = Messages();
  ExpectContains(m, {"in.ifc(9): error: Instance number #4294967296 is too large.\n"
                     "in.ifc(9): error: Bad entity definition, ignored.\n",
                     "in.ifc(11): error: Instance number #2147483648 is too large.",
                     "in.ifc(14): error: Instance number #99999999999 is too large.",
                     "warning: Unresolved reference to instance #8.\n"});
  size_t dropped = 0;
  for (size_t at = m.find("Bad entity definition"); at != std::string::npos; at = m.find("Bad entity", at + 1)) ++dropped;
  EXPECT_EQ(dropped, 6u) << m;
  EXPECT_EQ(m.find("Duplicate"), std::string::npos) << m;
  for (const char* number : {"#30.", "#31.", "#32."}) EXPECT_EQ(m.find(number), std::string::npos) << m;

  ListOfTarnObject all;
  d->findObjects(&all, d->findDomain("IfcCartesianPoint"), false);
  EXPECT_EQ(all.count(), 2u);
  ASSERT_NE(Get<IfcCartesianPoint>(d, 2147483647), nullptr);
  ListOfIfcCartesianPoint* points = Get<IfcPolyline>(d, 5)->Points();
  ASSERT_EQ(points->count(), 2u);
  EXPECT_EQ(points->get(1)->instanceNumber(), 2147483647u);
  EXPECT_EQ(Get<IfcPolyline>(d, 6), nullptr);
  EXPECT_EQ(Get<IfcAxis2Placement3D>(d, 7), nullptr);
  EXPECT_EQ(Get<IfcLocalPlacement>(d, 8), nullptr);
  EXPECT_EQ(Get<IfcLocalPlacement>(d, 10)->PlacementRelTo(), nullptr);
  // Five instances, the lists of the two points and the polyline, the
  // label's select in a select: nothing of the dropped statements is left.
  EXPECT_EQ(d->size(), 10u);
}

// Characters beyond 8 bits survive a read and a write: those of ISO 8859-1
// become bytes, the others stay as their escapes; text that spells an
// escape stays text.
TEST_F(Part21ReaderValuesTest, WideCharactersSurviveCopying) {
  TarnDesign* d = ReadData(
      "#1=IFCBUILDINGSTOREY('Tr\\X2\\00FC\\X0\\ger',$,'\\X2\\5E8A\\X0\\','\\X4\\0001F600\\X0\\',"
      "'\\X2\\00FC5E8A\\X0\\',$,$,'\\\\X2\\\\00FC\\\\X0\\\\ C:\\\\X2\\\\',$,$);\n");
  ASSERT_NE(d, nullptr) << Messages();
  auto check = [](IfcBuildingStorey* s) {
    ASSERT_NE(s, nullptr);
    EXPECT_STREQ(s->GlobalId(), "Tr\xFC" "ger");
    EXPECT_STREQ(s->Name(), "\\X2\\5E8A\\X0\\");
    EXPECT_STREQ(s->Description(), "\\X4\\0001F600\\X0\\");
    EXPECT_STREQ(s->ObjectType(), "\xFC\\X2\\5E8A\\X0\\");
    EXPECT_STREQ(s->LongName(), "\\X2\\00FC\\X0\\ C:\\X2\\");
  };
  check(Get<IfcBuildingStorey>(d, 1));
  const std::string text = Written(d);
  ExpectContains(text, {"('Tr\\X\\FCger',$,'\\X2\\5E8A\\X0\\','\\X4\\0001F600\\X0\\',",
                        "'\\X\\FC\\X2\\5E8A\\X0\\',$,$,'\\\\X2\\\\00FC\\\\X0\\\\ C:\\\\X2\\\\',$,$)"});
  TarnDesign* again = ReadText(text, "again");
  ASSERT_NE(again, nullptr) << Messages();
  check(Get<IfcBuildingStorey>(again, 10));
}

// A design made through the late-bound and generated setters, written, read
// and written again gives the same text: what the reader stores itself is
// what those setters store.
TEST_F(Part21ReaderValuesTest, WrittenAndReadAgainTheSame) {
  TarnDesign* d = NewIfcDesign("kinds");
  IfcCartesianPoint* p = typecast<IfcCartesianPoint>(d->newInstance("IfcCartesianPoint"));
  p->Coordinates()->add(-1.25e-7);
  p->Coordinates()->add(123456.789);
  IfcBezierCurve* curve = typecast<IfcBezierCurve>(d->newInstance("IfcBezierCurve"));
  curve->Degree(-3);
  curve->ControlPointsList()->add(p);
  curve->CurveForm(IfcBSplineCurveForm_ELLIPTIC_ARC);
  curve->ClosedCurve(2);
  curve->SelfIntersect(1);
  IfcBuildingStorey* storey = typecast<IfcBuildingStorey>(d->newInstance("IfcBuildingStorey"));
  storey->GlobalId("g'id");
  storey->LongName("");
  storey->CompositionType(IfcElementCompositionEnum_PARTIAL);
  storey->Elevation(-0.001);
  IfcPostalAddress* address = typecast<IfcPostalAddress>(d->newInstance("IfcPostalAddress"));
  address->AddressLines()->add(const_cast<char*>("first"));
  address->AddressLines()->add(const_cast<char*>("second \\ line"));
  IfcWall* wall = typecast<IfcWall>(d->newInstance("IfcWall"));
  IfcRelConnectsPathElements* rel =
      typecast<IfcRelConnectsPathElements>(d->newInstance("IfcRelConnectsPathElements"));
  rel->RelatingElement(wall);
  rel->RelatedElement(wall);
  rel->RelatingPriorities()->add(7);
  rel->RelatingPriorities()->add(-70000);
  rel->RelatedConnectionType(IfcConnectionTypeEnum_NOTDEFINED);
  IfcCompositeCurveSegment* segment = typecast<IfcCompositeCurveSegment>(d->newInstance("IfcCompositeCurveSegment"));
  segment->SameSense(0);
  segment->ParentCurve(curve);
  const Trip trip = SaveReadSave(d);
  EXPECT_EQ(trip.first, trip.second);
  const std::string& first = trip.first;
  EXPECT_NE(first.find("IFCBEZIERCURVE(-3,"), std::string::npos) << first;
  EXPECT_NE(first.find(".ELLIPTIC_ARC.,.U.,.T.)"), std::string::npos) << first;
}

}  // namespace
}  // namespace korva
