// Parsing of the EXPRESS constructs IFC schemas use, and rejection of bad input.
#include <gtest/gtest.h>

#include "express/parser.h"
#include "test_support.h"

namespace korva::express {
namespace {

using testing::firstError;
using testing::loadBody;
using testing::wrapBody;

const TypeDesc& definedUnderlying(const Schema& s, const char* name) {
  const DefinedType* t = s.findDefinedType(name);
  EXPECT_NE(t, nullptr) << name;
  static const TypeDesc empty;
  return t ? t->underlying : empty;
}

TEST(Parser, SimpleAndDefinedTypes) {
  const Schema s = loadBody(R"(
    TYPE Guid = STRING(22) FIXED; END_TYPE;
    TYPE Label = STRING; END_TYPE;
    TYPE Blob = BINARY(32); END_TYPE;
    TYPE Len = REAL; END_TYPE;
    TYPE Precise = REAL(15); END_TYPE;
    TYPE Count = NUMBER; END_TYPE;
    TYPE Flag = BOOLEAN; END_TYPE;
    TYPE Tri = LOGICAL; END_TYPE;
    TYPE PosLen = Len;
     WHERE
      WR1 : SELF > 0.;
      SELF < 1.0E6;
    END_TYPE;
  )");
  const TypeDesc& guid = definedUnderlying(s, "Guid");
  EXPECT_EQ(guid.kind, TypeDesc::Kind::Simple);
  EXPECT_EQ(guid.simple, SimpleKind::String);
  EXPECT_TRUE(guid.width.isInteger());
  EXPECT_EQ(guid.width.value, 22);
  EXPECT_TRUE(guid.fixed);
  EXPECT_EQ(guid.describe(), "STRING(22) FIXED");

  const TypeDesc& label = definedUnderlying(s, "Label");
  EXPECT_EQ(label.width.kind, Bound::Kind::Unbounded);
  EXPECT_FALSE(label.fixed);
  EXPECT_EQ(definedUnderlying(s, "Blob").describe(), "BINARY(32)");
  EXPECT_EQ(definedUnderlying(s, "Precise").simple, SimpleKind::Real);
  EXPECT_EQ(definedUnderlying(s, "Count").simple, SimpleKind::Number);
  EXPECT_EQ(definedUnderlying(s, "Tri").simple, SimpleKind::Logical);

  const DefinedType* pos = s.findDefinedType("poslen");  // lookup ignores case
  ASSERT_NE(pos, nullptr);
  EXPECT_EQ(pos->underlying.kind, TypeDesc::Kind::Named);
  EXPECT_EQ(pos->underlying.target, s.find("Len"));
  ASSERT_EQ(pos->where.size(), 2u);
  EXPECT_EQ(pos->where[0].label, "WR1");
  EXPECT_EQ(pos->where[0].expression, "SELF > 0.");
  EXPECT_EQ(pos->where[1].label, "");  // unlabelled rule
  EXPECT_EQ(pos->where[1].expression, "SELF < 1.0E6");
  EXPECT_EQ(&underlyingType(pos->underlying), &definedUnderlying(s, "Len"));
}

TEST(Parser, AggregateBoundsAndFlags) {
  const Schema s = loadBody(R"(
    ENTITY Pt; END_ENTITY;
    TYPE Pair = ARRAY [1:2] OF OPTIONAL UNIQUE Pt; END_TYPE;
    TYPE Open = SET OF Pt; END_TYPE;
    TYPE Poly = LIST [3:?] OF UNIQUE Pt; END_TYPE;
    TYPE Grid = LIST [1:?] OF LIST [2 : 2+1] OF Pt; END_TYPE;
    TYPE Sized = BAG [0:Ndim(SELF)] OF Pt; END_TYPE;
  )");
  const TypeDesc& pair = definedUnderlying(s, "Pair");
  EXPECT_EQ(pair.aggregate, AggregateKind::Array);
  EXPECT_EQ(pair.lower.value, 1);
  EXPECT_EQ(pair.upper.value, 2);
  EXPECT_TRUE(pair.optionalElements);
  EXPECT_TRUE(pair.uniqueElements);

  const TypeDesc& open = definedUnderlying(s, "Open");  // default bounds [0:?]
  EXPECT_EQ(open.lower.value, 0);
  EXPECT_EQ(open.upper.kind, Bound::Kind::Unbounded);

  const TypeDesc& poly = definedUnderlying(s, "Poly");
  EXPECT_EQ(poly.describe(), "LIST [3:?] OF UNIQUE Pt");
  EXPECT_FALSE(poly.optionalElements);

  const TypeDesc& grid = definedUnderlying(s, "Grid");
  ASSERT_EQ(grid.element->kind, TypeDesc::Kind::Aggregate);
  EXPECT_EQ(grid.element->upper.kind, Bound::Kind::Expression);
  EXPECT_EQ(grid.element->upper.text, "2+1");
  EXPECT_EQ(grid.element->element->target, s.find("Pt"));

  const TypeDesc& sized = definedUnderlying(s, "Sized");
  EXPECT_EQ(sized.aggregate, AggregateKind::Bag);
  EXPECT_EQ(sized.upper.kind, Bound::Kind::Expression);
  EXPECT_EQ(sized.upper.text, "Ndim(SELF)");
}

TEST(Parser, EnumerationsAndSelects) {
  const Schema s = loadBody(R"(
    TYPE Kind = ENUMERATION OF (FLOOR, ROOF, landing); END_TYPE;
    ENTITY A; END_ENTITY;
    ENTITY B; END_ENTITY;
    TYPE AorB = SELECT (B, A); END_TYPE;
  )");
  const EnumerationType* kind = s.findEnumeration("KIND");
  ASSERT_NE(kind, nullptr);
  EXPECT_EQ(kind->items, (std::vector<std::string>{"FLOOR", "ROOF", "landing"}));
  EXPECT_EQ(kind->indexOf("roof"), 1);
  EXPECT_EQ(kind->indexOf("LANDING"), 2);
  EXPECT_EQ(kind->indexOf("WALL"), -1);

  const SelectType* select = s.findSelect("AorB");
  ASSERT_NE(select, nullptr);
  ASSERT_EQ(select->members.size(), 2u);
  EXPECT_EQ(select->members[0], s.find("B"));  // declaration order kept
  EXPECT_EQ(select->members[1], s.find("A"));
  EXPECT_EQ(s.findEntity("AorB"), nullptr);  // typed lookups check the kind
}

TEST(Parser, EntityHeaderAndSections) {
  const Schema s = loadBody(R"(
    TYPE Label = STRING; END_TYPE;
    ENTITY Root
     ABSTRACT SUPERTYPE OF (ONEOF (Item, Other) ANDOR Third);
      Id : Label;
      Tag, Note : OPTIONAL Label;
     DERIVE
      Size : INTEGER := SIZEOF([Id, Tag]);
     INVERSE
      UsedBy : SET [0:?] OF Item FOR Owner;
      Single : Item FOR Owner;
     UNIQUE
      UR1 : Id;
      UR2 : Id, Tag;
     WHERE
      WR1 : EXISTS(Tag) OR (Note <> 'a;b');
    END_ENTITY;
    ENTITY Item SUBTYPE OF (Root); Owner : Root; END_ENTITY;
    ENTITY Other SUBTYPE OF (Root); END_ENTITY;
    ENTITY Third SUBTYPE OF (Root); END_ENTITY;
  )");
  const Entity* root = s.findEntity("Root");
  ASSERT_NE(root, nullptr);
  EXPECT_TRUE(root->isAbstract);
  EXPECT_EQ(root->supertypeExpression, "ONEOF (Item, Other) ANDOR Third");
  ASSERT_EQ(root->attributes.size(), 3u);
  EXPECT_EQ(root->attributes[1].name, "Tag");
  EXPECT_TRUE(root->attributes[1].optional);
  EXPECT_TRUE(root->attributes[2].optional);
  EXPECT_FALSE(root->attributes[0].optional);

  ASSERT_EQ(root->derived.size(), 1u);
  EXPECT_EQ(root->derived[0].expression, "SIZEOF([Id, Tag])");
  EXPECT_FALSE(root->derived[0].redeclares);

  ASSERT_EQ(root->inverses.size(), 2u);
  const InverseAttribute& usedBy = root->inverses[0];
  EXPECT_TRUE(usedBy.isAggregate());
  EXPECT_EQ(usedBy.type.aggregate, AggregateKind::Set);
  EXPECT_EQ(usedBy.type.upper.kind, Bound::Kind::Unbounded);
  EXPECT_EQ(usedBy.target, s.findEntity("Item"));
  EXPECT_EQ(usedBy.inverseOf, &s.findEntity("Item")->attributes[0]);
  EXPECT_FALSE(root->inverses[1].isAggregate());

  ASSERT_EQ(root->unique.size(), 2u);
  EXPECT_EQ(root->unique[1].label, "UR2");
  EXPECT_EQ(root->unique[1].expression, "Id, Tag");
  ASSERT_EQ(root->where.size(), 1u);
  EXPECT_EQ(root->where[0].expression, "EXISTS(Tag) OR (Note <> 'a;b')");

  const Entity* item = s.findEntity("Item");
  EXPECT_FALSE(item->isAbstract);
  EXPECT_EQ(item->supertypeNames, (std::vector<std::string>{"Root"}));
}

TEST(Parser, AlgorithmsAndConstantsAreSkipped) {
  // Bodies full of things that would trip a naive skipper: nested local
  // functions, END_FUNCTION inside strings and comments, keywords of the
  // parsed part of the language.
  const Schema s = loadBody(R"(
    CONSTANT
      Limit : INTEGER := 3;
      Name : STRING := 'END_CONSTANT;';
    END_CONSTANT;
    FUNCTION Outer (x : LIST [1:?] OF GENERIC : G) : BOOLEAN;
      FUNCTION Inner (y : INTEGER) : INTEGER;
        RETURN (y * 2);
      END_FUNCTION;
      LOCAL s : STRING := 'END_FUNCTION; ENTITY Fake;'; END_LOCAL;
      (* END_FUNCTION; *)
      IF SIZEOF(x) > 0 THEN RETURN (TRUE); END_IF; -- END_FUNCTION;
      RETURN (FALSE);
    END_FUNCTION;
    PROCEDURE Proc (VAR a : INTEGER); a := 1; END_PROCEDURE;
    RULE OnlyOne FOR (Thing);
     WHERE
      WR1 : SIZEOF(Thing) <= 1;
    END_RULE;
    ENTITY Thing; END_ENTITY;
  )");
  EXPECT_EQ(s.entities().size(), 1u);
  EXPECT_NE(s.findEntity("Thing"), nullptr);
  EXPECT_EQ(s.findEntity("Fake"), nullptr);
}

TEST(Parser, KeywordsIgnoreCase) {
  const Schema s = loadSchema(
      "schema lower_case;\n"
      "type Len = real; end_type;\n"
      "Entity Pt; x : OPTIONAL Len; End_Entity;\n"
      "end_schema;\n",
      "t.exp");
  EXPECT_EQ(s.name, "lower_case");
  ASSERT_NE(s.findEntity("PT"), nullptr);
  EXPECT_TRUE(s.findEntity("pt")->attributes[0].optional);
}

struct SyntaxCase {
  std::string source;
  int line;
  std::string near;
  std::string messagePart;
};

TEST(Parser, SyntaxErrorsNameLineAndToken) {
  const SyntaxCase cases[] = {
      {"", 1, "end of file", "expected SCHEMA"},
      {"garbage here", 1, "garbage", "expected SCHEMA"},
      {wrapBody("ENTITY A;\n  x : INTEGER\nEND_ENTITY;"), 4, "END_ENTITY", "expected ';'"},
      {wrapBody("TYPE T = LIST [1:?] INTEGER; END_TYPE;"), 2, "INTEGER", "expected OF"},
      {wrapBody("TYPE T = ARRAY OF INTEGER; END_TYPE;"), 2, "OF", "bounds"},
      {wrapBody("\nTYPE T = ENUMERATION OF (A, , B); END_TYPE;"), 3, ",", "expected enumerator"},
      {wrapBody("ENTITY A;\n x : END_TYPE;\nEND_ENTITY;"), 3, "END_TYPE", "expected a type"},
      {wrapBody("ENTITY A;\n DERIVE\n d : INTEGER := ;\nEND_ENTITY;"), 4, ";", "expected derived"},
      {wrapBody("ENTITY A;\n WHERE\n WR1 : (x > 1;\nEND_ENTITY;"), 4, ";", "unclosed bracket"},
      {wrapBody("TYPE T = LIST [1:? OF INTEGER; END_TYPE;"), 2, ";",
       "unexpected ';' in upper bound"},
      {wrapBody("ENTITY A; END_ENTITY;\nENTITY a; END_ENTITY;"), 3, "a", "duplicate declaration"},
      {wrapBody("FOO;"), 2, "FOO", "expected TYPE, ENTITY"},
      {"SCHEMA s;\nEND_SCHEMA;\nTYPE", 3, "TYPE", "after END_SCHEMA"},
  };
  for (const SyntaxCase& c : cases) {
    const Diagnostic d = firstError(c.source, "bad.exp");
    EXPECT_EQ(d.file, "bad.exp");
    EXPECT_EQ(d.line, c.line) << c.source;
    EXPECT_EQ(d.near, c.near) << c.source;
    EXPECT_NE(d.message.find(c.messagePart), std::string::npos) << d.format();
  }
}

TEST(Parser, ErrorTextIsFileLineErrorNearToken) {
  try {
    loadSchema("SCHEMA s;\nENTITY A\n  x : INTEGER;\nEND_ENTITY;\nEND_SCHEMA;\n", "dir/s.exp");
    FAIL() << "expected a syntax error";
  } catch (const ExpressError& e) {
    EXPECT_STREQ(e.what(), "dir/s.exp:3: error: expected ';' near 'x'");
  }
}

TEST(Parser, EveryTruncationIsRejected) {
  const std::string full = wrapBody(R"(
    TYPE Len = REAL; END_TYPE;
    TYPE K = ENUMERATION OF (A, B); END_TYPE;
    ENTITY P ABSTRACT SUPERTYPE OF (ONEOF(Q)); x : OPTIONAL LIST [1:?] OF UNIQUE Len;
     DERIVE d : INTEGER := 1; INVERSE i : SET OF Q FOR r; WHERE WR1 : (x > 'y'); END_ENTITY;
    ENTITY Q SUBTYPE OF (P); r : P; END_ENTITY;
    FUNCTION F : INTEGER; RETURN (1); END_FUNCTION;
  )");
  ASSERT_NO_THROW(loadSchema(full, "t.exp"));
  // Cutting after any prefix that ends in the middle of the text must give
  // an error; the only complete prefix is the whole schema (up to trailing
  // blanks), so every shorter one is expected to fail.
  const std::size_t end = full.rfind(';') + 1;
  for (std::size_t n = 0; n < end; ++n) {
    EXPECT_THROW(loadSchema(full.substr(0, n), "t.exp"), ExpressError) << "prefix length " << n;
  }
}

TEST(Parser, HostileInputFailsCleanly) {
  std::string deep = "SCHEMA s; TYPE T = ";
  for (int i = 0; i < 100000; ++i) deep += "LIST OF ";
  deep += "INTEGER; END_TYPE; END_SCHEMA;";
  EXPECT_NE(firstError(deep).message.find("nested too deeply"), std::string::npos);

  std::string parens = "SCHEMA s; ENTITY A; WHERE WR1 : ";
  parens += std::string(100000, '(');
  EXPECT_EQ(firstError(parens).message, "unexpected end of file in rule");

  EXPECT_EQ(firstError(wrapBody("FUNCTION F; RETURN (1);")).message,
            "missing END_FUNCTION for FUNCTION at line 2");
  EXPECT_EQ(firstError(wrapBody("ENTITY A; x : INTEGER; WHERE WR1 : x > 0);")).message,
            "unbalanced ')' in rule");
  EXPECT_EQ(firstError(std::string("SCHEMA s;\0\x7f", 11)).message, "unexpected character");
}

}  // namespace
}  // namespace korva::express
