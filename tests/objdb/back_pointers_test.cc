// Back-pointers: referrers found through plain references, lists, sets and
// (nested) selects, in discovery order, once each; instances without a slot
// in the index; recomputing starts afresh in the same space.
#include "objdb/back_pointers.h"

#include <gtest/gtest.h>

#include <vector>

#include "objdb/interface.h"
#include "objdb/schema_builder.h"
#include "objdb/test_schema.h"
#include "objdb/trash.h"
#include "support/referrers.h"
#include "support/test_util.h"

namespace korva {
namespace test {
namespace {

class BackPointersTest : public ::testing::Test {
 protected:
  void SetUp() override { TARN().reporter()->setStreams(out_.get(), err_.get()); }
  void TearDown() override {
    TARN().shutdown();
    TARN().reporter()->setStreams(stdout, stderr);
  }
  CapturedStream out_, err_;
};

TEST_F(BackPointersTest, ReferencesListsAndSelectsOfTheTestSchema) {
  TarnDesign* design = NewTestDesign("bp_test");
  TarnObject* target = design->newInstance("TPoint");
  TarnObject* other = design->newInstance("TPoint");
  TNode* byRef = typecast<TNode>(design->newInstance("TNode"));
  TNode* byList = typecast<TNode>(design->newInstance("TNode"));
  TNode* bySelect = typecast<TNode>(design->newInstance("TNode"));
  TNode* byBoth = typecast<TNode>(design->newInstance("TNode"));
  TLeaf* leaf = typecast<TLeaf>(design->newInstance("TLeaf"));
  ASSERT_NE(leaf, nullptr);

  byRef->putObject(target, "Ref");
  TarnAggregate* links = typecast<TarnAggregate>(design->newInstance("ListOfTPoint"));
  links->putObject(other, -1);
  links->putObject(target, -1);
  links->putObject(target, -1);
  // The field's class differs from the list's: each node holds a copy.
  byList->putObject(links, "Links");
  byBoth->putObject(links, "Links");
  TarnAggregate* listOfByList = typecast<TarnAggregate>(byList->getObject("Links"));
  TarnAggregate* listOfByBoth = typecast<TarnAggregate>(byBoth->getObject("Links"));
  ASSERT_NE(listOfByList, nullptr);
  ASSERT_NE(listOfByBoth, nullptr);
  TarnUnion* choice = typecast<TarnUnion>(design->newInstance("TChoice"));
  choice->putObject(target, choice->getAttribute("_TPoint"));
  bySelect->putObject(choice, "Choice");
  byBoth->putObject(target, "Ref");
  leaf->putObject(byRef, "Ref");  // a structure that is itself a referrer
  TarnObject* foreign = NewTestDesign("bp_other")->newInstance("TNode");
  foreign->putObject(target, "Ref");  // from another design: not recorded

  computeBackPointers(design);
  EXPECT_TRUE(design->hasBackPointers());
  EXPECT_EQ(ReferrersOf(target), (Objects{byRef, byList, bySelect, byBoth}));
  EXPECT_EQ(ReferrersOf(other), (Objects{byList, byBoth}));
  EXPECT_EQ(ReferrersOf(byRef), (Objects{leaf}));
  // Aggregates and selects are walked through, not recorded on.
  EXPECT_TRUE(backPointers(listOfByList).empty());
  EXPECT_TRUE(backPointers(choice).empty());
  // An instance nothing refers to, one made after the computation (even
  // when it is referred to) and null have none.
  EXPECT_TRUE(backPointers(leaf).empty());
  TNode* late = typecast<TNode>(design->newInstance("TNode"));
  leaf->putObject(late, "Ref");
  EXPECT_TRUE(backPointers(late).empty());
  EXPECT_TRUE(backPointers(nullptr).empty());
  EXPECT_EQ(backPointers(target).get(4), nullptr);
  // Moving to another section of the design keeps an instance's referrers.
  ASSERT_TRUE(target->moveTo(design->newDataSection()));
  EXPECT_EQ(ReferrersOf(target), (Objects{byRef, byList, bySelect, byBoth}));

  // Computing again starts from scratch.
  byRef->putObject(nullptr, "Ref");
  listOfByList->removeAt(0);
  listOfByBoth->removeAt(0);
  computeBackPointers(design);
  EXPECT_EQ(ReferrersOf(target), (Objects{byList, bySelect, byBoth}));
  EXPECT_TRUE(backPointers(other).empty());
  EXPECT_TRUE(backPointers(byRef).empty());
  EXPECT_EQ(ReferrersOf(late), (Objects{leaf}));
  // Once more on the unchanged design: the same space.
  const size_t space = design->backPointerIndex(false)->memoryUsage();
  EXPECT_GT(space, 0u);
  computeBackPointers(design);
  EXPECT_EQ(ReferrersOf(target), (Objects{byList, bySelect, byBoth}));
  EXPECT_EQ(design->backPointerIndex(false)->memoryUsage(), space);

  // A referrer forwarded to another referrer of the same instance leaves
  // that one listed once, where it stood.
  ForwardTo(byList, byBoth);
  ASSERT_TRUE(MoveToTrash(byList));
  TARN().emptyTrash();
  EXPECT_EQ(ReferrersOf(target), (Objects{byBoth, bySelect}));

  discardBackPointers(design);
  EXPECT_FALSE(design->hasBackPointers());
  EXPECT_TRUE(backPointers(target).empty());
  EXPECT_EQ(design->backPointerIndex(false)->memoryUsage(), 0u);
}

// Part; SetOfPart; Inner = SELECT (Part); ListOfInner = LIST OF Inner;
// Outer = SELECT (Inner, ListOfInner); Rel: Relating Part, Related
// SetOfPart, Pick Outer.  No compiled classes: the attributes of Rel live in
// overflow storage.
TarnDesign* RelationSchema() {
  SchemaBuilder b("korva_bp_schema");
  TarnDomain* part = b.entity("Part");
  b.attribute(part, "Name", "String");
  b.aggregate("SetOfPart", AggregateKind::kSet, "Part");
  b.select("Inner", {"Part"});
  b.aggregate("ListOfInner", AggregateKind::kList, "Inner");
  b.select("Outer", {"Inner", "ListOfInner"});
  TarnDomain* rel = b.entity("Rel");
  b.attribute(rel, "Relating", "Part");
  b.attribute(rel, "Related", "SetOfPart");
  b.attribute(rel, "Pick", "Outer");
  return b.finish();
}

TEST_F(BackPointersTest, SetsAndNestedSelects) {
  TarnDesign* design = TARN().newDesign("bp_rel", RelationSchema());
  auto part = [&] { return design->newInstance("Part"); };
  auto select = [&](const char* type, const char* member, TarnObject* value) {
    TarnUnion* u = typecast<TarnUnion>(design->newInstance(type));
    EXPECT_TRUE(u->putObject(value, u->getAttribute(member))) << type << "." << member;
    return u;
  };
  TarnObject *a = part(), *b = part(), *c = part(), *d = part();

  TarnObject* rel1 = design->newInstance("Rel");
  TarnAggregate* related = typecast<TarnAggregate>(design->newInstance("SetOfPart"));
  related->putObject(a, -1);
  related->putObject(b, -1);
  ASSERT_TRUE(rel1->putObject(related, "Related"));

  TarnObject* rel2 = design->newInstance("Rel");
  ASSERT_TRUE(rel2->putObject(select("Outer", "_Inner", select("Inner", "_Part", c)), "Pick"));

  TarnObject* rel3 = design->newInstance("Rel");
  TarnAggregate* inners = typecast<TarnAggregate>(design->newInstance("ListOfInner"));
  inners->putObject(select("Inner", "_Part", a), -1);
  inners->putObject(select("Inner", "_Part", d), -1);
  TarnUnion* outer = select("Outer", "_ListOfInner", inners);
  ASSERT_TRUE(rel3->putObject(outer, "Pick"));
  inners->putObject(outer, -1);  // a list that leads back to itself

  TarnObject* rel4 = design->newInstance("Rel");
  rel4->putObject(b, "Relating");

  computeBackPointers(design);
  EXPECT_EQ(ReferrersOf(a), (Objects{rel1, rel3}));
  EXPECT_EQ(ReferrersOf(b), (Objects{rel1, rel4}));
  EXPECT_EQ(ReferrersOf(c), (Objects{rel2}));
  EXPECT_EQ(ReferrersOf(d), (Objects{rel3}));
}

}  // namespace
}  // namespace test
}  // namespace korva
