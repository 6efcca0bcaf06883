// Exchange files read into designs: the frame, references, values, messages.
#include "exchange/part21_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "exchange/part21_read_fixture.h"
#include "ifc2x2/ifc2x2.h"
#include "objdb/complex_domain.h"
#include "objdb/dictionary_binding.h"
#include "objdb/header_section.h"
#include "objdb/interface.h"

namespace korva {
namespace {

using Part21ReaderTest = test::Part21ReadTest;

TEST_F(Part21ReaderTest, ForwardReferencesValuesAndNumbers) {
  TarnDesign* d = ReadData(
      "#7=IFCAXIS2PLACEMENT3D(#5,$,#6);\n"
      "#5=IFCCARTESIANPOINT((1.,2.5,-3.E-1));\n"
      "#6=IFCDIRECTION((1.e-3,0.,1.));\n"
      "#8=IFCSIUNIT(*,.LENGTHUNIT.,.MILLI.,.METRE.);\n"
      "#9=IFCPROPERTYSINGLEVALUE('it''s \\X\\E9',$,IFCLABEL('text'),$);\n"
      "#10=IFCBUILDINGSTOREY('id',$,'L1',$,$,$,$,$,.ELEMENT.,3);\n");
  ASSERT_NE(d, nullptr) << Messages();
  EXPECT_EQ(d->size(), 10u);  // six entities, three lists and a select
  ListOfTarnObject all;
  d->findObjects(&all, d->findDomain("IfcAxis2Placement3D"), false);
  ASSERT_EQ(all.count(), 1u);
  IfcAxis2Placement3D* a = typecast<IfcAxis2Placement3D>(all.get(0));
  EXPECT_EQ(a->instanceNumber(), 7u);
  ASSERT_NE(a->Location(), nullptr);
  EXPECT_EQ(a->Location()->instanceNumber(), 5u);
  EXPECT_EQ(a->Location()->Coordinates()->get(1), 2.5);
  EXPECT_EQ(a->Location()->Coordinates()->get(2), -0.3);
  EXPECT_EQ(a->Axis(), nullptr);
  EXPECT_EQ(a->RefDirection()->DirectionRatios()->get(0), 0.001);
  d->findObjects(&all, d->findDomain("IfcSIUnit"), false);
  IfcSIUnit* unit = typecast<IfcSIUnit>(all.last());
  EXPECT_EQ(unit->Prefix(), IfcSIPrefix_MILLI);
  EXPECT_EQ(unit->Name(), IfcSIUnitName_METRE);
  d->findObjects(&all, d->findDomain("IfcPropertySingleValue"), false);
  IfcPropertySingleValue* v = typecast<IfcPropertySingleValue>(all.last());
  EXPECT_STREQ(v->Name(), "it's \xE9");
  ASSERT_NE(v->NominalValue(), nullptr);
  IfcSimpleValue* simple = v->NominalValue()->_IfcSimpleValue();
  ASSERT_NE(simple, nullptr);
  EXPECT_STREQ(simple->_IfcLabel(), "text");
  d->findObjects(&all, d->findDomain("IfcBuildingStorey"), false);
  IfcBuildingStorey* s = typecast<IfcBuildingStorey>(all.last());
  EXPECT_EQ(s->Elevation(), 3.0);  // an integer where a real belongs, converted
  EXPECT_EQ(s->CompositionType(), IfcElementCompositionEnum_ELEMENT);
  EXPECT_EQ(s->OwnerHistory(), nullptr);
  const std::string m = Messages();
  EXPECT_NE(m.find("in.ifc(13): warning: Attribute 'Elevation': Converting 'integer' value to 'real'."),
            std::string::npos) << m;
  EXPECT_NE(m.find("Lowercase 'e' used for exponent. (1 occurrences)"), std::string::npos) << m;
  EXPECT_STREQ(d->header_name()->name(), "m");
}

TEST_F(Part21ReaderTest, DefectsAreReportedAndSkipped) {
  TarnDesign* d = ReadData(
      "#5=IFCCARTESIANPOINT((1.,2.));\n"
      "#5=IFCCARTESIANPOINT((3.,4.));\n"
      "#6=IFCNOSUCHTHING(1);\n"
      "#7=IFCDIRECTION((1.,0.),$);\n"
      "#8=IFCAXIS2PLACEMENT3D(#5,#99,#98);\n"
      "#9=IFCAXIS2PLACEMENT3D(#6,$,$);\n"
      "#10=IFCAXIS2PLACEMENT3D(#7,$,$);\n"
      "#11=IFCCARTESIANPOINT(1E-3);\n"
      "\t#12=IFCDIRECTION((1.,0.));\n");
  ASSERT_NE(d, nullptr);
  const std::string m = Messages();
  EXPECT_NE(m.find("in.ifc(9): warning: Duplicate entity #5 found, ignored."), std::string::npos) << m;
  EXPECT_NE(m.find("in.ifc(10): warning: Unknown type 'IFCNOSUCHTHING', entity ignored."), std::string::npos) << m;
  EXPECT_NE(m.find("in.ifc(11): error: Expecting 1 attribute, found 2 instead."), std::string::npos) << m;
  EXPECT_NE(m.find("error: Reference to #7 is IfcDirection, not compatible with IfcCartesianPoint."),
            std::string::npos) << m;
  EXPECT_NE(m.find("warning: Invalid number."), std::string::npos) << m;
  EXPECT_NE(m.find("warning: Unresolved reference to instance #6.\n"), std::string::npos) << m;
  EXPECT_NE(m.find("warning: Unresolved reference to instance #98.\n"), std::string::npos) << m;
  EXPECT_LT(m.find("#98."), m.find("#99."));
  EXPECT_NE(m.find("Tabs used in file, ignored. (1 occurrences)"), std::string::npos) << m;
  ListOfTarnObject points;
  d->findObjects(&points, d->findDomain("IfcCartesianPoint"), false);
  ASSERT_EQ(points.count(), 2u);  // the first #5 and #11
  EXPECT_EQ(typecast<IfcCartesianPoint>(points.get(0))->Coordinates()->get(0), 1.0);
}

TEST_F(Part21ReaderTest, HeaderChecksAndFrame) {
  const std::string swapped =
      "FILE_NAME('m','t',(''),(''),'','','');\nFILE_DESCRIPTION((''),'2;1');\nFILE_SCHEMA(('IFC2X2_FINAL'));\n";
  ASSERT_NE(ReadText(File("", swapped), "swapped"), nullptr);
  EXPECT_NE(Messages().find("warning: Header section objects are incorrectly ordered."), std::string::npos);
  const std::string missing = "FILE_DESCRIPTION((''),'2;1');\nFILE_NAME('m','t',(''),(''),'','','');\nFILE_SCHEMA(('NO_SUCH_SCHEMA'));\n";
  EXPECT_EQ(ReadText(File("", missing), "missing"), nullptr);
  EXPECT_NE(Messages().find("warning: Couldn't find schema 'NO_SUCH_SCHEMA'."), std::string::npos);
  EXPECT_EQ(TARN().designInMemory("missing"), nullptr);  // nothing left behind
  EXPECT_EQ(ReadText("ISO-10303-21;\nHEADER;\n", "broken"), nullptr);
  EXPECT_NE(Messages().find("error: Expecting 'ENDSEC', found end of file instead."), std::string::npos);
  EXPECT_EQ(ReadText("", "empty"), nullptr);
  EXPECT_EQ(ReadText("garbage )(*&^%$#@!", "garbage"), nullptr);
}

// A schema is named, never a file: a FILE_SCHEMA that names a path (here
// the file itself) is a schema that cannot be found.
TEST_F(Part21ReaderTest, SchemaNamesAreNoPaths) {
  test::TempDir dir;
  const std::string path = dir.file("self.ifc");
  dir.write("self.ifc", File("#1=IFCCARTESIANPOINT((1.,2.));\n",
                             "FILE_DESCRIPTION((''),'2;1');\nFILE_NAME('m','t',(''),(''),'','','');\n"
                             "FILE_SCHEMA(('" + path + "'));\n"));
  EXPECT_EQ(TARN().findDesign(path.c_str()), nullptr);
  EXPECT_NE(Messages().find("warning: Couldn't find schema '" + path + "'."), std::string::npos);
}

// Cut or garbled headers end the read with a message; none of them may keep
// the reader going round the same token.
TEST_F(Part21ReaderTest, BrokenHeadersEndTheRead) {
  for (const char* text : {"ISO-10303-21;\nHEADER;\nthis is not a header\n",
                           "ISO-10303-21;\nHEADER;\nFILE_DESCRIPTION((''),'2;1');\nFILE_NAME(",
                           "ISO-10303-21;\nHEADER;\nFILE_DESCRIPTION((''),'2;1')\n",
                           "ISO-10303-21;\nHEADER;\n#1=X();\n",
                           "ISO-10303-21;\nHEADER;\n'text' 12 .E. $;\n",
                           "ISO-10303-21;\nHEADER;\nFILE_SCHEMA(('IFC2X2_FINAL'));\nDATA;\n"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(ReadText(text, "cut"), nullptr);
    const std::string messages = Messages();
    EXPECT_NE(messages.find("error"), std::string::npos) << messages;
    EXPECT_LT(messages.size(), 4000u) << messages.substr(0, 2000);
  }
  // Frame keywords astray in the data section are reported and passed over.
  TarnDesign* d = ReadData("HEADER;\nDATA; ISO-10303-21;\n#11=IFCCARTESIANPOINT((1.,2.));\n", "stray");
  ASSERT_NE(d, nullptr) << Messages();
  EXPECT_EQ(d->dflt_section()->extent(d->findDomain("IfcCartesianPoint"), false)->count(), 1u);
  EXPECT_NE(Messages().find("error"), std::string::npos);
}

TEST_F(Part21ReaderTest, WrittenFilesReadBackAndWriteAgainTheSame) {
  TarnDesign* d = NewIfcDesign("trip");
  IfcCartesianPoint* p = typecast<IfcCartesianPoint>(d->newInstance("IfcCartesianPoint"));
  p->Coordinates()->add(1.5);
  p->Coordinates()->add(2.0);
  IfcLocalPlacement* lp = typecast<IfcLocalPlacement>(d->newInstance("IfcLocalPlacement"));
  IfcAxis2Placement* sel = typecast<IfcAxis2Placement>(d->newInstance("IfcAxis2Placement"));
  IfcAxis2Placement3D* a3 = typecast<IfcAxis2Placement3D>(d->newInstance("IfcAxis2Placement3D"));
  a3->Location(p);
  sel->_IfcAxis2Placement3D(a3);
  lp->RelativePlacement(sel);
  IfcRelAggregates* rel = typecast<IfcRelAggregates>(d->newInstance("IfcRelAggregates"));
  rel->Name("with 'quotes' and \\ backslash and a long text that goes past the end of the line");
  rel->RelatedObjects();
  const Trip trip = SaveReadSave(d);
  EXPECT_EQ(trip.first, trip.second);
  EXPECT_NE(trip.first.find("IFCLOCALPLACEMENT($,#"), std::string::npos) << trip.first;
}

TEST_F(Part21ReaderTest, ComplexInstancesOfAKnownCombination) {
  TarnDesign* schema = TARN().findSchema("ifc2x2_final");
  ASSERT_NE(schema, nullptr);
  std::vector<TarnDomain*> parts = {FindDomainInSchema(schema, "IfcCartesianPoint"),
                                    FindDomainInSchema(schema, "IfcDirection")};
  const std::string file = File("#5=(IFCCARTESIANPOINT((1.,2.))IFCDIRECTION((0.,1.)));\n");
  ASSERT_NE(ReadText(file, "unknown"), nullptr);
  EXPECT_NE(Messages().find("No AND/OR domain for this combination of types, entity ignored."), std::string::npos);
  TarnDomain* both = MakeAndOrDomain(parts, schema);
  ASSERT_NE(both, nullptr);
  EXPECT_STREQ(both->name(), "IfcCartesianPoint_and_IfcDirection");
  TarnDesign* d = ReadText(file, "known");
  ASSERT_NE(d, nullptr);
  ListOfTarnObject found;
  d->findObjects(&found, both, false);
  ASSERT_EQ(found.count(), 1u) << Messages();
  EXPECT_EQ(found.get(0)->getDouble("Coordinates"), 0.0);  // not a value: an aggregate
  TarnAggregate* ratios = dynamic_cast<TarnAggregate*>(found.get(0)->getObject("DirectionRatios"));
  ASSERT_NE(ratios, nullptr);
  EXPECT_EQ(ratios->getDouble(1), 1.0);
}

}  // namespace
}  // namespace korva
