// Cursors: order across extents and sections, subtypes, filters, moving
// both ways, live cursors and instances leaving under a cursor.
#include "objdb/cursor.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

#include "objdb/interface.h"
#include "objdb/test_schema.h"
#include "objdb/trash.h"
#include "support/test_util.h"

namespace korva {
namespace test {
namespace {

using Objects = std::vector<TarnObject*>;

class CursorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TARN().reporter()->setStreams(out_.get(), err_.get());
    design_ = NewTestDesign("cursor_test");
    point_ = design_->findDomain("TPoint");
    node_ = design_->findDomain("TNode");
    // Default section: extents TPoint, TNode, TLeaf; a second data section
    // with its extents the other way round; a point in the header section.
    p1_ = make("TPoint");
    n1_ = make("TNode");
    l1_ = make("TLeaf");
    p2_ = make("TPoint");
    n2_ = make("TNode");
    l2_ = make("TLeaf");
    second_ = design_->newDataSection();
    l3_ = make("TLeaf", second_);
    n3_ = make("TNode", second_);
    h1_ = make("TPoint", design_->header_section());
  }
  void TearDown() override {
    TARN().shutdown();
    TARN().reporter()->setStreams(stdout, stderr);
  }
  TarnObject* make(const char* type, TarnSection* section = nullptr) {
    TarnObject* o = design_->newInstance(type, section);
    EXPECT_NE(o, nullptr) << type;
    return o;
  }
  static Objects Forward(TarnCursor& c) {
    Objects seen;
    while (TarnObject* o = c.next()) seen.push_back(o);
    return seen;
  }
  static Objects Backward(TarnCursor& c) {
    Objects seen;
    while (TarnObject* o = c.previous()) seen.push_back(o);
    return seen;
  }

