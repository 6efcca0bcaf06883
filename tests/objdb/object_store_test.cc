// Instances, late-bound access, conversions, typecast, selects, creation by
// name, best-fit classes and usedin, on the schema of test_schema.h.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "objdb/class_support.h"
#include "objdb/interface.h"
#include "objdb/test_schema.h"
#include "objdb/traversal.h"
#include "support/store_fixture.h"
#include "support/test_util.h"

namespace korva {
namespace test {
namespace {

class ObjectStoreTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    design_ = NewTestDesign("store_test");
    setup_ = messages();
  }
  TNode* newNode() { return typecast<TNode>(design_->newInstance("TNode")); }

  std::string setup_;  // what initialisation and the schema reported
  TarnDesign* design_ = nullptr;
};

TEST_F(ObjectStoreTest, AttributeListsAreCompleteAndLookupIgnoresCase) {
  TNode* node = newNode();
  ASSERT_NE(node, nullptr);
  std::vector<std::string> names;
  for (TarnAttribute* a : node->domain()->allAttributes()) names.emplace_back(a->name());
  EXPECT_EQ(names, (std::vector<std::string>{"X", "Y", "Label", "Kind", "Id", "Ref", "Links", "Choice"}));
  TarnAttribute* label = node->getAttribute("lAbEl");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->owner(), node->domain());  // this domain's own entry for the inherited attribute
  EXPECT_EQ(node->getAttribute(static_cast<const char*>(nullptr)), node->getAttribute("X"));
  EXPECT_EQ(node->getAttribute(""), node->getAttribute("X"));
  EXPECT_EQ(node->getAttribute("missing"), nullptr);
  // An attribute of the supertype maps onto this domain's entry.
  TarnDomain* point = design_->findDomain("TPOINT");
  ASSERT_NE(point, nullptr);
  EXPECT_EQ(node->domain()->typeAttribute(point->findAttribute("Label")), label);
  EXPECT_EQ(node->attributes()->count(), 8u);
}

TEST_F(ObjectStoreTest, TypedFieldsAndLateBoundAccessMeet) {
  TNode* node = newNode();
  node->X = 1.5;
  EXPECT_EQ(node->getDouble("x"), 1.5);
  EXPECT_TRUE(node->putDouble(2.25, "Y"));
  EXPECT_EQ(node->Y, 2.25);
  EXPECT_TRUE(node->putInteger(7, "Id"));
  EXPECT_EQ(node->Id, 7);
  EXPECT_TRUE(node->putString("first", "Label"));
  char* stored = node->Label;
  EXPECT_STREQ(stored, "first");
  EXPECT_TRUE(node->putString("second", "Label"));
  EXPECT_STREQ(node->Label, "second");
  EXPECT_STREQ(stored, "first");  // assignment copied, the old text stays intact
  // A reference written late-bound lands in the typed field, and back.
  TNode* other = newNode();
  EXPECT_TRUE(node->putObject(other, "Ref"));
  EXPECT_EQ(node->Ref, static_cast<TPoint*>(other));
  EXPECT_EQ(node->getObject("Ref"), static_cast<TarnObject*>(other));
  EXPECT_EQ(node->getObject("Ref")->domain(), other->domain());
  EXPECT_TRUE(design_->isModified());
}

