// korva-ifc schema and guid: the compiled schemas are found beside the
// program's folder (or where --schemas and TARN_SCHEMAS say).
#include <gtest/gtest.h>
#include <initializer_list>
#include <regex>
#include <string>

#include "cli/run_cli.h"
#include "support/test_util.h"

namespace korva {
namespace test {
namespace {

bool Has(const std::string& text, const char* pattern) { return std::regex_search(text, std::regex(pattern)); }

// `command` succeeds and its output matches every one of `patterns`.
void ExpectOutput(const std::string& command, std::initializer_list<const char*> patterns) {
  const Outcome r = KorvaIfc(command);
  ASSERT_EQ(r.status, 0) << r.out;
  for (const char* pattern : patterns) EXPECT_TRUE(Has(r.out, pattern)) << pattern << "\n" << r.out;
}

TEST(SchemaCommand, CountsTheDictionaryOfIfc2x2) {
  ExpectOutput("schema", {"^schema ifc2x2_final\n", "\n  entities +629\n", "\n  selects +42\n",
                          "\n  enumerations +161\n", "\n  defined types +[0-9]+\n",
                          "\n  aggregate classes +[0-9]+\n"});
}

TEST(SchemaCommand, ListsAnEntityWithItsInheritedAttributesFirst) {
  ExpectOutput("schema IfcBeam", {"^ENTITY IfcBeam\n",
                                  "supertypes: IfcBuildingElement IfcElement IfcProduct IfcObject IfcRoot\n",
                                  "attributes: 8\n", "\n +1  GlobalId +IfcGloballyUniqueId +IfcRoot\n",
                                  "\n +6  ObjectPlacement +IfcObjectPlacement +IfcProduct\n",
                                  "\n +8  Tag +IfcIdentifier +IfcElement\n$"});
}

TEST(SchemaCommand, ListsEnumeratorsWithIndicesAndSelectMembers) {
  ExpectOutput("schema IfcSIUnitName", {"^ENUMERATION IfcSIUnitName\n  enumerators: 30\n +0  AMPERE\n",
                                        "\n +15  METRE\n", "\n +24  SQUARE_METRE\n"});

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
