// External references: slots of one design that name objects of another,
// resolved on first read through the design's name table or identifiers.
#include <gtest/gtest.h>

#include <string>

#include "objdb/external.h"
#include "objdb/interface.h"
#include "objdb/oid.h"
#include "objdb/test_schema.h"
#include "support/store_fixture.h"
#include "support/test_util.h"

namespace korva {
namespace test {
namespace {

class ExternalTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    target_ = NewTestDesign("ext_target");
    point_ = typecast<TPoint>(target_->newInstance("TPoint"));
    ASSERT_NE(point_, nullptr);
    target_->nameTable()->add("P1", point_);
    source_ = NewTestDesign("ext_source");
    node_ = typecast<TNode>(source_->newInstance("TNode"));
    ASSERT_NE(node_, nullptr);
    ref_ = node_->getAttribute("Ref");
    messages();
  }

  TarnDesign* target_ = nullptr;
  TarnDesign* source_ = nullptr;
  TPoint* point_ = nullptr;
  TNode* node_ = nullptr;
  TarnAttribute* ref_ = nullptr;
};

TEST_F(ExternalTest, ReferenceByNameResolvesOnceOnFirstRead) {
  ASSERT_TRUE(AddExternalReference(node_, ref_, 0, "ext_target", "P1"));
  EXPECT_TRUE(IsUnresolved(node_->Ref));
  TarnExternal* record = ExternalReferences(node_);
  ASSERT_NE(record, nullptr);
  ASSERT_EQ(record->entries().size(), 1u);
  EXPECT_FALSE(record->entries()[0].resolved);

  TarnObject* read = node_->getObject("Ref");
  EXPECT_EQ(read, static_cast<TarnObject*>(point_));
  // The slot holds the object as the slot's class, in place of the marker.
  EXPECT_EQ(node_->Ref, point_);
  EXPECT_TRUE(record->entries()[0].resolved);

  // A second read takes the slot as it is: no lookup that could now fail.
  TarnDictionary* names = target_->nameTable();
  ASSERT_TRUE(names->removeAt(static_cast<uint32_t>(names->find("P1"))));
  EXPECT_EQ(node_->getObject("Ref"), static_cast<TarnObject*>(point_));

  // Recorded with the supertype's attribute, read through the subtype's.
  TLeaf* leaf = typecast<TLeaf>(source_->newInstance("TLeaf"));
  TarnAttribute* inherited = source_->findDomain("TNode")->findAttribute("Ref");
  ASSERT_NE(inherited, leaf->getAttribute("Ref"));
  ASSERT_TRUE(AddExternalReference(leaf, inherited, 0, "ext_target", "P9"));
  ASSERT_TRUE(AddExternalReference(leaf, inherited, 0, "ext_target", "P2"));
  target_->nameTable()->add("P2", point_);
  EXPECT_EQ(ExternalReferences(leaf)->entries().size(), 1u);  // the slot's entry was replaced
  EXPECT_EQ(leaf->getObject("Ref"), static_cast<TarnObject*>(point_));
  EXPECT_EQ(leaf->Ref, point_);
  EXPECT_EQ(messages(), "");
}

TEST_F(ExternalTest, MissingDesignIsReportedAndReadsAsNull) {
  ASSERT_TRUE(AddExternalReference(node_, ref_, 0, "ext_nowhere", "P1"));
  EXPECT_EQ(node_->getObject("Ref"), nullptr);
  EXPECT_NE(messages().find("TARN: warning: Problems reading design 'ext_nowhere'"), std::string::npos);
  EXPECT_TRUE(IsUnresolved(node_->Ref));
  EXPECT_FALSE(ExternalReferences(node_)->entries()[0].resolved);
  // Each read tries again.
  EXPECT_EQ(node_->getObject("Ref"), nullptr);
  EXPECT_NE(messages().find("Problems reading design 'ext_nowhere'"), std::string::npos);

  // A design that is there but lacks the object.
  ASSERT_TRUE(AddExternalReference(node_, ref_, 0, "ext_target", "P9"));
  EXPECT_EQ(node_->getObject("Ref"), nullptr);
  EXPECT_NE(messages().find("Object 'P9' not found in design 'ext_target'."), std::string::npos);
  EXPECT_TRUE(IsUnresolved(node_->Ref));
}

TEST_F(ExternalTest, ReferenceByIdentifierAndToTheDesignItself) {
  TPoint* second = typecast<TPoint>(target_->newInstance("TPoint"));
  TarnOID id = target_->newOid(0);
  second->setOid(id);
  ASSERT_TRUE(AddExternalReference(node_, ref_, 0, "ext_target", oidText(id).c_str()));
  EXPECT_EQ(node_->getObject("Ref"), static_cast<TarnObject*>(second));
  EXPECT_EQ(node_->Ref, second);

  // An aggregate element; the list grows to hold it.  No object name: the
  // design itself.
  TarnAggregate* links = typecast<TarnAggregate>(source_->newInstance("ListOfTPoint"));
  ASSERT_NE(links, nullptr);
  ASSERT_TRUE(AddExternalReference(links, nullptr, 2, "ext_target", "P1"));
  ASSERT_TRUE(AddExternalReference(links, nullptr, 0, "ext_target", nullptr));
  EXPECT_EQ(links->count(), 3u);
  EXPECT_EQ(links->getObject(1), nullptr);
  EXPECT_EQ(links->getObject(2), static_cast<TarnObject*>(point_));
  EXPECT_EQ(links->getObject(0), static_cast<TarnObject*>(target_));
  EXPECT_EQ(messages(), "");
}

TEST_F(ExternalTest, RefusedWhereNoReferenceCanBeKept) {
  TNode loose;
  EXPECT_FALSE(AddExternalReference(&loose, ref_, 0, "ext_target", "P1"));
  EXPECT_NE(messages().find("External reference in a non-persistent object, ignored."), std::string::npos);
  EXPECT_EQ(loose.Ref, nullptr);
  EXPECT_EQ(ExternalReferences(&loose), nullptr);

  // A slot that holds no object reference keeps its value.
  node_->Id = 5;
  EXPECT_FALSE(AddExternalReference(node_, node_->getAttribute("Id"), 0, "ext_target", "P1"));
  EXPECT_EQ(node_->Id, 5);
  EXPECT_EQ(ExternalReferences(node_), nullptr);
}

}  // namespace
}  // namespace test
}  // namespace korva
