// The back-pointers an update looks relationships up with: computed at the
// first need on the update design and kept while the update adds instances
// (reactions) and replaces others (a rebuilt member representation goes to
// the trash); the instances it adds have none.
#include <gtest/gtest.h>

#include <map>

#include "api/korvaifc.h"
#include "objdb/design.h"
#include "support/referrers.h"
#include "update/update_fixture.h"
#include "update/update_state.h"
#include "update/update_support.h"

namespace korva {
namespace test {
namespace {

using ReferrersTest = UpdateTest;

Objects UpdateReferrers(TarnDesign* design, TarnObject* instance) {
  return Listed(update::Referrers(design, instance));
}

TEST_F(ReferrersTest, KeptFromTheFirstNeedThroughAddedAndReplacedInstances) {
  Begin();
  TarnDesign* d = update::UpdateDesign();
  ASSERT_NE(d, nullptr);
  const Objects before = Entities(d);
  std::map<TarnObject*, Objects> first;
  size_t referred = 0;
  for (TarnObject* o : before) {
    first[o] = UpdateReferrers(d, o);
    EXPECT_EQ(first[o], Searched(o)) << o->domainName() << " #" << o->instanceNumber();
    if (!first[o].empty()) ++referred;
  }
  EXPECT_GT(referred, before.size() / 3);

  UpdateOneCurveMemberReaction(0, Id("M1"), Id("N1"), Id("N2"), Id("LG"), 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12);
  UpdateOneCurveMemberConnectivity(0, Id("M1"), Id("N3"), Id("N4"));
  const Objects after = Entities(d);
  ASSERT_GT(after.size(), before.size());
  size_t added = 0;
  for (TarnObject* o : after) {
    auto was = first.find(o);
    if (was == first.end()) {
      ++added;
      EXPECT_TRUE(UpdateReferrers(d, o).empty()) << "new " << o->domainName();
    } else {
      EXPECT_EQ(UpdateReferrers(d, o), was->second) << o->domainName() << " #" << o->instanceNumber();
    }
  }
  EXPECT_GE(added, 8u);  // two reactions with loads and relationships, an edge, its vertices
  EXPECT_LT(after.size() - added, before.size());  // the old representation is in the trash
  SaveAs("out");
}

}  // namespace
}  // namespace test
}  // namespace korva
