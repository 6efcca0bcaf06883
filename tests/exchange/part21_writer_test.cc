// Whole files written by the exchange-file writer, compared line by line.
#include "exchange/part21_writer.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "ifc2x2/ifc2x2.h"
#include "objdb/header_section.h"
#include "objdb/interface.h"
#include "objdb/test_schema.h"
#include "support/store_fixture.h"
#include "support/test_util.h"

namespace korva {
namespace {

class Part21WriterTest : public test::StoreTest {
 protected:
  Part21WriterTest() : StoreTest(KORVA_SCHEMA_DIR) {}
  TarnDesign* NewIfcDesign(const char* name) {
    TarnDesign* d = TARN().newDesign(name);
    EXPECT_TRUE(d->addSchema("ifc2x2_final"));
    EXPECT_TRUE(d->format("step"));
    return d;
  }
  // Writes the design and returns the text with the time stamp masked.
  std::string Written(TarnDesign* d) {
    d->fileDirectory(dir_.path());
    EXPECT_TRUE(d->save()) << out_.text();
    std::string text = test::ReadFile(dir_.file(std::string(d->name()) + "." + (d->extension().empty() ? "stp" : d->extension())));
    return std::regex_replace(text, std::regex("'[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9:]{8}[-+][0-9]{2}:00'"),
                              "'<stamp>'");
  }
  // The data section of an exchange file's text, up to its end; empty (a
  // failure) when there is none.
  static std::string DataSection(const std::string& text) {
    const size_t data = text.find("DATA;\n");
    EXPECT_NE(data, std::string::npos) << text;
    return data == std::string::npos ? std::string() : text.substr(data);
  }
  test::TempDir dir_;
};

const char kHeaderComment[] =
    "/* Exchange file written by korvaifc (KS-BUILDER v10) */\n"
    "/* ISO 10303-21 clear text encoding of an EXPRESS-defined population, */\n"
    "/* header section first, then the data section(s). */\n\n";

TEST_F(Part21WriterTest, EmptyDesign) {
  TarnDesign* d = NewIfcDesign("empty.ifc");
  EXPECT_EQ(Written(d), std::string("ISO-10303-21;\nHEADER;\n") + kHeaderComment +
                            "FILE_DESCRIPTION(\n/* description */ (''),\n/* implementation_level */ '2;1');\n"
                            "FILE_NAME(\n/* name */ 'empty',\n/* time_stamp */ '<stamp>',\n/* author */ (''),\n"
                            "/* organization */ (''),\n/* preprocessor_version */ 'KS-BUILDER v10',\n"
                            "/* originating_system */ '',\n/* authorisation */ '');\n"
                            "FILE_SCHEMA (('IFC2X2_FINAL'));\nENDSEC;\nDATA;\nENDSEC;\nEND-ISO-10303-21;\n");
  const std::string log = out_.text();
  EXPECT_NE(log.find("TARN: Writing design \"empty\".\nTARN: format - step\nTARN: file --- "),
            std::string::npos)
      << log;
}

TEST_F(Part21WriterTest, InstancesAreNumberedFromTenWithEveryValueKind) {
  TarnDesign* d = NewIfcDesign("values.ifc");
  IfcCartesianPoint* p = typecast<IfcCartesianPoint>(d->newInstance("IfcCartesianPoint"));
  p->Coordinates()->add(1.0);
  p->Coordinates()->add(-0.0);
  p->Coordinates()->add(1.0E-20);
  IfcDirection* dir = typecast<IfcDirection>(d->newInstance("IfcDirection"));
  dir->DirectionRatios()->add(0.1);
  IfcAxis2Placement3D* a = typecast<IfcAxis2Placement3D>(d->newInstance("IfcAxis2Placement3D"));
  a->Location(p);
  a->Axis(dir);
  IfcSIUnit* unit = typecast<IfcSIUnit>(d->newInstance("IfcSIUnit"));
  unit->UnitType(IfcUnitEnum_LENGTHUNIT);
  unit->Prefix(IfcSIPrefix_MILLI);
  unit->Name(IfcSIUnitName_METRE);
  IfcPropertySingleValue* v = typecast<IfcPropertySingleValue>(d->newInstance("IfcPropertySingleValue"));
  v->Name("it's a\\b\tc\xE9");
  IfcValue* value = typecast<IfcValue>(d->newInstance("IfcValue"));
  IfcSimpleValue* simple = typecast<IfcSimpleValue>(d->newInstance("IfcSimpleValue"));
  simple->_IfcLabel("text");
  value->_IfcSimpleValue(simple);
  v->NominalValue(value);
  IfcBuildingStorey* s = typecast<IfcBuildingStorey>(d->newInstance("IfcBuildingStorey"));
  s->Elevation(3.0);
  s->unset("Elevation");
  EXPECT_EQ(DataSection(Written(d)),
            "DATA;\n"
            "#10=IFCCARTESIANPOINT((1.,0.,1.E-20));\n"
            "#11=IFCDIRECTION((0.1));\n"
            "#12=IFCAXIS2PLACEMENT3D(#10,#11,$);\n"
            "#13=IFCSIUNIT(*,.LENGTHUNIT.,.MILLI.,.METRE.);\n"
            "#14=IFCPROPERTYSINGLEVALUE('it''s a\\\\b\\X\\09c\\X\\E9',$,IFCLABEL('text'),$);\n"
            "#15=IFCBUILDINGSTOREY($,$,$,$,$,$,$,$,$,$);\n"
            "ENDSEC;\nEND-ISO-10303-21;\n");
  EXPECT_EQ(p->instanceNumber(), 10u);  // numbers stay after the write
  EXPECT_EQ(s->instanceNumber(), 15u);
}

TEST_F(Part21WriterTest, LongListsAndStringsWrap) {
  TarnDesign* d = NewIfcDesign("wrap.ifc");
  IfcCartesianPoint* p = typecast<IfcCartesianPoint>(d->newInstance("IfcCartesianPoint"));
  for (int i = 0; i < 40; ++i) p->Coordinates()->add(1000.0 + i);
  IfcOrganization* o = typecast<IfcOrganization>(d->newInstance("IfcOrganization"));
  o->Name(std::string(80, 'x').c_str());
  const std::string text = Written(d);
  size_t start = text.find("#10=");
  size_t end = text.find("ENDSEC;\nEND");
  std::string body = text.substr(start, end - start);
  size_t lineStart = 0;
  int lines = 0;
  while (lineStart < body.size()) {
    size_t nl = body.find('\n', lineStart);
    EXPECT_LE(nl - lineStart, 80u) << body.substr(lineStart, nl - lineStart);
    lineStart = nl + 1;
    ++lines;
  }
  EXPECT_GT(lines, 4);
  EXPECT_NE(body.find("\n'" + std::string(70, 'x') + "\n" + std::string(10, 'x') + "'"), std::string::npos) << body;
}

// Instances made in turn of several types are written extent by extent,
// each extent from its first instance's attribute plan: values kept in the
// overflow record of a best-fit class, an attribute redeclared as derived,
// references, a list of references and a select.
TEST_F(Part21WriterTest, ExtentsOfInterleavedTypesWithOverflowAttributes) {
  TarnDesign* d = test::NewTestDesign("interleaved");
  std::vector<test::TPoint*> points;
  for (int i = 0; i < 3; ++i) {
    auto* point = typecast<test::TPoint>(d->newInstance("TPoint"));
    point->X = i;
    points.push_back(point);
    TarnObject* extra = d->newInstance("TExtra");
    ASSERT_TRUE(extra->putDouble(0.5 + i, "Extra"));
    ASSERT_TRUE(extra->putString(i == 1 ? "it's" : "n", "Note"));
    ASSERT_TRUE(extra->putObject(point, "Ref"));
    auto* node = typecast<test::TNode>(d->newInstance("TNode"));
    node->Id = 7 * i;
    node->Label = node->copyString("node");
    auto* links = typecast<TarnAggregate>(d->newInstance("ListOfTPoint"));
    links->putObject(points[0], -1);
    links->putObject(point, -1);
    node->putObject(links, "Links");
    if (i == 0) continue;
    auto* choice = typecast<TarnUnion>(d->newInstance("TChoice"));
    if (i == 1) choice->putDouble(2.5, choice->getAttribute("_TLength"));
    else choice->putObject(point, choice->getAttribute("_TPoint"));
    node->putObject(choice, "Choice");
  }
  test::CapturedStream stream;
  ASSERT_TRUE(Part21Writer::Write(d, stream.get()));
  EXPECT_EQ(DataSection(stream.text()),
            "DATA;\n"
            "#10=TPOINT(0.,0.,$,$);\n"
            "#11=TPOINT(1.,0.,$,$);\n"
            "#12=TPOINT(2.,0.,$,$);\n"
            "#13=TEXTRA(0.,*,$,$,0,#10,$,$,0.5,'n');\n"
            "#14=TEXTRA(0.,*,$,$,0,#11,$,$,1.5,'it''s');\n"
            "#15=TEXTRA(0.,*,$,$,0,#12,$,$,2.5,'n');\n"
            "#16=TNODE(0.,0.,'node',$,0,$,(#10,#10),$);\n"
            "#17=TNODE(0.,0.,'node',$,7,$,(#10,#11),TLENGTH(2.5));\n"
            "#18=TNODE(0.,0.,'node',$,14,$,(#10,#12),#12);\n"
            "ENDSEC;\nEND-ISO-10303-21;\n");
}

TEST_F(Part21WriterTest, SettingsRefuseOutOfRangeValues) {
  EXPECT_FALSE(Part21Writer::setSpecVersion(4));
  EXPECT_FALSE(Part21Writer::setConformanceClass(0));
  EXPECT_EQ(Part21Writer::specVersion(), 2u);
  EXPECT_EQ(Part21Writer::conformanceClass(), 1u);
  const std::string log = out_.text();
  EXPECT_NE(log.find("Invalid Part 21 spec version '4'"), std::string::npos);
  EXPECT_NE(log.find("Invalid Part 21 conformance class '0'"), std::string::npos);
}

}  // namespace
}  // namespace korva
