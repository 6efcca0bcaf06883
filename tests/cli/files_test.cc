// korva-ifc sample, check and copy on small files.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "cli/run_cli.h"
#include "support/test_util.h"

namespace korva {
namespace test {
namespace {

bool Has(const std::string& text, const std::string& pattern) {
  return std::regex_search(text, std::regex(pattern));
}

TEST(SampleCommand, WritesEveryKindOfValue) {
  TempDir dir;
  Outcome r = KorvaIfc("sample " + Quoted(dir.file("sample.ifc")));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  const std::string text = ReadFile(dir.file("sample.ifc"));
  EXPECT_TRUE(Has(text, "FILE_SCHEMA \\(\\('IFC2X2_FINAL'\\)\\);")) << text;
  // Numbered from 10; strings, a list of strings and an unset identifier.
  EXPECT_TRUE(Has(text, "\n#10=IFCPERSON\\(\\$,'Korva','Sample',\\('Ifc','Two x Two'\\),")) << text;
  EXPECT_TRUE(Has(text, "'It''s a sample'")) << text;
  // Enumerations, with an unset prefix and a derived attribute.
  EXPECT_TRUE(Has(text, "=IFCSIUNIT\\(\\*,\\.LENGTHUNIT\\.,\\.MILLI\\.,\\.METRE\\.\\);")) << text;
  EXPECT_TRUE(Has(text, "=IFCSIUNIT\\(\\*,\\.AREAUNIT\\.,\\$,\\.SQUARE_METRE\\.\\);")) << text;
  // Lists of reals and references.
  EXPECT_TRUE(Has(text, "=IFCCARTESIANPOINT\\(\\(1500\\.,2000\\.,0\\.\\)\\);")) << text;
  EXPECT_TRUE(Has(text, "=IFCAXIS2PLACEMENT3D\\(#[0-9]+,#[0-9]+,#[0-9]+\\);")) << text;
  // Selects written with their typed values.
  EXPECT_TRUE(Has(text, "'Label',\\$,IFCLABEL\\('text'\\),\\$\\);")) << text;
  EXPECT_TRUE(Has(text, "'Count',\\$,IFCINTEGER\\(42\\),\\$\\);")) << text;
  EXPECT_TRUE(Has(text, "'Ratio',\\$,IFCREAL\\(0\\.25\\),\\$\\);")) << text;
  EXPECT_TRUE(Has(text, "'Span',\\$,IFCLENGTHMEASURE\\(3\\.5\\),#13\\);")) << text;

  // What this library writes, its reader reads without a message.
  Outcome check = KorvaIfc("check " + Quoted(dir.file("sample.ifc")));
  EXPECT_EQ(check.status, 0) << check.out;
  EXPECT_TRUE(Has(check.out, "\n  IfcPropertySingleValue +4\n")) << check.out;
  EXPECT_TRUE(Has(check.out, "\n  total +15\n0 warnings, 0 errors\n$")) << check.out;
}

TEST(CheckCommand, CountsInstancesPerTypeSortedByName) {
  TempDir dir;
  dir.write("two.ifc", ExchangeFile("#7=IFCDIRECTION((0.,0.,1.));\n#3=IFCCARTESIANPOINT((1.,2.));\n"
                                "#5=IFCCARTESIANPOINT((3.,4.));\n#9=IFCAXIS2PLACEMENT3D(#3,#7,$);\n"));
  Outcome r = KorvaIfc("check " + Quoted(dir.file("two.ifc")));
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_TRUE(Has(r.out, "\n  IfcAxis2Placement3D +1\n  IfcCartesianPoint +2\n  IfcDirection +1\n  total +4\n"
                         "0 warnings, 0 errors\n$"))
      << r.out;
}

TEST(CheckCommand, WarningsKeepStatusZeroErrorsGiveOne) {
  TempDir dir;
  // An unknown entity type is skipped with a warning.
  dir.write("warn.ifc", ExchangeFile("#1=IFCCARTESIANPOINT((1.,2.));\n#2=IFCNOSUCHTHING(1);\n"));
  Outcome w = KorvaIfc("check " + Quoted(dir.file("warn.ifc")));
  EXPECT_EQ(w.status, 0) << w.out;
  EXPECT_TRUE(Has(w.out, "warn\\.ifc\\([0-9]+\\): warning: Unknown type 'IFCNOSUCHTHING'")) << w.out;
  EXPECT_TRUE(Has(w.out, "\n  IfcCartesianPoint +1\n")) << w.out;
  EXPECT_TRUE(Has(w.out, "\n1 warning, 0 errors\n$")) << w.out;

  // An enumerator the type does not have is an error.
  dir.write("error.ifc", ExchangeFile("#1=IFCSIUNIT(*,.LENGTHUNIT.,$,.FURLONG.);\n"));
  Outcome e = KorvaIfc("check " + Quoted(dir.file("error.ifc")));
  EXPECT_EQ(e.status, 1) << e.out;
  EXPECT_TRUE(Has(e.out, "error\\.ifc\\([0-9]+\\): error: Unknown enum 'FURLONG'")) << e.out;
  EXPECT_TRUE(Has(e.out, "[0-9]+ warnings?, [1-9][0-9]* errors?\n$")) << e.out;

  // A broken frame (the data section never ends): the read fails as a whole.
  const std::string whole = ExchangeFile("#1=IFCCARTESIANPOINT((1.,2.));\n");
  dir.write("frame.ifc", whole.substr(0, whole.rfind("ENDSEC;")));
  Outcome f = KorvaIfc("check " + Quoted(dir.file("frame.ifc")));
  EXPECT_EQ(f.status, 1) << f.out;
  EXPECT_TRUE(Has(f.out, "frame\\.ifc: not read\n")) << f.out;
}

TEST(CopyCommand, RenumbersFromTenAndKeepsTheContents) {
  TempDir dir;
  dir.write("in.ifc", ExchangeFile("#500=IFCCARTESIANPOINT((1.5,2.5,3.5));\n#120=IFCDIRECTION((0.,0.,1.));\n"
                               "#7=IFCAXIS2PLACEMENT3D(#500,#120,$);\n"));
  Outcome r = KorvaIfc("copy " + Quoted(dir.file("in.ifc")) + " " + Quoted(dir.file("out.ifc")));
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string text = ReadFile(dir.file("out.ifc"));
  EXPECT_FALSE(Has(text, "#500|#120|#7=")) << text;
  EXPECT_TRUE(Has(text, "#10=IFCCARTESIANPOINT\\(\\(1\\.5,2\\.5,3\\.5\\)\\);")) << text;
  EXPECT_TRUE(Has(text, "#11=IFCDIRECTION\\(\\(0\\.,0\\.,1\\.\\)\\);")) << text;
  EXPECT_TRUE(Has(text, "#12=IFCAXIS2PLACEMENT3D\\(#10,#11,\\$\\);")) << text;

  // The copy reads back to the same population.
  Outcome a = KorvaIfc("check " + Quoted(dir.file("in.ifc")));
  Outcome b = KorvaIfc("check " + Quoted(dir.file("out.ifc")));
  ASSERT_EQ(b.status, 0) << b.out;
  EXPECT_EQ(a.out.substr(a.out.find('\n')), b.out.substr(b.out.find('\n')));
}

// A file over the progress threshold: without a terminal nothing but the
// results is printed; on a terminal (under script(1)) the progress line
// appears on standard error.
TEST(CopyCommand, ShowsProgressOnlyOnATerminal) {
  TempDir dir;
  std::string data;
  for (int i = 1; i <= 120000; ++i)
    data += "#" + std::to_string(i) + "=IFCCARTESIANPOINT((" + std::to_string(i) + ".25,2.5,3.5));\n";
  dir.write("big.ifc", ExchangeFile(data));
  Outcome plain = KorvaIfc("copy " + Quoted(dir.file("big.ifc")) + " " + Quoted(dir.file("copy.ifc")));
  ASSERT_EQ(plain.status, 0) << plain.err;
  EXPECT_EQ(plain.out, "");
  EXPECT_EQ(plain.err.find("reading big.ifc"), std::string::npos) << plain.err;
  EXPECT_EQ(plain.err.find('\r'), std::string::npos);
  EXPECT_TRUE(Has(ReadFile(dir.file("copy.ifc")), "\n#120009=IFCCARTESIANPOINT\\(\\(120000\\.25,"));

  if (std::system("command -v script >/dev/null 2>&1") != 0) GTEST_SKIP() << "script(1) is not installed";
  const std::string inner = std::string("'" KORVA_CLI_PATH "' copy ") + dir.file("big.ifc") + " " + dir.file("tty.ifc");
  Outcome tty = Shell("env -u TARN_SCHEMAS script -qec \"" + inner + "\" /dev/null");
  EXPECT_EQ(tty.status, 0);
  EXPECT_TRUE(Has(tty.out, "reading big\\.ifc: +[0-9]+%")) << tty.out;
}

}  // namespace
}  // namespace test
}  // namespace korva