TEST_F(ObjectStoreTest, ConversionsBetweenPrimitiveKinds) {
  TNode* node = newNode();
  node->X = 0.1;
  EXPECT_STREQ(node->getString("X"), "0.1");
  node->X = 2.9;
  EXPECT_EQ(node->getInteger("X"), 2);  // truncated
  node->Id = 3;
  EXPECT_EQ(node->getDouble("Id"), 3.0);
  EXPECT_TRUE(node->putInteger(4, "X"));
  EXPECT_EQ(node->X, 4.0);
  // Enumerations: names, unset, out of range, negative numbers.
  node->Kind = 1;
  EXPECT_STREQ(node->getString("Kind"), "BETA");
  node->Kind = -1;
  EXPECT_STREQ(node->getString("Kind"), "");
  node->Kind = 9;
  EXPECT_EQ(node->getString("Kind"), nullptr);
  EXPECT_TRUE(node->putInteger(2, "Kind"));
  EXPECT_EQ(node->Kind, 2);
  messages();
  EXPECT_FALSE(node->putInteger(-5, "Kind"));
  EXPECT_EQ(node->Kind, 2);
  EXPECT_NE(messages().find("Cannot typecast negative primitive 'int' to an enumeration of type 'TKind'."),
            std::string::npos);
  // Integers do not become text; text does not become a number.
  EXPECT_EQ(node->getString("Id"), nullptr);
  EXPECT_NE(messages().find("Cannot typecast primitive type: 'int' to 'STR'"), std::string::npos);
  EXPECT_FALSE(node->putString("12", "Id"));
  EXPECT_EQ(node->Id, 3);
}

TEST_F(ObjectStoreTest, UnsetMarkersPerKind) {
  TNode* node = newNode();
  // Defaults of a new instance are values, not unset markers.
  EXPECT_FALSE(node->isUnset("X"));
  EXPECT_FALSE(node->isUnset("Id"));
  EXPECT_TRUE(node->isUnset("Kind"));
  EXPECT_TRUE(node->isUnset("Label"));
  EXPECT_TRUE(node->isUnset("Ref"));
  for (const char* name : {"X", "Id", "Label", "Kind", "Ref", "Links"}) {
    node->unset(name);
    EXPECT_TRUE(node->isUnset(name)) << name;
  }
  EXPECT_EQ(node->X, kUnsetReal);
  EXPECT_EQ(node->Id, INT_MIN);
  EXPECT_EQ(node->Kind, -1);
  messages();
  EXPECT_FALSE(node->isUnset("Nothing"));
  EXPECT_EQ(messages(), "TARN: warning: Attribute TNode.Nothing not found.\n");
}

TEST_F(ObjectStoreTest, ReferencesOfAnUnrelatedTypeAreRefused) {
  TNode* node = newNode();
  TNode* first = newNode();
  node->putObject(first, "Ref");
  TarnObject* unrelated = design_->newInstance("TExtra");
  TarnObject* point = design_->newInstance("TPoint");
  messages();
  EXPECT_TRUE(node->putObject(point, "Ref"));  // a TPoint is fine
  EXPECT_FALSE(node->putObject(design_, "Ref"));
  EXPECT_NE(messages().find("Cannot typecast TarnDesign object to TPoint"), std::string::npos);
  EXPECT_EQ(node->getObject("Ref"), point);
  (void)unrelated;
}

TEST_F(ObjectStoreTest, TypecastFollowsThePartsOfAVirtualHierarchy) {
  TLeaf* leaf = typecast<TLeaf>(design_->newInstance("TLeaf"));
  ASSERT_NE(leaf, nullptr);
  TarnObject* object = leaf;
  EXPECT_EQ(typecast<TNode>(object), static_cast<TNode*>(leaf));
  EXPECT_EQ(typecast<TPoint>(object), static_cast<TPoint*>(leaf));
  EXPECT_EQ(typecast<TarnStructure>(object), static_cast<TarnStructure*>(leaf));
  EXPECT_EQ(typecast<TLeaf>(object), leaf);
  // Fields written through one part are seen through another.
  typecast<TPoint>(object)->X = 8.0;
  EXPECT_EQ(leaf->getDouble("X"), 8.0);
  leaf->W = 1.0;
  EXPECT_EQ(leaf->getDouble("W"), 1.0);
  messages();
  EXPECT_EQ(typecast<TNode>(static_cast<TarnObject*>(nullptr)), nullptr);
  EXPECT_EQ(messages(), "");
  TarnObject* point = design_->newInstance("TPoint");
  EXPECT_EQ(typecast<TLeaf>(point), nullptr);
  EXPECT_EQ(messages(), "TARN: warning: Cannot typecast object of type: 'TPoint' to 'TLeaf'\n");
}