  CapturedStream out_, err_;
  TarnDesign* design_ = nullptr;
  TarnDomain *point_ = nullptr, *node_ = nullptr;
  TarnSection* second_ = nullptr;
  TarnObject *p1_, *n1_, *l1_, *p2_, *n2_, *l2_, *l3_, *n3_, *h1_;
};

TEST_F(CursorTest, SubtypesOrExactDomainInSectionExtentCreationOrder) {
  TarnCursor c(design_, point_);
  c.sectionKind(TarnSection::kData);
  EXPECT_EQ(Forward(c), (Objects{p1_, p2_, n1_, n2_, l1_, l2_, l3_, n3_}));
  EXPECT_EQ(c.size(), 8u);
  EXPECT_EQ(c.next(), nullptr);  // stays at the end
  EXPECT_EQ(Backward(c), (Objects{n3_, l3_, l2_, l1_, n2_, n1_, p2_, p1_}));
  EXPECT_EQ(c.next(), p1_);  // from the start again
  EXPECT_EQ(c.next(), p2_);
  EXPECT_EQ(c.next(), n1_);
  EXPECT_EQ(c.current(), n1_);
  EXPECT_EQ(c.previous(), p2_);  // back across the extent boundary
  c.rewind();
  EXPECT_EQ(c.current(), nullptr);
  EXPECT_EQ(c.next(), p1_);

  c.domain(node_);
  EXPECT_EQ(Forward(c), (Objects{n1_, n2_, l1_, l2_, l3_, n3_}));
  c.exactDomain(node_);
  EXPECT_EQ(Forward(c), (Objects{n1_, n2_, n3_}));
  EXPECT_EQ(c.size(), 3u);
  EXPECT_TRUE(c.exactDomain("tleaf"));  // by name, without regard to case
  EXPECT_EQ(Forward(c), (Objects{l1_, l2_, l3_}));
  EXPECT_FALSE(c.domain("NoSuchType"));
  EXPECT_EQ(c.next(), nullptr);
  EXPECT_EQ(c.size(), 0u);
}

TEST_F(CursorTest, SectionFiltersAndOneSectionWalks) {
  // Without a kind filter the header section comes in the section order
  // (system, default, second data, header).
  TarnCursor all(design_, point_);
  EXPECT_EQ(Forward(all), (Objects{p1_, p2_, n1_, n2_, l1_, l2_, l3_, n3_, h1_}));
  all.sectionKind(TarnSection::kHeader);
  EXPECT_EQ(Forward(all), (Objects{h1_}));

  TarnCursor only(design_, point_);
  only.sectionFilter([](TarnSection* s, void* wanted) { return s == wanted; }, second_);
  EXPECT_EQ(Forward(only), (Objects{l3_, n3_}));
  EXPECT_EQ(Backward(only), (Objects{n3_, l3_}));
  EXPECT_EQ(only.size(), 2u);

  TarnCursor one;
  one.traverse(design_->dflt_section());
  one.domain(node_);
  EXPECT_EQ(Forward(one), (Objects{n1_, n2_, l1_, l2_}));
  // Instances made during a walk are met when the walk gets there.
  one.rewind();
  EXPECT_EQ(one.next(), n1_);
  TarnObject* n4 = make("TNode");
  EXPECT_EQ(Forward(one), (Objects{n2_, n4, l1_, l2_}));
  one.sectionKind(TarnSection::kHeader);  // filters apply to the one section too
  EXPECT_EQ(one.next(), nullptr);
}

TEST_F(CursorTest, InstancesMoveBetweenSectionsOfTheirDesign) {
  TarnCursor walk(design_, point_);
  walk.sectionFilter([](TarnSection* s, void* wanted) { return s == wanted; }, design_->dflt_section());
  EXPECT_EQ(walk.next(), p1_);
  // p1 moves to the end of the TPoint extent of the second section; the
  // cursor standing on it moves on first.
  ASSERT_TRUE(p1_->moveTo(second_));
  EXPECT_EQ(p1_->section(), second_);
  EXPECT_EQ(Forward(walk), (Objects{p2_, n1_, n2_, l1_, l2_}));
  TarnCursor all(design_, point_);
  EXPECT_EQ(Forward(all), (Objects{p2_, n1_, n2_, l1_, l2_, l3_, n3_, p1_, h1_}));
  EXPECT_EQ(design_->dflt_section()->extent(point_, false)->count(), 1u);
  // Moving to its own section changes nothing; a section of another design
  // is refused and the instance stays.
  EXPECT_TRUE(p1_->moveTo(second_));
  TarnDesign* other = NewTestDesign("cursor_other");
  EXPECT_FALSE(n1_->moveTo(other->dflt_section()));
  EXPECT_NE(out_.text().find("moveTo(): Section is from a different design, ignored."), std::string::npos);
  EXPECT_EQ(n1_->section(), design_->dflt_section());
  // A free-standing instance has nowhere to move from.
  TPoint loose;
  EXPECT_FALSE(loose.moveTo(second_));
}

// Instances made in turn of three types still lie one after the other in
// memory within each extent, apart from the few places where the extent
// starts a new chunk of storage; so walking an extent reads memory in order.
TEST_F(CursorTest, InstancesOfOneExtentLieTogetherInMemory) {
  const size_t before = design_->arena().memoryUsage();
  for (int i = 0; i < 3000; ++i) {
    make("TPoint");
    make("TNode");
    make("TLeaf");
  }
  const std::pair<const char*, size_t> types[] = {
      {"TPoint", sizeof(TPoint)}, {"TNode", sizeof(TNode)}, {"TLeaf", sizeof(TLeaf)}};
  for (const auto& [name, size] : types) {
    TarnExtent* extent = design_->dflt_section()->extent(design_->findDomain(name), false);
    ASSERT_NE(extent, nullptr);
    ASSERT_EQ(extent->count(), 3002u);
    std::map<std::ptrdiff_t, int> steps;
    for (TarnObject* o = extent->first(); o->nextInExtent() != nullptr; o = o->nextInExtent())
      ++steps[reinterpret_cast<char*>(o->nextInExtent()) - reinterpret_cast<char*>(o)];
    // The step from one instance to the next is the record's size (rounded
    // to 16 bytes) except where a new chunk starts.
    EXPECT_GE(steps[static_cast<std::ptrdiff_t>((size + 15) / 16 * 16)], 2980) << name;
  }
  // Chunks do not waste much: the whole population costs little more than
  // its records.
  const size_t records = 3000 * (sizeof(TPoint) + sizeof(TNode) + sizeof(TLeaf));
  EXPECT_LT(design_->arena().memoryUsage() - before, records + records / 4 + 512 * 1024);
}

TEST_F(CursorTest, LiveCursorsAreListedNewestFirstAndWalkIndependently) {
  TarnCursor* before = TarnCursor::firstLive();
  {
    TarnCursor a(design_, node_);
    TarnCursor b(design_, node_);
    EXPECT_EQ(TarnCursor::firstLive(), &b);
    EXPECT_EQ(b.nextLive(), &a);
    EXPECT_EQ(a.nextLive(), before);
    EXPECT_EQ(a.next(), n1_);
    EXPECT_EQ(b.next(), n1_);
    EXPECT_EQ(b.next(), n2_);
    EXPECT_EQ(a.next(), n2_);
    {
      TarnCursor c(design_);
      EXPECT_EQ(TarnCursor::firstLive(), &c);
    }
    EXPECT_EQ(TarnCursor::firstLive(), &b);
  }
  EXPECT_EQ(TarnCursor::firstLive(), before);
}

TEST_F(CursorTest, AWalkMayTrashWhatItVisits) {
  TarnCursor c(design_, node_);
  c.sectionKind(TarnSection::kData);
  Objects trashed;
  while (TarnObject* o = c.next()) {
    if (o == l2_) continue;  // keep one
    ASSERT_TRUE(MoveToTrash(o));
    trashed.push_back(o);
  }
  EXPECT_EQ(trashed, (Objects{n1_, n2_, l1_, l3_, n3_}));
  EXPECT_EQ(c.previous(), l2_);
  EXPECT_EQ(c.size(), 1u);

  // Standing on an instance that leaves, the cursor takes its place:
  // next() and previous() give its former neighbours.
  TarnCursor p(design_, nullptr);
  p.exactDomain(point_);
  TarnObject* p3 = make("TPoint");
  EXPECT_EQ(p.next(), p1_);
  EXPECT_EQ(p.next(), p2_);
  ASSERT_TRUE(MoveToTrash(p2_));
  EXPECT_EQ(p.current(), nullptr);
  EXPECT_EQ(p.previous(), p1_);
  ASSERT_TRUE(MoveToTrash(p1_));  // the first of its extent
  EXPECT_EQ(p.next(), p3);
  EXPECT_EQ(p.previous(), nullptr);
}

}  // namespace
}  // namespace test
}  // namespace korva
