// Name resolution, inheritance and redeclarations on small schemas.
#include <gtest/gtest.h>

#include <algorithm>

#include "express/aggregates.h"
#include "test_support.h"

namespace korva::express {
namespace {

using testing::attributeNames;
using testing::firstError;
using testing::loadBody;
using testing::wrapBody;

std::string names(const std::vector<const Entity*>& entities) {
  std::string out;
  for (const Entity* e : entities) out += (out.empty() ? "" : ",") + e->name;
  return out;
}

// R <- A, R <- B, {A, B} <- D (a diamond), D <- E.  Depth-first over
// supertypes in declaration order, each ancestor once, roots first.
const char* kDiamond = R"(
  ENTITY R; r1, r2 : INTEGER; END_ENTITY;
  ENTITY A SUBTYPE OF (R); a1 : INTEGER; END_ENTITY;
  ENTITY B SUBTYPE OF (R); b1 : INTEGER; END_ENTITY;
  ENTITY D SUBTYPE OF (B, A); d1 : INTEGER; END_ENTITY;
  ENTITY E SUBTYPE OF (D); e1 : INTEGER; END_ENTITY;
)";

TEST(Resolver, MultipleInheritanceOrdersAncestorsAndAttributes) {
  const Schema s = loadBody(kDiamond);
  const Entity* d = s.findEntity("D");
  const Entity* e = s.findEntity("E");
  EXPECT_EQ(names(d->supertypes), "B,A");
  EXPECT_EQ(names(d->ancestors), "R,B,A");
  EXPECT_EQ(names(e->ancestors), "R,B,A,D");
  EXPECT_EQ(attributeNames(*d), "r1,r2,b1,a1,d1");
  EXPECT_EQ(attributeNames(*e), "r1,r2,b1,a1,d1,e1");
  EXPECT_EQ(e->findAttribute("B1")->owner, s.findEntity("B"));
  EXPECT_EQ(names(s.findEntity("R")->subtypes), "A,B");
  EXPECT_TRUE(e->isSubtypeOf(s.findEntity("R")));
  EXPECT_TRUE(e->isSubtypeOf(e));
  EXPECT_FALSE(s.findEntity("A")->isSubtypeOf(s.findEntity("B")));
}

TEST(Resolver, DerivedRedeclarationsAreFlaggedAndInherited) {
  const Schema s = loadBody(R"(
    TYPE Len = REAL; END_TYPE;
    ENTITY Ctx; dim : INTEGER; prec : OPTIONAL REAL; name : STRING; END_ENTITY;
    ENTITY Mid SUBTYPE OF (Ctx); END_ENTITY;
    ENTITY Sub SUBTYPE OF (Mid); parent : Ctx;
     DERIVE
      SELF\Mid.dim : INTEGER := parent.dim;
      SELF\Ctx.prec : REAL := parent.prec;
      total : Len := 0.0;
    END_ENTITY;
    ENTITY Leaf SUBTYPE OF (Sub); END_ENTITY;
  )");
  const Entity* sub = s.findEntity("Sub");
  EXPECT_EQ(attributeNames(*sub), "dim,prec,name,parent");
  EXPECT_TRUE(sub->findAttribute("dim")->isDerived());
  EXPECT_TRUE(sub->findAttribute("prec")->isDerived());
  EXPECT_FALSE(sub->findAttribute("name")->isDerived());
  EXPECT_FALSE(sub->findAttribute("parent")->isDerived());
  EXPECT_EQ(sub->findAttribute("dim")->derivedBy, sub);

  // Named through an intermediate entity, the attribute is still Ctx's.
  const Redeclaration& r = *sub->derived[0].redeclares;
  EXPECT_EQ(r.entity, s.findEntity("Mid"));
  EXPECT_EQ(r.declaredIn, s.findEntity("Ctx"));
  EXPECT_EQ(r.attribute, &s.findEntity("Ctx")->attributes[0]);
  EXPECT_FALSE(sub->derived[2].redeclares);

  // Subtypes inherit the flag; supertypes are untouched.
  EXPECT_TRUE(s.findEntity("Leaf")->findAttribute("prec")->isDerived());
  EXPECT_FALSE(s.findEntity("Mid")->findAttribute("prec")->isDerived());
}

TEST(Resolver, ExplicitRedeclarationRefinesTypeWithoutNewSlot) {
  const Schema s = loadBody(R"(
    ENTITY Item; END_ENTITY;
    ENTITY Narrow SUBTYPE OF (Item); END_ENTITY;
    ENTITY Holder; content : Item; n : INTEGER; END_ENTITY;
    ENTITY NarrowHolder SUBTYPE OF (Holder);
      SELF\Holder.content : Narrow;
      extra : INTEGER;
    END_ENTITY;
  )");
  const Entity* sh = s.findEntity("NarrowHolder");
  EXPECT_EQ(attributeNames(*sh), "content,n,extra");
  const AttributeSlot* content = sh->findAttribute("content");
  EXPECT_EQ(content->owner, s.findEntity("Holder"));
  EXPECT_EQ(content->type->target, s.findEntity("Narrow"));
  EXPECT_FALSE(content->isDerived());
  EXPECT_EQ(s.findEntity("Holder")->findAttribute("content")->type->target, s.findEntity("Item"));
}

TEST(Resolver, NameErrorsAreAllReportedWithLines) {
  const std::string source = wrapBody(
      "ENTITY A;\n"
      "  x : Missing;\n"
      "  y : LIST [1:?] OF AlsoMissing;\n"
      "END_ENTITY;\n"
      "TYPE S = SELECT (A, Nope); END_TYPE;\n");
  try {
    loadSchema(source, "n.exp");
    FAIL() << "expected resolution errors";
  } catch (const ExpressError& e) {
    ASSERT_EQ(e.diagnostics().size(), 3u);
    EXPECT_EQ(e.diagnostics()[0].format(), "n.exp:3: error: unknown type 'Missing'");
    EXPECT_EQ(e.diagnostics()[1].format(), "n.exp:4: error: unknown type 'AlsoMissing'");
    EXPECT_EQ(e.diagnostics()[2].format(), "n.exp:6: error: unknown type 'Nope' in select S");
  }
}

struct ResolveCase {
  const char* body;
  const char* message;
};

TEST(Resolver, StructuralErrors) {
  const ResolveCase cases[] = {
      {"ENTITY A SUBTYPE OF (B); END_ENTITY;\nENTITY B SUBTYPE OF (A); END_ENTITY;",
       "is its own supertype"},
      {"TYPE T = INTEGER; END_TYPE;\nENTITY A SUBTYPE OF (T); END_ENTITY;",
       "supertype 'T' of A is not an entity"},
      {"ENTITY A SUBTYPE OF (Z); END_ENTITY;", "unknown supertype 'Z' of A"},
      {"TYPE T = U; END_TYPE;\nTYPE U = T; END_TYPE;", "refers to itself"},
      {"ENTITY A; x : INTEGER; END_ENTITY;\nENTITY B SUBTYPE OF (A);\n"
       " DERIVE SELF\\A.y : INTEGER := 1; END_ENTITY;",
       "A has no attribute 'y' to redeclare"},
      {"ENTITY A; x : INTEGER; END_ENTITY;\nENTITY B;\n"
       " DERIVE SELF\\A.x : INTEGER := 1; END_ENTITY;",
       "does not name a supertype"},
      {"ENTITY A; END_ENTITY;\nENTITY B; INVERSE i : SET OF A FOR owner; END_ENTITY;",
       "A has no attribute 'owner'"},
      {"TYPE T = INTEGER; END_TYPE;\nENTITY B; INVERSE i : T FOR x; END_ENTITY;",
       "inverse target 'T' is not an entity"},
      {"TYPE K = ENUMERATION OF (A, B, a); END_TYPE;", "enumerator 'a' listed twice"},
  };
  for (const ResolveCase& c : cases) {
    const Diagnostic d = firstError(wrapBody(c.body));
    EXPECT_NE(d.message.find(c.message), std::string::npos)
        << "got: " << d.format() << "\nwanted: " << c.message;
    EXPECT_GT(d.line, 1) << d.format();
  }
}

TEST(Resolver, AggregateClassesAreKeyedByKindAndElement) {
  const Schema s = loadBody(R"(
    TYPE Len = REAL; END_TYPE;
    ENTITY Pt; c : LIST [1:3] OF Len; w : LIST [2:3] OF REAL; END_ENTITY;
    ENTITY Loop; pts : LIST [3:?] OF UNIQUE Pt; alt : LIST [1:?] OF Pt;
     DERIVE grid : ARRAY [0:2] OF ARRAY [0:2] OF Pt := ?;
     INVERSE owners : SET [0:?] OF Holder FOR loops;
    END_ENTITY;
    ENTITY Holder; loops : SET [1:?] OF Loop; more : BAG OF Loop; END_ENTITY;
  )");
  std::vector<std::string> classNames;
  for (const AggregateClass& c : aggregateClasses(s)) classNames.push_back(c.name);
  EXPECT_EQ(classNames,
            (std::vector<std::string>{"ArrayOfArrayOfPt", "ArrayOfPt", "BagOfLoop", "ListOfLen",
                                      "ListOfPt", "SetOfHolder", "SetOfLoop"}));
  const auto classes = aggregateClasses(s);
  EXPECT_EQ(classes[0].elementName, "ArrayOfPt");
  EXPECT_EQ(classes[0].element, nullptr);
  EXPECT_EQ(classes[4].element, s.find("Pt"));
  EXPECT_EQ(classes[4].kind, AggregateKind::List);

  // Distinct types keep bounds and flags apart: both LISTs of Pt, and the
  // simple-typed LIST OF REAL, are separate types.
  std::vector<std::string> signatures;
  for (const AggregateType& t : distinctAggregateTypes(s)) signatures.push_back(t.signature);
  EXPECT_NE(std::find(signatures.begin(), signatures.end(), "LIST [3:?] OF UNIQUE Pt"),
            signatures.end());
  EXPECT_NE(std::find(signatures.begin(), signatures.end(), "LIST [1:?] OF Pt"),
            signatures.end());
  EXPECT_NE(std::find(signatures.begin(), signatures.end(), "LIST [2:3] OF REAL"),
            signatures.end());
  EXPECT_EQ(signatures.size(), 9u);
}

}  // namespace
}  // namespace korva::express
