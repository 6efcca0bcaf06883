#include "objdb/aggregate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "objdb/dictionary_binding.h"
#include "objdb/domain.h"
#include "objdb/interface.h"
#include "objdb/union.h"
#include "objdb/test_schema.h"
#include "support/test_util.h"

namespace korva {
namespace {

class AggregateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TARN().reporter()->setStreams(out_.get(), err_.get());
    TARN().initialize();
    out_.text();
    seen_ = out_.text().size();
  }
  // What was reported since initialisation.
  std::string reported() { return out_.text().substr(seen_); }
  size_t seen_ = 0;
  void TearDown() override {
    TARN().shutdown();
    TARN().reporter()->setStreams(stdout, stderr);
  }
  test::CapturedStream out_, err_;
};

TEST_F(AggregateTest, CapacityGrowsByTheRule) {
  ListOfint list;
  std::vector<uint32_t> capacities;
  for (int i = 0; i < 30; ++i) {
    list.add(i);
    if (capacities.empty() || capacities.back() != list.capacity()) capacities.push_back(list.capacity());
  }
  EXPECT_EQ(capacities, (std::vector<uint32_t>{2, 6, 14, 30}));
  EXPECT_EQ(list.count(), 30u);
  EXPECT_EQ(list.get(29), 29);
  EXPECT_EQ(list.get(30), 0);  // at the size: neutral value, no message
  EXPECT_EQ(reported(), "");
}

TEST_F(AggregateTest, PutBeyondTheEndFillsWithZeros) {
  ListOfdouble list;
  ASSERT_TRUE(list.put(7.5, 5));
  ASSERT_EQ(list.count(), 6u);
  for (uint32_t i = 0; i < 5; ++i) EXPECT_EQ(list.get(i), 0.0);
  EXPECT_EQ(list.get(5), 7.5);
  EXPECT_GE(list.capacity(), 6u);
  ASSERT_TRUE(list.put(1.0, -1));
  EXPECT_EQ(list.last(), 1.0);
  EXPECT_EQ(list.first(), 0.0);
}

TEST_F(AggregateTest, SetsKeepOneOfEachValueBagsDoNot) {
  SetOfint set;
  BagOfint bag;
  for (int v : {3, 4, 3}) {
    set.add(v);
    bag.add(v);
  }
  EXPECT_EQ(set.count(), 2u);
  EXPECT_EQ(bag.count(), 3u);
  SetOfSTR names;
  names.add(const_cast<char*>("a"));
  std::string copy = "a";
  names.add(&copy[0]);  // equal text counts as present
  EXPECT_EQ(names.count(), 1u);
  EXPECT_FALSE(names.add(static_cast<STR>(nullptr)));
  EXPECT_EQ(names.count(), 1u);
}

// Large sets answer membership from an index; every way of changing the
// elements must leave the answers right.
TEST_F(AggregateTest, LargeSetsStayUniqueThroughEveryChange) {
  SetOfint set;
  for (int v = 0; v < 1000; ++v) ASSERT_TRUE(set.add(v * 7));
  for (int v = 0; v < 1000; ++v) EXPECT_FALSE(set.add(v * 7)) << v;
  EXPECT_EQ(set.count(), 1000u);
  const int seventyTimesTen = 700;
  EXPECT_EQ(set.findValue(&seventyTimesTen), 100);

  // Removing a value makes room for it again; positions after it move.
  ASSERT_TRUE(set.removeAt(100));
  const int seven = 707;
  EXPECT_EQ(set.findValue(&seven), 100);
  EXPECT_TRUE(set.add(700));
  EXPECT_EQ(set.count(), 1000u);
  // Overwriting an element in place (put at an index) replaces its value.
  ASSERT_TRUE(set.put(1, 0));  // 0 -> 1
  EXPECT_FALSE(set.add(1));
  EXPECT_TRUE(set.add(0));
  // Written through the generic path (as readers do).
  ASSERT_TRUE(set.putInteger(-5, 2));  // 14 -> -5
  EXPECT_FALSE(set.add(-5));
  EXPECT_TRUE(set.add(14));
  // Inserted in the middle, and after emptying.
  const int large = 99999;
  ASSERT_TRUE(set.insertValue(&large, 3));
  EXPECT_FALSE(set.add(99999));
  set.emptyYourself();
  EXPECT_TRUE(set.add(7));
  EXPECT_EQ(set.count(), 1u);

  SetOfSTR names;
  for (int i = 0; i < 200; ++i) ASSERT_TRUE(names.add(&std::to_string(i)[0]));
  std::string again = "150";
  EXPECT_FALSE(names.add(&again[0]));
  EXPECT_EQ(names.count(), 200u);

  // Object sets: identity, after a list of 50,000 insertions.
  SetOfTarnObject objects;
  std::vector<SetOfint> holders(50000);
  for (SetOfint& h : holders) ASSERT_TRUE(objects.add(&h));
  EXPECT_FALSE(objects.add(&holders[12345]));
  EXPECT_EQ(objects.count(), 50000u);
  EXPECT_EQ(objects.find(&holders[49999]), 49999);
}

