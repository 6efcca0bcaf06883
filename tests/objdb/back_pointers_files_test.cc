// Back-pointers of files written by other tools: the referrers of every
// entity instance against those that usedin finds by searching the design,
// a digest of each file's whole listing as first computed, and the
// listing after instances are added, forwarded and deleted.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "ifc2x2/schema.h"
#include "objdb/design.h"
#include "objdb/domain.h"
#include "objdb/interface.h"
#include "objdb/trash.h"
#include "support/referrers.h"
#include "support/test_util.h"

namespace korva {
namespace test {
namespace {

struct CorpusFile {
  const char* name;
  Listing expected;  // as the per-instance records gave it
};

const CorpusFile kCorpus[] = {
    {"axis_roof_truss.ifc", {513, 990, 0x643754e19ca1ea7full}},
    {"etabs_building01_2x3.ifc", {836, 2090, 0x32d361f1d68f9c6cull}},
    {"revit2013_tst.ifc", {503, 974, 0x841cc05070f35a59ull}},
    {"tekla_slabs_394.ifc", {2267, 5242, 0x613f9c936ae269a6ull}},
};

void PrintTo(const CorpusFile& file, std::ostream* out) { *out << file.name; }

class BackPointersFilesTest : public ::testing::TestWithParam<CorpusFile> {
 protected:
  void SetUp() override {
    TARN().reporter()->setStreams(out_.get(), err_.get());
    TARN().setSchemaPath(KORVA_SCHEMA_DIR);
    if (std::string(KORVA_CORPUS_DIR).empty()) GTEST_SKIP() << "no corpus folder beside the sources";
    ASSERT_NE(LoadIfcSchema(), nullptr);
    design_ = TARN().findDesign((std::string(KORVA_CORPUS_DIR) + "/" + GetParam().name).c_str());
    ASSERT_NE(design_, nullptr) << GetParam().name;
  }
  void TearDown() override {
    TARN().shutdown();
    TARN().reporter()->setStreams(stdout, stderr);
  }

  // The referrers of (a sample of) the entity instances against usedin;
  // a design of a few thousand instances is searched whole.
  void expectAsSearched() {
    const Objects all = Entities(design_);
    const size_t step = all.size() / 600 + 1;
    size_t compared = 0, referred = 0;
    for (size_t i = 0; i < all.size(); i += step) {
      const Objects referrers = ReferrersOf(all[i]);
      ASSERT_EQ(referrers, Searched(all[i])) << GetParam().name << " #" << all[i]->instanceNumber();
      ++compared;
      if (!referrers.empty()) ++referred;
    }
    EXPECT_GT(compared, 100u);
    EXPECT_GT(referred, compared / 4);
  }

  TarnDesign* design_ = nullptr;
  CapturedStream out_, err_;
};

TEST_P(BackPointersFilesTest, EveryInstanceHasTheReferrersASearchFindsInCursorOrder) {
  computeBackPointers(design_);
  expectAsSearched();
  const Listing l = ListingOf(design_);
  const Listing& e = GetParam().expected;
  EXPECT_EQ(l.targets, e.targets) << GetParam().name;
  EXPECT_EQ(l.entries, e.entries) << GetParam().name;
  EXPECT_EQ(l.digest, e.digest) << GetParam().name << " digest 0x" << std::hex << l.digest;
  // Computing again on the unchanged design gives the same listing.
  computeBackPointers(design_);
  const Listing again = ListingOf(design_);
  EXPECT_EQ(again.entries, l.entries);
  EXPECT_EQ(again.digest, l.digest);
}

// Instances added after the computation are not recorded, deleted
// referrers leave the lists when the trash is emptied, a forwarded one is
// replaced where it stood; computing again catches up.
TEST_P(BackPointersFilesTest, AddedForwardedAndDeletedInstances) {
  computeBackPointers(design_);
  const Objects all = Entities(design_);
  // The instance with the most referrers, and two of them.
  TarnObject* target = nullptr;
  size_t most = 0;
  for (TarnObject* o : all) {
    const size_t n = ReferrersOf(o).size();
    if (n > most) {
      most = n;
      target = o;
    }
  }
  ASSERT_GE(most, 3u) << GetParam().name;
  std::map<TarnObject*, Objects> before;
  for (TarnObject* o : all) before[o] = ReferrersOf(o);
  TarnObject* deleted = before[target][1];
  TarnObject* forwarded = before[target][2];

  // A new instance of the forwarded one's type that holds the same
  // references (selects and aggregates are shared with it).
  TarnObject* added = design_->newInstance(forwarded->domainName());
  ASSERT_NE(added, nullptr);
  for (TarnAttribute* a : forwarded->domain()->allAttributes()) {
    if (a->isDerived() || !IsObjectNode(forwarded->slotType(a)->nodeType())) continue;
    if (TarnObject* v = forwarded->getObject(a)) added->putObject(v, a);
  }
  EXPECT_TRUE(ReferrersOf(added).empty());
  EXPECT_EQ(ReferrersOf(target), before[target]);

  ForwardTo(forwarded, added);
  ASSERT_TRUE(MoveToTrash(deleted));
  ASSERT_TRUE(MoveToTrash(forwarded));
  TARN().emptyTrash();
  for (TarnObject* o : all) {
    if (o == deleted || o == forwarded) continue;
    Objects expected;
    for (TarnObject* r : before[o]) {
      if (r == deleted) continue;
      expected.push_back(r == forwarded ? added : r);
    }
    ASSERT_EQ(ReferrersOf(o), expected) << GetParam().name << " #" << o->instanceNumber();
  }
  EXPECT_TRUE(ReferrersOf(added).empty());

  computeBackPointers(design_);
  expectAsSearched();
  const Objects now = ReferrersOf(target);
  EXPECT_EQ(std::count(now.begin(), now.end(), added), 1);
  EXPECT_EQ(std::count(now.begin(), now.end(), deleted), 0);
}

INSTANTIATE_TEST_SUITE_P(Corpus, BackPointersFilesTest, ::testing::ValuesIn(kCorpus),
                         [](const ::testing::TestParamInfo<CorpusFile>& info) {
                           std::string name = info.param.name;
                           return name.substr(0, name.find('_'));
                         });

}  // namespace
}  // namespace test
}  // namespace korva