TEST_F(ObjectStoreTest, SelectsHoldOneMemberAtATime) {
  TNode* node = newNode();
  TarnObject* choice = design_->newInstance("TChoice");
  ASSERT_NE(choice, nullptr);
  TarnUnion* u = typecast<TarnUnion>(choice);
  ASSERT_TRUE(u->putAttribute("_TLength"));
  EXPECT_TRUE(u->isMember("_TLength"));
  EXPECT_FALSE(u->isMember("_TPoint"));
  ASSERT_TRUE(u->putDouble(3.5, u->getAttribute("_TLength")));
  EXPECT_EQ(u->getDouble(u->getAttribute("_TLength")), 3.5);
  messages();
  EXPECT_EQ(u->getObject(u->getAttribute("_TPoint")), nullptr);
  EXPECT_EQ(messages(), "TARN: warning: TarnUnion attribute is _TLength (requested _TPoint)\n");
  // Choosing another member clears the value; "$" clears the choice.
  ASSERT_TRUE(u->putObject(node, u->getAttribute("_TPoint")));
  EXPECT_TRUE(u->isMember("_TPoint"));
  EXPECT_EQ(u->getObject(u->getAttribute("_TPoint")), node);
  EXPECT_TRUE(u->putAttribute("$"));
  EXPECT_EQ(u->attribute(), nullptr);
  EXPECT_FALSE(u->putAttribute("_Nope"));
  EXPECT_EQ(messages(), "TARN: warning: Attribute TChoice._Nope not found.\n");
  node->putObject(choice, "Choice");
  EXPECT_EQ(node->Choice, u);
}

TEST_F(ObjectStoreTest, CreationByNameFindsDomainsWithoutRegardToCase) {
  TarnObject* a = design_->newInstance("tnode");
  ASSERT_NE(a, nullptr);
  EXPECT_STREQ(a->domainName(), "TNode");
  EXPECT_EQ(a->design(), design_);
  EXPECT_EQ(design_->size(), 1u);
  messages();
  EXPECT_EQ(design_->newInstance("TMissing"), nullptr);
  EXPECT_EQ(messages(), "TARN: warning: Domain TMissing not found.\n");
  EXPECT_EQ(design_->newInstance(""), nullptr);
  EXPECT_EQ(messages(), "");
}

TEST_F(ObjectStoreTest, BestFitClassesKeepExtraAttributesInOverflow) {
  TarnObject* extra = design_->newInstance("TExtra");
  ASSERT_NE(extra, nullptr);
  // The class is chosen when the schema is activated.
  EXPECT_NE(setup_.find("TARN: \"TExtra\": Best-fit class is \"TNode\".\n"), std::string::npos);
  EXPECT_EQ(extra->typePtr(), &TNode::classType);
  EXPECT_STREQ(extra->domainName(), "TExtra");
  ASSERT_NE(extra->overflow(), nullptr);
  EXPECT_TRUE(extra->putDouble(6.5, "Extra"));
  EXPECT_TRUE(extra->putString("noted", "Note"));
  EXPECT_TRUE(extra->putDouble(1.0, "X"));
  EXPECT_EQ(extra->getDouble("Extra"), 6.5);
  EXPECT_STREQ(extra->getString("Note"), "noted");
  EXPECT_EQ(typecast<TNode>(extra)->X, 1.0);
  // Y is redeclared DERIVE in TExtra.
  EXPECT_TRUE(extra->getAttribute("Y")->isDerived());
  EXPECT_FALSE(newNode()->getAttribute("Y")->isDerived());

  TarnDomain* loose = design_->findDomain("TLoose");
  ASSERT_NE(loose, nullptr);
  EXPECT_EQ(loose->typeRecord(), &TarnObject::classType);
  EXPECT_NE(messages().find("\"TLoose\": No best-fit class available."), std::string::npos);
}

