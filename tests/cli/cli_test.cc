// korva-ifc schema and guid: the compiled schemas are found beside the
// program's folder (or where --schemas and TARN_SCHEMAS say).
#include <gtest/gtest.h>
#include <regex>
#include <string>

#include "cli/run_cli.h"
#include "support/test_util.h"

namespace korva {
namespace test {
namespace {

bool Has(const std::string& text, const char* pattern) { return std::regex_search(text, std::regex(pattern)); }

TEST(SchemaCommand, CountsTheDictionaryOfIfc2x2) {
  Outcome r = KorvaIfc("schema");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(Has(r.out, "^schema ifc2x2_final\n")) << r.out;
  EXPECT_TRUE(Has(r.out, "\n  entities +629\n")) << r.out;
  EXPECT_TRUE(Has(r.out, "\n  selects +42\n")) << r.out;
  EXPECT_TRUE(Has(r.out, "\n  enumerations +161\n")) << r.out;
  EXPECT_TRUE(Has(r.out, "\n  defined types +[0-9]+\n")) << r.out;
  EXPECT_TRUE(Has(r.out, "\n  aggregate classes +[0-9]+\n")) << r.out;
}

TEST(SchemaCommand, ListsAnEntityWithItsInheritedAttributesFirst) {
  Outcome r = KorvaIfc("schema IfcBeam");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(Has(r.out, "^ENTITY IfcBeam\n")) << r.out;
  EXPECT_TRUE(Has(r.out, "supertypes: IfcBuildingElement IfcElement IfcProduct IfcObject IfcRoot\n")) << r.out;
  EXPECT_TRUE(Has(r.out, "attributes: 8\n")) << r.out;
  EXPECT_TRUE(Has(r.out, "\n +1  GlobalId +IfcGloballyUniqueId +IfcRoot\n")) << r.out;
  EXPECT_TRUE(Has(r.out, "\n +6  ObjectPlacement +IfcObjectPlacement +IfcProduct\n")) << r.out;
  EXPECT_TRUE(Has(r.out, "\n +8  Tag +IfcIdentifier +IfcElement\n$")) << r.out;
}

TEST(SchemaCommand, ListsEnumeratorsWithIndicesAndSelectMembers) {
  Outcome e = KorvaIfc("schema IfcSIUnitName");
  ASSERT_EQ(e.status, 0) << e.out;
  EXPECT_TRUE(Has(e.out, "^ENUMERATION IfcSIUnitName\n  enumerators: 30\n +0  AMPERE\n")) << e.out;
  EXPECT_TRUE(Has(e.out, "\n +15  METRE\n")) << e.out;
  EXPECT_TRUE(Has(e.out, "\n +24  SQUARE_METRE\n")) << e.out;

  // Names are matched without regard to case.
  Outcome s = KorvaIfc("schema ifcaxis2placement");
  ASSERT_EQ(s.status, 0) << s.out;
  EXPECT_EQ(s.out, "SELECT IfcAxis2Placement\n  members: 2\n    IfcAxis2Placement2D\n    IfcAxis2Placement3D\n");

  Outcome t = KorvaIfc("schema IfcLengthMeasure");
  EXPECT_EQ(t.out, "TYPE IfcLengthMeasure = Float\n");
  Outcome a = KorvaIfc("schema ListOfIfcCartesianPoint");
  EXPECT_EQ(a.out, "AGGREGATE ListOfIfcCartesianPoint = TarnPtrList OF IfcCartesianPoint\n");
}

TEST(SchemaCommand, UnknownNamesAndMissingSchemasFail) {
  Outcome r = KorvaIfc("schema IfcNothing");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_TRUE(Has(r.err, "korva-ifc: ifc2x2_final has no type named 'IfcNothing'")) << r.err;

  // TARN_SCHEMAS replaces the folder beside the program; --schemas wins
  // over both.
  TempDir empty;
  EXPECT_EQ(KorvaIfc("schema", "TARN_SCHEMAS=" + empty.path()).status, 6);
  EXPECT_EQ(KorvaIfc("schema --schemas " + empty.path()).status, 6);
  Outcome flag = KorvaIfc("schema --schemas " KORVA_SCHEMA_DIR " IfcBeam", "TARN_SCHEMAS=" + empty.path());
  EXPECT_EQ(flag.status, 0);
  EXPECT_TRUE(Has(flag.out, "^ENTITY IfcBeam\n")) << flag.out;
  EXPECT_EQ(KorvaIfc("schema IfcBeam extra").status, 2);
}

TEST(GuidCommand, PrintsTheRequestedNumberOfGlobalIds) {
  Outcome r = KorvaIfc("guid 3");
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(Has(r.out, "^([0-9A-Za-z_$]{22}\n){3}$")) << r.out;
  EXPECT_EQ(KorvaIfc("guid").out.size(), 23u);
  EXPECT_EQ(KorvaIfc("guid 0").status, 2);
  EXPECT_EQ(KorvaIfc("guid many").status, 2);
}

}  // namespace
}  // namespace test
}  // namespace korva