TEST_F(AggregateTest, LibraryListClassesAreMetaSchemaTypes) {
  for (const char* name : {"ListOfTarnUnion", "ListOfTarnDomain", "ListOfTarnRefined", "ListOfTarnDesign"}) {
    TarnDomain* d = FindDomainInDesign(nullptr, name);
    ASSERT_NE(d, nullptr) << name;
    ASSERT_NE(d->typeRecord(), nullptr) << name;
    EXPECT_STREQ(d->typeRecord()->name(), name);
  }
  ListOfTarnUnion selects;
  TarnUnion a, b;
  EXPECT_TRUE(selects.add(&a));
  EXPECT_TRUE(selects.add(&b));
  EXPECT_TRUE(selects.add(&a));  // a list keeps repeats
  EXPECT_EQ(selects.count(), 3u);
  EXPECT_EQ(selects.get(1), &b);
}

TEST_F(AggregateTest, ArraysStartFullOfZeros) {
  ArrayOfdouble array(3);
  ASSERT_EQ(array.count(), 3u);
  for (uint32_t i = 0; i < 3; ++i) EXPECT_EQ(array.get(i), 0.0);
  ListOfdouble list(3);
  EXPECT_EQ(list.count(), 0u);
  EXPECT_EQ(list.capacity(), 3u);
}

TEST_F(AggregateTest, ResizeAtAPositionMovesTheTail) {
  ListOfint list;
  for (int v : {1, 2, 3, 4}) list.add(v);
  ASSERT_TRUE(list.size(6, 1));  // two zeros opened after the first element
  std::vector<int> values;
  for (uint32_t i = 0; i < list.count(); ++i) values.push_back(list.get(i));
  EXPECT_EQ(values, (std::vector<int>{1, 0, 0, 2, 3, 4}));
  ASSERT_TRUE(list.size(3, 2));  // three removed from position 2
  values.clear();
  for (uint32_t i = 0; i < list.count(); ++i) values.push_back(list.get(i));
  EXPECT_EQ(values, (std::vector<int>{1, 0, 4}));
  TARN().reporter()->setExitLevel(4);
  EXPECT_FALSE(list.size(1, 3));  // 2 removed from 3 runs past the end
  EXPECT_FALSE(list.size(5, 4));
  TARN().reporter()->setExitLevel(3);
  EXPECT_EQ(list.count(), 3u);
  const std::string text = reported();
  EXPECT_NE(text.find("TARN: error: Bounds violation ... index(3) >= size(3)\n"), std::string::npos);
  EXPECT_NE(text.find("TARN: error: Bounds violation ... index(4) >= size(3)\n"), std::string::npos);
}

TEST_F(AggregateTest, InsertBeyondTheSizeEndsTheProcess) {
  EXPECT_EXIT(
      {
        TARN().reporter()->setStreams(stderr, stderr);
        ListOfint list;
        list.add(1);
        list.insertValue(&list, 5);
        std::exit(0);
      },
      ::testing::ExitedWithCode(1), "Bounds violation \\.\\.\\. index\\(5\\) >= size\\(1\\)");
}

TEST_F(AggregateTest, ObjectListsFindRemoveAndKeepOrder) {
  TarnDesign* design = test::NewTestDesign("lists");
  TarnObject* a = design->newInstance("TPoint");
  TarnObject* b = design->newInstance("TPoint");
  TarnObject* c = design->newInstance("TPoint");
  ListOfTarnObject list;
  for (TarnObject* o : {a, b, a, c}) list.append(o);
  EXPECT_FALSE(list.append(nullptr));
  EXPECT_EQ(list.find(a), 0);
  EXPECT_EQ(list.findPointer(c), 3);
  EXPECT_EQ(list.findPointer(nullptr), -1);
  EXPECT_FALSE(list.addIfAbsent(b));
  list.removeAll(a);
  ASSERT_EQ(list.count(), 2u);
  EXPECT_EQ(list.get(0), b);
  EXPECT_EQ(list.get(1), c);
  EXPECT_EQ(list.get(2), nullptr);
  EXPECT_FALSE(list.removeAt(2));
  ListOfTarnObject empty;
  EXPECT_EQ(empty.first(), nullptr);
  EXPECT_EQ(empty.last(), nullptr);
  // An aggregate of a design allocates in the design, strings included.
  TarnObject* names = design->newInstance("ListOfString");
  ASSERT_NE(names, nullptr);
  ListOfSTR* typed = typecast<ListOfSTR>(names);
  ASSERT_NE(typed, nullptr);
  std::string text = "kept";
  typed->add(&text[0]);
  text[0] = 'X';
  EXPECT_STREQ(typed->get(0), "kept");
}

TEST_F(AggregateTest, AggregatesOfOneKindCopyOnTypecast) {
  TarnDesign* design = test::NewTestDesign("copies");
  TarnAggregate* generic = typecast<TarnAggregate>(design->newInstance("ListOfTPoint"));
  TarnObject* p = design->newInstance("TPoint");
  generic->putObject(p, -1);
  ListOfTarnObject* copy = typecast<ListOfTarnObject>(generic);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(static_cast<TarnObject*>(copy), static_cast<TarnObject*>(generic));
  ASSERT_EQ(copy->count(), 1u);
  EXPECT_EQ(copy->get(0), p);
  out_.text();
  EXPECT_EQ(typecast<SetOfTarnObject>(generic), nullptr);  // another kind
  EXPECT_NE(out_.text().find("Cannot typecast object of type: 'ListOfTPoint' to 'SetOfTarnObject'"),
            std::string::npos);
}

}  // namespace
}  // namespace korva
