// Composing member placements with the chains of ancestor placements
// shared: the same bits as composing each placement alone, for members of
// one storey, a member placed relative to another member, a chain that
// loops, and placements whose own values are read before their ancestors.
#include "import/analysis_reading.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "ifc2x2/ifc2x2.h"
#include "ifc2x2/schema.h"
#include "objdb/design.h"
#include "objdb/interface.h"
#include "support/test_util.h"

namespace korva {
namespace test {
namespace {

class SharedPlacementChainsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TARN().reporter()->setStreams(out_.get(), err_.get());
    TARN().setSchemaPath(KORVA_SCHEMA_DIR);
    ASSERT_NE(LoadIfcSchema(), nullptr);
    design_ = NewIfcDesign("placements.ifc", dir_.path().c_str());
    ASSERT_NE(design_, nullptr);
  }
  void TearDown() override {
    TARN().shutdown();
    TARN().reporter()->setStreams(stdout, stderr);
  }

  template <class T>
  T* make() {
    return typecast<T>(design_->newInstance(T::classType.name()));
  }
  IfcDirection* direction(double x, double y, double z) {
    IfcDirection* d = make<IfcDirection>();
    for (double r : {x, y, z}) d->DirectionRatios()->add(r);
    return d;
  }
  // A local placement at (x, y, z) relative to `relTo`; the axes turn with
  // `turn` so that the placement applied last shows.
  IfcLocalPlacement* at(IfcLocalPlacement* relTo, double x, double y, double z, double turn) {
    IfcCartesianPoint* location = make<IfcCartesianPoint>();
    for (double c : {x, y, z}) location->Coordinates()->add(c);
    IfcAxis2Placement3D* axes = make<IfcAxis2Placement3D>();
    axes->Location(location);
    axes->Axis(direction(0, turn, 1));
    axes->RefDirection(direction(1, 0, turn));
    IfcAxis2Placement* select = make<IfcAxis2Placement>();
    select->_IfcAxis2Placement3D(axes);
    IfcLocalPlacement* p = make<IfcLocalPlacement>();
    if (relTo != nullptr) p->PlacementRelTo(relTo);
    p->RelativePlacement(select);
    return p;
  }

  TempDir dir_;
  TarnDesign* design_ = nullptr;
  CapturedStream out_, err_;
};

bool SameBits(const ComposedPlacement& a, const ComposedPlacement& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST_F(SharedPlacementChainsTest, SharedChainsComposeToTheSameBits) {
  // Decimals whose sums depend on their order.
  IfcLocalPlacement* world = at(nullptr, 0.1, 0.7, 1e16, 0.125);
  IfcLocalPlacement* storey = at(world, 0.2, 0.1, 1.0, 0.5);
  IfcLocalPlacement* m1 = at(storey, 0.3, 0.2, 3.0, 0.25);
  IfcLocalPlacement* m2 = at(storey, 1e-3, 0.3, -1e16, 0.75);
  IfcLocalPlacement* onMember = at(m1, 0.6, 0.6, 0.6, 1.5);
  IfcLocalPlacement* bare = make<IfcLocalPlacement>();  // no relative placement of its own
  bare->PlacementRelTo(storey);
  // A loop: a -> b -> a, entered from a member placed on a.
  IfcLocalPlacement* a = at(nullptr, 1.0, 2.0, 3.0, 2.0);
  IfcLocalPlacement* b = at(a, 4.0, 5.0, 6.0, 3.0);
  a->PlacementRelTo(b);
  IfcLocalPlacement* onLoop = at(a, 7.0, 8.0, 9.0, 4.0);
  const std::vector<IfcLocalPlacement*> placements{m1, onMember, m2, bare, onLoop, b, a, storey, m1, onLoop};

  std::vector<ComposedPlacement> alone;
  for (IfcLocalPlacement* p : placements) alone.push_back(ComposeMemberPlacement(p));
  EXPECT_EQ(alone[0].start[0], (0.1 + 0.2) + 0.3);
  EXPECT_EQ(alone[0].axis[1], 0.25);  // the member's own axes, applied last
  // Without axes of its own: the ancestors' are applied nearest first, so
  // the world's are the last.
  EXPECT_EQ(alone[3].axis[1], 0.125);
  {
    SharedPlacementChains chains;
    for (size_t i = 0; i < placements.size(); ++i)
      EXPECT_TRUE(SameBits(ComposeMemberPlacement(placements[i]), alone[i])) << "placement " << i;
    // The storey's chain was shared; the loop's was not.
    EXPECT_NE(chains.find(storey), nullptr);
    EXPECT_NE(chains.find(m1), nullptr);
    EXPECT_EQ(chains.find(a), nullptr);
  }
  // Outside the scope nothing is shared any more.
  for (size_t i = 0; i < placements.size(); ++i) EXPECT_TRUE(SameBits(ComposeMemberPlacement(placements[i]), alone[i]));
}

// The dictionary's "is a": the entity itself and every supertype, by the
// spelling of the dictionary; other entities and null never.
TEST_F(SharedPlacementChainsTest, IsAFollowsTheSupertypes) {
  IfcLocalPlacement* placement = at(nullptr, 0, 0, 0, 0);
  EXPECT_TRUE(IsA(placement, "IfcLocalPlacement"));
  EXPECT_TRUE(IsA(placement, "IfcObjectPlacement"));
  EXPECT_FALSE(IsA(placement, "IfcGridPlacement"));
  EXPECT_FALSE(IsA(placement, "IFCLOCALPLACEMENT"));
  EXPECT_TRUE(IsA(direction(1, 0, 0), "IfcGeometricRepresentationItem"));
  EXPECT_FALSE(IsA(nullptr, "IfcLocalPlacement"));
}

}  // namespace
}  // namespace test
}  // namespace korva
