// Deletion through the trash: moving instances, repairing the references
// of surviving designs (lists close up, arrays keep places, selects,
// dictionaries and back-pointers), forwarding chains, schema designs, and
// repeated make/delete cycles.
#include "objdb/trash.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "objdb/interface.h"
#include "objdb/schema_builder.h"
#include "objdb/test_schema.h"
#include "support/referrers.h"
#include "support/store_fixture.h"
#include "support/test_util.h"

namespace korva {
namespace test {
namespace {

Objects Contents(TarnAggregate* list) {
  Objects out;
  if (list != nullptr)
    for (uint32_t i = 0; i < list->count(); ++i) out.push_back(list->getObject(static_cast<int>(i)));
  return out;
}

// Part; ListOfPart, ArrayOfPart; Holder: Items ListOfPart, Slots
// ArrayOfPart, One Part (no compiled classes).
TarnDesign* HolderSchema() {
  if (TarnDesign* d = TARN().designInMemory("korva_trash_schema")) return d;
  SchemaBuilder b("korva_trash_schema");
  TarnDomain* part = b.entity("Part");
  b.attribute(part, "Name", "String");
  b.aggregate("ListOfPart", AggregateKind::kList, "Part");
  b.aggregate("ArrayOfPart", AggregateKind::kArray, "Part");
  TarnDomain* holder = b.entity("Holder");
  b.attribute(holder, "Items", "ListOfPart");
  b.attribute(holder, "Slots", "ArrayOfPart");
  b.attribute(holder, "One", "Part");
  return b.finish();
}

class TrashTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    messages();
  }
  // A holder whose list and array both hold `parts` in order.
  TarnObject* holder(TarnDesign* design, const Objects& parts) {
    TarnObject* h = design->newInstance("Holder");
    TarnAggregate* items = typecast<TarnAggregate>(design->newInstance("ListOfPart"));
    TarnAggregate* slots = typecast<TarnAggregate>(design->newInstance("ArrayOfPart"));
    for (size_t i = 0; i < parts.size(); ++i) {
      items->putObject(parts[i], -1);
      slots->putObject(parts[i], static_cast<int>(i));
    }
    EXPECT_TRUE(h->putObject(items, "Items"));
    EXPECT_TRUE(h->putObject(slots, "Slots"));
    return h;
  }
  static TarnAggregate* items(TarnObject* h) { return typecast<TarnAggregate>(h->getObject("Items")); }
  static TarnAggregate* slots(TarnObject* h) { return typecast<TarnAggregate>(h->getObject("Slots")); }
};

TEST_F(TrashTest, MovingIntoTheTrash) {
  TarnDesign* design = NewTestDesign("trash_move");
  TarnObject* node = design->newInstance("TNode");
  TarnObject* kept = design->newInstance("TNode");
  node->setTraversalMark(7);
  ASSERT_TRUE(MoveToTrash(node));
  TarnDesign* trash = ExistingTrashDesign();
  ASSERT_NE(trash, nullptr);
  EXPECT_EQ(TARN().trash(), trash);
  EXPECT_STREQ(trash->name(), "Trash");
  EXPECT_TRUE(trash->markedForDeletion());
  EXPECT_EQ(TARN().design(), design);  // the current design stays current
  EXPECT_EQ(node->section(), trash->dflt_section());
  EXPECT_EQ(node->domain(), kept->domain());
  EXPECT_EQ(node->traversalMark(), 0u);
  EXPECT_EQ(design->size(), 1u);
  EXPECT_EQ(trash->size(), 1u);

  TPoint loose;
  EXPECT_FALSE(MoveToTrash(&loose));
  messages();
  EXPECT_FALSE(MoveToTrash(design->findDomain("TNode")));
  EXPECT_EQ(messages(), "TARN: warning: Instances of schema designs can not be deleted\n");

  TARN().emptyTrash();
  EXPECT_EQ(ExistingTrashDesign(), nullptr);
  EXPECT_EQ(TARN().designInMemory("Trash"), nullptr);
  EXPECT_EQ(TARN().designInMemory("trash_move"), design);
  EXPECT_EQ(design->size(), 1u);
}

TEST_F(TrashTest, ListsCloseUpArraysKeepPlaces) {
  TarnDesign* design = TARN().newDesign("trash_lists", HolderSchema());
  TarnObject* p1 = design->newInstance("Part");
  TarnObject* p2 = design->newInstance("Part");
  TarnObject* p3 = design->newInstance("Part");
  TarnObject* h = holder(design, {p1, p2, p3, p2});
  h->putObject(p2, "One");
  TarnDesign* other = TARN().newDesign("trash_lists_other", HolderSchema());
  TarnObject* q = other->newInstance("Part");
  TarnObject* g = holder(design, {q, p1});
  g->putObject(q, "One");

  ASSERT_TRUE(MoveToTrash(p2));
  TARN().deleteDesign(other);
  TARN().emptyTrash();

  EXPECT_EQ(Contents(items(h)), (Objects{p1, p3}));
  EXPECT_EQ(Contents(slots(h)), (Objects{p1, nullptr, p3, nullptr}));
  EXPECT_EQ(h->getObject("One"), nullptr);
  EXPECT_EQ(Contents(items(g)), (Objects{p1}));
  EXPECT_EQ(Contents(slots(g)), (Objects{nullptr, p1}));
  EXPECT_EQ(g->getObject("One"), nullptr);
  EXPECT_EQ(TARN().designInMemory("trash_lists_other"), nullptr);
  EXPECT_EQ(design->size(), 8u);  // two parts, two holders with two aggregates each
}

TEST_F(TrashTest, SelectsDictionariesBackPointersAndLooseListsAreRepaired) {
  TarnDesign* design = NewTestDesign("trash_repair");
  TNode* node = typecast<TNode>(design->newInstance("TNode"));
  TarnObject* gone = design->newInstance("TPoint");
  TarnObject* stays = design->newInstance("TPoint");
  TarnUnion* choice = typecast<TarnUnion>(design->newInstance("TChoice"));
  choice->putObject(gone, choice->getAttribute("_TPoint"));
  node->putObject(choice, "Choice");
  design->nameTable()->add("gone", gone);
  design->nameTable()->add("stays", stays);
  // A list that belongs to no design, reached only through the node.
  ListOfTarnObject* loose = new ListOfTarnObject();
  loose->insert(gone);
  loose->insert(stays);
  ASSERT_TRUE(node->putObject(loose, "Links"));
  TNode* referrer = typecast<TNode>(design->newInstance("TNode"));
  referrer->putObject(stays, "Ref");
  TNode* trashedReferrer = typecast<TNode>(design->newInstance("TNode"));
  trashedReferrer->putObject(stays, "Ref");
  computeBackPointers(design);
  ASSERT_EQ(ReferrersOf(stays), (Objects{node, referrer, trashedReferrer}));

  ASSERT_TRUE(MoveToTrash(gone));
  ASSERT_TRUE(MoveToTrash(trashedReferrer));
  TARN().emptyTrash();

  EXPECT_EQ(choice->attribute(), nullptr);  // no value, no choice
  EXPECT_EQ(node->Choice, choice);
  EXPECT_EQ(design->findObject("gone"), nullptr);
  EXPECT_EQ(design->findObject("stays"), stays);
  EXPECT_EQ(design->nameTable()->count(), 1u);
  EXPECT_EQ(Contents(loose), (Objects{stays}));
  EXPECT_EQ(ReferrersOf(stays), (Objects{node, referrer}));
  delete loose;
}

TEST_F(TrashTest, ForwardedReferencesFollowTheChainAndAreCast) {
  TarnDesign* design = NewTestDesign("trash_forward");
  TNode* node = typecast<TNode>(design->newInstance("TNode"));
  TarnObject* old = design->newInstance("TPoint");
  TLeaf* replacement = typecast<TLeaf>(design->newInstance("TLeaf"));
  node->putObject(old, "Ref");
  TarnAggregate* list = typecast<TarnAggregate>(design->newInstance("ListOfTPoint"));
  list->putObject(old, -1);
  node->putObject(list, "Links");
  TarnAggregate* links = typecast<TarnAggregate>(node->getObject("Links"));
  ASSERT_NE(links, nullptr);
  TarnUnion* choice = typecast<TarnUnion>(design->newInstance("TChoice"));
  choice->putObject(old, choice->getAttribute("_TPoint"));
  node->putObject(choice, "Choice");

  ForwardTo(old, replacement);
  EXPECT_EQ(ForwardedTo(old), replacement);
  ASSERT_TRUE(MoveToTrash(old));
  messages();
  TARN().emptyTrash();

  // The field holds the replacement's TPoint part.
  EXPECT_EQ(node->Ref, static_cast<TPoint*>(replacement));
  EXPECT_EQ(Contents(links), (Objects{replacement}));
  EXPECT_EQ(choice->getObject(choice->getAttribute("_TPoint")), replacement);
  EXPECT_EQ(messages(), "");

  // A forwarding that ends in the trash leaves nothing; one removed again
  // is not followed.
  TarnObject* a = design->newInstance("TPoint");
  TarnObject* b = design->newInstance("TPoint");
  TarnObject* c = design->newInstance("TPoint");
  node->putObject(a, "Ref");
  links->putObject(c, 0);
  ForwardTo(a, b);
  ForwardTo(c, b);
  ForwardTo(c, nullptr);
  EXPECT_EQ(ForwardedTo(c), nullptr);
  ASSERT_TRUE(MoveToTrash(b));
  TARN().emptyTrash();
  EXPECT_EQ(node->Ref, nullptr);
  EXPECT_EQ(Contents(links), (Objects{c}));
  EXPECT_EQ(ForwardedTo(a), nullptr);  // it led into the trash
}

TEST_F(TrashTest, ForwardingChainsOfTenStepsAreFollowedLongerOnesNot) {
  TarnDesign* design = NewTestDesign("trash_chain");
  auto chain = [&](int steps) {
    Objects points;
    for (int i = 0; i <= steps; ++i) points.push_back(design->newInstance("TPoint"));
    for (int i = 0; i < steps; ++i) ForwardTo(points[i], points[i + 1]);
    return points;
  };
  Objects ten = chain(10), eleven = chain(11);
  TNode* n10 = typecast<TNode>(design->newInstance("TNode"));
  TNode* n11 = typecast<TNode>(design->newInstance("TNode"));
  n10->putObject(ten.front(), "Ref");
  n11->putObject(eleven.front(), "Ref");
  TNode* cycle = typecast<TNode>(design->newInstance("TNode"));
  TarnObject* self = design->newInstance("TPoint");
  ForwardTo(self, self);
  cycle->putObject(self, "Ref");
  messages();

  TARN().emptyTrash();
  EXPECT_EQ(n10->getObject("Ref"), ten.back());
  EXPECT_EQ(n11->getObject("Ref"), eleven.front());  // left as it was
  EXPECT_EQ(cycle->getObject("Ref"), self);
  // Once for the long chain, once for the cycle.
  EXPECT_EQ(messages(),
            "TARN: warning: Object forwarding too deep\n"
            "TARN: warning: Object forwarding too deep\n");
}

TEST_F(TrashTest, SchemaDesignsSurvive) {
  TarnDesign* schema = TestSchema();
  TarnDesign* design = TARN().newDesign("trash_schema", schema);
  messages();
  TARN().deleteDesign(schema);
  EXPECT_EQ(messages(), "TARN: warning: Schema designs can not be deleted\n");
  TARN().deleteDesign(design);
  TARN().emptyTrash();
  EXPECT_EQ(TARN().designInMemory("korva_test"), schema);
  EXPECT_EQ(TARN().designInMemory("trash_schema"), nullptr);
  // Still usable.
  TarnDesign* next = NewTestDesign("trash_schema_next");
  EXPECT_NE(typecast<TNode>(next->newInstance("TNode")), nullptr);
}

// Schemas are repaired only when one of their own instances is forwarded;
// then their references follow it like any other design's.
TEST_F(TrashTest, ForwardedSchemaInstancesAreFollowedInSchemas) {
  TarnDesign* s = TARN().newDesign("trash_schema_like", HolderSchema());
  TarnObject* p1 = s->newInstance("Part");
  TarnObject* p2 = s->newInstance("Part");
  TarnObject* h = holder(s, {p1});
  ASSERT_TRUE(h->putObject(p1, "One"));
  s->setSchemaDesign(true);
  TarnDesign* data = TARN().newDesign("trash_schema_data", HolderSchema());
  holder(data, {data->newInstance("Part")});
  TARN().deleteDesign(data);
  TARN().emptyTrash();
  EXPECT_EQ(h->getObject("One"), p1);
  ForwardTo(p1, p2);
  TARN().emptyTrash();
  EXPECT_EQ(h->getObject("One"), p2);
  EXPECT_EQ(Contents(items(h)), Objects({p2}));
  EXPECT_EQ(TARN().designInMemory("trash_schema_data"), nullptr);
}

TEST_F(TrashTest, RepeatedCyclesLeaveNothingBehind) {
  HolderSchema();
  const size_t designs = TARN().designs().size();
  TarnDesign* keep = TARN().newDesign("trash_keep", HolderSchema());
  TarnObject* kept = keep->newInstance("Part");
  for (int round = 0; round < 40; ++round) {
    TarnDesign* d = TARN().newDesign(("trash_cycle_" + std::to_string(round)).c_str(), HolderSchema());
    Objects parts;
    for (int i = 0; i < 50; ++i) {
      TarnObject* p = d->newInstance("Part");
      p->putString("a name long enough to need storage of its own", "Name");
      parts.push_back(p);
    }
    TarnObject* h = holder(d, parts);
    for (int i = 0; i < 50; i += 2) ASSERT_TRUE(MoveToTrash(parts[static_cast<size_t>(i)]));
    // The kept design refers into the doomed one.
    TarnObject* k = holder(keep, {kept, parts[1]});
    TARN().emptyTrash();
    ASSERT_EQ(items(h)->count(), 25u) << round;
    TARN().deleteDesign(d);
    TARN().emptyTrash();
    ASSERT_EQ(Contents(items(k)), (Objects{kept})) << round;
    ASSERT_EQ(TARN().designs().size(), designs + 1) << round;
  }
  EXPECT_EQ(ExistingTrashDesign(), nullptr);
}

TEST_F(TrashTest, ShutdownWithAFullTrash) {
  TarnDesign* first = NewTestDesign("trash_first");
  ASSERT_TRUE(MoveToTrash(first->newInstance("TNode")));
  // Made after the trash: destroyed before it at shutdown, so the trashed
  // instances must go first.
  TarnDesign* later = NewTestDesign("trash_later");
  ASSERT_TRUE(MoveToTrash(later->newInstance("TLeaf")));
  ForwardTo(first->newInstance("TPoint"), later->newInstance("TPoint"));
  TARN().shutdown();
  EXPECT_EQ(ExistingTrashDesign(), nullptr);
  TARN().reporter()->setStreams(out_.get(), err_.get());  // a new reporter
  // A new session makes a new trash.
  TarnDesign* again = NewTestDesign("trash_again");
  ASSERT_TRUE(MoveToTrash(again->newInstance("TNode")));
  ASSERT_NE(ExistingTrashDesign(), nullptr);
  EXPECT_EQ(ExistingTrashDesign()->size(), 1u);
}

}  // namespace
}  // namespace test
}  // namespace korva