TEST_F(ObjectStoreTest, UsedinFindsReferrersThroughListsAndSelects) {
  TNode* target = newNode();
  TNode* byRef = newNode();
  TNode* byList = newNode();
  TNode* bySelect = newNode();
  TNode* unrelated = newNode();
  byRef->putObject(target, "Ref");
  TarnAggregate* links = typecast<TarnAggregate>(design_->newInstance("ListOfTPoint"));
  ASSERT_NE(links, nullptr);
  links->putObject(unrelated, -1);
  links->putObject(target, -1);
  links->putObject(target, -1);
  byList->putObject(links, "Links");
  TarnUnion* choice = typecast<TarnUnion>(design_->newInstance("TChoice"));
  choice->putObject(target, choice->getAttribute("_TPoint"));
  bySelect->putObject(choice, "Choice");

  ListOfTarnObject* all = target->usedin(nullptr, nullptr, nullptr);
  ASSERT_NE(all, nullptr);
  ASSERT_EQ(all->count(), 3u);
  EXPECT_EQ(all->get(0), byRef);
  EXPECT_EQ(all->get(1), byList);
  EXPECT_EQ(all->get(2), bySelect);
  ListOfTarnObject* viaLinks = target->usedin(nullptr, byList->getAttribute("Links"), nullptr);
  ASSERT_EQ(viaLinks->count(), 1u);  // once, although listed twice
  ListOfTarnObject* none = unrelated->usedin(nullptr, byRef->getAttribute("Ref"), nullptr);
  ASSERT_NE(none, nullptr);
  EXPECT_EQ(none->count(), 0u);
  delete all;
  delete viaLinks;
  delete none;
}

TEST_F(ObjectStoreTest, NestedTraversalEndsTheProcess) {
  TNode* target = newNode();
  EXPECT_EXIT(
      {
        TARN().reporter()->setStreams(stderr, stderr);
        TarnTraversal outer;
        target->usedin(nullptr, nullptr, nullptr);
        std::exit(0);
      },
      ::testing::ExitedWithCode(1), "usedin\\(\\) not allowed within a traversal block.");
  TARN().reporter()->setExitLevel(4);
  {
    TarnTraversal outer;
    EXPECT_EQ(target->usedin(nullptr, nullptr, nullptr), nullptr);
    TarnTraversal inner;
    EXPECT_FALSE(inner.started());
  }
  EXPECT_NE(messages().find("Traversal in progress, nested traversals not allowed."), std::string::npos);
  TARN().reporter()->setExitLevel(3);
}

// A class whose constructor takes an instance: the arguments of a
// placement new are evaluated after the allocation, so constructions nest.
class TNest : public virtual TarnStructure {
  TARN_CLASS(TNest)
 public:
  explicit TNest(TarnObject* inner = nullptr) : inner_(inner) {}
  TarnObject* inner_;
};
TARN_DEFINE_CLASS(TNest, "TNest", 0, kNodeStructure, "korva_test", nullptr)

TarnObject* Nest(TarnSection* section, TarnDomain* domain, int depth) {
  return new (section, domain, &TNest::classType) TNest(depth > 1 ? Nest(section, domain, depth - 1) : nullptr);
}

TEST_F(ObjectStoreTest, DeepNestingOfConstructionsIsReported) {
  TarnSection* section = design_->dflt_section();
  TarnDomain* domain = design_->findDomain("TPoint");
  TarnObject* outer = Nest(section, domain, 256);  // the most that may be pending
  EXPECT_TRUE(outer->isPersistent());
  EXPECT_EQ(messages(), "");
  EXPECT_EXIT(
      {
        TARN().reporter()->setStreams(stderr, stderr);
        Nest(section, domain, 257);
        std::exit(0);
      },
      ::testing::ExitedWithCode(1), "New operator nesting too deep \\(257 levels\\)");
}

}  // namespace
}  // namespace test
}  // namespace korva
